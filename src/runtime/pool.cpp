#include "runtime/pool.hpp"

#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "runtime/panic.hpp"
#include "runtime/rwlock.hpp"

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
  Job(size_t n, const std::function<void(size_t)>& task) : n(n), task(task), target(n) {}
  const size_t n;
  const std::function<void(size_t)>& task;
  size_t next = 0;  // guarded by Pool::Impl::mutex

  std::mutex mutex;  // guards the fields below
  std::condition_variable finished;
  size_t target;  // the indices that will run: n, or fewer once stopped
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
  bool all_done() const { return done == target; }  // call with `mutex` held
};

// Fork safety (see pool.hpp): every task runs inside a TaskScope, and the
// fork handlers close the gate and wait for the running ones. A task that
// runs a nested job on its own thread is one task: only the outermost scope
// counts, so that a nested job never waits for a gate closed around it.
//
// A task's start and end cost one atomic step each while the gate is open:
// a thread counts itself in `running`, then looks at `closed`; the forking
// thread sets `closed`, then looks at `running` (both sequentially
// consistent), so at least one of them sees the other.
struct TaskGate {
  std::mutex mutex;  // for waiting; held by the forking thread across fork()
  std::condition_variable changed;
  std::atomic<size_t> running{0};
  std::atomic<bool> closed{false};

  void leave() {
    if (running.fetch_sub(1) == 1 && closed.load()) {
      std::lock_guard lock(mutex);
      changed.notify_all();
    }
  }
};
TaskGate task_gate;
thread_local size_t task_depth = 0;  // task scopes open on this thread

class TaskScope {
 public:
  TaskScope() {
    if (task_depth++ > 0) return;
    while (true) {
      task_gate.running.fetch_add(1);
      if (!task_gate.closed.load()) return;
      task_gate.leave();  // a fork is under way: wait for it to end
      std::unique_lock lock(task_gate.mutex);
      task_gate.changed.wait(lock, [] { return !task_gate.closed.load(); });
    }
  }
  ~TaskScope() {
    if (--task_depth == 0) task_gate.leave();
  }
  TaskScope(const TaskScope&) = delete;
  TaskScope& operator=(const TaskScope&) = delete;
};

// The global pool, and the lock held while it is being made.
std::atomic<Pool*> global_pool{nullptr};
std::mutex pool_creation;

// Before a fork: no pool is half made and no task is half done. The forking
// thread's own task, if it is inside one, is the one left running.
void before_fork() {
  pool_creation.lock();
  std::unique_lock lock(task_gate.mutex);
  task_gate.closed.store(true);
  const size_t own = task_depth > 0 ? 1 : 0;
  task_gate.changed.wait(lock, [own] { return task_gate.running.load() == own; });
  lock.release();  // held across the fork, so no thread is inside it then
  // Only now: a running task may still have needed one of them.
  fork_registry::lock_all();
}

void after_fork_in_parent() {
  fork_registry::unlock_all();
  task_gate.closed.store(false);
  task_gate.mutex.unlock();
  task_gate.changed.notify_all();
  pool_creation.unlock();
}

// The child has none of the other threads: its gate and creation lock start
// afresh (built anew: threads that waited on the old ones in the parent are
// not there to wake), and the parent's pool is abandoned untouched.
void after_fork_in_child() {
  fork_registry::renew_all();
  std::construct_at(&task_gate);
  task_gate.running.store(task_depth > 0 ? 1 : 0);
  std::construct_at(&pool_creation);
  global_pool.store(nullptr, std::memory_order_release);
}

[[maybe_unused]] const bool fork_handlers_installed =
    pthread_atfork(&before_fork, &after_fork_in_parent, &after_fork_in_child) == 0;

// The pool whose worker the current thread is, if any.
thread_local const void* current_pool = nullptr;

// Runs every index on this thread, keeping the first failure by index.
void run_serially(size_t n, const std::function<void(size_t)>& task) {
  Job job(n, task);
  TaskScope scope;
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

  // Takes the job's unclaimed indices back from the queue and waits for the
  // claimed ones to end.
  void withdraw(Job& job) {
    size_t claimed = 0;
    {
      std::lock_guard lock(mutex);
      auto it = std::find(queue.begin(), queue.end(), &job);
      if (it != queue.end()) queue.erase(it);
      claimed = job.next;
    }
    std::unique_lock job_lock(job.mutex);
    job.target = claimed;
    job.finished.wait(job_lock, [&] { return job.all_done(); });
  }

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
      {
        TaskScope scope;
        job->run_index(i);
      }
      {
        std::lock_guard job_lock(job->mutex);
        if (++job->done == job->target) job->finished.notify_all();
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
  Pool* current = global_pool.load(std::memory_order_acquire);
  if (current != nullptr) return *current;
  std::lock_guard lock(pool_creation);
  current = global_pool.load(std::memory_order_acquire);
  if (current == nullptr) {
    size_t threads =
        pool_size(env("RAYON_NUM_THREADS"), env("RAYON_RS_NUM_CPUS"), available_cpus());
    current = std::make_unique<Pool>(threads).release();
    global_pool.store(current, std::memory_order_release);
  }
  return *current;
}

void Pool::run(size_t n, const std::function<void(size_t)>& task) {
  run_until(n, task, StopRequested());
}

bool Pool::run_until(size_t n, const std::function<void(size_t)>& task,
                     const StopRequested& stop_requested) {
  if (n == 0) return true;
  if (n == 1) {
    TaskScope scope;
    task(0);
    return true;
  }
  // A worker waiting on its own pool could leave no one to do the work.
  if (current_pool == impl_.get()) {
    run_serially(n, task);
    return true;
  }
  Job job(n, task);
  {
    std::lock_guard lock(impl_->mutex);
    impl_->queue.push_back(&job);
  }
  impl_->work_ready.notify_all();
  bool stopped = false;
  {
    std::unique_lock job_lock(job.mutex);
    if (!stop_requested) {
      job.finished.wait(job_lock, [&] { return job.all_done(); });
    }
    while (!job.all_done()) {
      job.finished.wait_for(job_lock, kStopPollInterval, [&] { return job.all_done(); });
      if (job.all_done()) break;
      job_lock.unlock();
      try {
        stopped = stop_requested();
      } catch (...) {
        impl_->withdraw(job);  // the workers must be done with `job` before it goes
        throw;
      }
      if (stopped) {
        impl_->withdraw(job);
        return false;
      }
      job_lock.lock();
    }
  }
  if (job.failure) std::rethrow_exception(job.failure);
  return true;
}

}  // namespace vyr::runtime
