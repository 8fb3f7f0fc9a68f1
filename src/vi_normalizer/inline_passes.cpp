#include "vi_normalizer/inline_passes.hpp"

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/panic.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/acronyms.hpp"
#include "vi_normalizer/num2vi.hpp"
#include "vi_normalizer/rewrite.hpp"

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

// «camelCase» → «camel Case»; «ThS», «camel», «CAMEL» stay.
bool split_camel_case(std::string_view text, std::string& out) {
  // A word is split only at a case change, which the whole text then holds.
  if (!has_ascii_upper(text) || !has_case_change(text)) return false;
  const Regex& acronym = RE_ACRONYM();
  return rewrite::replace_all_with(
      text, RE_POTENTIAL_CONCAT(), out, [&](const Captures& m, std::string& o) {
        std::string_view word = m.str();
        if (!has_case_change(word) || looks_like_acronym(acronym, word)) {
          o += word;
          return;
        }
        o += RE_CAMEL_CASE().replace_all(word, " ");
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

bool read_context_den(std::string_view text, std::string& out) {
  if (!rewrite::has_dash(text)) return false;
  return rewrite::replace_all(text, RE_CONTEXT_DEN(), " $1 $2 đến $3 ", out);
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
