// Byte searches for the pre-checks that let a pass skip the pattern engine.
//
//   if (!vyr::text::has_any_byte(text, ":;")) return;  // no "[:;]" can match
//
// Each is one pass over the text with no allocation; thread safe.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace vyr::text {

// The first byte of `text` at or after `from` that is one of `bytes`, or
// npos. One table look-up a byte, where std::string_view::find_first_of
// calls memchr on `bytes` for every byte of the text.
inline size_t find_any_byte(std::string_view text, std::string_view bytes, size_t from = 0) {
  std::array<bool, 256> in_set{};
  for (char b : bytes) in_set[static_cast<unsigned char>(b)] = true;
  for (size_t i = from; i < text.size(); ++i) {
    if (in_set[static_cast<unsigned char>(text[i])]) return i;
  }
  return std::string_view::npos;
}

inline bool has_any_byte(std::string_view text, std::string_view bytes) {
  return find_any_byte(text, bytes) != std::string_view::npos;
}

inline bool has_ascii_digit(std::string_view text) {
  for (char c : text) {
    if (c >= '0' && c <= '9') return true;
  }
  return false;
}

// The bytes a text holds, from one scan, for several questions of the kind
// of has_any_byte about one text.
class ByteSet {
 public:
  explicit ByteSet(std::string_view text) {
    for (char c : text) present_[static_cast<unsigned char>(c)] = true;
  }
  bool any(std::string_view bytes) const {
    for (char c : bytes) {
      if (present_[static_cast<unsigned char>(c)]) return true;
    }
    return false;
  }

 private:
  std::array<bool, 256> present_{};
};

}  // namespace vyr::text
