#include "apps/kvt-host/sessions/product_choices.h"

#include <algorithm>

#include "platform/value/conversions.h"
#include "platform/value/text.h"

namespace kvt::host {
namespace {

std::string Folded(std::string_view text) {
  std::string folded = vb::Trim(text);
  // ASCII only: a code's case never depends on the process locale.
  for (char& c : folded) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return folded;
}

std::string TextOf(data::RecordSet& rows, const char* field) {
  const vb::Variant value = rows.Item(field).Value();
  return value.IsNull() ? std::string() : vb::CStr(value);
}

}  // namespace

std::string ProductChoice::Label() const { return code + " \u2014 " + description; }

std::vector<ProductChoice> ProductChoicesOf(data::RecordSet& products) {
  std::vector<ProductChoice> choices;
  if (products.RecordCount() != 0) {
    for (products.MoveFirst(); !products.IsEOF(); products.MoveNext()) {
      choices.push_back({vb::CLng(products.Item("ID").Value()), TextOf(products, "Code"),
                         TextOf(products, "Product")});
    }
  }
  std::stable_sort(choices.begin(), choices.end(),
                   [](const ProductChoice& a, const ProductChoice& b) {
                     return Folded(a.code) < Folded(b.code);
                   });
  return choices;
}

std::vector<int> ChoicesBeginning(const std::vector<ProductChoice>& choices,
                                  const std::string& typed, size_t limit) {
  const std::string wanted = Folded(typed);
  // The choices are in folded code order: the ones wanted follow each other.
  auto at = std::lower_bound(choices.begin(), choices.end(), wanted,
                             [](const ProductChoice& choice, const std::string& text) {
                               return Folded(choice.code) < text;
                             });
  std::vector<int> found;
  for (; at != choices.end() && found.size() < limit; ++at) {
    if (Folded(at->code).rfind(wanted, 0) != 0) break;
    found.push_back(static_cast<int>(at - choices.begin()));
  }
  return found;
}

ProductLookup FindProduct(const std::vector<ProductChoice>& choices, const std::string& typed) {
  ProductLookup lookup;
  const std::string wanted = Folded(typed);
  if (wanted.empty()) return lookup;
  int prefixed = -1;
  for (size_t i = 0; i < choices.size(); ++i) {
    const std::string code = Folded(choices[i].code);
    if (code.rfind(wanted, 0) == 0) {
      prefixed = static_cast<int>(i);
      ++lookup.candidates;
    }
    if (Folded(choices[i].Label()) == wanted || code == wanted) lookup.index = static_cast<int>(i);
  }
  if (lookup.index < 0 && lookup.candidates == 1) lookup.index = prefixed;
  return lookup;
}

}  // namespace kvt::host
