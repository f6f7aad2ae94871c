#include "ui/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace ui {

void TQtClipboard::SetContent(const QString& html, const QString& text) {
  auto* data = new QMimeData;
  data->setHtml(html);
  data->setText(text);
  QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace ui
