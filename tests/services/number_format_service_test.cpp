#include "services/number_format_service.h"

#include <gtest/gtest.h>

#include "platform/value/error.h"

namespace kvt::services {
namespace {

TEST(NumberFormatServiceTest, FormatsAsTheComponentCallsIt) {
  const NumberFormatService service;
  const std::pair<vb::Variant, const char*> cases[] = {
      {vb::Variant(1234.5), "1,234.50"},
      {vb::Variant(0.5), "0.50"},
      {vb::Variant(-0.5), "-0.50"},
      {vb::Variant(0), "0.00"},
      {vb::Variant("1,234.5"), "1,234.50"},
      {vb::Variant("12.5"), "12.50"},
      {vb::Variant(vb::Currency::FromRaw(12345678)), "1,234.57"},
      {vb::Variant(-1234567.891), "-1,234,567.89"},
  };
  for (const auto& [value, text] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(service.FormatAmount(value, 2, -1, 0, -1), text);
  }
  EXPECT_EQ(service.FormatAmount(vb::Variant(12.5), 0, -1, 0, -1), "13");
  EXPECT_EQ(service.FormatAmount(vb::Variant(0.25), 3, 0, 0, 0), ".250");
}

TEST(NumberFormatServiceTest, RejectsTextThatIsNoNumber) {
  const NumberFormatService service;
  try {
    service.FormatAmount(vb::Variant("abc"), 2, -1, 0, -1);
    FAIL() << "no error";
  } catch (const vb::Error& error) {
    EXPECT_EQ(error.number(), vb::err::kTypeMismatch);
  }
}

}  // namespace
}  // namespace kvt::services
