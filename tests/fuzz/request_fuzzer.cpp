// Fuzzes the API's request reading: any bytes as a body read by the
// fields of the routes that take the most (a scan, a new voucher, a
// login), and as query parameters. Anything but a refusal (ApiError) is a
// finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "apps/kvt-host/serve/api_error.h"
#include "apps/kvt-host/serve/json_body.h"

namespace {

using kvt::serve::ApiError;
using kvt::serve::JsonBody;

template <class Read>
void Refusable(Read&& read) {
  try {
    read();
  } catch (const ApiError& refused) {
    if (refused.status != 400 && refused.status != 404) __builtin_trap();
    if (refused.message.empty()) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Refusable([&] {
    JsonBody body(text);
    body.OptionalText("code", 50);
    body.OptionalQuantity("qty");
    body.OptionalKey("supplier_id");
    body.OptionalFlag("copy");
    body.Done();
  });
  Refusable([&] {
    JsonBody body(text);
    body.Text("user", 63);
    body.Key("source_line_id");
    body.Quantity("qty");
  });
  Refusable([&] { kvt::serve::QueryInteger("page", text, 1, 1000000, 1); });
  Refusable([&] { kvt::serve::QueryText("document", text, 100); });
  Refusable([&] { kvt::serve::PathKey(text); });
  return 0;
}
