// Web fetches on libcurl's multi interface inside the Qt event loop.
#include "platform/qt/web_fetch.h"

#include <curl/curl.h>

#include <QSocketNotifier>
#include <mutex>
#include <vector>

namespace veltra {
namespace {

constexpr long kConnectTimeoutMs = 5'000;
constexpr long kTotalTimeoutMs = 20'000;
constexpr curl_off_t kMaxBytes = 16 * 1024 * 1024;

size_t Collect(char* data, size_t size, size_t count, void* body) {
    static_cast<QByteArray*>(body)->append(data, static_cast<qsizetype>(size * count));
    return size * count;
}

}  // namespace

struct WebFetch::Transfer {
    CURL* easy = nullptr;
    QByteArray address;
    QByteArray body;
    Done done;
};

struct WebFetch::Watch {
    std::unique_ptr<QSocketNotifier> read;
    std::unique_ptr<QSocketNotifier> write;
};

WebFetch::WebFetch(QObject* parent) : QObject(parent) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    multi = curl_multi_init();
    curl_multi_setopt(multi, CURLMOPT_SOCKETFUNCTION, &WebFetch::OnSocket);
    curl_multi_setopt(multi, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(multi, CURLMOPT_TIMERFUNCTION, &WebFetch::OnTimer);
    curl_multi_setopt(multi, CURLMOPT_TIMERDATA, this);
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, [this] { Drive(CURL_SOCKET_TIMEOUT, 0); });
}

WebFetch::~WebFetch() {
    CancelAll();
    curl_multi_cleanup(multi);
}

void WebFetch::CancelAll() {
    // Removing a handle lets curl give up its sockets through OnSocket.
    for (auto& [easy, transfer] : transfers) {
        curl_multi_remove_handle(multi, easy);
        curl_easy_cleanup(easy);
    }
    transfers.clear();
    while (!watches.empty()) Unwatch(watches.begin()->first);
    timer.stop();
}

void WebFetch::Unwatch(int socket) {
    const auto it = watches.find(socket);
    if (it == watches.end()) return;
    // Not deleted now: this may run inside one of the notifier's own signals.
    for (QSocketNotifier* notifier : {it->second->read.release(), it->second->write.release()}) {
        notifier->setEnabled(false);
        notifier->deleteLater();
    }
    watches.erase(it);
}

void WebFetch::Get(const QUrl& url, Done done) {
    auto transfer = std::make_unique<Transfer>();
    transfer->address = url.toEncoded();
    transfer->done = std::move(done);
    CURL* easy = curl_easy_init();
    transfer->easy = easy;
    curl_easy_setopt(easy, CURLOPT_URL, transfer->address.constData());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, kTotalTimeoutMs);
    curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, kMaxBytes);
    curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "");
    // The machine's own addresses never go through a proxy from the environment.
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer->body);
    transfers.emplace(easy, std::move(transfer));
    // Adding sets the timer (through OnTimer); the transfer starts when it fires.
    curl_multi_add_handle(multi, easy);
}

int WebFetch::OnSocket(CURL*, int socket, int what, void* self, void*) {
    auto* fetch = static_cast<WebFetch*>(self);
    if (what == CURL_POLL_REMOVE) {
        fetch->Unwatch(socket);
        return 0;
    }
    std::unique_ptr<Watch>& watch = fetch->watches[socket];
    if (!watch) {
        watch = std::make_unique<Watch>();
        watch->read = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
        watch->write = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Write);
        connect(watch->read.get(), &QSocketNotifier::activated, fetch,
                [fetch, socket] { fetch->Drive(socket, CURL_CSELECT_IN); });
        connect(watch->write.get(), &QSocketNotifier::activated, fetch,
                [fetch, socket] { fetch->Drive(socket, CURL_CSELECT_OUT); });
    }
    watch->read->setEnabled(what == CURL_POLL_IN || what == CURL_POLL_INOUT);
    watch->write->setEnabled(what == CURL_POLL_OUT || what == CURL_POLL_INOUT);
    return 0;
}

int WebFetch::OnTimer(CURLM*, long milliseconds, void* self) {
    auto* fetch = static_cast<WebFetch*>(self);
    if (milliseconds < 0) {
        fetch->timer.stop();
    } else {
        fetch->timer.start(static_cast<int>(milliseconds));
    }
    return 0;
}

void WebFetch::Drive(int socket, int events) {
    int running = 0;
    curl_multi_socket_action(multi, socket, events, &running);
    CollectFinished();
}

void WebFetch::CollectFinished() {
    struct Finished {
        Done done;
        bool ok;
        QByteArray body;
        QUrl where;
    };
    std::vector<Finished> finished;
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
        if (message->msg != CURLMSG_DONE) continue;
        CURL* easy = message->easy_handle;
        const CURLcode result = message->data.result;
        const auto it = transfers.find(easy);
        if (it == transfers.end()) continue;
        long status = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
        const char* effective = nullptr;
        curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &effective);
        Transfer& t = *it->second;
        finished.push_back({std::move(t.done), result == CURLE_OK && status / 100 == 2,
                            std::move(t.body),
                            QUrl::fromEncoded(effective ? QByteArray(effective) : t.address)});
        curl_multi_remove_handle(multi, easy);
        curl_easy_cleanup(easy);
        transfers.erase(it);
    }
    // Called back only now: a callback may start or drop fetches.
    for (Finished& f : finished) {
        if (f.done) f.done(f.ok, f.body, f.where);
    }
}

}  // namespace veltra
