// The functions whose text follows the regional settings: currency symbol
// and its place, date order and separators, long dates, 12-hour times and
// month and day names. Number text never does: "." and "," everywhere.
#include <gtest/gtest.h>

#include "tests/platform/script/eval_test_util.h"

namespace kvt::script {
namespace {

// Makes `locale` the thread's settings for one test.
class RegionalFunctionsTest : public ::testing::Test {
 protected:
  void Use(const vb::Locale& locale) { vb::Locale::SetActive(locale); }
  void TearDown() override { vb::Locale::SetActive(saved_); }

 private:
  vb::Locale saved_ = vb::Locale::Active();
};

vb::Locale MonthFirst() {
  vb::Locale locale;
  locale.short_date = "M/d/yyyy";
  locale.long_date = "dddd, MMMM d, yyyy";
  locale.long_time = "h:mm:ss tt";
  locale.currency_symbol = "$";
  return locale;
}

vb::Locale SymbolAfter() {
  vb::Locale locale;
  locale.short_date = "dd.MM.yyyy";
  locale.long_date = "dddd, d. MMMM yyyy";
  locale.currency_symbol = "EUR";
  locale.currency_after = true;
  locale.month_names[2] = "M\u00E4rz";
  locale.day_names[0] = "Sonntag";
  return locale;
}

// clang-format off
TEST_F(RegionalFunctionsTest, MonthFirstSettingsReadAndShowDatesMonthFirst) {
  Use(MonthFirst());
  ExpectAll({
      {"FormatCurrency(1234567.89)", "String:$1,234,567.89"},
      {"FormatCurrency(-0.5)", "String:-$0.50"}, {"FormatCurrency(-1, 0, , -1)", "String:($1)"},
      {"CDate(\"2/3/2024\")", "Date:2/3/2024"}, {"Month(\"2/3/2024\")", "Integer:2"},
      {"IsDate(\"2/30/2024\")", "Boolean:False"}, {"IsDate(\"12/31/2024\")", "Boolean:True"},
      {"#1/31/2024 00:30#", "Date:1/31/2024 12:30:00 AM"},
      {"#1/31/2024 12:00#", "Date:1/31/2024 12:00:00 PM"},
      {"FormatDateTime(#1/31/2024#, vbLongDate)", "String:Wednesday, January 31, 2024"},
      {"FormatDateTime(#13:05:09#, vbLongTime)", "String:1:05:09 PM"},
      {"FormatDateTime(#13:05:09#, vbShortTime)", "String:13:05"},
      {"FormatNumber(1234.5)", "String:1,234.50"},  // numbers are not regional
      {"CDbl(\"1,234.5\")", "Double:1234.5"},
  });
}
// clang-format on

// clang-format off
TEST_F(RegionalFunctionsTest, SymbolAfterTheAmountAndDotSeparatedDates) {
  Use(SymbolAfter());
  ExpectAll({
      {"FormatCurrency(1234567.89)", "String:1,234,567.89 EUR"},
      {"FormatCurrency(-5)", "String:-5.00 EUR"}, {"FormatCurrency(-5, 2, , True)", "String:(5.00 EUR)"},
      {"FormatCurrency(0.004)", "String:0.00 EUR"},
      {"CDate(\"02.03.2024\")", "Date:02.03.2024"}, {"Month(\"02.03.2024\")", "Integer:3"},
      {"FormatDateTime(#3/3/2024#, vbLongDate)", "String:Sonntag, 3. M\u00E4rz 2024"},
      {"MonthName(3, True)", "String:M\u00E4r"},  // three letters, not three bytes
      {"WeekdayName(1, True)", "String:Son"},
  });
}
// clang-format on

}  // namespace
}  // namespace kvt::script
