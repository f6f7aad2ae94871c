#include "app/Startup.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <memory>

#include "app/Images.h"
#include "app/Unit3.h"

namespace app {

int Run(QApplication& application, const TServices& services) {
  // Only the name: a display name would be appended to every window caption.
  QApplication::setApplicationName(QStringLiteral("青禾英语词典"));
  QApplication::setWindowIcon(ApplicationIcon());
  application.setQuitOnLastWindowClosed(true);

  Tflexora flexora(services);
  // Declared after the main window, so it is gone before the main window goes.
  const std::unique_ptr<TForm3> about =
      std::make_unique<TForm3>(services, flexora.Errors(), &flexora);
  Form3 = about.get();

  QRect frame(QPoint(), flexora.size());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    frame.moveCenter(screen->availableGeometry().center());
  }
  flexora.move(frame.topLeft());
  flexora.show();
  return QApplication::exec();
}

}  // namespace app
