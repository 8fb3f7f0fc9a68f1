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
//
// Fork safe: every RwLock of the process is taken exclusively while fork()
// runs (after the worker pool's tasks have stopped; see pool.hpp), then
// released in the parent and made anew in the child, so a child never
// inherits a lock that a thread gone with the fork was holding or waiting
// for, nor a value half changed under it.
#pragma once

#include <atomic>
#include <mutex>
#include <shared_mutex>
#include <utility>

#include "runtime/panic.hpp"

namespace vyr::runtime {

namespace fork_registry {
// The mutexes of the living RwLocks. Thread safe.
void add(std::shared_mutex* mutex);
void remove(std::shared_mutex* mutex);
// For the fork handlers alone: take every registered mutex exclusively (and
// the registry itself, so that none comes or goes), then give all back in
// the parent, or make them all anew, unlocked, in the child.
void lock_all();
void unlock_all();
void renew_all();
}  // namespace fork_registry

template <class T>
class RwLock {
 public:
  template <class... Args>
  explicit RwLock(Args&&... args) : value_(std::forward<Args>(args)...) {
    fork_registry::add(&mutex_);
  }
  ~RwLock() { fork_registry::remove(&mutex_); }

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
