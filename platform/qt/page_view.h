// The advert box: a light HTML view. A page and its pictures are fetched over HTTP
// or HTTPS without blocking the window. A link the user clicks is not followed
// here: it is reported (LinkClicked) and whoever owns the box decides.
#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

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
    bool Loading() const;

  signals:
    // A link was clicked; url is absolute.
    void LinkClicked(const QUrl& url);

  protected:
    QVariant loadResource(int type, const QUrl& name) override;

  private:
    QNetworkAccessManager* Network();
    QNetworkReply* Fetch(const QUrl& url);
    void PageArrived(QNetworkReply* reply);
    void PictureArrived(const QUrl& url, QNetworkReply* reply);
    void ShowPage();

    QNetworkAccessManager* network = nullptr;
    QList<QPointer<QNetworkReply>> replies;
    QUrl address;  // as asked for
    QUrl base;     // where the page came from, after redirects
    QString html;
    QHash<QUrl, QImage> pictures;  // a null image: could not be fetched
    int picturesPending = 0;
};

}  // namespace veltra
