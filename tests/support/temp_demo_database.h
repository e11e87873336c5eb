// Test helper: the demo database in a temporary file of its own, removed
// when the helper goes.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "db/demo_database.h"

namespace kvt::test_support {

class TempDemoDatabase {
 public:
  explicit TempDemoDatabase(const std::string& stem)
      : path_((std::filesystem::temp_directory_path() /
               (stem + "_" + std::to_string(::getpid()) + ".sqlite"))
                  .string()) {
    // A file left by a crashed run of the same pid; creating never replaces.
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
    db::CreateDemoDatabase(path_);
  }
  ~TempDemoDatabase() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TempDemoDatabase(const TempDemoDatabase&) = delete;
  TempDemoDatabase& operator=(const TempDemoDatabase&) = delete;

  const std::string& Path() const { return path_; }
  std::string ConnectionText() const { return db::ConnectionTextFor(path_); }

 private:
  std::string path_;
};

}  // namespace kvt::test_support
