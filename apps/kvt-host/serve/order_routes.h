// The routes that write orders: a new order built line by line through the
// order item rules and saved through the delivery dialog (pending, or
// processed at once), a pending order processed, and an order's PDF.
#pragma once

#include "apps/kvt-host/serve/api_server.h"

namespace kvt::serve {

void AddOrderRoutes(ApiServer& server);

}  // namespace kvt::serve
