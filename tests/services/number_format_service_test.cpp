#include "services/number_format_service.h"

#include <gtest/gtest.h>

namespace kvt::services {
namespace {

// The arguments every caller passes: two decimals, leading zero, minus sign,
// grouping; text from a line property is read as a number first.
TEST(NumberFormatServiceTest, FormatsAsTheComponentCallsIt) {
  const NumberFormatService service;
  const std::pair<vb::Variant, const char*> cases[] = {
      {vb::Variant(1234.5), "1,234.50"},
      {vb::Variant(-0.5), "-0.50"},
      {vb::Variant("1,234.5"), "1,234.50"},
      {vb::Variant(vb::Currency::FromRaw(12345678)), "1,234.57"},
  };
  for (const auto& [value, text] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(service.FormatAmount(value, 2, -1, 0, -1), text);
  }
}

}  // namespace
}  // namespace kvt::services
