// Load client for the local application server: a fixed number of encrypted calls
// (handshake + call, a new connection for each request, as the program's client does)
// from a number of concurrent workers. Every reply is opened and checked.
//
//   appserver_load_client http://127.0.0.1:PORT [--path /draw.php] [--function newestdraw]
//                         [--requests N] [--concurrency C]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "server/envelope_codec.h"
#include "server/url_escape.h"

namespace {

using namespace veltra;

struct Options {
    std::string host;
    int port = 0;
    std::string path = "/draw.php";
    std::string function = "newestdraw";
    int requests = 10000;
    int concurrency = 50;
};

bool ParseOptions(int argc, char** argv, Options* options) {
    if (argc < 2) return false;
    const std::string url = argv[1];
    const std::string prefix = "http://";
    if (url.rfind(prefix, 0) != 0) return false;
    const std::string rest = url.substr(prefix.size());
    const size_t colon = rest.rfind(':');
    if (colon == std::string::npos) return false;
    options->host = rest.substr(0, colon);
    options->port = std::atoi(rest.substr(colon + 1).c_str());
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--path") {
            options->path = value;
        } else if (name == "--function") {
            options->function = value;
        } else if (name == "--requests") {
            options->requests = std::atoi(value.c_str());
        } else if (name == "--concurrency") {
            options->concurrency = std::atoi(value.c_str());
        } else {
            return false;
        }
    }
    return options->port > 0 && options->requests > 0 && options->concurrency > 0;
}

// One HTTP/1.1 POST on a new connection ("Connection: close"), as plain sockets so the
// load client costs little beside the server. The reply body, or nullopt on failure.
std::optional<std::string> PostOnce(const sockaddr_in& address, const Options& options,
                                    const std::string& body) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return std::nullopt;
    const int yes = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    std::optional<std::string> result;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = "POST " + options.path + " HTTP/1.1\r\nHost: " + options.host +
                                    "\r\nConnection: close\r\n"
                                    "Content-Type: application/x-www-form-urlencoded\r\n"
                                    "Content-Length: " +
                                    std::to_string(body.size()) + "\r\n\r\n" + body;
        size_t sent = 0;
        while (sent < request.size()) {
            const ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) break;
            sent += static_cast<size_t>(n);
        }
        std::string reply;
        char buffer[8192];
        while (sent == request.size()) {
            const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            reply.append(buffer, static_cast<size_t>(n));
        }
        const size_t headerEnd = reply.find("\r\n\r\n");
        if (reply.rfind("HTTP/1.1 200", 0) == 0 && headerEnd != std::string::npos) {
            result = reply.substr(headerEnd + 4);
        }
    }
    close(fd);
    return result;
}

// One handshake and one call; true when the reply's data opens to a JSON object.
bool OneCall(const sockaddr_in& address, const Options& options, int rand) {
    const std::optional<std::string> handshake =
        PostOnce(address, options, "DATA=GETRAND?1700000000");
    if (!handshake) return false;
    const nlohmann::json key = nlohmann::json::parse(*handshake, nullptr, false);
    if (!key.is_object() || key.value("errcode", "") != "0") return false;
    const std::string handshakeKey = OpenHandshakeKey(key.value("data", ""));

    nlohmann::ordered_json request;
    request["rand"] = std::to_string(rand);
    request["funname"] = options.function;
    request["appid"] = "2111";
    request["param"] = nlohmann::ordered_json::array();
    const std::optional<std::string> call = PostOnce(
        address, options, "DATA=" + EncryptRequest(UrlEscapeUtf8(request.dump()), handshakeKey));
    if (!call) return false;
    const nlohmann::json reply = nlohmann::json::parse(*call, nullptr, false);
    if (!reply.is_object() || reply.value("errcode", "") != "0") return false;
    const nlohmann::json data =
        nlohmann::json::parse(OpenData(reply.value("data", ""), rand), nullptr, false);
    return data.is_object();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        std::fprintf(stderr,
                     "usage: appserver_load_client http://HOST:PORT [--path P] [--function F] "
                     "[--requests N] [--concurrency C]\n");
        return 2;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(options.port));
    if (inet_pton(AF_INET, options.host.c_str(), &address.sin_addr) != 1) {
        std::fprintf(stderr, "appserver_load_client: the host must be an IPv4 address\n");
        return 2;
    }
    std::atomic<int> next = 0;
    std::atomic<int> failed = 0;
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> workers;
    for (int w = 0; w < options.concurrency; ++w) {
        workers.emplace_back([&] {
            for (int i = next++; i < options.requests; i = next++) {
                if (!OneCall(address, options, i % 10000)) ++failed;
            }
        });
    }
    for (std::thread& worker : workers) worker.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("calls %d  failed %d  seconds %.3f  calls/s %.1f\n", options.requests,
                failed.load(), seconds, options.requests / seconds);
    return failed == 0 ? 0 : 1;
}
