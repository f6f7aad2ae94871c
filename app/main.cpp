// Program entry: the platform services, then the start-up sequence.

#include <QApplication>

#include "app/StartNumber.h"
#include "app/Startup.h"
#include "app/lexora.h"
#include "ui/Files.h"
#include "ui/Gbk.h"
#include "ui/Platform.h"
#include "ui/QtClipboard.h"
#include "ui/QtSpeech.h"
#include "ui/ViewFocus.h"
#include "ui/WebBrowser.h"

#ifdef _WIN32
// clang-format off
#include <windows.h>
#include <objbase.h>
#include <ole2.h>
// clang-format on
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // The shell link object and the speech object live in this thread's single-threaded apartment.
  CoInitialize(nullptr);
  OleInitialize(nullptr);
#endif
  ui::KeepFreedMemory();
  QApplication application(argc, argv);

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
  const QString program = QCoreApplication::applicationFilePath();
  services.exePath = ui::ToGbk(app::ShortcutTarget(program));
  // The portable folder keeps its pages and marker; a shared installation writes nothing of
  // its own, even for root, who could.
  const app::TWritePlaces places =
      app::ChooseWritePlaces(!app::IsInstalledCopy(program) && ui::FolderWritable("."));
  services.markerPath = places.markerPath;
  services.pageFolder = places.pageFolder;

  ui::InstallViewFocusFilters(application);
  const int result = app::Run(application, services);
#ifdef _WIN32
  OleUninitialize();
  CoUninitialize();
#endif
  return result;
}
