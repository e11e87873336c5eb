// The routes that read what receiving and buying stand on: suppliers,
// products (looked up by the code or barcode a scanner reads), outstanding orders and
// their lines, the orders themselves (listed, read, closed, cancelled), the
// audit trail and the books check.
#pragma once

#include <cstdint>
#include <string>

#include "apps/kvt-host/serve/api_server.h"

namespace kvt::serve {

void AddCatalogRoutes(ApiServer& server);

// Order `order_id` as the API shows it: its header and its lines.
nlohmann::json OrderJson(data::Connection& connection, int32_t order_id);

// The product code `scanned` stands for in the company: the code of the
// product whose barcode it is, else `scanned` itself (a code as typed).
std::string ScannedCode(data::Connection& connection, int32_t company_id,
                        const std::string& scanned);

}  // namespace kvt::serve
