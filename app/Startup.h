#pragma once

// The start-up sequence after the services exist: main window, about window, event loop; and
// where a run writes its files.

#include <QString>
#include <string>

#include "app/lexora.h"

class QApplication;

namespace app {

// Where a run writes its first-run marker and its entry pages (GBK bytes).
struct TWritePlaces {
  std::string markerPath;
  std::string pageFolder;  // put before "html/N.html"; empty: the working folder
};

// The working folder when it is the program's own, writable folder (the portable layout).
// Otherwise the marker goes to the user's config folder and the pages to the user's cache
// folder, which is made ready with a copy of the working folder's style sheet, so that each
// user of a shared installation is asked once and has pages of their own.
TWritePlaces ChooseWritePlaces(bool workingFolderIsOurs);

// True for an installed copy: the program file is PREFIX/lib/qinghe-dict/qinghe-dict, with the
// launcher PREFIX/bin/qinghe-dict and the data folder PREFIX/share/qinghe-dict. The launcher
// starts it in that data folder, which belongs to the system.
bool IsInstalledCopy(const QString& programFile);

// The file a desktop shortcut starts: the launcher for an installed copy, since the launcher
// sets the working folder itself; else the program file.
QString ShortcutTarget(const QString& programFile);

// Sets the application title and icon, creates the main window (its FormCreate runs), then
// the about window hidden, shows the main window centred on the desktop and runs the event
// loop until the main window is closed. Returns the loop's exit code.
int Run(QApplication& application, const TServices& services);

}  // namespace app
