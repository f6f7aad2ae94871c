#pragma once

// Which keyboard messages the entry view swallows before it acts on them. Pure: the caller
// supplies the message and the key states of the moment.

#include <cstdint>
#include <string_view>

namespace ui {

enum class KeyMessage { KeyDown, KeyUp, SysKeyDown, SysKeyUp };

struct TKeyStates {
  bool leftCtrl = false;
  bool rightCtrl = false;
  bool leftAlt = false;
  bool rightAlt = false;
};

// True when the message must not reach the view: a plain key-down of one of the characters of
// disableCtrlShortcuts with Ctrl held. Left Ctrl counts only without any Alt (left Ctrl plus
// right Alt is AltGr); right Ctrl counts unless left Alt is down. Shift is not looked at.
bool SwallowsShortcut(KeyMessage message, std::uint32_t virtualKey, const TKeyStates& keys,
                      std::string_view disableCtrlShortcuts);

}  // namespace ui
