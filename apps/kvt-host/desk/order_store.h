// Reading and writing one purchase order as the desk keeps it: the header
// with its delivery address, and the lines. Plain SQL through the desk's
// connection; toolkit-free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/data/connection.h"
#include "platform/value/date.h"

namespace kvt::host {

inline constexpr int32_t kOrderPending = 0;
inline constexpr int32_t kOrderProcessed = 1;
inline constexpr int32_t kOrderClosed = 2;

// "Pending", "Processed", "Closed".
std::string OrderStatusText(int32_t status);

struct DeliveryAddress {
  std::string name, address1, address2, address3, post_code;

  bool operator==(const DeliveryAddress&) const = default;
};

struct OrderHeader {
  int32_t order_id = 0;  // 0 until the order is first saved
  int32_t supplier_id = 0;
  std::string supplier_name;
  std::string supplier_rep;
  std::string order_number;
  vb::Date date_ordered;
  int32_t status = kOrderPending;
  std::string our_ref, supplier_ref, message;
  DeliveryAddress delivery;
};

// The saved header of order `order_id`. Raises 3021 when there is none.
OrderHeader ReadOrderHeader(data::Connection& connection, int32_t order_id);

// A new pending order of today for supplier `supplier_id`, numbered after
// the company's highest order number and delivered to the company's own
// address. Raises 3021 when the company has no such supplier.
OrderHeader NewOrderHeader(data::Connection& connection, int32_t company_id, int32_t supplier_id);

// "PO" and six digits, one above the highest number of that form the
// company's orders use ("PO000001" for the first).
std::string NextOrderNumber(data::Connection& connection, int32_t company_id);

// Writes the order's lines from `lines` (the order-detail row layout):
// saved lines are updated, their received quantities kept; new ones are
// inserted. Leaves the set at its end. Runs in the caller's transaction.
void WriteOrderLines(data::Connection& connection, int32_t order_id, data::RecordSet& lines);

// Writes the whole order in one transaction: a new header is inserted under
// the next free number (order_id and order_number are set), a saved one
// updated; then the lines, and the removal of `removed_line_ids`. A removed
// line that has goods received against it refuses the save (5), as do
// the engine's errors; nothing is written then.
void WriteOrder(data::Connection& connection, int32_t company_id, OrderHeader& header,
                data::RecordSet& lines, const std::vector<int32_t>& removed_line_ids);

// The quantity received to date on order line `line_id` (0 when none).
double QtyReceived(data::Connection& connection, int32_t line_id);

// The saved order as text, header and lines: two readings differ exactly
// when someone changed the order in between. Empty for an order not saved.
std::string OrderFingerprint(data::Connection& connection, int32_t order_id);

}  // namespace kvt::host
