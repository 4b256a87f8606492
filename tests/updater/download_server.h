// A local HTTP server for the updater's tests, on 127.0.0.1 at a free port, serving
// a download and every way a download can go wrong.
#pragma once

#include <httplib.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace veltra::test {

class DownloadServer {
  public:
    // Paths:
    //   /program    the payload, with its Content-Length
    //   /chunked    the payload, chunked (no length known in advance)
    //   /redirect   302 to /program
    //   /loop       302 to itself
    //   /to-file    302 to a file:// address
    //   /missing    404
    //   /empty      200 with an empty body
    //   /truncated  Content-Length of the payload, half of it sent, then closed
    //   /stall      Content-Length of the payload, a first piece sent, then held
    //               open until the server is destroyed (runs the stall hook first)
    explicit DownloadServer(std::string payload);
    ~DownloadServer();
    DownloadServer(const DownloadServer&) = delete;
    DownloadServer& operator=(const DownloadServer&) = delete;

    std::string Url(const std::string& path) const;
    // An address on loopback where nobody listens: connecting is refused.
    std::string UnreachableUrl() const;
    // Runs on the server's thread once /stall has sent its first piece.
    void OnStall(std::function<void()> hook) { stallHook = std::move(hook); }
    int Requests() const { return requests; }

  private:
    void WaitForRelease();

    std::string payload;
    httplib::Server server;
    int port = 0;
    int closedPortSocket = -1;
    int closedPort = 0;
    std::thread thread;
    std::function<void()> stallHook;
    std::atomic<int> requests{0};
    std::mutex mutex;
    std::condition_variable released;
    bool stopping = false;
};

}  // namespace veltra::test
