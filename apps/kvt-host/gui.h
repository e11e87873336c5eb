// The reference host on the desktop.
#pragma once

#include <string>

namespace kvt::host {

// Creates the Qt application, opens the database `connection_text` names
// (one of ours, as the caller has checked) and shows the purchase-order
// workbench on an open order: lines are added and edited in the order item
// dialog, the order is saved through the delivery dialog and previewed or
// printed through the desktop's print dialogs. Returns 0 when the window
// closes; failures raise.
int RunGui(int argc, char** argv, const std::string& connection_text);

}  // namespace kvt::host
