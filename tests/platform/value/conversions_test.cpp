#include "platform/value/conversions.h"

#include <cmath>

#include <gtest/gtest.h>

#include "tests/support/c_locale.h"
#include "tests/support/vb_error.h"

#include "platform/value/error.h"

namespace vb {
namespace {

using kvt::test_support::ErrorNumberOf;

// clang-format off
TEST(ConversionsTest, IntegerConversionsRoundHalfToEven) {
  struct Case {
    Variant input;
    int32_t expected;
  } cases[] = {
      {0.5, 0},   {1.5, 2},    {2.5, 2},     {-2.5, -2}, {2.4999, 2},
      {"2.5", 2}, {" 3.5 ", 4},
      {"1,234.5", 1234},       {Currency::FromDecimalText("2.5"), 2},
      {Currency::FromDecimalText("-3.5"), -4}, {true, -1}, {Variant(), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(CStr(c.input));
    EXPECT_EQ(CLng(c.input), c.expected);
    EXPECT_EQ(CInt(c.input), c.expected);
  }
}
// clang-format on

TEST(ConversionsTest, RangeAndTypeErrors) {
  struct Case {
    const char* name;
    void (*run)();
    int32_t number;
  } cases[] = {
      {"CInt 32767.5", [] { CInt(32767.5); }, err::kOverflow},
      {"CInt -32768.5", [] { CInt(-32768.5); }, 0},
      {"CLng 2147483647.5", [] { CLng(2147483647.5); }, err::kOverflow},
      {"CByte -1", [] { CByte(-1); }, err::kOverflow},
      {"CCur 1e16", [] { CCur(1e16); }, err::kOverflow},
      {"CDbl 12abc", [] { CDbl("12abc"); }, err::kTypeMismatch},
      {"CDbl Null", [] { CDbl(Variant::Null()); }, err::kInvalidUseOfNull},
      {"CStr Null", [] { CStr(Variant::Null()); }, err::kInvalidUseOfNull},
      {"CBool maybe", [] { CBool("maybe"); }, err::kTypeMismatch},
      {"CDate junk", [] { CDate("junk"); }, err::kTypeMismatch},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrorNumberOf(c.run), c.number);
  }
  EXPECT_EQ(Error::StandardDescription(75), "Path/File access error");
  EXPECT_EQ(Error::StandardDescription(482), "Printer error");
}

// clang-format off
TEST(ConversionsTest, NumericTestFollowsTheLocale) {
  struct Case {
    Variant input;
    bool numeric;
  } cases[] = {
      {"1,234.5", true}, {" 12 ", true},  {"-3.25", true}, {"(5)", true},
      {"5-", true},      {"1E3", true},   {"&H1F", true},  {".5", true},
      {"1,2,3", true},   {"", false},     {"12abc", false}, {"abc", false},
      {"-", false},      {"1.2.3", false}, {",5", false},   {"1e", false},
      {Variant::Null(), false}, {Variant(), true}, {true, true},
      {Variant(Date::FromYmd(2024, 1, 1)), false}, {7, true},
      // Beyond the Double range is no number; below it reads as zero.
      {"1e400", false}, {"-1E400", false}, {"1e-400", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input.IsString() ? *c.input.get_if<std::string>() : c.input.TypeName());
    EXPECT_EQ(IsNumeric(c.input), c.numeric);
    if (c.input.IsString()) {
      EXPECT_EQ(ParseLocaleNumber(*c.input.get_if<std::string>(), Locale()).has_value(),
                c.numeric);
    }
  }
}
// clang-format on

TEST(ConversionsTest, NumberTextIgnoresTheProcessLocale) {
  kvt::test_support::ScopedCLocale comma(kvt::test_support::kCommaDecimalLocale);
  struct Case {
    Variant input;
    const char* text;
  } cases[] = {
      {1.5, "1.5"},  {133.83, "133.83"},   {-0.25, "-0.25"},
      {2.5f, "2.5"}, {1.5e-5, "0.000015"}, {1.25e20, "1.25E+20"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(CStr(c.input), c.text);
    EXPECT_EQ(CDbl(CStr(c.input)), CDbl(c.input));
  }
  EXPECT_EQ(FormatNumber(2.5f, 2), "2.50");
}

TEST(ConversionsTest, TextConvertsExactlyToCurrency) {
  EXPECT_EQ(CCur("1,234.5678").raw(), 12345678);
  EXPECT_EQ(CCur("(12.5)").raw(), -125000);
  EXPECT_EQ(CCur(Variant::Integer(3)).raw(), 30000);
}

// clang-format off
TEST(ConversionsTest, CStrShowsNumbersThePlatformWay) {
  struct Case {
    Variant input;
    const char* text;
  } cases[] = {
      {0.1 + 0.2, "0.3"},     {1e15, "1E+15"},    {123456789012345.0, "123456789012345"},
      {0.00001, "0.00001"},   {0.0001, "0.0001"}, {-2.5, "-2.5"},
      {1.0f / 3.0f, "0.3333333"}, {Currency::FromDecimalText("12.50"), "12.5"},
      {true, "True"},         {false, "False"},   {Variant(), ""},
      {Variant::Integer(-7), "-7"}, {Variant(Date::FromYmd(2024, 3, 5)), "05/03/2024"},
      {Variant(Date::FromYmdHms(2024, 3, 5, 14, 5, 9)), "05/03/2024 14:05:09"},
      // Fifteen digits (seven for a Single), plain while they fit.
      {1e-15, "0.000000000000001"}, {1e-16, "1E-16"}, {0.1 / 3, "3.33333333333333E-02"},
      {919.9999999999999, "920"},   {16777216.0f, "1.677722E+07"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(CStr(c.input), c.text);
  }
}
// clang-format on

TEST(ConversionsTest, BooleansFromTextAndNumbers) {
  const std::pair<Variant, bool> cases[] = {{"true", true}, {" False ", false},
                                            {"-1", true},   {"0", false},
                                            {0.1, true},    {Currency(), false}};
  for (const auto& [input, expected] : cases) {
    SCOPED_TRACE(CStr(input));
    EXPECT_EQ(CBool(input), expected);
  }
}

TEST(ConversionsTest, ValReadsTheLeadingNumberWithADotPoint) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"1234.5", 1234.5}, {"  12", 12},   {"1 2 3", 123},   {"12abc", 12},
      {"abc", 0},         {"", 0},        {"-3.25", -3.25}, {"1.2.3", 1.2},
      {"&H1F", 31},       {"&HFFFF", -1}, {"&O17", 15},     {"1e3", 1000},
      {"2e", 2},          {".5", 0.5},    {"-.5", -0.5},    {"1,234", 1},
      {"1e-400", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Val(c.text), c.value);
  }
  EXPECT_EQ(ErrorNumberOf([] { Val("1e400"); }), err::kOverflow);
}

// clang-format off
TEST(ConversionsTest, RoundHalfEvenToDigits) {
  struct Case {
    double value;
    int digits;
    double expected;
  } cases[] = {
      {2.5, 0, 2},        {3.5, 0, 4},     {-2.5, 0, -2},
      {0.125, 2, 0.12},   {0.375, 2, 0.38}, {1.23456, 3, 1.235},
      // The scaled double is rounded: 2.675 and 0.995, stored just below,
      // scale to exact ties and go to even; 12.345 scales below the tie.
      {2.675, 2, 2.68},   {0.995, 2, 1},    {12.345, 2, 12.34}, {1.005, 2, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_DOUBLE_EQ(RoundHalfEven(c.value, c.digits), c.expected);
  }
}
// clang-format on

}  // namespace
}  // namespace vb
