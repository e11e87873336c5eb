// The failure styles: what an operation does when one of its statements
// fails. Every operation names its style at its top by calling one of these
// with its body, so the body reads straight through:
//
//   RaiseToCaller    nothing is trapped; the failure reaches the caller as it
//                    is (written out so the style is visible where it is one).
//   RaiseAs          any failure reaches the caller as one number and source,
//                    keeping the caught description.
//   StopSilently     the operation ends at its first failure, silently; what it
//                    already did stays.
//   PassOver         one statement of an operation that passes failures over
//                    statement by statement: a failure skips that statement.
//   WarnAndGoOn      as PassOver, but each failure is shown to the user first.
//   AnswerOnFailure  a question that answers a fallback when asking fails.
//
// One catch policy serves them all (CaughtError): a vb::Error stays itself,
// an allocation failure becomes 7, any other exception 51.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/value/error.h"

namespace vb {

// The failure being handled, as an Error. Call only inside a catch block.
Error CaughtError() noexcept;

template <class Body>
decltype(auto) RaiseToCaller(Body&& body) {
  return std::forward<Body>(body)();
}

template <class Body>
decltype(auto) RaiseAs(int32_t number, const std::string& source, Body&& body) {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    throw Error(number, source, CaughtError().description());
  }
}

// Returns the failure as a value (no error when the body ran through).
template <class Body>
ErrorData StopSilently(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
    return {};
  } catch (...) {
    return ErrorData(CaughtError());
  }
}

template <class Statement>
ErrorData PassOver(Statement&& statement) noexcept {
  return StopSilently(std::forward<Statement>(statement));
}

// `warn` is called with the statement's Error; whatever it raises is
// passed over too.
template <class Warn, class Statement>
void WarnAndGoOn(Warn&& warn, Statement&& statement) noexcept {
  ErrorData failure = StopSilently(std::forward<Statement>(statement));
  if (failure.HasError()) StopSilently([&] { warn(failure.error()); });
}

template <class T, class Body>
T AnswerOnFailure(T fallback, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return fallback;
  }
}

}  // namespace vb
