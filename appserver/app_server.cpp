// cpp-httplib servers wired to the AppService.
#include "appserver/app_server.h"

#include <httplib.h>

#include <chrono>

#include "appserver/clock_control.h"

namespace veltra {
namespace {

// A literal path as the regular expression httplib routes by.
std::string Route(const std::string& path) {
    std::string pattern;
    for (const char c : path) {
        if (c == '.') pattern += '\\';
        pattern += c;
    }
    return pattern;
}

// "http://host:port" of the local end of a connection.
std::string BaseUrl(const httplib::Request& request) {
    const std::string& host = request.local_addr;
    const std::string shown = host.find(':') != std::string::npos ? "[" + host + "]" : host;
    return "http://" + shown + ":" + std::to_string(request.local_port);
}

// httplib listens with a backlog of 5: a burst of clients connecting at once overflows
// it, and the kernel drops their handshakes (stalls of a second or more, failed
// requests). The listening socket is given a proper backlog after binding.
class WideBacklogServer : public httplib::Server {
  public:
    bool WidenBacklog() { return ::listen(svr_sock_, SOMAXCONN) == 0; }
};

// Waits until a started server's accept loop runs or has ended: httplib's stop() is a
// no-op before the loop starts.
void WaitUntilServing(const httplib::Server& server, const std::atomic<bool>& ended) {
    while (!server.is_running() && !ended)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Binds a server to a port (0: any) and serves it on a thread; the port or -1.
int BindAndServe(httplib::Server& server, const std::string& address, int port, std::thread* thread,
                 std::atomic<bool>* ended) {
    const int bound = port == 0 ? server.bind_to_any_port(address)
                                : (server.bind_to_port(address, port) ? port : -1);
    if (bound < 0) return -1;
    static_cast<WideBacklogServer&>(server).WidenBacklog();
    *thread = std::thread([&server, ended] {
        server.listen_after_bind();
        *ended = true;
    });
    return bound;
}

}  // namespace

AppServer::AppServer(AppService& service, ListenOptions options)
    : service(service),
      options(std::move(options)),
      mainServer(std::make_unique<WideBacklogServer>()),
      fallbackServer(std::make_unique<WideBacklogServer>()) {}

AppServer::~AppServer() {
    Stop();
}

void AppServer::Deliver(const HttpReply& reply, httplib::Response& response) {
    if (reply.delayMs > 0) {
        std::unique_lock<std::mutex> lock(mutex);
        wake.wait_for(lock, std::chrono::milliseconds(reply.delayMs), [this] { return stopping; });
    }
    response.status = reply.status;
    response.set_content(reply.body, reply.contentType.c_str());
}

void AppServer::Configure(httplib::Server& server, const std::string& initPath) {
    const int threads = options.threads < 1 ? 1 : options.threads;
    server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    server.set_tcp_nodelay(true);
    // SO_REUSEADDR only: httplib's default also sets SO_REUSEPORT, which would let a
    // second server share a port in use instead of being told it is taken.
    server.set_socket_options([](socket_t sock) {
        const int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    server.set_payload_max_length(options.maxBodyBytes);
    server.set_read_timeout(5, 0);
    server.set_write_timeout(5, 0);
    server.set_keep_alive_timeout(5);

    const auto post = [this](AppService::Endpoint endpoint) {
        return [this, endpoint](const httplib::Request& request, httplib::Response& response) {
            Deliver(service.Post(endpoint, request.body, BaseUrl(request)), response);
        };
    };
    server.Post(Route(initPath), post(AppService::Endpoint::kInit));
    server.Post(Route(AppService::kDrawPath), post(AppService::Endpoint::kDraw));
    server.Get(Route(AppService::kNewPhasePath),
               [this](const httplib::Request&, httplib::Response& response) {
                   Deliver(service.NewestPeriod(), response);
               });
    server.Get(Route(AppService::kAdvertPath),
               [this](const httplib::Request&, httplib::Response& response) {
                   Deliver(service.AdvertPage(), response);
               });
    server.Get(Route(AppService::kUpdatePath),
               [this](const httplib::Request&, httplib::Response& response) {
                   Deliver(service.UpdateDownload(), response);
               });
    server.Get(Route(AppService::kStatsPath),
               [this](const httplib::Request&, httplib::Response& response) {
                   Deliver(service.Stats(), response);
               });
    if (options.clockControl != nullptr) {
        const auto control = [this](const httplib::Request& request, httplib::Response& response) {
            Deliver(options.clockControl->Handle(request.method == "POST" ? request.body : ""),
                    response);
        };
        server.Get("/clock", control);
        server.Post("/clock", control);
    }
    // Every answer httplib makes itself (unknown address, body too large, malformed
    // request) is a refusal in the protocol's own shape.
    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (!response.body.empty()) return;
        const HttpReply refusal = AppService::HttpRefusal(response.status);
        response.set_content(refusal.body, refusal.contentType.c_str());
    });
    server.set_exception_handler(
        [](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
            const HttpReply refusal = AppService::HttpRefusal(500);
            response.status = refusal.status;
            response.set_content(refusal.body, refusal.contentType.c_str());
        });
}

bool AppServer::Start(std::string* error) {
    Configure(*mainServer, AppService::kMainInitPath);
    Configure(*fallbackServer, AppService::kFallbackInitPath);
    mainPort =
        BindAndServe(*mainServer, options.address, options.mainPort, &mainThread, &mainEnded);
    if (mainPort < 0) {
        *error = "cannot listen on " + options.address + " port " +
                 std::to_string(options.mainPort) + " (main)";
        return false;
    }
    fallbackPort = BindAndServe(*fallbackServer, options.address, options.fallbackPort,
                                &fallbackThread, &fallbackEnded);
    if (fallbackPort < 0) {
        *error = "cannot listen on " + options.address + " port " +
                 std::to_string(options.fallbackPort) + " (fallback)";
        Stop();
        return false;
    }
    WaitUntilServing(*mainServer, mainEnded);
    WaitUntilServing(*fallbackServer, fallbackEnded);
    if (mainEnded || fallbackEnded) {
        *error = "a port stopped listening at once";
        Stop();
        return false;
    }
    return true;
}

void AppServer::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    if (mainThread.joinable()) {
        WaitUntilServing(*mainServer, mainEnded);
        mainServer->stop();
        mainThread.join();
    }
    if (fallbackThread.joinable()) {
        WaitUntilServing(*fallbackServer, fallbackEnded);
        fallbackServer->stop();
        fallbackThread.join();
    }
}

std::string AppServer::HostPort(int port) const {
    const std::string& host = options.address;
    const std::string shown = host.find(':') != std::string::npos ? "[" + host + "]" : host;
    return shown + ":" + std::to_string(port);
}

std::string AppServer::MainUrl() const {
    return "http://" + HostPort(mainPort) + AppService::kMainInitPath;
}

std::string AppServer::FallbackUrl() const {
    return "http://" + HostPort(fallbackPort) + AppService::kFallbackInitPath;
}

}  // namespace veltra
