#include "vi_normalizer/number_passes.hpp"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/char_classes.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/context_words.hpp"
#include "vi_normalizer/num2vi.hpp"
#include "vi_normalizer/numerical.hpp"
#include "vi_normalizer/resources.hpp"
#include "vi_normalizer/rewrite.hpp"

namespace vyr::vi_normalizer {

namespace {

// Length of a number once its "," and "." are gone.
size_t digit_length(std::string_view number) {
  size_t n = 0;
  for (char c : number) n += (c != ',' && c != '.');
  return n;
}

std::string without_dots(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s)
    if (c != '.') out += c;
  return out;
}

std::string_view without_trailing_zeros(std::string_view s) {
  while (!s.empty() && s.back() == '0') s.remove_suffix(1);
  return s;
}

bool is_digit_at(std::string_view s, size_t pos) {
  return pos < s.size() && s[pos] >= '0' && s[pos] <= '9';
}

// Length of the one white-space character at s[pos] that may part two
// thousands groups, as the late number pass reads them (no line break), or 0.
size_t group_space_at(std::string_view s, size_t pos) {
  if (pos >= s.size()) return 0;
  size_t next = 0;
  const char32_t c = text::char_at(s, pos, &next);
  if (!text::is_white_space(c)) return 0;
  switch (c) {
    case '\n':
    case '\v':
    case '\f':
    case '\r':
    case U'\u0085':
    case U'\u2028':
    case U'\u2029':
      return 0;
    default:
      return next - pos;
  }
}

// Whether a number that begins at s[start] may lead thousands groups: nothing
// of a word or of another number stands right before it.
bool may_lead_groups(std::string_view s, size_t start) {
  if (start == 0) return true;
  const char32_t before = text::char_before(s, start);
  return before != '.' && before != ',' && !text::is_alphanumeric(before);
}

}  // namespace

// «10-20» → a «10», «», «», b «20»; «5 - 10»; not in «a5-10», «1.2.3-4».
const text::Regex& RE_RANGE() {
  static const text::Regex re(
      R"re((?<!\d)(?<!\d[,.])(?<![a-zA-Z])(\d{1,15}(?:[,.]\d{1,15})?)(\s*)[–\-—](\s*)(\d{1,15}(?:[,.]\d{1,15})?)(?!\d)(?![.,]\d))re",
      text::Engine::kBacktracking);
  return re;
}

// «-1234567» → sign «-», digits «1234567»; not in «1,2345678» or «12345678.5».
const text::Regex& RE_LONG_NUM() {
  static const text::Regex re(R"re((?<!\d)(?<!\d[,.])([-–—]?)(\d{7,})(?!\d)(?![.,]\d))re",
                              text::Engine::kBacktracking);
  return re;
}

// «1.234,56%» → integer «1.234», fraction «56», «%».
const text::Regex& RE_FLOAT_WITH_COMMA() {
  static const text::Regex re(R"re((?<![\d.])(\d+(?:\.\d{3})*),(\d+)(%)?)re",
                              text::Engine::kBacktracking);
  return re;
}

// «1.234.567» whole; not «3.14», «1.2345» or «1.234.5».
const text::Regex& RE_STRIP_DOT_SEP() {
  static const text::Regex re(R"re((?<![\d.])\d+(?:\.\d{3})+(?![\d.]))re",
                              text::Engine::kBacktracking);
  return re;
}

namespace {

// «tỷ số 2-1», «Việt Nam thắng Indonesia 3-0»: a score word among the three
// words before the pair.
bool follows_score_word(const text::Captures& m, const WordIndex& words) {
  return has_phrase_among_last(words, m.start(0), 3, SCORE_WORDS());
}

// «10-20» → « 10 đến 20 »; «5-100» → « 5  100 »; «thắng 3-0» → «thắng  3  0 »
// (a score: two numbers); «5 -10» → «5 -10» (a minus sign for the late number
// pass).
std::string read_range_in(const text::Captures& m, const WordIndex& words) {
  if (!m[2].empty() && m[3].empty()) return std::string(m.str());
  std::string_view a = m[1], b = m[4];
  size_t la = digit_length(a), lb = digit_length(b);
  size_t gap = la > lb ? la - lb : lb - la;
  const bool range = gap <= 1 && !follows_score_word(m, words);
  std::string out;
  out.reserve(a.size() + b.size() + 12);
  // A minus sign before the first number stays glued to it, for the passes
  // that read it: «-5-10» → «-5 đến 10 ».
  if (minus_sign_before(m.subject(), m.start(0)) == 0) out += ' ';
  out += a;
  // Without a range word each number keeps spaces of its own: a single space
  // would let the late number pass read «5 100» as one number.
  out += range ? " đến " : "  ";
  out += b;
  out += ' ';
  return out;
}

}  // namespace

std::string read_range(const text::Captures& m) {
  const WordIndex words(m.subject());
  return read_range_in(m, words);
}

// «-1234567» → « âm một hai ba bốn năm sáu bảy »: a dash is always a sign here.
std::string read_long_number(const text::Captures& m) {
  std::string out = " ";
  if (!m[1].empty()) out += "âm ";
  out += n2w_single(m[2]);
  out += ' ';
  return out;
}

// «1.234,50» → « một nghìn hai trăm ba mươi bốn phẩy năm »; «3,0%» → « ba phần trăm ».
std::string read_float_with_comma(const text::Captures& m) {
  std::string out = " ";
  out += n2w(without_dots(m[1]));
  std::string_view fraction = without_trailing_zeros(m[2]);
  if (!fraction.empty()) {
    out += " phẩy ";
    out += n2w_decimal(fraction);
  }
  if (m.matched(3)) out += " phần trăm";
  out += ' ';
  return out;
}

// «1.234.567» → «1234567»; read later as one whole number.
std::string strip_dot_separators(const text::Captures& m) { return without_dots(m.str()); }

bool write_spaced_thousands_with_dots(std::string_view text, std::string& out) {
  size_t copied = 0;
  bool any = false;
  size_t pos = 0;
  while (pos < text.size()) {
    if (!is_digit_at(text, pos)) {
      ++pos;
      continue;
    }
    size_t end = pos;
    while (is_digit_at(text, end)) ++end;
    // One to three digits, not zero-led: «2 100» joins, «2020 100» and «007 123» do not.
    const bool leads = end - pos <= 3 && text[pos] != '0' && may_lead_groups(text, pos);
    const size_t lead_end = end;
    size_t groups = 0;
    for (size_t space = 0; leads && (space = group_space_at(text, end)) != 0; ++groups) {
      size_t group_end = end + space;
      while (is_digit_at(text, group_end) && group_end - (end + space) <= 3) ++group_end;
      if (group_end - (end + space) != 3) break;
      end = group_end;
    }
    // A decimal point after the groups becomes the decimal comma of dotted
    // thousands: «1 234.5» → «1.234,5». After more than one, the number
    // stays as written.
    size_t fraction_end = end;
    if (groups > 0 && end < text.size() && text[end] == '.' && is_digit_at(text, end + 1)) {
      fraction_end = end + 1;
      while (is_digit_at(text, fraction_end)) ++fraction_end;
      if (fraction_end < text.size() && (text[fraction_end] == '.' || text[fraction_end] == ',') &&
          is_digit_at(text, fraction_end + 1)) {
        groups = 0;
      }
    }
    if (groups == 0) {
      pos = std::max(end, lead_end);
      continue;
    }
    if (!any) {
      out.clear();
      out.reserve(text.size());
      any = true;
    }
    out.append(text.data() + copied, pos - copied);
    for (size_t i = pos; i < end;) {
      const size_t space = group_space_at(text, i);
      if (space != 0) {
        out += '.';
        i += space;
      } else {
        out += text[i++];
      }
    }
    if (fraction_end > end) {
      out += ',';
      out.append(text.data() + end + 1, fraction_end - end - 1);
    }
    copied = pos = fraction_end;
  }
  if (any) out.append(text.data() + copied, text.size() - copied);
  return any;
}

namespace {

bool is_ascii_letter_at(std::string_view s, size_t pos) {
  return pos < s.size() && text::is_ascii_letter(static_cast<unsigned char>(s[pos]));
}

// Whether the number that begins at s[start] is glued to letters, which the
// letter passes read with its whole part: «PM2.5», «v1.2», «f/1.8».
bool glued_to_letters(std::string_view s, size_t start) {
  if (start == 0) return false;
  if (is_ascii_letter_at(s, start - 1)) return true;
  return s[start - 1] == '/' && start >= 2 && is_ascii_letter_at(s, start - 2);
}

}  // namespace

bool read_decimal_points_after_letters(std::string_view text, std::string& out) {
  if (!rewrite::has_separator_between_digits(text, ".")) return false;
  size_t copied = 0;
  bool any = false;
  for (size_t dot = text.find('.'); dot != std::string_view::npos; dot = text.find('.', dot + 1)) {
    if (dot == 0 || !is_digit_at(text, dot - 1) || !is_digit_at(text, dot + 1)) continue;
    size_t start = dot - 1;
    while (start > copied && is_digit_at(text, start - 1)) --start;
    size_t end = dot + 1;
    while (is_digit_at(text, end)) ++end;
    // One point only: «v1.2.3» is a version, «1.2.3» a list.
    const bool more = end + 1 < text.size() && (text[end] == '.' || text[end] == ',') &&
                      is_digit_at(text, end + 1);
    const bool after_point = start > 0 && (text[start - 1] == '.' || text[start - 1] == ',');
    if (more || after_point || !glued_to_letters(text, start)) {
      dot = end - 1;
      continue;
    }
    if (!any) {
      out.clear();
      out.reserve(text.size() + 32);
      any = true;
    }
    out.append(text.data() + copied, dot - copied);
    out += " chấm ";
    out += n2w_decimal(text.substr(dot + 1, end - dot - 1));
    if (end < text.size()) {
      size_t next = 0;
      if (text::is_alphanumeric(text::char_at(text, end, &next))) out += ' ';
    }
    copied = end;
    dot = end - 1;
  }
  if (any) out.append(text.data() + copied, text.size() - copied);
  return any;
}

bool read_ranges(std::string_view text, std::string& out) {
  if (!rewrite::has_dash(text)) return false;
  // The words before each pair come from an index of the text built at the
  // first match only.
  std::optional<WordIndex> words;
  return rewrite::replace_all_with(text, RE_RANGE(), out,
                                   [&](const text::Captures& m, std::string& o) {
                                     if (!words) words.emplace(m.subject());
                                     o += read_range_in(m, *words);
                                   });
}

bool read_long_numbers(std::string_view text, std::string& out) {
  if (!text::may_hold_digit_run(text, 7)) return false;  // (\d{7,})
  return rewrite::replace_all_with(text, RE_LONG_NUM(), out,
                                   [](const text::Captures& m, std::string& o) {
                                     o += read_long_number(m);
                                   });
}

bool read_floats_with_comma(std::string_view text, std::string& out) {
  if (!rewrite::has_separator_between_digits(text, ",")) return false;
  return rewrite::replace_all_with(text, RE_FLOAT_WITH_COMMA(), out,
                                   [](const text::Captures& m, std::string& o) {
                                     // «-0,5» → « âm không phẩy năm »
                                     if (take_minus_sign(m, o)) o += " âm";
                                     o += read_float_with_comma(m);
                                   });
}

bool remove_dot_separators(std::string_view text, std::string& out) {
  if (!rewrite::has_separator_between_digits(text, ".")) return false;
  return rewrite::replace_all_with(text, RE_STRIP_DOT_SEP(), out,
                                   [](const text::Captures& m, std::string& o) {
                                     o += strip_dot_separators(m);
                                   });
}

}  // namespace vyr::vi_normalizer
