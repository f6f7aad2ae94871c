#include "ui/Controls.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace ui {

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
}

void TEdit::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) emit clicked();
}

void TEdit::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  char typed = 0;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    typed = '\r';
  } else if (!event->text().isEmpty() && event->text().at(0).unicode() < 0x80) {
    typed = static_cast<char>(event->text().at(0).unicode());
  }
  if (typed != 0) emit keyPressed(typed);
  QLineEdit::keyPressEvent(event);
}

}  // namespace ui
