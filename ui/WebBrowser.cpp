#include "ui/WebBrowser.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QRegularExpression>
#include <QStringDecoder>

#include "ui/Gbk.h"
#include "ui/Ports.h"

namespace ui {

TNetworkPageFetcher::TNetworkPageFetcher() : manager_(std::make_unique<QNetworkAccessManager>()) {}

TNetworkPageFetcher::~TNetworkPageFetcher() = default;

void TNetworkPageFetcher::Fetch(const QUrl& url, Done done) {
  QNetworkRequest request(url);
  request.setTransferTimeout(30000);
  QNetworkReply* reply = manager_->get(request);
  QObject::connect(reply, &QNetworkReply::finished, reply, [reply, done = std::move(done)] {
    reply->deleteLater();
    const QString contentType = reply->header(QNetworkRequest::ContentTypeHeader).toString();
    if (reply->error() != QNetworkReply::NoError) {
      done({}, contentType, reply->errorString());
    } else {
      done(reply->readAll(), contentType, {});
    }
  });
}

namespace {

QString DecodePage(const QByteArray& body, const QString& contentType) {
  const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*\"?([A-Za-z0-9_.:-]+)"),
                                   QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch m = charset.match(contentType);
  if (m.hasMatch()) {
    QStringDecoder decoder(m.captured(1).toLatin1().constData());
    if (decoder.isValid()) return decoder.decode(body);
  }
  QStringDecoder decoder = QStringDecoder::decoderForHtml(body);
  if (!decoder.isValid()) decoder = QStringDecoder(QStringDecoder::Utf8);
  return decoder.decode(body);
}

bool IsWebAddress(const QUrl& url) {
  return url.isValid() && !url.host().isEmpty() &&
         (url.scheme() == QStringLiteral("http") || url.scheme() == QStringLiteral("https"));
}

}  // namespace

TWebBrowser::TWebBrowser(IPageFetcher* fetcher, QWidget* parent)
    : QTextBrowser(parent), fetcher_(fetcher) {
  setOpenLinks(false);
  connect(this, &QTextBrowser::anchorClicked, this, &TWebBrowser::FollowLink);
}

void TWebBrowser::Navigate(const QString& address) {
  const QUrl url(address, QUrl::StrictMode);
  if (!IsWebAddress(url)) {
    throw EPlatformError("Cannot navigate to " + ToGbk(address));
  }
  location_ = url;
  const int request = ++request_;
  if (fetcher_ == nullptr) {
    Show(url, {}, {}, QStringLiteral("no network access"));
    return;
  }
  QPointer<TWebBrowser> self(this);
  fetcher_->Fetch(url, [self, url, request](const QByteArray& body, const QString& contentType,
                                            const QString& error) {
    if (self && self->request_ == request) self->Show(url, body, contentType, error);
  });
}

QVariant TWebBrowser::loadResource(int, const QUrl&) { return {}; }

void TWebBrowser::Show(const QUrl& url, const QByteArray& body, const QString& contentType,
                       const QString& error) {
  if (error.isEmpty()) {
    setHtml(DecodePage(body, contentType));
    return;
  }
  setHtml(QStringLiteral("<h3>无法显示此网页</h3><p>%1</p><p>%2</p>")
              .arg(url.toDisplayString().toHtmlEscaped(), error.toHtmlEscaped()));
}

void TWebBrowser::FollowLink(const QUrl& link) {
  // Runs from a Qt signal, so only addresses Navigate accepts are passed on.
  const QUrl url = location_.resolved(link);
  if (IsWebAddress(url)) Navigate(url.toString(QUrl::FullyEncoded));
}

}  // namespace ui
