// The in-test application server.
#include "tests/server/fake_app_server.h"

#include <httplib.h>

#include <nlohmann/json.hpp>

#include "base/text_integer.h"
#include "server/envelope_codec.h"
#include "server/url_escape.h"

namespace veltra::test {

FakeAppServer::FakeAppServer() : server(std::make_unique<httplib::Server>()) {
    onCall = [](const Call&) { return Reply("0", "ok", "\"\""); };
    onHandshake = [] {
        return Reply("0", "ok", nlohmann::json(SealHandshakeKey(kHandshakeKey)).dump());
    };

    server->Post(R"(.*)", [this](const httplib::Request& req, httplib::Response& res) {
        const std::string& body = req.body;
        std::string reply;
        if (body.rfind("DATA=GETRAND?", 0) == 0) {
            ++handshakes;
            std::function<std::string()> handler;
            {
                std::lock_guard lock(mutex);
                handler = onHandshake;
            }
            reply = handler();
        } else {
            Call call;
            call.path = req.path;
            const auto opened = body.rfind("DATA=", 0) == 0
                                    ? DecryptRequest(body.substr(5), kHandshakeKey)
                                    : std::nullopt;
            const auto text = opened ? UrlUnescape(*opened) : std::nullopt;
            const nlohmann::json request =
                nlohmann::json::parse(text.value_or(""), nullptr, /*allow_exceptions=*/false);
            if (!request.is_object()) {
                res.set_content(Reply("3", "bad envelope", "\"\""), "text/plain");
                return;
            }
            call.json = *text;
            call.funname = request.value("funname", "");
            call.appid = request.value("appid", "");
            call.rand = static_cast<int>(IntegerOfText(request.value("rand", "-1")));
            if (request.contains("param") && request["param"].is_array()) {
                for (const auto& p : request["param"])
                    call.params.push_back(p.is_string() ? p.get<std::string>() : p.dump());
            }
            CallHandler handler;
            {
                std::lock_guard lock(mutex);
                calls.push_back(call);
                handler = onCall;
            }
            reply = handler(call);
        }
        res.set_content(reply, "text/plain");
    });
    server->Get(R"(.*)", [this](const httplib::Request& req, httplib::Response& res) {
        std::lock_guard lock(mutex);
        const auto found = gets.find(req.path);
        if (found == gets.end()) {
            res.status = 404;
            res.set_content("not here", "text/plain");
            return;
        }
        res.status = found->second.second;
        res.set_content(found->second.first, "text/plain");
    });
    port = server->bind_to_any_port("127.0.0.1");
    // The socket listens from here on; connections wait until the loop accepts them.
    // The loop must be running before the constructor returns: stopping a server
    // whose loop has not started yet would not stop the loop that starts later.
    thread = std::thread([this] {
        server->listen_after_bind();
        loopEnded = true;
    });
    while (!server->is_running() && !loopEnded) std::this_thread::yield();
}

FakeAppServer::~FakeAppServer() {
    server->stop();
    thread.join();
}

std::string FakeAppServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

void FakeAppServer::OnCall(CallHandler handler) {
    std::lock_guard lock(mutex);
    onCall = std::move(handler);
}

void FakeAppServer::OnHandshake(std::function<std::string()> handler) {
    std::lock_guard lock(mutex);
    onHandshake = std::move(handler);
}

void FakeAppServer::ServeGet(const std::string& path, std::string body, int status) {
    std::lock_guard lock(mutex);
    gets[path] = {std::move(body), status};
}

std::vector<FakeAppServer::Call> FakeAppServer::Calls() const {
    std::lock_guard lock(mutex);
    return calls;
}

std::string FakeAppServer::Reply(const std::string& errcodeJson, const std::string& msg,
                                 const std::string& dataJson) {
    return "{\"errcode\":" + errcodeJson + ",\"msg\":" + nlohmann::json(msg).dump() +
           ",\"data\":" + dataJson + "}";
}

std::string FakeAppServer::EncryptedReply(const Call& call, const std::string& payloadJson) {
    return Reply("0", "ok", nlohmann::json(SealData(payloadJson, call.rand)).dump());
}

std::string FakeAppServer::NestedDrawReply(const std::string& list) {
    const std::string inner =
        "{\"errcode\":0,\"msg\":\"ok\",\"data\":" + nlohmann::json(list).dump() + "}";
    return Reply("0", "ok", nlohmann::json(inner).dump());
}

}  // namespace veltra::test
