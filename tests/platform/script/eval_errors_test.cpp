// Errors expressions raise, and the sandbox limits: every bad input ends
// in a vb::Error with the language's number, never a crash or a hang.
#include <gtest/gtest.h>

#include <pthread.h>

#include <string>

#include "platform/script/evaluator.h"
#include "platform/script/script_error.h"
#include "tests/platform/script/eval_test_util.h"
#include "tests/support/vb_error.h"

namespace kvt::script {
namespace {

struct ErrorCase {
  std::string expression;
  int32_t number;
};

void ExpectErrors(const std::vector<ErrorCase>& cases) {
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.expression.substr(0, 60));
    EXPECT_EQ(EvalShown(c.expression), "error " + std::to_string(c.number));
  }
}

// Number 0 when it raised nothing, which no check expects.
vb::Error ErrorOf(const std::string& expression) {
  return test_support::ErrorOf([&] { ScriptControl().Eval(expression); });
}

std::string Repeat(const std::string& part, size_t times) {
  std::string text;
  text.reserve(part.size() * times);
  for (size_t i = 0; i < times; ++i) text += part;
  return text;
}

// clang-format off
TEST(ScriptErrorsTest, MalformedTextRaisesCompilationErrors) {
  ExpectErrors({
      {"", err::kSyntaxError}, {"1 +", err::kSyntaxError},
      {"(1", err::kExpectedRParen}, {"Abs(1", err::kExpectedRParen},
      {"1)", err::kExpectedEndOfStatement}, {"1\n2", err::kExpectedEndOfStatement},
      {"a.", err::kExpectedIdentifier},
      {"1 % 2", err::kInvalidCharacter}, {"[a]", err::kInvalidCharacter},
      {"\"abc", err::kUnterminatedString},
      {"#1/1/2000", err::kInvalidCharacter},
      {"#13/1/2000#", err::kSyntaxError},  // no month 13: a date literal is month first
      {"#2/30/2000#", err::kSyntaxError},
      {"&O19", err::kInvalidNumber}, {"1e", err::kInvalidNumber},
      {"&H", err::kSyntaxError},  // "&" before the name H
      {"&H100000000", err::kInvalidNumber}, {"1.5e400", err::kInvalidNumber},
      {"100" + std::string(400, '0') + "e-50", err::kInvalidNumber},
      {std::string(256, 'a'), err::kIdentifierTooLong},
      // A syntax error wins over an earlier run-time error.
      {"1/0 +", err::kSyntaxError}, {"1/0 )", err::kExpectedEndOfStatement},
      {"Foo(1) + (2", err::kExpectedRParen},
      // A statement where an expression is expected: its keyword is reserved.
      {"Dim x", err::kSyntaxError}, {"1 + For", err::kSyntaxError},
      {"1 Then 2", err::kExpectedEndOfStatement}, {"Len(\"a\").Then", err::kExpectedIdentifier},
  });
}
// clang-format on

// clang-format off
TEST(ScriptErrorsTest, RunTimeErrorsCarryTheLanguagesNumbers) {
  using namespace vb::err;
  ExpectErrors({
      {"1/0", kDivisionByZero}, {"5\\0", kDivisionByZero},
      {"1/0 + \"a\"*1", kDivisionByZero},  // of two the first counts
      {"5 Mod 0.4", kDivisionByZero},       // 0.4 rounds to 0
      {"0/0", kOverflow}, {"1e308*10", kOverflow}, {"Exp(1000)", kOverflow},
      {"Round(CCur(\"922337203685477.5807\"))", kOverflow}, {"CLng(2147483648)", kOverflow},
      {"2147483648\\1", kOverflow}, {"CCur(922337203685477)+1000", kOverflow},
      {"\"a\"+1", kTypeMismatch}, {"Abs(\"x\")", kTypeMismatch}, {"1 And \"x\"", kTypeMismatch},
      {"\"abc\"=1", kTypeMismatch},
      {"Sqr(-1)", kInvalidCall}, {"Log(0)", kInvalidCall}, {"(-8)^(1/3)", kInvalidCall},
      {"0^-1", kInvalidCall}, {"Round(1.5, -1)", kInvalidCall}, {"Left(\"a\", -1)", kInvalidCall},
      {"Mid(\"a\", 0)", kInvalidCall}, {"String(-1, \"a\")", kInvalidCall},
      {"InStr(0, \"a\", \"a\")", kInvalidCall},
      {"CStr(Null)", kInvalidUseOfNull},
      {"Abs", kWrongArgumentCount}, {"Abs(1, 2)", kWrongArgumentCount},
      {"Abs(1,)", kWrongArgumentCount}, {"Left(\"a\")", kWrongArgumentCount},
      {"Mid(\"a\",,1)", err::kArgumentNotOptional},
      {"1 Is 1", kObjectRequired}, {"Nothing + 1", kObjectNotSet},
      {"\"\" & Nothing", kObjectNotSet}, {"Nothing & Null", kObjectNotSet},
      {"Space(2000000)", kOutOfMemory},
      {"Replace(String(600000, \"a\"), \"a\", \"aa\")", kOutOfMemory},
      // The sandbox offers no objects and no nested evaluation.
      {"CreateObject(\"WScript.Shell\")", kCantCreateObject},
      {"GetObject(\"x\")", kCantCreateObject},
      {"Eval(\"1\")", kTypeMismatch}, {"Execute(\"x = 1\")", kTypeMismatch},
      {"WScript.Echo", kObjectRequired},
  });
}
// clang-format on

// The strings one evaluation builds count together: growing a text step by
// step (each "&" copying the last result) stops at the budget however small
// each step is, and a single huge count fails before anything is built.
TEST(ScriptErrorsTest, StringsOfOneEvaluationShareOneBudget) {
  const std::string step = "Space(60000)";
  std::string chain = step;
  for (int i = 0; i < 20; ++i) chain += "&" + step;
  std::string nested = "String(1000, \"a\")";
  for (int i = 0; i < 12; ++i) nested = "Replace(" + nested + ", \"a\", \"aa\")";
  std::string lengths = "Len(Space(60000))";
  for (int i = 0; i < 20; ++i) lengths += " + Len(Space(60000))";
  ExpectErrors({
      {chain, vb::err::kOutOfMemory},
      {nested, vb::err::kOutOfMemory},
      {lengths, vb::err::kOutOfMemory},  // each string small, together too much
      {"String(2147483647, \"a\")", vb::err::kOutOfMemory},
      {"FormatNumber(1, 2147483647)", vb::err::kOutOfMemory},
  });
  // Each evaluation starts afresh, and a megabyte of text is within it.
  EXPECT_EQ(EvalShown("Len(Space(1000000))"), "Long:1000000");
  EXPECT_EQ(EvalShown("Len(Space(1000000))"), "Long:1000000");
}

TEST(ScriptErrorsTest, UndefinedNamesAreNotedOnceInTheOrderMet) {
  // Constants, built-ins called bare (Now) and member names are no
  // variables; the notes survive the error that the member access raises.
  EvaluationNotes notes;
  EXPECT_THROW(EvaluateExpression("y*2 + Abs(Z) + Y + vbSunday + Len(Now) + w.x", &notes),
               vb::Error);
  EXPECT_EQ(notes.undefined_names, (std::vector<std::string>{"y", "Z", "w"}));
}

TEST(ScriptErrorsTest, UnknownFunctionNamesItInTheContextNotTheDescription) {
  const vb::Error error = ErrorOf("1 + Foo(2)");
  EXPECT_EQ(error.number(), vb::err::kTypeMismatch);
  EXPECT_EQ(error.description(), "Type mismatch");
  EXPECT_EQ(error.context(), "Foo");
  EXPECT_EQ(error.source(), kRuntimeErrorSource);

  const vb::Error syntax = ErrorOf("(1 + 2");
  EXPECT_EQ(syntax.description(), "Expected ')'");
  EXPECT_EQ(syntax.source(), kCompileErrorSource);
  EXPECT_NE(syntax.context().find("position 6"), std::string::npos);
}

// Runs `expression` on a thread with a small stack and returns what
// EvalShown shows; a stack overflow would kill the test program.
std::string EvalOnSmallStack(const std::string& expression, size_t stack_bytes) {
  struct Job {
    std::string expression;
    std::string shown;
  } job{expression, {}};
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, stack_bytes);
  pthread_t thread;
  const int created = pthread_create(
      &thread, &attributes,
      [](void* data) -> void* {
        Job& running = *static_cast<Job*>(data);
        running.shown = EvalShown(running.expression);
        return nullptr;
      },
      &job);
  pthread_attr_destroy(&attributes);
  if (created != 0) return "thread not started";
  pthread_join(thread, nullptr);
  return job.shown;
}

// Deep nesting is refused with error 28 before the stack is at risk.
TEST(ScriptErrorsTest, NestingLimitFitsAHalfMegabyteStack) {
  // The costliest shapes per level, just inside the limit and far beyond.
  constexpr size_t kStack = 512 * 1024;
  const size_t inside = kMaxNestingDepth - 1;
  const struct {
    const char* open;
    const char* close;
    const char* inside_shown;
  } shapes[] = {
      // clang-format off
      {"Abs(", ")", "Integer:1"}, {"(", ")", "Integer:1"}, {"-", "", "Integer:-1"},
      {"Not ", "", "Integer:-2"},  // an odd count of Not
      {"(", "", "error 1006"},  // unclosed: a syntax error inside the limit
      {"x.y(", ")", "error 424"},
      // clang-format on
  };
  for (const auto& shape : shapes) {
    SCOPED_TRACE(std::string(shape.open) + "1" + shape.close);
    EXPECT_EQ(
        EvalOnSmallStack(Repeat(shape.open, inside) + "1" + Repeat(shape.close, inside), kStack),
        shape.inside_shown);
    EXPECT_EQ(
        EvalOnSmallStack(Repeat(shape.open, 10000) + "1" + Repeat(shape.close, 10000), kStack),
        "error 28");
  }
}

TEST(ScriptErrorsTest, OverlongExpressionIsRefusedAndLongOnesEvaluate) {
  ExpectErrors({{Repeat("1+", 512 * 1024) + "1", vb::err::kOutOfMemory}});
  // Just under the limit a flat sum evaluates in one pass.
  const size_t terms = (kMaxExpressionLength - 1) / 2;
  EXPECT_EQ(EvalShown(Repeat("1+", terms) + "1"), "Long:" + std::to_string(terms + 1));
}

}  // namespace
}  // namespace kvt::script
