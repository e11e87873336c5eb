// A books simulator: random purchasing work driven through the host's
// sessions (orders with formulas and typed discounts, edits, partial and
// over receipts, returns, consignment receipts, sales and returns, two
// clerks posting at once), with every rule of the books checked after each
// step (posting::StockInvariantBreaches). A seed gives the same operations
// every time, so a failing seed is its own reproduction.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// Runs `ops` on a fresh demo database of `backend`, checking the books
// after each, up to the first failure.
RunResult RunOps(data::Backend backend, const std::vector<Op>& ops);

}  // namespace kvt::host::books
