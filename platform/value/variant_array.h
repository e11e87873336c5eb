// vb::VariantArray — the platform's array of Variants, as Array, Split and
// Filter make them and a Variant holds them.
//
// Each dimension has its own lower and upper bound; an empty array has one
// dimension whose upper bound is one below its lower bound (UBound -1 for
// Array()). Elements are stored with the first index varying fastest, the
// platform's own order.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/value/variant.h"

namespace vb {

class VariantArray {
 public:
  struct Bounds {
    int32_t lower = 0;
    int32_t upper = -1;
    bool operator==(const Bounds&) const = default;
  };

  // An empty array: one dimension from 0 to -1.
  VariantArray() : dimensions_{Bounds{}} {}
  // One dimension from 0, holding `elements`.
  explicit VariantArray(std::vector<Variant> elements);
  // The given dimensions; `elements` holds one value per combination of
  // indices (Empty for the missing ones), first index fastest.
  VariantArray(std::vector<Bounds> dimensions, std::vector<Variant> elements);

  size_t DimensionCount() const { return dimensions_.size(); }
  // Dimension `i`, counting from 0.
  const Bounds& Dimension(size_t i) const { return dimensions_[i]; }
  size_t size() const { return elements_.size(); }
  std::span<const Variant> Elements() const { return elements_; }

  // The element at `indices`, one per dimension; nullptr when their count
  // differs from the dimensions' or one lies outside its bounds (the
  // platform's error 9).
  const Variant* At(std::span<const int32_t> indices) const;

  bool operator==(const VariantArray&) const = default;

 private:
  std::vector<Bounds> dimensions_;
  std::vector<Variant> elements_;
};

}  // namespace vb
