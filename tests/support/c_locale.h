// Test helper: the C library's locale switched for a scope, as a host's
// toolkit switches it at start-up (QApplication reads LANG and LC_ALL).
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace kvt::test_support {

// Comma decimal point, dot grouping: the locale that exposes number text
// that follows the C library instead of the platform's rules.
inline constexpr char kCommaDecimalLocale[] = "de_DE.UTF-8";

class ScopedCLocale {
 public:
  explicit ScopedCLocale(const char* name) : previous_(std::setlocale(LC_ALL, nullptr)) {
    // A missing locale would turn the test into one that cannot fail.
    if (std::setlocale(LC_ALL, name) == nullptr) {
      ADD_FAILURE() << name << " is not installed; scripts/setup.sh generates it";
    }
  }
  ~ScopedCLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
  ScopedCLocale(const ScopedCLocale&) = delete;
  ScopedCLocale& operator=(const ScopedCLocale&) = delete;

 private:
  std::string previous_;
};

}  // namespace kvt::test_support
