#include <gtest/gtest.h>

#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "tests/support/vb_error.h"

namespace vb {
namespace {

// clang-format off
TEST(FormatNumberTest, RoundsHalfAwayOnTheShortestDecimalForm) {
  struct Case {
    Variant value;
    int digits;
    const char* text;
  } cases[] = {
      {1.005, 2, "1.01"},      {-0.125, 2, "-0.13"},    {1234.5, 3, "1,234.500"},
      {1234567.891, 2, "1,234,567.89"}, {999.995, 2, "1,000.00"}, {2.5, 0, "3"},
      {-0.001, 2, "0.00"},     {0, 2, "0.00"},
      {"1,234.5", 2, "1,234.50"}, {" 12 ", 0, "12"},   {true, 2, "-1.00"},
      {Currency::FromDecimalText("0.0050"), 2, "0.01"},
      {Currency::Max(), 4, "922,337,203,685,477.5807"},
      {Currency::Min(), 2, "-922,337,203,685,477.58"},
      {Variant(), 2, "0.00"},  {1e20, 0, "100,000,000,000,000,000,000"},
      {0.000001, 4, "0.0000"}, {123.456, -1, "123.46"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatNumber(c.value, c.digits, -1, 0, -1), c.text);
  }
}
// clang-format on

TEST(FormatNumberTest, FlagsForLeadingZeroParensAndGrouping) {
  EXPECT_EQ(FormatNumber(0.5, 2, 0, 0, -1), ".50");
  EXPECT_EQ(FormatNumber(-1234.5, 2, -1, -1, -1), "(1,234.50)");
  EXPECT_EQ(FormatNumber(-1234.5, 2, -1, 0, 0), "-1234.50");
}

// clang-format off
TEST(FormatNumberTest, RaisesForDigitCountsBeyondTheLimitsAndForNoNumber) {
  struct Case {
    Variant value;
    int digits;
    int32_t error;
  } cases[] = {
      {1.5, -1, 0}, {1.5, 0, 0}, {1.5, 9, 0}, {1.5, 10, err::kInvalidCall},
      {1.5, INT32_MAX, err::kInvalidCall}, {1.5, -2, err::kInvalidCall},
      {1.5, INT32_MIN, err::kInvalidCall}, {"12abc", 2, err::kTypeMismatch},
      {Variant::Null(), 2, err::kInvalidUseOfNull},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.digits);
    EXPECT_EQ(kvt::test_support::ErrorNumberOf([&] { FormatNumber(c.value, c.digits); }),
              c.error);
  }
  EXPECT_EQ(FormatNumber(1.5, 9), "1.500000000");
}
// clang-format on

// clang-format off
TEST(FormatTest, NumericPatternsOfTheDocuments) {
  struct Case {
    Variant value;
    const char* pattern;
    const char* text;
  } cases[] = {
      {1234.5, "#,##0", "1,235"},        {1234.44, "#,##0.0", "1,234.4"},
      {1234.5, "#,##0.00", "1,234.50"},  {0.0005, "#,##0.000", "0.001"},
      {-1234.56789, "#,##0.0000", "-1,234.5679"}, {0.4, "#,##0", "0"},
      {-0.4, "#,##0", "0"},              {0.25, "0.0", "0.3"},
      {5, "0.00", "5.00"},               {1.5, "#,##0.##", "1.5"},
      {0.155, "0.00%", "15.50%"},        {12.5, "Standard", "12.50"},
      {"1,000", "#,##0.00", "1,000.00"}, {"n/a", "#,##0.00", "n/a"},
      {Variant::Null(), "#,##0.00", ""}, {Currency::FromDecimalText("2.345"), "#,##0.00", "2.35"},
      {5, "0 Units", "5 Units"},         {1234.5, "#,##0.00 USD", "1,234.50 USD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(Format(c.value, c.pattern), c.text);
  }
}
// clang-format on

TEST(FormatTest, DatePatterns) {
  Variant date(Date::FromYmdHms(2024, 3, 5, 9, 7, 3));
  EXPECT_EQ(Format(date, "Short Date"), "05/03/2024");
  EXPECT_EQ(Format(date, "short date"), "05/03/2024");
  EXPECT_EQ(Format(date, "yyyy-mm-dd hh:mm:ss"), "2024-03-05 09:07:03");
  EXPECT_EQ(Format(date, "d mmm yy"), "5 Mar 24");
  EXPECT_EQ(Format(date, "dddd"), "Tuesday");
  EXPECT_EQ(Format("2024-03-05", "Short Date"), "05/03/2024");
  Locale us;
  us.short_date = "MM/dd/yyyy";
  EXPECT_EQ(Format(date, "Short Date", us), "03/05/2024");
}

}  // namespace
}  // namespace vb
