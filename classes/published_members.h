// The published members of COrder and CGRV in slot order: the classes'
// interface definition. Slot n is the n-th name (from 0); the member tables
// bind behaviour to these names.
#pragma once

#include <string>
#include <vector>

namespace kvt::classes {

const std::vector<std::string>& COrderPublishedMembers();
const std::vector<std::string>& CGRVPublishedMembers();

}  // namespace kvt::classes
