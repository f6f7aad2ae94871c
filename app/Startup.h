#pragma once

// The start-up sequence after the services exist: main window, about window, event loop.

#include "app/lexora.h"

class QApplication;

namespace app {

// Sets the application title and icon, creates the main window (its FormCreate runs), then
// the about window hidden, shows the main window centred on the desktop and runs the event
// loop until the main window is closed. Returns the loop's exit code.
int Run(QApplication& application, const TServices& services);

}  // namespace app
