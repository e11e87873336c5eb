// What an order's save changed, for the audit trail: the header's fields
// and each line, before and after.
#pragma once

#include <cstdint>
#include <vector>

#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/sessions/order_store.h"
#include "platform/data/record_set.h"

namespace kvt::host {

// The audit row of the save that turns `before` (order_id 0 for a new
// order) into `after`, with `lines` as saved (the set is left at its end),
// `opened` the lines as they were read and `removed_line_ids` the lines
// taken out.
access::AuditEntry OrderSaveEntry(int32_t company_id, const OrderHeader& before,
                                  const OrderHeader& after, data::RecordSet& lines,
                                  const SavedLines& opened,
                                  const std::vector<int32_t>& removed_line_ids);

}  // namespace kvt::host
