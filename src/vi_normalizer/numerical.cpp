#include "vi_normalizer/numerical.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

#include "text/bytes.hpp"
#include "text/char_classes.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/num2vi.hpp"
#include "vi_normalizer/rewrite.hpp"

namespace vyr::vi_normalizer {

namespace {

// «thứ 4» → groups «thứ», « », «4»; «THỨ  12» → «THỨ», «  », «12».
const text::Regex& RE_ORDINAL() {
  static const text::Regex re(R"re((?i)(thứ|hạng)(\s+)(\d+)\b)re", text::Engine::kLinear);
  return re;
}

// «0912345678», «+84912345678», «0084912345678»; also inside longer digit runs.
const text::Regex& RE_PHONE() {
  static const text::Regex re(R"re(((\+84|84|0|0084)(3|5|7|8|9)[0-9]{8}))re",
                              text::Engine::kLinear);
  return re;
}

// «-1.234» → neg «-», number «1.234»; «2 100» → number «2 100». A group
// separator is one white-space character other than a line break, so numbers
// on two lines never join: «2020\n100» gives «2020» and «100».
const text::Regex& RE_NUMBER() {
  static const text::Regex re(
      R"re((?<!\d)(?P<neg>[-–—])?(\d+(?:,\d+|(?:\.\d{3})+(?!\d)|\.\d+|(?:[^\S\n\x0B\x0C\r\x{85}\x{2028}\x{2029}]\d{3})+(?!\d))?)(?!\d))re",
      text::Engine::kBacktracking);
  return re;
}
constexpr size_t kNegGroup = 1;
constexpr size_t kNumberGroup = 2;

// «1.234.567» is matched whole; in «1.2345» the match «1.234» is not all of it.
const text::Regex& RE_DOT_SEP() {
  static const text::Regex re(R"re(\d+(\.\d{3})+)re", text::Engine::kLinear);
  return re;
}

// «10cm x 20cm», «3 × 4 × 5», «2 max 3» (unit «ma», sign «x»).
const text::Regex& RE_MULTIPLY() {
  static const text::Regex re(
      R"re((?i)\d+(?:\s*[a-zA-Zμµ²³°]+\d*)?(?:\s*[x×]\s*\d+(?:\s*[a-zA-Zμµ²³°]+\d*)?)+)re",
      text::Engine::kBacktracking);
  return re;
}

// The sign with its white space in «10cm x 20cm» (« x »), «2X3» («X»).
const text::Regex& RE_EXPAND_MULTIPLY() {
  static const text::Regex re(R"re((?i)(?<=\d|[a-zA-Zμµ²³°])\s*[x×]\s*(?=\d))re",
                              text::Engine::kBacktracking);
  return re;
}

bool contains_multiply_sign(std::string_view text) {
  return text::has_any_byte(text, "xX") || text.find("\u00d7") != std::string_view::npos;
}

// The code point right before byte offset `pos`, or nothing at the start.
std::optional<char32_t> char_before(std::string_view text, size_t pos) {
  if (pos == 0) return std::nullopt;
  size_t start = pos - 1;
  // Step back over at most three continuation bytes to the lead byte.
  for (int i = 0; i < 3 && start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80;
       ++i) {
    --start;
  }
  return text::decode_utf8(text, start);
}

// The characters before a dash that make it a minus sign, besides white space.
bool opens_signed_number(char32_t c) {
  return c == '(' || c == '[' || c == ';' || c == ',' || c == '.' || text::is_white_space(c);
}

// «4» → «tư», «1» → «nhất», «14» → «mười bốn», «04» → «không bốn».
std::string ordinal_word(std::string_view digits) {
  if (digits == "4") return "tư";
  if (digits == "1") return "nhất";
  return n2w(digits);
}

// «thứ 4» → «thứ tư»; keyword and white space as written.
void read_ordinal(const text::Captures& m, std::string& out) {
  out += m[1];
  out += m[2];
  out += ordinal_word(m[3]);
}

// «0912345678» → «không chín một hai ba bốn năm sáu bảy tám».
void read_phone_number(const text::Captures& m, std::string& out) { out += n2w_single(m.str()); }

// Replaces `current` by one pass of `re` with `append` when anything matched.
void run_pass(std::string& current, const text::Regex& re,
              void (*append)(const text::Captures&, std::string&)) {
  std::string next;
  if (rewrite::replace_all_with(current, re, next, append)) current.swap(next);
}

bool has_byte(std::string_view s, char c) { return s.find(c) != std::string_view::npos; }

std::string without_byte(std::string_view s, char c) {
  std::string out;
  out.reserve(s.size());
  for (char b : s) {
    if (b != c) out += b;
  }
  return out;
}

// The first two pieces of `s` split at `sep` (the second empty when there is none).
std::pair<std::string_view, std::string_view> first_two_parts(std::string_view s, char sep) {
  const size_t cut = s.find(sep);
  if (cut == std::string_view::npos) return {s, std::string_view()};
  std::string_view rest = s.substr(cut + 1);
  return {s.substr(0, cut), rest.substr(0, rest.find(sep))};
}

size_t count_byte(std::string_view s, char c) {
  size_t n = 0;
  for (char b : s) n += (b == c);
  return n;
}

// "{sign}{whole} {word} {fraction digits}", trimmed: «1.5» → «một chấm năm».
std::string decimal_reading(std::string_view sign, std::string_view whole, std::string_view word,
                            std::string_view fraction) {
  std::string out(sign);
  out += n2w(whole);
  out += ' ';
  out += word;
  out += ' ';
  out += n2w_decimal(fraction);
  return std::string(text::trim(out));
}

// In a number whose groups follow white space («2 100», «2020 100»): where its
// leading digits end when they cannot lead thousands groups, else npos. Only
// one to three digits without a leading zero can, so «2020 100» and «007 123»
// are two numbers (the code keeps its zeros), while «2 100» and «12 345» are one.
size_t unjoinable_leading_group_end(std::string_view number) {
  size_t digits = 0;
  bool zero_first = false;
  for (size_t pos = 0, next = 0; pos < number.size(); pos = next) {
    const char32_t c = text::char_at(number, pos, &next);
    if (c == '.' || c == ',') return std::string_view::npos;
    if (text::is_space_class(c)) return digits > 3 || zero_first ? pos : std::string_view::npos;
    if (digits == 0) zero_first = c == '0';
    ++digits;
  }
  return std::string_view::npos;
}

// True when the leftmost dot-grouped run of `num` is all of it: «1.234.567», «0.500».
bool is_dot_grouped(std::string_view num) {
  const std::optional<text::Captures> m = RE_DOT_SEP().find(num);
  return m && m->start(0) == 0 && m->end(0) == num.size();
}

}  // namespace

std::string num_to_words(std::string_view num, bool negative) {
  const std::string_view sign = negative ? "âm " : "";
  const bool has_dot = has_byte(num, '.');

  // «05» → «không năm»: a leading zero is read digit by digit.
  if (!has_dot && !has_byte(num, ',') && !has_byte(num, ' ') && num.size() >= 2 &&
      num[0] == '0') {
    std::string out(sign);
    out += n2w_single(num);
    return std::string(text::trim(out));
  }

  // «1.5» → «một chấm năm»; «1.2345» → «một chấm hai ba bốn lăm».
  const bool grouped = has_dot && is_dot_grouped(num);
  if (has_dot && !grouped && count_byte(num, '.') == 1) {
    const auto [whole, fraction] = first_two_parts(num, '.');
    return decimal_reading(sign, whole, "chấm", fraction);
  }

  // Thousands dots go; spaces between groups go; other white space stays for n2w to skip.
  std::string cleaned = without_byte(grouped ? without_byte(num, '.') : std::string(num), ' ');

  // «3,14» → «ba phẩy một bốn»: a comma is always a decimal mark here.
  if (has_byte(cleaned, ',')) {
    const auto [whole, fraction] = first_two_parts(cleaned, ',');
    return decimal_reading(sign, whole, "phẩy", fraction);
  }

  if (!negative) return n2w(cleaned);
  std::string out = "âm ";
  out += n2w(cleaned);
  return std::string(text::trim(out));
}

namespace {

// Whether a letter stands at byte `pos` of `text`.
bool letter_follows(std::string_view text, size_t pos) {
  size_t next = 0;
  return pos < text.size() && text::is_alphabetic(text::char_at(text, pos, &next));
}

// The reading of `number` (the match's number, or its leading part) with the
// match's dash as a hyphen or a minus sign.
std::string signed_reading(const text::Captures& m, std::string_view number) {
  const bool has_dash = m.matched(kNegGroup);
  if (has_dash) {
    const std::optional<char32_t> before = char_before(m.subject(), m.start(0));
    if (before && !opens_signed_number(*before)) {
      // «a-5» → «a-năm»: a hyphen between a word and a number. A letter
      // glued after the number is kept apart from its reading: «WH-1000XM5»
      // → «WH-một nghìn XM năm».
      std::string out(m[kNegGroup]);
      out += num_to_words(number, false);
      if (letter_follows(m.subject(), m.end(0))) out += ' ';
      return out;
    }
  }
  std::string out = " ";
  out += num_to_words(number, has_dash);
  out += ' ';
  return out;
}

}  // namespace

std::string read_signed_number(const text::Captures& m) {
  const std::string_view number = m[kNumberGroup];
  const size_t lead_end = unjoinable_leading_group_end(number);
  if (lead_end == std::string_view::npos) return signed_reading(m, number);
  // «2020 100» → « hai nghìn không trăm hai mươi   một trăm »: the leading
  // digits, the white space as written, then the groups as a number of their own.
  size_t rest = lead_end;
  text::char_at(number, lead_end, &rest);
  std::string out = signed_reading(m, number.substr(0, lead_end));
  out += number.substr(lead_end, rest - lead_end);
  out += ' ';
  out += num_to_words(number.substr(rest), false);
  out += ' ';
  return out;
}

namespace {

// A character that the steps between the early readings and the late number
// pass turn into white space or a comma, or delete: quotes, the closing
// brackets and "{", ":" and "…". A dash after one is judged as the late pass
// will judge it, after what it becomes.
bool vanishes_before_numbers_are_read(char32_t c) {
  switch (c) {
    case '"':
    case '\'':
    case U'\u201C':  // “
    case U'\u201D':  // ”
    case U'\u201E':  // „
    case U'\u2018':  // ‘
    case U'\u2019':  // ’
    case U'\u00AB':  // «
    case U'\u00BB':  // »
    case '{':
    case '}':
    case ')':
    case ']':
    case ':':
    case U'\u2026':  // …
      return true;
    default:
      return false;
  }
}

}  // namespace

size_t minus_sign_before(std::string_view text, size_t pos) {
  size_t dash = 0;
  if (pos >= 1 && text[pos - 1] == '-') {
    dash = 1;
  } else if (pos >= 3 && (text.compare(pos - 3, 3, "\u2013") == 0 ||
                          text.compare(pos - 3, 3, "\u2014") == 0)) {
    dash = 3;
  } else {
    return 0;
  }
  const std::optional<char32_t> before = char_before(text, pos - dash);
  return !before || opens_signed_number(*before) || vanishes_before_numbers_are_read(*before)
             ? dash
             : 0;
}

bool take_minus_sign(const text::Captures& m, std::string& out) {
  const size_t dash = minus_sign_before(m.subject(), m.start(0));
  if (dash == 0 || out.size() < dash ||
      out.compare(out.size() - dash, dash, m.subject().substr(m.start(0) - dash, dash)) != 0) {
    return false;
  }
  out.resize(out.size() - dash);
  return true;
}

std::string normalize_number_vi(std::string_view text) {
  std::string current(text);
  if (!text::contains_decimal_digit(current)) return current;
  run_pass(current, RE_ORDINAL(), read_ordinal);
  run_pass(current, RE_PHONE(), read_phone_number);
  run_pass(current, RE_NUMBER(), [](const text::Captures& m, std::string& out) {
    out += read_signed_number(m);
  });
  return current;
}

std::string expand_multiply_number(std::string_view text) {
  return RE_EXPAND_MULTIPLY().replace_all(text, " nhân ");
}

std::string expand_multiplications(std::string_view text) {
  if (!contains_multiply_sign(text) || !text::contains_decimal_digit(text)) return std::string(text);
  return RE_MULTIPLY().replace_all_with(text, [](const text::Captures& m, std::string& out) {
    out += expand_multiply_number(m.str());
  });
}

}  // namespace vyr::vi_normalizer
