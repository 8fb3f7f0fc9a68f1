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
#include "text/unicode.hpp"
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

// «ngày ngày 15» → «ngày 15».
const text::Regex& RE_REDUNDANT_NGAY() {
  static const text::Regex re(R"re((?i)\bngày\s+ngày\b)re", text::Engine::kBacktracking);
  return re;
}

// «tháng  Tháng» → «tháng».
const text::Regex& RE_REDUNDANT_THANG() {
  static const text::Regex re(R"re((?i)\btháng\s+tháng\b)re", text::Engine::kBacktracking);
  return re;
}

// «Năm năm qua» → «năm qua».
const text::Regex& RE_REDUNDANT_NAM() {
  static const text::Regex re(R"re((?i)\bnăm\s+năm\b)re", text::Engine::kBacktracking);
  return re;
}

// «hôm ngày năm» → «hôm năm».
const text::Regex& RE_REDUNDANT_HOM_NGAY() {
  static const text::Regex re(R"re((?i)\bhôm\s+ngày\b)re", text::Engine::kBacktracking);
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

// "ngày {} tháng {} năm {}".
std::string full_date(int32_t day, int32_t month, std::string_view year_words) {
  std::string out = "ngày ";
  out += day_words(day);
  out += " tháng ";
  out += month_words(month);
  out += " năm ";
  out += year_words;
  return out;
}

// ---------------------------------------------------------------------------
// Context of a day/month pair

// The signs that make a nearby pair a fraction, as whole context words.
constexpr std::array<std::string_view, 13> kOperators = {"*", "+", "-", "/", "<", "=", ">",
                                                         "x", "×", "±", "≥", "≤", "≈"};

// Bytes a context word may have before lower-casing and still equal a keyword
// or an operator: lower-casing shrinks a character to a third of its bytes at
// most (the Kelvin sign to «k»), so four times the longest entry is safe.
// Longer words are never lower-cased.
size_t max_context_word_bytes() {
  static const size_t bytes = [] {
    size_t longest = 0;
    for (std::string_view w : DATE_KEYWORDS()) longest = std::max(longest, w.size());
    for (std::string_view w : MATH_KEYWORDS()) longest = std::max(longest, w.size());
    for (std::string_view w : kOperators) longest = std::max(longest, w.size());
    return 4 * longest;
  }();
  return bytes;
}

// The characters a context word loses at both ends.
bool is_stripped(char c) {
  constexpr std::string_view kStripped = ",.!?;()[]{}";
  return kStripped.find(c) != std::string_view::npos;
}

// The text's whitespace-separated words, built once per pass so that each
// match finds its neighbours by binary search and reads them in time bounded
// by the nearby text: walking or lower-casing a long unbroken run («1/2=1/2=…»)
// for every match would be quadratic.
class WordIndex {
 public:
  explicit WordIndex(std::string_view text) : text_(text) {
    size_t pos = 0;
    size_t word_start = std::string_view::npos;
    while (pos < text.size()) {
      const size_t here = pos;
      const auto b = static_cast<unsigned char>(text[pos]);
      bool space;
      if (b < 0x80) {
        space = b == ' ' || (b >= 0x09 && b <= 0x0D);
        ++pos;
      } else {
        space = text::is_white_space(text::decode_utf8(text, pos));
      }
      if (space && word_start != std::string_view::npos) {
        add_word(word_start, here);
        word_start = std::string_view::npos;
      } else if (!space && word_start == std::string_view::npos) {
        word_start = here;
      }
    }
    if (word_start != std::string_view::npos) add_word(word_start, text.size());
  }

  // The last three words before [start, end) and the first three after it,
  // cut at the match where a word runs into it, stripped and lower-cased.
  std::vector<std::string> context_words(size_t start, size_t end) const {
    std::vector<std::string> out;
    out.reserve(6);
    // Words beginning before the match; the last may run into it.
    const auto before = std::lower_bound(words_.begin(), words_.end(), start,
                                         [](const Word& w, size_t s) { return w.start < s; });
    const size_t n_before = static_cast<size_t>(before - words_.begin());
    for (size_t k = n_before >= 3 ? n_before - 3 : 0; k < n_before; ++k) {
      const Word& w = words_[k];
      size_t core_end = w.core_end;
      if (w.end > start) {  // cut at the match: strip back from it
        core_end = start;
        while (core_end > w.core_start && is_stripped(text_[core_end - 1])) --core_end;
      }
      out.push_back(comparable(w.core_start, std::max(core_end, w.core_start)));
    }
    // Words ending after the match; the first may begin inside it.
    const auto after = std::upper_bound(words_.begin(), words_.end(), end,
                                        [](size_t e, const Word& w) { return e < w.end; });
    for (auto it = after; it != words_.end() && it - after < 3; ++it) {
      size_t core_start = it->core_start;
      if (it->start < end) {  // cut at the match: strip on from it
        core_start = std::min(end, it->core_end);
        while (core_start < it->core_end && is_stripped(text_[core_start])) ++core_start;
      }
      out.push_back(comparable(core_start, it->core_end));
    }
    return out;
  }

 private:
  // A word and its core, the word without the stripped characters at its
  // ends (an empty core when nothing else is left).
  struct Word {
    size_t start, end, core_start, core_end;
  };

  void add_word(size_t start, size_t end) {
    size_t core_start = start;
    while (core_start < end && is_stripped(text_[core_start])) ++core_start;
    size_t core_end = end;
    while (core_end > core_start && is_stripped(text_[core_end - 1])) --core_end;
    words_.push_back({start, end, core_start, core_end});
  }

  // «NGÀY» → «ngày»; a word too long to equal any entry → «».
  std::string comparable(size_t core_start, size_t core_end) const {
    if (core_end - core_start > max_context_word_bytes()) return std::string();
    return text::to_lower(text_.substr(core_start, core_end - core_start));
  }

  std::string_view text_;
  std::vector<Word> words_;
};

// «12/3A», «5/2023A»: the pair is the number over code that normalize_slashes
// reads, not a date or a fraction with letters glued to it.
bool opens_slash_code(const text::Captures& m) {
  return m[2] == "/" && is_code_slash(m.subject(), m.start(2));
}

bool is_operator_token(std::string_view w) {
  return std::find(kOperators.begin(), kOperators.end(), w) != kOperators.end();
}

// «ngày 15/8» → «ngày mười lăm tháng tám»; «x = 1/2» → «x = một trên hai»;
// «13/13» alone → unchanged.
std::string read_day_month_in(const text::Captures& m, const WordIndex& words) {
  if (opens_slash_code(m)) return std::string(m.str());
  const std::string_view a_digits = m[1];
  const std::string_view b_digits = m[3];
  const int32_t a = date_value(a_digits);
  const int32_t b = date_value(b_digits);
  const bool valid = is_valid_day_month(a, b);
  const bool leading_zero = a_digits.starts_with('0') || b_digits.starts_with('0');

  const std::vector<std::string> context = words.context_words(m.start(0), m.end(0));
  auto any_word = [&context](auto&& pred) {
    return std::any_of(context.begin(), context.end(), pred);
  };
  auto in_set = [](const TextSet& set) {
    return [&set](const std::string& w) { return set.contains(w); };
  };

  // The first rule that applies decides.
  bool date;
  if (valid && leading_zero) {
    date = true;
  } else if (valid && any_word(in_set(DATE_KEYWORDS()))) {
    date = true;
  } else if (any_word(in_set(MATH_KEYWORDS())) || any_word(is_operator_token)) {
    date = false;  // even for a pair that is no valid date
  } else if (valid || leading_zero) {
    date = false;
  } else {
    return std::string(m.str());
  }

  std::string out;
  if (date) {
    out = "ngày ";
    out += day_words(a);
    out += " tháng ";
    out += month_words(b);
  } else {
    // A minus sign before the fraction is read, as the number pass reads one
    // («giảm -5-10%»); the dash itself goes with the other hyphens.
    if (minus_sign_before(m.subject(), m.start(0)) > 0) out = "âm ";
    // As written, so a leading zero is read: «05» → «không năm».
    out += n2w(a_digits);
    out += " trên ";
    out += n2w(b_digits);
  }
  return apart_from_letters(m, std::move(out));
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
  return apart_from_letters(m, full_date(day, month, n2w(m[1])));
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
  return apart_from_letters(m, full_date(day, month, n2w(m[5])));
}

// «4/2024» → «tháng tư năm hai nghìn không trăm hai mươi bốn»; «13/2024» and
// «5/3000» → unchanged.
std::string read_month_year(const text::Captures& m) {
  if (opens_slash_code(m)) return std::string(m.str());
  const int32_t month = date_value(m[1]);
  // A year in digits of another script has no value; read as 0 it would
  // replace the year by «không», so the match stays as written instead.
  const std::optional<int32_t> year_value = parse_i32(m[3]);
  if (!year_value) return std::string(m.str());
  const int32_t year = *year_value;
  if (month < 1 || month > 12 || year > 2500) return std::string(m.str());
  std::string out = "tháng ";
  out += month_words(month);
  out += " năm ";
  out += n2w(std::to_string(year));
  return apart_from_letters(m, std::move(out));
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

std::string normalize_date(std::string_view input) {
  std::string text(input);
  if (may_hold_digit(text)) {
    if (holds_any(text, "TZ")) rewrite::in_place_read(text, RE_ISO_FIX(), split_iso_timestamp);
    if (holds_any(text, "-")) rewrite::in_place_read(text, RE_YYYY_MM_DD(), read_iso_date);
    if (holds_any(text, "/")) rewrite::in_place_read(text, RE_PERIOD_YEAR(), read_period_year);
    if (holds_any(text, "/-.")) {
      rewrite::in_place_read(text, RE_FULL_DATE(), read_full_date);
      rewrite::in_place_read(text, RE_MONTH_YEAR(), read_month_year);
    }
    if (holds_any(text, "/-")) {
      // The context comes from the text this pass scans, before any of its
      // replacements; the index is built at the first match only.
      std::optional<WordIndex> words;
      rewrite::in_place(text, RE_DAY_MONTH(), [&](const text::Captures& m, std::string& out) {
        if (!words) words.emplace(m.subject());
        out += read_day_month_in(m, *words);
      });
    }
  }
  if (holds_either(text, "à", "À")) rewrite::in_place_word(text, RE_REDUNDANT_NGAY(), "ngày");
  if (holds_either(text, "á", "Á")) rewrite::in_place_word(text, RE_REDUNDANT_THANG(), "tháng");
  if (holds_either(text, "ă", "Ă")) rewrite::in_place_word(text, RE_REDUNDANT_NAM(), "năm");
  if (holds_either(text, "ô", "Ô")) rewrite::in_place_word(text, RE_REDUNDANT_HOM_NGAY(), "hôm");
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
