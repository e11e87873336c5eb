// A purchase order built line by line on the demo database, headless: the
// host fills the order item dialog through COrder, a scripted buyer edits
// and accepts each line, the lines land in the host's order-detail set and
// the header labels show the order's totals.
#pragma once

#include <ostream>
#include <string>

namespace kvt::host {

// Plays the scenario on the demo database `connection_text` names (which
// must exist)
// and writes a transcript to `out`. Returns 0 when every line came back as
// the buyer left it, 1 otherwise.
int RunOrderLinesScenario(const std::string& connection_text, std::ostream& out);

}  // namespace kvt::host
