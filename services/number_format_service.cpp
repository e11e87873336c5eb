#include "services/number_format_service.h"

#include "platform/value/conversions.h"

namespace kvt::services {

std::string NumberFormatService::FormatAmount(const vb::Variant& value, int32_t digits,
                                              int32_t leading_digit, int32_t parens_for_negative,
                                              int32_t group_digits) const {
  return vb::FormatNumber(value, digits, leading_digit, parens_for_negative, group_digits);
}

}  // namespace kvt::services
