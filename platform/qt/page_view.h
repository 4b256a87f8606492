// The advert box: a light HTML view. A page and its pictures are fetched over HTTP
// or HTTPS without blocking the window. A link the user clicks is not followed
// here: it is reported (LinkClicked) and whoever owns the box decides.
#pragma once

#include <QHash>
#include <QImage>
#include <QTextBrowser>
#include <QUrl>

#include "platform/qt/web_fetch.h"

namespace veltra {

class PageView : public QTextBrowser {
    Q_OBJECT
  public:
    explicit PageView(QWidget* parent);

    // Shows the page at url, fetching it; what an earlier call still fetches is
    // dropped. Anything but an http or https address shows an empty page.
    void Open(const QUrl& url);
    const QUrl& Address() const { return address; }
    // The page or one of its pictures is still on its way.
    bool Loading() const { return fetch.Busy(); }

  signals:
    // A link was clicked; url is absolute.
    void LinkClicked(const QUrl& url);

  protected:
    QVariant loadResource(int type, const QUrl& name) override;

  private:
    void ShowPage();

    WebFetch fetch;
    QUrl address;  // as asked for
    QUrl base;     // where the page came from, after redirects
    QString html;
    QHash<QUrl, QImage> pictures;  // a null image: not (yet) there
    int picturesPending = 0;
};

}  // namespace veltra
