// Goods received against an outstanding purchase order, headless: the host
// lists a supplier's orders that still have stock to come and the lines of
// one, a scripted clerk receives each line through the receive item dialog
// (and corrects one), the lines land in the host's voucher detail set and
// the header strip shows the order and the voucher's totals.
#pragma once

#include <ostream>
#include <string>

namespace kvt::host {

// Plays the scenario on the database of `connection_text` for supplier
// `supplier_id` and writes a transcript to `out`. Returns 0 when every line
// came back as the clerk left it, 1 otherwise.
int RunReceivingScenario(const std::string& connection_text, int16_t supplier_id,
                         std::ostream& out);

}  // namespace kvt::host
