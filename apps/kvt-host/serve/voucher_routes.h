// The routes of vouchers: capturing one (a draft: lines through the
// receive item rules, scans by product code), posting it once whatever the
// retries, and the posted voucher's PDF.
#pragma once

#include "apps/kvt-host/serve/api_server.h"
#include "apps/kvt-host/serve/voucher_drafts.h"

namespace kvt::serve {

void AddVoucherRoutes(ApiServer& server, DraftStore& drafts);

}  // namespace kvt::serve
