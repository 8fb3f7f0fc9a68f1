// The phoneme dictionary file, mapped read-only and read in place.
//
//   vyr::g2p::PhonemeDict dict = vyr::g2p::PhonemeDict::load("dict.bin");  // throws IoError
//   std::optional<std::string_view> v = dict.search_merged("chào");
//
// File layout (all integers unsigned 32-bit little-endian, no alignment):
//
//   offset  width  field
//   0       4      magic                "VYRP"
//   4       4      reserved             never read
//   8       4      string_count         string ids are 0 .. string_count - 1
//   12      4      merged_count         records in the merged table
//   16      4      common_count         records in the common table
//   20      4      string_table_offset  string_count u32 slots; slot i + 32 is
//                                       the file offset where string i starts
//   24      4      merged_table_offset  merged_count x {key_id, value_id}        (8 bytes)
//   28      4      common_table_offset  common_count x {key_id, vi_id, en_id}    (12 bytes)
//
// A string runs from its start to the first NUL or to the end of the file.
// Both tables are sorted by key in byte order and searched by bisection.
//
// Loading checks the whole file once, in time linear in its size, and
// refuses it ("Invalid dictionary format") unless: the string table and both
// tables lie inside the file, no table count reaches 2^31 (the bisection
// works in signed 32-bit bounds), every string id in the tables is below
// string_count, every string starts inside the file, ends with a NUL there
// and is UTF-8, and each table's keys ascend in byte order (equal neighbours
// allowed). A file that loads therefore answers every lookup; the readers
// still check their bounds (a slot, string start or record outside the file
// throws vyr::Panic) so that nothing is ever read outside the mapping.
//
// A PhonemeDict owns its mapping (unmapped on destruction) and is move-only.
// It never changes after loading: any number of threads may read it at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vyr::g2p {

// Owns a read-only shared mapping of a whole file. A file of length 0 has
// no mapping, only an empty byte range.
class FileMapping {
 public:
  FileMapping() = default;
  // Opens, measures and maps `path`; the descriptor is closed before return
  // on every path. Throws IoError.
  static FileMapping map_file(std::string_view path);

  FileMapping(FileMapping&& other) noexcept { swap(other); }
  FileMapping& operator=(FileMapping&& other) noexcept {
    FileMapping(std::move(other)).swap(*this);
    return *this;
  }
  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;
  ~FileMapping();

  std::string_view bytes() const { return {data_, size_}; }

 private:
  FileMapping(const char* data, size_t size) : data_(data), size_(size) {}
  void swap(FileMapping& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
  }

  const char* data_ = nullptr;
  size_t size_ = 0;
};

struct CommonReadings {
  std::string_view vi;
  std::string_view en;
};

class PhonemeDict {
 public:
  static constexpr size_t kHeaderSize = 32;
  static constexpr size_t kMergedEntrySize = 8;
  static constexpr size_t kCommonEntrySize = 12;

  // Throws IoError: the system's "{} (os error {})", "Invalid dictionary
  // format", or "file name contained an unexpected NUL byte".
  static PhonemeDict load(std::string_view path);

  // String `id` as a view into the mapping, or "" (id out of range, not UTF-8).
  std::string_view get_string(uint32_t id) const;

  // Bisection of one table for `word`, compared byte for byte.
  std::optional<std::string_view> search_merged(std::string_view word) const;
  std::optional<CommonReadings> search_common(std::string_view word) const;

  // The length in bytes of the longest key of either table, found by the
  // load check.
  size_t longest_key_bound() const { return longest_key_; }

  size_t file_size() const { return file_.bytes().size(); }
  uint32_t string_count() const { return string_count_; }
  uint32_t merged_count() const { return merged_count_; }
  uint32_t common_count() const { return common_count_; }

 private:
  explicit PhonemeDict(FileMapping file);

  // Bisection over `count` records of `entry_size` bytes at `table_offset`;
  // returns the file offset of the matching record.
  std::optional<size_t> search(std::string_view word, uint32_t count, size_t table_offset,
                               size_t entry_size) const;
  // The u32 at `offset`, which must lie wholly inside the file.
  uint32_t u32_at(int64_t offset, const char* what) const;
  // The load check (dict_check.cpp): false on the first inconsistency.
  // Sets longest_key_.
  bool is_consistent();
  // Every id of the table's records below string_count, and its keys (whose
  // lengths, by string id, are given) in ascending byte order.
  bool table_is_sorted(uint32_t count, size_t table_offset, size_t entry_size,
                       const std::vector<uint32_t>& lengths);


  FileMapping file_;
  size_t string_table_offset_ = 0;
  size_t merged_table_offset_ = 0;
  size_t common_table_offset_ = 0;
  uint32_t string_count_ = 0;
  uint32_t merged_count_ = 0;
  uint32_t common_count_ = 0;
  size_t longest_key_ = 0;
};

}  // namespace vyr::g2p
