// Stock movements: every change of a product's stock figures is a signed
// movement row, and the figure moves by the movements' sum, so "stock
// equals the sum of its movements" holds by construction.
#pragma once

#include <cstdint>

#include "apps/kvt-host/posting/voucher_kind.h"
#include "platform/data/connection.h"
#include "platform/value/date.h"

namespace kvt::posting {

// One movement per line of voucher `voucher_id`, in on receipts and out on
// returns, of owned stock or of consignment stock as `kind` says; then the
// products' figures move by them. Run inside the posting's transaction.
void MoveVoucherStock(data::Connection& connection, int32_t voucher_id, const VoucherKind& kind);

// The consignment stock sold off consignment line `line_id`: one movement
// out, and the product's consignment stock falls by `qty`.
void MoveSoldStock(data::Connection& connection, int32_t line_id, double qty, const vb::Date& date,
                   int32_t user_id);

}  // namespace kvt::posting
