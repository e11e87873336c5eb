#include "classes/member_binding.h"

#include "platform/data/record_set.h"
#include "platform/value/error.h"

namespace kvt::classes {

data::RecordSet& RecordSetOf(const vb::Variant& value) {
  const vb::ObjectRef* object = value.get_if<vb::ObjectRef>();
  if (object == nullptr || *object == nullptr) throw vb::Error::ObjectNotSet();
  auto* rows = dynamic_cast<data::RecordSet*>(object->get());
  if (rows == nullptr) throw vb::Error::TypeMismatch();
  return *rows;
}

void ExpectArguments(object::Args args, size_t least, size_t most) {
  if (args.size() < least || args.size() > most) {
    throw vb::Error::Numbered(vb::err::kWrongArgumentCount);
  }
}

}  // namespace kvt::classes
