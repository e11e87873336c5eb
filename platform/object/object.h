// kvt::object::Object — a late-bound object: members reached by name at run
// time, the way the host's screens and the component's own forms are used.
//
// Names compare case-insensitively, as the platform's do. Every operation
// that an object does not support raises 438 ("Object doesn't support this
// property or method"); the object decides what else it raises.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/value/variant.h"

namespace kvt::object {

// Arguments of a late-bound call. Passed by reference: a callee may write
// back into them, as the platform's ByRef parameters allow.
using Args = std::span<vb::Variant>;

// True when `a` and `b` name the same member (ASCII case-insensitive).
bool SameName(std::string_view a, std::string_view b);

class Object : public vb::Object {
 public:
  // Reads property `name`; `args` index a parameterised property (a control
  // array's element). An empty name reads the default member. Raises 438.
  virtual vb::Variant Get(std::string_view name, Args args = {});
  // Writes a value property. An empty name writes the default member.
  // Raises 438.
  virtual void Let(std::string_view name, const vb::Variant& value, Args args = {});
  // Writes an object reference property. Raises 438.
  virtual void Set(std::string_view name, const vb::ObjectRef& value, Args args = {});
  // Runs method `name`; returns its result, or Empty for a Sub. Raises 438.
  virtual vb::Variant Call(std::string_view name, Args args = {});

  // Element `index` of a collection or control array: Get("Item", {index})
  // as an object. Raises 9 when there is no such element, 438 when the
  // object is no collection.
  std::shared_ptr<Object> Item(int32_t index);

 protected:
  [[noreturn]] void ThrowNoSuchMember(std::string_view name) const;
};

using ObjectPtr = std::shared_ptr<Object>;

// The late-bound object a Variant holds. Raises 91 when the Variant holds
// no object (Empty, Nothing, a number) and 438 when the object it holds
// cannot be reached by member name.
ObjectPtr AsObject(const vb::Variant& value);

// Convenience forms of the four operations on a Variant that holds an
// object; each raises as AsObject and the member do.
vb::Variant GetProperty(const vb::Variant& target, std::string_view name);
void LetProperty(const vb::Variant& target, std::string_view name, const vb::Variant& value);

}  // namespace kvt::object
