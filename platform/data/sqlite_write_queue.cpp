#include "platform/data/sqlite_write_queue.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

namespace kvt::data::detail {

// One file's queue: tickets are handed out from `next` and served in turn;
// `moved_at_ms` is when `serving` last moved, to spot an abandoned turn.
struct WriteQueueSlot {
  std::atomic<uint32_t> next;
  std::atomic<uint32_t> serving;
  std::atomic<int64_t> moved_at_ms;
};

namespace {

// One shared table for every file: a file's slot is by the hash of its
// key, and two files that share a slot share a queue (still correct).
constexpr char kSharedName[] = "/kvt-sqlite-writers";
constexpr size_t kSlots = 64;
constexpr int64_t kAbandonedMs = 1000;

static_assert(std::atomic<uint32_t>::is_always_lock_free &&
              std::atomic<int64_t>::is_always_lock_free);

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The table, mapped once per process; nullptr where shared memory cannot
// be had. Zeroed memory is an empty queue.
WriteQueueSlot* Table() {
  static WriteQueueSlot* const table = []() -> WriteQueueSlot* {
    const size_t size = kSlots * sizeof(WriteQueueSlot);
    const int fd = ::shm_open(kSharedName, O_RDWR | O_CREAT, 0666);
    if (fd < 0) return nullptr;
    // Writers of a shared file may be other users.
    (void)::fchmod(fd, 0666);
    struct stat info {};
    if (::fstat(fd, &info) != 0 ||
        (static_cast<size_t>(info.st_size) < size && ::ftruncate(fd, size) != 0)) {
      ::close(fd);
      return nullptr;
    }
    void* mapped = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    return mapped == MAP_FAILED ? nullptr : static_cast<WriteQueueSlot*>(mapped);
  }();
  return table;
}

}  // namespace

WriteTurn WriteTurn::Take(dev_t device, ino_t inode, int timeout_ms) {
  WriteTurn turn;
  WriteQueueSlot* const table = Table();
  if (table == nullptr) return turn;
  WriteQueueSlot& slot =
      table[(std::hash<uint64_t>{}(device)*31 + std::hash<uint64_t>{}(inode)) % kSlots];
  const uint32_t ticket = slot.next.fetch_add(1);
  const int64_t deadline = NowMs() + timeout_ms;
  for (;;) {
    uint32_t serving = slot.serving.load();
    // Our turn, or passed over as abandoned while we waited: go on.
    if (static_cast<int32_t>(ticket - serving) <= 0) break;
    const int64_t now = NowMs();
    if (now - slot.moved_at_ms.load() > kAbandonedMs) {
      slot.moved_at_ms.store(now);
      slot.serving.compare_exchange_strong(serving, serving + 1);
      continue;
    }
    // Past the timeout the engine's own lock decides; the ticket left
    // behind is passed over as abandoned.
    if (now > deadline) return turn;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  slot.moved_at_ms.store(NowMs());
  turn.slot_ = &slot;
  turn.ticket_ = ticket;
  return turn;
}

WriteTurn::WriteTurn(WriteTurn&& other) noexcept : slot_(other.slot_), ticket_(other.ticket_) {
  other.slot_ = nullptr;
}

WriteTurn& WriteTurn::operator=(WriteTurn&& other) noexcept {
  if (this != &other) {
    Release();
    slot_ = other.slot_;
    ticket_ = other.ticket_;
    other.slot_ = nullptr;
  }
  return *this;
}

void WriteTurn::Release() {
  if (slot_ == nullptr) return;
  // Only a turn still ours moves the queue: one passed over as abandoned
  // has moved on already.
  slot_->moved_at_ms.store(NowMs());
  uint32_t expected = ticket_;
  slot_->serving.compare_exchange_strong(expected, ticket_ + 1);
  slot_ = nullptr;
}

}  // namespace kvt::data::detail
