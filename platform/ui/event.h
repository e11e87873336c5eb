// Events a control raises, with the arguments its handlers may change.
#pragma once

#include <functional>

namespace kvt::ui {

class Control;

enum class Event {
  kChange,  // value or text changed (by code or by the user)
  kClick,   // clicked, or an option/check value set
  kGotFocus,
  kLostFocus,
  kValidate,  // before focus leaves; set cancel to keep it
  kKeyDown,
  kKeyPress,  // set key_ascii to 0 to swallow the character
  kKeyUp,
};

struct EventArgs {
  Control& control;
  bool cancel = false;
  int key_ascii = 0;
  int key_code = 0;
  int shift = 0;
};

using Handler = std::function<void(EventArgs&)>;

// Key codes the platform names (KeyDown/KeyUp), and shift masks.
inline constexpr int vbKeyBack = 8;
inline constexpr int vbKeyTab = 9;
inline constexpr int vbKeyReturn = 13;
inline constexpr int vbKeyEscape = 27;
inline constexpr int vbKeySpace = 32;
inline constexpr int vbKeyDelete = 46;
inline constexpr int vbShiftMask = 1;
inline constexpr int vbCtrlMask = 2;
inline constexpr int vbAltMask = 4;

}  // namespace kvt::ui
