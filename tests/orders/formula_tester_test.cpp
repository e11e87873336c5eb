// The formula tester: notes for undefined names and a missing --x, the
// check of a database's formulas, which fails on every kind of problem,
// and the regional settings a user may evaluate under.
#include "apps/kvt-host/formula_tester.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "apps/kvt-host/regional_settings.h"
#include "platform/data/connection.h"
#include "platform/value/conversions.h"
#include "tests/support/temp_demo_database.h"

namespace kvt::host {
namespace {

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

ToolRun RunTool(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunFormulaTool(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(FormulaTesterTest, NotesUndefinedNamesAndAMissingSubtotal) {
  const ToolRun run = RunTool({"formula", "y*2 + x*0.1 + Y"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "0\n");
  EXPECT_EQ(run.err,
            "note: --x is missing, X is taken as 0\n"
            "note: Y is not defined, VBScript reads it as Empty\n");
  EXPECT_EQ(RunTool({"formula", "x*0.1", "--x", "250"}).err, "");
  EXPECT_EQ(RunTool({"formula", "x", "--x"}).status, 2);
}

TEST(FormulaTesterTest, CheckReportsEachKindOfProblem) {
  test_support::TempDemoDatabase db("formula_check_problems");
  const struct {
    const char* formula;
    const char* problem;
  } cases[] = {
      {"y*0.05", "Y is not defined, VBScript reads it as Empty"},
      {"-X*0.1", "goes negative"},
      {"X*2", "exceeds the subtotal"},
      {"\"abc\"", "fails with error 13: Type mismatch"},
      {"X > 100", "gives a Boolean, not a number"},
  };
  auto connection = data::Connection::Open(db.Path());
  int id = 100;
  for (const auto& c : cases) {
    connection->Execute(
        "INSERT INTO DiscountFormulas (ID, FormulaType, Description, Formula) "
        "VALUES (?1, 0, 'probe', ?2)",
        {vb::Variant(id++), vb::Variant(c.formula)});
  }
  std::ostringstream out;
  EXPECT_EQ(RunFormulaCheck(db.Path(), 250, out), 1);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.formula);
    const size_t shown = out.str().find(std::string("probe: ") + c.formula);
    ASSERT_NE(shown, std::string::npos) << out.str();
    EXPECT_NE(out.str().find(std::string("problem: ") + c.problem, shown), std::string::npos);
  }
  // The demo's nine formulas pass, each shown with its value.
  EXPECT_NE(out.str().find("2 Five percent: X*0.05 = 12.5\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("14 formulas, 5 with problems"), std::string::npos) << out.str();
}

std::string Evaluated(const std::string& expression, const char* locale_name) {
  std::ostringstream out;
  DisplayLocale locale;
  if (locale_name != nullptr) locale = RegionalSettings(locale_name);
  RunEvalCommand(expression, out, locale);
  return out.str();
}

// clang-format off
TEST(FormulaTesterTest, EvalShowsDatesAndCurrencyUnderTheNamedSettings) {
  const struct {
    const char* locale;  // nullptr: the host's own
    const char* expression;
    const char* shown;
  } cases[] = {
      {"en-US", "FormatCurrency(1234567.89)", "$1,234,567.89\n"},
      {"en-GB", "FormatCurrency(-5, 2, , True)", "(\u00A35.00)\n"},
      {"en-ZA", "FormatCurrency(1234.5)", "R1,234.50\n"},
      {"de-DE", "FormatCurrency(1234567.89)", "1,234,567.89 \u20AC\n"},  // numbers keep "." and ","
      {nullptr, "FormatCurrency(1234.5)", "R1,234.50\n"},
      // Each name's date order and separators, shown and read (the rules
      // for a given setting are the script engine's).
      {"en-US", "#1/31/2024#", "1/31/2024\n"}, {"en-GB", "#1/31/2024#", "31/01/2024\n"},
      {"en-ZA", "#1/31/2024#", "2024/01/31\n"}, {"de-DE", "#1/31/2024#", "31.01.2024\n"},
      {"en-US", "#1/31/2024 13:05#", "1/31/2024 1:05:00 PM\n"},
      {"en-US", "FormatDateTime(#1/31/2024#, vbLongDate)", "Wednesday, January 31, 2024\n"},
      {"en-GB", "FormatDateTime(#1/31/2024#, vbLongDate)", "31 January 2024\n"},
      {"de-DE", "FormatDateTime(#3/6/2024#, vbLongDate)", "Mittwoch, 6. M\u00E4rz 2024\n"},
      {"de-DE", "MonthName(3, True) & WeekdayName(1)", "M\u00E4rSonntag\n"},
      {nullptr, "Array(1, \"a\"\"b\", Null, Empty, Array())", "Array(1, \"a\"\"b\", Null, Empty, Array())\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.locale ? c.locale : "host") + ": " + c.expression);
    EXPECT_EQ(Evaluated(c.expression, c.locale), c.shown);
  }
  // The host's own settings come back after each command.
  EXPECT_EQ(vb::CStr(vb::Variant(vb::Date::FromYmd(2024, 1, 31))), "31/01/2024");
}
// clang-format on

TEST(FormulaTesterTest, FormulaTakesRegionalSettingsAnywhereOnTheLine) {
  EXPECT_EQ(RunTool({"formula", "--locale", "en-US", "X * Month(\"2/3/2024\")", "--x", "10"}).out,
            "20\n");
  EXPECT_EQ(RunTool({"formula", "X * Month(\"2/3/2024\")", "--x", "10", "--locale", "en-GB"}).out,
            "30\n");
  const ToolRun unknown = RunTool({"formula", "X", "--x", "1", "--locale", "fr-FR"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err, "kvt-host: --locale knows de-DE, en-GB, en-US, en-ZA, not \"fr-FR\"\n");
  EXPECT_EQ(RunTool({"formula", "X", "--x", "1", "--locale"}).status, 2);
  EXPECT_EQ(RunTool({"formula", "X", "Y", "--x", "1"}).status, 2);
  EXPECT_EQ(RunTool({"formula", "-X", "--x", "1"}).out, "-1\n");  // a formula may begin with "-"
  EXPECT_TRUE(RegionalSettings("EN-us").has_value());
}

}  // namespace
}  // namespace kvt::host
