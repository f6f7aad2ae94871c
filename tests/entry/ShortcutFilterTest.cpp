#include <gtest/gtest.h>

#include <QKeyEvent>

#include "ui/ShortcutFilter.h"
#include "ui/ViewKeys.h"

namespace {

using ui::KeyMessage;
using ui::SwallowsShortcut;
using ui::TKeyStates;

constexpr TKeyStates kNone{};
constexpr TKeyStates kLCtrl{.leftCtrl = true};
constexpr TKeyStates kRCtrl{.rightCtrl = true};
constexpr TKeyStates kLCtrlRAlt{.leftCtrl = true, .rightAlt = true};  // AltGr
constexpr TKeyStates kLCtrlLAlt{.leftCtrl = true, .leftAlt = true};
constexpr TKeyStates kRCtrlRAlt{.rightCtrl = true, .rightAlt = true};
constexpr TKeyStates kRCtrlLAlt{.rightCtrl = true, .leftAlt = true};

struct FilterCase {
  const char* name;
  KeyMessage message;
  std::uint32_t key;
  TKeyStates states;
  const char* list;
  bool swallowed;
};

TEST(ShortcutFilter, SwallowsOnlyCtrlShortcutsOfTheList) {
  const FilterCase cases[] = {
      {"Ctrl+N", KeyMessage::KeyDown, 'N', kLCtrl, "N", true},
      // Shift is not looked at: the key-down of N with Ctrl and Shift held.
      {"Ctrl+Shift+N", KeyMessage::KeyDown, 'N', kLCtrl, "N", true},
      {"right Ctrl+N", KeyMessage::KeyDown, 'N', kRCtrl, "N", true},
      {"Ctrl+A", KeyMessage::KeyDown, 'A', kLCtrl, "N", false},
      {"Ctrl+C", KeyMessage::KeyDown, 'C', kLCtrl, "N", false},
      {"Ctrl+F", KeyMessage::KeyDown, 'F', kLCtrl, "N", false},
      {"Ctrl+P", KeyMessage::KeyDown, 'P', kLCtrl, "N", false},
      {"plain N", KeyMessage::KeyDown, 'N', kNone, "N", false},
      {"AltGr+N", KeyMessage::KeyDown, 'N', kLCtrlRAlt, "N", false},
      {"left Ctrl+left Alt+N", KeyMessage::KeyDown, 'N', kLCtrlLAlt, "N", false},
      {"right Ctrl+right Alt+N", KeyMessage::KeyDown, 'N', kRCtrlRAlt, "N", true},
      {"right Ctrl+left Alt+N", KeyMessage::KeyDown, 'N', kRCtrlLAlt, "N", false},
      {"key-up of Ctrl+N", KeyMessage::KeyUp, 'N', kLCtrl, "N", false},
      {"system key-down", KeyMessage::SysKeyDown, 'N', kLCtrl, "N", false},
      {"system key-up", KeyMessage::SysKeyUp, 'N', kLCtrl, "N", false},
      {"empty list", KeyMessage::KeyDown, 'N', kLCtrl, "", false},
      {"second character of the list", KeyMessage::KeyDown, 'P', kLCtrl, "NP", true},
      // Only the low byte of the code is compared.
      {"high bits ignored", KeyMessage::KeyDown, 0x14E, kLCtrl, "N", true},
      {"lower-case list character", KeyMessage::KeyDown, 'N', kLCtrl, "n", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SwallowsShortcut(c.message, c.key, c.states, c.list), c.swallowed) << c.name;
  }
}

QKeyEvent Key(QEvent::Type type, int key, Qt::KeyboardModifiers mods, quint32 nativeKey = 0) {
  return QKeyEvent(type, key, mods, 0, nativeKey, 0);
}

constexpr quint32 kControlL = 0xffe3, kControlR = 0xffe4, kAltL = 0xffe9, kAltR = 0xffea;

TEST(SideKeys, TellsTheSidesFromNativeKeysAndDefaultsToLeft) {
  ui::TSideKeys sides;
  // Nothing seen: a held Ctrl or Alt counts as the left one.
  TKeyStates s = sides.StatesFor(Qt::ControlModifier | Qt::AltModifier);
  EXPECT_TRUE(s.leftCtrl && s.leftAlt);
  EXPECT_FALSE(s.rightCtrl || s.rightAlt);

  sides.Observe(Key(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier, kControlR));
  sides.Observe(Key(QEvent::KeyPress, Qt::Key_Alt, Qt::ControlModifier, kAltR));
  s = sides.StatesFor(Qt::ControlModifier | Qt::AltModifier);
  EXPECT_TRUE(s.rightCtrl && s.rightAlt);
  EXPECT_FALSE(s.leftCtrl || s.leftAlt);
  EXPECT_TRUE(SwallowsShortcut(KeyMessage::KeyDown, 'N', s, "N"));

  // Modifiers the event does not report as held do not count, whatever was seen.
  s = sides.StatesFor(Qt::NoModifier);
  EXPECT_FALSE(s.leftCtrl || s.rightCtrl || s.leftAlt || s.rightAlt);

  sides.Observe(Key(QEvent::KeyRelease, Qt::Key_Control, Qt::AltModifier, kControlR));
  sides.Observe(Key(QEvent::KeyPress, Qt::Key_Control, Qt::AltModifier, kControlL));
  sides.Observe(Key(QEvent::KeyRelease, Qt::Key_Alt, Qt::ControlModifier, kAltR));
  sides.Observe(Key(QEvent::KeyPress, Qt::Key_Alt, Qt::ControlModifier, kAltL));
  s = sides.StatesFor(Qt::ControlModifier | Qt::AltModifier);
  EXPECT_TRUE(s.leftCtrl && s.leftAlt);
  EXPECT_FALSE(s.rightCtrl || s.rightAlt);

  sides.Reset();
  s = sides.StatesFor(Qt::ControlModifier);
  EXPECT_TRUE(s.leftCtrl);
  EXPECT_FALSE(s.rightCtrl);
}

TEST(SideKeys, MessageKindsAndKeyCodes) {
  EXPECT_EQ(ui::MessageKindOf(Key(QEvent::KeyPress, Qt::Key_N, Qt::ControlModifier)),
            KeyMessage::KeyDown);
  EXPECT_EQ(ui::MessageKindOf(Key(QEvent::ShortcutOverride, Qt::Key_N, Qt::ControlModifier)),
            KeyMessage::KeyDown);
  EXPECT_EQ(ui::MessageKindOf(Key(QEvent::KeyRelease, Qt::Key_N, Qt::ControlModifier)),
            KeyMessage::KeyUp);
  EXPECT_EQ(ui::MessageKindOf(Key(QEvent::KeyPress, Qt::Key_N, Qt::AltModifier)),
            KeyMessage::SysKeyDown);
  EXPECT_EQ(ui::MessageKindOf(Key(QEvent::KeyRelease, Qt::Key_N, Qt::AltModifier)),
            KeyMessage::SysKeyUp);
  EXPECT_EQ(
      ui::MessageKindOf(Key(QEvent::KeyPress, Qt::Key_N, Qt::AltModifier | Qt::ControlModifier)),
      KeyMessage::KeyDown);
  EXPECT_EQ(ui::MessageKindOf(Key(QEvent::KeyPress, Qt::Key_F10, Qt::NoModifier)),
            KeyMessage::SysKeyDown);

  EXPECT_EQ(ui::VirtualKeyOf(Key(QEvent::KeyPress, Qt::Key_N, Qt::ShiftModifier)), 0x4Eu);
  EXPECT_EQ(ui::VirtualKeyOf(Key(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier)), 0x37u);
  EXPECT_EQ(ui::VirtualKeyOf(Key(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier)), 0x70u);
  // Qt's codes of special keys must not pass for letters.
  EXPECT_EQ(ui::VirtualKeyOf(Key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier)), 0x1Bu);
  EXPECT_EQ(ui::VirtualKeyOf(Key(QEvent::KeyPress, Qt::Key_MediaNext, Qt::NoModifier)), 0u);
}

}  // namespace
