#include "vi_normalizer/inline_passes.hpp"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/panic.hpp"
#include "text/char_classes.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/acronyms.hpp"
#include "vi_normalizer/num2vi.hpp"
#include "vi_normalizer/resources.hpp"
#include "vi_normalizer/rewrite.hpp"
#include "vi_normalizer/units.hpp"

namespace vyr::vi_normalizer {

namespace {

using text::Captures;
using text::Engine;
using text::Regex;

bool is_ascii_lower(char c) { return c >= 'a' && c <= 'z'; }
bool is_ascii_upper(char c) { return c >= 'A' && c <= 'Z'; }

bool has_ascii_upper(std::string_view s) {
  for (char c : s)
    if (is_ascii_upper(c)) return true;
  return false;
}

// Whether RE_CAMEL_CASE has a match in an ASCII word: "aB", or "ABc" at the
// second capital. Lets the pass skip the acronym search for words it could
// not split anyway.
bool has_case_change(std::string_view w) {
  for (size_t i = 0; i + 1 < w.size(); ++i) {
    if (is_ascii_lower(w[i]) && is_ascii_upper(w[i + 1])) return true;
    if (i + 2 < w.size() && is_ascii_upper(w[i]) && is_ascii_upper(w[i + 1]) &&
        is_ascii_lower(w[i + 2]))
      return true;
  }
  return false;
}

// Whether a piece of the split word, between its spaces, is a key of
// COMBINED_EXCEPTIONS: «TP Bank» → true; «camel Case» → false.
bool holds_table_abbreviation(std::string_view split) {
  size_t from = 0;
  while (from <= split.size()) {
    size_t space = split.find(' ', from);
    if (space == std::string_view::npos) space = split.size();
    if (COMBINED_EXCEPTIONS().find(split.substr(from, space - from)) != nullptr) return true;
    from = space + 1;
  }
  return false;
}

// A word in the shape of an acronym («ThS», «NoSQL») stays whole. The engine
// giving up on the search means "no acronym": the word is then split.
bool looks_like_acronym(const Regex& acronym, std::string_view word) {
  try {
    return acronym.is_match(word);
  } catch (const Panic&) {
    return false;
  }
}

// The three-byte dashes U+2013 and U+2014 at s[i], or "-": its length, else 0.
size_t dash_length_at(std::string_view s, size_t i) {
  if (s[i] == '-') return 1;
  if (s.compare(i, 3, "\u2013") == 0 || s.compare(i, 3, "\u2014") == 0) return 3;
  return 0;
}

// Appends the readings of the pieces of `s` between its separators, joined
// by `joiner`. `separator_at` gives the length of a separator at a position
// (0 where there is none).
template <class SeparatorAt, class Read>
void read_pieces(std::string_view s, SeparatorAt separator_at, Read read, std::string_view joiner,
                 std::string& out) {
  size_t piece = 0;
  size_t i = 0;
  while (i < s.size()) {
    size_t sep = separator_at(s, i);
    if (sep == 0) {
      ++i;
      continue;
    }
    out += read(s.substr(piece, i - piece));
    out += joiner;
    i += sep;
    piece = i;
  }
  out += read(s.substr(piece));
}

size_t white_space_length_at(std::string_view s, size_t i) {
  size_t next = i;
  char32_t c = text::decode_utf8(s, next);
  return text::is_white_space(c) ? next - i : 0;
}

size_t comma_length_at(std::string_view s, size_t i) { return s[i] == ',' ? 1 : 0; }

bool all_ascii_digits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// «8:00», «22:30:15»: hours of one or two digits, then minutes (and seconds)
// of two.
bool is_clock_number(std::string_view number) {
  const size_t colon = number.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon > 2) return false;
  for (size_t part = colon; part != std::string_view::npos; part = number.find(':', part + 1)) {
    const size_t next = number.find(':', part + 1);
    const std::string_view digits =
        number.substr(part + 1, (next == std::string_view::npos ? number.size() : next) - part - 1);
    if (digits.size() != 2 || !all_ascii_digits(digits)) return false;
  }
  return true;
}

// Whether a dash stands before a number or a currency sign (the lead bytes of
// "£", "¥", "€" and "₩" included), white space between: a pre-check for
// RE_QUANTITY_RANGE. The digits of other scripts are folded to ASCII before
// the pipeline's steps.
bool may_hold_quantity_range(std::string_view text) {
  return text.find("\u2013") != std::string_view::npos ||
         text.find("\u2014") != std::string_view::npos ||
         text::has_bytes_across_spaces(text, "-", "0123456789$\xC2\xE2");
}

// What a number of RE_QUANTITY_RANGE measures, or "" for a plain number or
// an unknown tail: "clock" for «8h», «8h00», «8g», «8:00»; the currency sign
// for «$5»; the unit lower-cased for «6,5%», «15°C», «3m», «500.000đ».
std::string quantity_kind(std::string_view sign, std::string_view number, std::string_view unit) {
  if (!sign.empty()) return unit.empty() ? std::string(sign) : std::string();
  if (unit.empty()) return is_clock_number(number) ? "clock" : "";
  if (number.find(':') != std::string_view::npos) return std::string();
  const std::string lowered = text::to_lower(unit);
  const bool hour_mark = lowered[0] == 'h' || lowered[0] == 'g';
  if (hour_mark && (lowered.size() == 1 || all_ascii_digits(lowered.substr(1))) &&
      all_ascii_digits(number) && number.size() <= 2)
    return "clock";
  if (lowered == "%" || lowered.starts_with("°")) return lowered;
  return ALL_UNITS_MAP().contains(lowered) ? lowered : std::string();
}

}  // namespace

// «XMLParser», «camelCase», «ThS»: whole ASCII words of three letters or more.
const Regex& RE_POTENTIAL_CONCAT() {
  static const Regex re(R"re(\b[a-zA-Z]{3,}\b)re", Engine::kLinear);
  return re;
}

// «camel|Case», «XML|Parser»: the empty places where a split goes.
const Regex& RE_CAMEL_CASE() {
  static const Regex re(R"re((?<=[a-z])(?=[A-Z])|(?<=[A-Z])(?=[A-Z][a-z]))re",
                        Engine::kBacktracking);
  return re;
}

// «kết quả 10-2» → « kết quả 10 trừ 2 ».
const Regex& RE_CONTEXT_TRU() {
  static const Regex re(
      R"re((?i)\b(bằng|tính|kết quả)\s+(\d+(?:[.,]\d+)?)\s*[-–—]\s*(\d+(?:[.,]\d+)?)\b)re",
      Engine::kLinear);
  return re;
}

// «10-2 bằng» → « 10 trừ 2 bằng ».
const Regex& RE_CONTEXT_TRU_POST() {
  static const Regex re(
      R"re((?i)\b(\d+(?:[.,]\d+)?)\s*[-–—]\s*(\d+(?:[.,]\d+)?)\s+(bằng|tính|kết quả)\b)re",
      Engine::kLinear);
  return re;
}

// «Từ 5-10» → « Từ 5 đến 10 ».
const Regex& RE_CONTEXT_DEN() {
  static const Regex re(
      R"re((?i)\b(từ|khoảng|trong)\s+(\d+(?:[.,]\d+)?)\s*[-–—]\s*(\d+(?:[.,]\d+)?)\b)re",
      Engine::kLinear);
  return re;
}

// «5 - 3 =» → «5 trừ 3 =»; «1/2-1/4=» → «1/2 trừ 1/4 =».
const Regex& RE_EQ_MINUS() {
  static const Regex re(R"re(([\d./]+)\s*[-–—]\s*([\d./]+)\s*=)re", Engine::kLinear);
  return re;
}

// «=-5» → «= âm 5».
const Regex& RE_EQ_NEG() {
  static const Regex re(R"re(=\s*[-–—](\d+(?:[./]\d+)?))re", Engine::kLinear);
  return re;
}

// «8h-17h», «8:00 - 17:00», «15°C–20°C», «6,5%-7%», «$5-$10»: each side a
// currency sign (group 1, 6), a number (2, 7) and its unit (3, 8), with the
// white space around the dash (4, 5). Not after a letter, digit, sign or
// separator, nor before a letter, digit, "%", "°" or a decimal part.
const Regex& RE_QUANTITY_RANGE() {
  static const Regex re(
      R"re((?<![\w.,:/\-–—$€£¥₩])([$€£¥₩]?)(\d+(?:[.,:]\d+)*)([hHgG]\d{2}|[^\W\d_]+|%|°[CcFf]?)?(\s*)[-–—](\s*)([$€£¥₩]?)(\d+(?:[.,:]\d+)*)([hHgG]\d{2}|[^\W\d_]+|%|°[CcFf]?)?(?![\w%°]|[.,:]\d))re",
      Engine::kBacktracking);
  return re;
}

// «123-456-789» → «một hai ba, bốn năm sáu, bảy tám chín».
const Regex& RE_NUMERIC_DASH_GROUPS() {
  static const Regex re(R"re(\b\d+(?:[–\-—]\d+){2,}\b)re", Engine::kLinear);
  return re;
}

// «090 123 456» → «không chín không, một hai ba, bốn năm sáu».
const Regex& RE_PHONE_SPACE() {
  static const Regex re(R"re(\b0\d{2,3}(?:\s\d{3}){2}\b)re", Engine::kLinear);
  return re;
}

// «10^-3» → «mười mũ trừ ba»; «10^+6» → «mười mũ sáu».
const Regex& RE_POWER_OF_TEN_IMPLICIT() {
  static const Regex re(R"re(\b10\^([-+]?\d+)\b)re", Engine::kLinear);
  return re;
}

// «A - B» → «A , B»: only the dash, white space on both sides.
const Regex& RE_DASH_TO_COMMA() {
  static const Regex re(R"re((?<=\s)[–\-—](?=\s))re", Engine::kBacktracking);
  return re;
}

// «A  =>  B», «A->B» → «A sang B».
const Regex& RE_TO_SANG() {
  static const Regex re(R"re(\s*(?:->|=>)\s*)re", Engine::kLinear);
  return re;
}

// «3,15,7» → «ba phẩy một lăm phẩy bảy».
const Regex& RE_MULTI_COMMA() {
  static const Regex re(R"re(\b(\d+(?:,\d+){2,})\b)re", Engine::kLinear);
  return re;
}

// «3.14» → «3 chấm 14».
const Regex& RE_DOT_BETWEEN_DIGITS() {
  static const Regex re(R"re((\d+)\.(\d+))re", Engine::kLinear);
  return re;
}

namespace {

// Whether the word at text[start] stands right after a number, white space
// between: «87,7 kWh», «5.000 mAh».
bool follows_number(std::string_view text, size_t start) {
  while (start > 0 && (text[start - 1] == ' ' || text[start - 1] == '\t')) --start;
  return start > 0 && text[start - 1] >= '0' && text[start - 1] <= '9';
}

}  // namespace

// «camelCase» → «camel Case»; «ThS», «camel», «CAMEL» stay; so does a unit
// symbol after a number («1013 hPa»), read whole in its written case.
bool split_camel_case(std::string_view text, std::string& out) {
  // A word is split only at a case change, which the whole text then holds.
  if (!has_ascii_upper(text) || !has_case_change(text)) return false;
  const Regex& acronym = RE_ACRONYM();
  return rewrite::replace_all_with(
      text, RE_POTENTIAL_CONCAT(), out, [&](const Captures& m, std::string& o) {
        std::string_view word = m.str();
        if (!has_case_change(word) || looks_like_acronym(acronym, word) ||
            (follows_number(m.subject(), m.start(0)) && is_unit_symbol(word))) {
          o += word;
          return;
        }
        std::string split = RE_CAMEL_CASE().replace_all(word, " ");
        // A table abbreviation glued to a word is part of a name («TPBank»,
        // «VNExpress»): a hyphen keeps the pieces joined, so the abbreviation
        // is read as letters, not expanded, and later reads as a space.
        if (holds_table_abbreviation(split)) std::replace(split.begin(), split.end(), ' ', '-');
        o += split;
      });
}

bool read_context_tru(std::string_view text, std::string& out) {
  if (!rewrite::has_dash(text)) return false;
  return rewrite::replace_all(text, RE_CONTEXT_TRU(), " $1 $2 trừ $3 ", out);
}

bool read_context_tru_post(std::string_view text, std::string& out) {
  if (!rewrite::has_dash(text)) return false;
  return rewrite::replace_all(text, RE_CONTEXT_TRU_POST(), " $1 trừ $2 $3 ", out);
}

// «từ 15-20/6» stays whole: its days end in a month, which the date pass
// reads with them.
bool read_context_den(std::string_view text, std::string& out) {
  if (!rewrite::has_dash(text)) return false;
  return rewrite::replace_all_with(text, RE_CONTEXT_DEN(), out, [](const Captures& m,
                                                                   std::string& o) {
    const std::string_view rest = m.subject().substr(m.end(0));
    if (rest.size() >= 2 && rest[0] == '/' && rest[1] >= '0' && rest[1] <= '9') {
      o += m.str();
      return;
    }
    o += ' ';
    o += m[1];
    o += ' ';
    o += m[2];
    o += " đến ";
    o += m[3];
    o += ' ';
  });
}

bool read_eq_minus(std::string_view text, std::string& out) {
  if (!rewrite::has_byte(text, '=') || !rewrite::has_dash(text)) return false;
  return rewrite::replace_all(text, RE_EQ_MINUS(), "$1 trừ $2 =", out);
}

bool read_eq_neg(std::string_view text, std::string& out) {
  if (!rewrite::has_byte(text, '=') || !rewrite::has_dash(text)) return false;
  return rewrite::replace_all(text, RE_EQ_NEG(), "= âm $1", out);
}

namespace {

constexpr std::string_view kMinusSign = "\u2212";

// Length of the minus at text[pos]: "-" or U+2212, else 0.
size_t minus_length_at(std::string_view text, size_t pos) {
  if (text[pos] == '-') return 1;
  return text.compare(pos, kMinusSign.size(), kMinusSign) == 0 ? kMinusSign.size() : 0;
}

// What a sign before a term stands after: "=", an opening bracket or an
// operator («x = -b», «(-x», «2*-y», «a ≤ -b»).
bool opens_a_term(char32_t c) {
  switch (c) {
    case '=':
    case '(':
    case '[':
    case '{':
    case '+':
    case '*':
    case '/':
    case '^':
    case '<':
    case '>':
    case U'\u2212':
    case U'\u00D7':
    case U'\u00F7':
    case U'\u00B1':
    case U'\u2264':
    case U'\u2265':
    case U'\u2260':
    case U'\u2248':
      return true;
    default:
      return false;
  }
}

// Whether the minus at `pos` stands before a letter, after something that
// opens a term, white space between the two allowed.
bool is_minus_before_letter(std::string_view text, size_t pos, size_t length) {
  size_t next = 0;
  if (pos + length >= text.size() || !text::is_alphabetic(text::char_at(text, pos + length, &next)))
    return false;
  size_t before = pos;
  while (before > 0 && (text[before - 1] == ' ' || text[before - 1] == '\t')) --before;
  return before > 0 && opens_a_term(text::char_before(text, before));
}

}  // namespace

bool read_minus_before_letter(std::string_view text, std::string& out) {
  if (!rewrite::has_byte(text, '-') && text.find(kMinusSign) == std::string_view::npos)
    return false;
  size_t copied = 0;
  bool any = false;
  for (size_t pos = 0; pos < text.size(); ++pos) {
    const size_t length = minus_length_at(text, pos);
    if (length == 0 || !is_minus_before_letter(text, pos, length)) continue;
    if (!any) {
      out.clear();
      out.reserve(text.size() + 16);
      any = true;
    }
    out.append(text.data() + copied, pos - copied);
    out += " trừ ";
    copied = pos + length;
    pos = copied - 1;
  }
  if (any) out.append(text.data() + copied, text.size() - copied);
  return any;
}

// Each group digit by digit, the groups joined by ", ".
bool read_numeric_dash_groups(std::string_view text, std::string& out) {
  if (!rewrite::has_dash(text)) return false;
  return rewrite::replace_all_with(
      text, RE_NUMERIC_DASH_GROUPS(), out, [](const Captures& m, std::string& o) {
        read_pieces(m.str(), dash_length_at, n2w_single, ", ", o);
      });
}

// The three groups digit by digit, joined by ", ".
bool read_phone_space(std::string_view text, std::string& out) {
  if (!rewrite::has_byte(text, '0')) return false;
  return rewrite::replace_all_with(text, RE_PHONE_SPACE(), out,
                                   [](const Captures& m, std::string& o) {
                                     read_pieces(m.str(), white_space_length_at, n2w_single,
                                                 ", ", o);
                                   });
}

bool read_power_of_ten_implicit(std::string_view text, std::string& out) {
  if (!rewrite::has_byte(text, '^')) return false;
  return rewrite::replace_all_with(
      text, RE_POWER_OF_TEN_IMPLICIT(), out, [](const Captures& m, std::string& o) {
        std::string_view exponent = m[1];
        if (exponent.front() == '-') {
          o += "mười mũ trừ ";
          o += n2w(exponent.substr(1));
        } else {
          if (exponent.front() == '+') exponent.remove_prefix(1);
          o += "mười mũ ";
          o += n2w(exponent);
        }
      });
}

// «8h-17h» → «8h đến 17h»; «500.000đ - 1.000.000đ» → «500.000đ đến
// 1.000.000đ». A dash between two quantities of one kind (clock times,
// percentages, temperatures, amounts of one currency, measures of one unit),
// or between a plain number and a measure, is a range, never a minus sign;
// each side stays for the passes that read it. Quantities of two kinds, or
// two plain numbers, stay as written.
bool read_quantity_ranges(std::string_view text, std::string& out) {
  if (!may_hold_quantity_range(text)) return false;
  return rewrite::replace_all_with(
      text, RE_QUANTITY_RANGE(), out, [](const Captures& m, std::string& o) {
        const std::string left = quantity_kind(m[1], m[2], m.matched(3) ? m[3] : "");
        const std::string right = quantity_kind(m[6], m[7], m.matched(8) ? m[8] : "");
        // A plain number before a measure is of its kind: «500.000 - 1.000.000đ».
        const bool plain_left =
            m[1].empty() && !m.matched(3) && m[2].find(':') == std::string_view::npos;
        const bool measured_right = m[6].empty() && !right.empty() && right != "clock";
        // White space before the dash and none after it: a minus sign, as
        // the range step has it («giảm 5 -10%»).
        const bool sign = !m[4].empty() && m[5].empty();
        if (sign || right.empty() || (left != right && !(plain_left && measured_right))) {
          o += m.str();
          return;
        }
        o += m.str().substr(0, static_cast<size_t>(m.start(4) - m.start(0)));
        o += " đến ";
        o += m.str().substr(static_cast<size_t>(m.start(6) - m.start(0)));
      });
}

bool dash_to_comma(std::string_view text, std::string& out) {
  if (!rewrite::has_dash(text)) return false;
  return rewrite::replace_all(text, RE_DASH_TO_COMMA(), ",", out);
}

bool read_to_sang(std::string_view text, std::string& out) {
  if (!rewrite::has_byte(text, '>')) return false;
  return rewrite::replace_all(text, RE_TO_SANG(), " sang ", out);
}

// Each group read as fraction digits, the groups joined by " phẩy ".
bool read_multi_comma(std::string_view text, std::string& out) {
  if (!rewrite::has_separator_between_digits(text, ",")) return false;
  return rewrite::replace_all_with(text, RE_MULTI_COMMA(), out,
                                   [](const Captures& m, std::string& o) {
                                     read_pieces(m[1], comma_length_at, n2w_decimal, " phẩy ", o);
                                   });
}

bool read_dot_between_digits(std::string_view text, std::string& out) {
  if (!rewrite::has_separator_between_digits(text, ".")) return false;
  return rewrite::replace_all(text, RE_DOT_BETWEEN_DIGITS(), "$1 chấm $2", out);
}

}  // namespace vyr::vi_normalizer
