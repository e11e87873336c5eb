// Values and subtypes that expressions produce: precedence, each
// operator's type rules, banker's rounding, Empty and Null, built-ins.
#include <gtest/gtest.h>

#include "tests/platform/script/eval_test_util.h"

namespace kvt::script {
namespace {

TEST(ScriptEvalTest, OperatorsBindInTheLanguagesOrder) {
  ExpectAll({
      {"2+3*4", "Integer:14"},
      {"(2+3)*4", "Integer:20"},
      {"-2^2", "Double:4"},  // negation binds tighter than the exponent
      {"2*-3^2", "Double:18"},
      {"2^-1", "Double:0.5"},
      {"2^3^2", "Double:64"},  // left to right
      {"10-2-3", "Integer:5"},
      {"2*3\\4", "Integer:1"},  // "\" is looser than "*"
      {"10\\2*3", "Integer:1"},
      {"7 Mod 3\\2", "Integer:0"},  // Mod is looser than "\"
      {"1+7 Mod 3", "Integer:2"},   // and tighter than "+"
      {"\"a\" & 1+2", "String:a3"},
      {"1+1=2", "Boolean:True"},
      {"Not 1=2", "Boolean:True"},  // Not takes the whole comparison
      {"Not 0 And 0", "Integer:0"},
      {"1 + Not 0", "Integer:0"},
      {"True Or False And False", "Boolean:True"},
      {"True Xor True Or True", "Boolean:False"},
      {"False Eqv False Xor True", "Boolean:False"},
      {"True Imp False Eqv False", "Boolean:True"},
      {"-3^2", "Double:9"},
      {"2^-1", "Double:0.5"},
      {"2*-3", "Integer:-6"},
      {"1 - -1", "Integer:2"},
      {"6/2*3", "Double:9"},
  });
}

TEST(ScriptEvalTest, LiteralsTakeTheirSubtype) {
  ExpectAll({
      {"32767", "Integer:32767"},
      {"32768", "Long:32768"},
      {"2147483648", "Double:2147483648"},
      {"1.5", "Double:1.5"},
      {".5", "Double:0.5"},
      {"1E3", "Double:1000"},
      {"1.5e-3", "Double:0.0015"},
      {"&HFF", "Integer:255"},
      {"&hFFFF", "Integer:-1"},
      {"&HFFFF&", "Long:65535"},
      {"&H10000", "Long:65536"},
      {"&HFFFFFFFF", "Integer:-1"},  // the value fits 16 bits
      {"&HFFFE&", "Long:65534"},
      {"&HFFFFFFFE&", "Integer:-2"},
      {"&O17", "Integer:15"},
      {"&O177777", "Integer:-1"},
      {"&H01Or&H02", "Integer:3"},  // a keyword straight after a hex literal
      {"\"x\" &hi", "String:x"},    // "&" and the variable hi, no literal
      {"#1/31/2024#", "Date:31/01/2024"},  // month first, whatever the locale
      {"# 2024-01-31 10:30 PM #", "Date:31/01/2024 22:30:00"},
      {"#10:30#", "Date:30/12/1899 10:30:00"},
      {"\"say \"\"hi\"\"\"", "String:say \"hi\""},
      {"True", "Boolean:True"},
      {"Empty", "Empty:"},
      {"Null", "Null"},
      {"Nothing", "Nothing"},
      {"undeclared_name", "Empty:"},
      {"  1 ' a comment", "Integer:1"},
  });
}

TEST(ScriptEvalTest, ArithmeticWidensInsteadOfOverflowing) {
  ExpectAll({
      {"32767+1", "Long:32768"},
      {"-32768-1", "Long:-32769"},
      {"2147483647+1", "Double:2147483648"},
      {"200*200", "Long:40000"},
      {"65536*65536", "Double:4294967296"},
      {"-CInt(-32768)", "Long:32768"},
      {"-(-2147483647-1)", "Double:2147483648"},
      {"CByte(200)+CByte(55)", "Byte:255"},
      {"CByte(200)+CByte(56)", "Integer:256"},
      {"CByte(1)-CByte(2)", "Integer:-1"},
      {"CSng(1.5)+CSng(1)", "Single:2.5"},
      {"CSng(1)+CLng(1)", "Double:2"},  // Single with Long is a Double
      {"CCur(1.5)+1", "Currency:2.5"},
      {"CCur(0.1)*3", "Currency:0.3"},
      {"CCur(1)/4", "Double:0.25"},
      {"1/2", "Double:0.5"},
      {"6/3", "Double:2"},
      {"0.1+0.2", "Double:0.3"},
      {"4^0.5", "Double:2"},
      {"-True", "Integer:1"},
      {"#1/1/2000# + 1", "Date:02/01/2000"},
      {"1 + #1/1/2000#", "Date:02/01/2000"},
      {"#1/1/2000# - 0.5", "Date:31/12/1999 12:00:00"},
      {"#1/2/2000# - #1/1/2000#", "Double:1"},
      {"#1/1/2000# * 1", "Double:36526"},
      {"#12/31/9999# + 1", "error 6"},
  });
}

TEST(ScriptEvalTest, TextAndEmptyMeetNumbersByTheirRules) {
  ExpectAll({
      {"\"1\"+1", "Double:2"},
      {"\"1\"+\"1\"", "String:11"},
      {"\"2\"*\"3\"", "Double:6"},
      {"-\"2\"", "Double:-2"},
      {"\"a\"+Empty", "String:a"},
      {"Empty+Empty", "Integer:0"},
      {"Empty+1.5", "Double:1.5"},
      {"True+True", "Integer:-2"},
      {"\"a\" & 1", "String:a1"},
      {"1 & 2", "String:12"},
      {"1.5 & \"\"", "String:1.5"},
      {"True & \"\"", "String:True"},
      {"Empty & \"x\"", "String:x"},
      {"Null & \"a\"", "String:a"},
      {"Null & Null", "Null"},
  });
}

TEST(ScriptEvalTest, IntegerDivisionAndModRoundOperandsToEven) {
  ExpectAll({
      {"5\\2", "Integer:2"},
      {"-7\\2", "Integer:-3"},
      {"5.5\\2", "Long:3"},  // 5.5 -> 6
      {"4.5\\1", "Long:4"},  // 4.5 -> 4
      {"7 Mod 2.5", "Long:1"},  // 2.5 -> 2
      {"7.5 Mod 2", "Long:0"},  // 7.5 -> 8
      {"-7 Mod 3", "Integer:-1"},  // sign of the dividend
      {"7 Mod -3", "Integer:1"},
      {"\"7\" Mod 4", "Long:3"},
      {"CByte(7)\\CByte(2)", "Byte:3"},
      {"-32768\\-1", "Long:32768"},
  });
}

TEST(ScriptEvalTest, ComparisonsFollowSubtypeAndLiteralRules) {
  ExpectAll({
      {"1=1", "Boolean:True"},
      {"1<>1", "Boolean:False"},
      {"2<=2", "Boolean:True"},
      {"3>=4", "Boolean:False"},
      {"1=1.0", "Boolean:True"},
      {"CCur(1.5)=1.5", "Boolean:True"},
      {"True=-1", "Boolean:True"},
      {"\"abc\"<\"abd\"", "Boolean:True"},
      {"\"a\"<\"B\"", "Boolean:False"},  // binary comparison
      {"\"10\">9", "Boolean:True"},       // a number literal reads the text as a number
      {"CStr(5)=5", "Boolean:True"},
      {"CInt(9)<\"10\"", "Boolean:False"},  // a text literal shows the number as text
      {"CInt(5)<CStr(5)", "Boolean:True"},  // otherwise a number is below any text
      {"CStr(5)=CInt(5)", "Boolean:False"},
      {"\"\" = True = False", "Boolean:True"},  // a Boolean meets text as text
      {"\"true\" <> True", "Boolean:True"},
      {"2 => 1", "Boolean:True"},
      {"2 =< 1", "Boolean:False"},
      {"2 >< 1", "Boolean:True"},
      {"1 = 1 < 0", "Boolean:True"},  // left to right: True < 0
      {"#1/2/2000# > #1/1/2000#", "Boolean:True"},
      {"Empty=0", "Boolean:True"},
      {"Empty=\"\"", "Boolean:True"},
      {"Null=Null", "Null"},
      {"1<Null", "Null"},
      {"Nothing Is Nothing", "Boolean:True"},
  });
}

TEST(ScriptEvalTest, LogicalOperatorsAreBitwiseWithNullRules) {
  ExpectAll({
      {"True And False", "Boolean:False"},
      {"Not True", "Boolean:False"},
      {"Not 0", "Integer:-1"},
      {"Not CByte(0)", "Byte:255"},
      {"12 And 10", "Integer:8"},
      {"12 Or 3", "Integer:15"},
      {"12 Xor 10", "Integer:6"},
      {"5 Eqv 3", "Integer:-7"},
      {"0 Imp 0", "Integer:-1"},
      {"True Imp False", "Boolean:False"},
      {"2.5 And 3", "Long:2"},
      {"70000 And 1", "Long:0"},
      {"\"True\" And True", "Boolean:True"},
      {"Null And False", "Boolean:False"},
      {"Null And 0", "Integer:0"},
      {"Null And True", "Null"},
      {"Null Or True", "Boolean:True"},
      {"Null Or False", "Null"},
      {"Null Xor True", "Null"},
      {"False Imp Null", "Boolean:True"},
      {"True Imp Null", "Null"},
      {"Null Imp True", "Boolean:True"},
      {"Not Null", "Null"},
  });
}

TEST(ScriptEvalTest, NullPropagatesThroughArithmetic) {
  ExpectAll({
      {"Null+1", "Null"},
      {"Null*0", "Null"},
      {"-Null", "Null"},
      {"Null\\0", "Null"},
      {"Null/0", "Null"},
      {"Null^2", "Null"},
      {"Len(Null)", "Null"},
      {"IsNull(Null)", "Boolean:True"},
      {"IsEmpty(x)", "Boolean:True"},
      {"IsEmpty(Null)", "Boolean:False"},
  });
}

TEST(ScriptEvalTest, RoundingFunctionsRoundHalfToEven) {
  // Round works on the double: 2.675 is held as 2.67499999..., which is
  // no tie, so it rounds down; 0.125 is held exactly and goes to even.
  ExpectAll({
      {"Round(2.5)", "Double:2"},
      {"Round(3.5)", "Double:4"},
      {"Round(-2.5)", "Double:-2"},
      {"Round(0.125, 2)", "Double:0.12"},
      {"Round(2.675, 2)", "Double:2.67"},
      {"Round(CCur(2.345), 2)", "Currency:2.34"},
      {"Round(CCur(2.355), 2)", "Currency:2.36"},
      {"Round(7)", "Integer:7"},
      {"CInt(2.5)", "Integer:2"},
      {"CInt(3.5)", "Integer:4"},
      {"CInt(-2.5)", "Integer:-2"},
      {"CLng(2.5)", "Long:2"},
      {"Int(-2.5)", "Double:-3"},
      {"Fix(-2.5)", "Double:-2"},
      {"Int(2.7)", "Double:2"},
      {"Int(7)", "Integer:7"},
      {"Int(CCur(-2.5))", "Currency:-3"},
      {"Fix(CCur(-2.5))", "Currency:-2"},
  });
}

TEST(ScriptEvalTest, NumericFunctions) {
  ExpectAll({
      {"Abs(-5)", "Integer:5"},
      {"Abs(-2.5)", "Double:2.5"},
      {"Abs(CInt(-32768))", "Long:32768"},
      {"Abs(\"-3\")", "Double:3"},
      {"Abs(Null)", "Null"},
      {"Atn(1)*4", "Double:3.14159265358979"},
      {"Cos(0)", "Double:1"},
      {"Sin(0)", "Double:0"},
      {"Tan(0)", "Double:0"},
      {"Exp(0)", "Double:1"},
      {"Log(Exp(2))", "Double:2"},
      {"Sqr(16)", "Double:4"},
      {"Sgn(-3.2)", "Integer:-1"},
      {"Sgn(0)", "Integer:0"},
      {"Sgn(CCur(5))", "Integer:1"},
      {"Hex(255)", "String:FF"},
      {"Hex(-1)", "String:FFFF"},
      {"Hex(-1.0)", "String:FFFFFFFF"},
      {"Hex(65535)", "String:FFFF"},
      {"Hex(Empty)", "String:0"},
      {"Hex(Null)", "Null"},
      {"Oct(8)", "String:10"},
  });
}

TEST(ScriptEvalTest, ConversionFunctions) {
  ExpectAll({
      {"CBool(1)", "Boolean:True"},
      {"CBool(\"False\")", "Boolean:False"},
      {"CByte(255)", "Byte:255"},
      {"CCur(\"1.23456\")", "Currency:1.2346"},
      {"CDbl(\"1.5\")", "Double:1.5"},
      {"CLng(\"1,234\")", "Long:1234"},
      {"CSng(1.5)", "Single:1.5"},
      {"CStr(1.5)", "String:1.5"},
      {"CStr(True)", "String:True"},
      {"IsNumeric(\"12.5\")", "Boolean:True"},
      {"IsNumeric(\"12abc\")", "Boolean:False"},
      {"IsNumeric(Null)", "Boolean:False"},
  });
}

TEST(ScriptEvalTest, StringFunctions) {
  ExpectAll({
      {"Len(\"abc\")", "Long:3"},
      {"Len(123)", "Long:3"},
      {"Len(Empty)", "Long:0"},
      {"Left(\"abcdef\", 2)", "String:ab"},
      {"Left(\"ab\", 5)", "String:ab"},
      {"Left(Null, 1)", "Null"},
      {"Right(\"abcdef\", 2)", "String:ef"},
      {"Mid(\"abcdef\", 2, 3)", "String:bcd"},
      {"Mid(\"abcdef\", 5)", "String:ef"},
      {"Mid(\"abc\", 5)", "String:"},
      {"UCase(\"aBc\")", "String:ABC"},
      {"LCase(\"aBc\")", "String:abc"},
      {"Trim(\"  a b  \")", "String:a b"},
      {"LTrim(\"  a \")", "String:a "},
      {"RTrim(\" a  \")", "String: a"},
      {"InStr(\"abcabc\", \"c\")", "Long:3"},
      {"InStr(4, \"abcabc\", \"c\")", "Long:6"},
      {"InStr(\"abc\", \"\")", "Long:1"},
      {"InStr(\"abc\", \"C\")", "Long:0"},
      {"InStr(1, \"abc\", \"C\", 1)", "Long:3"},
      {"InStr(9, \"abc\", \"a\")", "Long:0"},
      {"InStr(\"abc\", Null)", "Null"},
      {"Replace(\"a-b-c\", \"-\", \"+\")", "String:a+b+c"},
      {"Replace(\"a-b-c\", \"-\", \"\", 1, 1)", "String:ab-c"},
      {"Replace(\"a-b-c\", \"-\", \"+\", 3)", "String:b+c"},
      {"Replace(\"aAa\", \"a\", \"x\", 1, -1, 1)", "String:xxx"},
      {"Replace(\"abc\", \"\", \"x\")", "String:abc"},
      {"Space(3) & \"|\"", "String:   |"},
      {"String(3, \"xy\")", "String:xxx"},
      {"String(2, 65)", "String:AA"},
      {"String(2, 321)", "String:AA"},
  });
}

// Formulas arrive in any case: names and keywords ignore it.
TEST(ScriptEvalTest, DiscountFormulasAsTheyReachTheEngine) {
  ExpectAll({
      {"1250.5*0.05", "Double:62.525"},
      {"ROUND(1250.5*0.025, 2)", "Double:31.26"},
      {"INT(12500/1000)*10", "Double:120"},
      {"aBs(-1)", "Integer:1"},
      {"TRUE AND NOT FALSE", "Boolean:True"},
      {"7 mod 4", "Integer:3"},
      {"(250>100)*-10", "Integer:10"},
      {"IIF_LIKE + 250 * 0.1", "Double:25"},
      {"DATEADD(\"D\", 1, #1/1/2024#) - DATE < 1E6", "Boolean:True"},
      {"VBTRUE & VBTAB & VBSUNDAY", "String:-1\t1"},  // constants in any case
  });
}

TEST(ScriptControlTest, LanguageIsVBScriptOnly) {
  ScriptControl control;
  EXPECT_EQ(control.Language(), "VBScript");
  control.Language("vbscript");
  EXPECT_EQ(control.Language(), "VBScript");
  try {
    control.Language("JScript");
    FAIL() << "another language was accepted";
  } catch (const vb::Error& error) {
    EXPECT_EQ(error.number(), vb::err::kInvalidPropertyValue);
  }
  EXPECT_EQ(control.Language(), "VBScript");
}

}  // namespace
}  // namespace kvt::script
