#include "vi_normalizer/roman_primes.hpp"

#include <cstdint>
#include <string>

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

}  // namespace

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
