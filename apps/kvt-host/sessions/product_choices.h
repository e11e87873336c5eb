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

struct ProductLookup {
  int index = -1;      // the choice named, or -1
  int candidates = 0;  // how many codes the text begins
};

// The choice `typed` names: its whole label, else its code, else the one
// code it begins (all without regard to case or surrounding blanks). Text
// that several codes begin, or none, names nothing.
ProductLookup FindProduct(const std::vector<ProductChoice>& choices, const std::string& typed);

}  // namespace kvt::host
