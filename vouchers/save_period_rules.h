// The company's rules on the accounting period a voucher is posted to, as
// plain decisions over period keys. A key is a text whose order is the
// period order (ControlSettings::PeriodKey); a key that could not be built
// is the empty text, which orders before every other, so a check whose
// step failed goes on with what it has.
#pragma once

#include <string_view>

#include "component/mod_publics.h"

namespace kvt::vouchers {

// What the rules say about the chosen period measured against the current
// accounting period.
enum class PeriodRuling {
  kCurrent,         // the current period: accepted, nothing more is checked
  kAllowed,         // another period the rules allow; closing is checked next
  kPriorRefused,    // before the current period: message, then restore
  kFutureRefused,   // after it: message, then restore
  kFutureRestored,  // after it under auto-advance: restored without a message
};

PeriodRuling RulePeriod(std::string_view chosen, std::string_view current,
                        const component::PostingRules& rules);

// Whether the last supplier period procedure (`last`) closed the chosen
// period: it is at or before that period.
bool ClosedBySupplierProcedure(std::string_view chosen, std::string_view last);

}  // namespace kvt::vouchers
