#include "ui/ViewKeys.h"

#include <QKeyEvent>

namespace ui {

namespace {

// X11 / xkb key symbols of the modifier keys.
constexpr quint32 kControlL = 0xffe3;
constexpr quint32 kControlR = 0xffe4;
constexpr quint32 kAltL = 0xffe9;
constexpr quint32 kAltR = 0xffea;
constexpr quint32 kMetaL = 0xffe7;
constexpr quint32 kMetaR = 0xffe8;

}  // namespace

void TSideKeys::Observe(const QKeyEvent& event) {
  const bool down = event.type() != QEvent::KeyRelease;
  switch (event.nativeVirtualKey()) {
    case kControlL:
      leftCtrl_ = down;
      break;
    case kControlR:
      rightCtrl_ = down;
      break;
    // Some layouts report the Alt keys as Meta symbols.
    case kAltL:
    case kMetaL:
      leftAlt_ = down;
      break;
    case kAltR:
    case kMetaR:
      rightAlt_ = down;
      break;
    default:
      break;
  }
}

TKeyStates TSideKeys::StatesFor(Qt::KeyboardModifiers held) const {
  TKeyStates states;
  if (held.testFlag(Qt::ControlModifier)) {
    states.rightCtrl = rightCtrl_;
    states.leftCtrl = leftCtrl_ || !rightCtrl_;
  }
  if (held.testFlag(Qt::AltModifier)) {
    states.rightAlt = rightAlt_;
    states.leftAlt = leftAlt_ || !rightAlt_;
  }
  return states;
}

KeyMessage MessageKindOf(const QKeyEvent& event) {
  const Qt::KeyboardModifiers held = event.modifiers();
  const bool system = (held.testFlag(Qt::AltModifier) && !held.testFlag(Qt::ControlModifier)) ||
                      (event.key() == Qt::Key_F10 && !held.testFlag(Qt::ControlModifier));
  if (event.type() == QEvent::KeyRelease) {
    return system ? KeyMessage::SysKeyUp : KeyMessage::KeyUp;
  }
  return system ? KeyMessage::SysKeyDown : KeyMessage::KeyDown;
}

std::uint32_t VirtualKeyOf(const QKeyEvent& event) {
  const int key = event.key();
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
    return static_cast<std::uint32_t>(key);
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
    return 0x70 + static_cast<std::uint32_t>(key - Qt::Key_F1);
  }
  switch (key) {
    case Qt::Key_Backspace:
      return 0x08;
    case Qt::Key_Tab:
      return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 0x0D;
    case Qt::Key_Escape:
      return 0x1B;
    case Qt::Key_Space:
      return 0x20;
    case Qt::Key_PageUp:
      return 0x21;
    case Qt::Key_PageDown:
      return 0x22;
    case Qt::Key_End:
      return 0x23;
    case Qt::Key_Home:
      return 0x24;
    case Qt::Key_Left:
      return 0x25;
    case Qt::Key_Up:
      return 0x26;
    case Qt::Key_Right:
      return 0x27;
    case Qt::Key_Down:
      return 0x28;
    case Qt::Key_Insert:
      return 0x2D;
    case Qt::Key_Delete:
      return 0x2E;
    case Qt::Key_Control:
      return 0x11;
    case Qt::Key_Alt:
      return 0x12;
    case Qt::Key_Shift:
      return 0x10;
    default:
      return 0;
  }
}

}  // namespace ui
