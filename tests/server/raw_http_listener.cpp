// The raw request recorder.
#include "tests/server/raw_http_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "base/text_integer.h"

namespace veltra::test {
namespace {

int BoundSocket(int* port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    *port = ntohs(address.sin_port);
    return fd;
}

// Reads one request: headers, then as many body bytes as Content-Length says.
std::string ReadRequest(int fd) {
    std::string data;
    char buffer[65536];
    size_t expected = std::string::npos;
    while (true) {
        const size_t headerEnd = data.find("\r\n\r\n");
        if (headerEnd != std::string::npos && expected == std::string::npos) {
            const std::string headers = data.substr(0, headerEnd);
            const size_t at = headers.find("Content-Length: ");
            const size_t bodyLength =
                at == std::string::npos ? 0 : IntegerOfText(headers.substr(at + 16));
            expected = headerEnd + 4 + bodyLength;
        }
        if (expected != std::string::npos && data.size() >= expected) return data;
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) return data;
        data.append(buffer, static_cast<size_t>(got));
    }
}

}  // namespace

RawHttpListener::RawHttpListener(std::string cannedResponse, bool holdConnections)
    : response(std::move(cannedResponse)), hold(holdConnections) {
    listenFd = BoundSocket(&port);
    listen(listenFd, 16);
    thread = std::thread([this] { Serve(); });
}

RawHttpListener::~RawHttpListener() {
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    released.notify_all();
    shutdown(listenFd, SHUT_RDWR);  // wakes the blocked accept
    thread.join();
    close(listenFd);
}

void RawHttpListener::Serve() {
    while (true) {
        const int fd = accept(listenFd, nullptr, nullptr);
        if (fd < 0) return;
        const std::string request = ReadRequest(fd);
        std::unique_lock lock(mutex);
        requests.push_back(request);
        if (hold) released.wait(lock, [this] { return stopping; });
        const bool stop = stopping;
        lock.unlock();
        if (!hold) {
            for (size_t sent = 0; sent < response.size();) {
                const ssize_t n = write(fd, response.data() + sent, response.size() - sent);
                if (n <= 0) break;
                sent += static_cast<size_t>(n);
            }
        }
        close(fd);
        if (stop) return;
    }
}

std::string RawHttpListener::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

std::vector<std::string> RawHttpListener::Requests() const {
    std::lock_guard lock(mutex);
    return requests;
}

std::string RawHttpListener::Response(int status, const std::string& body,
                                      const std::string& extraHeaders) {
    return "HTTP/1.1 " + std::to_string(status) +
           " X\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n" +
           extraHeaders + "\r\n" + body;
}

int ClosedPort() {
    int port = 0;
    const int fd = BoundSocket(&port);
    close(fd);  // bound but never listening: nothing answers there now
    return port;
}

}  // namespace veltra::test
