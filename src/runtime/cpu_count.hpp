// How many CPUs the cgroup CPU quota grants, from the files the kernel shows.
//
//   std::optional<size_t> cap = vyr::runtime::cgroup_v2_cpus("150000 100000\n");  // 2
//
// Pure parsers, so that the rules can be tested without a cgroup; the file
// reading lives in available_cpus() (pool.hpp).
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace vyr::runtime {

// ceil(quota / period), at least 1; nullopt for no limit or unreadable text.
std::optional<size_t> cpus_from_quota(long long quota, long long period);

// cgroup v2 cpu.max: "max 100000" (no limit) or "quota period".
std::optional<size_t> cgroup_v2_cpus(std::string_view cpu_max);

// cgroup v1: cpu.cfs_quota_us ("-1" = no limit) and cpu.cfs_period_us.
std::optional<size_t> cgroup_v1_cpus(std::string_view quota_us, std::string_view period_us);

// The cgroup v2 path of this process from /proc/self/cgroup ("0::/a/b\n" -> "/a/b").
std::optional<std::string_view> cgroup_v2_path(std::string_view proc_self_cgroup);

}  // namespace vyr::runtime
