// The process-wide worker pool behind the batch methods.
//
//   std::vector<std::string> out = vyr::runtime::map_indexed(texts, [](std::string_view t) {
//     return work(t);
//   });
//
// Created on first use and kept until the process exits. Its size comes from
// RAYON_NUM_THREADS (a positive integer; 0 = the CPU count), else a positive
// RAYON_RS_NUM_CPUS, else the CPU count: the CPU affinity mask capped by the
// cgroup CPU quota.
#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vyr::runtime {

// What the environment and the machine say the pool size must be.
// `num_threads` and `rs_num_cpus` are the raw values of the two variables
// (nullopt when unset); `cpu_count` the machine's usable CPUs.
size_t pool_size(std::optional<std::string_view> num_threads,
                 std::optional<std::string_view> rs_num_cpus, size_t cpu_count);

// CPUs this process may use: the affinity mask capped by the cgroup quota.
size_t available_cpus();

class Pool {
 public:
  // The process-wide pool, created on first call.
  static Pool& global();
  size_t size() const;

  // Runs task(i) for every i in [0, n) on the pool threads and waits. Every
  // index runs even when some fail; afterwards the failure of the smallest
  // failing index is rethrown. n == 1 runs on the calling thread.
  void run(size_t n, const std::function<void(size_t)>& task);

  ~Pool();
  Pool(const Pool&) = delete;
  Pool& operator=(const Pool&) = delete;

 private:
  explicit Pool(size_t threads);
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Maps f over texts in parallel; result i is f(texts[i]). Inputs are released
// as soon as their result is made.
template <class F>
std::vector<std::string> map_indexed(std::vector<std::string>& texts, F&& f) {
  std::vector<std::string> out(texts.size());
  Pool::global().run(texts.size(), [&](size_t i) {
    out[i] = f(std::string_view(texts[i]));
    std::string().swap(texts[i]);
  });
  return out;
}

}  // namespace vyr::runtime
