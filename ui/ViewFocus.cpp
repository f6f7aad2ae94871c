#include "ui/ViewFocus.h"

#include <QApplication>
#include <QEvent>
#include <QTextBrowser>
#include <QWidget>

namespace ui {

namespace {

class TViewFocusFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::Wheel:
        if (QTextBrowser* view = BrowserViewOf(watched); view != nullptr && !view->hasFocus()) {
          view->setFocus(Qt::MouseFocusReason);
        }
        break;
      case QEvent::WindowActivate:
        // Sent to a window when the program is activated again (and on every switch between
        // its windows, where the rule changes nothing).
        if (auto* window = qobject_cast<QWidget*>(watched);
            window != nullptr && window->isWindow()) {
          RestoreViewFocus(window);
        }
        break;
      default:
        break;
    }
    // Never consumed: the view still scrolls and the activation goes on as usual.
    return false;
  }

 private:
  static void RestoreViewFocus(QWidget* window) {
    QTextBrowser* view = BrowserViewOf(window->focusWidget());
    if (view != nullptr && view->isVisible() && view->isEnabled()) {
      view->setFocus(Qt::ActiveWindowFocusReason);
    }
  }
};

}  // namespace

QTextBrowser* BrowserViewOf(QObject* object) {
  for (auto* widget = qobject_cast<QWidget*>(object); widget != nullptr;
       widget = widget->parentWidget()) {
    if (auto* view = qobject_cast<QTextBrowser*>(widget)) return view;
    if (widget->isWindow()) break;
  }
  return nullptr;
}

void InstallViewFocusFilters(QApplication& application) {
  application.installEventFilter(new TViewFocusFilter(&application));
}

}  // namespace ui
