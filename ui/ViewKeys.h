#pragma once

// Feeds the entry view's shortcut filter from Qt key events: the message kind, a virtual-key
// code and which side's Ctrl and Alt keys are down.

#include <Qt>
#include <cstdint>

#include "ui/ShortcutFilter.h"

class QKeyEvent;

namespace ui {

// Remembers which side's Ctrl and Alt keys were pressed, from the native key symbols of the
// modifier keys' own events. Where the platform gives no side, a held key counts as the left
// one.
class TSideKeys {
 public:
  void Reset() { *this = TSideKeys{}; }
  // Takes note of a press or release of a modifier key; other keys are ignored.
  void Observe(const QKeyEvent& event);
  // The states to judge by, given the modifiers the event reports as held.
  TKeyStates StatesFor(Qt::KeyboardModifiers held) const;

 private:
  bool leftCtrl_ = false;
  bool rightCtrl_ = false;
  bool leftAlt_ = false;
  bool rightAlt_ = false;
};

// Key press and shortcut override are key-downs; Alt without Ctrl (or F10) makes them system
// keys.
KeyMessage MessageKindOf(const QKeyEvent& event);

// The virtual-key code of the event's key: letters and digits as their upper-case character,
// a few named keys by their usual code, anything else 0.
std::uint32_t VirtualKeyOf(const QKeyEvent& event);

}  // namespace ui
