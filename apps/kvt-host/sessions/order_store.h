// Reading and writing one purchase order as the desk keeps it: the header
// with its delivery address, and the lines. Plain SQL through the desk's
// connection; toolkit-free.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/data/connection.h"
#include "platform/value/date.h"
#include "platform/value/error.h"
#include "platform/value/variant.h"

namespace kvt::host {

inline constexpr int32_t kOrderPending = 0;
inline constexpr int32_t kOrderProcessed = 1;
inline constexpr int32_t kOrderClosed = 2;
inline constexpr int32_t kOrderCancelled = 3;

// Raised, with the message for the buyer as description, when an order was
// saved by someone else since it was opened; nothing is written then.
inline constexpr int32_t kOrderChangedElsewhere = vb::vbObjectError + 3110;

// "Pending", "Processed", "Closed", "Cancelled".
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
  int32_t row_version = 0;  // the save it was read from; 0 for a new order
  // For a closed or cancelled order: who ended it, and when (Null before).
  std::string ended_by;
  vb::Variant ended_at;
};

// The saved lines as read when the order was opened, by line ID: the
// values a save writes, so that it writes only the lines that changed.
using SavedLines = std::map<int32_t, std::vector<vb::Variant>>;

// The saved header of order `order_id`. Raises 3021 when there is none.
OrderHeader ReadOrderHeader(data::Connection& connection, int32_t order_id);

// A new pending order of today for supplier `supplier_id`, numbered after
// the company's highest order number and delivered to the company's own
// address. Raises 3021 when the company has no such supplier.
OrderHeader NewOrderHeader(data::Connection& connection, int32_t company_id, int32_t supplier_id);

// "PO" and six digits, one above the highest number of that form the
// company's orders use ("PO000001" for the first).
std::string NextOrderNumber(data::Connection& connection, int32_t company_id);

// What a save writes of the current line of `lines`, and whether two such
// readings are the same (Null apart, compared as text).
std::vector<vb::Variant> LineValues(data::RecordSet& lines);
bool SameValues(const std::vector<vb::Variant>& a, const std::vector<vb::Variant>& b);

// What a save writes of each saved line of `lines` (the order-detail row
// layout), by line ID. Leaves the set at its end.
SavedLines ReadSavedLines(data::RecordSet& lines);

// Why the order's lines cannot be booked as they stand, or empty: the first
// line whose quantity, back order or price the books cannot hold, or that
// is ordered below what the database has received on it
// (posting::OrderLineRefusal), named "Line 2 (Hex bolt M10)".
std::string LinesRefusal(data::Connection& connection, data::RecordSet& lines);

// Writes the whole order in one transaction as `user_name`'s save: a new
// header is inserted under the next free number (order_id and
// order_number are set), a saved one updated when it is still at
// header.row_version; then the lines, and the removal of
// `removed_line_ids`. Of the saved lines only those that differ from
// `opened` are written (received quantities never are). The header's
// row_version is the new one afterwards.
// Refuses, writing nothing: an order someone else saved since it was read
// (kOrderChangedElsewhere, with ChangedElsewhereMessage), lines the books
// cannot hold (5, with LinesRefusal's message), a removed line
// that has goods received against it (5), and the engine's errors.
void WriteOrder(data::Connection& connection, int32_t company_id, OrderHeader& header,
                data::RecordSet& lines, const SavedLines& opened,
                const std::vector<int32_t>& removed_line_ids, const std::string& user_name);

// Why `header` may not be saved over what is saved now ("PO000123 was
// changed by dana at 10:42; reload it"), or empty when the saved order is
// still at header.row_version (a new order always is).
std::string ChangeRefusal(data::Connection& connection, const OrderHeader& header);

// The refusal's words: the time alone for a change of `today`, else the
// date too; "someone else" for nobody named.
std::string ChangedElsewhereMessage(const std::string& order_number, const std::string& who,
                                    const vb::Variant& when, const vb::Date& today);

// The quantity received to date on order line `line_id` (0 when none).
double QtyReceived(data::Connection& connection, int32_t line_id);

}  // namespace kvt::host
