#include "apps/kvt-host/serve/json_body.h"

#include <cmath>
#include <limits>

#include "apps/kvt-host/serve/api_error.h"
#include "platform/value/currency.h"
#include "platform/value/number_text.h"

namespace kvt::serve {

namespace {

using nlohmann::json;

constexpr int64_t kMaxKey = std::numeric_limits<int32_t>::max();
// The largest whole number a Currency holds.
constexpr double kCurrencyLimit =
    static_cast<double>(std::numeric_limits<int64_t>::max() / vb::Currency::kScale);
constexpr int kQuantityDecimals = 4;

[[noreturn]] void BadField(const std::string& field, const std::string& rule) {
  Refuse(400, field, field + " " + rule);
}

// Characters, not bytes: a UTF-8 text's code points.
size_t Characters(const std::string& text) {
  size_t count = 0;
  for (unsigned char c : text) count += (c & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

std::string CheckedText(const std::string& name, const std::string& text, size_t limit) {
  if (text.find('\0') != std::string::npos) BadField(name, "must not contain a NUL character");
  if (Characters(text) > limit) {
    BadField(name, "must be at most " + std::to_string(limit) + " characters long");
  }
  return text;
}

bool WholeNumberIn(const json& value, int64_t low, int64_t high, int64_t& out) {
  if (value.is_number_integer()) {
    if (value.is_number_unsigned()) {
      const uint64_t u = value.get<uint64_t>();
      if (u > static_cast<uint64_t>(high)) return false;
      out = static_cast<int64_t>(u);
    } else {
      out = value.get<int64_t>();
    }
    return out >= low && out <= high;
  }
  return false;
}

}  // namespace

JsonBody::JsonBody(std::string_view text) {
  if (text.empty()) {
    object_ = json::object();
    return;
  }
  object_ = json::parse(text, nullptr, false);
  if (object_.is_discarded()) BadField("body", "is not well-formed JSON");
  if (!object_.is_object()) BadField("body", "must be a JSON object");
}

void JsonBody::Bad(const std::string& name, const std::string& rule) const {
  BadField(prefix_ + name, rule);
}

std::vector<JsonBody> JsonBody::Objects(const char* name, size_t limit) {
  const json* value = Field(name, true);
  if (!value->is_array() || value->empty() || value->size() > limit) {
    Bad(name, "must be a list of 1 to " + std::to_string(limit) + " objects");
  }
  std::vector<JsonBody> list;
  for (size_t i = 0; i < value->size(); ++i) {
    const std::string element = prefix_ + name + "[" + std::to_string(i) + "]";
    if (!(*value)[i].is_object()) BadField(element, "must be an object");
    list.push_back(JsonBody((*value)[i], element + "."));
  }
  return list;
}

const json* JsonBody::Field(const char* name, bool required) {
  read_.insert(name);
  const auto found = object_.find(name);
  if (found == object_.end() || found->is_null()) {
    if (required) Bad(name, "is required");
    return nullptr;
  }
  return &*found;
}

std::optional<std::string> JsonBody::OptionalText(const char* name, size_t limit) {
  const json* value = Field(name, false);
  if (value == nullptr) return std::nullopt;
  if (!value->is_string()) Bad(name, "must be a string");
  return CheckedText(prefix_ + name, value->get_ref<const std::string&>(), limit);
}

std::string JsonBody::Text(const char* name, size_t limit) {
  Field(name, true);
  return *OptionalText(name, limit);
}

std::optional<int32_t> JsonBody::OptionalKey(const char* name) {
  const json* value = Field(name, false);
  if (value == nullptr) return std::nullopt;
  int64_t key = 0;
  if (!WholeNumberIn(*value, 1, kMaxKey, key)) {
    Bad(name, "must be a whole number from 1 to " + std::to_string(kMaxKey));
  }
  return static_cast<int32_t>(key);
}

int32_t JsonBody::Key(const char* name) {
  Field(name, true);
  return *OptionalKey(name);
}

std::optional<double> JsonBody::OptionalQuantity(const char* name) {
  const json* value = Field(name, false);
  if (value == nullptr) return std::nullopt;
  if (!value->is_number()) Bad(name, "must be a number");
  const double qty = value->get<double>();
  if (!std::isfinite(qty)) Bad(name, "must be a finite number");
  if (std::fabs(qty) > kCurrencyLimit) {
    Bad(name, "must be at most " + vb::PlainText(kCurrencyLimit) + " (what the books hold)");
  }
  if (qty <= 0) Bad(name, "must be above zero");
  const double scaled = qty * std::pow(10.0, kQuantityDecimals);
  if (std::fabs(scaled - std::round(scaled)) > 1e-6 * std::max(1.0, std::fabs(scaled))) {
    Bad(name, "must have at most " + std::to_string(kQuantityDecimals) + " decimals");
  }
  return qty;
}

double JsonBody::Quantity(const char* name) {
  Field(name, true);
  return *OptionalQuantity(name);
}

std::optional<bool> JsonBody::OptionalFlag(const char* name) {
  const json* value = Field(name, false);
  if (value == nullptr) return std::nullopt;
  if (!value->is_boolean()) Bad(name, "must be true or false");
  return value->get<bool>();
}

void JsonBody::Done() const {
  for (const auto& [name, value] : object_.items()) {
    if (read_.find(name) == read_.end()) {
      Bad(CheckedText("field", name, kDefaultTextLimit), "is not a field this request takes");
    }
  }
}

int32_t QueryInteger(const std::string& name, const std::optional<std::string>& text, int32_t low,
                     int32_t high, int32_t fallback) {
  if (!text) return fallback;
  const std::optional<int64_t> value = vb::ReadPlainInteger(*text);
  if (!value || *value < low || *value > high) {
    BadField(name,
             "must be a whole number from " + std::to_string(low) + " to " + std::to_string(high));
  }
  return static_cast<int32_t>(*value);
}

std::string QueryText(const std::string& name, const std::optional<std::string>& text,
                      size_t limit) {
  return text ? CheckedText(name, *text, limit) : std::string();
}

int32_t PathKey(const std::string& text) {
  const std::optional<int64_t> value = vb::ReadPlainInteger(text);
  if (!value || *value < 1 || *value > kMaxKey) Refuse(404, "path", "There is no such record.");
  return static_cast<int32_t>(*value);
}

}  // namespace kvt::serve
