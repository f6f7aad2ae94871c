#include "ui/Controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionGroupBox>

namespace ui {

namespace {

// A left button let go over the control that took the press: what counts as a click.
bool IsClick(const QWidget& widget, const QMouseEvent& event) {
  return event.button() == Qt::LeftButton && widget.rect().contains(event.position().toPoint());
}

}  // namespace

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (IsClick(*this, *event)) emit clicked();
}

void TEdit::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  if (IsClick(*this, *event)) emit clicked();
}

void TEdit::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const Qt::KeyboardModifiers held = event->modifiers();
  char typed = 0;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    // As the keyboard types them: Enter is a carriage return, Ctrl+Enter a line feed, and
    // with Alt held it is a system key that types nothing.
    if (!(held & Qt::AltModifier)) typed = (held & Qt::ControlModifier) ? '\n' : '\r';
  } else if (!event->text().isEmpty() && event->text().at(0).unicode() < 0x80) {
    typed = static_cast<char>(event->text().at(0).unicode());
  }
  if (typed != 0) emit keyPressed(typed);
  QLineEdit::keyPressEvent(event);
}

QRect TGroupBox::CaptionRect() const {
  QStyleOptionGroupBox option;
  initStyleOption(&option);
  return style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
}

void TGroupBox::SetCaption(const QString& caption) {
  if (caption == title()) return;
  const QRect before = CaptionRect();
  // setTitle's own update() is a no-op while updates are off; setUpdatesEnabled(true) would
  // repaint everything, so the attribute is cleared directly.
  const bool wasOff = testAttribute(Qt::WA_UpdatesDisabled);
  setAttribute(Qt::WA_UpdatesDisabled, true);
  setTitle(caption);
  setAttribute(Qt::WA_UpdatesDisabled, wasOff);
  // With a margin: a style may break the frame's top line around the caption.
  const QRect after = CaptionRect();
  constexpr int kMargin = 8;
  update(before.united(after).adjusted(-kMargin, -kMargin, kMargin, kMargin));
}

}  // namespace ui
