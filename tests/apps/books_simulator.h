// A books simulator: random purchasing work driven through the host's
// sessions (orders with formulas and typed discounts, edits, partial and
// over receipts, returns, consignment receipts, sales and returns, two
// clerks posting at once), with every rule of the books checked after each
// step (posting::StockInvariantBreaches). A failing run is shrunk to the
// shortest list of operations that still fails.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "apps/kvt-host/posting/voucher.h"
#include "platform/data/connection.h"

namespace kvt::host::books {

enum class OpKind { kOrder, kEditOrder, kReceive, kConsign, kReturn, kSell, kConsignReturn, kRace };

// One operation. What it works on is chosen when it runs, from what the
// database holds then (`pick` modulo the candidates), so that any sub-list
// of operations still runs.
struct Op {
  OpKind kind = OpKind::kOrder;
  uint32_t pick = 0;
  uint32_t variant = 0;  // products, typed discounts, document numbers
  double share = 0.5;    // of what may be taken; above 1 asks for too much
};

std::string Describe(const Op& op);

// `count` operations drawn from `seed`; the same seed gives the same list.
std::vector<Op> RandomOps(uint64_t seed, size_t count);

struct RunResult {
  size_t steps = 0;  // operations run, the failing one included
  std::optional<size_t> failed_at;
  std::string failure;  // the breaches, or what was raised
  // What the run booked: vouchers posted, orders saved, sales recorded.
  int64_t vouchers = 0, orders = 0, sales = 0;
};

// A goods received voucher of one line drawing `qty` (as typed) on order
// line `line` of order `order_id`, as a host posting without the desk
// would write it: no prices, a total of 1.00, the demo's current period.
posting::Voucher OneLineReceipt(int32_t supplier_id, int32_t order_id, int32_t line,
                                const std::string& qty);

// Runs `ops` on a fresh demo database of `backend`, checking the books
// after each, up to the first failure.
RunResult RunOps(data::Backend backend, const std::vector<Op>& ops);

// The shortest sub-list of `ops` (which fail) found that still fails,
// removing chunks and then single operations while the run keeps failing.
std::vector<Op> Shrink(data::Backend backend, std::vector<Op> ops);

}  // namespace kvt::host::books
