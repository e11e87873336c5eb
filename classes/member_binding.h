// What COrder's and CGRV's member tables have in common: the shared
// settings, properties bound from a dialog's property table, operations and
// the record sets that arrive as Variants.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "component/dialog_property.h"
#include "component/mod_publics.h"
#include "platform/object/member_table.h"
#include "platform/value/conversions.h"

namespace kvt::data {
class RecordSet;
}

namespace kvt::classes {

// The record set a Variant holds: raises 91 for no object, 13 for an object
// of another kind.
data::RecordSet& RecordSetOf(const vb::Variant& value);

// Raises 450 unless `args` holds between `least` and `most` arguments.
void ExpectArguments(object::Args args, size_t least, size_t most);
inline void ExpectArguments(object::Args args, size_t count) {
  ExpectArguments(args, count, count);
}

// ConnectionString, CompanyID, QtyDecimals and PriceDecimals: set only,
// written to the thread's store through the class's typed setters.
template <class Class>
void BindSharedSettings(object::MemberTable<Class>& table) {
  table.Let("ConnectionString",
            [](Class& self, object::Args args) { self.ConnectionString(vb::CStr(args.back())); });
  auto number = [&table](std::string_view name, void (Class::*let)(int32_t)) {
    table.Let(name, [let](Class& self, object::Args args) { (self.*let)(vb::CLng(args.back())); });
  };
  number("CompanyID", &Class::CompanyID);
  number("QtyDecimals", &Class::QtyDecimals);
  number("PriceDecimals", &Class::PriceDecimals);
}

// One Get and/or Let per row of a dialog's property table, reaching the
// dialog through `dialog` at each call.
template <class Class, class Form>
void BindProperties(object::MemberTable<Class>& table,
                    std::span<const component::DialogProperty<Form>> rows, Form& (*dialog)()) {
  for (const component::DialogProperty<Form>& row : rows) {
    const component::DialogProperty<Form>* property = &row;
    if (row.CanGet()) {
      table.Get(row.name, [property, dialog](Class&, object::Args) {
        return component::GetProperty(dialog(), *property);
      });
    }
    if (row.CanLet()) {
      table.Let(row.name, [property, dialog](Class&, object::Args args) {
        component::LetProperty(dialog(), *property, args.back());
      });
    }
  }
}

// An operation without arguments.
template <class Class>
void BindOperation(object::MemberTable<Class>& table, std::string_view name, void (Class::*run)()) {
  table.Call(name, [run](Class& self, object::Args args) -> vb::Variant {
    ExpectArguments(args, 0);
    (self.*run)();
    return {};
  });
}

// A read-only Boolean answered by the class.
template <class Class>
void BindFlag(object::MemberTable<Class>& table, std::string_view name, bool (Class::*get)()) {
  table.Get(name, [get](Class& self, object::Args) -> vb::Variant { return (self.*get)(); });
}

}  // namespace kvt::classes
