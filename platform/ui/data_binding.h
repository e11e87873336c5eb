// kvt::ui::DataBinding — where a data-aware control takes its value from:
// a data source (a record set or a data-provider object), a member of it
// and a field. The control only keeps the binding; the host decides what
// it means. Set DataSource to Nothing to release the source.
#pragma once

#include <string>
#include <string_view>

#include "platform/value/variant.h"

namespace kvt::ui {

struct DataBinding {
  vb::ObjectRef data_source;
  std::string data_member;
  std::string data_field;

  // Late binding of "DataSource", "DataMember" and "DataField". Each
  // returns false for any other name so the control can go on looking.
  bool Get(std::string_view name, vb::Variant& out) const;
  bool Let(std::string_view name, const vb::Variant& value);
  // Only "DataSource" is an object property; an empty reference releases.
  bool Set(std::string_view name, const vb::ObjectRef& value);
};

}  // namespace kvt::ui
