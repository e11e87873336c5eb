// The products a buyer picks from when adding an order line, shown as
// "CODE — Description" in code order, and the reading of what was typed.
// Toolkit-free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/data/record_set.h"

namespace kvt::host {

struct ProductChoice {
  int32_t id = 0;
  std::string code;
  std::string description;

  // "CODE — Description".
  std::string Label() const;
};

// The rows of a product list (columns "ID", "Code", "Product"), sorted by
// code without regard to case.
std::vector<ProductChoice> ProductChoicesOf(data::RecordSet& products);

// The choices whose code `typed` begins (without regard to case or
// surrounding blanks), at most `limit` of them in code order: what a
// picker offers as the buyer types, without going through the catalogue.
// Every choice's code begins an empty text.
std::vector<int> ChoicesBeginning(const std::vector<ProductChoice>& choices,
                                  const std::string& typed, size_t limit);

struct ProductLookup {
  int index = -1;      // the choice named, or -1
  int candidates = 0;  // how many codes the text begins
};

// The choice `typed` names: its whole label, else its code, else the one
// code it begins (all without regard to case or surrounding blanks). Text
// that several codes begin, or none, names nothing.
ProductLookup FindProduct(const std::vector<ProductChoice>& choices, const std::string& typed);

}  // namespace kvt::host
