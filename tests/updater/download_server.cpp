// The updater tests' HTTP server on cpp-httplib.
#include "tests/updater/download_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace veltra::test {

DownloadServer::DownloadServer(std::string bytes) : payload(std::move(bytes)) {
    server.set_pre_routing_handler([this](const httplib::Request&, httplib::Response&) {
        ++requests;
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.Get("/program", [this](const httplib::Request&, httplib::Response& res) {
        res.set_content(payload, "application/octet-stream");
    });
    server.Get("/chunked", [this](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider(
            "application/octet-stream", [this](size_t offset, httplib::DataSink& sink) {
                const size_t piece = std::min<size_t>(payload.size() - offset, 64 * 1024);
                sink.write(payload.data() + offset, piece);
                if (offset + piece == payload.size()) sink.done();
                return true;
            });
    });
    server.Get("/redirect", [](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("/program");
    });
    server.Get("/loop",
               [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/loop"); });
    server.Get("/to-file", [](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("file:///etc/passwd");
    });
    server.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("not found", "text/plain");
    });
    server.Get("/empty", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("", "application/octet-stream");
    });
    server.Get("/truncated", [this](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(payload.size(), "application/octet-stream",
                                 [this](size_t offset, size_t, httplib::DataSink& sink) {
                                     if (offset > 0) return false;  // closes the connection
                                     sink.write(payload.data(), payload.size() / 2);
                                     return true;
                                 });
    });
    server.Get("/stall", [this](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(payload.size(), "application/octet-stream",
                                 [this](size_t offset, size_t, httplib::DataSink& sink) {
                                     if (offset == 0) {
                                         sink.write(payload.data(), 1024);
                                         return true;
                                     }
                                     if (stallHook) stallHook();
                                     WaitForRelease();
                                     return false;
                                 });
    });
    port = server.bind_to_any_port("127.0.0.1");
    // The socket listens from here on; connections wait in its backlog until the
    // thread accepts them.
    thread = std::thread([this] { server.listen_after_bind(); });
    // stop() does nothing before the accept loop runs: let it start first.
    while (port > 0 && !server.is_running()) std::this_thread::yield();

    // Bound but never listening: a connection to this port is refused, and no other
    // program can take the port while the server lives.
    closedPortSocket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(closedPortSocket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(closedPortSocket, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        closedPort = ntohs(address.sin_port);
    }
}

DownloadServer::~DownloadServer() {
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    released.notify_all();
    server.stop();
    if (thread.joinable()) thread.join();
    if (closedPortSocket >= 0) close(closedPortSocket);
}

std::string DownloadServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

std::string DownloadServer::UnreachableUrl() const {
    return "http://127.0.0.1:" + std::to_string(closedPort) + "/program";
}

void DownloadServer::WaitForRelease() {
    std::unique_lock lock(mutex);
    released.wait(lock, [this] { return stopping; });
}

}  // namespace veltra::test
