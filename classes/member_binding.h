// What COrder's and CGRV's member tables have in common: the shared
// settings, properties bound from a dialog's property table, operations and
// the record sets that arrive as Variants.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

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

// A late-bound argument converted to the type a member takes, as the
// language converts it (CLng for Long, CStr for String, ...); an argument
// left out gives the type's default value.
template <class T>
T ArgumentAs(object::Args args, size_t index) {
  if (index >= args.size()) return T{};
  const vb::Variant& value = args[index];
  if constexpr (std::is_same_v<T, vb::Variant>) {
    return value;
  } else if constexpr (std::is_same_v<T, bool>) {
    return vb::CBool(value);
  } else if constexpr (std::is_same_v<T, uint8_t>) {
    return vb::CByte(value);
  } else if constexpr (std::is_same_v<T, int16_t>) {
    return vb::CInt(value);
  } else if constexpr (std::is_same_v<T, int32_t>) {
    return vb::CLng(value);
  } else if constexpr (std::is_enum_v<T>) {
    return static_cast<T>(vb::CLng(value));
  } else if constexpr (std::is_same_v<T, double>) {
    return vb::CDbl(value);
  } else if constexpr (std::is_same_v<T, std::string>) {
    return vb::CStr(value);
  } else if constexpr (std::is_same_v<T, vb::Date>) {
    return vb::CDate(value);
  } else {
    static_assert(std::is_same_v<T, void>, "no late-bound conversion to this type");
  }
}

// Binds the operation `name` to `member` by its signature, so the member is
// written once: the call takes the member's arguments (the last `optional`
// of them may be left out), converted by their types, raises 450 for any
// other count, and answers the member's result (Empty for none).
template <class Class, class Result, class... Params>
void BindCall(object::MemberTable<Class>& table, std::string_view name,
              Result (Class::*member)(Params...), size_t optional = 0) {
  table.Call(name, [member, optional](Class& self, object::Args args) -> vb::Variant {
    constexpr size_t kCount = sizeof...(Params);
    ExpectArguments(args, kCount - optional, kCount);
    auto call = [&]<size_t... I>(std::index_sequence<I...>) {
      return (self.*member)(ArgumentAs<std::remove_cvref_t<Params>>(args, I)...);
    };
    if constexpr (std::is_void_v<Result>) {
      call(std::index_sequence_for<Params...>{});
      return {};
    } else {
      return vb::Variant(call(std::index_sequence_for<Params...>{}));
    }
  });
}

// An operation without arguments.
template <class Class>
void BindOperation(object::MemberTable<Class>& table, std::string_view name, void (Class::*run)()) {
  BindCall(table, name, run);
}

// A read-only Boolean answered by the class.
template <class Class>
void BindFlag(object::MemberTable<Class>& table, std::string_view name, bool (Class::*get)()) {
  table.Get(name, [get](Class& self, object::Args) -> vb::Variant { return (self.*get)(); });
}

}  // namespace kvt::classes
