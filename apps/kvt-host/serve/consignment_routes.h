// Consignment stock through the API: the supplier's consignment lines and
// what became of them, and a sale off one of them, recorded by the host's
// consignment sale with its rules and words (more than is left, a line
// that is no consignment line: 409).
#pragma once

#include "apps/kvt-host/serve/api_server.h"

namespace kvt::serve {

void AddConsignmentRoutes(ApiServer& server);

}  // namespace kvt::serve
