// Arrays as values of an expression: made by Array, Split and Filter,
// read by subscripts, UBound, LBound and Join, refused by the operators
// and conversions, and charged to the evaluation's budget.
#include <gtest/gtest.h>

#include <string>

#include "tests/platform/script/eval_test_util.h"

namespace kvt::script {
namespace {

// clang-format off
TEST(ArrayFunctionsTest, ArrayMakesAZeroBasedArrayOfItsArguments) {
  ExpectAll({
      {"Array(1, \"a\", Null)", "Variant(Integer:1, String:a, Null)"},
      {"Array()", "Variant()"}, {"Array", "Variant()"},
      {"IsArray(Array())", "Boolean:True"}, {"IsArray(\"a\")", "Boolean:False"},
      {"IsArray(Null)", "Boolean:False"},
      {"UBound(Array())", "Long:-1"}, {"LBound(Array())", "Long:0"},
      {"UBound(Array(1, 2, 3))", "Long:2"}, {"UBound(Array(1, 2), 1)", "Long:1"},
      {"UBound(Array(1), 2)", "error 9"}, {"LBound(Array(1), 0)", "error 9"},
      {"UBound(\"abc\")", "error 13"}, {"UBound(Null)", "error 13"},
      {"Array(1, , 2)", "error 449"},
      // More arguments than any other built-in takes.
      {"UBound(Array(1, 2, 3, 4, 5, 6, 7, 8, 9, 10))", "Long:9"},
      {"IsEmpty(Array())", "Boolean:False"}, {"IsNumeric(Array(1))", "Boolean:False"},
      {"IsObject(Array())", "Boolean:False"}, {"IsNull(Array())", "Boolean:False"},
  });
}
// clang-format on

// clang-format off
TEST(ArrayFunctionsTest, SubscriptsReadACallsResult) {
  ExpectAll({
      {"Array(10, 20, 30)(1)", "Integer:20"}, {"Array(10, 20, 30)(1.5)", "Integer:30"},
      {"Array(10, 20, 30)(\"2\")", "Integer:30"}, {"Array(Array(1, 2), 3)(0)(1)", "Integer:2"},
      {"Split(\"a,b,c\", \",\")(2) & \"!\"", "String:c!"},
      {"Array(10, 20, 30)(3)", "error 9"}, {"Array(10, 20, 30)(-1)", "error 9"},
      {"Array()(0)", "error 9"}, {"Array(1, 2)(0, 0)", "error 9"},
      {"Array(1, 2)(Null)", "error 94"}, {"Array(1, 2)(\"x\")", "error 13"},
      {"Len(\"abc\")(0)", "error 13"},
      // A syntax error later in the text still wins over the run-time one.
      {"Array(1)(5) +", "error 1002"},
  });
}
// clang-format on

// clang-format off
TEST(ArrayFunctionsTest, OperatorsAndConversionsRefuseArrays) {
  ExpectAll({
      {"Array(1) + 1", "error 13"}, {"Array(1) & \"\"", "error 13"}, {"-Array(1)", "error 13"},
      {"Array(1) = Array(1)", "error 13"}, {"Not Array(1)", "error 13"},
      {"Array(1) And 1", "error 13"}, {"CStr(Array(1))", "error 13"},
      {"CDbl(Array(1))", "error 13"}, {"Len(Array(1))", "error 13"},
      {"Array(1) Is Nothing", "error 424"},
  });
}
// clang-format on

// clang-format off
TEST(ArrayFunctionsTest, JoinShowsTheElementsBetweenDelimiters) {
  ExpectAll({
      {"Join(Array(\"a\", \"b\", \"c\"))", "String:a b c"},  // a blank by default
      {"Join(Array(\"a\", \"b\"), \"\")", "String:ab"}, {"Join(Array(1, 2.5, True), \", \")", "String:1, 2.5, True"},
      {"Join(Array())", "String:"}, {"Join(Array(\"x\"), \"-\")", "String:x"},
      {"Join(Array(Empty, \"a\"), \"-\")", "String:-a"},
      {"Join(Array(\"a\", Null), \"-\")", "error 94"}, {"Join(Array(\"a\"), Null)", "error 94"},
      {"Join(Null)", "error 13"}, {"Join(\"abc\")", "error 13"},
      {"Join(Array(Array(1)))", "error 13"}, {"Join(Array(Nothing))", "error 13"},
      {"Join(Split(\"a b  c\"), \"|\")", "String:a|b||c"},
  });
}
// clang-format on

// clang-format off
TEST(ArrayFunctionsTest, SplitCutsTextAtEachDelimiter) {
  ExpectAll({
      {"Split(\"a b c\")", "Variant(String:a, String:b, String:c)"},
      {"Split(\"a,,b\", \",\")", "Variant(String:a, String:, String:b)"},
      {"Split(\",a,\", \",\")", "Variant(String:, String:a, String:)"},
      {"Split(\"\")", "Variant()"}, {"UBound(Split(\"\"))", "Long:-1"},
      {"Split(\"abc\", \"\")", "Variant(String:abc)"},
      {"Split(\"a-b-c-d\", \"-\", 2)", "Variant(String:a, String:b-c-d)"},
      {"Split(\"a-b\", \"-\", 0)", "Variant()"}, {"Split(\"a-b\", \"-\", -1)", "Variant(String:a, String:b)"},
      {"Split(\"a-b\", \"-\", -2)", "error 5"},
      {"Split(\"aXbxc\", \"x\")", "Variant(String:aXb, String:c)"},
      {"Split(\"aXbxc\", \"x\", -1, vbTextCompare)", "Variant(String:a, String:b, String:c)"},
      {"Split(\"a::b::\", \"::\")", "Variant(String:a, String:b, String:)"},
      {"Split(12.5, \".\")", "Variant(String:12, String:5)"},
      {"Split(Null)", "error 94"}, {"Split(\"a\", Null)", "error 94"},
      {"Split(\"a\", \",\", 1, 2)", "error 5"},
  });
}
// clang-format on

// clang-format off
TEST(ArrayFunctionsTest, FilterKeepsTheElementsThatContainTheValue) {
  ExpectAll({
      {"Filter(Array(\"Sunday\", \"Monday\", \"Saturday\"), \"S\")", "Variant(String:Sunday, String:Saturday)"},
      {"Filter(Array(\"Sunday\", \"Monday\", \"Saturday\"), \"S\", False)", "Variant(String:Monday)"},
      {"Filter(Array(\"Sunday\", \"Tuesday\"), \"s\", True, vbTextCompare)", "Variant(String:Sunday, String:Tuesday)"},
      {"Filter(Array(\"Sunday\", \"Tuesday\"), \"SUN\")", "Variant()"},
      {"Filter(Array(12, 34, 15), 1)", "Variant(String:12, String:15)"},  // elements as text
      {"Filter(Array(\"a\", \"b\"), \"\")", "Variant(String:a, String:b)"},
      {"UBound(Filter(Array(\"a\"), \"z\"))", "Long:-1"},
      {"Filter(Null, \"a\")", "error 13"}, {"Filter(\"abc\", \"a\")", "error 13"},
      {"Filter(Array(\"a\"), Null)", "error 94"}, {"Filter(Array(Null), \"a\")", "error 94"},
      {"Filter(Array(\"a\"), \"a\", Null)", "error 94"},
  });
}
// clang-format on

TEST(ArrayFunctionsTest, ArraysAreChargedToTheEvaluationsBudget) {
  // Each piece of a split costs its element as well as its text, so
  // splitting a long text into single characters runs out of memory long
  // before the text itself would.
  const std::string text(60000, 'x');
  EXPECT_EQ(EvalShown("UBound(Split(\"" + text + "\", \"\"))"), "Long:0");
  EXPECT_EQ(EvalShown("UBound(Split(String(60000, \"x\") & \"\", \"x\"))"), "error 7");
  // Filter charges what it keeps.
  EXPECT_EQ(EvalShown("UBound(Filter(Split(String(30000, \"x\"), \"\", -1), \"x\"))"), "Long:0");
  // A call of Array that would hold more elements than the budget stops
  // reading them instead of growing past it.
  std::string many = "Array(1";
  for (int i = 0; i < 30000; ++i) many += ",1";
  EXPECT_EQ(EvalShown(many + ")"), "error 7");
}

}  // namespace
}  // namespace kvt::script
