// The advert box of the desktop window system.
#include "platform/qt/page_view.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QScrollBar>
#include <QStringDecoder>

namespace veltra {
namespace {

constexpr int kTransferTimeoutMs = 20'000;

bool IsWebAddress(const QUrl& url) {
    return url.isValid() && (url.scheme() == "http" || url.scheme() == "https");
}

}  // namespace

PageView::PageView(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setFrameShape(QFrame::NoFrame);
    connect(this, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& url) { emit LinkClicked(base.resolved(url)); });
}

QNetworkAccessManager* PageView::Network() {
    if (!network) network = new QNetworkAccessManager(this);
    return network;
}

QNetworkReply* PageView::Fetch(const QUrl& url) {
    QNetworkRequest request(url);
    request.setTransferTimeout(kTransferTimeoutMs);
    QNetworkReply* reply = Network()->get(request);
    replies.append(reply);
    return reply;
}

bool PageView::Loading() const {
    for (const QPointer<QNetworkReply>& reply : replies) {
        if (reply && reply->isRunning()) return true;
    }
    return false;
}

void PageView::Open(const QUrl& url) {
    for (const QPointer<QNetworkReply>& reply : replies) {
        if (!reply) continue;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    replies.clear();
    pictures.clear();
    picturesPending = 0;
    address = url;
    base = url;
    html.clear();
    clear();
    if (!IsWebAddress(url)) return;
    QNetworkReply* reply = Fetch(url);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { PageArrived(reply); });
}

void PageView::PageArrived(QNetworkReply* reply) {
    replies.removeAll(reply);
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) return;  // the box stays empty
    const QByteArray body = reply->readAll();
    base = reply->url();
    QStringDecoder decoder(
        QStringConverter::encodingForHtml(body).value_or(QStringConverter::Utf8));
    html = decoder(body);
    ShowPage();
}

QVariant PageView::loadResource(int type, const QUrl& name) {
    if (type != QTextDocument::ImageResource) return QTextBrowser::loadResource(type, name);
    const QUrl url = base.resolved(name);
    if (!IsWebAddress(url)) return QTextBrowser::loadResource(type, name);
    const auto known = pictures.constFind(url);
    if (known != pictures.constEnd()) return known->isNull() ? QVariant() : QVariant(*known);
    // Fetched once; the page is laid out again when the last picture is in.
    pictures.insert(url, QImage());
    ++picturesPending;
    QNetworkReply* reply = Fetch(url);
    connect(reply, &QNetworkReply::finished, this,
            [this, url, reply] { PictureArrived(url, reply); });
    return {};
}

void PageView::PictureArrived(const QUrl& url, QNetworkReply* reply) {
    replies.removeAll(reply);
    reply->deleteLater();
    if (reply->error() == QNetworkReply::NoError) {
        pictures.insert(url, QImage::fromData(reply->readAll()));
    }
    if (--picturesPending == 0) ShowPage();
}

void PageView::ShowPage() {
    const int scrolled = verticalScrollBar()->value();
    document()->setBaseUrl(base);
    setHtml(html);
    verticalScrollBar()->setValue(scrolled);
}

}  // namespace veltra
