#pragma once

// The real platform services behind the ports of ui/Ports.h.

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/Ports.h"

class QEvent;

namespace ui {

// Message dialogs over QMessageBox: caption and icon by type, the program's button labels,
// modal and centred on the screen.
class TQtDialogs : public IDialogs {
 public:
  int MessageDlg(const std::string& text, DialogType type, DialogButtons buttons) override;
  void ErrorBox(const std::string& caption, const std::string& text) override;
};

// Hands addresses to the system's default handler.
class TQtUrlOpener : public IUrlOpener {
 public:
  void Open(const std::string& address) override;
};

// Shell links: freedesktop desktop entries on Linux, shell link files on Windows.
class TDesktopShellLinks : public IShellLinks {
 public:
  std::unique_ptr<IShellLink> CreateLink() override;
  std::optional<std::string> SpecialFolderPath(int csidl) override;
};

#ifndef _WIN32
// The desktop-entry text for a link: UTF-8, the target as the one quoted word of Exec.
// name, target and workingDir are GBK bytes.
std::string DesktopEntryText(const std::string& name, const std::string& target,
                             const std::string& workingDir);
// The icon name a desktop entry carries: "qinghe-dict" once installed.
std::string DesktopEntryIcon();
// The folder a desktop shortcut goes to: the user's desktop as `xdg-user-dir DESKTOP` names
// it, or, when there is none, the user's application-menu folder (made if missing). Empty when
// neither can be had.
QString DesktopFolder();
#endif

// Keeps memory the program frees for its next use instead of handing it back to the system at
// once. A look-up of thousands of rows allocates and frees megabytes; with the C library's
// defaults much of it went back and came again as fresh pages, and on a virtual machine the
// page faults alone cost a look-up up to twice its time. Call once, before the window exists.
void KeepFreedMemory();

// An application-wide hook that sees every event the application delivers to a widget before
// the widget does; the handler returns true to drop the event.
class TApplicationEvents : public QObject {
  Q_OBJECT
 public:
  using Handler = std::function<bool(QObject* target, QEvent* event)>;
  explicit TApplicationEvents(QObject* parent = nullptr);
  ~TApplicationEvents() override;

  Handler OnMessage;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace ui
