// Values that expressions produce: precedence, literals, comparisons and
// the logical operators (each operator's subtype: result_types_test).
#include <gtest/gtest.h>

#include "tests/platform/script/eval_test_util.h"

namespace kvt::script {
namespace {

// clang-format off
TEST(ScriptEvalTest, OperatorsBindInTheLanguagesOrder) {
  ExpectAll({
      {"2+3*4", "Integer:14"}, {"10-2-3", "Integer:5"}, {"6/2*3", "Double:9"},
      {"-2^2", "Double:4"},  // negation binds tighter than the exponent
      {"2*-3^2", "Double:18"}, {"2^-1", "Double:0.5"},
      {"2^3^2", "Double:64"},       // left to right
      {"10\\2*3", "Integer:1"},     // "\" is looser than "*"
      {"7 Mod 3\\2", "Integer:0"},  // Mod is looser than "\"
      {"1+7 Mod 3", "Integer:2"},   // and tighter than "+"
      {"\"a\" & 1+2", "String:a3"}, {"1+1=2", "Boolean:True"},
      {"Not 1=2", "Boolean:True"},  // Not takes the whole comparison
      {"Not 0 And 0", "Integer:0"}, {"1 + Not 0", "Integer:0"},
      {"True Or False And False", "Boolean:True"}, {"True Xor True Or True", "Boolean:False"},
      {"False Eqv False Xor True", "Boolean:False"}, {"True Imp False Eqv False", "Boolean:True"},
  });
}
// clang-format on

// clang-format off
TEST(ScriptEvalTest, LiteralsTakeTheirSubtype) {
  ExpectAll({
      {"32767", "Integer:32767"}, {"32768", "Long:32768"}, {"2147483648", "Double:2147483648"},
      {".5", "Double:0.5"}, {"1E3", "Double:1000"},
      {"&hFFFF", "Integer:-1"}, {"&HFFFF&", "Long:65535"}, {"&H10000", "Long:65536"},
      {"&HFFFFFFFF", "Integer:-1"},  // the value fits 16 bits
      {"&HFFFFFFFE&", "Integer:-2"}, {"&O177777", "Integer:-1"},
      {"&H01Or&H02", "Integer:3"},  // a keyword straight after a hex literal
      {"\"x\" &hi", "String:x"},    // "&" and the variable hi, no literal
      {"#1/31/2024#", "Date:31/01/2024"},  // month first, whatever the locale
      {"# 2024-01-31 10:30 PM #", "Date:31/01/2024 22:30:00"},
      {"#10:30#", "Date:30/12/1899 10:30:00"}, {"\"say \"\"hi\"\"\"", "String:say \"hi\""},
      {"undeclared_name", "Empty:"}, {"  1 ' a comment", "Integer:1"},
  });
}
// clang-format on

// clang-format off
TEST(ScriptEvalTest, ComparisonsFollowSubtypeAndLiteralRules) {
  ExpectAll({
      {"1<>1", "Boolean:False"}, {"2<=2", "Boolean:True"}, {"3>=4", "Boolean:False"},
      {"2 => 1", "Boolean:True"}, {"2 =< 1", "Boolean:False"}, {"2 >< 1", "Boolean:True"},
      {"CCur(1.5)=1.5", "Boolean:True"}, {"True=-1", "Boolean:True"},
      {"\"a\"<\"B\"", "Boolean:False"},     // binary comparison
      {"\"10\">9", "Boolean:True"},         // a number literal reads the text as a number
      {"CInt(9)<\"10\"", "Boolean:False"},  // a text literal shows the number as text
      {"CInt(5)<CStr(5)", "Boolean:True"},  // otherwise a number is below any text
      {"CStr(5)>CInt(5)", "Boolean:True"},
      {"\"true\" <> True", "Boolean:True"},  // a Boolean meets text as text
      {"1 = 1 < 0", "Boolean:True"},        // left to right: True < 0
      {"#1/2/2000# > #1/1/2000#", "Boolean:True"}, {"Empty=0", "Boolean:True"},
      {"Empty=\"\"", "Boolean:True"}, {"1<Null", "Null"}, {"Nothing Is Nothing", "Boolean:True"},
  });
}
// clang-format on

// clang-format off
TEST(ScriptEvalTest, LogicalOperatorsAreBitwiseWithNullRules) {
  ExpectAll({
      {"True And False", "Boolean:False"}, {"Not 0", "Integer:-1"}, {"Not CByte(0)", "Byte:255"},
      {"12 And 10", "Integer:8"}, {"12 Or 3", "Integer:15"}, {"12 Xor 10", "Integer:6"},
      {"5 Eqv 3", "Integer:-7"}, {"0 Imp 0", "Integer:-1"}, {"2.5 And 3", "Long:2"},
      {"70000 And 1", "Long:0"},
      {"Null And True", "Null"}, {"Null Or True", "Boolean:True"},
      {"Null Or False", "Null"}, {"Null Xor True", "Null"}, {"False Imp Null", "Boolean:True"},
      {"True Imp Null", "Null"}, {"Not Null", "Null"},
  });
}
// clang-format on

// Formulas arrive in any case: keywords, constants and interval letters
// ignore it (upper-cased function and variable names: the discount formula
// and formula tool tests).
TEST(ScriptEvalTest, DiscountFormulasAsTheyReachTheEngine) {
  ExpectAll({
      {"TRUE AND NOT FALSE", "Boolean:True"},
      {"DATEADD(\"D\", 1, #1/1/2024#) - DATE < 1E6", "Boolean:True"},
      {"VBTRUE & VBTAB & VBSUNDAY", "String:-1\t1"},
  });
}

}  // namespace
}  // namespace kvt::script
