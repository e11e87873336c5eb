#include "platform/value/locale.h"

#include "platform/value/thread_slot.h"

namespace vb {

// Per thread, because the component and its host run each user-interface
// thread on its own; a host sets it before it calls in.
const Locale& Locale::Active() {
  return ThreadSlot<Locale>::Get([] { return std::make_shared<Locale>(); });
}
void Locale::SetActive(const Locale& locale) {
  ThreadSlot<Locale>::Set(std::make_shared<Locale>(locale));
}

}  // namespace vb
