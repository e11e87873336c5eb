#include "platform/value/error.h"

#include <gtest/gtest.h>

namespace vb {
namespace {

TEST(ErrorTest, FileAndPrinterErrorsHaveTheirOwnDescriptions) {
  EXPECT_EQ(Error::StandardDescription(75), "Path/File access error");
  EXPECT_EQ(Error::StandardDescription(482), "Printer error");
  EXPECT_EQ(Error::StandardDescription(9999), "Application-defined or object-defined error");
}

}  // namespace
}  // namespace vb
