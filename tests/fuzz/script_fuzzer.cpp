// Fuzzes the expression engine with arbitrary text. The only acceptable
// failure is a vb::Error; anything else (another exception, a sanitizer
// report, a timeout or a stack overflow) is a finding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/script/script_control.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const vb::Variant value = kvt::script::ScriptControl().Eval(text);
    // Showing the result exercises the conversions on whatever came out.
    if (!value.IsNull() && !value.IsObject()) (void)vb::CStr(value);
  } catch (const vb::Error&) {
  }
  return 0;
}
