// NumberFormatService — the suite's one fixed-decimal formatter.
#pragma once

#include <cstdint>
#include <string>

#include "platform/value/variant.h"

namespace kvt::services {

class NumberFormatService {
 public:
  // Renders `value` (a number, or text holding one, grouping accepted) with
  // `digits` decimals; `leading_digit`, `parens_for_negative` and
  // `group_digits` are tristates (-1 true, 0 false, -2 locale default), in
  // the order of the platform's FormatNumber, which this is: callers pass
  // (value, 2, -1, 0, -1) and get "1,234.50" for 1234.5 and "-0.50" for
  // -0.5. Raises 13 for text that is no number and 94 for Null.
  std::string FormatAmount(const vb::Variant& value, int32_t digits, int32_t leading_digit,
                           int32_t parens_for_negative, int32_t group_digits) const;
};

}  // namespace kvt::services
