#include "runtime/cpu_count.hpp"

#include <sched.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "runtime/pool.hpp"

namespace vyr::runtime {
namespace {

// The first line of s, without its line break.
std::string_view first_line(std::string_view s) { return s.substr(0, s.find('\n')); }

std::optional<long long> parse_integer(std::string_view s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.remove_suffix(1);
  long long v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
  return v;
}

// Small kernel files only: reads at most 4 KiB.
std::optional<std::string> read_small_file(const std::string& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "re"), &std::fclose);
  if (!f) return std::nullopt;
  std::string text(4096, '\0');
  size_t got = std::fread(text.data(), 1, text.size(), f.get());
  text.resize(got);
  return text;
}

size_t affinity_cpus() {
  // The mask may be larger than cpu_set_t on big machines: grow until it fits.
  for (int ncpus = 1024; ncpus <= (1 << 20); ncpus *= 2) {
    std::unique_ptr<cpu_set_t, void (*)(cpu_set_t*)> set(CPU_ALLOC(ncpus), [](cpu_set_t* s) {
      CPU_FREE(s);
    });
    if (!set) return 1;
    size_t bytes = CPU_ALLOC_SIZE(ncpus);
    if (sched_getaffinity(0, bytes, set.get()) == 0) {
      int n = CPU_COUNT_S(bytes, set.get());
      return n > 0 ? static_cast<size_t>(n) : 1;
    }
    if (errno != EINVAL) break;
  }
  return 1;
}

// The tightest cpu.max from the process's cgroup up to the mount root.
std::optional<size_t> v2_quota() {
  const std::string root = "/sys/fs/cgroup";
  std::string dir = root;
  if (auto proc = read_small_file("/proc/self/cgroup")) {
    if (auto path = cgroup_v2_path(*proc)) dir += std::string(*path);
  }
  std::optional<size_t> best;
  while (true) {
    while (dir.size() > root.size() && dir.back() == '/') dir.pop_back();
    if (auto text = read_small_file(dir + "/cpu.max")) {
      if (auto cpus = cgroup_v2_cpus(*text)) best = best ? std::min(*best, *cpus) : *cpus;
    }
    if (dir.size() <= root.size()) break;
    dir.resize(dir.rfind('/'));
  }
  return best;
}

std::optional<size_t> v1_quota() {
  for (const char* dir : {"/sys/fs/cgroup/cpu,cpuacct", "/sys/fs/cgroup/cpu"}) {
    auto quota = read_small_file(std::string(dir) + "/cpu.cfs_quota_us");
    auto period = read_small_file(std::string(dir) + "/cpu.cfs_period_us");
    if (quota && period) return cgroup_v1_cpus(*quota, *period);
  }
  return std::nullopt;
}

}  // namespace

std::optional<size_t> cpus_from_quota(long long quota, long long period) {
  if (quota <= 0 || period <= 0) return std::nullopt;
  long long cpus = quota / period + (quota % period != 0 ? 1 : 0);
  return static_cast<size_t>(std::max(1LL, cpus));
}

// "max 100000" -> nullopt; "150000 100000" -> 2.
std::optional<size_t> cgroup_v2_cpus(std::string_view cpu_max) {
  std::string_view line = first_line(cpu_max);
  size_t space = line.find(' ');
  if (space == std::string_view::npos) return std::nullopt;
  auto quota = parse_integer(line.substr(0, space));
  auto period = parse_integer(line.substr(space + 1));
  if (!quota || !period) return std::nullopt;  // "max" lands here too
  return cpus_from_quota(*quota, *period);
}

// "-1", "100000" -> nullopt; "50000", "100000" -> 1.
std::optional<size_t> cgroup_v1_cpus(std::string_view quota_us, std::string_view period_us) {
  auto quota = parse_integer(first_line(quota_us));
  auto period = parse_integer(first_line(period_us));
  if (!quota || !period) return std::nullopt;
  return cpus_from_quota(*quota, *period);
}

// "1:cpu:/x\n0::/user.slice/a\n" -> "/user.slice/a".
std::optional<std::string_view> cgroup_v2_path(std::string_view proc_self_cgroup) {
  std::string_view rest = proc_self_cgroup;
  while (!rest.empty()) {
    std::string_view line = first_line(rest);
    rest.remove_prefix(std::min(rest.size(), line.size() + 1));
    if (line.substr(0, 3) == "0::") return line.substr(3);
  }
  return std::nullopt;
}

size_t available_cpus() {
  size_t cpus = affinity_cpus();
  std::optional<size_t> quota = v2_quota();
  if (!quota) quota = v1_quota();
  if (quota) cpus = std::min(cpus, *quota);
  return std::max<size_t>(cpus, 1);
}

}  // namespace vyr::runtime
