// CGRV's member table is bound area by area, each area in its own file next
// to the members it defines.
#pragma once

#include "kvt/CGRV.h"
#include "platform/object/member_table.h"

namespace kvt::classes {

using CGRVTable = object::MemberTable<CGRV>;

void BindCGRVQueryMembers(CGRVTable& table);
void BindCGRVLineMembers(CGRVTable& table);
void BindCGRVHeaderMembers(CGRVTable& table);
void BindCGRVSaveMembers(CGRVTable& table);
void BindCGRVDocumentMembers(CGRVTable& table);

}  // namespace kvt::classes
