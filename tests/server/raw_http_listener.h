// A bare TCP listener on 127.0.0.1 that records the exact bytes of each HTTP request
// and answers with a canned response, or holds the connection unanswered until the
// listener is destroyed (a server that never replies).
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace veltra::test {

class RawHttpListener {
  public:
    // response: the bytes written back (status line, headers, body). hold: never answer.
    explicit RawHttpListener(std::string response, bool hold = false);
    ~RawHttpListener();

    std::string Url(const std::string& path = "/") const;
    // The requests received so far, headers and body as sent.
    std::vector<std::string> Requests() const;

    // A canned response with a status, a body and its Content-Length.
    static std::string Response(int status, const std::string& body,
                                const std::string& extraHeaders = "");

  private:
    void Serve();

    std::string response;
    bool hold;
    int listenFd = -1;
    int port = 0;
    std::thread thread;
    mutable std::mutex mutex;
    std::condition_variable released;
    bool stopping = false;
    std::vector<std::string> requests;
};

// A port on 127.0.0.1 where nothing listens (connections are refused).
int ClosedPort();

}  // namespace veltra::test
