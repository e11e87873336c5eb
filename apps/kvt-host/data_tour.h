// The data tour: shows what the data services return for a few of the calls
// the component makes, on the demo database.
#pragma once

#include <ostream>
#include <string>

namespace kvt::host {

// Prints the connection text of the demo database `connection_text` names
// (where a server's database is, instead of a text with a password), a
// formula lookup list, a supplier's outstanding orders, an order's
// outstanding lines, the current accounting period and saved control values
// to `out`. Returns 0, or 1 after printing the error's number and
// description when a call fails.
int RunDataTour(const std::string& connection_text, std::ostream& out);

}  // namespace kvt::host
