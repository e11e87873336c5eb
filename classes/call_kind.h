// The public CallKind of the classes' late binding, as the member tables
// take it.
#pragma once

#include "kvt/enumerations.h"
#include "platform/object/member_table.h"

namespace kvt::classes {

inline object::InvokeKind ToInvokeKind(CallKind kind) {
  switch (kind) {
    case CallKind::kGet: return object::InvokeKind::kGet;
    case CallKind::kLet: return object::InvokeKind::kLet;
    case CallKind::kSet: return object::InvokeKind::kSet;
    case CallKind::kCall: break;
  }
  return object::InvokeKind::kCall;
}

}  // namespace kvt::classes
