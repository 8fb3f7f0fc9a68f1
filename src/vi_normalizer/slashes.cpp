#include "vi_normalizer/slashes.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

#include "text/char_classes.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/email.hpp"
#include "vi_normalizer/num2vi.hpp"
#include "vi_normalizer/reading_edges.hpp"
#include "vi_normalizer/resources.hpp"
#include "vi_normalizer/rewrite.hpp"
#include "vi_normalizer/units.hpp"

namespace vyr::vi_normalizer {

// «x =-3/4» → match «=-3/4», group 1 «3/4»; «x -3/4» → match « -3/4».
const text::Regex& RE_NEG_FRAC() {
  static const text::Regex re(R"re((?:=|\s)-((\d+)/(\d+)))re", text::Engine::kLinear);
  return re;
}

// «số 12/3A» → groups «12», «3A»; nothing in «x1/2a» or «1.5/2a».
const text::Regex& RE_SLASH_ALNUM() {
  static const text::Regex re(R"re((?<![a-zA-Z\d,.])(\d+)/(\d+[a-zA-Z][a-zA-Z0-9]*))re",
                              text::Engine::kBacktracking);
  return re;
}

// «3/4» → groups «3», «4»; nothing in «3/4.», «3/4,5» or «1.5/2».
const text::Regex& RE_SLASH_NUMBER() {
  static const text::Regex re(R"re((?<![a-zA-Z\d,.])(\d+)/(\d+)(?![\d,.]))re",
                              text::Engine::kBacktracking);
  return re;
}

namespace {

// «x = -3/4» → «x = âm 3/4»; «x =-3/4» → «x = âm 3/4». The fraction keeps its
// slash for the later passes; a tab or line break before the "-" becomes a space.
bool mark_negative_fractions(std::string_view text, std::string& out) {
  if (!rewrite::has_byte(text, '-')) return false;
  return rewrite::replace_all_with(text, RE_NEG_FRAC(), out,
                                   [](const text::Captures& m, std::string& o) {
                                     o += (m.str().front() == '=') ? "= âm " : " âm ";
                                     o += m[1];
                                   });
}

// Letters of a code spelled by name: «bc» → «bê», «xê»; a character without a
// name stays, lower-cased.
void spell_token(std::string_view token, pieces::Readings& out) {
  size_t pos = 0;
  while (pos < token.size()) {
    const std::string lowered = text::lower_char(text::decode_utf8(token, pos));
    if (const std::string_view* name = VI_LETTER_NAMES().find(lowered)) {
      out.add(*name);
    } else {
      out.add(lowered);
    }
  }
}

// A code read: digit runs as whole numbers, letters by name. «3bc» → «ba bê
// xê»; «34ab5» → «ba mươi bốn a bê năm».
std::string code_reading(std::string_view code) {
  pieces::Readings out;
  RE_SUB_TOKENS().for_each(code, [&](const text::Captures& t) {
    const std::string_view token = t.str();
    if (pieces::all_ascii_digits(token)) {
      out.add(n2w(token));
    } else {
      spell_token(token, out);
    }
  });
  return out.take();
}

// \d of the patterns: a decimal digit of any script.
bool is_pattern_digit(char32_t c) { return text::decimal_digit_value(c) >= 0; }

bool is_ascii_alnum(char c) {
  return text::is_ascii_letter(static_cast<unsigned char>(c)) ||
         text::is_ascii_digit(static_cast<unsigned char>(c));
}

// Start of the run of \d digits that ends at text[end].
size_t digit_run_start(std::string_view text, size_t end) {
  size_t start = end;
  while (start > 0 && is_pattern_digit(text::char_before(text, start))) {
    start = text::char_start_before(text, start);
  }
  return start;
}

// Whether a number starting at text[start] may open a number over code: no
// ASCII letter, digit, "," or "." before it, as the pattern wants, except a
// "," right after a letter, which separates codes in a list («12/3A,12/3B»)
// and is no decimal comma.
bool may_open_code(std::string_view text, size_t start) {
  if (start == 0) return true;
  const char32_t before = text::char_before(text, start);
  if (text::is_ascii_letter(before) || is_pattern_digit(before) || before == '.') return false;
  if (before != ',') return true;
  return start > 1 && text::is_alphabetic(text::char_before(text, start - 1));
}

// A number over code: from the start of its number to the end of its code.
struct CodeSpan {
  size_t start;
  size_t end;
};

// The number over code whose slash is text[slash]: where RE_SLASH_ALNUM
// matches, and also after a list comma. «12/3Ađ» → «12/3A».
std::optional<CodeSpan> code_at(std::string_view text, size_t slash) {
  if (slash >= text.size() || text[slash] != '/') return std::nullopt;
  const size_t start = digit_run_start(text, slash);
  if (start == slash || !may_open_code(text, start)) return std::nullopt;
  // After: digits, an ASCII letter, then ASCII letters and digits.
  size_t pos = slash + 1;
  bool digits = false;
  while (pos < text.size()) {
    size_t next = 0;
    const char32_t c = text::char_at(text, pos, &next);
    if (!is_pattern_digit(c)) break;
    digits = true;
    pos = next;
  }
  if (!digits || pos == text.size()) return std::nullopt;
  if (!text::is_ascii_letter(static_cast<unsigned char>(text[pos]))) return std::nullopt;
  const size_t letters = pos;
  while (pos < text.size() && is_ascii_alnum(text[pos])) ++pos;
  // «5/10kg», «80/100mg», «100/120km/h»: a number with its unit, read by the
  // unit passes; «12/3A», «12/3bc» and a single letter («12/3g») are codes.
  if (pos - letters > 1 && is_unit_symbol(text.substr(letters, pos - letters))) {
    return std::nullopt;
  }
  return CodeSpan{start, pos};
}

// End of a further part of a code after the "/" at text[slash]: ASCII letters
// and digits to which no other letter or digit is glued: the «4» of «12/3B/4»,
// not the «4ng» of «12/3B/4ngõ». npos when there is none.
size_t further_part_end(std::string_view text, size_t slash) {
  if (slash >= text.size() || text[slash] != '/') return std::string_view::npos;
  size_t end = slash + 1;
  while (end < text.size() && is_ascii_alnum(text[end])) ++end;
  if (end == slash + 1) return std::string_view::npos;
  if (end < text.size()) {
    size_t next = 0;
    const char32_t c = text::char_at(text, end, &next);
    if (text::is_alphabetic(c) || text::is_mark(c) || is_pattern_digit(c)) {
      return std::string_view::npos;
    }
  }
  return end;
}

// Start of a number that leads a code, before the "/" at text[slash]: ASCII
// digits that may open a code, the «123» of «123/4/5B». npos when there is
// none.
size_t leading_number_start(std::string_view text, size_t slash) {
  if (slash == 0 || slash >= text.size() || text[slash] != '/') return std::string_view::npos;
  size_t start = slash;
  while (start > 0 && text::is_ascii_digit(static_cast<unsigned char>(text[start - 1]))) --start;
  if (start == slash || !may_open_code(text, start)) return std::string_view::npos;
  return start;
}

// How many parts away from a slash the checks below look for the number over
// code that takes it in. An address has a handful of parts; the bound keeps
// each check short on a long run of slashes.
constexpr int kMaxPartsAway = 8;

// Whether the "/" at text[slash] starts a further part of a code: the part
// before it ends the code of a number over code, or is a further part itself.
bool follows_code(std::string_view text, size_t slash) {
  if (further_part_end(text, slash) == std::string_view::npos) return false;
  size_t at = slash;
  for (int step = 0; step < kMaxPartsAway; ++step) {
    size_t part = at;
    while (part > 0 && (text::is_ascii_letter(static_cast<unsigned char>(text[part - 1])) ||
                        is_pattern_digit(text::char_before(text, part)))) {
      part = text::char_start_before(text, part);
    }
    if (part == at || part == 0 || text[part - 1] != '/') return false;
    const size_t before = part - 1;
    if (const std::optional<CodeSpan> code = code_at(text, before)) return code->end == at;
    if (further_part_end(text, before) != at) return false;
    at = before;
  }
  return false;
}

// Whether the "/" at text[slash] follows a number that leads a code: only
// numbers and slashes stand between it and a number over code.
bool leads_code(std::string_view text, size_t slash) {
  if (leading_number_start(text, slash) == std::string_view::npos) return false;
  size_t at = slash;
  for (int step = 0; step < kMaxPartsAway; ++step) {
    size_t end = at + 1;
    bool ascii = true;
    while (end < text.size()) {
      size_t next = 0;
      const char32_t c = text::char_at(text, end, &next);
      if (!is_pattern_digit(c)) break;
      ascii = ascii && c < 0x80;
      end = next;
    }
    if (end == at + 1 || end == text.size() || text[end] != '/') return false;
    if (code_at(text, end)) return true;
    if (!ascii) return false;
    at = end;
  }
  return false;
}

// A whole number over code, from its first number to its last part: the
// numbers before `slash` (the slash of the number over code) read whole, the
// parts after it read as codes, all joined by «trên».
// «123/4/5B/6» with the slash before «5B» → «một trăm hai mươi ba trên bốn
// trên năm bê trên sáu».
std::string read_code(std::string_view code, size_t slash) {
  std::string out;
  size_t part = 0;
  for (size_t end = code.find('/'); part <= slash; end = code.find('/', part)) {
    if (!out.empty()) out += " trên ";
    out += n2w(code.substr(part, end - part));
    part = end + 1;
  }
  while (part <= code.size()) {
    size_t end = code.find('/', part);
    if (end == std::string_view::npos) end = code.size();
    out += " trên ";
    out += code_reading(code.substr(part, end - part));
    part = end + 1;
  }
  return out;
}

// Every number over code read whole: with the numbers that lead it and the
// further parts that follow it, whatever slashes join them. «ngõ 12/3B/4» →
// «ngõ mười hai trên ba bê trên bốn».
bool read_codes(std::string_view text, std::string& out) {
  size_t copied = 0;
  bool any = false;
  for (size_t slash = text.find('/'); slash != std::string_view::npos;
       slash = text.find('/', slash + 1)) {
    const std::optional<CodeSpan> core = code_at(text, slash);
    if (!core) continue;
    size_t start = core->start;
    while (start > copied) {
      const size_t lead = leading_number_start(text, start - 1);
      if (lead == std::string_view::npos || lead < copied) break;
      start = lead;
    }
    size_t end = core->end;
    for (size_t next = further_part_end(text, end); next != std::string_view::npos;
         next = further_part_end(text, end)) {
      end = next;
    }
    if (!any) {
      out.clear();
      out.reserve(text.size() + text.size() / 8 + 16);
      any = true;
    }
    out.append(text.substr(copied, start - copied));
    out += apart_from_letters(text, start, end,
                              read_code(text.substr(start, end - start), slash - start));
    copied = end;
    slash = end - 1;
  }
  if (any) out.append(text.substr(copied));
  return any;
}

}  // namespace

// «12/3bc» → «mười hai trên ba bê xê»; «12/34ab5» → «mười hai trên ba mươi bốn a bê năm».
std::string read_slash_alnum(const text::Captures& m) {
  std::string out = n2w(m[1]);
  out += " trên ";
  out += code_reading(m[2]);
  return apart_from_letters(m, std::move(out));
}

// «15/20» → «mười lăm trên hai mươi».
std::string read_slash_number(const text::Captures& m) {
  std::string out = n2w(m[1]);
  out += " trên ";
  out += n2w(m[2]);
  return apart_from_letters(m, std::move(out));
}

bool is_code_slash(std::string_view text, size_t slash) {
  return code_at(text, slash) || follows_code(text, slash) || leads_code(text, slash);
}

bool starts_slash_code(std::string_view text, size_t number_start) {
  return number_start > 0 && is_code_slash(text, number_start - 1);
}

std::string normalize_slashes(std::string_view text) {
  if (!rewrite::has_byte(text, '/')) return std::string(text);
  // Each pass reads the result of the one before; a pass that matches
  // nothing copies nothing.
  std::string_view current = text;
  std::string marked, coded, read;
  if (mark_negative_fractions(current, marked)) current = marked;
  if (read_codes(current, coded)) current = coded;
  if (rewrite::replace_all_with(current, RE_SLASH_NUMBER(), read,
                                [](const text::Captures& m, std::string& out) {
                                  out += read_slash_number(m);
                                })) {
    return read;
  }
  return std::string(current);
}

}  // namespace vyr::vi_normalizer
