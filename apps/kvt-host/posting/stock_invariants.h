// The figures posting keeps, checked against each other: what a host or a
// test runs to prove the books add up.
#pragma once

#include <string>
#include <vector>

#include "platform/data/connection.h"

namespace kvt::posting {

// One text per breach, empty when every rule holds:
//  - a consignment line: received = sold + returned + left, left >= 0
//    (a line whose left was never counted, Null, is not judged);
//  - a product: stock on hand and consignment stock each equal the sum of
//    its owned and its consignment movements;
//  - an order line: received within ordered plus back order, and equal to
//    the quantities its receiving voucher lines hold;
//  - a received line: returned within received and equal to its return
//    lines; a consignment line's sold equal to its sales.
std::vector<std::string> StockInvariantBreaches(data::Connection& connection);

}  // namespace kvt::posting
