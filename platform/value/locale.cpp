#include "platform/value/locale.h"

namespace vb {
namespace {
// Per thread, because the component and its host run each user-interface
// thread on its own; a host sets it before it calls in.
thread_local Locale active_locale;
}  // namespace

const Locale& Locale::Active() { return active_locale; }
void Locale::SetActive(const Locale& locale) { active_locale = locale; }

}  // namespace vb
