// modGeneral — the value helpers used wherever a number crosses between a
// control's text and arithmetic. Free functions, no state of their own.
#pragma once

#include <cstdint>
#include <string>

#include "platform/value/variant.h"

namespace kvt::ui {
class DataCombo;
}

namespace kvt::component {

// The value a control shows, by its type name compared case-insensitively:
// a "TextBox" gives its Text, a "Label" its Caption, unchanged (a String),
// or the Integer 0 when that text is empty; any other control, a value
// that is no object, or a failure while reading gives Empty. Never raises.
vb::Variant GetControlValue(const vb::Variant& control);

// A number read from user-entered or stored text: the Integer 0 when the
// value fails the locale's numeric test (empty text, Null, "12abc");
// otherwise the value as text with every "," removed, read by Val (so "."
// is the decimal point whatever the locale) and returned as a Double.
// Never raises for a value that passes the numeric test.
vb::Variant ParseNumber(const vb::Variant& value);

// ParseNumber(value) rendered by the thread's NumberFormatService with
// `decimals` decimals, a leading zero, a minus sign and thousands grouped
// ("1,234.500" for 1234.5 with 3). Whatever the service raises reaches the
// caller.
std::string FormatToDecimals(const vb::Variant& value, int32_t decimals);
// FormatToDecimals(value, 2).
std::string FormatTwoDecimals(const vb::Variant& value);

// The lookup binder of both item dialogs: fills `list` with the rows of
// "sp_AO_Select_Order_Lups <formula_type>,<CompanyID>" (1 to 3 discount
// formulas, 4 tax codes), listing column 1 and bound to column 0. Each step
// is attempted whatever happened to the one before; never raises.
void BindLookupList(ui::DataCombo& list, int formula_type);

}  // namespace kvt::component
