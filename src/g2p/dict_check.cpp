// The load check of a phoneme dictionary: the whole file once, before any
// lookup, so that a malformed file is refused by the constructor instead of
// answering wrongly or failing at its first lookup.
//
// Time: one read of the header, the string table and both tables, and one
// read of every string's bytes (strings that share bytes share the read);
// then one comparison per pair of neighbouring keys, whose bytes read in all
// are held to a multiple of the file's size (see kComparedBytesPerFileByte).
// The string starts are
// sorted only when the string table does not list them in ascending order
// already, as files written by tests/dictgen.py do.

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "g2p/phoneme_dict.hpp"
#include "text/unicode.hpp"

namespace vyr::g2p {
namespace {

constexpr uint64_t kSignedCountLimit = uint64_t{1} << 31;

// Neighbouring keys are compared byte by byte. Keys written one after another
// read each byte about once; only keys that are tails of one another in the
// pool ("a", "aa", "aaa"…) could make the comparisons read the file's bytes
// over and over. A file whose comparisons would read more than this many
// bytes per byte of the file is refused, so that the check stays linear.
constexpr uint64_t kComparedBytesPerFileByte = 32;
constexpr uint64_t kComparedBytesFloor = uint64_t{1} << 20;

uint32_t le32(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
}

bool is_continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Whether `count` records of `entry_size` bytes at `offset` lie in the file.
bool fits(uint64_t offset, uint64_t count, uint64_t entry_size, size_t file_size) {
  return offset <= file_size && count <= (file_size - offset) / entry_size;
}

struct StringStart {
  uint64_t start;  // file offset
  uint32_t id;
};

// Lengths of every string, by id, when each starts inside the file, ends
// with a NUL there and is UTF-8; nullopt otherwise. `starts` must ascend.
// A string that starts inside the one before it (a shared tail) is checked
// by its first byte alone: the bytes after it were read with that string.
std::optional<std::vector<uint32_t>> string_lengths(std::string_view bytes,
                                                    const std::vector<StringStart>& starts,
                                                    size_t string_count) {
  std::vector<uint32_t> lengths(string_count);
  size_t end = 0;  // the NUL ending the latest string read whole
  bool have_end = false;
  for (const StringStart& s : starts) {
    if (s.start >= bytes.size()) return std::nullopt;  // no room for its NUL
    const auto start = static_cast<size_t>(s.start);
    if (!have_end || start > end) {
      const void* nul = std::memchr(bytes.data() + start, '\0', bytes.size() - start);
      if (nul == nullptr) return std::nullopt;
      end = static_cast<size_t>(static_cast<const char*>(nul) - bytes.data());
      have_end = true;
      if (!text::is_valid_utf8(bytes.substr(start, end - start))) return std::nullopt;
    } else if (is_continuation(bytes[start])) {
      return std::nullopt;  // starts inside a character
    }
    lengths[s.id] = static_cast<uint32_t>(end - start);
  }
  return lengths;
}

}  // namespace

bool PhonemeDict::is_consistent() {
  const std::string_view bytes = file_.bytes();
  if (!fits(string_table_offset_, string_count_, 4, bytes.size()) ||
      merged_count_ >= kSignedCountLimit || common_count_ >= kSignedCountLimit ||
      !fits(merged_table_offset_, merged_count_, kMergedEntrySize, bytes.size()) ||
      !fits(common_table_offset_, common_count_, kCommonEntrySize, bytes.size())) {
    return false;
  }
  std::vector<StringStart> starts(string_count_);
  for (uint32_t id = 0; id < string_count_; ++id) {
    const char* slot = bytes.data() + string_table_offset_ + uint64_t{4} * id;
    starts[id] = StringStart{kHeaderSize + uint64_t{le32(slot)}, id};
  }
  auto by_start = [](const StringStart& a, const StringStart& b) { return a.start < b.start; };
  if (!std::is_sorted(starts.begin(), starts.end(), by_start)) {
    std::sort(starts.begin(), starts.end(), by_start);
  }
  const std::optional<std::vector<uint32_t>> lengths =
      string_lengths(bytes, starts, string_count_);
  if (!lengths) return false;
  return table_is_sorted(merged_count_, merged_table_offset_, kMergedEntrySize, *lengths) &&
         table_is_sorted(common_count_, common_table_offset_, kCommonEntrySize, *lengths);
}

bool PhonemeDict::table_is_sorted(uint32_t count, size_t table_offset, size_t entry_size,
                                  const std::vector<uint32_t>& lengths) {
  const std::string_view bytes = file_.bytes();
  const uint64_t budget = kComparedBytesPerFileByte * bytes.size() + kComparedBytesFloor;
  uint64_t compared = 0;
  std::string_view previous;
  for (uint32_t i = 0; i < count; ++i) {
    const char* record = bytes.data() + table_offset + uint64_t{i} * entry_size;
    for (size_t field = 0; field < entry_size; field += 4) {
      if (le32(record + field) >= string_count_) return false;
    }
    const uint32_t id = le32(record);
    const char* slot = bytes.data() + string_table_offset_ + uint64_t{4} * id;
    const std::string_view key(bytes.data() + kHeaderSize + le32(slot), lengths[id]);
    // The same bytes again (a repeated id) are equal without a comparison.
    if (i > 0 && key.data() != previous.data()) {
      compared += std::min(key.size(), previous.size()) + 1;
      if (compared > budget || key < previous) return false;
    }
    longest_key_ = std::max(longest_key_, key.size());
    previous = key;
  }
  return true;
}

}  // namespace vyr::g2p
