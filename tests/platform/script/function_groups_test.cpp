// The built-in functions by group: each row states the value and its
// subtype ("Long:3"), or the error the call raises ("error 5"), with the
// argument conversion, rounding and Null rules of each function.
#include <gtest/gtest.h>

#include "tests/platform/script/eval_test_util.h"

namespace kvt::script {
namespace {

// clang-format off
TEST(FunctionGroupsTest, StringFunctions) {
  ExpectAll({
      {"Len(123)", "Long:3"}, {"Len(Null)", "Null"},
      {"Left(\"ab\", 5)", "String:ab"}, {"Left(\"123456\", 2.5)", "String:12"},
      {"Left(Null, 1)", "Null"}, {"Right(\"abcdef\", 2)", "String:ef"},
      {"Right(Null, -1)", "error 5"},  // the length is checked before a Null text
      {"Right(\"test\", Null)", "error 94"},
      {"Mid(\"abcdef\", 2, 3)", "String:bcd"}, {"Mid(\"abcdef\", 5)", "String:ef"},
      {"Mid(\"abc\", 5)", "String:"},
      {"Mid(\"test\", \"a\", Null)", "error 94"},  // Null is refused before conversion
      {"Mid(\"test\", \"a\", 1)", "error 13"},
      {"Mid(Null, 0, 1)", "error 5"},  // and the range before a Null text
      {"Mid(Null, 5)", "Null"},
      {"UCase(\"aBc\")", "String:ABC"}, {"LCase(\"aBc\")", "String:abc"},
      {"Trim(\"  a b  \")", "String:a b"}, {"LTrim(\"  a \")", "String:a "},
      {"RTrim(\" a  \")", "String: a"},
      {"InStr(\"abcabc\", \"c\")", "Long:3"}, {"InStr(\"abc\", \"C\")", "Long:0"},
      {"InStr(2.6, \"abcd\", \"bc\")", "Long:0"},  // the start rounds to 3
      {"InStr(3, \"abcdefgh\", \"FG\", 1.4)", "Long:6"}, {"InStr(4, \"abcdef\", \"\")", "Long:4"},
      {"InStr(4, \"\", \"\")", "Long:0"}, {"InStr(1, 23456, 45, 0)", "Long:3"},
      {"InStr(2, Null, \"a\")", "Null"}, {"InStr(Null, \"a\", \"a\", 0)", "error 94"},
      {"InStr(2, \"a\", \"a\", 10)", "error 5"},
      {"InStrRev(\"bcabcd\", \"bc\")", "Long:4"},
      {"InStrRev(\"abcd\", \"bc\", 2)", "Long:0"},  // the match must end by the start
      {"InStrRev(\"abcd\", \"bc\", 3)", "Long:2"}, {"InStrRev(\"abcd\", \"Ab\", -1, 1)", "Long:1"},
      {"InStrRev(\"abcd\", \"bc\", 5)", "Long:0"}, {"InStrRev(\"abcd\", Null)", "error 94"},
      {"InStrRev(\"abcd\", \"a\", 0)", "error 5"},
      {"Replace(\"a-b-c\", \"-\", \"\", 1, 1)", "String:ab-c"},
      {"Replace(\"abc\", \"\", \"x\")", "String:abc"},
      {"Replace(\"xx testxx(xx)\", \"xx\", \"!\", 2)", "String:x test!(!)"},
      {"Replace(\"aa testAA(aA)\", \"Aa\", \"!\", 1, -1, 1)", "String:! test!(!)"},
      {"Replace(123, 2, 6)", "String:163"}, {"Replace(\"xx\", \"x\", \"y\", 1, Null)", "error 94"},
      {"Replace(\"xx\", \"x\", \"y\", 1, -2)", "error 5"},
      {"Space(4.5)", "String:    "}, {"Space(\"-1\")", "error 5"},
      {"String(3, \"xy\")", "String:xxx"}, {"String(2, 321)", "String:AA"},
      {"String(0, \"\")", "error 5"}, {"String(Null, \"x\")", "Null"},
      {"StrComp(\"ABC\", \"abc\")", "Integer:-1"},
      {"StrComp(\"ABC\", \"abc\", vbTextCompare)", "Integer:0"},
      {"StrComp(\"1\", 1.0, 1)", "Integer:0"}, {"StrComp(Null, \"a\")", "Null"},
      {"StrReverse(True)", "String:eurT"}, {"StrReverse(Null)", "error 94"},
      {"Asc(3)", "Integer:51"}, {"Asc(\"\")", "error 5"}, {"Asc(Null)", "error 94"},
      {"Chr(119.5)", "String:x"},  // 120, half to even
      {"Chr(256)", "error 5"},
      {"Hex(-1)", "String:FFFF"},  // Integer-sized values show 16 bits, others 32
      {"Hex(-1.0)", "String:FFFFFFFF"},
      {"Hex(-32768)", "String:FFFF8000"},  // -32768 is a negated Long
      {"Hex(228.5)", "String:E4"}, {"Hex(2147483647.5)", "error 6"}, {"Hex(Empty)", "String:0"},
      {"Hex(Null)", "Null"}, {"Oct(-1)", "String:177777"},
  });
}
// clang-format on

// clang-format off
TEST(FunctionGroupsTest, RoundingAndMathFunctions) {
  // The rounding rules themselves are the value layer's (RoundHalfEven,
  // Currency, CLng): here, that each function reaches the right one.
  ExpectAll({
      {"Round(3.14159, 2)", "Double:3.14"}, {"Round(0.995, 2)", "Double:1"},
      {"Round(1250.5 * 0.025, 2)", "Double:31.26"}, {"Round(2.5)", "Double:2"},
      {"Round(-3.5)", "Double:-4"}, {"Round(CSng(2.5))", "Single:2"}, {"Round(CByte(3))", "Byte:3"},
      {"Round(32767.5)", "Double:32768"}, {"Round(CCur(2.355), 2)", "Currency:2.36"},
      {"Round(CCur(-0.5))", "Currency:0"}, {"Round(1.23456789, 20)", "Double:1.23456789"},
      {"Round(\"x\")", "error 13"}, {"Round(True)", "Boolean:True"}, {"Round(3, 1)", "Integer:3"},
      {"Round(\"2.5\")", "Double:2"}, {"Round(Null)", "Null"}, {"Round(1.5, Null)", "error 94"},
      {"CInt(2.5)", "Integer:2"}, {"CLng(CCur(3.5))", "Long:4"}, {"CByte(1.5)", "Byte:2"},
      {"CInt(\"2.5\")", "Integer:2"}, {"CInt(32767.5)", "error 6"},
      {"Int(-2.5)", "Double:-3"}, {"Fix(-2.5)", "Double:-2"}, {"Int(CSng(1.9))", "Single:1"},
      {"Int(CCur(-2.5))", "Currency:-3"}, {"Fix(CCur(-0.99))", "Currency:0"},
      {"Int(#1/1/2000 10:00#)", "Date:01/01/2000"}, {"5.5 \\ 1", "Long:6"}, {"6.5 Mod 4", "Long:2"},
      {"Abs(-5)", "Integer:5"}, {"Abs(CInt(-32768))", "Long:32768"}, {"Abs(\"-3\")", "Double:3"},
      {"Abs(CSng(-0.5))", "Single:0.5"}, {"Abs(True)", "Integer:1"}, {"Abs(CByte(1))", "Byte:1"},
      {"Abs(Null)", "Null"},
      {"Atn(1)*4", "Double:3.14159265358979"}, {"Cos(0)", "Double:1"}, {"Sin(0)", "Double:0"},
      {"Tan(0)", "Double:0"}, {"Log(Exp(2))", "Double:2"}, {"Sqr(16)", "Double:4"},
      {"TypeName(Atn(CByte(1)))", "String:Double"},
      {"Sgn(0)", "Integer:0"}, {"Sgn(CCur(5))", "Integer:1"}, {"Sgn(CStr(-1))", "Integer:-1"},
      {"Sgn(Null)", "error 94"},
  });
}
// clang-format on

// clang-format off
TEST(FunctionGroupsTest, ConversionAndTypeFunctions) {
  ExpectAll({
      {"CBool(\"False\")", "Boolean:False"}, {"CBool(\"#TRUE#\")", "Boolean:True"},
      {"CBool(\"\")", "error 13"},
      {"CByte(True)", "Byte:255"}, {"CByte(\"-0.5\")", "Byte:0"},
      {"CCur(0.000149)", "Currency:0.0001"}, {"CDbl(\"1.5\")", "Double:1.5"},
      {"CLng(\"1,234\")", "Long:1234"},
      {"CDate(\"1\")", "Date:31/12/1899"}, {"CDate(\"10:30\")", "Date:30/12/1899 10:30:00"},
      {"CDate(\"\")", "error 13"}, {"CDate(1E10)", "error 6"},
      {"CSng(0.001 * 0.001)", "Single:0.000001"},
      // A Single widened to a Double shows its binary value.
      {"CStr(CSng(0.01) + 0.01)", "String:1.99999997764826E-02"},
      {"FormatNumber(-1234.5, 1, 0, -1, 0)", "String:(1234.5)"},
      {"FormatNumber(Null)", "error 13"},  // Null as the value is a type mismatch
      {"FormatNumber(1, Null)", "error 94"}, {"FormatNumber(1, -2)", "error 5"},
      {"FormatCurrency(-1000, , , -1)", "String:(R1,000.00)"},
      {"FormatCurrency(1234.5)", "String:R1,234.50"}, {"FormatPercent(0.145, 0)", "String:15%"},
      {"FormatPercent(-0.12, , , -1)", "String:(12.00%)"},
      {"FormatDateTime(#1/31/2024 10:30#)", "String:31/01/2024 10:30:00"},
      {"FormatDateTime(#10:30#)", "String:10:30:00"},
      {"FormatDateTime(#1/31/2024#, vbLongDate)", "String:31 January 2024"},
      {"FormatDateTime(#10:30#, 4)", "String:10:30"}, {"FormatDateTime(Null)", "error 13"},
      {"FormatDateTime(1, 5)", "error 5"},
      {"TypeName(CCur(1) + True)", "String:Currency"}, {"TypeName(Array(1)(0))", "String:Integer"},
      // TypeName and VarType of every subtype.
      {"TypeName(Empty) & VarType(Empty)", "String:Empty0"}, {"TypeName(Null) & VarType(Null)", "String:Null1"},
      {"TypeName(1) & VarType(1)", "String:Integer2"}, {"TypeName(32768) & VarType(32768)", "String:Long3"},
      {"TypeName(CSng(1)) & VarType(CSng(1))", "String:Single4"},
      {"TypeName(1.5) & VarType(1.5)", "String:Double5"}, {"TypeName(CCur(1)) & VarType(CCur(1))", "String:Currency6"},
      {"TypeName(Now) & VarType(Now)", "String:Date7"}, {"TypeName(\"\") & VarType(\"\")", "String:String8"},
      {"TypeName(Nothing) & VarType(Nothing)", "String:Nothing9"},
      {"TypeName(True) & VarType(True)", "String:Boolean11"}, {"TypeName(CByte(1)) & VarType(CByte(1))", "String:Byte17"},
      {"TypeName(Split(\"a\")) & VarType(Split(\"a\"))", "String:Variant()8204"},
      {"IsDate(\"4\")", "Boolean:False"}, {"IsDate(4)", "Boolean:False"},
      {"IsDate(\"31/01/2024\")", "Boolean:True"}, {"IsDate(\"10:30 PM\")", "Boolean:True"},
      {"IsNumeric(\"12.5\")", "Boolean:True"}, {"IsNumeric(#1/1/2000#)", "Boolean:False"},
      {"IsObject(Nothing)", "Boolean:True"}, {"IsNull(Null)", "Boolean:True"},
      {"IsEmpty(Null)", "Boolean:False"},
  });
}
// clang-format on

// clang-format off
TEST(FunctionGroupsTest, DateFunctions) {
  ExpectAll({
      {"TypeName(Date) & TypeName(Time()) & TypeName(Now)", "String:DateDateDate"},
      {"Now - Date < 1 And Time < 1", "Boolean:True"},
      {"Year(2) & \" \" & Hour(2.75) & \" \" & Minute(2.02083)", "String:1900 18 30"},
      {"TypeName(Day(Now))", "String:Integer"}, {"Day(Null)", "Null"}, {"Year(\"x\")", "error 13"},
      {"DateSerial(0, 2, 1)", "Date:01/02/2000"}, {"DateSerial(50, 2, 1)", "Date:01/02/1950"},
      {"DateSerial(2000, 14, 2)", "Date:02/02/2001"}, {"DateSerial(2000, 3, 0)", "Date:29/02/2000"},
      {"DateSerial(10000, 1, 1)", "error 5"}, {"DateSerial(Null, 1, 1)", "error 94"},
      {"TimeSerial(25, 2, 1)", "Date:31/12/1899 01:02:01"},
      {"TimeSerial(-1, 0, 0)", "Date:29/12/1899 23:00:00"},
      {"DateValue(\"31/01/2024 10:30\")", "Date:31/01/2024"},
      {"TimeValue(\"5:05:30 PM\")", "Date:30/12/1899 17:05:30"},
      {"DateAdd(\"m\", 1, \"31/01/2010\")", "Date:28/02/2010"},
      {"DateAdd(\"q\", 1, \"31/01/2010\")", "Date:30/04/2010"},
      {"DateAdd(\"ww\", -1, #1/1/2000#)", "Date:25/12/1999"},
      {"DateAdd(\"h\", 1.5, #1/31/2010 08:50#)", "Date:31/01/2010 10:50:00"},
      {"DateAdd(\"k\", 1, #1/1/2000#)", "error 5"},
      {"DateAdd(\"q\", Null, #1/1/2000#)", "error 94"}, {"DateAdd(\"q\", 1, Null)", "Null"},
      {"DateAdd(\"d\", 1, #12/31/9999#)", "error 5"},
      {"Weekday(#1/1/2000#)", "Integer:7"}, {"Weekday(#1/1/2000#, vbMonday)", "Integer:6"},
      {"Weekday(Null, -1)", "error 5"}, {"Weekday(Null, vbSunday)", "Null"},
      {"MonthName(1, 10)", "String:Jan"}, {"MonthName(\"a\", Null)", "error 94"},
      {"WeekdayName(1, True, 2)", "String:Mon"}, {"WeekdayName(8)", "error 5"},
      {"DateDiff(\"yyyy\", #12/31/2023#, #1/1/2024#)", "Long:1"},
      {"DateDiff(\"q\", #3/31/2024#, #4/1/2024#)", "Long:1"},
      {"DateDiff(\"w\", #1/1/2024#, #1/15/2024#)", "Long:2"},
      {"DateDiff(\"ww\", #1/6/2024#, #1/7/2024#)", "Long:1"},  // Saturday to Sunday
      {"DateDiff(\"h\", #1/1/2024 23:59#, #1/2/2024 00:01#)", "Long:1"},
      {"DateDiff(\"s\", #1/1/100#, #12/31/9999#)", "error 6"},
      {"DatePart(\"y\", #2/1/2024#)", "Integer:32"},
      {"DatePart(\"ww\", #12/31/2024#)", "Integer:53"},
      {"DatePart(\"ww\", #1/1/2021#, vbMonday, vbFirstFourDays)", "Integer:53"},
      {"DatePart(\"ww\", #1/3/2021#, vbSunday, vbFirstFullWeek)", "Integer:1"},
      {"DatePart(\"n\", #1/1/2024 17:45:12#)", "Integer:45"},
  });
}
// clang-format on

}  // namespace
}  // namespace kvt::script
