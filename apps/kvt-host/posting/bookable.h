// What the books can hold of a line: a quantity of at least one smallest
// unit, a price that is money, an order line never below what was
// received against it. The desk refuses a line before it saves, posting
// before it writes; the database refuses the same (its checks in the
// schema scripts), so a host that skips both cannot book it either.
#pragma once

#include <string>

#include "platform/value/variant.h"

namespace kvt::posting {

// The smallest quantity the books count. Quantities are doubles: two that
// differ by less than half a unit are the same quantity.
inline constexpr double kQtyUnit = 0.000001;
inline constexpr double kQtySlack = kQtyUnit / 2;

// Why `qty` cannot be booked as the quantity of `line` ("Line 2
// (NUT-M10)"), or empty: not a finite number, or below one unit.
std::string QtyRefusal(const std::string& line, double qty);

// Why `price` (a number, or text the user typed) cannot be booked as the
// unit price of `line`, or empty: not a number, negative, or beyond what
// Currency holds, or none at all (Null).
std::string PriceRefusal(const std::string& line, const vb::Variant& price);

// An order line as a save would write it: the quantities and the price as
// the detail row holds them (Null where empty), and what the database has
// received on it (0 for a new line).
struct OrderLineFigures {
  vb::Variant qty, back_order_qty, unit_price;
  double received = 0;
};

// Why the order line cannot be saved, or empty: its quantity or price
// (as above), a back order that is not a finite number of at least 0,
// ordered (quantity plus back order) below what was received, or an
// extension of the price beyond what Currency holds.
std::string OrderLineRefusal(const std::string& line, const OrderLineFigures& figures);

}  // namespace kvt::posting
