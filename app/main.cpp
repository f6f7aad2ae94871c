// Program entry: the main window first, then the about window hidden, then the event loop.

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <memory>

#include "app/Images.h"
#include "app/StartNumber.h"
#include "app/Unit3.h"
#include "app/lexora.h"
#include "ui/Gbk.h"
#include "ui/Platform.h"
#include "ui/QtClipboard.h"
#include "ui/QtSpeech.h"
#include "ui/ViewFocus.h"
#include "ui/WebBrowser.h"

#ifdef _WIN32
#include <objbase.h>
#include <ole2.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // The shell link object lives in the single-threaded apartment of this thread.
  CoInitialize(nullptr);
  OleInitialize(nullptr);
#endif
  QApplication application(argc, argv);
  // Only the name: a display name would be appended to every window caption.
  QApplication::setApplicationName(QStringLiteral("青禾英语词典"));
  QApplication::setWindowIcon(app::ApplicationIcon());

  ui::TQtDialogs dialogs;
  ui::TQtUrlOpener urls;
  ui::TDesktopShellLinks links;
  ui::TQtSpeechVoice speech;
  ui::TQtClipboard clipboard;
  ui::TNetworkPageFetcher pages;

  TServices services;
  services.dialogs = &dialogs;
  services.urls = &urls;
  services.links = &links;
  services.speech = &speech;
  services.clipboard = &clipboard;
  services.pages = &pages;
  services.seed = app::DefaultSeed;
  services.exePath = ui::ToGbk(QCoreApplication::applicationFilePath());

  ui::InstallViewFocusFilters(application);

  int result = 0;
  {
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
    result = QApplication::exec();
  }
#ifdef _WIN32
  OleUninitialize();
  CoUninitialize();
#endif
  return result;
}
