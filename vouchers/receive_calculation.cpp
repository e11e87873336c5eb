#include "vouchers/receive_calculation.h"

#include "component/mod_general.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::vouchers {
namespace {

using component::FormatToDecimals;
using component::FormatTwoDecimals;
using component::ParseNumber;
using vb::Currency;

double Number(const vb::Variant& value) { return vb::CDbl(ParseNumber(value)); }
Currency Amount(const vb::Variant& value) { return vb::CCur(ParseNumber(value)); }

}  // namespace

Currency ReceiveCalculation::RoundToCents(const vb::Variant& value) {
  return Amount(FormatTwoDecimals(value));
}

Currency ReceiveCalculation::PercentOf(double percent, Currency base) {
  return RoundToCents(percent / 100 * base.ToDouble());
}

Currency ReceiveCalculation::TaxOn(Currency net, float rate_percent) {
  // Net times rate is exact in ten-thousandths squared; a hundredth of it
  // in cents is that over 10^8, rounded half away from zero as the
  // two-decimal formatting rounds a decimal. A double (or a single rate)
  // would put 17.5 % of 1.00 just below its half cent.
  __extension__ using Int128 = __int128;
  const Currency rate = Currency::FromDouble(static_cast<double>(rate_percent));
  const Int128 product = static_cast<Int128>(net.raw()) * rate.raw();
  constexpr Int128 kPerCent = 100'000'000;
  Int128 cents = product / kPerCent;
  const Int128 rest = product % kPerCent;
  if (2 * (rest < 0 ? -rest : rest) >= kPerCent) cents += product < 0 ? -1 : 1;
  const Int128 raw = cents * 100;
  if (raw > INT64_MAX || raw < INT64_MIN) throw vb::Error::Overflow();
  return Currency::FromRaw(static_cast<int64_t>(raw));
}

double ReceiveCalculation::PercentageOf(Currency part, Currency base) {
  if (base.raw() == 0) return 0;
  return Number(FormatTwoDecimals(part.ToDouble() / base.ToDouble() * 100));
}

ReceiveLineFigures ReceiveCalculation::Run(const ReceiveLineEntries& in, int16_t selector,
                                           float tax_rate_percent) const {
  ReceiveLineFigures f;
  f.quantity = Number(FormatToDecimals(in.quantity, qty_decimals_));
  f.unit_price = Amount(FormatToDecimals(in.unit_price, price_decimals_));
  f.sub_total = RoundToCents(f.unit_price.ToDouble() * f.quantity);

  // A percentage that is not zero governs its amount.
  f.trade_percent = Number(in.trade_percent);
  f.trade = f.trade_percent == 0 ? Amount(in.trade) : PercentOf(f.trade_percent, f.sub_total);
  f.after_trade = RoundToCents(f.sub_total - f.trade);
  f.rebate_percent = Number(in.rebate_percent);
  f.rebate = f.rebate_percent == 0 ? Amount(in.rebate) : PercentOf(f.rebate_percent, f.after_trade);
  f.other_percent = Number(in.other_percent);
  f.other = f.other_percent == 0 ? Amount(in.other)
                                 : PercentOf(f.other_percent, f.sub_total - (f.trade + f.rebate));
  f.net = Amount(in.net);
  f.tax = Amount(in.tax);
  f.total = Amount(in.total);

  enum class Then { kNetStep, kTaxStep, kNothing } then = Then::kNetStep;
  auto rebate_and_other_from_percentages = [&] {
    f.rebate = PercentOf(f.rebate_percent, f.sub_total - f.trade);
    f.other = PercentOf(f.other_percent, f.sub_total - (f.trade + f.rebate));
  };
  switch (selector) {
    case 0:  // quantity
    case 1:  // unit price
    case 6:  // trade percentage
      f.trade = PercentOf(f.trade_percent, f.sub_total);
      rebate_and_other_from_percentages();
      break;
    case 2: f.trade_percent = PercentageOf(f.trade, f.sub_total); break;
    case 3: f.rebate_percent = PercentageOf(f.rebate, f.sub_total - f.trade); break;
    case 4: f.other_percent = PercentageOf(f.other, f.sub_total - (f.trade + f.rebate)); break;
    case 5: {  // net amount: the price follows from it, discounts go
      f.trade_percent = f.rebate_percent = f.other_percent = 0;
      f.trade = f.rebate = f.other = Currency();
      if (f.quantity == 0) throw vb::Error::DivisionByZero();
      // The price is money: four decimals before it is extended.
      const Currency price = Currency::FromDouble(f.net.ToDouble() / f.quantity);
      f.sub_total = RoundToCents(price.ToDouble() * f.quantity);
      f.unit_price = Amount(FormatToDecimals(price, price_decimals_));
      then = Then::kTaxStep;
      break;
    }
    case 7: rebate_and_other_from_percentages(); break;
    case 8: f.other = PercentOf(f.other_percent, f.sub_total - (f.trade + f.rebate)); break;
    case kSelectorTaxCode: then = Then::kTaxStep; break;
    default: then = Then::kNothing; break;
  }
  if (then == Then::kNetStep) f.net = f.sub_total - (f.trade + f.rebate + f.other);
  if (then != Then::kNothing) {
    f.tax = TaxOn(f.net, tax_rate_percent);
    f.total = f.net + f.tax;
  }
  f.after_trade = f.sub_total - f.trade;
  f.after_rebate = f.sub_total - (f.trade + f.rebate);
  f.balanced = f.net + f.tax == f.total;
  return f;
}

}  // namespace kvt::vouchers
