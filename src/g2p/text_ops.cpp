#include "g2p/text_ops.hpp"

#include <unicode/uchar.h>

#include <cstddef>

#include "text/unicode.hpp"

namespace vyr::g2p {
namespace {

bool is_ascii_upper(char c) { return c >= 'A' && c <= 'Z'; }

// The full lower-case mapping differs from the simple one only for U+0130,
// whose simple mapping already changes it, and (by context) for the capital
// sigma, which changes too: a word whose every character is its own simple
// lower case is its own full lower case. Ill-formed bytes decode as U+FFFD
// and are kept as they are, as ICU keeps them.
bool is_own_lower_case(std::string_view word) {
  for (size_t pos = 0; pos < word.size();) {
    const char32_t c = text::decode_utf8(word, pos);
    if (static_cast<char32_t>(u_tolower(static_cast<UChar32>(c))) != c) return false;
  }
  return true;
}

// Every White_Space character is ASCII (\t to \r, space) or starts with one
// of the lead bytes C2 (U+0085, U+00A0), E1 (U+1680), E2 (U+2000 to U+205F)
// and E3 (U+3000).
bool may_start_white_space(unsigned char b) {
  return b == ' ' || (b >= 0x09 && b <= 0x0D) || b == 0xC2 || (b >= 0xE1 && b <= 0xE3);
}

// The first byte of the last character, stepping back over at most three
// continuation bytes as text::trim_end does.
unsigned char last_lead_byte(std::string_view s) {
  size_t start = s.size() - 1;
  while (start > 0 && s.size() - start < 4 && (static_cast<unsigned char>(s[start]) & 0xC0) == 0x80) {
    --start;
  }
  return static_cast<unsigned char>(s[start]);
}

}  // namespace

std::string lower_word(std::string_view word) {
  bool ascii = true;
  bool upper = false;
  for (char c : word) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
    upper = upper || is_ascii_upper(c);
  }
  if (ascii) {
    std::string out(word);
    if (upper) {
      for (char& c : out) {
        if (is_ascii_upper(c)) c = static_cast<char>(c - 'A' + 'a');
      }
    }
    return out;
  }
  if (is_own_lower_case(word)) return std::string(word);
  return text::to_lower(word);
}

std::string lower_letter(char32_t c) {
  if (c < 0x80) {
    const char ch = static_cast<char>(c);
    return std::string(1, is_ascii_upper(ch) ? static_cast<char>(ch - 'A' + 'a') : ch);
  }
  return text::lower_char(c);
}

std::string_view trim_edges(std::string_view s) {
  if (s.empty()) return s;
  if (!may_start_white_space(static_cast<unsigned char>(s.front())) &&
      !may_start_white_space(last_lead_byte(s))) {
    return s;
  }
  return text::trim(s);
}

}  // namespace vyr::g2p
