// The failure styles operations declare at their top. Each runs the body
// and decides what a failure does; the body reads straight through.
#pragma once

#include <exception>
#include <utility>

#include "platform/value/error.h"

namespace kvt::component {

// Ends the operation at its first failure, silently; what the body already
// did stays. Returns the failure as a value (no error when it ran through).
template <class Body>
vb::ErrorData EndSilentlyOnFailure(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
    return {};
  } catch (const vb::Error& error) {
    return vb::ErrorData(error);
  } catch (const std::exception& error) {
    return vb::ErrorData(vb::Error(vb::err::kInvalidCall, {}, error.what()));
  }
}

// Answers the body's result, or `fallback` when it fails.
template <class T, class Body>
T AnswerOnFailure(T fallback, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return fallback;
  }
}

// Runs one statement of an operation that passes failures over statement
// by statement: a failure skips this statement only.
template <class Statement>
void PassOver(Statement&& statement) noexcept {
  try {
    std::forward<Statement>(statement)();
  } catch (...) {
  }
}

}  // namespace kvt::component
