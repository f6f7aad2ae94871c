#include "app/ErrorHandler.h"

#include "ui/Gbk.h"

namespace app {

std::string ApplicationTitle() { return ui::Gbk("青禾英语词典"); }

std::string ErrorBoxText(const std::string& message) {
  // GBK trail bytes are all above '.', so the last byte decides for a double-byte character too.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

void TErrorHandler::Show(const std::exception& error) const { ShowText(error.what()); }

void TErrorHandler::ShowText(const std::string& message) const noexcept {
  try {
    dialogs_.ErrorBox(ApplicationTitle(), ErrorBoxText(message));
  } catch (...) {
    // Nothing sensible is left to do when the error box itself fails.
  }
}

}  // namespace app
