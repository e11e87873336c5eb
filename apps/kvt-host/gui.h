// The reference host on the desktop.
#pragma once

#include <string>

namespace kvt::host {

// Creates the Qt application and shows the purchasing desk on the database
// `connection_text` names (one of ours, as the caller has checked), for
// `user_name` (empty: the database's first user) of the demo company:
// purchase orders listed, opened, edited through the component's dialogs,
// saved and printed; settings kept where the component reads them. Returns
// 0 when the window closes; failures to open raise.
int RunGui(int argc, char** argv, const std::string& connection_text, const std::string& user_name);

}  // namespace kvt::host
