#include "orders/line_calculation.h"

#include <cmath>

#include "component/mod_general.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "services/number_format_service.h"

namespace kvt::orders {

using vb::Currency;

Currency LineCalculation::RoundToCents(const vb::Variant& value) const {
  return vb::CCur(formatter_.FormatAmount(value, 2, -1, 0, -1));
}

Currency LineCalculation::Extend(Currency price, double quantity) {
  return Currency::FromDouble(price.ToDouble() * quantity);
}

void LineCalculation::RunDiscountChain(int32_t trigger, LineInputs& line,
                                       DiscountFormulaStep& step) const {
  const double quantity = line.order_qty + line.back_order_qty;
  // The preliminary subtotals, before any step rounds or re-evaluates.
  const Currency gross0 = Extend(line.price, quantity);
  const Currency after_trade0 = gross0 - line.trade;

  // The rebate and other steps on a given subtotal after trade.
  auto from_rebate = [&](Currency after_trade) {
    step.Apply(Discount::kRebate, after_trade, line.rebate);
    Currency after_rebate = RoundToCents(after_trade - line.rebate);
    step.Apply(Discount::kOther, after_rebate, line.other);
  };
  switch (trigger) {
    case kTriggerQuantity:
    case kTriggerTrade: {
      // Rounded from the double product: 1.2562 x 0.8 is 1.00, not 1.01.
      Currency gross = RoundToCents(line.price.ToDouble() * quantity);
      step.Apply(Discount::kTrade, gross, line.trade);
      from_rebate(RoundToCents(gross - line.trade));
      break;
    }
    case kTriggerRebate:
      line.trade = RoundToCents(line.trade);
      from_rebate(RoundToCents(gross0 - line.trade));
      break;
    case kTriggerOther:
      line.rebate = RoundToCents(line.rebate);
      step.Apply(Discount::kOther, RoundToCents(after_trade0 - line.rebate), line.other);
      break;
    default: break;
  }
}

LineFigures LineCalculation::Figures(const LineInputs& line, float tax_rate_percent) const {
  LineFigures out;
  out.gross = Extend(line.price, line.order_qty + line.back_order_qty);
  out.after_trade = out.gross - line.trade;
  out.after_rebate = out.after_trade - line.rebate;
  out.net = out.after_rebate - line.other;

  auto percent_of = [](Currency part, Currency base) {
    return base.raw() == 0 ? 0.0 : part.ToDouble() / base.ToDouble() * 100;
  };
  out.trade_percent = percent_of(line.trade, out.gross);
  out.rebate_percent = percent_of(line.rebate, out.after_trade);
  out.other_percent = percent_of(line.other, out.after_rebate);
  out.average_percent =
      Currency::FromDouble(percent_of(line.trade + line.rebate + line.other, out.gross));

  // The rate is a single, and so is rate / 100; the product with the net
  // (a double) is read back through its text form before it is rounded to
  // cents, as the two-decimal value helper does.
  const float rate = tax_rate_percent / 100.0f;
  const double tax = out.net.ToDouble() * static_cast<double>(rate);
  out.tax = RoundToCents(component::ParseNumber(tax));
  out.total = out.net + out.tax;

  if (line.order_qty != 0) {
    out.new_cost_per_unit = out.net.ToDouble() / std::fabs(line.order_qty);
  }
  return out;
}

SubTotalFigures LineCalculation::SubTotals(const LineInputs& line, Currency tax) const {
  SubTotalFigures out;
  out.gross = Extend(line.price, line.order_qty + line.back_order_qty);
  out.after_trade = out.gross - line.trade;
  out.after_rebate = out.after_trade - line.rebate;
  out.net = out.after_rebate - line.other;
  out.tax = tax;
  // Over the net, not the gross: an opened line shows it this way until
  // its next full recalculation. A zero net is a division by zero.
  if (out.net.raw() == 0) throw vb::Error::DivisionByZero();
  out.average_percent = Currency::FromDouble((line.trade + line.rebate + line.other).ToDouble() /
                                             out.net.ToDouble() * 100);
  out.total = out.net + tax;
  return out;
}

Currency LineCalculation::PercentageAmount(Currency base, double percent) {
  return Currency::FromDouble(base.ToDouble() * (percent / 100));
}

bool OrderQuantityInRange(double quantity) { return quantity > 0 && quantity < 1000000; }

}  // namespace kvt::orders
