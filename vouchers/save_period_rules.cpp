#include "vouchers/save_period_rules.h"

namespace kvt::vouchers {

PeriodRuling RulePeriod(std::string_view chosen, std::string_view current,
                        const component::PostingRules& rules) {
  if (chosen == current) return PeriodRuling::kCurrent;
  if (chosen < current) {
    return rules.prior_periods ? PeriodRuling::kAllowed : PeriodRuling::kPriorRefused;
  }
  if (rules.future_periods) return PeriodRuling::kAllowed;
  return rules.auto_advance ? PeriodRuling::kFutureRestored : PeriodRuling::kFutureRefused;
}

bool ClosedBySupplierProcedure(std::string_view chosen, std::string_view last) {
  return chosen <= last;
}

}  // namespace kvt::vouchers
