// Test helper: a shell command line run in a folder of the test's own, as a
// user runs it there, with nothing to read on its input.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/file_text.h"

namespace kvt::test_support {

struct ShellOutcome {
  int status;  // exit status; 128 + n after signal n
  std::string out, err;
};

inline ShellOutcome RunShell(const std::filesystem::path& folder, const std::string& command) {
  const int status = std::system(
      ("cd '" + folder.string() + "' && { " + command + "; } >.out 2>.err </dev/null").c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
          FileText(folder / ".out"), FileText(folder / ".err")};
}

}  // namespace kvt::test_support
