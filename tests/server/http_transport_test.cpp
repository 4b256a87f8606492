#include "server/http_transport.h"

#include <gtest/gtest.h>

#include "base/text_split.h"
#include "tests/server/raw_http_listener.h"

namespace veltra {
namespace {

using test::RawHttpListener;

// Header names of a raw request in the order they were sent.
std::vector<std::string> HeaderNames(const std::string& request) {
    std::vector<std::string> names;
    const std::string head = request.substr(0, request.find("\r\n\r\n"));
    const std::vector<std::string> lines = SplitText(head, "\r\n");
    for (size_t i = 1; i < lines.size(); ++i)
        names.push_back(lines[i].substr(0, lines[i].find(':')));
    return names;
}

std::string Body(const std::string& request) {
    return request.substr(request.find("\r\n\r\n") + 4);
}

std::string Header(const std::string& request, const std::string& name) {
    const size_t at = request.find("\r\n" + name + ": ");
    if (at == std::string::npos) return "<none>";
    const size_t start = at + name.size() + 4;
    return request.substr(start, request.find("\r\n", start) - start);
}

TEST(HttpTransport, PostAndGetSendTheirHeadersInOrder) {
    RawHttpListener listener(RawHttpListener::Response(200, "ok"));
    const HttpTransport transport;
    // Above 1 MiB curl would otherwise ask "Expect: 100-continue" and stall.
    const std::string body = "DATA=" + std::string(2 * 1024 * 1024, 'A');
    EXPECT_EQ(transport.Post(listener.Url("/appinit.php"), body), "ok");
    EXPECT_EQ(transport.Get(listener.Url("/phase?x=1")), "ok");

    const std::vector<std::string> requests = listener.Requests();
    ASSERT_EQ(requests.size(), 2u);
    const std::string& post = requests[0];
    EXPECT_EQ(post.substr(0, post.find("\r\n")), "POST /appinit.php HTTP/1.1");
    EXPECT_EQ(HeaderNames(post),
              (std::vector<std::string>{"Host", "Accept", "Accept-Language", "User-Agent",
                                        "Content-Type", "Accept-Encoding", "Connection",
                                        "Cache-Control", "Content-Length"}));
    EXPECT_EQ(Header(post, "Accept"), "*/*");
    EXPECT_EQ(Header(post, "Accept-Language"), "zh-CN");
    EXPECT_EQ(Header(post, "User-Agent"),
              "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)");
    EXPECT_EQ(Header(post, "Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(Header(post, "Accept-Encoding"), "deflate");
    EXPECT_EQ(Header(post, "Connection"), "Keep-Alive");
    EXPECT_EQ(Header(post, "Cache-Control"), "no-cache");
    EXPECT_EQ(Body(post), body);

    const std::string& get = requests[1];
    EXPECT_EQ(get.substr(0, get.find("\r\n")), "GET /phase?x=1 HTTP/1.1");
    EXPECT_EQ(HeaderNames(get),
              (std::vector<std::string>{"Host", "Accept", "Accept-Language", "User-Agent",
                                        "Content-Type", "Accept-Encoding", "Connection"}));
    EXPECT_EQ(Body(get), "");
}

TEST(HttpTransport, PlainGetSendsNoHeadersOfOurOwnAndWantsSuccess) {
    RawHttpListener ok(RawHttpListener::Response(200, "20240105042"));
    RawHttpListener missing(RawHttpListener::Response(404, "not found"));
    const HttpTransport transport;
    EXPECT_EQ(transport.PlainGet(ok.Url("/newphase")), "20240105042");
    EXPECT_EQ(transport.PlainGet(missing.Url("/newphase")), "");
    const std::string request = ok.Requests().at(0);
    EXPECT_EQ(Header(request, "Accept-Language"), "<none>");
    EXPECT_EQ(Header(request, "User-Agent"), "<none>");
    EXPECT_EQ(Header(request, "Content-Type"), "<none>");
}

TEST(HttpTransport, ResultRules) {
    HttpTransport::Limits limits;
    limits.maxReplyBytes = 1024;
    limits.totalTimeoutMs = 300;
    const HttpTransport transport(limits);
    // zlib stream of "hello"
    const std::string deflated("\x78\x9c\xcb\x48\xcd\xc9\xc9\x07\x00\x06\x2c\x02\x15", 13);
    struct Case {
        const char* name;
        std::string response;
        std::string expected;
    };
    const Case cases[] = {
        {"error status keeps its body", RawHttpListener::Response(500, "oops"), "oops"},
        {"empty body", RawHttpListener::Response(200, ""), ""},
        {"body at the cap", RawHttpListener::Response(200, std::string(1024, 'x')),
         std::string(1024, 'x')},
        {"body over the cap", RawHttpListener::Response(200, std::string(1025, 'x')), ""},
        {"over the cap without a length",
         "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + std::string(4096, 'x'), ""},
        {"broken off before the announced length",
         "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\npartial", ""},
        {"deflate is decoded",
         RawHttpListener::Response(200, deflated, "Content-Encoding: deflate\r\n"), "hello"},
        {"not HTTP", "garbage\r\n\r\n", ""},
    };
    for (const Case& c : cases) {
        RawHttpListener listener(c.response);
        EXPECT_EQ(transport.Post(listener.Url(), "DATA=1"), c.expected) << c.name;
        EXPECT_EQ(transport.Get(listener.Url()), c.expected) << c.name;
    }
}

TEST(HttpTransport, FailuresGiveEmptyBytes) {
    HttpTransport::Limits limits;
    limits.totalTimeoutMs = 200;
    const HttpTransport transport(limits);
    RawHttpListener silent("", /*hold=*/true);
    const std::string refused = "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/";
    for (const std::string& url :
         {silent.Url(), refused, std::string("file:///etc/hostname"),
          std::string("ftp://127.0.0.1/x"), std::string("not a url"), std::string()}) {
        EXPECT_EQ(transport.Post(url, "DATA=1"), "") << url;
        EXPECT_EQ(transport.PlainGet(url), "") << url;
    }
}

}  // namespace
}  // namespace veltra
