// `kvt-host users ...`: an administrator manages the users of a database.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kvt::host {

// Runs `users add|remove|grant|revoke|list` with `args` (from the
// word after "users"), writing what it did to `out`. Raises UsageError for
// a command line it cannot follow, vb::Error when the work fails (70 for
// someone who is not an administrator).
int RunUsersCommand(const std::vector<std::string>& args, std::ostream& out);

}  // namespace kvt::host
