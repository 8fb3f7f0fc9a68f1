// Quick tests of the pattern classes \d, \s and \w (their Unicode meaning in
// text/pattern_translation.hpp), for the byte pre-checks that let a pass skip
// a search that cannot match.
//
//   if (!vyr::text::may_be_digit(c)) ...  // c is surely no \d
//
// "may" tests answer false only for characters the class surely leaves out,
// "surely" tests answer true only for characters it surely holds, so a
// pre-check built on them can only ever err towards running the search.
// The blocks named below are assigned in full (or hold no digit set), which
// keeps the answers the same across Unicode versions. Thread safe.
#pragma once

#include <cstddef>
#include <string_view>

#include "text/bytes.hpp"
#include "text/unicode.hpp"

namespace vyr::text {

constexpr bool is_ascii_letter(char32_t c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
constexpr bool is_ascii_digit(char32_t c) { return c >= '0' && c <= '9'; }

// \d is \p{Nd}: beyond ASCII none sits below U+0660 (the Arabic-Indic
// digits), nor in Latin Extended Additional, Greek Extended, punctuation,
// super- and subscripts, currency, letter-like, number forms, arrows or
// mathematical operators (U+1E00..U+22FF).
constexpr bool may_be_digit(char32_t c) {
  if (c < 0x80) return is_ascii_digit(c);
  return c >= 0x660 && !(c >= 0x1E00 && c <= 0x22FF);
}

// \s exactly: the White_Space code points.
constexpr bool is_space_class(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

// \w for sure: ASCII letters, digits and "_", and the letters of Latin-1,
// Latin Extended-A and -B and Latin Extended Additional, which hold every
// Vietnamese letter.
constexpr bool surely_word(char32_t c) {
  if (c < 0x80) return is_ascii_letter(c) || is_ascii_digit(c) || c == '_';
  if (c >= 0xC0 && c <= 0x24F) return c != 0xD7 && c != 0xF7;
  return c >= 0x1E00 && c <= 0x1EFF;
}

// The code point that starts at text[pos] (pos < text.size()); *next is set
// past it. Two- and three-byte sequences are read here; anything else goes
// to decode_utf8, so invalid bytes read as U+FFFD as they do there.
inline char32_t char_at(std::string_view text, size_t pos, size_t* next) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const unsigned char b = p[pos];
  if (b < 0x80) {
    *next = pos + 1;
    return b;
  }
  const size_t left = text.size() - pos;
  if (b >= 0xC2 && b <= 0xDF && left >= 2 && (p[pos + 1] & 0xC0) == 0x80) {
    *next = pos + 2;
    return (static_cast<char32_t>(b & 0x1F) << 6) | (p[pos + 1] & 0x3F);
  }
  // E0 and ED restrict their second byte; the other three-byte leads do not.
  if (b >= 0xE1 && b <= 0xEF && b != 0xED && left >= 3 && (p[pos + 1] & 0xC0) == 0x80 &&
      (p[pos + 2] & 0xC0) == 0x80) {
    *next = pos + 3;
    return (static_cast<char32_t>(b & 0x0F) << 12) |
           (static_cast<char32_t>(p[pos + 1] & 0x3F) << 6) | (p[pos + 2] & 0x3F);
  }
  *next = pos;
  return decode_utf8(text, *next);
}

// Where the UTF-8 sequence that ends right before text[pos] starts (0 < pos
// <= text.size()); at most three continuation bytes are stepped over.
inline size_t char_start_before(std::string_view text, size_t pos) {
  size_t start = pos - 1;
  while (start > 0 && pos - start < 4 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
    --start;
  return start;
}

// The code point that ends right before text[pos] (0 < pos <= text.size()),
// read from the start of its sequence.
inline char32_t char_before(std::string_view text, size_t pos) {
  const auto b = static_cast<unsigned char>(text[pos - 1]);
  if (b < 0x80) return b;
  size_t next = 0;
  return char_at(text, char_start_before(text, pos), &next);
}

// Whether some byte of `bytes` (ASCII) has a character for which before(c)
// holds right before it and one for which after(c) holds right after it:
// «1.5» for ".", may_be_digit, may_be_digit.
template <class Before, class After>
bool has_byte_between(std::string_view text, std::string_view bytes, Before before, After after) {
  for (size_t i = find_any_byte(text, bytes, 1); i != std::string_view::npos && i + 1 < text.size();
       i = find_any_byte(text, bytes, i + 1)) {
    size_t next = 0;
    if (before(char_before(text, i)) && after(char_at(text, i + 1, &next))) return true;
  }
  return false;
}

// Whether some byte of `bytes` (ASCII) has a character for which before(c)
// holds right before it: «a ,» for ",", is_space_class.
template <class Before>
bool has_byte_preceded_by(std::string_view text, std::string_view bytes, Before before) {
  for (size_t i = find_any_byte(text, bytes, 1); i != std::string_view::npos;
       i = find_any_byte(text, bytes, i + 1)) {
    if (before(char_before(text, i))) return true;
  }
  return false;
}

// Whether some byte of `bytes` (ASCII) has a character for which after(c)
// holds right after it: «a,b» for ",", is_ascii_letter.
template <class After>
bool has_byte_followed_by(std::string_view text, std::string_view bytes, After after) {
  for (size_t i = find_any_byte(text, bytes); i != std::string_view::npos && i + 1 < text.size();
       i = find_any_byte(text, bytes, i + 1)) {
    size_t next = 0;
    if (after(char_at(text, i + 1, &next))) return true;
  }
  return false;
}

// Whether some byte of `first` (ASCII) is followed, after nothing but \s,
// by a byte of `second`: «a. .» for ".", ".". Each run of white space is
// read once, from the byte before it.
inline bool has_bytes_across_spaces(std::string_view text, std::string_view first,
                                    std::string_view second) {
  for (size_t i = find_any_byte(text, first); i != std::string_view::npos;
       i = find_any_byte(text, first, i + 1)) {
    size_t j = i + 1;
    for (size_t next = 0; j < text.size() && is_space_class(char_at(text, j, &next));) j = next;
    if (j < text.size() && second.find(text[j]) != std::string_view::npos) return true;
  }
  return false;
}

// Whether some character for which first(c) holds is followed right away
// by one for which second(c) holds: «B5» for is_ascii_letter, may_be_digit.
template <class First, class Second>
bool has_pair(std::string_view text, First first, Second second) {
  bool previous = false;
  for (size_t pos = 0, next = 0; pos < text.size(); pos = next) {
    const char32_t c = char_at(text, pos, &next);
    if (previous && second(c)) return true;
    previous = first(c);
  }
  return false;
}

// Whether `count` characters in a row may all be \d.
inline bool may_hold_digit_run(std::string_view text, size_t count) {
  size_t run = 0;
  for (size_t pos = 0, next = 0; pos < text.size(); pos = next) {
    run = may_be_digit(char_at(text, pos, &next)) ? run + 1 : 0;
    if (run >= count) return true;
  }
  return false;
}

}  // namespace vyr::text
