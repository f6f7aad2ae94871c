#pragma once

// Small interfaces to the platform services the windows use. The real adapters live in ui/;
// tests hand in fakes with scripted answers. Text crossing these ports is GBK bytes unless a
// QString says otherwise.

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace ui {

// A platform call that reported failure.
class EPlatformError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class DialogType { Warning, Error, Information, Confirmation };
// Button sets the program uses.
enum class DialogButtons { OK, YesNo };
// Results, as the message dialogs number them.
enum DialogResult : int { mrNone = 0, mrOK = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

class IDialogs {
 public:
  virtual ~IDialogs() = default;
  // Modal message dialog centred on the screen; returns the button pressed (mrNo when a
  // yes/no box is closed, mrOK for an OK box).
  virtual int MessageDlg(const std::string& text, DialogType type, DialogButtons buttons) = 0;
  // The application's error box: caption, stop icon, one OK button.
  virtual void ErrorBox(const std::string& caption, const std::string& text) = 0;
};

class IUrlOpener {
 public:
  virtual ~IUrlOpener() = default;
  // Hands an address to the system's default handler; failures are not reported.
  virtual void Open(const std::string& address) = 0;
};

class IShellLink {
 public:
  virtual ~IShellLink() = default;
  virtual void SetPath(const std::string& target) = 0;
  virtual void SetWorkingDirectory(const std::string& dir) = 0;
  // True only when the link was saved at path.
  virtual bool Save(const std::string& path) = 0;
};

class IShellLinks {
 public:
  virtual ~IShellLinks() = default;
  // Raises EPlatformError when no link object can be made.
  virtual std::unique_ptr<IShellLink> CreateLink() = 0;
  // File-system path of a special folder; nothing when the number is unknown.
  virtual std::optional<std::string> SpecialFolderPath(int csidl) = 0;
};

// Speech flags, as the speech platform numbers them.
enum SpeechFlags : int { SVSFlagsAsync = 1, SVSFPurgeBeforeSpeak = 2 };

class ISpeechVoice {
 public:
  virtual ~ISpeechVoice() = default;
  // Every operation raises EPlatformError when the platform reports failure.
  virtual int VoiceCount() = 0;
  virtual QString VoiceDescription(int index) = 0;
  virtual void SetVoice(int index) = 0;
  virtual void Speak(const QString& text, int flags) = 0;
};

class IClipboard {
 public:
  virtual ~IClipboard() = default;
  virtual void SetContent(const QString& html, const QString& text) = 0;
};

}  // namespace ui
