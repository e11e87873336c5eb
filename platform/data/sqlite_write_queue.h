// Writers of one SQLite file, in every process, take their turns in the
// order they asked. The engine lets one writer in at a time and the others
// poll; a clerk who has just committed asks again at once and usually wins,
// so with several writers one could wait for seconds while others went
// ahead. A queue in shared memory hands the file on in order instead, so
// the longest wait is about the writers ahead times one write.
//
// The queue only orders who tries first: the engine's own lock still
// decides, so a writer that bypasses the queue, one that died holding its
// turn or one that waits past its timeout costs waiting, never a wrong
// write. A turn held a second without moving is taken as abandoned and
// passed on.
#pragma once

#include <sys/types.h>

#include <cstdint>

namespace kvt::data::detail {

struct WriteQueueSlot;

class WriteTurn {
 public:
  WriteTurn() = default;
  // Waits until the file (`device`, `inode`) is this writer's turn, at most
  // `timeout_ms`; after that (or where shared memory cannot be had) the
  // writer goes on without its turn, to the engine's lock.
  static WriteTurn Take(dev_t device, ino_t inode, int timeout_ms);
  ~WriteTurn() { Release(); }
  WriteTurn(WriteTurn&& other) noexcept;
  WriteTurn& operator=(WriteTurn&& other) noexcept;
  WriteTurn(const WriteTurn&) = delete;
  WriteTurn& operator=(const WriteTurn&) = delete;

  // Hands the file on to the next writer; nothing when not holding a turn.
  void Release();
  bool Held() const { return slot_ != nullptr; }

 private:
  WriteQueueSlot* slot_ = nullptr;
  uint32_t ticket_ = 0;
};

}  // namespace kvt::data::detail
