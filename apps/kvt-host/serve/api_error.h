// A request the API refuses: the HTTP status, the field at fault and the
// rule it broke, answered as {"error": {"status", "field", "message"}}.
// Handlers throw it; the server turns it (and the component's errors)
// into the answer, so no handler writes an error body itself.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "platform/value/error.h"

namespace kvt::serve {

struct ApiError {
  int status = 400;
  std::string field;    // "qty", "body", "path"; empty when no field is at fault
  std::string message;  // the rule broken, or the component's own words
};

[[noreturn]] void Refuse(int status, std::string field, std::string message);

// The answer for an error the host or the component raised: 403 for a
// permission refusal, 404 for a missing record, 409 for a posting refusal or
// an order changed elsewhere, 422 for the component's other refusals of
// what was asked (bad procedure call, type mismatch), 500 for the rest
// (whose description is still the host's words, never a stack).
ApiError ApiErrorOf(const vb::Error& error);

nlohmann::json ErrorJson(const ApiError& error);

// `value` as text for an answer: invalid UTF-8 from the database is
// replaced rather than raised.
std::string JsonText(const nlohmann::json& value);

}  // namespace kvt::serve
