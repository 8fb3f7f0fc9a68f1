#include "vi_normalizer/num2vi.hpp"

#include <array>
#include <cstddef>

#include "text/bytes.hpp"

namespace vyr::vi_normalizer {
namespace {

constexpr std::array<std::string_view, 10> DIGIT_WORDS = {
    "không", "một", "hai", "ba", "bốn", "năm", "sáu", "bảy", "tám", "chín",
};

// A word of the readings and its separating space, roughly, for reserving.
constexpr size_t kBytesPerDigitWord = 7;

// No cardinal is spoken beyond 100 digits; longer ones are read digit by
// digit, which keeps the reading linear in the digits (each further three
// groups of a cardinal add one more "tỷ": quadratic).
constexpr size_t kLongestCardinal = 100;

bool is_ascii_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view digit_word(char digit) {
  return DIGIT_WORDS[static_cast<size_t>(digit - '0')];
}

// Only bytes 0x30..0x39 count: in UTF-8 they never occur inside the encoding
// of another character, so a byte scan skips every non-ASCII digit safely.
// «-1.2x٣4» → «124»
std::string ascii_digits(std::string_view text) {
  std::string digits;
  digits.reserve(text.size());
  for (char c : text) {
    if (is_ascii_digit(c)) digits += c;
  }
  return digits;
}

// Appends words to one output, one space between neighbours.
class WordJoiner {
 public:
  explicit WordJoiner(std::string& out) : out_(out) {}
  void add(std::string_view word) {
    if (!out_.empty()) out_ += ' ';
    out_ += word;
  }

 private:
  std::string& out_;
};

// Words of one three-digit group; `own_three_digits` is false only for the
// leftmost group, which may be shorter and then says nothing for its hundreds.
// «105» → «một trăm lẻ năm», «021» inside → «không trăm hai mươi mốt»
void read_group(char h, char t, char u, bool own_three_digits, WordJoiner& words) {
  const bool says_hundreds = h != '0' || own_three_digits;
  if (says_hundreds) {
    words.add(digit_word(h));
    words.add("trăm");
  }
  if (t == '1') {
    words.add("mười");
  } else if (t != '0') {
    words.add(digit_word(t));
    words.add("mươi");
  } else if (u != '0' && says_hundreds) {
    words.add("lẻ");
  }
  if (u == '0') return;
  if (u == '1' && t >= '2') {
    words.add("mốt");
  } else if (u == '5' && t != '0') {
    words.add("lăm");
  } else {
    words.add(digit_word(u));
  }
}

// Group 1 is thousands, 2 millions, 3 billions; every further three groups add
// one more "tỷ". «group 7» → «nghìn tỷ tỷ»
void read_scale(size_t group, WordJoiner& words) {
  if (group % 3 == 1) words.add("nghìn");
  if (group % 3 == 2) words.add("triệu");
  for (size_t i = 0; i < group / 3; ++i) words.add("tỷ");
}

// `digits` has no leading zero. Groups are read from the highest down, which
// gives the same text as reading them upwards and reversing.
// «2000500» → «hai triệu năm trăm»
std::string read_cardinal(std::string_view digits) {
  const size_t groups = (digits.size() + 2) / 3;
  const size_t leftmost_size = digits.size() - 3 * (groups - 1);
  std::string out;
  out.reserve(digits.size() * 2 * kBytesPerDigitWord);
  WordJoiner words(out);
  size_t pos = 0;
  for (size_t g = groups; g-- > 0;) {
    const size_t size = (g == groups - 1) ? leftmost_size : 3;
    std::string_view group = digits.substr(pos, size);
    pos += size;
    if (group == "000") continue;
    const char h = size == 3 ? group[0] : '0';
    const char t = size >= 2 ? group[size - 2] : '0';
    const char u = group[size - 1];
    read_group(h, t, u, g != groups - 1, words);
    read_scale(g, words);
  }
  return out;
}

// «0123» → «không một hai ba»
std::string read_digit_by_digit(std::string_view digits) {
  std::string out;
  out.reserve(digits.size() * kBytesPerDigitWord);
  WordJoiner words(out);
  for (char c : digits) words.add(digit_word(c));
  return out;
}

}  // namespace

// «1.234» → «một nghìn hai trăm ba mươi bốn», «05» → «không năm», «000» → «không»
std::string n2w(std::string_view text) {
  if (!text::has_ascii_digit(text)) return std::string(text);
  const std::string digits = ascii_digits(text);
  if (digits.size() == 2 && digits[0] == '0') {
    std::string out = "không ";
    out += digit_word(digits[1]);
    return out;
  }
  const size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return "không";
  if (digits.size() - first > kLongestCardinal) return read_digit_by_digit(digits);
  return read_cardinal(std::string_view(digits).substr(first));
}

// «+84912» → «không chín một hai», «12-34» → «một hai ba bốn»
std::string n2w_single(std::string_view text) {
  const bool country_code = text.substr(0, 3) == "+84";
  std::string_view rest = country_code ? text.substr(3) : text;
  if (!country_code && !text::has_ascii_digit(rest)) return std::string(text);
  std::string out;
  out.reserve((rest.size() + 1) * kBytesPerDigitWord);
  WordJoiner words(out);
  if (country_code) words.add(digit_word('0'));
  for (char c : rest) {
    if (is_ascii_digit(c)) words.add(digit_word(c));
  }
  return out;
}

// «007» → «không không bảy», «0» → «không», «1005» → «một nghìn không trăm lẻ năm»
std::string n2w_code_or_cardinal(std::string_view text) {
  const std::string digits = ascii_digits(text);
  if (digits.size() >= 2 && digits[0] == '0') return n2w_single(digits);
  return n2w(text);
}

// «125» → «một hai lăm», «505» → «năm không năm», «5» → «năm»
std::string n2w_decimal(std::string_view text) {
  if (!text::has_ascii_digit(text)) return std::string(text);
  const std::string digits = ascii_digits(text);
  std::string out;
  out.reserve(digits.size() * kBytesPerDigitWord);
  WordJoiner words(out);
  const size_t last = digits.size() - 1;
  for (size_t i = 0; i < digits.size(); ++i) {
    const bool final_lam = i == last && i > 0 && digits[i] == '5' && digits[i - 1] != '0';
    words.add(final_lam ? std::string_view("lăm") : digit_word(digits[i]));
  }
  return out;
}

}  // namespace vyr::vi_normalizer
