// The server's workers: a fixed number of threads and a queue of accepted
// connections that holds at most `queue_limit`. When it is full the
// accepting thread waits, so the kernel's backlog (not the process's
// memory) takes a flood, and no client can queue unbounded work.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <httplib.h>

namespace kvt::serve {

class BoundedPool : public httplib::TaskQueue {
 public:
  BoundedPool(size_t workers, size_t queue_limit);
  ~BoundedPool() override;

  void enqueue(std::function<void()> fn) override;
  void shutdown() override;

 private:
  void Work();

  size_t queue_limit_;
  std::mutex mutex_;
  std::condition_variable has_work_;
  std::condition_variable has_room_;
  std::deque<std::function<void()>> jobs_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace kvt::serve
