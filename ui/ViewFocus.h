#pragma once

class QApplication;

namespace ui {

// Application-wide focus rules for the browser views: the wheel gives a view the keyboard
// focus, and re-activating the program returns focus to a view that had it.
void InstallViewFocusFilters(QApplication& application);

}  // namespace ui
