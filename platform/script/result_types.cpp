#include "platform/script/result_types.h"

#include <array>
#include <string_view>

namespace kvt::script {
namespace {

using vb::VarType;

constexpr size_t kSubtypes = 11;
constexpr size_t kFamilies = 8;

// One letter per subtype, in the order of the table's rows and columns.
constexpr std::string_view kLetters = "ENBYILSDCT$";
constexpr VarType kSubtypeOf[kSubtypes] = {VarType::Empty,  VarType::Null,    VarType::Boolean,
                                           VarType::Byte,   VarType::Integer, VarType::Long,
                                           VarType::Single, VarType::Double,  VarType::Currency,
                                           VarType::Date,   VarType::String};

// Rows are the left operand, columns the right, both in kLetters' order:
// E Empty, N Null, B Boolean, Y Byte, I Integer, L Long, S Single,
// D Double, C Currency, T Date, $ String.
//
// "+" and "-" rank Byte < Integer < Long < Single < Double < Currency, "*"
// ranks Currency below Double; a Single with a Long gives a Double; a
// Boolean counts as an Integer and text as a Double. "+" returns the other
// operand unchanged when one is Empty, and joins two texts; "-" counts
// Empty as an Integer 0 and gives the days between two dates as a Double.
// A Date with a number stays a Date under "+" and "-", and is a Double
// under every other operator. "/" gives a Single only when one operand is
// a Single and neither is wider; "\" and Mod round both operands to Byte,
// Integer or Long; "^" always gives a Double and "&" a String. The logical
// operators keep two Booleans Boolean and two Bytes Byte, give an Integer
// for any other pair of Boolean, Byte and Integer, and a Long otherwise
// (Empty And Empty included).
// clang-format off
constexpr std::string_view kTable[kFamilies][kSubtypes] = {
    // +    E N B Y I L S D C T $
    {/*E*/ "I N B Y I L S D C T $",
     /*N*/ "N N N N N N N N N N N",
     /*B*/ "B N I I I L S D C T D",
     /*Y*/ "Y N I Y I L S D C T D",
     /*I*/ "I N I I I L S D C T D",
     /*L*/ "L N L L L L D D C T D",
     /*S*/ "S N S S S D S D C T D",
     /*D*/ "D N D D D D D D C T D",
     /*C*/ "C N C C C C C C C T C",
     /*T*/ "T N T T T T T T T T T",
     /*$*/ "$ N D D D D D D C T $"},
    // -    E N B Y I L S D C T $
    {/*E*/ "I N I I I L S D C T D",
     /*N*/ "N N N N N N N N N N N",
     /*B*/ "I N I I I L S D C T D",
     /*Y*/ "I N I Y I L S D C T D",
     /*I*/ "I N I I I L S D C T D",
     /*L*/ "L N L L L L D D C T D",
     /*S*/ "S N S S S D S D C T D",
     /*D*/ "D N D D D D D D C T D",
     /*C*/ "C N C C C C C C C T C",
     /*T*/ "T N T T T T T T T D T",
     /*$*/ "D N D D D D D D C T D"},
    // *    E N B Y I L S D C T $
    {/*E*/ "I N I I I L S D C D D",
     /*N*/ "N N N N N N N N N N N",
     /*B*/ "I N I I I L S D C D D",
     /*Y*/ "I N I Y I L S D C D D",
     /*I*/ "I N I I I L S D C D D",
     /*L*/ "L N L L L L D D C D D",
     /*S*/ "S N S S S D S D C D D",
     /*D*/ "D N D D D D D D D D D",
     /*C*/ "C N C C C C C D C D D",
     /*T*/ "D N D D D D D D D D D",
     /*$*/ "D N D D D D D D D D D"},
    // /    E N B Y I L S D C T $
    {/*E*/ "D N D D D D S D D D D",
     /*N*/ "N N N N N N N N N N N",
     /*B*/ "D N D D D D S D D D D",
     /*Y*/ "D N D D D D S D D D D",
     /*I*/ "D N D D D D S D D D D",
     /*L*/ "D N D D D D D D D D D",
     /*S*/ "S N S S S D S D D D D",
     /*D*/ "D N D D D D D D D D D",
     /*C*/ "D N D D D D D D D D D",
     /*T*/ "D N D D D D D D D D D",
     /*$*/ "D N D D D D D D D D D"},
    // \ Mod E N B Y I L S D C T $
    {/*E*/ "I N I I I L L L L L L",
     /*N*/ "N N N N N N N N N N N",
     /*B*/ "I N I I I L L L L L L",
     /*Y*/ "I N I Y I L L L L L L",
     /*I*/ "I N I I I L L L L L L",
     /*L*/ "L N L L L L L L L L L",
     /*S*/ "L N L L L L L L L L L",
     /*D*/ "L N L L L L L L L L L",
     /*C*/ "L N L L L L L L L L L",
     /*T*/ "L N L L L L L L L L L",
     /*$*/ "L N L L L L L L L L L"},
    // ^    E N B Y I L S D C T $
    {/*E*/ "D N D D D D D D D D D",
     /*N*/ "N N N N N N N N N N N",
     /*B*/ "D N D D D D D D D D D",
     /*Y*/ "D N D D D D D D D D D",
     /*I*/ "D N D D D D D D D D D",
     /*L*/ "D N D D D D D D D D D",
     /*S*/ "D N D D D D D D D D D",
     /*D*/ "D N D D D D D D D D D",
     /*C*/ "D N D D D D D D D D D",
     /*T*/ "D N D D D D D D D D D",
     /*$*/ "D N D D D D D D D D D"},
    // &    E N B Y I L S D C T $
    {/*E*/ "$ $ $ $ $ $ $ $ $ $ $",
     /*N*/ "$ N $ $ $ $ $ $ $ $ $",
     /*B*/ "$ $ $ $ $ $ $ $ $ $ $",
     /*Y*/ "$ $ $ $ $ $ $ $ $ $ $",
     /*I*/ "$ $ $ $ $ $ $ $ $ $ $",
     /*L*/ "$ $ $ $ $ $ $ $ $ $ $",
     /*S*/ "$ $ $ $ $ $ $ $ $ $ $",
     /*D*/ "$ $ $ $ $ $ $ $ $ $ $",
     /*C*/ "$ $ $ $ $ $ $ $ $ $ $",
     /*T*/ "$ $ $ $ $ $ $ $ $ $ $",
     /*$*/ "$ $ $ $ $ $ $ $ $ $ $"},
    // And  E N B Y I L S D C T $
    {/*E*/ "L N L L L L L L L L L",
     /*N*/ "N N N N N N N N N N N",
     /*B*/ "L N B I I L L L L L L",
     /*Y*/ "L N I Y I L L L L L L",
     /*I*/ "L N I I I L L L L L L",
     /*L*/ "L N L L L L L L L L L",
     /*S*/ "L N L L L L L L L L L",
     /*D*/ "L N L L L L L L L L L",
     /*C*/ "L N L L L L L L L L L",
     /*T*/ "L N L L L L L L L L L",
     /*$*/ "L N L L L L L L L L L"},
};
// clang-format on

constexpr size_t IndexOfLetter(char letter) {
  const size_t index = kLetters.find(letter);
  return index == std::string_view::npos ? kSubtypes : index;
}

// The table read once into subtypes; a malformed row fails the build.
constexpr auto kResults = [] {
  std::array<std::array<std::array<VarType, kSubtypes>, kSubtypes>, kFamilies> results{};
  for (size_t family = 0; family < kFamilies; ++family) {
    for (size_t row = 0; row < kSubtypes; ++row) {
      const std::string_view text = kTable[family][row];
      if (text.size() != 2 * kSubtypes - 1) throw "a row of the table is not 11 letters";
      for (size_t column = 0; column < kSubtypes; ++column) {
        const size_t index = IndexOfLetter(text[2 * column]);
        if (index == kSubtypes) throw "a letter of the table names no subtype";
        results[family][row][column] = kSubtypeOf[index];
      }
    }
  }
  return results;
}();

// Row and column of each subtype by its VarType number (up to Byte, 17);
// kSubtypes for the types the table leaves out.
constexpr auto kIndexOfType = [] {
  std::array<size_t, 18> index{};
  index.fill(kSubtypes);
  for (size_t i = 0; i < kSubtypes; ++i) index[static_cast<size_t>(kSubtypeOf[i])] = i;
  return index;
}();

size_t IndexOf(VarType type) {
  const auto number = static_cast<size_t>(type);
  return number < kIndexOfType.size() ? kIndexOfType[number] : kSubtypes;
}

}  // namespace

VarType ResultType(OperatorFamily family, VarType a, VarType b) {
  const size_t row = IndexOf(a);
  const size_t column = IndexOf(b);
  if (row == kSubtypes || column == kSubtypes) return VarType::Empty;
  return kResults[static_cast<size_t>(family)][row][column];
}

}  // namespace kvt::script
