// The registry of RwLock mutexes that the fork handlers take and give back.

#include <algorithm>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <vector>

#include "runtime/rwlock.hpp"

namespace vyr::runtime::fork_registry {
namespace {

std::mutex registry_mutex;
// A handful per engine; added and removed only when engines come and go.
std::vector<std::shared_mutex*>& registered() {
  static std::vector<std::shared_mutex*> mutexes;
  return mutexes;
}

}  // namespace

void add(std::shared_mutex* mutex) {
  std::lock_guard lock(registry_mutex);
  registered().push_back(mutex);
}

void remove(std::shared_mutex* mutex) {
  std::lock_guard lock(registry_mutex);
  std::vector<std::shared_mutex*>& mutexes = registered();
  auto it = std::find(mutexes.begin(), mutexes.end(), mutex);
  if (it != mutexes.end()) {
    *it = mutexes.back();
    mutexes.pop_back();
  }
}

void lock_all() {
  registry_mutex.lock();
  for (std::shared_mutex* mutex : registered()) mutex->lock();
}

void unlock_all() {
  for (std::shared_mutex* mutex : registered()) mutex->unlock();
  registry_mutex.unlock();
}

// Unlocking is not enough in the child: threads of the parent that were
// waiting for a lock left their marks in it, and would never come to take
// it. The locks are made anew in their places (the old ones own nothing
// that needs freeing).
void renew_all() {
  for (std::shared_mutex* mutex : registered()) std::construct_at(mutex);
  std::construct_at(&registry_mutex);
}

}  // namespace vyr::runtime::fork_registry
