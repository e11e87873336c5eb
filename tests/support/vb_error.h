// Test helper: the number of the vb::Error an action raises.
#pragma once

#include <cstdint>

#include "platform/value/error.h"

namespace kvt::test_support {

// The number of the vb::Error `action` raises, or 0 when it raises none.
template <class Action>
int32_t ErrorNumberOf(Action&& action) {
  try {
    action();
  } catch (const vb::Error& error) {
    return error.number();
  }
  return 0;
}

}  // namespace kvt::test_support
