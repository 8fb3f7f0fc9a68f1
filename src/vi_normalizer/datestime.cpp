#include "vi_normalizer/datestime.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "text/bytes.hpp"
#include "text/char_classes.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/context_words.hpp"
#include "vi_normalizer/num2vi.hpp"
#include "vi_normalizer/numerical.hpp"
#include "vi_normalizer/reading_edges.hpp"
#include "vi_normalizer/resources.hpp"
#include "vi_normalizer/rewrite.hpp"
#include "vi_normalizer/slashes.hpp"

namespace vyr::vi_normalizer {

// ---------------------------------------------------------------------------
// Patterns

// «2024-01-15T10:30:00Z» → matches «15T10» and «00Z».
const text::Regex& RE_ISO_FIX() {
  static const text::Regex re(R"re((\d{2})T(\d{2})|(\d{2})Z\b)re", text::Engine::kBacktracking);
  return re;
}

// «2023-04-05» → year «2023», month «04», day «05».
const text::Regex& RE_YYYY_MM_DD() {
  static const text::Regex re(
      R"re((?<![a-zA-Z\d])(?<![a-zA-Z\d][.,])(\d{4})-(\d{2})-(\d{2})(?!\d|[.,]\d))re",
      text::Engine::kBacktracking);
  return re;
}

// «Q1/2024» → period «Q1», year «2024».
const text::Regex& RE_PERIOD_YEAR() {
  static const text::Regex re(R"re((?i)\b([a-zA-Z]\d*)/(\d{4})\b)re",
                              text::Engine::kBacktracking);
  return re;
}

namespace {

// The three numeric date patterns share their edges: a number not glued to an
// ASCII letter or digit (nor to one followed by "." or ","), separators of
// three or two kinds, and an end not followed by a digit (nor by "." or ","
// and a digit).
constexpr std::string_view kDateStart = R"re((?<![a-zA-Z\d])(?<![a-zA-Z\d][.,])(\d{1,2}))re";
constexpr std::string_view kThreeWaySeparator = R"re((\/|-|\.))re";
constexpr std::string_view kTwoWaySeparator = R"re((\/|-))re";
constexpr std::string_view kDateEnd = R"re((?!\d|[.,]\d))re";

std::string concat(std::initializer_list<std::string_view> pieces) {
  std::string out;
  for (std::string_view p : pieces) out += p;
  return out;
}

}  // namespace

// «15/08/2024», «1/2-2023», «15.08.2024» → day, separator, month, separator, year.
const text::Regex& RE_FULL_DATE() {
  static const text::Regex re(concat({kDateStart, kThreeWaySeparator, "{1}", R"re((\d{1,2}))re",
                                      kThreeWaySeparator, "{1}", R"re((\d{4}))re", kDateEnd}),
                              text::Engine::kBacktracking);
  return re;
}

// «4/2024», «1.2000» → month, separator, year.
const text::Regex& RE_MONTH_YEAR() {
  static const text::Regex re(
      concat({kDateStart, kThreeWaySeparator, "{1}", R"re((\d{4}))re", kDateEnd}),
      text::Engine::kBacktracking);
  return re;
}

// «15/8», «05-06» → first number, separator, second number.
const text::Regex& RE_DAY_MONTH() {
  static const text::Regex re(
      concat({kDateStart, kTwoWaySeparator, "{1}", R"re((\d{1,2}))re", kDateEnd}),
      text::Engine::kBacktracking);
  return re;
}

// «30/4-1/5» → first day «30», month «4», last day «1», month «5»;
// «15-20/6», «2 – 7/10/2023» → first day, last day, month, year.
const text::Regex& RE_DATE_SPAN() {
  static const text::Regex re(
      concat({R"re((?<![a-zA-Z\d/])(?<![a-zA-Z\d][.,])(\d{1,2}))re",
              R"re((?:/(\d{1,2})(?:/(\d{4}))?)?(\s*)[-–—](\s*)(\d{1,2})/(\d{1,2})(?:/(\d{4}))?)re",
              R"re((?!\d|[.,]\d|/\d))re"}),
      text::Engine::kBacktracking);
  return re;
}

// «quý 2/2024» → «quý», quarter «2», year «2024»; «Quý IV/2023».
const text::Regex& RE_QUARTER_YEAR() {
  static const text::Regex re(
      R"re((?i)\b(quý)\s*([1-4]|iv|i{1,3})\s*[/-]\s*(\d{4})(?!\d|[.,]\d))re",
      text::Engine::kBacktracking);
  return re;
}

// «ngày 01», «tháng 09» → keyword, white space, the digit after the zero;
// not «ngày 01/02» or «tháng 05.2024», which the date readers take whole.
const text::Regex& RE_ZERO_PADDED_DAY_MONTH() {
  static const text::Regex re(R"re((?i)\b(ngày|tháng)(\s+)0([1-9])(?!\d|[/.,:\-–—]\d))re",
                              text::Engine::kBacktracking);
  return re;
}

// «10h30m45s» → hours «10», «h», minutes «30», «m», seconds «45», unit «s».
const text::Regex& RE_FULL_TIME() {
  static const text::Regex re(R"re((?i)\b(\d+)(g|:|h)(\d{1,2})(p|:|m)(\d{1,2})(?:\s*(giây|s|g))?\b)re",
                              text::Engine::kBacktracking);
  return re;
}

// «8h5 phút» → hours «8», «h», minutes «5», unit «phút».
const text::Regex& RE_TIME() {
  static const text::Regex re(
      "(?ix)\n        "
      R"re(\b(\d+)(g|h|:)(\d{1,2})(?:\s*(phút|p|m|giây|s|g))?\b(?![.,]\d))re"
      "\n    ",
      text::Engine::kBacktracking);
  return re;
}

// «10g sáng» → hour «10», part of the day «sáng».
const text::Regex& RE_HOUR_CONTEXT() {
  static const text::Regex re(R"re((?i)\b(\d+)g\s*(sáng|trưa|chiều|tối|khuya)\b)re",
                              text::Engine::kBacktracking);
  return re;
}

// «Lúc 08g» → hour «08».
const text::Regex& RE_LUC_HOUR() {
  static const text::Regex re(R"re((?i)\blúc\s*(\d+)g\b)re", text::Engine::kBacktracking);
  return re;
}

namespace {

// Every \d of the patterns is a Unicode decimal digit: an ASCII digit or a
// multi-byte character, so a text with neither cannot match.
bool may_hold_digit(std::string_view s) {
  for (char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= '0' && b <= '9') || b >= 0x80) return true;
  }
  return false;
}

bool holds_any(std::string_view s, std::string_view bytes) { return text::has_any_byte(s, bytes); }

// For the case-insensitive collapses: the word's one accented letter in
// either case (the other letters fold only to themselves).
bool holds_either(std::string_view s, std::string_view lower, std::string_view upper) {
  return s.find(lower) != std::string_view::npos || s.find(upper) != std::string_view::npos;
}

// ---------------------------------------------------------------------------
// Values and words shared by the date readers

// The longest day of each month; February always allows the 29th.
constexpr std::array<int32_t, 12> DAYS_IN_MONTH = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// A digit group as a signed 32-bit integer; nothing for digits of another
// script or a number too large. «0815» → 815, «١٥» → nothing.
std::optional<int32_t> parse_i32(std::string_view digits) {
  int32_t value = 0;
  const char* first = digits.data();
  const char* last = first + digits.size();
  const auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || ptr != last || digits.empty()) return std::nullopt;
  return value;
}

// A date group that does not parse counts as 0, which no valid date holds.
int32_t date_value(std::string_view digits) { return parse_i32(digits).value_or(0); }

bool is_valid_day_month(int32_t day, int32_t month) {
  if (month < 1 || month > 12) return false;
  return day >= 1 && day <= DAYS_IN_MONTH[static_cast<size_t>(month - 1)];
}

// 4 → «tư» (never «bốn»); 5 → «năm»; 12 → «mười hai».
std::string month_words(int32_t month) {
  if (month == 4) return "tư";
  return n2w(std::to_string(month));
}

// «05» (value 5) → «năm».
std::string day_words(int32_t day) { return n2w(std::to_string(day)); }

// "tháng {} năm {}", once «năm» for May and the year: «tháng năm hai nghìn …».
std::string month_year_words(int32_t month, std::string_view year_words) {
  std::string out = "tháng ";
  out += month_words(month);
  out += month == 5 ? " " : " năm ";
  out += year_words;
  return out;
}

// "ngày {} tháng {} năm {}".
std::string full_date(int32_t day, int32_t month, std::string_view year_words) {
  std::string out = "ngày ";
  out += day_words(day);
  out += ' ';
  out += month_year_words(month, year_words);
  return out;
}

// ---------------------------------------------------------------------------
// Context of a day/month pair

// The signs that make a nearby pair a fraction, as whole context words.
constexpr std::array<std::string_view, 13> kOperators = {"*", "+", "-", "/", "<", "=", ">",
                                                         "x", "×", "±", "≥", "≤", "≈"};

// «12/3A», «5/2023A»: the pair is the number over code that normalize_slashes
// reads, not a date or a fraction with letters glued to it.
bool opens_slash_code(const text::Captures& m) {
  return m[2] == "/" && is_code_slash(m.subject(), m.start(2));
}

// «01/2024/TT-NHNN»: a number, a year and a further "/" with letters is a
// document number, read part by part with «trên», not a month and year.
bool opens_document_number(const text::Captures& m) {
  const std::string_view subject = m.subject();
  const size_t end = m.end(0);
  if (end + 1 >= subject.size() || subject[end] != '/') return false;
  size_t next = 0;
  return text::is_alphabetic(text::char_at(subject, end + 1, &next));
}

bool is_operator_token(std::string_view w) {
  return std::find(kOperators.begin(), kOperators.end(), w) != kOperators.end();
}

// The words around a match that decide its reading: the last three before
// it and the first three after it.
struct Context {
  std::vector<std::string> before;
  std::vector<std::string> after;
  bool after_score;  // a score word among the words before («tỷ số 2-1»)

  Context(const WordIndex& words, size_t start, size_t end)
      : before(words.words_before(start, 3)),
        after(words.words_after(end, 3)),
        after_score(has_phrase_among_last(words, start, 3, SCORE_WORDS())) {}

  template <class Pred>
  bool any_word(Pred pred) const {
    return std::any_of(before.begin(), before.end(), pred) ||
           std::any_of(after.begin(), after.end(), pred);
  }
};

bool has_word_of(const std::vector<std::string>& words, const TextSet& set) {
  return std::any_of(words.begin(), words.end(),
                     [&set](const std::string& w) { return set.contains(w); });
}

bool has_phrase_of(const std::vector<std::string>& words, const TextSet& set) {
  return std::any_of(set.begin(), set.end(),
                     [&words](std::string_view p) { return has_phrase(words, p); });
}

// A math word or an operator token nearby: the pair is a fraction.
bool speaks_for_fraction(const Context& c) {
  return c.any_word([](const std::string& w) { return MATH_KEYWORDS().contains(w); }) ||
         c.any_word(is_operator_token);
}

bool is_number_word(std::string_view w) {
  return !w.empty() && std::all_of(w.begin(), w.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// «30/4», «1/5»: a context word that is a valid day and month written with "/".
bool is_slash_date_word(std::string_view w) {
  const size_t slash = w.find('/');
  if (slash == std::string_view::npos) return false;
  const std::string_view day = w.substr(0, slash);
  const std::string_view month = w.substr(slash + 1);
  return day.size() <= 2 && month.size() <= 2 && is_number_word(day) && is_number_word(month) &&
         is_valid_day_month(date_value(day), date_value(month));
}

// «ngày 2-9 tháng 10»: the pair counts days of the month named after it.
bool counts_days_of_a_month(const Context& c) {
  return c.after.size() >= 2 && c.after[0] == "tháng" && is_number_word(c.after[1]);
}

// «30/4 đến 1/5»: the pair is joined to another date by «đến».
bool joined_by_den_to_date(const Context& c) {
  return c.after.size() >= 2 && c.after[0] == "đến" && is_slash_date_word(c.after[1]);
}

// A pair written with "/": the first rule that applies decides. A valid pair
// with a date word nearby is a date; math nearby makes any pair a fraction; a
// part of the day, a span or deadline word or a street before a valid pair,
// or «đến» and another date after it, make it a date («chiều 5/5», «dịp
// 30/4 đến 1/5», «đường 3/2») unless a two-word math term stands near
// («tỷ lệ từ 1/3»); any other valid pair is a fraction («3/4 số người»).
std::optional<bool> slash_pair_is_date(bool valid, bool leading_zero, const Context& c) {
  if (valid && leading_zero) return true;
  if (valid && c.any_word([](const std::string& w) { return DATE_KEYWORDS().contains(w); }))
    return true;
  if (speaks_for_fraction(c)) return false;  // even for a pair that is no valid date
  if (valid && (has_word_of(c.before, SLASH_DATE_KEYWORDS()) || joined_by_den_to_date(c)) &&
      !has_phrase_of(c.before, MATH_KEYWORDS()) && !has_phrase_of(c.after, MATH_KEYWORDS()))
    return true;
  if (valid || leading_zero) return false;
  return std::nullopt;
}

// A pair joined by "-". Nobody writes a fraction with a dash, so it is one
// only with math nearby; it is a date only when valid and zero-led («05-06»)
// or after a date word («ngày 2-9»); the words after it say what it counts
// («1-3 tháng»), not that it is a date. A score («thắng 3-0») or a span of
// what a counting word names («thứ 2-6», «tháng 1-3»), or days of a month
// named after it («ngày 2-9 tháng 10»), is never a date. What
// is neither stays for the range step: «2-3 lít» reads «hai đến ba lít».
std::optional<bool> dash_pair_is_date(bool valid, bool leading_zero, const Context& c) {
  if (c.after_score) return std::nullopt;
  if (!c.before.empty() && COUNTING_WORDS().contains(c.before.back())) return std::nullopt;
  if (counts_days_of_a_month(c)) return std::nullopt;
  if (valid && (leading_zero || has_word_of(c.before, DATE_KEYWORDS()))) return true;
  if (speaks_for_fraction(c)) return false;
  return std::nullopt;
}

// ---------------------------------------------------------------------------
// Doubled words

// The word of letters that ends right before the white space before `pos`,
// lower-cased; empty when no white space or no letter stands there.
std::string word_before(std::string_view text, size_t pos) {
  size_t end = pos;
  while (end > 0 && text::is_white_space(text::char_before(text, end)))
    end = text::char_start_before(text, end);
  if (end == pos) return std::string();
  size_t start = end;
  while (start > 0 && end - start <= 16 && text::is_alphabetic(text::char_before(text, start)))
    start = text::char_start_before(text, start);
  if (start == end || end - start > 16) return std::string();
  return text::to_lower(text.substr(start, end - start));
}

// The word of letters that starts right after the white space after `pos`,
// lower-cased; empty when no white space or no letter stands there.
std::string word_after(std::string_view text, size_t pos) {
  size_t start = pos;
  size_t next = 0;
  while (start < text.size() && text::is_white_space(text::char_at(text, start, &next)))
    start = next;
  if (start == pos) return std::string();
  size_t end = start;
  while (end < text.size() && end - start <= 16 &&
         text::is_alphabetic(text::char_at(text, end, &next)))
    end = next;
  if (end == start || end - start > 16) return std::string();
  return text::to_lower(text.substr(start, end - start));
}

// A date reading where the text beside its match already says one of its
// words: the reading's own word goes, never one the text holds. «ngày 15/8»,
// «hôm 5/6» → no second «ngày»; «tháng 5/2023» → no second «tháng»; «ngày
// 15/5 năm 2023» → May is followed by the year's own «năm». Two words that
// both stood in the text stay: «năm năm qua», «ngày ngày đi làm».
std::string without_doubled_words(std::string_view subject, size_t start, size_t end,
                                  std::string reading) {
  constexpr std::string_view kNgay = "ngày ";
  constexpr std::string_view kThang = "tháng ";
  constexpr std::string_view kMay = " tháng năm";
  if (reading.starts_with(kNgay)) {
    const std::string before = word_before(subject, start);
    if (before == "ngày" || before == "hôm") reading.erase(0, kNgay.size());
  } else if (reading.starts_with(kThang) && word_before(subject, start) == "tháng") {
    reading.erase(0, kThang.size());
  }
  if (reading.ends_with(kMay) && word_after(subject, end) == "năm") {
    reading.erase(reading.size() - std::string_view(" năm").size());
  }
  return reading;
}

std::string date_reading(const text::Captures& m, std::string reading) {
  return apart_from_letters(
      m, without_doubled_words(m.subject(), m.start(0), m.end(0), std::move(reading)));
}

// "ngày {} tháng {}".
std::string day_month_words(int32_t day, int32_t month) {
  std::string out = "ngày ";
  out += day_words(day);
  out += " tháng ";
  out += month_words(month);
  return out;
}

// «ngày 15/8» → «ngày mười lăm tháng tám»; «x = 1/2» → «x = một trên hai»;
// «2-3» → unchanged (a range); «13/13» alone → unchanged.
std::string read_day_month_in(const text::Captures& m, const WordIndex& words) {
  if (opens_slash_code(m)) return std::string(m.str());
  const std::string_view a_digits = m[1];
  const std::string_view b_digits = m[3];
  const int32_t a = date_value(a_digits);
  const int32_t b = date_value(b_digits);
  const bool valid = is_valid_day_month(a, b);
  const bool leading_zero = a_digits.starts_with('0') || b_digits.starts_with('0');
  Context context(words, m.start(0), m.end(0));
  const bool dash = m[2] == "-";
  const bool signed_pair = minus_sign_before(m.subject(), m.start(0)) > 0;
  // The minus sign of «giảm -5-10%» is the first number's own, no operator.
  if (dash && signed_pair && !context.before.empty()) context.before.pop_back();
  const std::optional<bool> date = dash ? dash_pair_is_date(valid, leading_zero, context)
                                        : slash_pair_is_date(valid, leading_zero, context);
  if (!date) return std::string(m.str());
  if (*date) {
    // A street named after a date is read without «ngày»: «đường ba tháng hai».
    std::string reading = day_month_words(a, b);
    const std::string_view last =
        context.before.empty() ? std::string_view() : std::string_view(context.before.back());
    if (last == "đường" || last == "phố") reading.erase(0, std::string_view("ngày ").size());
    return date_reading(m, std::move(reading));
  }

  // A minus sign before the fraction is read, as the number pass reads one
  // («x = -5/10»); the dash itself goes with the other hyphens.
  std::string out;
  if (signed_pair) out = "âm ";
  // As written, so a leading zero is read: «05» → «không năm».
  out += n2w(a_digits);
  out += " trên ";
  out += n2w(b_digits);
  return apart_from_letters(m, std::move(out));
}

// A date and its optional year: «ngày {} tháng {}», then « năm {}» when the
// year is there.
std::string date_words(int32_t day, int32_t month, std::string_view year) {
  if (year.empty()) return day_month_words(day, month);
  return full_date(day, month, n2w(year));
}

// «30/4-1/5» → «ngày ba mươi tháng tư đến ngày một tháng năm»; «15-20/6» →
// «mười lăm đến hai mươi tháng sáu»; «2-7/10/2023» → «hai đến bảy tháng mười
// năm …». A span that is no pair of valid dates, or a first day not before
// the last, or one with math nearby («x = 1/2-1/3»), stays as written.
std::string read_date_span_in(const text::Captures& m, const WordIndex& words) {
  if (!m[4].empty() && m[5].empty()) return std::string(m.str());  // «5 -10/2»: a sign
  const int32_t last_day = date_value(m[6]);
  const int32_t last_month = date_value(m[7]);
  const int32_t first_day = date_value(m[1]);
  if (!is_valid_day_month(last_day, last_month)) return std::string(m.str());
  std::string out;
  if (m.matched(2)) {
    const int32_t first_month = date_value(m[2]);
    if (!is_valid_day_month(first_day, first_month)) return std::string(m.str());
    out = date_words(first_day, first_month, m.matched(3) ? m[3] : std::string_view());
    out += " đến ";
    out += date_words(last_day, last_month, m.matched(8) ? m[8] : std::string_view());
  } else {
    if (first_day < 1 || first_day >= last_day) return std::string(m.str());
    out = day_words(first_day);
    out += " đến ";
    out += day_words(last_day);
    out += " tháng ";
    out += month_words(last_month);
    if (m.matched(8)) {
      out += " năm ";
      out += n2w(m[8]);
    }
  }
  if (speaks_for_fraction(Context(words, m.start(0), m.end(0)))) return std::string(m.str());
  return date_reading(m, std::move(out));
}

// ---------------------------------------------------------------------------
// Clock numbers

// Leading zeros dropped, then a whole number: «08» → «tám», «00» → «không».
std::string clock_number(std::string_view digits) {
  const size_t first = digits.find_first_not_of('0');
  if (first == std::string_view::npos) return n2w("0");
  return n2w(digits.substr(first));
}

}  // namespace

// ---------------------------------------------------------------------------
// Per-match functions of normalize_date

// «15T10» → «15 T 10»; «00Z» → «00 Z ».
std::string split_iso_timestamp(const text::Captures& m) {
  std::string out;
  if (m.matched(1)) {
    out = m[1];
    out += " T ";
    out += m[2];
  } else {
    out = m[3];
    out += " Z ";
  }
  return out;
}

// «2023-04-05» → «ngày năm tháng tư năm hai nghìn không trăm hai mươi ba»;
// «2023-02-30» → unchanged.
std::string read_iso_date(const text::Captures& m) {
  const int32_t month = date_value(m[2]);
  const int32_t day = date_value(m[3]);
  if (!is_valid_day_month(day, month)) return std::string(m.str());
  return date_reading(m, full_date(day, month, n2w(m[1])));
}

// «Q1/2024» → «quý một hai không hai bốn»; «H1/2024» → «hát một hai không hai bốn».
std::string read_period_year(const text::Captures& m) {
  const std::string_view period = m[1];
  if (period.empty()) return std::string(m.str());
  std::string words;
  if ((period[0] == 'q' || period[0] == 'Q') && period.size() <= 2) {
    words = "quý ";
    if (period.size() == 2) words += n2w(period.substr(1));
  } else {
    size_t pos = 0;
    while (pos < period.size()) {
      const size_t start = pos;
      const char32_t c = text::decode_utf8(period, pos);
      if (!words.empty()) words += ' ';
      if (c >= '0' && c <= '9') {
        words += n2w(period.substr(start, pos - start));
        continue;
      }
      const std::string lowered = text::lower_char(c);
      if (const std::string_view* name = VI_LETTER_NAMES().find(lowered)) {
        words += *name;
      } else {
        words += lowered;
      }
    }
  }
  std::string out(text::trim(words));
  out += ' ';
  out += n2w_decimal(m[2]);  // digit by digit, no «năm» before it
  return out;
}

// «30/04/1975» → «ngày ba mươi tháng tư năm một nghìn chín trăm bảy mươi lăm»;
// «32/01/2024» → unchanged.
std::string read_full_date(const text::Captures& m) {
  const int32_t day = date_value(m[1]);
  const int32_t month = date_value(m[3]);
  if (!is_valid_day_month(day, month)) return std::string(m.str());
  return date_reading(m, full_date(day, month, n2w(m[5])));
}

// «4/2024» → «tháng tư năm hai nghìn không trăm hai mươi bốn»; «13/2024» and
// «5/3000» → unchanged.
std::string read_month_year(const text::Captures& m) {
  if (opens_slash_code(m) || opens_document_number(m)) return std::string(m.str());
  const int32_t month = date_value(m[1]);
  // A year in digits of another script has no value; read as 0 it would
  // replace the year by «không», so the match stays as written instead.
  const std::optional<int32_t> year_value = parse_i32(m[3]);
  if (!year_value) return std::string(m.str());
  const int32_t year = *year_value;
  if (month < 1 || month > 12 || year > 2500) return std::string(m.str());
  return date_reading(m, month_year_words(month, n2w(std::to_string(year))));
}

// «quý 2/2024» → «quý hai năm hai nghìn không trăm hai mươi bốn»; «quý
// III/2023» → «quý ba năm …».
std::string read_quarter_year(const text::Captures& m) {
  const std::string quarter = text::to_lower(m[2]);
  int32_t number = 0;
  if (quarter[0] >= '1' && quarter[0] <= '4') {
    number = quarter[0] - '0';
  } else {
    number = quarter == "iv" ? 4 : static_cast<int32_t>(quarter.size());  // i, ii, iii
  }
  std::string out(m[1]);
  out += ' ';
  out += n2w(std::to_string(number));
  out += " năm ";
  out += n2w(m[3]);
  return apart_from_letters(m, std::move(out));
}

// «ngày 01 tháng 01» → «ngày 1 tháng 1»: the zero of a day or month after its
// word is not read.
std::string drop_day_month_zero(const text::Captures& m) {
  std::string out(m[1]);
  out += m[2];
  out += m[3];
  return out;
}

// «05/06» → «ngày năm tháng sáu»; «29/2» → «hai mươi chín trên hai».
std::string read_day_month(const text::Captures& m) {
  const WordIndex words(m.subject());
  return read_day_month_in(m, words);
}

// ---------------------------------------------------------------------------
// Per-match functions of normalize_time

// «08:05:09» → «tám giờ năm phút chín giây»; no limit on any part. The clock
// readers leave the code of a number over code («12/3h30») to normalize_slashes.
std::string read_full_time(const text::Captures& m) {
  if (starts_slash_code(m.subject(), m.start(0))) return std::string(m.str());
  std::string out = clock_number(m[1]);
  out += " giờ ";
  out += clock_number(m[3]);
  out += " phút ";
  out += clock_number(m[5]);
  out += " giây";
  return out;
}

// «8:30» → «tám giờ ba mươi phút»; «25:30» → «hai mươi lăm phút ba mươi giây»;
// «8:5», «9:60» → unchanged.
std::string read_time(const text::Captures& m) {
  if (starts_slash_code(m.subject(), m.start(0))) return std::string(m.str());
  const std::string_view minutes = m[3];
  const std::optional<int32_t> minute_value = parse_i32(minutes);
  if (!minute_value || *minute_value >= 60) return std::string(m.str());
  const bool unit = m.matched(4);
  if (!unit && minutes.size() == 1) return std::string(m.str());

  const std::optional<int32_t> hour_value = parse_i32(m[1]);
  const bool minutes_and_seconds = m[2] == ":" && hour_value && *hour_value >= 24;
  std::string out = clock_number(m[1]);
  out += minutes_and_seconds ? " phút " : " giờ ";
  out += clock_number(minutes);
  out += minutes_and_seconds ? " giây" : " phút";
  return out;
}

// «10g Tối» → «mười giờ Tối».
std::string read_hour_context(const text::Captures& m) {
  if (starts_slash_code(m.subject(), m.start(0))) return std::string(m.str());
  std::string out = clock_number(m[1]);
  out += " giờ ";
  out += m[2];
  return out;
}

// «Lúc 08g» → «lúc tám giờ».
std::string read_luc_hour(const text::Captures& m) {
  std::string out = "lúc ";
  out += clock_number(m[1]);
  out += " giờ";
  return out;
}

// ---------------------------------------------------------------------------
// The passes

namespace {

// One pass of `re` whose per-match function reads the words around each
// match in the text as it stood before the pass; the index is built at the
// first match only.
void in_place_with_words(std::string& text, const text::Regex& re,
                         std::string (*read)(const text::Captures&, const WordIndex&)) {
  std::optional<WordIndex> words;
  rewrite::in_place(text, re, [&](const text::Captures& m, std::string& out) {
    if (!words) words.emplace(m.subject());
    out += read(m, *words);
  });
}

}  // namespace

std::string normalize_date(std::string_view input) {
  std::string text(input);
  if (may_hold_digit(text)) {
    // Which separators the text holds, in one scan: no reading writes one
    // that was not there, so the answers hold through the steps.
    const text::ByteSet present(text);
    if (present.any("TZ")) rewrite::in_place_read(text, RE_ISO_FIX(), split_iso_timestamp);
    if (present.any("-")) rewrite::in_place_read(text, RE_YYYY_MM_DD(), read_iso_date);
    if (text::has_byte_preceded_by(text, "0", text::is_white_space) &&
        (holds_either(text, "à", "À") || holds_either(text, "á", "Á")))
      rewrite::in_place_read(text, RE_ZERO_PADDED_DAY_MONTH(), drop_day_month_zero);
    if (present.any("/-") && holds_either(text, "ý", "Ý"))
      rewrite::in_place_read(text, RE_QUARTER_YEAR(), read_quarter_year);
    if (present.any("/")) rewrite::in_place_read(text, RE_PERIOD_YEAR(), read_period_year);
    if (present.any("/") && present.any("-\xE2"))
      in_place_with_words(text, RE_DATE_SPAN(), read_date_span_in);
    if (present.any("/-.")) {
      rewrite::in_place_read(text, RE_FULL_DATE(), read_full_date);
      rewrite::in_place_read(text, RE_MONTH_YEAR(), read_month_year);
    }
    if (present.any("/-")) in_place_with_words(text, RE_DAY_MONTH(), read_day_month_in);
  }
  // The doubled words its readings would make were left out as each was
  // written; two words that both stood in the text («năm năm qua») stay.
  return text;
}

std::string normalize_time(std::string_view input) {
  std::string text(input);
  if (!may_hold_digit(text)) return text;
  if (holds_any(text, ":gGhH")) {
    rewrite::in_place_read(text, RE_FULL_TIME(), read_full_time);
    rewrite::in_place_read(text, RE_TIME(), read_time);
  }
  if (holds_any(text, "gG")) rewrite::in_place_read(text, RE_HOUR_CONTEXT(), read_hour_context);
  if (holds_either(text, "ú", "Ú")) rewrite::in_place_read(text, RE_LUC_HOUR(), read_luc_hour);
  return text;
}

}  // namespace vyr::vi_normalizer
