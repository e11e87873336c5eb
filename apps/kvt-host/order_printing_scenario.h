// The host's purchase-order screen bound to a saved order, headless, and the
// order printed to PDF files: the first print and a reprint.
#pragma once

#include <ostream>
#include <string>

namespace kvt::host {

// Opens the database `connection_text` names, binds demo order PO000102 onto the order
// screen through COrder (header and product details), writes what the
// screen shows to `out`, then has COrder print the order twice through a
// headless output into `out_dir`: purchase-order-PO000102.pdf and
// purchase-order-PO000102-reprint.pdf (marked "Re-Print"), and writes both
// paths. Creates a QGuiApplication when there is none. Returns 0 when the
// header was bound and both files were written, 1 otherwise (what failed
// is written to `out`).
int RunPurchaseOrderPrinting(const std::string& connection_text, const std::string& out_dir,
                             std::ostream& out);

}  // namespace kvt::host
