// The host's refusals of a voucher or a sale: messages for the user that
// name the line, the product and the quantities involved.
#pragma once

#include <cstdint>
#include <string>

namespace kvt::posting {

// Raises kPostingRefused with `message` as description.
[[noreturn]] void Refuse(const std::string& message, const std::string& context = {});

// A quantity as a user reads it ("12", "2.5").
std::string QtyText(double qty);

// "NUT-M10 (Hex nut M10, box of 200)"; the product key when the product
// has neither code nor name.
std::string ProductText(const std::string& code, const std::string& name, int32_t product_id);

}  // namespace kvt::posting
