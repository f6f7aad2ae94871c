#pragma once

// The application's default error handler: every error that escapes an event handler ends
// up here, is shown in the error box, and the program goes on.

#include <exception>
#include <string>
#include <utility>

#include "ui/Ports.h"

namespace app {

// The application title; caption of the error box (GBK bytes).
std::string ApplicationTitle();

// The box text for an error message: a full stop is appended when the message is not empty
// and its last character sorts after ".".
std::string ErrorBoxText(const std::string& message);

class TErrorHandler {
 public:
  explicit TErrorHandler(ui::IDialogs& dialogs) : dialogs_(dialogs) {}

  void Show(const std::exception& error) const;

  // Runs f, catching any error so that none crosses Qt's event dispatch.
  template <class F>
  void Run(F&& f) const noexcept {
    try {
      std::forward<F>(f)();
    } catch (const std::exception& error) {
      Show(error);
    } catch (...) {
      ShowText("Unknown error");
    }
  }

 private:
  void ShowText(const std::string& message) const noexcept;
  ui::IDialogs& dialogs_;
};

}  // namespace app
