// One synchronous HTTP exchange per call over libcurl, for the server channel (POST,
// GET with the program's own headers) and for plain reads. No state is kept between
// calls: every call opens and closes its own connection. The three request forms are
// virtual so that a stand-in answering from memory can take the transport's place.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace veltra {

class HttpTransport {
  public:
    struct Limits {
        long connectTimeoutMs = 5'000;            // to establish the connection
        long totalTimeoutMs = 20'000;             // the whole exchange, reply included
        size_t maxReplyBytes = 16 * 1024 * 1024;  // a larger reply body is a failure
    };

    HttpTransport();
    explicit HttpTransport(Limits limits);
    virtual ~HttpTransport() = default;

    // POST of body to url with the program's seven request headers, in their fixed
    // order. The reply body whatever the HTTP status; empty bytes on any failure
    // (unreachable, broken off, timed out, too large, not http or https).
    virtual std::string Post(std::string_view url, std::string_view body) const;
    // GET of url with the first six of those headers and no body; same result rules.
    virtual std::string Get(std::string_view url) const;
    // Plain read of url without headers of the program's own: the body of a 2xx
    // reply; empty on any failure and for any other status.
    virtual std::string PlainGet(std::string_view url) const;

    const Limits& GetLimits() const { return limits; }

  private:
    enum class Mode { Post, Get, Plain };
    std::string Exchange(Mode mode, std::string_view url, std::string_view body) const;

    Limits limits;
};

}  // namespace veltra
