// DialogProperty — a property of COrder or CGRV that lives in a control of
// one of the component's dialogs. Each class declares its properties once,
// as rows of a table next to the dialog: the name, the access, the control
// and index, and how the value crosses. The table drives both the late-bound
// member table and the typed members; nothing keeps a copy of the value.
//
// A form type F that has properties declares `enum class F::Array` (its
// control arrays) and `ui::Control& F::Element(F::Array, int index)`, which
// reaches the control by its type.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/object/object.h"
#include "platform/ui/control.h"
#include "platform/value/variant.h"

namespace kvt::component {

enum class Access : uint8_t { kLetGet, kLetOnly, kGetOnly };

// What of the control carries the value.
enum class Facet : uint8_t {
  kValue,      // Text of a text box, Caption of a label or button, BoundText
               // of a list, Value of a check box
  kShownText,  // the text a list shows
  kEnabled,    // whether the control takes input
  kChosen,     // whether an option button is the selected one
};

// How a value crosses the class interface.
enum class ValueType : uint8_t { kText, kLong, kBoolean };

template <class Form>
struct DialogProperty {
  using Array = typename Form::Array;

  std::string_view name;
  Access access;
  Array array;
  int index;
  Facet facet = Facet::kValue;
  ValueType type = ValueType::kText;
  // A Let that also writes a second control (a hidden carrier of the
  // value); none when `also_index` is -1.
  Array also_array{};
  int also_index = -1;
  // For the few properties whose rule a row cannot state.
  vb::Variant (*get)(Form&) = nullptr;
  void (*let)(Form&, const vb::Variant&) = nullptr;

  bool CanGet() const { return access != Access::kLetOnly; }
  bool CanLet() const { return access != Access::kGetOnly; }
};

// The facet's value as a Variant (String, or Boolean for kEnabled and
// kChosen and a check box's Value as Integer). Raises 438 when the
// control has no such facet.
vb::Variant ReadFacet(const ui::Control& control, Facet facet);
// Writes the facet as the control's setter does (Change events included).
void WriteFacet(ui::Control& control, Facet facet, const vb::Variant& value);
// `value` converted as the property's type asks: CStr, CLng or CBool.
vb::Variant ConvertValue(const vb::Variant& value, ValueType type);

// The row named `name` (compared as the platform compares member names).
// A name the table lacks is a programming error: std::logic_error.
template <class Form>
const DialogProperty<Form>& FindProperty(std::span<const DialogProperty<Form>> table,
                                         std::string_view name) {
  for (const DialogProperty<Form>& row : table) {
    if (object::SameName(row.name, name)) return row;
  }
  throw std::logic_error("no dialog property " + std::string(name));
}

template <class Form>
vb::Variant GetProperty(Form& form, const DialogProperty<Form>& row) {
  if (row.get != nullptr) return row.get(form);
  vb::Variant value = ReadFacet(form.Element(row.array, row.index), row.facet);
  return ConvertValue(value, row.type);
}

template <class Form>
void LetProperty(Form& form, const DialogProperty<Form>& row, const vb::Variant& value) {
  vb::Variant converted = ConvertValue(value, row.type);
  if (row.let != nullptr) {
    row.let(form, converted);
    return;
  }
  WriteFacet(form.Element(row.array, row.index), row.facet, converted);
  if (row.also_index >= 0) {
    WriteFacet(form.Element(row.also_array, row.also_index), row.facet, converted);
  }
}

}  // namespace kvt::component
