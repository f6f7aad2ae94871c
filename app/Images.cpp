#include "app/Images.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace app {

namespace {

QImage Blank(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

void Sheet(QPainter& p, const QRectF& r) {
  p.setPen(QPen(QColor(40, 60, 110), 1));
  p.setBrush(QColor(250, 250, 250));
  p.drawRect(r);
  p.setPen(QPen(QColor(120, 140, 180), 1));
  for (qreal y = r.top() + 3; y < r.bottom() - 1; y += 2) {
    p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
  }
}

}  // namespace

QIcon CopyImage() {
  QImage image = Blank(16);
  QPainter p(&image);
  Sheet(p, QRectF(1.5, 1.5, 8, 10));
  Sheet(p, QRectF(6.5, 4.5, 8, 10));
  p.end();
  return QIcon(QPixmap::fromImage(image));
}

QIcon SpeakerImage() {
  QImage image = Blank(16);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath body;
  body.moveTo(1.5, 5.5);
  body.lineTo(4.5, 5.5);
  body.lineTo(8.5, 2.0);
  body.lineTo(8.5, 14.0);
  body.lineTo(4.5, 10.5);
  body.lineTo(1.5, 10.5);
  body.closeSubpath();
  p.setPen(QPen(QColor(30, 45, 90), 1));
  p.setBrush(QColor(70, 110, 190));
  p.drawPath(body);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(30, 90, 170), 1.2));
  p.drawArc(QRectF(6.0, 5.0, 6.0, 6.0), -50 * 16, 100 * 16);
  p.drawArc(QRectF(5.0, 2.5, 10.0, 11.0), -55 * 16, 110 * 16);
  p.end();
  return QIcon(QPixmap::fromImage(image));
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48}) {
    QImage image = Blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(46, 139, 87));
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 6.0, size / 6.0);
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("SimSun")});
    font.setPixelSize(size * 3 / 4);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QStringLiteral("禾"));
    p.end();
    icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

}  // namespace app
