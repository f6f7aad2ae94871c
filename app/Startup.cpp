#include "app/Startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <memory>

#include "app/Images.h"
#include "app/Unit3.h"
#include "ui/Gbk.h"

namespace app {

namespace {

constexpr char kFolderName[] = "qinghe-dict";

// The user's folder of the given kind for this program, with a trailing "/"; made if missing.
QString UserFolder(QStandardPaths::StandardLocation kind) {
  QString folder = QStandardPaths::writableLocation(kind) + QLatin1Char('/') +
                   QLatin1String(kFolderName) + QLatin1Char('/');
  QDir().mkpath(folder);
  return folder;
}

// Replaces the cached style sheet when it differs from the installed one, so an update of the
// package reaches pages written later.
void CopyStyleSheet(const QString& from, const QString& to) {
  QFile source(from);
  if (!source.open(QIODevice::ReadOnly)) return;
  const QByteArray css = source.readAll();
  QFile target(to);
  if (target.open(QIODevice::ReadOnly) && target.readAll() == css) return;
  target.close();
  // A failed copy shows later as pages without their style; the pages themselves still work.
  if (target.open(QIODevice::WriteOnly | QIODevice::Truncate)) target.write(css);
}

}  // namespace

TWritePlaces ChooseWritePlaces(bool workingFolderIsOurs) {
  if (workingFolderIsOurs) return {"ado.dll", ""};
  const QString config = UserFolder(QStandardPaths::GenericConfigLocation);
  const QString cache = UserFolder(QStandardPaths::GenericCacheLocation);
  QDir().mkpath(cache + QStringLiteral("html"));
  CopyStyleSheet(QStringLiteral("html/encd.css"), cache + QStringLiteral("html/encd.css"));
  return {ui::ToGbk(config + QStringLiteral("ado.dll")), ui::ToGbk(cache)};
}

bool IsInstalledCopy(const QString& programFile) {
#ifdef QINGHE_INSTALLED_PROGRAM
  return QDir::cleanPath(programFile) == QStringLiteral(QINGHE_INSTALLED_PROGRAM);
#else
  (void)programFile;
  return false;
#endif
}

QString ShortcutTarget(const QString& programFile) {
#ifdef QINGHE_LAUNCHER
  if (IsInstalledCopy(programFile)) return QStringLiteral(QINGHE_LAUNCHER);
#endif
  return programFile;
}

int Run(QApplication& application, const TServices& services) {
  // Only the name: a display name would be appended to every window caption.
  QApplication::setApplicationName(QStringLiteral("青禾英语词典"));
  QApplication::setWindowIcon(ApplicationIcon());
  // Lets the desktop match the window with the installed menu entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("qinghe-dict"));
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
