#include "apps/kvt-host/serve/bounded_pool.h"

namespace kvt::serve {

BoundedPool::BoundedPool(size_t workers, size_t queue_limit) : queue_limit_(queue_limit) {
  for (size_t i = 0; i < workers; ++i) threads_.emplace_back([this] { Work(); });
}

BoundedPool::~BoundedPool() { shutdown(); }

void BoundedPool::enqueue(std::function<void()> fn) {
  std::unique_lock<std::mutex> lock(mutex_);
  has_room_.wait(lock, [&] { return jobs_.size() < queue_limit_ || stopping_; });
  if (stopping_) return;
  jobs_.push_back(std::move(fn));
  has_work_.notify_one();
}

void BoundedPool::shutdown() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_ && threads_.empty()) return;
    stopping_ = true;
  }
  has_work_.notify_all();
  has_room_.notify_all();
  for (std::thread& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
  threads_.clear();
}

void BoundedPool::Work() {
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      has_work_.wait(lock, [&] { return !jobs_.empty() || stopping_; });
      if (jobs_.empty()) return;  // stopping, and nothing left
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    has_room_.notify_one();
    job();
  }
}

}  // namespace kvt::serve
