#pragma once

// A small web view for the about window: it loads pages over HTTP through a fetcher port and
// shows its own short error page when a page cannot be had.

#include <QByteArray>
#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <functional>
#include <memory>

class QNetworkAccessManager;

namespace ui {

class IPageFetcher {
 public:
  // error is empty on success; contentType is the server's Content-Type header.
  using Done =
      std::function<void(const QByteArray& body, const QString& contentType, const QString& error)>;
  virtual ~IPageFetcher() = default;
  // Starts loading url; done runs later, on the user-interface thread.
  virtual void Fetch(const QUrl& url, Done done) = 0;
};

// Loads pages with Qt Network; redirects are followed.
class TNetworkPageFetcher : public IPageFetcher {
 public:
  TNetworkPageFetcher();
  ~TNetworkPageFetcher() override;
  void Fetch(const QUrl& url, Done done) override;

 private:
  std::unique_ptr<QNetworkAccessManager> manager_;
};

class TWebBrowser : public QTextBrowser {
  Q_OBJECT
 public:
  // fetcher may be null: every page then fails to load.
  explicit TWebBrowser(IPageFetcher* fetcher, QWidget* parent = nullptr);

  // Starts loading address (http or https). Raises EPlatformError when the request itself is
  // refused: an address that is not a web address.
  void Navigate(const QString& address);
  const QUrl& LocationURL() const { return location_; }

 protected:
  // Pages come from the network; nothing they name is read from this machine.
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  void Show(const QUrl& url, const QByteArray& body, const QString& contentType,
            const QString& error);
  void FollowLink(const QUrl& link);

  IPageFetcher* fetcher_;
  QUrl location_;
  int request_ = 0;  // only the newest request may fill the view
};

}  // namespace ui
