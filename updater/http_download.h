// Downloads one address over HTTP(S) with libcurl, streaming the body to a sink and
// refusing everything that is not a complete, non-empty file.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace veltra {

class ProgressDisplay;

struct DownloadOptions {
    std::chrono::milliseconds connectTimeout{5000};
    // The whole transfer, redirects included.
    std::chrono::milliseconds transferTimeout{120000};
    long maxRedirects = 5;
    // When set (by a signal handler), the download stops at the next progress report.
    const volatile std::sig_atomic_t* cancel = nullptr;
};

struct DownloadResult {
    bool ok = false;
    int64_t bytes = 0;         // bytes handed to the sink
    bool writeFailed = false;  // the sink refused bytes; its owner knows why
    std::string error;         // why the download failed, for the user
};

// True for an address starting with "http://" or "https://" (any case).
bool IsDownloadAddress(std::string_view address);

class HttpDownload {
  public:
    // Receives the body in pieces; false stops the download.
    using Sink = std::function<bool(std::span<const unsigned char>)>;

    explicit HttpDownload(const DownloadOptions& options);

    // GETs address (http or https only, following a few redirects) and hands the body
    // to sink. ok only for a 2xx reply with a non-empty body that arrived whole (as
    // long as its Content-Length says, when it gives one). progress may be null.
    DownloadResult Fetch(const std::string& address, const Sink& sink,
                         ProgressDisplay* progress) const;

  private:
    DownloadOptions options;
};

}  // namespace veltra
