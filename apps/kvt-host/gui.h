// The reference host on the desktop.
#pragma once

#include <functional>
#include <string>

namespace kvt::host {

// Creates the Qt application and shows the purchasing desk on the database
// `connection_text` names, for `user_name` (empty: the database's first
// user) of the demo company: purchase orders listed, opened, edited
// through the component's dialogs, saved and printed; settings kept where
// the component reads them. With `after_login`, the desk first asks who
// logs in to the server (LoginDialog, offering `user_name` or the last
// user), then hands the logged-in connection text to `after_login`, which
// checks the database and gives 0 when the desk may show it (else the
// status to return). Without it the caller has checked the database.
// Returns 0 when the window closes; failures to open raise, and 5 when
// nobody logged in.
int RunGui(int argc, char** argv, const std::string& connection_text, const std::string& user_name,
           const std::function<int(const std::string&)>& after_login = nullptr);

}  // namespace kvt::host
