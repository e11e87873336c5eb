#include "component/mod_general.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

#include "component/mod_publics.h"
#include "platform/value/conversions.h"
#include "services/number_format_service.h"
#include "tests/support/vb_error.h"

namespace kvt::component {
namespace {

TEST(ParseNumberTest, ReadsNumbersTheWayEveryCalculationExpects) {
  struct Case {
    const char* what;
    vb::Variant input;
    vb::Variant expected;
  } cases[] = {
      // Which texts are numbers is IsNumeric's (tested with it); here, what
      // each kind of input reads as.
      {"commas anywhere are grouping", vb::Variant("1,234,567.25"), vb::Variant(1234567.25)},
      {"no number reads as an Integer 0", vb::Variant("12abc"), vb::Variant::Integer(0)},
      {"Null", vb::Variant::Null(), vb::Variant::Integer(0)},
      {"Empty passes the test and reads 0", vb::Variant(), vb::Variant(0.0)},
      {"beyond the Double range fails the test", vb::Variant("1e400"), vb::Variant::Integer(0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ParseNumber(c.input), c.expected);
  }
}

// Numbers are read without their text, but as their text would read.
TEST(ParseNumberTest, NumbersReadAsTheirTextWouldRead) {
  std::mt19937_64 random(20261206);
  std::uniform_int_distribution<uint64_t> bits;
  for (int i = 0; i < 20000; ++i) {
    double value = 0;
    const uint64_t raw = bits(random);
    std::memcpy(&value, &raw, sizeof value);
    if (!std::isfinite(value)) continue;
    // Every magnitude, and figures of the size a line carries.
    for (const vb::Variant& input :
         {vb::Variant(value), vb::Variant(static_cast<float>(value)),
          vb::Variant(std::ldexp(static_cast<double>(raw % 100000000), -7))}) {
      SCOPED_TRACE(vb::CStr(input));
      EXPECT_EQ(ParseNumber(input), ParseNumber(vb::Variant(vb::CStr(input))));
    }
    // And amounts format as the number they read as.
    const vb::Currency money = vb::Currency::FromRaw(static_cast<int64_t>(raw) >> (i % 4 * 4));
    EXPECT_EQ(FormatTwoDecimals(money),
              ThreadStore().NumberFormat().FormatAmount(ParseNumber(money), 2, -1, 0, -1))
        << money.raw();
  }
}

TEST(FormatToDecimalsTest, RoundsToTheDecimalsAndGroupsThousands) {
  ResetThreadStore();
  struct Case {
    vb::Variant input;
    int32_t decimals;
    const char* expected;
  } cases[] = {
      // Rounding and grouping themselves are FormatNumber's, tested with it.
      // What reads as no number is ParseNumber's.
      {vb::Variant("1,234.5"), 0, "1,235"},
      {vb::Variant("-1234.567"), 2, "-1,234.57"},
      {vb::Variant(""), 4, "0.0000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.expected));
    EXPECT_EQ(FormatToDecimals(c.input, c.decimals), c.expected);
  }
  EXPECT_EQ(FormatTwoDecimals(vb::Variant("12.345")), "12.35");
  // The service refuses more decimals than the platform shows; that
  // reaches the caller.
  EXPECT_EQ(test_support::ErrorNumberOf([] { FormatToDecimals(vb::Variant(1), INT32_MAX); }),
            vb::err::kInvalidCall);
}

}  // namespace
}  // namespace kvt::component
