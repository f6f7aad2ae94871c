#pragma once

// Plain Qt widgets with the few events the windows are wired to.

#include <QLabel>
#include <QLineEdit>

namespace ui {

// A label that reacts to a left click.
class TLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// An edit box that reports clicks (a left press and release over it) and the characters typed
// into it.
class TEdit : public QLineEdit {
  Q_OBJECT
 public:
  using QLineEdit::QLineEdit;
 signals:
  void clicked();
  // key is the character typed (13 for Enter); the key press goes on to the box unchanged.
  void keyPressed(char key);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace ui
