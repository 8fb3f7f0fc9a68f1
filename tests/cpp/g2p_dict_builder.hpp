// Test support: dictionary files written from word lists, with the layout
// exposed so that tests can corrupt single fields, and temporary files that
// remove themselves.
#pragma once

#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace vyr::g2p::testing {

using MergedWords = std::map<std::string, std::string>;  // std::map: byte order
using CommonWords = std::map<std::string, std::pair<std::string, std::string>>;

inline void put_u32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

inline void set_u32(std::string& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
}

// A well-formed file: header, string pool, string table, merged table,
// common table, in that order.
struct DictFile {
  std::string bytes;
  uint32_t string_table = 0;
  uint32_t merged_table = 0;
  uint32_t common_table = 0;
  uint32_t string_count = 0;
};

inline DictFile build_dict(const MergedWords& merged, const CommonWords& common = {}) {
  std::string pool, slots, merged_table, common_table;
  uint32_t count = 0;
  auto intern = [&](const std::string& s) {
    put_u32(slots, static_cast<uint32_t>(pool.size()));
    pool += s;
    pool.push_back('\0');
    return count++;
  };
  for (const auto& [word, value] : merged) {
    put_u32(merged_table, intern(word));
    put_u32(merged_table, intern(value));
  }
  for (const auto& [word, readings] : common) {
    put_u32(common_table, intern(word));
    put_u32(common_table, intern(readings.first));
    put_u32(common_table, intern(readings.second));
  }
  DictFile file;
  file.string_count = count;
  file.string_table = static_cast<uint32_t>(32 + pool.size());
  file.merged_table = static_cast<uint32_t>(file.string_table + slots.size());
  file.common_table = static_cast<uint32_t>(file.merged_table + merged_table.size());
  file.bytes = "VYRP";
  put_u32(file.bytes, 0);
  put_u32(file.bytes, count);
  put_u32(file.bytes, static_cast<uint32_t>(merged.size()));
  put_u32(file.bytes, static_cast<uint32_t>(common.size()));
  put_u32(file.bytes, file.string_table);
  put_u32(file.bytes, file.merged_table);
  put_u32(file.bytes, file.common_table);
  file.bytes += pool + slots + merged_table + common_table;
  return file;
}

// A file under the system temporary directory, removed on destruction.
class TempFile {
 public:
  explicit TempFile(std::string_view bytes) {
    static std::atomic<int> counter{0};
    path_ = (std::filesystem::temp_directory_path() /
             ("vyr-g2p-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++)))
                .string();
    FILE* f = std::fopen(path_.c_str(), "wb");
    if (f != nullptr) {
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
  }
  explicit TempFile(const DictFile& dict) : TempFile(dict.bytes) {}
  ~TempFile() { std::remove(path_.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace vyr::g2p::testing
