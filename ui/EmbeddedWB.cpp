#include "ui/EmbeddedWB.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "ui/Gbk.h"
#include "ui/Ports.h"

namespace ui {

TEmbeddedWB::TEmbeddedWB(QWidget* parent) : QTextBrowser(parent) {}

void TEmbeddedWB::Navigate(const std::string& fullPath) {
  QFile file(FromGbk(fullPath));
  if (!file.open(QIODevice::ReadOnly)) {
    throw EPlatformError(ToGbk(file.errorString()));
  }
  document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(file).absolutePath() + QLatin1Char('/')));
  setHtml(FromGbk(file.readAll().toStdString()));
}

}  // namespace ui
