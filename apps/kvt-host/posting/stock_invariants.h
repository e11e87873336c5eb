// The figures posting keeps, checked against each other: what the main
// job, the tests and the books simulator run to prove the books add up.
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
//    lines; a consignment line's sold equal to its sales;
//  - a drawn line (received, returned, consignment): its discounts at its
//    source line's rates;
//  - a company's vouchers of one kind: numbers unique and without gaps;
//  - a supplier document: its amount the total of its voucher, and its
//    number used once per supplier and kind.
std::vector<std::string> StockInvariantBreaches(data::Connection& connection);

}  // namespace kvt::posting
