#include "platform/data/sqlite_file_guard.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <utility>

namespace kvt::data::detail {
namespace {

// Where the engine's unix locks lie: the shared range of the database file
// (after the pending and reserved bytes at 1 GiB), and the write-ahead
// index's "in use" byte after its eight lock slots.
constexpr off_t kPendingByte = 0x40000000;
constexpr off_t kSharedFirst = kPendingByte + 2;
constexpr off_t kSharedSize = 510;
constexpr off_t kIndexInUseByte = 128;

// What the process holds on one database file.
struct FileHold {
  int database_fd = -1;
  int index_fd = -1;
  int connections = 0;  // of the process, open on the file
  int guarded = 0;      // of those, the ones that want the locks
};

std::mutex& HoldsMutex() {
  static std::mutex mutex;
  return mutex;
}
std::map<std::pair<dev_t, ino_t>, FileHold>& Holds() {
  static std::map<std::pair<dev_t, ino_t>, FileHold> holds;
  return holds;
}

bool Lock(int fd, short type, off_t start, off_t length, int command = F_OFD_SETLK) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = start;
  lock.l_len = length;
  return fd >= 0 && ::fcntl(fd, command, &lock) == 0;
}

// Whether anyone but `fd`'s own description holds a lock on the range that
// an exclusive lock would meet.
bool RangeHeld(int fd, off_t start, off_t length) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = start;
  lock.l_len = length;
  return fd >= 0 && ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

int OpenForLocks(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
}

bool FileKey(const std::string& path, dev_t& device, ino_t& inode) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  device = info.st_dev;
  inode = info.st_ino;
  return true;
}

// The hold on the file, its descriptors opened when missing. Under the
// mutex.
FileHold& HoldOn(const std::string& path, dev_t device, ino_t inode) {
  FileHold& hold = Holds()[{device, inode}];
  if (hold.database_fd < 0) hold.database_fd = OpenForLocks(path);
  if (hold.index_fd < 0) hold.index_fd = OpenForLocks(path + "-shm");
  return hold;
}

// Closes the hold's descriptors once no connection of the process is on
// the file: then no lock of the process can depend on them. Under the
// mutex.
void CloseWhenUnused(dev_t device, ino_t inode) {
  const auto found = Holds().find({device, inode});
  if (found == Holds().end() || found->second.connections > 0) return;
  for (int fd : {found->second.database_fd, found->second.index_fd}) {
    if (fd >= 0) ::close(fd);
  }
  Holds().erase(found);
}

}  // namespace

SqliteFileGuard::SqliteFileGuard(const std::string& path, bool write_ahead_log) {
  if (!FileKey(path, device_, inode_)) return;
  const std::lock_guard<std::mutex> locked(HoldsMutex());
  FileHold& hold = HoldOn(path, device_, inode_);
  ++hold.connections;
  counted_ = true;
  if (!write_ahead_log) return;
  if (hold.guarded == 0 && !(Lock(hold.index_fd, F_RDLCK, kIndexInUseByte, 1) &&
                             Lock(hold.database_fd, F_RDLCK, kSharedFirst, kSharedSize))) {
    Lock(hold.index_fd, F_UNLCK, kIndexInUseByte, 1);
    return;
  }
  ++hold.guarded;
  guarding_ = true;
}

SqliteFileGuard::SqliteFileGuard(SqliteFileGuard&& other) noexcept
    : device_(other.device_),
      inode_(other.inode_),
      counted_(std::exchange(other.counted_, false)),
      guarding_(std::exchange(other.guarding_, false)) {}

SqliteFileGuard& SqliteFileGuard::operator=(SqliteFileGuard&& other) noexcept {
  if (this != &other) {
    Forget();
    device_ = other.device_;
    inode_ = other.inode_;
    counted_ = std::exchange(other.counted_, false);
    guarding_ = std::exchange(other.guarding_, false);
  }
  return *this;
}

void SqliteFileGuard::Release() {
  if (!guarding_) return;
  guarding_ = false;
  const std::lock_guard<std::mutex> locked(HoldsMutex());
  const auto found = Holds().find({device_, inode_});
  if (found == Holds().end() || --found->second.guarded > 0) return;
  Lock(found->second.database_fd, F_UNLCK, kSharedFirst, kSharedSize);
  Lock(found->second.index_fd, F_UNLCK, kIndexInUseByte, 1);
}

void SqliteFileGuard::Forget() {
  Release();
  if (!counted_) return;
  counted_ = false;
  const std::lock_guard<std::mutex> locked(HoldsMutex());
  const auto found = Holds().find({device_, inode_});
  if (found == Holds().end()) return;
  --found->second.connections;
  CloseWhenUnused(device_, inode_);
}

bool DatabaseInUse(const std::string& path) {
  dev_t device = 0;
  ino_t inode = 0;
  if (!FileKey(path, device, inode)) return false;
  const std::lock_guard<std::mutex> locked(HoldsMutex());
  const FileHold& hold = HoldOn(path, device, inode);
  const bool held = RangeHeld(hold.database_fd, kSharedFirst, kSharedSize) ||
                    RangeHeld(hold.index_fd, kIndexInUseByte, 1) || hold.connections > 0;
  CloseWhenUnused(device, inode);
  return held;
}

}  // namespace kvt::data::detail
