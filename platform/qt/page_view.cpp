// The advert box of the desktop window system.
#include "platform/qt/page_view.h"

#include <QScrollBar>
#include <QStringDecoder>

namespace veltra {
namespace {

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

void PageView::Open(const QUrl& url) {
    fetch.CancelAll();
    pictures.clear();
    picturesPending = 0;
    address = url;
    base = url;
    html.clear();
    clear();
    if (!IsWebAddress(url)) return;
    fetch.Get(url, [this](bool ok, const QByteArray& body, const QUrl& where) {
        if (!ok) return;  // the box stays empty
        base = where;
        QStringDecoder decoder(
            QStringConverter::encodingForHtml(body).value_or(QStringConverter::Utf8));
        html = decoder(body);
        ShowPage();
    });
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
    fetch.Get(url, [this, url](bool ok, const QByteArray& body, const QUrl&) {
        if (ok) pictures.insert(url, QImage::fromData(body));
        if (--picturesPending == 0) ShowPage();
    });
    return {};
}

void PageView::ShowPage() {
    const int scrolled = verticalScrollBar()->value();
    document()->setBaseUrl(base);
    setHtml(html);
    verticalScrollBar()->setValue(scrolled);
}

}  // namespace veltra
