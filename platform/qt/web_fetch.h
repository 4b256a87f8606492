// Fetches web addresses (http, https) without blocking the window: libcurl's multi
// interface driven by the Qt event loop (socket notifiers and a timer), so there is
// no thread and a fetch can be dropped at any time.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <map>
#include <memory>

using CURL = void;
using CURLM = void;

namespace veltra {

class WebFetch : public QObject {
    Q_OBJECT
  public:
    // ok: a 2xx reply arrived whole; where: the address it came from after redirects.
    using Done = std::function<void(bool ok, const QByteArray& body, const QUrl& where)>;

    explicit WebFetch(QObject* parent = nullptr);
    ~WebFetch() override;  // drops what is still running, without calling back

    // Starts fetching url; done runs later from the event loop, never from inside Get.
    void Get(const QUrl& url, Done done);
    // Drops every fetch still running; their callbacks never run.
    void CancelAll();
    bool Busy() const { return !transfers.empty(); }

  private:
    struct Transfer;
    struct Watch;
    static int OnSocket(CURL* easy, int socket, int what, void* self, void* socketData);
    static int OnTimer(CURLM* multi, long milliseconds, void* self);
    void Unwatch(int socket);
    void Drive(int socket, int events);
    void CollectFinished();

    CURLM* multi = nullptr;
    QTimer timer;
    std::map<CURL*, std::unique_ptr<Transfer>> transfers;
    std::map<int, std::unique_ptr<Watch>> watches;
};

}  // namespace veltra
