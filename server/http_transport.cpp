// libcurl behind the three request forms. The program's headers replace curl's own
// of the same name and are sent in the order given; curl puts Host first and
// Content-Length last, and its "Expect: 100-continue" is switched off.
#include "server/http_transport.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace veltra {
namespace {

struct Sink {
    std::string bytes;
    size_t limit = 0;
    bool overflow = false;
};

size_t Collect(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const size_t length = size * count;
    if (length > sink->limit - sink->bytes.size()) {
        sink->overflow = true;
        return 0;  // makes curl abort the transfer
    }
    sink->bytes.append(data, length);
    return length;
}

struct HeaderList {
    curl_slist* list = nullptr;
    ~HeaderList() { curl_slist_free_all(list); }
    bool Add(const char* line) {
        curl_slist* grown = curl_slist_append(list, line);
        if (grown == nullptr) return false;
        list = grown;
        return true;
    }
};

// The request headers of the server channel, in the order they are sent. The last
// one is sent with POST only.
constexpr const char* kChannelHeaders[] = {
    "Accept: */*",
    "Accept-Language: zh-CN",
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)",
    "Content-Type: application/x-www-form-urlencoded",
    "Accept-Encoding: deflate",
    "Connection: Keep-Alive",
    "Cache-Control: no-cache",
};

}  // namespace

HttpTransport::HttpTransport() : HttpTransport(Limits{}) {}

HttpTransport::HttpTransport(Limits requestLimits) : limits(requestLimits) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string HttpTransport::Post(std::string_view url, std::string_view body) const {
    return Exchange(Mode::Post, url, body);
}

std::string HttpTransport::Get(std::string_view url) const {
    return Exchange(Mode::Get, url, {});
}

std::string HttpTransport::PlainGet(std::string_view url) const {
    return Exchange(Mode::Plain, url, {});
}

std::string HttpTransport::Exchange(Mode mode, std::string_view url, std::string_view body) const {
    if (url.empty()) return {};
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) return {};
    CURL* handle = curl.get();
    const std::string address(url);
    Sink sink;
    sink.limit = limits.maxReplyBytes;

    HeaderList headers;
    if (mode != Mode::Plain) {
        const size_t count =
            mode == Mode::Post ? std::size(kChannelHeaders) : std::size(kChannelHeaders) - 1;
        for (size_t i = 0; i < count; ++i) {
            if (!headers.Add(kChannelHeaders[i])) return {};
        }
        if (!headers.Add("Expect:")) return {};
    }

    bool ok = curl_easy_setopt(handle, CURLOPT_URL, address.c_str()) == CURLE_OK;
    // Addresses come from the server's application information: only web addresses
    // are followed, never files or other schemes.
    ok = ok && curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 5L) == CURLE_OK;
    ok = ok && curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    ok = ok &&
         curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs) == CURLE_OK;
    ok = ok && curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, limits.totalTimeoutMs) == CURLE_OK;
    ok = ok && curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE,
                                static_cast<curl_off_t>(limits.maxReplyBytes)) == CURLE_OK;
    // The machine's own addresses never go through a proxy from the environment.
    ok = ok && curl_easy_setopt(handle, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1") == CURLE_OK;
    ok = ok && curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Collect) == CURLE_OK;
    ok = ok && curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink) == CURLE_OK;
    if (mode != Mode::Plain) {
        ok = ok && curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.list) == CURLE_OK;
        // A reply in the encoding the headers announce is decoded. The header list
        // already names it, so curl adds no header of its own for this.
        ok = ok && curl_easy_setopt(handle, CURLOPT_ACCEPT_ENCODING, "deflate") == CURLE_OK;
    }
    if (mode == Mode::Post) {
        ok = ok && curl_easy_setopt(handle, CURLOPT_POST, 1L) == CURLE_OK;
        ok = ok && curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE,
                                    static_cast<curl_off_t>(body.size())) == CURLE_OK;
        ok = ok && curl_easy_setopt(handle, CURLOPT_POSTFIELDS, body.data()) == CURLE_OK;
    }
    if (!ok) return {};

    if (curl_easy_perform(handle) != CURLE_OK || sink.overflow) return {};
    if (mode == Mode::Plain) {
        long status = 0;
        curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
        if (status < 200 || status > 299) return {};
    }
    return std::move(sink.bytes);
}

}  // namespace veltra
