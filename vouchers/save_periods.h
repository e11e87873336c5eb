// The accounting periods the save voucher dialog asks the database about,
// through the thread's DataGateway, each call on a new connection with the
// shared connection text. Outputs are the caller's own variables, written
// only when the procedure ran; Null when it found no row. Each raises what
// the gateway raises (a missing procedure, a failing body, no database).
#pragma once

#include <cstdint>
#include <string>

#include "platform/value/variant.h"

namespace kvt::vouchers {

// "sp_AB_Current_Accounting_Period"'s outputs, in their order.
struct CurrentPeriod {
  vb::Variant month;
  vb::Variant name;    // not used by the dialog
  vb::Variant status;  // not used by the dialog
  vb::Variant year_key;
  vb::Variant year;       // the calendar year
  vb::Variant period_id;  // not used by the dialog
};

// The company's current accounting period.
void ReadCurrentPeriod(int32_t company_id, CurrentPeriod& period);
// The year key of calendar year `year` into `year_key`.
void ReadYearKey(int32_t year, vb::Variant& year_key);
// The month and year key in which the company's last supplier period
// procedure ran.
void ReadLastSupplierProcedure(int32_t company_id, vb::Variant& month, vb::Variant& year_key);

// The period key of a month and a year key (ControlSettings::PeriodKey on
// the thread's ControlSettings). Raises 13 or 94 for values that are no
// numbers, and what PeriodKey raises for numbers that make no period.
std::string PeriodKeyOf(const vb::Variant& month, const vb::Variant& year_key);

}  // namespace kvt::vouchers
