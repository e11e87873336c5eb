// Locks that keep other processes from taking an SQLite database's files
// away from the connections of this process.
//
// The engine locks with POSIX record locks, which belong to the process:
// any close of any descriptor on the file in the process (a file dialog
// sniffing a file's type, a thumbnailer) silently drops them all. Another
// process then finds the database unused: its start-up rebuilds the
// write-ahead log's index (-shm) under a live reader, and its last close
// checkpoints and deletes the -wal that this process still writes into.
// While a connection of the process has such a database open, the process
// holds shared locks of its own on open file descriptions that only the
// guard has (Linux OFD locks), which conflict with the engine's locks of
// any process and go only when the guard lets them go: the database's
// shared-lock range (no other process gets the exclusive lock that deletes
// the log) and the index's "in use" byte (no other process rebuilds it).
// The guard's own descriptors stay open until the last connection of the
// process on the file has closed, so that the guard never is such a close
// itself.
#pragma once

#include <sys/types.h>

#include <string>

namespace kvt::data::detail {

class SqliteFileGuard {
 public:
  SqliteFileGuard() = default;
  // Counts a connection of the process on the database at `path`, which
  // the engine has open; with `write_ahead_log`, guards the files while
  // it is open. Never raises: what cannot be opened or locked (a file
  // system without such locks) stays unguarded.
  SqliteFileGuard(const std::string& path, bool write_ahead_log);
  ~SqliteFileGuard() { Forget(); }
  SqliteFileGuard(SqliteFileGuard&& other) noexcept;
  SqliteFileGuard& operator=(SqliteFileGuard&& other) noexcept;
  SqliteFileGuard(const SqliteFileGuard&) = delete;
  SqliteFileGuard& operator=(const SqliteFileGuard&) = delete;

  // Lets go of the locks when this is the last guarded connection of the
  // process on the file; call it before the engine closes the connection,
  // so that the last one of all may checkpoint and remove the log.
  void Release();
  // Forgets the connection, once the engine has closed it: the last one
  // of the process on the file closes the guard's descriptors. Releases
  // first when Release was not called.
  void Forget();

 private:
  dev_t device_ = 0;
  ino_t inode_ = 0;
  bool counted_ = false;
  bool guarding_ = false;
};

// True when some connection, of this process or another, has the database
// at `path` open: it holds the engine's shared lock, or the write-ahead
// log's index in use. Closes no descriptor another connection relies on.
bool DatabaseInUse(const std::string& path);

}  // namespace kvt::data::detail
