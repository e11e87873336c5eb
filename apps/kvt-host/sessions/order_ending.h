// A buyer ends a purchase order: closed, when what is still to come is no
// longer expected (it stops being offered for receiving), or cancelled,
// when nothing was received against it. Either is recorded with who and
// when. And how far an order has come, as the order list shows it.
// Toolkit-free.
#pragma once

#include <cstdint>
#include <string>

#include "apps/kvt-host/sessions/order_store.h"
#include "platform/data/connection.h"

namespace kvt::host {

// How far an order has come: its saved status, and for a processed order
// what was received against its lines.
enum class OrderProgress { kPending, kOpen, kPartReceived, kReceived, kClosed, kCancelled };

// From the saved status, how many lines still have goods to come and how
// many have had any received.
OrderProgress ProgressOf(int32_t status, int32_t lines_to_come, int32_t lines_with_receipts);
// "Pending", "Open", "Part received", "Received", "Closed", "Cancelled".
std::string ProgressText(OrderProgress progress);

enum class OrderEnd { kClose, kCancel };

// Why the order of `status`, with `received` goods received against it,
// may not be ended so; empty when it may.
std::string EndRefusal(const std::string& order_number, int32_t status, double received,
                       OrderEnd end);

// Ends the saved order `header` as `user_name`'s act, now, when it is still
// at header.row_version; the header is the saved one afterwards. Raises,
// writing nothing: 5 with EndRefusal's words, kOrderChangedElsewhere when
// someone saved the order since it was read.
void EndOrder(data::Connection& connection, OrderHeader& header, OrderEnd end,
              const std::string& user_name);

}  // namespace kvt::host
