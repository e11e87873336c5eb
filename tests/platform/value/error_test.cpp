#include "platform/value/error.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

TEST(ErrorTest, StandardDescriptionsOfTheNumbersThePlatformRaises) {
  struct Case {
    int32_t number;
    const char* description;
  } cases[] = {
      {75, "Path/File access error"},
      {482, "Printer error"},
      {err::kOverflow, "Overflow"},
      {9999, "Application-defined or object-defined error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(Error::StandardDescription(c.number), c.description);
  }
}

}  // namespace
}  // namespace vb
