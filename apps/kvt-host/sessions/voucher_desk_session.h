// The desk's voucher screens over the host's voucher sessions: a
// VoucherSession of one kind, its record sets turned into the desk's grids
// with human captions and the company's decimals. Toolkit-free.
#pragma once

#include <memory>

#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/sessions/voucher_screen_session.h"
#include "apps/kvt-host/posting/voucher.h"

namespace kvt::host {

// The voucher screen of `type` (19, 20, 31 or 32) at `desk`, which outlives
// it. The company's decimals are read again whenever a supplier is chosen,
// so a change on the settings screen shows on the next voucher. Raises 5
// for another type.
std::unique_ptr<VoucherScreenSession> OpenVoucherScreen(const DeskContext& desk,
                                                        posting::TransactionType type);

}  // namespace kvt::host
