// Reading a request's JSON body and query, field by field, under the rules
// every route shares: the body is one JSON object; each field has the type
// asked for; texts hold no NUL and stay within their length; numbers are
// finite and within what the books hold (a Currency); fields the route does
// not know are refused. Every refusal is a 400 naming the field and the
// rule. Never raises anything but ApiError.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace kvt::serve {

// The longest text a field takes unless the route says otherwise.
inline constexpr size_t kDefaultTextLimit = 200;

class JsonBody {
 public:
  // Refuses (400, field "body") text that is no JSON object. An empty body
  // reads as an empty object.
  explicit JsonBody(std::string_view text);

  // The text field `name`: refused when missing (unless optional), not a
  // string, longer than `limit` characters or holding a NUL.
  std::string Text(const char* name, size_t limit = kDefaultTextLimit);
  std::optional<std::string> OptionalText(const char* name, size_t limit = kDefaultTextLimit);
  // A record's key: a whole number from 1 to 2^31-1.
  int32_t Key(const char* name);
  std::optional<int32_t> OptionalKey(const char* name);
  // A quantity: a finite number above zero that a Currency holds, with at
  // most four decimals.
  double Quantity(const char* name);
  std::optional<double> OptionalQuantity(const char* name);
  std::optional<bool> OptionalFlag(const char* name);
  // The list of objects `name` (1 to `limit` of them), each read as a body
  // of its own whose refusals name it ("lines[2].qty").
  std::vector<JsonBody> Objects(const char* name, size_t limit);

  // Refuses the first field no reader asked for. Call after reading.
  void Done() const;

 private:
  JsonBody(nlohmann::json object, std::string prefix)
      : object_(std::move(object)), prefix_(std::move(prefix)) {}
  const nlohmann::json* Field(const char* name, bool required);
  [[noreturn]] void Bad(const std::string& name, const std::string& rule) const;

  nlohmann::json object_;
  std::string prefix_;
  std::set<std::string, std::less<>> read_;
};

// A query parameter read as a whole number within [low, high]; `fallback`
// when absent. Refuses (400, naming it) anything else.
int32_t QueryInteger(const std::string& name, const std::optional<std::string>& text, int32_t low,
                     int32_t high, int32_t fallback);
// A query parameter's text, refused when longer than `limit` or holding a
// NUL; empty when absent.
std::string QueryText(const std::string& name, const std::optional<std::string>& text,
                      size_t limit = kDefaultTextLimit);

// A record key from the path ("/api/orders/123"): 404 when it is no key.
int32_t PathKey(const std::string& text);

}  // namespace kvt::serve
