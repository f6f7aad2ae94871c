#include "ui/ShortcutFilter.h"

namespace ui {

bool SwallowsShortcut(KeyMessage message, std::uint32_t virtualKey, const TKeyStates& keys,
                      std::string_view disableCtrlShortcuts) {
  if (disableCtrlShortcuts.empty() || message != KeyMessage::KeyDown) return false;
  const bool anyAlt = keys.leftAlt || keys.rightAlt;
  const bool ctrl = (keys.leftCtrl && !anyAlt) || (keys.rightCtrl && !keys.leftAlt);
  if (!ctrl) return false;
  const char low = static_cast<char>(virtualKey & 0xFF);
  return disableCtrlShortcuts.find(low) != std::string_view::npos;
}

}  // namespace ui
