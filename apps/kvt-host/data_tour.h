// The data tour: builds the demo database and shows what the data services
// return for a few of the calls the component makes.
#pragma once

#include <ostream>
#include <string>

namespace kvt::host {

// Creates the demo database where `connection_text` points (replacing an
// SQLite file, or a server database's schema) and
// prints a formula lookup list, a supplier's outstanding orders, an order's
// outstanding lines, the current accounting period and saved control
// values to `out`. Returns 0, or 1 after printing the error's number and
// description when a call fails.
int RunDataTour(const std::string& connection_text, std::ostream& out);

}  // namespace kvt::host
