#include "platform/script/math_builtins.h"

#include <cmath>

#include "platform/script/script_error.h"
#include "platform/value/conversions.h"

namespace kvt::script {
namespace {

using vb::Currency;
using vb::Variant;
using vb::VarType;

// Shared shape of Abs, Int, Fix and Round: whole subtypes keep their
// subtype (widening where the result leaves it), a Date stays a Date, Null
// stays Null, text becomes a Double.
template <class WholeOp, class RealOp, class MoneyOp>
Variant NumericKeepingType(const Variant& value, WholeOp whole, RealOp real, MoneyOp money) {
  switch (value.type()) {
    case VarType::Null: return Variant::Null();
    case VarType::Empty: return Variant::Integer(0);
    case VarType::Boolean: {
      const int64_t result = whole(*value.get_if<bool>() ? -1 : 0);
      return Variant::Integer(static_cast<int16_t>(result));
    }
    case VarType::Byte: return Variant::Byte(static_cast<uint8_t>(whole(*value.get_if<uint8_t>())));
    case VarType::Integer: {
      const int64_t result = whole(*value.get_if<int16_t>());
      if (result > INT16_MAX) return Variant(static_cast<int32_t>(result));
      return Variant::Integer(static_cast<int16_t>(result));
    }
    case VarType::Long: {
      const int64_t result = whole(*value.get_if<int32_t>());
      if (result > INT32_MAX) return Variant(static_cast<double>(result));
      return Variant(static_cast<int32_t>(result));
    }
    case VarType::Single: return Variant(static_cast<float>(real(*value.get_if<float>())));
    case VarType::Currency: return Variant(money(*value.get_if<Currency>()));
    case VarType::Date:
      return Variant(vb::Date::FromSerial(real(value.get_if<vb::Date>()->serial())));
    default: return RealResult(real(vb::CDbl(value)));
  }
}

Variant Abs(const Args& args) {
  return NumericKeepingType(
      args[0], [](int64_t v) { return v < 0 ? -v : v; }, [](double v) { return std::fabs(v); },
      [](Currency c) {
        if (c == Currency::Min()) throw RuntimeError(vb::err::kOverflow);
        return c < Currency() ? -c : c;
      });
}

Currency FloorCurrency(Currency c, bool toward_zero) {
  int64_t units = c.raw() / Currency::kScale;
  if (!toward_zero && c.raw() % Currency::kScale < 0) --units;
  return Currency::FromInt(units);
}

Variant Int(const Args& args) {
  return NumericKeepingType(
      args[0], [](int64_t v) { return v; }, [](double v) { return std::floor(v); },
      [](Currency c) { return FloorCurrency(c, false); });
}

Variant Fix(const Args& args) {
  return NumericKeepingType(
      args[0], [](int64_t v) { return v; }, [](double v) { return std::trunc(v); },
      [](Currency c) { return FloorCurrency(c, true); });
}

// Round works on the double as stored, through the platform's one
// half-to-even rounding: 0.125 is held exactly and rounds to 0.12, while
// 2.675 is held as 2.67499999... and rounds to 2.67. Currency rounds on its
// exact ten-thousandths; a Boolean stays a Boolean.
Variant Round(const Args& args) {
  const int32_t digits = OptionalLong(args, 1, 0);
  if (digits < 0) InvalidCall();
  const Variant& value = args[0];
  if (value.get_if<bool>() != nullptr) return value;
  // Exact on the ten-thousandths, ties to even; 6 when the result leaves
  // the Currency range.
  if (const Currency* money = value.get_if<Currency>())
    return Variant(money->RoundHalfEven(digits));
  return NumericKeepingType(
      value, [](int64_t v) { return v; },
      [digits](double v) { return vb::RoundHalfEven(v, digits); }, [](Currency c) { return c; });
}

Variant Sgn(const Args& args) {
  if (const Currency* money = args[0].get_if<Currency>()) {
    return Variant::Integer(static_cast<int16_t>((money->raw() > 0) - (money->raw() < 0)));
  }
  const double value = vb::CDbl(args[0]);
  return Variant::Integer(static_cast<int16_t>((value > 0) - (value < 0)));
}

Variant Atn(const Args& args) { return RealResult(std::atan(vb::CDbl(args[0]))); }
Variant Cos(const Args& args) { return RealResult(std::cos(vb::CDbl(args[0]))); }
Variant Sin(const Args& args) { return RealResult(std::sin(vb::CDbl(args[0]))); }
Variant Tan(const Args& args) { return RealResult(std::tan(vb::CDbl(args[0]))); }
Variant Exp(const Args& args) { return RealResult(std::exp(vb::CDbl(args[0]))); }

Variant Log(const Args& args) {
  const double value = vb::CDbl(args[0]);
  if (value <= 0) InvalidCall();
  return RealResult(std::log(value));
}

Variant Sqr(const Args& args) {
  const double value = vb::CDbl(args[0]);
  if (value < 0) InvalidCall();
  return RealResult(std::sqrt(value));
}

constexpr Builtin kTable[] = {
    {"Abs", 1, 1, &Abs}, {"Atn", 1, 1, &Atn}, {"Cos", 1, 1, &Cos}, {"Exp", 1, 1, &Exp},
    {"Fix", 1, 1, &Fix}, {"Int", 1, 1, &Int}, {"Log", 1, 1, &Log}, {"Round", 1, 2, &Round},
    {"Sgn", 1, 1, &Sgn}, {"Sin", 1, 1, &Sin}, {"Sqr", 1, 1, &Sqr}, {"Tan", 1, 1, &Tan},
};

}  // namespace

BuiltinTable MathBuiltins() { return kTable; }

}  // namespace kvt::script
