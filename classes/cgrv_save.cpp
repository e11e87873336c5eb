// CGRV's save voucher dialog members.
#include "classes/cgrv_members.h"

namespace kvt::classes {

void BindCGRVSaveMembers(CGRVTable&) {}

}  // namespace kvt::classes
