#include "runtime/pool.hpp"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

#include "runtime/panic.hpp"

namespace vyr::runtime {

std::optional<size_t> parse_usize(std::string_view s) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return std::nullopt;
  size_t value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    size_t digit = static_cast<size_t>(c - '0');
    if (value > (SIZE_MAX - digit) / 10) return std::nullopt;  // overflow: not a number
    value = value * 10 + digit;
  }
  return value;
}

size_t pool_size(std::optional<std::string_view> num_threads,
                 std::optional<std::string_view> rs_num_cpus, size_t cpu_count) {
  cpu_count = std::max<size_t>(cpu_count, 1);
  if (num_threads) {
    if (std::optional<size_t> n = parse_usize(*num_threads)) return *n > 0 ? *n : cpu_count;
  }
  if (rs_num_cpus) {
    std::optional<size_t> n = parse_usize(*rs_num_cpus);
    if (n && *n > 0) return *n;
  }
  return cpu_count;
}

namespace {

std::optional<std::string_view> env(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string_view(value);
}

// One run() call: its tasks, which index is next, and how it ended.
struct Job {
  Job(size_t n, const std::function<void(size_t)>& task) : n(n), task(task) {}
  const size_t n;
  const std::function<void(size_t)>& task;
  size_t next = 0;  // guarded by Pool::Impl::mutex

  std::mutex mutex;  // guards the fields below
  std::condition_variable finished;
  size_t done = 0;
  size_t first_failed = SIZE_MAX;
  std::exception_ptr failure;

  void run_index(size_t i) {
    try {
      task(i);
    } catch (...) {
      std::lock_guard lock(mutex);
      if (i < first_failed) {
        first_failed = i;
        failure = std::current_exception();
      }
    }
  }
};

// The pool whose worker the current thread is, if any.
thread_local const void* current_pool = nullptr;

// Runs every index on this thread, keeping the first failure by index.
void run_serially(size_t n, const std::function<void(size_t)>& task) {
  Job job(n, task);
  for (size_t i = 0; i < n; ++i) job.run_index(i);
  if (job.failure) std::rethrow_exception(job.failure);
}

}  // namespace

// Lock rule: `mutex` guards `queue`, `stopping` and every queued Job's `next`;
// a Job's own mutex guards its results. A worker never holds both.
struct Pool::Impl {
  std::mutex mutex;
  std::condition_variable work_ready;
  std::deque<Job*> queue;  // jobs with indices left to claim, oldest first
  bool stopping = false;
  std::vector<std::thread> workers;

  void work() {
    current_pool = this;
    std::unique_lock lock(mutex);
    while (true) {
      work_ready.wait(lock, [&] { return stopping || !queue.empty(); });
      if (queue.empty()) return;  // stopping, nothing left
      Job* job = queue.front();
      size_t i = job->next++;
      if (job->next == job->n) queue.pop_front();  // its last index is claimed
      lock.unlock();
      job->run_index(i);
      {
        std::lock_guard job_lock(job->mutex);
        if (++job->done == job->n) job->finished.notify_all();
      }
      lock.lock();
    }
  }
};

Pool::Pool(size_t threads) : impl_(std::make_unique<Impl>()) {
  threads = std::max<size_t>(threads, 1);
  impl_->workers.reserve(threads);
  for (size_t i = 0; i < threads; ++i) {
    try {
      impl_->workers.emplace_back([impl = impl_.get()] { impl->work(); });
    } catch (const std::system_error&) {
      break;  // the system gives no more threads: work with those started
    }
  }
  if (impl_->workers.empty()) throw Panic("the worker pool could not start any thread");
}

Pool::~Pool() {
  {
    std::lock_guard lock(impl_->mutex);
    impl_->stopping = true;
  }
  impl_->work_ready.notify_all();
  for (std::thread& t : impl_->workers) t.join();
}

size_t Pool::size() const { return impl_->workers.size(); }

Pool& Pool::global() {
  // Never freed: a batch running on a daemon thread at exit may still use it.
  // A child made by fork() has none of its parent's worker threads, so it
  // gets a pool of its own instead of waiting forever on the copy; the copy
  // is abandoned untouched (its locks may have been held at the fork).
  static std::atomic<Pool*> pool{nullptr};
  static std::atomic<pid_t> owner{0};
  static std::mutex creating;  // held only while a pool is being made
  Pool* current = pool.load(std::memory_order_acquire);
  if (current != nullptr && owner.load(std::memory_order_acquire) == getpid()) return *current;
  std::lock_guard lock(creating);
  current = pool.load(std::memory_order_acquire);
  if (current == nullptr || owner.load(std::memory_order_acquire) != getpid()) {
    size_t threads =
        pool_size(env("RAYON_NUM_THREADS"), env("RAYON_RS_NUM_CPUS"), available_cpus());
    current = std::make_unique<Pool>(threads).release();
    owner.store(getpid(), std::memory_order_release);
    pool.store(current, std::memory_order_release);
  }
  return *current;
}

void Pool::run(size_t n, const std::function<void(size_t)>& task) {
  if (n == 0) return;
  if (n == 1) {
    task(0);
    return;
  }
  // A worker waiting on its own pool could leave no one to do the work.
  if (current_pool == impl_.get()) {
    run_serially(n, task);
    return;
  }
  Job job(n, task);
  {
    std::lock_guard lock(impl_->mutex);
    impl_->queue.push_back(&job);
  }
  impl_->work_ready.notify_all();
  {
    std::unique_lock job_lock(job.mutex);
    job.finished.wait(job_lock, [&] { return job.done == job.n; });
  }
  if (job.failure) std::rethrow_exception(job.failure);
}

}  // namespace vyr::runtime
