// The lines a voucher line draws on: a purchase-order line that receives,
// a received line that takes a return, a consignment line that stock is
// returned or sold from. Each draw is one conditional update inside the
// posting's transaction: it changes the line only when the line still
// allows the quantity, so two clerks at once can never take more than is
// there.
#pragma once

#include <cstdint>
#include <string>

#include "platform/data/connection.h"

namespace kvt::posting {

enum class Draw {
  kReceive,            // order line: received += qty, up to ordered + B/O
  kReturnReceived,     // received line: returned += qty, up to received
  kReturnConsignment,  // consignment line: left -> returned
  kSellConsignment,    // consignment line: left -> sold
};

struct DrawRequest {
  int32_t line_id = 0;     // PurchaseOrderDetails.ID or GRVDetails.ID
  int32_t owner_id = 0;    // the order or the voucher the line must be on
  int32_t product_id = 0;  // the product the line must be for; 0: any
  double qty = 0;
  std::string line_label;   // "Line 2", "The sale": for messages
  std::string owner_label;  // "order PO000110", "voucher CRV000401"
};

// Draws `request.qty` on the line. Refuses (kPostingRefused) a line that is
// not on the owner, is for another product, or does not allow the
// quantity; the message names the product and the quantities.
void DrawOnLine(data::Connection& connection, Draw draw, const DrawRequest& request);

}  // namespace kvt::posting
