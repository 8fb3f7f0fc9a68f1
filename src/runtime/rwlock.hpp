// A reader-writer lock around a value, with a poison flag.
//
//   vyr::runtime::RwLock<std::vector<int>> lock;
//   lock.write([](std::vector<int>& v) { v.push_back(1); });
//   size_t n = lock.read([](const std::vector<int>& v) { return v.size(); });
//
// The value is reached only inside read() (shared, many threads at once) and
// write() (exclusive). When an exception leaves a write section the value may
// be half-changed, so the lock is poisoned for good: from then on every
// read() and write() throws vyr::Panic before touching the value. An
// exception leaving a read section changes nothing and poisons nothing.
// Thread safe.
#pragma once

#include <atomic>
#include <mutex>
#include <shared_mutex>
#include <utility>

#include "runtime/panic.hpp"

namespace vyr::runtime {

template <class T>
class RwLock {
 public:
  template <class... Args>
  explicit RwLock(Args&&... args) : value_(std::forward<Args>(args)...) {}

  RwLock(const RwLock&) = delete;
  RwLock& operator=(const RwLock&) = delete;

  // Runs f(const T&) holding the lock shared; returns what f returns.
  template <class F>
  decltype(auto) read(F&& f) const {
    std::shared_lock<std::shared_mutex> guard(mutex_);
    throw_if_poisoned();
    return std::forward<F>(f)(std::as_const(value_));
  }

  // Runs f(T&) holding the lock exclusively; returns what f returns.
  template <class F>
  decltype(auto) write(F&& f) {
    std::unique_lock<std::shared_mutex> guard(mutex_);
    throw_if_poisoned();
    try {
      return std::forward<F>(f)(value_);
    } catch (...) {
      poisoned_.store(true, std::memory_order_release);
      throw;
    }
  }

  bool is_poisoned() const { return poisoned_.load(std::memory_order_acquire); }

 private:
  void throw_if_poisoned() const {
    if (is_poisoned()) {
      throw Panic("a cache lock was found poisoned: an earlier call failed while changing it");
    }
  }

  mutable std::shared_mutex mutex_;
  std::atomic<bool> poisoned_{false};
  T value_;
};

}  // namespace vyr::runtime
