#include "vi_normalizer/roman_primes.hpp"

#include <cstdint>
#include <string>

#include "text/char_classes.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/num2vi.hpp"
#include "vi_normalizer/resources.hpp"

namespace vyr::vi_normalizer {

// «XIV», «MCMXCIX» as whole words; not «IIII», «IC», «X», «XIVth», «AXIV».
const text::Regex& RE_ROMAN_NUMBER() {
  static const text::Regex re(
      R"re(\b(?=[IVXLCDM]{2,})(?:M{0,4}(?:CM|CD|D?C{0,3})(?:XC|XL|L?X{0,3})(?:IX|IV|V?I{0,3}))(?<=[IVXLCDM])\b)re",
      text::Engine::kBacktracking);
  return re;
}

// «x'» → group «x»; «A’» → «A»; nothing in «don't», «l'eau», «ab'».
const text::Regex& RE_PRIME() {
  static const text::Regex re(R"re((\b[a-zA-Z0-9])['’](?!\w))re", text::Engine::kBacktracking);
  return re;
}

// «45''» → «''»; «45”» → «”»; the digit stays outside the match.
const text::Regex& RE_PRIME_DIGIT() {
  static const text::Regex re(R"re((?<=\d)(['’]+|[\x22”]))re", text::Engine::kBacktracking);
  return re;
}

// «1.2.3», «10.0.1»; not «1.2», «-1.2.3», «1.2.3a».
const text::Regex& RE_VERSION() {
  static const text::Regex re(R"re((?<![-–—])\b(\d+(?:\.\d+){2,})\b)re",
                              text::Engine::kBacktracking);
  return re;
}

namespace {

int32_t roman_value(char32_t c) {
  const int32_t* value = ROMAN_NUMERALS().find(c);
  return value ? *value : 0;
}

// «XIV» → 14: a letter worth less than the one after it is subtracted.
int64_t roman_total(std::string_view numeral) {
  // 64 bits: no overflow whatever the length of the text handed in.
  int64_t total = 0;
  if (numeral.empty()) return total;
  size_t pos = 0;
  int32_t value = roman_value(text::decode_utf8(numeral, pos));
  while (pos < numeral.size()) {
    const int32_t next = roman_value(text::decode_utf8(numeral, pos));
    total += value < next ? -value : value;
    value = next;
  }
  return total + value;
}

// The longest numbering word's bytes, and the most white space looked over.
constexpr size_t kLongestWordBytes = 16;
constexpr size_t kMostSpaceBytes = 16;

// Where the white space that ends at `end` starts, or npos when there is none
// or too much of it.
size_t space_start_before(std::string_view text, size_t end) {
  size_t start = end;
  while (start > 0 && end - start <= kMostSpaceBytes) {
    const size_t before = text::char_start_before(text, start);
    if (!text::is_white_space(text::char_before(text, start))) break;
    start = before;
  }
  return start == end || end - start > kMostSpaceBytes ? std::string_view::npos : start;
}

// Where the word of letters that ends at `end` starts, or npos when there is
// none or it is longer than any numbering word.
size_t word_start_before(std::string_view text, size_t end) {
  size_t start = end;
  while (start > 0 && end - start <= kLongestWordBytes) {
    if (!text::is_alphabetic(text::char_before(text, start))) break;
    start = text::char_start_before(text, start);
  }
  return start == end || end - start > kLongestWordBytes ? std::string_view::npos : start;
}

}  // namespace

bool follows_numbering_word(std::string_view text, size_t pos) {
  const size_t last_end = space_start_before(text, pos);
  if (last_end == std::string_view::npos) return false;
  const size_t last = word_start_before(text, last_end);
  if (last == std::string_view::npos) return false;
  const std::string last_word = text::to_lower(text.substr(last, last_end - last));
  if (NUMBERING_WORDS().contains(last_word)) return true;
  const size_t first_end = space_start_before(text, last);
  if (first_end == std::string_view::npos) return false;
  const size_t first = word_start_before(text, first_end);
  if (first == std::string_view::npos) return false;
  return NUMBERING_WORDS().contains(text::to_lower(text.substr(first, first_end - first)) + ' ' +
                                    last_word);
}

// «XIV» → « mười bốn »; «MCMXCIX» → « một nghìn chín trăm chín mươi chín ».
std::string read_roman_numeral(const text::Captures& m) {
  std::string out = " ";
  out += n2w(std::to_string(roman_total(m.str())));
  out += ' ';
  return out;
}

// «x'» → «ích phẩy»; «5'» → «năm phẩy».
std::string read_prime(const text::Captures& m) {
  const std::string lowered = text::to_lower(m[1]);
  std::string out;
  if (lowered.size() == 1 && lowered[0] >= '0' && lowered[0] <= '9') {
    out = n2w_single(lowered);
  } else if (const std::string_view* name = VI_LETTER_NAMES().find(lowered)) {
    out = std::string(*name);
  } else {
    out = lowered;
  }
  out += " phẩy";
  return out;
}

// «'» → « phẩy »; «''», «'''», «"», «”» → « phẩy phẩy ».
std::string read_digit_prime(const text::Captures& m) {
  const std::string_view marks = m[1];
  const bool single = marks == "'" || marks == "’";
  return single ? " phẩy " : " phẩy phẩy ";
}

// «10.0.1» → «một không chấm không chấm một»; a digit of another script stays.
std::string read_version(const text::Captures& m) {
  const std::string_view version = m[1];
  std::string out;
  out.reserve(version.size() * 6);
  size_t pos = 0;
  bool part_start = true;
  while (pos < version.size()) {
    const size_t begin = pos;
    const char32_t c = text::decode_utf8(version, pos);
    if (c == '.') {
      out += " chấm ";
      part_start = true;
      continue;
    }
    if (!part_start) out += ' ';
    out += n2w_single(version.substr(begin, pos - begin));
    part_start = false;
  }
  return out;
}

}  // namespace vyr::vi_normalizer
