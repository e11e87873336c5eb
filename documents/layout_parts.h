// Pieces the documents' layout tables share: named boxes and rules, added
// to a band as a group.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>

#include "platform/report/section.h"

namespace kvt::documents {

// One field bound at run time: the print-data column and the field it feeds.
struct ColumnBinding {
  const char* column;
  const char* field;
};

// The supplier's and the own company's details, bound alike on every
// document.
inline constexpr ColumnBinding kPartyBindings[] = {
    {"Supp Name", "fldRHSupName"},
    {"Supp PostBox", "fldRHSupPOBox"},
    {"Supp PostOffice", "fldRHSupPostOffice"},
    {"Supp PostCode", "fldRHSupPostCode"},
    {"Supp TelNo", "fldRHSupTelNo"},
    {"Supp FaxNo", "fldRHSupFaxNo"},
    {"Supp TaxNo", "fldRHSupTaxNo"},
    {"Co Name", "fldRHCoName"},
    {"Co RegNo", "fldRHCoRegNo"},
    {"Co Address1", "fldRHCoPOBox"},
    {"Co Address2", "fldRHCoPostOffice"},
    {"Co PostCode", "fldRHCoPostCode"},
    {"Co TelNo", "fldRHCoTelNo"},
    {"Co FaxNo", "fldRHCoFaxNo"},
    {"Co TaxNo", "fldRHCoTaxNo"},
};

// kPartyBindings followed by `rest`, sized by the rows of both.
template <size_t N>
constexpr std::array<ColumnBinding, std::size(kPartyBindings) + N> WithPartyBindings(
    const ColumnBinding (&rest)[N]) {
  std::array<ColumnBinding, std::size(kPartyBindings) + N> all{};
  size_t at = 0;
  for (const ColumnBinding& binding : kPartyBindings) all[at++] = binding;
  for (const ColumnBinding& binding : rest) all[at++] = binding;
  return all;
}

// A text control of a layout table: a label with its caption, or a field
// the print data fills.
enum class TextKind { Label, Field };

inline report::ReportControl& AddText(report::Section& section, TextKind kind, const char* name,
                                      const report::Rect& rect, const char* caption) {
  return kind == TextKind::Label ? section.AddLabel(name, rect, caption)
                                 : section.AddField(name, rect);
}

struct NamedBox {
  const char* name;
  report::Rect rect;
};

struct NamedRule {
  const char* name;
  report::Segment segment;
};

// Adds `boxes` to `section`, moved down by `dy`.
inline void AddBoxes(report::Section& section, std::span<const NamedBox> boxes, int32_t dy = 0) {
  for (const NamedBox& box : boxes) section.AddBox(box.name, box.rect.Offset(0, dy));
}

// Adds `rules` to `section`, moved down by `dy`.
inline void AddRules(report::Section& section, std::span<const NamedRule> rules, int32_t dy = 0) {
  for (const NamedRule& rule : rules) section.AddLine(rule.name, rule.segment.Offset(0, dy));
}

}  // namespace kvt::documents
