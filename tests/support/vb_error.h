// Test helpers: the vb::Error an action raises.
#pragma once

#include <cstdint>

#include "platform/value/error.h"

namespace kvt::test_support {

// The vb::Error `action` raises, or one numbered 0 with empty texts when it
// raises none, so that a check of the number also catches the missing error.
template <class Action>
vb::Error ErrorOf(Action&& action) {
  try {
    action();
  } catch (const vb::Error& error) {
    return error;
  }
  return vb::Error(0, {}, {});
}

// The number of the vb::Error `action` raises, or 0 when it raises none.
template <class Action>
int32_t ErrorNumberOf(Action&& action) {
  return ErrorOf(action).number();
}

}  // namespace kvt::test_support
