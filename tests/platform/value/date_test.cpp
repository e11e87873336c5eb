#include "platform/value/date.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/value/error.h"
#include "platform/value/locale.h"
#include "tests/support/vb_error.h"

namespace vb {
namespace {

TEST(DateTest, SerialsMatchThePlatformCalendar) {
  struct Case {
    int y, m, d;
    double serial;
  } cases[] = {
      {1899, 12, 30, 0},    {1899, 12, 31, 1},   {1900, 1, 1, 2},    {1900, 3, 1, 61},
      {2000, 2, 29, 36585}, {2024, 1, 1, 45292}, {1899, 12, 29, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.serial);
    Date date = Date::FromYmd(c.y, c.m, c.d);
    EXPECT_EQ(date.serial(), c.serial);
    EXPECT_EQ(date.Year(), c.y);
    EXPECT_EQ(date.Month(), c.m);
    EXPECT_EQ(date.Day(), c.d);
  }
}

TEST(DateTest, InvalidPartsRaiseInvalidCall) {
  for (auto make :
       {+[] { Date::FromYmd(2023, 2, 29); }, +[] { Date::FromYmd(2023, 13, 1); },
        +[] { Date::FromYmd(99, 1, 1); }, +[] { Date::FromYmdHms(2023, 1, 1, 24, 0, 0); }}) {
    EXPECT_EQ(kvt::test_support::ErrorNumberOf(make), err::kInvalidCall);
  }
}

TEST(DateTest, SerialsOutsideYears100To9999RaiseOverflow) {
  struct Case {
    double serial;
    int32_t error;
    // clang-format off
  } cases[] = {
      {-657434.0, 0},   {-657434.99, 0},   {2958465.0, 0},  {2958465.99, 0},
      // clang-format on
      {-657435.0, err::kOverflow},
      {2958466.0, err::kOverflow},
      // Its time rounds to midnight of 1 January 10000.
      {2958465.999999999, err::kOverflow},
      {1e308, err::kOverflow},
      {-1e308, err::kOverflow},
      {std::nan(""), err::kOverflow},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.serial);
    EXPECT_EQ(kvt::test_support::ErrorNumberOf([&] { Date::FromSerial(c.serial); }), c.error);
  }
  EXPECT_EQ(Date::FromSerial(-657434).Year(), 100);
  EXPECT_EQ(Date::FromSerial(2958465).Year(), 9999);
}

TEST(DateTest, ParsesIsoAndLocaleOrder) {
  Locale day_first;  // dd/MM/yyyy
  Locale month_first;
  month_first.short_date = "MM/dd/yyyy";
  struct Case {
    const char* text;
    const Locale* locale;
    int y, m, d;
  } cases[] = {
      {"2024-03-15", &month_first, 2024, 3, 15},     {"15/03/2024", &day_first, 2024, 3, 15},
      {"03/15/2024", &month_first, 2024, 3, 15},     {" 5.1.24 ", &day_first, 2024, 1, 5},
      {"2024-03-15 10:20", &day_first, 2024, 3, 15},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    auto date = Date::Parse(c.text, *c.locale);
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(date->Year(), c.y);
    EXPECT_EQ(date->Month(), c.m);
    EXPECT_EQ(date->Day(), c.d);
  }
  for (const char* bad : {"31/02/2024", "12/2024", "2024-03-15x"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(Date::Parse(bad, day_first).has_value());
  }
}

}  // namespace
}  // namespace vb
