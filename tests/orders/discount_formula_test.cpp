// Discount formulas: expansion of X, V1..Vn and line breaks, the result as
// currency, and the failures that leave the answer untouched.
#include "orders/discount_formula.h"

#include <gtest/gtest.h>

#include <sstream>

#include "apps/kvt-host/formula_tester.h"
#include "platform/script/evaluator.h"
#include "tests/support/vb_error.h"

namespace kvt::orders {
namespace {

using vb::Currency;

struct Outcome {
  bool evaluated;
  Currency answer;
  std::string expanded;
};

// Evaluates with an answer preset to 99 so an untouched answer shows.
Outcome EvaluateWith(std::string formula, const std::string& value = "250",
                     const std::string& parameters = "") {
  script::ScriptControl msMain;
  Currency answer = Currency::FromInt(99);
  const bool evaluated = EvaluateFormula(msMain, answer, value, parameters, formula);
  return {evaluated, answer, formula};
}

TEST(DiscountFormulaTest, EvaluatesAndRewritesTheFormulaInPlace) {
  struct Case {
    const char* formula;
    const char* value;
    const char* parameters;
    const char* expanded;
    int64_t answer_raw;
  };
  const Case cases[] = {
      {"X*0.05", "250", "", "250*0.05", 125000},
      // Letters are case-insensitive, and the text is upper-cased.
      {"round(x*0.025, 2)", "1250.5", "", "ROUND(1250.5*0.025, 2)", 312600},
      {"X *\r\n0.1", "250", "", "250 * 0.1", 250000},  // a line break is a blank
      {"X*V1/100", "250", " 5 ", "250*5/100", 125000},
      {"X*V1/100+V2", "250", "5,1.5", "250*5/100+1.5", 140000},
      {"X/3", "1", "", "1/3", 3333},            // to currency, nearest ten-thousandth
      {"X*V1", "250", "", "250*V1", 0},         // no parameters: V1 stays, reads as Empty
      {"X>100", "250", "", "250>100", -10000},  // True is -1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.formula);
    const Outcome outcome = EvaluateWith(c.formula, c.value, c.parameters);
    EXPECT_TRUE(outcome.evaluated);
    EXPECT_EQ(outcome.expanded, c.expanded);
    EXPECT_EQ(outcome.answer.raw(), c.answer_raw);
  }
}

TEST(DiscountFormulaTest, FailuresKeepTheAnswerAndThePartialRewrite) {
  struct Case {
    const char* formula;
    const char* parameters;
    const char* expanded;
  };
  const Case cases[] = {
      // X inside a name is replaced too, and the name no longer parses.
      {"EXP(0)*X", "", "E250P(0)*250"},
      {"X/0", "", "250/0"},
      {"\"abc\"", "", "\"ABC\""},
      {"NULL", "", "NULL"},
      {"X*1E15", "", "250*1E15"},  // beyond the currency range
      // A parameter that is no number stops before its V is replaced.
      {"x*V1+V2", "2,abc", "250*2+V2"},
      {"X*V1", "1,,2", "250*1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.formula);
    const Outcome outcome = EvaluateWith(c.formula, "250", c.parameters);
    EXPECT_FALSE(outcome.evaluated);
    EXPECT_EQ(outcome.answer, Currency::FromInt(99));
    EXPECT_EQ(outcome.expanded, c.expanded);
  }
}

TEST(DiscountFormulaTest, AFormulaBeyondTheEnginesLengthIsRefusedBeforeItIsExpanded) {
  // 5 MB of "x+": expanded, 25 MB; the engine would refuse either.
  std::string huge;
  for (int i = 0; i < 2500000; ++i) huge += "x+";
  const std::string stored = huge;
  EXPECT_EQ(test_support::ErrorNumberOf(
                [&] { ExpandAndEvaluateFormula(script::ScriptControl(), "1234.5678", "", huge); }),
            vb::err::kOutOfMemory);
  EXPECT_EQ(huge, stored);  // not upper-cased, not expanded
  // Short enough as typed, too long once X is replaced: refused as it grows.
  std::string growing(script::kMaxExpressionLength / 2, 'X');
  EXPECT_EQ(test_support::ErrorNumberOf([&] {
              ExpandAndEvaluateFormula(script::ScriptControl(), "1234.5678", "", growing);
            }),
            vb::err::kOutOfMemory);
}

TEST(DiscountFormulaTest, NonNumericParameterRaisesObjectErrorThousand) {
  std::string formula = "X*V1";
  EXPECT_EQ(test_support::ErrorNumberOf(
                [&] { ExpandAndEvaluateFormula(script::ScriptControl(), "250", "five", formula); }),
            static_cast<int32_t>(0x800403E8u));
}

// What a value prints as is the tool's tests'; here, Null and a failure.
TEST(FormulaTesterTest, PrintsOneLinePerCommand) {
  struct Case {
    bool formula;
    const char* text;
    const char* printed;
    int code;
  };
  const Case cases[] = {
      {false, "Null", "Null\n", 0},
      {false, "1/0", "error 11: Division by zero\n", 1},
      {true, "X*", "error 1002: Syntax error\n", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::ostringstream out;
    std::ostringstream notes;
    const int code = c.formula ? host::RunFormulaCommand(c.text, 250, out, notes)
                               : host::RunEvalCommand(c.text, out);
    EXPECT_EQ(out.str(), c.printed);
    EXPECT_EQ(code, c.code);
  }
}

}  // namespace
}  // namespace kvt::orders
