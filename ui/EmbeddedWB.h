#pragma once

// The entry view: shows the entry pages the program writes.

#include <QTextBrowser>
#include <string>

namespace ui {

class TEmbeddedWB : public QTextBrowser {
  Q_OBJECT
 public:
  explicit TEmbeddedWB(QWidget* parent = nullptr);

  // Shows the page file at fullPath (GBK bytes). Raises EPlatformError when it cannot be read.
  void Navigate(const std::string& fullPath);
};

}  // namespace ui
