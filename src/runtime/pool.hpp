// The process-wide worker pool behind the batch methods.
//
//   std::vector<std::string> out = vyr::runtime::map_indexed(texts, [](std::string_view t) {
//     return work(t);
//   });
//
// The global pool is created on first use and never freed (its threads stay
// parked until the process exits); a child made by fork() gets its own. Its
// size comes from RAYON_NUM_THREADS (a positive integer; 0 = the CPU count),
// else a positive RAYON_RS_NUM_CPUS, else the CPU count: the CPU affinity
// mask capped by the cgroup CPU quota.
//
// Thread safety: any number of threads may call run() on one pool at once;
// each call waits only for its own tasks. A task that throws does not stop
// the others; the caller gets the failure of the smallest failing index.
//
// Fork safety: fork() copies only the thread that calls it, so whatever
// another thread was in the middle of (a lock held, a cache half changed, a
// static half built) would stay so in the child for good. Handlers installed
// with the library hold every task of every pool at its start while a fork
// runs and wait for the tasks already running (one text each) to end; the
// parent then goes on, and the child starts with no pool and makes its own
// at its first batch.
#pragma once

#include <chrono>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vyr::runtime {

// Rust's str::parse::<usize>: an optional '+' then ASCII digits only, no
// white space, no overflow. "+7" -> 7; " 7", "-0", "", "+" -> nullopt.
std::optional<size_t> parse_usize(std::string_view s);

// What the environment and the machine say the pool size must be.
// `num_threads` and `rs_num_cpus` are the raw values of the two variables
// (nullopt when unset); `cpu_count` the machine's usable CPUs.
size_t pool_size(std::optional<std::string_view> num_threads,
                 std::optional<std::string_view> rs_num_cpus, size_t cpu_count);

// CPUs this process may use: the affinity mask capped by the cgroup quota.
size_t available_cpus();

class Pool {
 public:
  // The process-wide pool, created on first call with pool_size() of the
  // environment. Throws vyr::Panic when not one thread can be started.
  static Pool& global();

  // A pool of `threads` workers (at least one). If the system refuses to
  // start some of them, the pool keeps those it got; none at all throws
  // vyr::Panic.
  explicit Pool(size_t threads);
  ~Pool();  // finishes queued work, then joins the workers
  Pool(const Pool&) = delete;
  Pool& operator=(const Pool&) = delete;

  size_t size() const;

  // Runs task(i) for every i in [0, n) and waits. n == 0 runs nothing;
  // n == 1 (or a call from one of this pool's own workers) runs on the
  // calling thread; otherwise the workers share the indices and the caller
  // only waits. Every index runs even when some fail; afterwards the failure
  // of the smallest failing index is rethrown.
  void run(size_t n, const std::function<void(size_t)>& task);

  // Asked by a caller waiting for the workers, every kStopPollInterval;
  // true stops the job.
  using StopRequested = std::function<bool()>;
  static constexpr std::chrono::milliseconds kStopPollInterval{100};

  // As run(), but while the workers share the indices the caller asks
  // stop_requested() from time to time; once it says true no further index
  // starts, the indices already started are waited for, and run_until
  // returns false without rethrowing any failure. True when every index ran.
  // An exception from stop_requested() stops the job the same way, then
  // passes on.
  bool run_until(size_t n, const std::function<void(size_t)>& task,
                 const StopRequested& stop_requested);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Maps f over texts in parallel on the global pool; result i is f(texts[i]).
// Inputs are released as soon as their result is made. Stopped as
// Pool::run_until says: nullopt when stop_requested stopped it (some texts
// may then be released without a result); an empty stop_requested never
// stops.
template <class F>
std::optional<std::vector<std::string>> map_indexed(std::vector<std::string>& texts, F&& f,
                                                    const Pool::StopRequested& stop_requested) {
  Pool& pool = Pool::global();  // created by the first batch, even an empty one
  std::vector<std::string> out(texts.size());
  auto task = [&](size_t i) {
    out[i] = f(std::string_view(texts[i]));
    std::string().swap(texts[i]);
  };
  if (!pool.run_until(texts.size(), task, stop_requested)) return std::nullopt;
  return out;
}

// The same without a way to stop.
template <class F>
std::vector<std::string> map_indexed(std::vector<std::string>& texts, F&& f) {
  std::optional<std::vector<std::string>> out = map_indexed(texts, f, Pool::StopRequested());
  return std::move(*out);
}

}  // namespace vyr::runtime
