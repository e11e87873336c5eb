// The formula tester: notes for undefined names and a missing --x, and the
// check of a database's formulas, which fails on every kind of problem.
#include "apps/kvt-host/formula_tester.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/data/connection.h"
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
  EXPECT_EQ(RunTool({"formula", "x", "--x", "1e999"}).status, 2);
  EXPECT_EQ(RunTool({"formula", "x", "--x"}).status, 2);
}

TEST(FormulaTesterTest, DemoFormulasPassTheCheck) {
  test_support::TempDemoDatabase db("formula_check_demo");
  const ToolRun run = RunTool({"formula", "--check", "--db", db.Path()});
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("2 Five percent: X*0.05 = 50\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("9 formulas, 0 with problems"), std::string::npos) << run.out;
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
  EXPECT_NE(out.str().find("14 formulas, 5 with problems"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace kvt::host
