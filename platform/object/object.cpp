#include "platform/object/object.h"

#include "platform/value/error.h"
#include "platform/value/text.h"

namespace kvt::object {

bool SameName(std::string_view a, std::string_view b) { return vb::SameText(a, b); }

vb::Variant Object::Get(std::string_view name, Args) { ThrowNoSuchMember(name); }

void Object::Let(std::string_view name, const vb::Variant&, Args) { ThrowNoSuchMember(name); }

void Object::Set(std::string_view name, const vb::ObjectRef&, Args) { ThrowNoSuchMember(name); }

vb::Variant Object::Call(std::string_view name, Args) { ThrowNoSuchMember(name); }

ObjectPtr Object::Item(int32_t index) {
  vb::Variant arg(index);
  return AsObject(Get("Item", Args(&arg, 1)));
}

void Object::ThrowNoSuchMember(std::string_view name) const {
  throw vb::Error::NoSuchMember(TypeName(), std::string(name));
}

ObjectPtr AsObject(const vb::Variant& value) {
  const vb::ObjectRef* held = value.get_if<vb::ObjectRef>();
  if (held == nullptr || *held == nullptr) throw vb::Error::ObjectNotSet();
  auto late_bound = std::dynamic_pointer_cast<Object>(*held);
  if (late_bound == nullptr) {
    throw vb::Error::NoSuchMember((*held)->TypeName());
  }
  return late_bound;
}

vb::Variant GetProperty(const vb::Variant& target, std::string_view name) {
  return AsObject(target)->Get(name);
}

void LetProperty(const vb::Variant& target, std::string_view name, const vb::Variant& value) {
  AsObject(target)->Let(name, value);
}

}  // namespace kvt::object
