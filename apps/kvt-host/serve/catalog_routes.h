// The routes that read what receiving and buying stand on: suppliers,
// products (looked up by the code a scanner reads), outstanding orders and
// their lines, the orders themselves (listed, read, closed, cancelled), the
// audit trail and the books check.
#pragma once

#include "apps/kvt-host/serve/api_server.h"

namespace kvt::serve {

void AddCatalogRoutes(ApiServer& server);

}  // namespace kvt::serve
