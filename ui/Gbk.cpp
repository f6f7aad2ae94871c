#include "ui/Gbk.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace ui {

QString FromGbk(std::string_view gbk) {
  QStringDecoder decoder("GBK");
  return decoder.decode(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
}

std::string ToGbk(const QString& text) {
  QStringEncoder encoder("GBK");
  const QByteArray bytes = encoder.encode(text);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string Gbk(std::string_view utf8) {
  return ToGbk(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

std::string GbkToLocalPath(std::string_view gbk) {
  const QByteArray local = QFile::encodeName(FromGbk(gbk));
  return std::string(local.constData(), static_cast<std::size_t>(local.size()));
}

std::string LocalPathToGbk(std::string_view local) {
  return ToGbk(QFile::decodeName(QByteArray(local.data(), static_cast<qsizetype>(local.size()))));
}

}  // namespace ui
