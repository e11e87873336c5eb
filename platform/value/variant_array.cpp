#include "platform/value/variant_array.h"

namespace vb {

VariantArray::VariantArray(std::vector<Variant> elements)
    : dimensions_{Bounds{0, static_cast<int32_t>(elements.size()) - 1}},
      elements_(std::move(elements)) {}

VariantArray::VariantArray(std::vector<Bounds> dimensions, std::vector<Variant> elements)
    : dimensions_(std::move(dimensions)), elements_(std::move(elements)) {
  if (dimensions_.empty()) dimensions_.push_back(Bounds{});
  size_t count = 1;
  for (const Bounds& bounds : dimensions_) {
    count *= bounds.upper < bounds.lower ? 0 : static_cast<size_t>(bounds.upper - bounds.lower) + 1;
  }
  elements_.resize(count);
}

const Variant* VariantArray::At(std::span<const int32_t> indices) const {
  if (indices.size() != dimensions_.size()) return nullptr;
  size_t offset = 0;
  size_t stride = 1;
  for (size_t i = 0; i < indices.size(); ++i) {
    const Bounds& bounds = dimensions_[i];
    if (indices[i] < bounds.lower || indices[i] > bounds.upper) return nullptr;
    offset += static_cast<size_t>(indices[i] - bounds.lower) * stride;
    stride *= static_cast<size_t>(bounds.upper - bounds.lower) + 1;
  }
  return &elements_[offset];
}

}  // namespace vb
