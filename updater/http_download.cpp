// libcurl easy transfer with timeouts, protocol limits and completeness checks.
#include "updater/http_download.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>

#include "updater/progress_display.h"

namespace veltra {
namespace {

struct Transfer {
    const HttpDownload::Sink* sink;
    ProgressDisplay* progress;
    const volatile std::sig_atomic_t* cancel;
    int64_t bytes = 0;
    bool writeFailed = false;
    bool cancelled = false;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t length = size * count;
    if (!(*transfer->sink)({reinterpret_cast<const unsigned char*>(data), length})) {
        transfer->writeFailed = true;
        return 0;  // anything but length makes libcurl stop
    }
    transfer->bytes += static_cast<int64_t>(length);
    return length;
}

int OnProgress(void* user, curl_off_t downloadTotal, curl_off_t downloaded, curl_off_t,
               curl_off_t) {
    auto* transfer = static_cast<Transfer*>(user);
    if (transfer->cancel != nullptr && *transfer->cancel != 0) {
        transfer->cancelled = true;
        return 1;
    }
    if (transfer->progress != nullptr) transfer->progress->Update(downloaded, downloadTotal);
    return 0;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

std::string Incomplete(int64_t received, int64_t expected) {
    return "下载不完整，收到 " + std::to_string(received) + " 字节，应为 " +
           std::to_string(expected) + " 字节 (incomplete download)";
}

}  // namespace

bool IsDownloadAddress(std::string_view address) {
    return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://");
}

HttpDownload::HttpDownload(const DownloadOptions& options) : options(options) {}

DownloadResult HttpDownload::Fetch(const std::string& address, const Sink& sink,
                                   ProgressDisplay* progress) const {
    static std::once_flag curlReady;
    std::call_once(curlReady, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    DownloadResult result;
    if (!IsDownloadAddress(address)) {
        result.error = "下载地址必须以 http:// 或 https:// 开头 (not an http address): " + address;
        return result;
    }
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(),
                                                                   curl_easy_cleanup);
    if (!curl) {
        result.error = "无法启动下载 (libcurl failed to start)";
        return result;
    }
    Transfer transfer{&sink, progress, options.cancel};
    char detail[CURL_ERROR_SIZE] = "";
    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, address.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, options.maxRedirects);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(options.connectTimeout.count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS,
                     static_cast<long>(options.transferTimeout.count()));
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(handle, CURLOPT_USERAGENT, "veltra-updater");
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, detail);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);

    const CURLcode code = curl_easy_perform(handle);
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    curl_off_t expected = -1;
    curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &expected);
    result.bytes = transfer.bytes;
    const std::string why = detail[0] != '\0' ? detail : curl_easy_strerror(code);

    if (transfer.cancelled) {
        result.error = "更新已取消 (cancelled)";
    } else if (transfer.writeFailed) {
        result.writeFailed = true;
        result.error = "无法写入下载的文件 (write failed)";
    } else if (code == CURLE_HTTP_RETURNED_ERROR || status >= 400) {
        result.error = "下载地址返回错误状态 HTTP " + std::to_string(status) +
                       " (the server answered with an error)";
    } else if (code == CURLE_OPERATION_TIMEDOUT) {
        result.error = "下载超时 (timed out): " + why;
    } else if (code == CURLE_COULDNT_CONNECT || code == CURLE_COULDNT_RESOLVE_HOST ||
               code == CURLE_COULDNT_RESOLVE_PROXY) {
        result.error = "无法连接下载地址 (cannot connect): " + why;
    } else if (code == CURLE_PARTIAL_FILE) {
        result.error = Incomplete(transfer.bytes, expected);
    } else if (code == CURLE_TOO_MANY_REDIRECTS) {
        result.error = "下载地址重定向次数过多 (too many redirects)";
    } else if (code == CURLE_UNSUPPORTED_PROTOCOL) {
        result.error = "下载地址重定向到了不支持的协议 (only http and https): " + why;
    } else if (code != CURLE_OK) {
        result.error = "下载失败 (download failed): " + why;
    } else if (status < 200 || status > 299) {
        result.error =
            "下载地址没有返回文件，HTTP " + std::to_string(status) + " (no file in the reply)";
    } else if (expected >= 0 && transfer.bytes != expected) {
        result.error = Incomplete(transfer.bytes, expected);
    } else if (transfer.bytes == 0) {
        result.error = "下载的文件是空的 (empty download)";
    } else {
        result.ok = true;
        if (progress != nullptr) progress->Update(transfer.bytes, transfer.bytes);
    }
    return result;
}

}  // namespace veltra
