#pragma once

class QApplication;
class QObject;
class QTextBrowser;

namespace ui {

// Application-wide focus rules for the browser views (the entry view and the about window's
// page): a wheel turn over a view gives it the keyboard focus without taking the turn away from
// it, and when the program is activated again a view that was its window's active control gets
// the focus back. Installed once at start-up; lives as long as the application.
void InstallViewFocusFilters(QApplication& application);

// The browser view that object belongs to (the view itself, its viewport or anything inside
// it), or nullptr.
QTextBrowser* BrowserViewOf(QObject* object);

}  // namespace ui
