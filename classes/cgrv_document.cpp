// CGRV's printed vouchers.
#include "classes/cgrv_members.h"

namespace kvt::classes {

void BindCGRVDocumentMembers(CGRVTable&) {}

}  // namespace kvt::classes
