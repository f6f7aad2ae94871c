#pragma once

// Plain Qt widgets with the few events the windows are wired to.

#include <QGroupBox>
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

// A group box whose caption changes without the whole box being repainted: setTitle repaints
// the frame and every child in it, where a new caption changes only the caption's strip.
class TGroupBox : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;
  // setTitle, repainting only what the old and the new caption cover.
  void SetCaption(const QString& caption);

 private:
  QRect CaptionRect() const;
};

}  // namespace ui
