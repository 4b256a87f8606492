// An application server inside the test process: answers the handshake with a fixed
// key, opens every encrypted request, records it and lets the test choose the reply
// body. Listens on 127.0.0.1 with a free port.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace veltra::test {

class FakeAppServer {
  public:
    // One opened request.
    struct Call {
        std::string path;
        std::string json;  // the request document as it arrived
        std::string funname;
        std::string appid;
        int rand = -1;
        std::vector<std::string> params;
    };
    // Returns the reply body of a call; an empty body is sent as such.
    using CallHandler = std::function<std::string(const Call&)>;

    static constexpr const char* kHandshakeKey = "hs-7f3a";

    FakeAppServer();
    ~FakeAppServer();

    // http://127.0.0.1:PORT + path
    std::string Url(const std::string& path = "/") const;
    int Port() const { return port; }

    void OnCall(CallHandler handler);
    // Body of every handshake reply (default: errcode 0 and the sealed key).
    void OnHandshake(std::function<std::string()> handler);
    // Body and status of GET requests to path.
    void ServeGet(const std::string& path, std::string body, int status = 200);

    std::vector<Call> Calls() const;
    int Handshakes() const { return handshakes; }

    // A reply body {"errcode": errcode, "msg": msg, "data": data}, where errcode and
    // data are JSON texts as given.
    static std::string Reply(const std::string& errcodeJson, const std::string& msg,
                             const std::string& dataJson);
    // A successful reply whose data is the payload encrypted for the call.
    static std::string EncryptedReply(const Call& call, const std::string& payloadJson);
    // A successful reply carrying a draw list the way the draw server nests it: a
    // document as a string in "data", whose own "data" (its last member) is the list.
    static std::string NestedDrawReply(const std::string& list);

  private:
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    std::atomic<bool> loopEnded{false};
    int port = 0;
    mutable std::mutex mutex;
    CallHandler onCall;
    std::function<std::string()> onHandshake;
    std::map<std::string, std::pair<std::string, int>> gets;
    std::vector<Call> calls;
    std::atomic<int> handshakes{0};
};

}  // namespace veltra::test
