// Consignment stock through the API: the supplier's consignment lines and
// what became of them, and a sale off one of them, recorded by the host's
// consignment sale with its rules and words (more than is left, a line
// that is no consignment line: 409).
#pragma once

#include "apps/kvt-host/serve/api_server.h"
#include "apps/kvt-host/serve/sale_keys.h"

namespace kvt::serve {

// A sale sent with an Idempotency-Key is made once under it (`keys`).
void AddConsignmentRoutes(ApiServer& server, SaleKeys& keys);

}  // namespace kvt::serve
