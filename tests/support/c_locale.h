// Test helper: the C library's locale switched for a scope, as a host's
// toolkit switches it at start-up.
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace kvt::test_support {

// Comma decimal point, dot grouping (scripts/setup.sh generates it).
inline constexpr char kCommaDecimalLocale[] = "de_DE.UTF-8";

class ScopedCLocale {
 public:
  explicit ScopedCLocale(const char* name) : previous_(std::setlocale(LC_ALL, nullptr)) {
    // Without the locale the test could not fail.
    if (std::setlocale(LC_ALL, name) == nullptr) ADD_FAILURE() << name << " is not installed";
  }
  ~ScopedCLocale() { std::setlocale(LC_ALL, previous_.c_str()); }

 private:
  std::string previous_;
};

}  // namespace kvt::test_support
