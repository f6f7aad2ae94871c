#include "app/Startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
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

// The prefix of an installed copy: PREFIX/lib/qinghe-dict/qinghe-dict beside the launcher
// PREFIX/bin/qinghe-dict and the data folder PREFIX/share/qinghe-dict. Empty for any other
// program file.
QString InstallPrefix(const QString& programFile) {
  static const QString kProgram = QStringLiteral("/lib/qinghe-dict/qinghe-dict");
  const QString program = QDir::cleanPath(programFile);
  if (!program.endsWith(kProgram)) return {};
  const QString prefix = program.chopped(kProgram.size());
  if (!QFileInfo(prefix + QStringLiteral("/bin/qinghe-dict")).isFile() ||
      !QFileInfo(prefix + QStringLiteral("/share/qinghe-dict")).isDir()) {
    return {};
  }
  return prefix;
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

bool IsInstalledCopy(const QString& programFile) { return !InstallPrefix(programFile).isEmpty(); }

QString ShortcutTarget(const QString& programFile) {
  const QString prefix = InstallPrefix(programFile);
  return prefix.isEmpty() ? programFile : prefix + QStringLiteral("/bin/qinghe-dict");
}

int Run(QApplication& application, const TServices& services) {
  // Only the name: a display name would be appended to every window caption.
  QApplication::setApplicationName(QStringLiteral("青禾英语词典"));
  // The installed icon where the package put it in the icon theme; the drawn one elsewhere.
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("qinghe-dict"), ApplicationIcon()));
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
