#include "apps/kvt-host/posting/bookable.h"

#include <cmath>

#include "apps/kvt-host/posting/refusal.h"
#include "platform/value/conversions.h"
#include "platform/value/currency.h"
#include "platform/value/error.h"

namespace kvt::posting {

namespace {

// The largest amount Currency holds, as a double just inside it.
constexpr double kMostMoney = 922337203685477.0;

std::string Shown(const vb::Variant& value) {
  return value.IsNull() ? std::string("nothing") : "\"" + vb::CStr(value) + "\"";
}

// The value as a number, or NaN when it is no number (text the user typed).
double NumberOrNaN(const vb::Variant& value) {
  if (value.IsNull() || value.IsEmpty()) return 0;
  if (!value.IsNumber() && !vb::IsNumeric(value)) return std::nan("");
  try {
    return vb::CDbl(value);
  } catch (const vb::Error&) {
    return std::nan("");
  }
}

}  // namespace

std::string QtyRefusal(const std::string& line, double qty) {
  if (!std::isfinite(qty)) return line + ": the quantity is not a number.";
  if (qty < kQtyUnit - kQtySlack) {
    return line + ": a quantity of " + QtyText(qty) + " cannot be booked; the least is " +
           QtyText(kQtyUnit) + ".";
  }
  return {};
}

std::string PriceRefusal(const std::string& line, const vb::Variant& price) {
  if (price.IsNull() || price.IsEmpty()) return line + " has no unit price.";
  const double value = NumberOrNaN(price);
  if (std::isnan(value)) return line + ": the unit price " + Shown(price) + " is not a number.";
  if (value < 0) return line + ": the unit price " + Shown(price) + " is below zero.";
  if (value > kMostMoney) {
    return line + ": the unit price " + Shown(price) + " is beyond the largest amount, " +
           vb::Currency::Max().ToDecimalText() + ".";
  }
  return {};
}

std::string OrderLineRefusal(const std::string& line, const OrderLineFigures& figures) {
  const double qty = NumberOrNaN(figures.qty);
  if (std::isnan(qty) && !figures.qty.IsNumber()) {
    return line + ": the quantity " + Shown(figures.qty) + " is not a number.";
  }
  if (std::string refusal = QtyRefusal(line, qty); !refusal.empty()) return refusal;
  const double back_order = NumberOrNaN(figures.back_order_qty);
  if (!std::isfinite(back_order) || back_order < 0) {
    return line + ": the back order " + Shown(figures.back_order_qty) +
           " is not a quantity of 0 or more.";
  }
  if (std::string refusal = PriceRefusal(line, figures.unit_price); !refusal.empty()) {
    return refusal;
  }
  const double ordered = qty + back_order;
  if (ordered < figures.received - kQtySlack) {
    return line + ": " + QtyText(ordered) + " ordered is below the " + QtyText(figures.received) +
           " already received; order at least " + QtyText(figures.received) + ".";
  }
  if (NumberOrNaN(figures.unit_price) * ordered > kMostMoney) {
    return line + ": " + QtyText(ordered) + " at " + Shown(figures.unit_price) +
           " comes to more than the largest amount, " + vb::Currency::Max().ToDecimalText() + ".";
  }
  return {};
}

}  // namespace kvt::posting
