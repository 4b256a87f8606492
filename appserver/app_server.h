// The application server on the network: the main and the fallback port, both
// answering through one AppService, each on a pool of threads.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "appserver/app_service.h"

namespace httplib {
class Server;
struct Response;
}  // namespace httplib

namespace veltra {

class ClockControl;

struct ListenOptions {
    std::string address = "127.0.0.1";
    int mainPort = 19300;      // 0: any free port
    int fallbackPort = 19200;  // 0: any free port
    int threads = 8;           // worker threads per port
    size_t maxBodyBytes = 1 << 20;
    // When set, GET and POST /clock read and move the server's frozen clock.
    ClockControl* clockControl = nullptr;
};

class AppServer {
  public:
    AppServer(AppService& service, ListenOptions options);
    ~AppServer();
    AppServer(const AppServer&) = delete;
    AppServer& operator=(const AppServer&) = delete;

    // Binds both ports and serves them on background threads; returns true once both
    // accept connections, false (error says why) when a port cannot be bound.
    bool Start(std::string* error);
    // Stops both ports: requests waiting for a slow reply are answered at once, open
    // connections are closed, the threads are joined. Safe to call more than once.
    void Stop();

    int MainPort() const { return mainPort; }
    int FallbackPort() const { return fallbackPort; }
    // "http://ADDR:PORT/appinit.php" and "http://ADDR:PORT/".
    std::string MainUrl() const;
    std::string FallbackUrl() const;

  private:
    void Configure(httplib::Server& server, const std::string& initPath);
    void Deliver(const HttpReply& reply, httplib::Response& response);
    std::string HostPort(int port) const;

    AppService& service;
    ListenOptions options;
    std::unique_ptr<httplib::Server> mainServer;
    std::unique_ptr<httplib::Server> fallbackServer;
    std::thread mainThread;
    std::thread fallbackThread;
    std::atomic<bool> mainEnded = false;
    std::atomic<bool> fallbackEnded = false;
    int mainPort = -1;
    int fallbackPort = -1;

    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
};

}  // namespace veltra
