// The company's purchase orders as the desk lists them, newest first, and
// the suppliers to filter them by. Toolkit-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "apps/kvt-host/sessions/grid_table.h"
#include "apps/kvt-host/sessions/order_ending.h"
#include "platform/data/connection.h"

namespace kvt::host {

struct OrderListFilter {
  int32_t supplier_id = 0;  // 0: every supplier
  // Only orders this far (order_ending.h); none: every order.
  std::optional<OrderProgress> progress;
};

struct OrderList {
  GridTable table;  // Number, Supplier, Date, Status (how far it has come), Total
  std::vector<int32_t> order_ids;
};

OrderList ReadOrderList(data::Connection& connection, int32_t company_id,
                        const OrderListFilter& filter);

// The company's suppliers, (ID, name) by name.
std::vector<std::pair<int32_t, std::string>> ReadSuppliers(data::Connection& connection,
                                                           int32_t company_id);

}  // namespace kvt::host
