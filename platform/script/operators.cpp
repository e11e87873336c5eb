#include "platform/script/operators.h"

#include <cfloat>
#include <cmath>
#include <string>

#include "platform/script/result_types.h"
#include "platform/script/script_error.h"
#include "platform/value/conversions.h"

namespace kvt::script {
namespace {

using vb::Currency;
using vb::Variant;
using vb::VarType;

// Numeric subtypes in widening order.
enum class Kind : uint8_t { kByte, kInteger, kLong, kSingle, kDouble, kCurrency };

bool IsWhole(Kind kind) { return kind <= Kind::kLong; }

struct Num {
  Kind kind = Kind::kInteger;
  int64_t whole = 0;  // Byte, Integer, Long
  double real = 0;    // Single, Double
  Currency money;     // Currency
};

[[noreturn]] void ThrowObjectOperand(const Variant& value) {
  const vb::ObjectRef* object = value.get_if<vb::ObjectRef>();
  if (object == nullptr || !*object) throw RuntimeError(vb::err::kObjectNotSet);
  throw RuntimeError(vb::err::kNoSuchMember, value.TypeName());
}

Num ToNum(const Variant& value) {
  Num num;
  switch (value.type()) {
    case VarType::Empty: break;
    case VarType::Boolean: num.whole = *value.get_if<bool>() ? -1 : 0; break;
    case VarType::Byte:
      num.kind = Kind::kByte;
      num.whole = *value.get_if<uint8_t>();
      break;
    case VarType::Integer: num.whole = *value.get_if<int16_t>(); break;
    case VarType::Long:
      num.kind = Kind::kLong;
      num.whole = *value.get_if<int32_t>();
      break;
    case VarType::Single:
      num.kind = Kind::kSingle;
      num.real = *value.get_if<float>();
      break;
    case VarType::Double:
      num.kind = Kind::kDouble;
      num.real = *value.get_if<double>();
      break;
    case VarType::Currency:
      num.kind = Kind::kCurrency;
      num.money = *value.get_if<Currency>();
      break;
    case VarType::Date:
      num.kind = Kind::kDouble;
      num.real = value.get_if<vb::Date>()->serial();
      break;
    case VarType::String:
      num.kind = Kind::kDouble;
      num.real = vb::CDbl(value);
      break;
    case VarType::Object: ThrowObjectOperand(value);
    case VarType::Null: throw RuntimeError(vb::err::kInvalidUseOfNull);
    case VarType::Array: throw RuntimeError(vb::err::kTypeMismatch, "an array");
  }
  return num;
}

double AsDouble(const Num& num) {
  if (IsWhole(num.kind)) return static_cast<double>(num.whole);
  if (num.kind == Kind::kCurrency) return num.money.ToDouble();
  return num.real;
}

Currency AsCurrency(const Num& num) {
  if (IsWhole(num.kind)) return Currency::FromInt(num.whole);
  if (num.kind == Kind::kCurrency) return num.money;
  return Currency::FromDouble(num.real);
}

Variant FromWhole(int64_t value, Kind kind) {
  if (kind == Kind::kByte && value >= 0 && value <= 255) {
    return Variant::Byte(static_cast<uint8_t>(value));
  }
  if (kind <= Kind::kInteger && value >= INT16_MIN && value <= INT16_MAX) {
    return Variant::Integer(static_cast<int16_t>(value));
  }
  if (value >= INT32_MIN && value <= INT32_MAX) return Variant(static_cast<int32_t>(value));
  return Variant(static_cast<double>(value));
}

Variant FromReal(double value, Kind kind) {
  if (!std::isfinite(value)) throw RuntimeError(vb::err::kOverflow);
  if (kind == Kind::kSingle && std::fabs(value) <= FLT_MAX) {
    return Variant(static_cast<float>(value));
  }
  return Variant(value);
}

enum class ArithOp : uint8_t { kAdd, kSubtract, kMultiply };

// A date computed by "+" or "-": 6 beyond the years 100 to 9999.
Variant DateResult(double serial) {
  constexpr double kFirstSerial = -657434;  // 1 January 100
  constexpr double kEndSerial = 2958466;    // the day after 31 December 9999
  if (!(serial > kFirstSerial - 1 && serial < kEndSerial)) {
    throw RuntimeError(vb::err::kOverflow, "date out of range");
  }
  return Variant(vb::Date::FromSerial(serial));
}

bool IsDate(const Variant& value) { return value.type() == VarType::Date; }

Kind KindOf(VarType type) {
  switch (type) {
    case VarType::Byte: return Kind::kByte;
    case VarType::Long: return Kind::kLong;
    case VarType::Single: return Kind::kSingle;
    case VarType::Double: return Kind::kDouble;
    case VarType::Currency: return Kind::kCurrency;
    default: return Kind::kInteger;
  }
}

// "+", "-" and "*" in the subtype the result-type table gives.
Variant Arithmetic(ArithOp op, const Variant& a, const Variant& b) {
  if (a.IsNull() || b.IsNull()) return Variant::Null();
  const Num x = ToNum(a);
  const Num y = ToNum(b);
  const OperatorFamily family = op == ArithOp::kAdd        ? OperatorFamily::kAdd
                                : op == ArithOp::kSubtract ? OperatorFamily::kSubtract
                                                           : OperatorFamily::kMultiply;
  const VarType type = ResultType(family, a.type(), b.type());
  switch (type) {
    case VarType::Boolean: return a.IsEmpty() ? b : a;  // Empty + True is True
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long: {
      // Operands are at most 32 bits, so no 64-bit result can overflow.
      const int64_t result = op == ArithOp::kAdd        ? x.whole + y.whole
                             : op == ArithOp::kSubtract ? x.whole - y.whole
                                                        : x.whole * y.whole;
      return FromWhole(result, KindOf(type));
    }
    case VarType::Currency: {
      Currency result;
      bool ok;
      if (op == ArithOp::kMultiply) {
        // A Single factor would lose digits if rounded to currency first.
        if (x.kind == Kind::kSingle || y.kind == Kind::kSingle) {
          return Variant(Currency::FromDouble(AsDouble(x) * AsDouble(y)));
        }
        ok = Currency::TryMultiply(AsCurrency(x), AsCurrency(y), result);
      } else if (op == ArithOp::kAdd) {
        ok = Currency::TryAdd(AsCurrency(x), AsCurrency(y), result);
      } else {
        ok = Currency::TrySubtract(AsCurrency(x), AsCurrency(y), result);
      }
      if (!ok) throw RuntimeError(vb::err::kOverflow);
      return Variant(result);
    }
    default: break;
  }
  const double dx = AsDouble(x);
  const double dy = AsDouble(y);
  const double result = op == ArithOp::kAdd        ? dx + dy
                        : op == ArithOp::kSubtract ? dx - dy
                                                   : dx * dy;
  if (type == VarType::Date) return DateResult(result);
  return FromReal(result, KindOf(type));
}

const std::string& TextOf(const Variant& value, std::string& scratch) {
  if (const std::string* text = value.get_if<std::string>()) return *text;
  // An object has no text of its own: 91 for Nothing, as for any operand.
  if (value.IsObject()) ThrowObjectOperand(value);
  scratch = value.IsNull() ? std::string() : vb::CStr(value);
  return scratch;
}

struct Whole {
  Kind kind;
  int64_t value;
};

// Rounds an operand of "\" or Mod half to even into the Long range.
Whole ToWhole(const Variant& value) {
  const Num num = ToNum(value);
  if (IsWhole(num.kind)) return {num.kind, num.whole};
  if (num.kind == Kind::kCurrency) return {Kind::kLong, vb::CLng(Variant(num.money))};
  const double rounded = vb::RoundHalfEven(num.real);
  if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) throw RuntimeError(vb::err::kOverflow);
  return {Kind::kLong, static_cast<int64_t>(rounded)};
}

Variant WholeDivision(bool modulo, const Variant& a, const Variant& b) {
  if (a.IsNull() || b.IsNull()) return Variant::Null();
  const Whole x = ToWhole(a);
  const Whole y = ToWhole(b);
  if (y.value == 0) throw RuntimeError(vb::err::kDivisionByZero);
  const Kind kind = KindOf(ResultType(OperatorFamily::kWholeDivision, a.type(), b.type()));
  const int64_t result = modulo ? x.value % y.value : x.value / y.value;
  if (kind == Kind::kLong && result > INT32_MAX) throw RuntimeError(vb::err::kOverflow);
  return FromWhole(result, kind);
}

enum class Category : uint8_t { kEmpty, kNumber, kString };

Category CategoryOf(const Variant& value) {
  switch (value.type()) {
    case VarType::Empty: return Category::kEmpty;
    case VarType::String: return Category::kString;
    case VarType::Object: ThrowObjectOperand(value);
    default: return Category::kNumber;
  }
}

int Order(const Num& x, const Num& y) {
  if (IsWhole(x.kind) && IsWhole(y.kind)) return (x.whole > y.whole) - (x.whole < y.whole);
  const bool exact = (IsWhole(x.kind) || x.kind == Kind::kCurrency) &&
                     (IsWhole(y.kind) || y.kind == Kind::kCurrency);
  if (exact) {
    const int64_t rx = AsCurrency(x).raw();
    const int64_t ry = AsCurrency(y).raw();
    return (rx > ry) - (rx < ry);
  }
  const double dx = AsDouble(x);
  const double dy = AsDouble(y);
  return (dx > dy) - (dx < dy);
}

int Order(const std::string& x, const std::string& y) {
  const int order = x.compare(y);
  return (order > 0) - (order < 0);
}

struct Bits {
  // The operand's subtype as the logical operators see it: Boolean for
  // text that reads "True" or "False".
  VarType type = VarType::Integer;
  int64_t value = 0;
  bool null() const { return type == VarType::Null; }
};

bool SameWordIgnoreCase(const std::string& text, const char* word) {
  size_t i = 0;
  for (; i < text.size() && word[i] != '\0'; ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if (c != word[i]) return false;
  }
  return i == text.size() && word[i] == '\0';
}

Bits ToBits(const Variant& value) {
  Bits bits;
  bits.type = value.type();
  switch (bits.type) {
    case VarType::Null: return bits;
    case VarType::Boolean: bits.value = *value.get_if<bool>() ? -1 : 0; return bits;
    case VarType::String: {
      const std::string& text = *value.get_if<std::string>();
      if (SameWordIgnoreCase(text, "TRUE") || SameWordIgnoreCase(text, "FALSE")) {
        bits.type = VarType::Boolean;
        bits.value = SameWordIgnoreCase(text, "TRUE") ? -1 : 0;
        return bits;
      }
      break;
    }
    default: break;
  }
  bits.value = ToWhole(value).value;
  return bits;
}

Variant FromBits(VarType type, int64_t value) {
  switch (type) {
    case VarType::Boolean: return Variant(value != 0);
    case VarType::Byte: return Variant::Byte(static_cast<uint8_t>(value & 0xFF));
    case VarType::Integer: return Variant::Integer(static_cast<int16_t>(value));
    default: return Variant(static_cast<int32_t>(value));
  }
}

Variant FromBits(const Bits& bits) { return FromBits(bits.type, bits.value); }

bool AllOnes(const Bits& bits) {
  return bits.type == VarType::Byte ? (bits.value & 0xFF) == 0xFF : bits.value == -1;
}

Bits Complement(Bits bits) {
  if (bits.null()) return bits;
  bits.value = ~bits.value;
  if (bits.type == VarType::Byte) bits.value &= 0xFF;
  return bits;
}

enum class BitOp : uint8_t { kAnd, kOr, kXor, kEqv };

Variant Combine(BitOp op, const Bits& x, const Bits& y) {
  if (x.null() || y.null()) {
    if (x.null() && y.null()) return Variant::Null();
    const Bits& known = x.null() ? y : x;
    // The known operand decides the result on its own in these two cases.
    if (op == BitOp::kAnd && known.value == 0) return FromBits(known);
    if (op == BitOp::kOr && AllOnes(known)) return FromBits(known);
    return Variant::Null();
  }
  int64_t value = 0;
  switch (op) {
    case BitOp::kAnd: value = x.value & y.value; break;
    case BitOp::kOr: value = x.value | y.value; break;
    case BitOp::kXor: value = x.value ^ y.value; break;
    case BitOp::kEqv: value = ~(x.value ^ y.value); break;
  }
  return FromBits(ResultType(OperatorFamily::kLogical, x.type, y.type), value);
}

}  // namespace

Variant Add(const Variant& a, const Variant& b, StringBudget& budget) {
  const std::string* left = a.get_if<std::string>();
  const std::string* right = b.get_if<std::string>();
  if (left != nullptr && (right != nullptr || b.IsEmpty())) {
    if (right == nullptr) return a;
    budget.Charge(left->size() + right->size());
    return Variant(*left + *right);
  }
  if (right != nullptr && a.IsEmpty()) return b;
  return Arithmetic(ArithOp::kAdd, a, b);
}

Variant Subtract(const Variant& a, const Variant& b) {
  return Arithmetic(ArithOp::kSubtract, a, b);
}

Variant Multiply(const Variant& a, const Variant& b) {
  return Arithmetic(ArithOp::kMultiply, a, b);
}

Variant Divide(const Variant& a, const Variant& b) {
  if (a.IsNull() || b.IsNull()) return Variant::Null();
  const Num x = ToNum(a);
  const Num y = ToNum(b);
  const double dx = AsDouble(x);
  const double dy = AsDouble(y);
  if (dy == 0) {
    throw RuntimeError(dx == 0 ? vb::err::kOverflow : vb::err::kDivisionByZero);
  }
  return FromReal(dx / dy, KindOf(ResultType(OperatorFamily::kDivide, a.type(), b.type())));
}

Variant IntDivide(const Variant& a, const Variant& b) { return WholeDivision(false, a, b); }

Variant Modulo(const Variant& a, const Variant& b) { return WholeDivision(true, a, b); }

Variant Power(const Variant& a, const Variant& b) {
  if (a.IsNull() || b.IsNull()) return Variant::Null();
  const double base = AsDouble(ToNum(a));
  const double exponent = AsDouble(ToNum(b));
  if ((base == 0 && exponent < 0) || (base < 0 && exponent != std::trunc(exponent))) {
    throw RuntimeError(vb::err::kInvalidCall);
  }
  return FromReal(std::pow(base, exponent), Kind::kDouble);
}

Variant Negate(const Variant& a) {
  if (a.IsNull()) return Variant::Null();
  const Num x = ToNum(a);
  if (IsWhole(x.kind)) {
    // A negated Byte is an Integer.
    return FromWhole(-x.whole, x.kind == Kind::kByte ? Kind::kInteger : x.kind);
  }
  if (x.kind == Kind::kCurrency) {
    if (x.money == Currency::Min()) throw RuntimeError(vb::err::kOverflow);
    return Variant(-x.money);
  }
  if (IsDate(a)) return DateResult(-x.real);
  return FromReal(-x.real, x.kind);
}

Variant Concat(const Variant& a, const Variant& b, StringBudget& budget) {
  if (a.IsNull() && b.IsNull()) return Variant::Null();
  std::string left_scratch;
  std::string right_scratch;
  const std::string& left = TextOf(a, left_scratch);
  const std::string& right = TextOf(b, right_scratch);
  budget.Charge(left.size() + right.size());
  std::string result;
  result.reserve(left.size() + right.size());
  result.append(left).append(right);
  return Variant(std::move(result));
}

Variant Compare(CompareOp op, const Variant& a, bool a_literal, const Variant& b, bool b_literal) {
  if (a.IsNull() || b.IsNull()) return Variant::Null();
  const Category ca = CategoryOf(a);
  const Category cb = CategoryOf(b);
  static const std::string kNoText;
  int order;
  if (ca == Category::kString || cb == Category::kString) {
    if (ca == cb) {
      order = Order(*a.get_if<std::string>(), *b.get_if<std::string>());
    } else if (ca == Category::kEmpty) {
      order = Order(kNoText, *b.get_if<std::string>());
    } else if (cb == Category::kEmpty) {
      order = Order(*a.get_if<std::string>(), kNoText);
    } else {
      // A number meets a text.
      const bool number_is_a = ca == Category::kNumber;
      const bool number_literal = number_is_a ? a_literal : b_literal;
      const bool text_literal = number_is_a ? b_literal : a_literal;
      if (number_literal) {
        order = Order(ToNum(a), ToNum(b));
      } else if (text_literal) {
        order = Order(number_is_a ? vb::CStr(a) : *a.get_if<std::string>(),
                      number_is_a ? *b.get_if<std::string>() : vb::CStr(b));
      } else {
        order = number_is_a ? -1 : 1;
      }
    }
  } else {
    order = Order(ToNum(a), ToNum(b));
  }
  switch (op) {
    case CompareOp::kEqual: return Variant(order == 0);
    case CompareOp::kNotEqual: return Variant(order != 0);
    case CompareOp::kLess: return Variant(order < 0);
    case CompareOp::kGreater: return Variant(order > 0);
    case CompareOp::kLessEqual: return Variant(order <= 0);
    case CompareOp::kGreaterEqual: return Variant(order >= 0);
  }
  return Variant::Null();
}

Variant Is(const Variant& a, const Variant& b) {
  const vb::ObjectRef* x = a.get_if<vb::ObjectRef>();
  const vb::ObjectRef* y = b.get_if<vb::ObjectRef>();
  if (x == nullptr || y == nullptr) throw RuntimeError(vb::err::kObjectRequired);
  return Variant(x->get() == y->get());
}

Variant Not(const Variant& a) {
  const Bits bits = ToBits(a);
  if (bits.null()) return Variant::Null();
  return FromBits(Complement(bits));
}

Variant And(const Variant& a, const Variant& b) {
  return Combine(BitOp::kAnd, ToBits(a), ToBits(b));
}

Variant Or(const Variant& a, const Variant& b) { return Combine(BitOp::kOr, ToBits(a), ToBits(b)); }

Variant Xor(const Variant& a, const Variant& b) {
  return Combine(BitOp::kXor, ToBits(a), ToBits(b));
}

Variant Eqv(const Variant& a, const Variant& b) {
  return Combine(BitOp::kEqv, ToBits(a), ToBits(b));
}

Variant Imp(const Variant& a, const Variant& b) {
  // a Imp b is (Not a) Or b, Null rules included.
  return Combine(BitOp::kOr, Complement(ToBits(a)), ToBits(b));
}

}  // namespace kvt::script
