// The arithmetic of one purchase-order line, apart from its dialog: the
// discount chain (trade on the gross, rebate on the subtotal after trade,
// other on the subtotal after both), the tax, the total cost, the discount
// percentages and the new cost per unit.
//
// Amounts are vb::Currency; quantities, percentages and the tax rate are
// floating point, as the line dialog holds them. Every rounding to cents
// ("R2") formats the value with two decimals through NumberFormatService and
// reads the text back, so the figures on screen and in the arithmetic agree.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/value/currency.h"
#include "platform/value/variant.h"

namespace kvt::services {
class NumberFormatService;
}

namespace kvt::orders {

// The editable figures of a line, as read from the dialog's entry boxes.
struct LineInputs {
  double order_qty = 0;
  double back_order_qty = 0;
  vb::Currency price;
  vb::Currency trade;
  vb::Currency rebate;
  vb::Currency other;
};

// Everything a full recalculation writes besides the entry boxes.
struct LineFigures {
  vb::Currency gross;         // price x (order + back-order quantity)
  vb::Currency after_trade;   // gross - trade
  vb::Currency after_rebate;  // after_trade - rebate
  vb::Currency net;           // after_rebate - other
  vb::Currency tax;
  vb::Currency total;            // net + tax
  vb::Currency average_percent;  // all discounts over the gross
  double trade_percent = 0;      // of the gross
  double rebate_percent = 0;     // of the subtotal after trade
  double other_percent = 0;      // of the subtotal after rebate
  // Net over |order quantity|; none when the order quantity is 0.
  std::optional<double> new_cost_per_unit;
};

// The lighter refresh used when an existing line is opened: no formulas, no
// tax rate, and the average discount taken over the net amount.
struct SubTotalFigures {
  vb::Currency gross, after_trade, after_rebate, net, tax, average_percent, total;
};

// Which discount a formula step serves; the values are the indexes of the
// dialog's formula lists and use-formula boxes.
enum class Discount : int { kTrade = 1, kRebate = 2, kOther = 3 };

// One formula step of the chain. The dialog implements it: when the
// discount's use-formula box is ticked it evaluates the selected formula on
// `subtotal` and updates `amount` (to R2 of the answer, or 0 for the
// formula "0"); otherwise it leaves `amount` alone.
class DiscountFormulaStep {
 public:
  virtual ~DiscountFormulaStep() = default;
  virtual void Apply(Discount discount, vb::Currency subtotal, vb::Currency& amount) = 0;
};

// Which steps a recalculation re-runs, by the input that changed last:
// 1 quantity (and every fill), 2 unit price or trade discount, 3 rebate,
// 4 other formula, anything else none.
inline constexpr int32_t kTriggerQuantity = 1;
inline constexpr int32_t kTriggerTrade = 2;
inline constexpr int32_t kTriggerRebate = 3;
inline constexpr int32_t kTriggerOther = 4;
inline constexpr int32_t kTriggerNone = 5;

class LineCalculation {
 public:
  explicit LineCalculation(const services::NumberFormatService& formatter)
      : formatter_(formatter) {}

  // R2: the value formatted with two decimals and read back as currency.
  // Raises 13 for text that is no number, 6 out of range.
  vb::Currency RoundToCents(const vb::Variant& value) const;

  // price x quantity, the double product converted to currency (6 on
  // overflow).
  static vb::Currency Extend(vb::Currency price, double quantity);

  // Re-runs the discount steps the trigger names, updating the discount
  // amounts of `line` in place; rounds as the dialog has always rounded.
  void RunDiscountChain(int32_t trigger, LineInputs& line, DiscountFormulaStep& step) const;

  // The figures of a line for a tax rate in per cent, from its current
  // discount amounts, unrounded except for the tax (two decimals).
  LineFigures Figures(const LineInputs& line, float tax_rate_percent) const;

  // The refresh of an opened line; raises 11 when the net amount is 0,
  // because the average discount is taken over it.
  SubTotalFigures SubTotals(const LineInputs& line, vb::Currency tax) const;

  // The amount a discount percentage stands for: base x (percent / 100).
  static vb::Currency PercentageAmount(vb::Currency base, double percent);

 private:
  const services::NumberFormatService& formatter_;
};

// Orders take quantities above 0 and below one million.
bool OrderQuantityInRange(double quantity);

}  // namespace kvt::orders
