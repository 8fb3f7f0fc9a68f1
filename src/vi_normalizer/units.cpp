#include "vi_normalizer/units.hpp"

#include <unicode/uchar.h>

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

#include "text/bytes.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/num2vi.hpp"
#include "vi_normalizer/number_led_search.hpp"
#include "vi_normalizer/numerical.hpp"
#include "vi_normalizer/reading_edges.hpp"
#include "vi_normalizer/resources.hpp"
#include "vi_normalizer/rewrite.hpp"
#include "vi_normalizer/slashes.hpp"

namespace vyr::vi_normalizer {

namespace {

// A number: «1», «1.5», «1,234,567.89»; one capture group.
constexpr std::string_view kNum = R"re((\d+(?:[.,]\d+)*))re";
// An optional magnitude word after a number: « triệu», «tỷ»; one capture group.
constexpr std::string_view kMag = R"re((?:\s*(tỷ|triệu|nghìn|ngàn))?)re";

std::string concat(std::initializer_list<std::string_view> pieces) {
  std::string out;
  for (std::string_view p : pieces) out += p;
  return out;
}

// «6.02×10^23» → «6.02», «23»; «1,6*10^-19» and «1,6.10^-19» (a dot for the
// sign) → «1,6», «-19».
const text::Regex& RE_POWER_OF_TEN() {
  static const text::Regex re(R"re((?i)\b(\d+(?:[.,]\d+)?)(?:\s*[x*×·]\s*|\.)10\^([-+]?\d+)\b)re",
                              text::Engine::kBacktracking);
  return re;
}

// «-2E5» → «-», «2E5»; «x1.5e-3» → no dash, «1.5e-3».
const text::Regex& RE_SCIENTIFIC_NOTATION() {
  static const text::Regex re(R"re((?i)([-–—])?(\d+(?:[.,]\d+)?e[+-]?\d+))re",
                              text::Engine::kBacktracking);
  return re;
}

// «60 km/h» → «60», «km», «h»; «m/s» → no number, «m», «s».
const text::Regex& RE_COMPOUND_UNIT() {
  static const text::Regex re(
      concat({"(?i)\\b", kNum, R"re(?\s*([a-zμµ²³°]+)/([a-zμµ²³°0-9]+)\b)re"}),
      text::Engine::kBacktracking);
  return re;
}

// «$ 1,5 triệu» → «$», «1,5», «triệu».
const text::Regex& RE_CURRENCY_PREFIX_SYMBOL() {
  static const text::Regex re(concat({R"re((?i)([$€¥£₩])\s*)re", kNum, kMag}),
                              text::Engine::kBacktracking);
  return re;
}

// «100€» → «100», no magnitude, «€»; «5 triệu¥» → «5», «triệu», «¥».
const text::Regex& RE_CURRENCY_SUFFIX_SYMBOL() {
  static const text::Regex re(concat({"(?i)", kNum, kMag, "([$€¥£₩])"}),
                              text::Engine::kBacktracking);
  return re;
}

// «12,5 %» → «12,5».
const text::Regex& RE_PERCENTAGE() {
  static const text::Regex re(concat({"(?i)", kNum, R"re(\s*%)re"}), text::Engine::kBacktracking);
  return re;
}

// «2 tỷ đ» → «2», «tỷ», «đ»; «5 mbps» → «5», no magnitude, «mbps» (longest key first).
const text::Regex& RE_UNITS_WITH_NUM() {
  static const text::Regex re(
      concat({R"re((?i)(?<![a-zA-Z\d.,]))re", kNum, kMag, R"re(\s*((?-i:)re",
              CASED_UNITS_RE_PATTERN(), ")|", UNITS_RE_PATTERN(), R"re()\b)re"}),
      text::Engine::kBacktracking);
  return re;
}

// «giá km» → «km»; not in «5km» or «.km».
const text::Regex& RE_STANDALONE_UNIT() {
  static const text::Regex re(R"re((?i)(?<![\d.,])\b(km|cm|mm|kg|mg|usd|vnd|ph)\b)re",
                              text::Engine::kBacktracking);
  return re;
}

// «1,234,567.89»; in «1,234,5678» only «1,234».
const text::Regex& RE_ENGLISH_STYLE_NUMBERS() {
  static const text::Regex re(R"re((?i)\b\d{1,3}(?:,\d{3})+(?:\.\d+)?\b)re",
                              text::Engine::kBacktracking);
  return re;
}

bool is_decimal_digit(char32_t c) {
  return u_charType(static_cast<UChar32>(c)) == U_DECIMAL_DIGIT_NUMBER;
}

// Offset of the code point that ends right before byte `pos` (pos > 0).
size_t previous_char_start(std::string_view text, size_t pos) {
  size_t start = pos - 1;
  for (int i = 0; i < 3 && start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80;
       ++i) {
    --start;
  }
  return start;
}

// True when some "e"/"E" has a digit right before it and a digit, or a sign
// and a digit, right after it: «1e5», «2E-3». Every scientific match holds
// one. Without this the engine retries a long digit run that ends in a bare
// "e" («1111…1e») from each of its digits, quadratic in the run.
bool has_exponent_mark(std::string_view text) {
  for (size_t e = text::find_any_byte(text, "eE"); e != std::string_view::npos;
       e = text::find_any_byte(text, "eE", e + 1)) {
    if (e == 0) continue;
    size_t before = previous_char_start(text, e);
    if (!is_decimal_digit(text::decode_utf8(text, before))) continue;
    size_t after = e + 1;
    if (after < text.size() && (text[after] == '+' || text[after] == '-')) ++after;
    if (after < text.size() && is_decimal_digit(text::decode_utf8(text, after))) return true;
  }
  return false;
}

// True when some `mark` (a "%" or a currency sign) follows a digit, with only
// white space between for "%", or a digit or letter (the end of a magnitude
// word) for a sign: «5 %», «100€», «5 triệu¥». Every percentage and
// currency-after match holds one. Without this the engine retries a long
// number that ends in something else («1111…1a %») from each of its digits.
bool has_number_before(std::string_view text, std::string_view mark, bool skip_white_space) {
  for (size_t at = text.find(mark); at != std::string_view::npos; at = text.find(mark, at + 1)) {
    size_t end = at;
    while (end > 0) {
      size_t start = previous_char_start(text, end);
      size_t next = start;
      const char32_t c = text::decode_utf8(text, next);
      if (skip_white_space && text::is_white_space(c)) {
        end = start;
        continue;
      }
      if (is_decimal_digit(c) || (!skip_white_space && text::is_alphabetic(c))) return true;
      break;
    }
  }
  return false;
}

bool has_number_before_currency_sign(std::string_view text) {
  for (std::string_view sign : {"$", "€", "¥", "£", "₩"}) {
    if (has_number_before(text, sign, false)) return true;
  }
  return false;
}

// Bytes that may end the unit token before "/" or begin the one after it: an
// ASCII letter (or a digit, after it), or any non-ASCII byte (µ, μ, ², ³, °,
// and the letters that match ASCII ones without regard to case, such as the
// Kelvin sign).
bool may_end_unit(unsigned char byte) {
  return byte >= 0x80 || ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z');
}
bool may_start_unit(unsigned char byte) {
  return may_end_unit(byte) || (byte >= '0' && byte <= '9');
}

// True when some "/" stands between two characters that a unit token may
// hold: «km/h», «a/b». Every compound-unit match holds one. Without this the
// engine retries a long dotted number before a "/" («1.1.1…1/») from each of
// its groups, quadratic in its length.
bool has_unit_slash(std::string_view text) {
  for (size_t slash = text.find('/'); slash != std::string_view::npos;
       slash = text.find('/', slash + 1)) {
    if (slash == 0 || slash + 1 == text.size()) continue;
    if (may_end_unit(static_cast<unsigned char>(text[slash - 1])) &&
        may_start_unit(static_cast<unsigned char>(text[slash + 1]))) {
      return true;
    }
  }
  return false;
}

bool contains(std::string_view s, std::string_view piece) {
  return s.find(piece) != std::string_view::npos;
}

bool contains_currency_symbol(std::string_view s) {
  return contains(s, "$") || contains(s, "€") || contains(s, "¥") || contains(s, "£") ||
         contains(s, "₩");
}

std::string without_byte(std::string_view s, char c) {
  std::string out;
  out.reserve(s.size());
  for (char b : s) {
    if (b != c) out += b;
  }
  return out;
}

size_t count_byte(std::string_view s, char c) { return std::count(s.begin(), s.end(), c); }

// The first two pieces of `s` split at `sep` (the second empty when there is none).
std::pair<std::string_view, std::string_view> first_two_parts(std::string_view s, char sep) {
  const size_t cut = s.find(sep);
  if (cut == std::string_view::npos) return {s, std::string_view()};
  std::string_view rest = s.substr(cut + 1);
  return {s.substr(0, cut), rest.substr(0, rest.find(sep))};
}

// «1», «50», "phẩy" → «một phẩy năm»; «1», «00» → «một» (trailing zeros dropped).
std::string decimal_reading(std::string_view whole, std::string_view fraction,
                            std::string_view word) {
  const size_t last = fraction.find_last_not_of('0');
  const std::string_view trimmed =
      last == std::string_view::npos ? std::string_view() : fraction.substr(0, last + 1);
  std::string out = n2w(whole);
  if (trimmed.empty()) return out;
  out += ' ';
  out += word;
  out += ' ';
  out += n2w_decimal(trimmed);
  return out;
}

// `s` split at `mark` read as a whole part and a fraction: «1.50» → «một
// chấm năm». Parts after the second are read too, each digit by digit after
// the word, and then no zero is trimmed: «1.20.3» → «một chấm hai không chấm
// ba».
std::string decimal_reading_of_parts(std::string_view s, char mark, std::string_view word) {
  const auto [whole, fraction] = first_two_parts(s, mark);
  const size_t further = whole.size() + 1 + fraction.size() + 1;
  if (further > s.size()) return decimal_reading(whole, fraction, word);
  std::string out = n2w(whole);
  for (size_t start = whole.size() + 1; start <= s.size();) {
    size_t end = s.find(mark, start);
    if (end == std::string_view::npos) end = s.size();
    if (end > start) {
      out += ' ';
      out += word;
      out += ' ';
      out += n2w_decimal(s.substr(start, end - start));
    }
    start = end + 1;
  }
  return out;
}

// «1.5» → «một chấm năm», «6,02» → «sáu phẩy không hai», «2» → «hai»; no
// thousands reading before an exponent.
std::string mantissa_reading(std::string_view mantissa) {
  if (contains(mantissa, ".")) return decimal_reading_of_parts(mantissa, '.', "chấm");
  if (contains(mantissa, ",")) return decimal_reading_of_parts(mantissa, ',', "phẩy");
  return n2w(mantissa);
}

// «-19» → «trừ mười chín», «+5» → «năm».
std::string exponent_reading(std::string_view exponent) {
  const size_t first = exponent.find_first_not_of('+');
  exponent = first == std::string_view::npos ? std::string_view() : exponent.substr(first);
  if (!exponent.empty() && exponent.front() == '-') {
    std::string out = "trừ ";
    out += n2w(exponent.substr(1));
    return out;
  }
  return n2w(exponent);
}

// A mark used once or more: thousands separators when there are three or
// more groups or one group of exactly three digits after the mark
// («1,500», «1.234.567»), a decimal mark otherwise («1,5», «2.05»).
std::string single_mark_reading(std::string_view text, char mark, std::string_view word) {
  const size_t marks = count_byte(text, mark);
  const auto [whole, fraction] = first_two_parts(text, mark);
  if (marks > 1 || fraction.size() == 3) return n2w(without_byte(text, mark));
  return decimal_reading(whole, fraction, word);
}

// "{} {} {}" of number, magnitude and unit readings, double spaces halved
// once from the left, trimmed: «5», «», «mét» → «5 mét».
std::string join_measure(std::string_view number, std::string_view magnitude,
                         std::string_view unit) {
  std::string joined;
  joined.reserve(number.size() + magnitude.size() + unit.size() + 2);
  joined += number;
  joined += ' ';
  joined += magnitude;
  joined += ' ';
  joined += unit;
  std::string halved;
  halved.reserve(joined.size());
  for (size_t i = 0; i < joined.size(); ++i) {
    halved += joined[i];
    if (joined[i] == ' ' && i + 1 < joined.size() && joined[i + 1] == ' ') ++i;
  }
  return std::string(text::trim(halved));
}

const std::string_view* find_unit(std::string_view lowered) {
  const UnitsMap& map = ALL_UNITS_MAP();
  const auto it = map.find(lowered);
  return it == map.end() ? nullptr : &it->second;
}

// One ASCII character by its letter name: «x» → «ích», «B» → «bê», «5» → «5».
std::string letter_name(std::string_view ch) {
  const std::string lowered = text::to_lower(ch);
  if (const std::string_view* name = VI_LETTER_NAMES().find(lowered)) return std::string(*name);
  return std::string(ch);
}

// "{currency reading}" of a symbol; the symbol itself if the table lacks it.
std::string_view currency_symbol_word(std::string_view symbol) {
  if (const std::string_view* word = CURRENCY_SYMBOL_MAP().find(symbol)) return *word;
  return symbol;
}

constexpr std::string_view kDongSign = "\u20AB";  // ₫

bool is_ascii_digit_at(std::string_view text, size_t pos) {
  return pos < text.size() && text[pos] >= '0' && text[pos] <= '9';
}

// Whether nothing of a word or a number goes on at text[pos]: the end, or a
// character that is no letter or digit and no "." or "," before a digit.
bool ends_token_at(std::string_view text, size_t pos) {
  if (pos >= text.size()) return true;
  if ((text[pos] == '.' || text[pos] == ',') && is_ascii_digit_at(text, pos + 1)) return false;
  size_t next = 0;
  return !text::is_alphanumeric(text::char_at(text, pos, &next));
}

// The height at the «m» text[m] of «1m75»: where its number starts, and where
// its centimetres end in *end; npos when the «m» is none. One to three digits
// with nothing of a word or number before them, then one or two digits; «5m2»
// and «5m3» are the square and cubic metre.
size_t height_start(std::string_view text, size_t m, size_t* end) {
  size_t start = m;
  while (start > 0 && m - start <= 3 && is_ascii_digit_at(text, start - 1)) --start;
  if (start == m || m - start > 3) return std::string_view::npos;
  if (start > 0) {
    const char32_t before = text::char_before(text, start);
    if (before == '.' || before == ',' || text::is_alphanumeric(before)) {
      return std::string_view::npos;
    }
  }
  size_t after = m + 1;
  while (is_ascii_digit_at(text, after) && after - m <= 2) ++after;
  const size_t digits = after - m - 1;
  if (digits == 0 || digits > 2 || !ends_token_at(text, after)) return std::string_view::npos;
  if (digits == 1 && (text[m + 1] == '2' || text[m + 1] == '3')) return std::string_view::npos;
  *end = after;
  return start;
}

// «cao 1m75» → «cao một mét bảy mươi lăm».
bool read_heights(std::string_view text, std::string& out) {
  size_t copied = 0;
  bool any = false;
  for (size_t m = text.find('m'); m != std::string_view::npos; m = text.find('m', m + 1)) {
    size_t end = 0;
    const size_t start = height_start(text, m, &end);
    if (start == std::string_view::npos || start < copied) continue;
    if (!any) {
      out.clear();
      out.reserve(text.size() + 32);
      any = true;
    }
    out.append(text.data() + copied, start - copied);
    out += n2w(text.substr(start, m - start));
    out += " mét ";
    out += n2w(text.substr(m + 1, end - m - 1));
    copied = end;
    m = end - 1;
  }
  if (any) out.append(text.data() + copied, text.size() - copied);
  return any;
}

// Where the unit after the "/" at text[slash] ends when a word stands right
// before the slash and a unit of the tables right after it («đồng/m2»,
// «tấn/ha»); npos otherwise, and in a number over code («12/3B/m»).
size_t unit_after_word_end(std::string_view text, size_t slash) {
  if (slash == 0 || !text::is_alphabetic(text::char_before(text, slash))) {
    return std::string_view::npos;
  }
  size_t end = slash + 1;
  while (end < text.size() && (text::is_ascii_letter(static_cast<unsigned char>(text[end])) ||
                               is_ascii_digit_at(text, end))) {
    ++end;
  }
  if (end == slash + 1 || !ends_token_at(text, end) ||
      !is_unit_symbol(text.substr(slash + 1, end - slash - 1)) || is_code_slash(text, slash)) {
    return std::string_view::npos;
  }
  return end;
}

// «15.600.000 đồng/m2» → «15.600.000 đồng trên mét vuông »: a unit after a
// word, as after a unit.
bool read_units_after_words(std::string_view text, std::string& out) {
  size_t copied = 0;
  bool any = false;
  for (size_t slash = text.find('/'); slash != std::string_view::npos;
       slash = text.find('/', slash + 1)) {
    const size_t end = unit_after_word_end(text, slash);
    if (end == std::string_view::npos) continue;
    if (!any) {
      out.clear();
      out.reserve(text.size() + 32);
      any = true;
    }
    out.append(text.data() + copied, slash - copied);
    out += " trên ";
    out += unit_word(text.substr(slash + 1, end - slash - 1));
    out += ' ';
    copied = end;
    slash = end - 1;
  }
  if (any) out.append(text.data() + copied, text.size() - copied);
  return any;
}

// Appends the reading of the match `m`, with "âm " first when a minus sign
// stands right before the match: the sign is taken off `out`, where it was
// copied with the text before the match. «giảm -5%» → «giảm âm năm phần
// trăm»; «a-5%» keeps its hyphen.
void append_signed(const text::Captures& m, std::string& out, std::string_view reading) {
  if (take_minus_sign(m, out)) out += "âm ";
  out += reading;
}

// The keys escaped and joined with "|", longest (in UTF-8 bytes) first, so
// that a key is never cut short by another it begins with.
std::string alternation_longest_first(std::vector<std::string_view> keys) {
  std::stable_sort(keys.begin(), keys.end(),
                   [](std::string_view a, std::string_view b) { return a.size() > b.size(); });
  std::string out;
  for (std::string_view key : keys) {
    if (!out.empty()) out += '|';
    out += text::Regex::escape(key);
  }
  return out;
}

}  // namespace

const UnitsMap& ALL_UNITS_MAP() {
  static const UnitsMap map = [] {
    UnitsMap m;
    for (const auto& [key, value] : MEASUREMENT_KEY_VI()) {
      m.insert_or_assign(text::to_lower(key), value);
    }
    for (const auto& [key, value] : CURRENCY_KEY()) {
      if (key != "%") m.insert_or_assign(text::to_lower(key), value);
    }
    m.insert_or_assign("m", "mét");
    return m;
  }();
  return map;
}

const std::string& UNITS_RE_PATTERN() {
  static const std::string pattern = [] {
    std::vector<std::string_view> keys;
    for (const auto& row : MEASUREMENT_KEY_VI()) keys.push_back(row.first);
    for (const auto& row : CURRENCY_KEY()) {
      if (row.first != "%") keys.push_back(row.first);
    }
    return alternation_longest_first(std::move(keys));
  }();
  return pattern;
}

const std::string& CASED_UNITS_RE_PATTERN() {
  static const std::string pattern = [] {
    std::vector<std::string_view> keys;
    for (const auto& row : CASED_UNIT_KEY()) keys.push_back(row.first);
    return alternation_longest_first(std::move(keys));
  }();
  return pattern;
}

bool is_unit_symbol(std::string_view token) {
  if (token.size() == 1 && token[0] >= 'A' && token[0] <= 'Z') return false;
  return CASED_UNIT_KEY().find(token) != nullptr || find_unit(text::to_lower(token)) != nullptr;
}

std::string expand_number_with_sep(std::string_view text) {
  if (text.empty()) return std::string();

  // «1.5e-3» → «một chấm năm nhân mười mũ trừ ba».
  const size_t e = text::find_any_byte(text, "eE");
  if (e != std::string_view::npos) {
    std::string out = mantissa_reading(text.substr(0, e));
    out += " nhân mười mũ ";
    out += exponent_reading(text.substr(e + 1));
    return out;
  }

  const size_t last_comma = text.rfind(',');
  const size_t last_dot = text.rfind('.');
  const bool has_comma = last_comma != std::string_view::npos;
  const bool has_dot = last_dot != std::string_view::npos;

  // «1,234.5» and «1.234,5»: the rightmost mark is the decimal one.
  // «1.2,3.4»: «một phẩy hai ba phẩy bốn».
  if (has_comma && has_dot) {
    const char decimal = last_comma > last_dot ? ',' : '.';
    const std::string rest = without_byte(text, decimal == ',' ? '.' : ',');
    return decimal_reading_of_parts(rest, decimal, "phẩy");
  }
  if (has_comma) return single_mark_reading(text, ',', "phẩy");
  if (has_dot) return single_mark_reading(text, '.', "chấm");
  return n2w(text);
}

// «m» → «mét», «M» → «triệu», «Kg» → «ki lô gam», «mW» → «mi li oát», «xyz» → «xyz».
std::string unit_word(std::string_view token) {
  if (const std::string_view* value = CASED_UNIT_KEY().find(token)) return std::string(*value);
  if (token == "M") return "triệu";
  if (token == "m") return "mét";
  if (const std::string_view* value = find_unit(text::to_lower(token))) return std::string(*value);
  return std::string(token);
}

// «3 x 10^8» → « ba nhân mười mũ tám ».
std::string read_power_of_ten(const text::Captures& m) {
  const std::string exponent = without_byte(m[2], '+');
  std::string out = " ";
  out += expand_number_with_sep(m[1]);
  out += " nhân mười mũ ";
  out += exponent_reading(exponent);
  out += ' ';
  return out;
}

// «-2E5» → « âm hai nhân mười mũ năm »; «3e8» → « ba nhân mười mũ tám ».
std::string read_scientific_number(const text::Captures& m) {
  std::string out = m.matched(1) ? " âm " : " ";
  out += expand_number_with_sep(m[2]);
  out += ' ';
  return out;
}

// «60 km/h» → «sáu mươi ki lô mét trên giờ »; «km/h» → « ki lô mét trên giờ »;
// «m/x» → « mờ trên ích » (two single characters, not both units, are letters).
std::string read_compound_unit(const text::Captures& m) {
  const std::string_view number = m[1];
  const std::string_view first = m[2];
  const std::string_view second = m[3];
  if (!number.empty()) {
    std::string out = expand_number_with_sep(number);
    out += ' ';
    out += unit_word(first);
    out += " trên ";
    out += unit_word(second);
    out += ' ';
    return out;
  }
  const bool both_units = find_unit(text::to_lower(first)) && find_unit(text::to_lower(second));
  const bool as_units = first.size() != 1 || second.size() != 1 || both_units;
  std::string out(1, ' ');
  out += as_units ? unit_word(first) : letter_name(first);
  out += " trên ";
  out += as_units ? unit_word(second) : letter_name(second);
  out += ' ';
  return out;
}

// «$ 1,5 triệu» → «một phẩy năm triệu __start_en__u s d__end_en__».
std::string read_currency_prefix(const text::Captures& m) {
  return join_measure(expand_number_with_sep(m[2]), m[3], currency_symbol_word(m[1]));
}

// «100€» → «một trăm __start_en__euro__end_en__».
std::string read_currency_suffix(const text::Captures& m) {
  return join_measure(expand_number_with_sep(m[1]), m[2], currency_symbol_word(m[3]));
}

// «12,5 %» → «mười hai phẩy năm phần trăm».
std::string read_percentage(const text::Captures& m) {
  std::string out = expand_number_with_sep(m[1]);
  out += " phần trăm";
  return out;
}

// «10kg» → «mười ki lô gam», «2 tỷ đ» → «hai tỷ đồng»; «5G» stays (a network
// generation, not grams), and so does the «10kg» of «5/10kg», the code of a
// number over code that normalize_slashes spells.
std::string read_unit_with_number(const text::Captures& m) {
  const std::string_view unit = m[3];
  if (unit == "G" || starts_slash_code(m.subject(), m.start(0))) return std::string(m.str());
  return join_measure(expand_number_with_sep(m[1]), m[2], unit_word(unit));
}

// «km» → « ki lô mét ».
std::string read_standalone_unit(const text::Captures& m) {
  const std::string_view word = m[1];
  std::string out = " ";
  if (const std::string_view* value = find_unit(text::to_lower(word))) {
    out += *value;
  } else {
    out += word;
  }
  out += ' ';
  return out;
}

// «1,234,567» → «1234567», «1,234.56» → «1234,56»; «1,234» stays (it may be a decimal).
std::string regroup_english_number(const text::Captures& m) {
  const std::string_view number = m.str();
  const bool has_dot = number.find('.') != std::string_view::npos;
  if (count_byte(number, ',') < 2 && !has_dot) return std::string(number);
  std::string out = without_byte(number, ',');
  std::replace(out.begin(), out.end(), '.', ',');
  return out;
}

std::string expand_power_of_ten(std::string_view text) {
  if (!contains(text, "10^")) return std::string(text);
  return RE_POWER_OF_TEN().replace_all_with(text, [](const text::Captures& m, std::string& out) {
    if (take_minus_sign(m, out)) out += " âm";  // «-3 x 10^8» → « âm ba nhân mười mũ tám »
    out += read_power_of_ten(m);
  });
}

std::string expand_scientific_notation(std::string_view text) {
  if (!has_exponent_mark(text)) return std::string(text);
  return RE_SCIENTIFIC_NOTATION().replace_all_with(
      text, [](const text::Captures& m, std::string& out) { out += read_scientific_number(m); });
}

std::string expand_compound_units(std::string_view text) {
  if (!has_unit_slash(text)) return std::string(text);
  std::string current =
      RE_COMPOUND_UNIT().replace_all_with(text, [](const text::Captures& m, std::string& out) {
    if (starts_slash_code(m.subject(), m.start(0))) {
      out += m.str();  // «3B/4» of «12/3B/4»: parts of a number over code
    } else if (m[1].empty()) {
      out += read_compound_unit(m);
    } else {
      append_signed(m, out, read_compound_unit(m));  // «-5 m/s» → «âm năm mét trên giây »
    }
  });
  rewrite::run_pass(current, read_units_after_words);
  return current;
}

std::string expand_units_and_currency(std::string_view text) {
  std::string current(text);
  rewrite::run_pass(current, read_heights);
  // One pass of `re` with `read`; `current` is replaced only when something matched.
  // Every reading of a number keeps a minus sign before it and never runs into
  // a letter glued to its match («5%abc»).
  const auto run = [&current](const text::Regex& re, std::string (*read)(const text::Captures&)) {
    std::string next;
    const auto append = [read](const text::Captures& m, std::string& out) {
      append_signed(m, out, apart_from_letters(m, read(m)));
    };
    if (rewrite::replace_all_with(current, re, next, append)) current.swap(next);
  };
  // The same for a pattern led by a number, searched once per number (the
  // engine alone retries a long number from each of its digits).
  const auto run_number_led = [&current](const NumberLedSearch& search,
                                         std::string (*read)(const text::Captures&)) {
    std::string next;
    const auto append = [read](const text::Captures& m, std::string& out) {
      append_signed(m, out, apart_from_letters(m, read(m)));
    };
    if (replace_matches(current, search.all(current), next, append)) current.swap(next);
  };
  static const NumberLedSearch currency_suffixes(RE_CURRENCY_SUFFIX_SYMBOL(),
                                                 NumberTail::kCurrencySymbol);
  static const NumberLedSearch percentages(RE_PERCENTAGE(), NumberTail::kPercentSign);
  static const NumberLedSearch units_with_numbers(RE_UNITS_WITH_NUM(), NumberTail::kUnitWord);
  // Readings never add digits: a text without any skips every numeric pass.
  const bool has_digit = text::contains_decimal_digit(current);
  if (has_digit && contains_currency_symbol(current)) {
    run(RE_CURRENCY_PREFIX_SYMBOL(), read_currency_prefix);
    if (has_number_before_currency_sign(current)) {
      run_number_led(currency_suffixes, read_currency_suffix);
    }
  }
  if (has_digit && has_number_before(current, "%", true)) {
    run_number_led(percentages, read_percentage);
  }
  if (has_digit) run_number_led(units_with_numbers, read_unit_with_number);
  rewrite::in_place_read(current, RE_STANDALONE_UNIT(), read_standalone_unit);
  return current;
}

bool fold_dong_signs(std::string_view text, std::string& out) {
  return rewrite::replace_literal(text, kDongSign, "đ", out);
}

std::string fix_english_style_numbers(std::string_view text) {
  if (!contains(text, ",")) return std::string(text);
  return RE_ENGLISH_STYLE_NUMBERS().replace_all_with(
      text, [](const text::Captures& m, std::string& out) { out += regroup_english_number(m); });
}

}  // namespace vyr::vi_normalizer
