// Helpers shared by the fuzz targets: a dictionary file written from word
// lists, and a private temporary file per process.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace vyr::fuzz {

// A path under /tmp unique to this process.
inline std::string temp_path(std::string_view tag) {
  return "/tmp/vyr-fuzz-" + std::string(tag) + "-" + std::to_string(getpid());
}

inline bool write_file(const std::string& path, std::string_view bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

// Dictionary bytes: header, string table, pool, merged and common tables.
// std::map keeps the keys in byte order, as the binary search needs.
inline std::string dictionary_bytes(const std::map<std::string, std::string>& merged,
                                    const std::map<std::string, std::pair<std::string, std::string>>& common) {
  std::string pool;
  std::string offsets;
  uint32_t count = 0;
  auto put32 = [](std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
  };
  auto intern = [&](const std::string& s) {
    put32(offsets, static_cast<uint32_t>(pool.size()));
    pool += s;
    pool.push_back('\0');
    return count++;
  };
  std::string merged_table, common_table;
  for (const auto& [k, v] : merged) {
    put32(merged_table, intern(k));
    put32(merged_table, intern(v));
  }
  for (const auto& [k, v] : common) {
    put32(common_table, intern(k));
    put32(common_table, intern(v.first));
    put32(common_table, intern(v.second));
  }
  const uint32_t header = 32;
  const auto pool_at = header;
  const auto strings_at = static_cast<uint32_t>(pool_at + pool.size());
  const auto merged_at = static_cast<uint32_t>(strings_at + offsets.size());
  const auto common_at = static_cast<uint32_t>(merged_at + merged_table.size());
  std::string out = "VYRP";
  put32(out, 0);
  put32(out, count);
  put32(out, static_cast<uint32_t>(merged.size()));
  put32(out, static_cast<uint32_t>(common.size()));
  put32(out, strings_at);
  put32(out, merged_at);
  put32(out, common_at);
  return out + pool + offsets + merged_table + common_table;
}

}  // namespace vyr::fuzz
