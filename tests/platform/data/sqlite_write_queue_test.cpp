#include "platform/data/sqlite_write_queue.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace kvt::data::detail {
namespace {

using std::chrono::milliseconds;

// Writers get their turns in the order they asked, and a turn held a
// second without moving is passed on. The file key is this process's own,
// so that no other test's writers share the queue.
TEST(WriteQueueTest, TurnsGoInTheOrderAskedAndAnAbandonedOneIsPassedOn) {
  const dev_t device = 0x4b5654;
  const auto inode = static_cast<ino_t>(::getpid());
  WriteTurn first = WriteTurn::Take(device, inode, 5000);
  std::atomic<int> served = 0;
  std::vector<int> order(3, -1);
  std::vector<std::thread> writers;
  for (int i = 0; i < 3; ++i) {
    writers.emplace_back([&, i] {
      const WriteTurn turn = WriteTurn::Take(device, inode, 5000);
      if (turn.Held()) order[i] = served++;
    });
    std::this_thread::sleep_for(milliseconds(30));
  }
  first.Release();
  for (std::thread& writer : writers) writer.join();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));

  const WriteTurn stuck = WriteTurn::Take(device, inode, 5000);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(WriteTurn::Take(device, inode, 5000).Held());
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(1000));
}

}  // namespace
}  // namespace kvt::data::detail
