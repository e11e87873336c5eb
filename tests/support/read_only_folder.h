// Test helper: a database file in a folder that takes no new files, seen
// as a user without the right to write there sees it. Tests run as root,
// who may write anywhere: the calling thread then checks files as the
// user "nobody" (its file-system user, which takes root's file rights
// away from this thread alone) until the helper goes; otherwise the folder
// is made read-only.
#pragma once

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "db/demo_database.h"

namespace kvt::test_support {

class ReadOnlyFolderDatabase {
 public:
  static constexpr uid_t kNobody = 65534;

  // The demo database in a folder of its own, itself writable by the user
  // (`file_writable`) or not.
  ReadOnlyFolderDatabase(const std::string& stem, bool file_writable)
      : folder_(std::filesystem::temp_directory_path() /
                (stem + "_" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / "demo.sqlite").string();
    db::CreateDemoDatabase(path_);
    if (::geteuid() == 0) {
      if (file_writable && ::chown(path_.c_str(), kNobody, static_cast<gid_t>(-1)) != 0) return;
      ::setfsuid(kNobody);
      as_nobody_ = true;
    } else {
      if (!file_writable) ::chmod(path_.c_str(), 0444);
      ::chmod(folder_.c_str(), 0555);
    }
  }
  ~ReadOnlyFolderDatabase() {
    if (as_nobody_) ::setfsuid(0);
    ::chmod(folder_.c_str(), 0755);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  ReadOnlyFolderDatabase(const ReadOnlyFolderDatabase&) = delete;
  ReadOnlyFolderDatabase& operator=(const ReadOnlyFolderDatabase&) = delete;

  const std::string& Path() const { return path_; }
  std::string Folder() const { return folder_.string(); }

 private:
  std::filesystem::path folder_;
  std::string path_;
  bool as_nobody_ = false;
};

}  // namespace kvt::test_support
