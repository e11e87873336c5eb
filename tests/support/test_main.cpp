// Main of the test programs. Like a host, the program first takes the C
// library's locale from the environment (LANG, LC_ALL), so that the suite
// run under a comma-decimal locale shows any number text that follows it.
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
