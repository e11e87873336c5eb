// The arithmetic of one voucher line, apart from its dialog: quantity, unit
// price, three cascading discounts (trade on the sub total, rebate on the
// sub total after trade, other on the sub total after both), each as an
// amount and a percentage, the net amount, the tax and the total.
//
// Money is vb::Currency, the tax included; the quantity and the percentages
// are doubles, the tax rate a single. Every rounding formats the value through
// NumberFormatService and reads the text back, so that what the dialog
// shows and what it computes agree: R2 with two decimals, the quantity with
// the session's quantity decimals, the price with its price decimals.
#pragma once

#include <cstdint>

#include "platform/value/currency.h"
#include "platform/value/variant.h"

namespace kvt::vouchers {

// Calculate's selectors: an amount box's index (0 to 5), a percentage box's
// index plus 6, and the tax code list.
inline constexpr int16_t kSelectorFirstPercentage = 6;
inline constexpr int16_t kSelectorTaxCode = 9;

// What the dialog's boxes and labels hold when a calculation starts, as
// their texts (or any value the value helpers read as a number).
struct ReceiveLineEntries {
  vb::Variant quantity, unit_price, trade, rebate, other, net;
  vb::Variant trade_percent, rebate_percent, other_percent;
  vb::Variant tax, total;  // the tax and total labels
};

// Everything a calculation writes back.
struct ReceiveLineFigures {
  double quantity = 0;
  vb::Currency unit_price, sub_total, trade, after_trade, rebate, after_rebate, other;
  vb::Currency net, tax, total;
  double trade_percent = 0, rebate_percent = 0, other_percent = 0;
  // Net + tax equals the total: the line may be confirmed.
  bool balanced = false;
};

class ReceiveCalculation {
 public:
  ReceiveCalculation(int32_t qty_decimals, int32_t price_decimals)
      : qty_decimals_(qty_decimals), price_decimals_(price_decimals) {}

  // Recomputes the line from the input `selector` names: 0 quantity, 1 unit
  // price, 2 to 4 a discount amount, 5 the net amount, 6 to 8 a discount
  // percentage, 9 the tax code; any other value recomputes nothing and
  // keeps net, tax and total as they stand. A non-zero percentage governs
  // its amount. Raises 11 for a net amount with a zero quantity, 6 when a
  // figure leaves the Currency range, and what reading a value raises.
  ReceiveLineFigures Run(const ReceiveLineEntries& entries, int16_t selector,
                         float tax_rate_percent) const;

  // R2: `value` with two decimals through the formatter, read back.
  static vb::Currency RoundToCents(const vb::Variant& value);
  // Percent `percent` of `base`, rounded to cents.
  static vb::Currency PercentOf(double percent, vb::Currency base);
  // `rate_percent` of `net`, in currency arithmetic, rounded to cents.
  // Raises 6 when the tax leaves the Currency range.
  static vb::Currency TaxOn(vb::Currency net, float rate_percent);
  // `part` as a percentage of `base` rounded to two decimals; 0 when the
  // base is 0.
  static double PercentageOf(vb::Currency part, vb::Currency base);

 private:
  int32_t qty_decimals_;
  int32_t price_decimals_;
};

}  // namespace kvt::vouchers
