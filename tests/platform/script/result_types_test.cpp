// The subtype each operator gives: the language's documented rules and
// their exceptions, each row through the evaluator.
#include <gtest/gtest.h>

#include "tests/platform/script/eval_test_util.h"

namespace kvt::script {
namespace {

// clang-format off
TEST(ResultTypesTest, OperatorsFollowTheDocumentedTypeRules) {
  ExpectAll({
      // "+" and "-": Currency is the widest; a Single with a Long is a Double.
      {"CCur(1) + 1.5", "Currency:2.5"}, {"1.5 - CCur(1)", "Currency:0.5"},
      {"CSng(1) + CLng(1)", "Double:2"}, {"CSng(1) + 1", "Single:2"},
      {"CByte(1) + CByte(1)", "Byte:2"}, {"CByte(1) + 1", "Integer:2"},
      {"True + True", "Integer:-2"}, {"True + CByte(1)", "Integer:0"},
      // Overflow widens Byte to Integer, Integer to Long, Long to Double.
      {"CByte(255) + CByte(1)", "Integer:256"}, {"CByte(0) - CByte(1)", "Integer:-1"},
      {"32767 + 1", "Long:32768"}, {"2147483647 + 1", "Double:2147483648"},
      // "+" with one Empty gives the other operand unchanged; "-" counts it 0.
      {"Empty + Empty", "Integer:0"}, {"Empty + CByte(7)", "Byte:7"},
      {"Empty + True", "Boolean:True"}, {"Empty + \"a\"", "String:a"},
      {"CByte(7) - Empty", "Integer:7"}, {"Empty - True", "Integer:1"},
      // Text is a Double to the arithmetic, except two texts joined by "+".
      {"\"1\" + 1", "Double:2"}, {"\"1\" + \"1\"", "String:11"},
      {"\"1\" + CCur(1)", "Currency:2"}, {"\"2\" - \"1\"", "Double:1"},
      // A Date with a number is a Date under "+" and "-" only.
      {"#1/1/2000# + CCur(1)", "Date:02/01/2000"}, {"\"1\" + #1/1/2000#", "Date:02/01/2000"},
      {"#1/2/2000# - #1/1/2000#", "Double:1"}, {"#1/1/2000# * 1", "Double:36526"},
      // "*" ranks Currency below Double.
      {"CCur(1) * 1.5", "Double:1.5"}, {"CCur(2) * CSng(1.5)", "Currency:3"},
      {"CCur(2) * 3", "Currency:6"}, {"CCur(2) * \"3\"", "Double:6"},
      {"CSng(2) * CLng(3)", "Double:6"}, {"CSng(3E38) * 10", "Double:3.00000000549776E+39"},
      {"65536 * 65536", "Double:4294967296"}, {"-CInt(-32768)", "Long:32768"}, {"-True", "Integer:1"},
      {"CByte(200) + CByte(55)", "Byte:255"}, {"CSng(1.5) + CSng(1)", "Single:2.5"},
      {"CCur(0.1) * 3", "Currency:0.3"}, {"#1/1/2000# - 0.5", "Date:31/12/1999 12:00:00"},
      {"#12/31/9999# + 1", "error 6"},
      // "/" is a Double unless a Single meets nothing wider.
      {"6 / 3", "Double:2"}, {"CSng(6) / 3", "Single:2"}, {"CSng(6) / CByte(3)", "Single:2"},
      {"CSng(6) / CLng(3)", "Double:2"}, {"CCur(6) / 3", "Double:2"},
      // "\" and Mod: Byte, Integer or Long.
      {"CByte(7) \\ CByte(2)", "Byte:3"}, {"7 \\ 2", "Integer:3"}, {"True \\ 1", "Integer:-1"},
      {"7.5 \\ 2", "Long:4"}, {"CCur(7) Mod 2", "Long:1"}, {"\"7\" Mod 2", "Long:1"},
      {"-32768 \\ -1", "Long:32768"}, {"-7 \\ 2", "Integer:-3"}, {"-7 Mod 3", "Integer:-1"},
      // Their operands round half to even: 5.5 to 6, 4.5 to 4, 7.5 to 8.
      {"5.5 \\ 2", "Long:3"}, {"4.5 \\ 1", "Long:4"}, {"7.5 Mod 2", "Long:0"},
      {"2 ^ 2", "Double:4"}, {"CByte(2) ^ CByte(2)", "Double:4"},
      {"1 & 1", "String:11"}, {"Null & Null", "Null"}, {"Null & 1", "String:1"},
      {"True & \"\"", "String:True"}, {"Empty & \"x\"", "String:x"},
      // Every other operator passes Null through, even past a zero divisor.
      {"Null + 1", "Null"}, {"-Null", "Null"}, {"Null \\ 0", "Null"}, {"Null / 0", "Null"}, {"Null ^ 2", "Null"},
      // Logical operators: two Booleans, two Bytes, the small whole types, else Long.
      {"True And True", "Boolean:True"}, {"True And 1", "Integer:1"},
      {"CByte(1) And CByte(3)", "Byte:1"}, {"CByte(1) Or True", "Integer:-1"},
      {"1 And CLng(3)", "Long:1"}, {"1.5 Or 1", "Long:3"}, {"\"1\" And 1", "Long:1"},
      {"\"True\" And True", "Boolean:True"}, {"CCur(3) Xor 1", "Long:2"},
      {"Empty And Empty", "Long:0"}, {"Empty Or 1", "Long:1"}, {"Empty Eqv True", "Long:0"},
      {"Null And 0", "Integer:0"}, {"Null Or CLng(-1)", "Long:-1"}, {"Null And Empty", "Long:0"},
      {"False Imp CByte(0)", "Integer:-1"},
  });
}
// clang-format on

}  // namespace
}  // namespace kvt::script
