// ThreadSlot<T> — one T per thread, shared by everything on that thread:
// the component's store, the driver that shows forms, the report output,
// the regional settings. It is made on first use; a scope may put another
// in its place (ScopedThreadSlot) and the previous one comes back after.
// Nothing is locked: each thread sees only its own.
#pragma once

#include <memory>
#include <utility>

namespace vb {

template <class T>
class ThreadSlot {
 public:
  // The calling thread's T, made by `make()` (a std::shared_ptr<T>) when
  // there is none.
  template <class Make>
  static T& Get(Make&& make) {
    std::shared_ptr<T>& cell = Cell();
    if (!cell) cell = std::forward<Make>(make)();
    return *cell;
  }
  // Puts `value` in the slot (empty: the next Get makes one) and returns
  // what was there.
  static std::shared_ptr<T> Set(std::shared_ptr<T> value) {
    std::shared_ptr<T> previous = std::move(Cell());
    Cell() = std::move(value);
    return previous;
  }

 private:
  static std::shared_ptr<T>& Cell() {
    thread_local std::shared_ptr<T> cell;
    return cell;
  }
};

// Puts a T in the thread's slot for the lifetime of the scope.
template <class T>
class ScopedThreadSlot {
 public:
  explicit ScopedThreadSlot(std::shared_ptr<T> value)
      : previous_(ThreadSlot<T>::Set(std::move(value))) {}
  ~ScopedThreadSlot() { ThreadSlot<T>::Set(std::move(previous_)); }
  ScopedThreadSlot(const ScopedThreadSlot&) = delete;
  ScopedThreadSlot& operator=(const ScopedThreadSlot&) = delete;

 private:
  std::shared_ptr<T> previous_;
};

}  // namespace vb
