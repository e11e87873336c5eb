// The company's purchase orders as the desk lists them, newest first, a
// page at a time (ten years of orders are never read whole): filtered and
// paged in the database, so a page costs the same however long the history.
// And the suppliers to filter them by. Toolkit-free.
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
  // Ordered on or after / on or before these days; none: no bound.
  std::optional<vb::Date> from;
  std::optional<vb::Date> to;
};

struct OrderList {
  GridTable table;  // Number, Supplier, Date, Status (how far it has come), Total
  std::vector<int32_t> order_ids;
  // True when older orders under the same filter follow the last row.
  bool has_more = false;
  // The last row's date and ID: where the next page starts.
  vb::Variant last_date;
  int32_t last_id = 0;
};

inline constexpr int32_t kOrderPageSize = 200;

// The newest `page_size` orders under `filter`.
OrderList ReadOrderList(data::Connection& connection, int32_t company_id,
                        const OrderListFilter& filter, int32_t page_size = kOrderPageSize);

// Appends to `list` the next older page under the same filter, when it has
// more.
void ReadMoreOrders(data::Connection& connection, int32_t company_id, const OrderListFilter& filter,
                    OrderList& list, int32_t page_size = kOrderPageSize);

// The statement that reads the page after `after`'s last row (its first
// page when it has none), for the plan checks.
struct OrderListQuery {
  std::string sql;
  std::vector<vb::Variant> parameters;
};
OrderListQuery OrderListSql(int32_t company_id, const OrderListFilter& filter,
                            const OrderList& after, int32_t page_size);

// The company's suppliers, (ID, name) by name.
std::vector<std::pair<int32_t, std::string>> ReadSuppliers(data::Connection& connection,
                                                           int32_t company_id);

}  // namespace kvt::host
