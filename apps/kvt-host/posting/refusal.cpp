#include "apps/kvt-host/posting/refusal.h"

#include "apps/kvt-host/posting/voucher.h"
#include "platform/value/conversions.h"

namespace kvt::posting {

void Refuse(const std::string& message, const std::string& context) {
  throw vb::Error(kPostingRefused, kPostingSource, message, context);
}

std::string QtyText(double qty) {
  // Stored quantities carry binary noise (0.1 + 0.2); six decimals is more
  // than any unit of measure is counted in.
  return vb::CStr(vb::Variant(vb::RoundHalfEven(qty, 6)));
}

std::string ProductText(const std::string& code, const std::string& name, int32_t product_id) {
  if (code.empty() && name.empty()) {
    return "product " + std::to_string(product_id);
  }
  if (name.empty()) return code;
  return code.empty() ? name : code + " (" + name + ")";
}

}  // namespace kvt::posting
