#include "vi_normalizer/slashes.hpp"

#include <unicode/uchar.h>

#include <cstddef>
#include <utility>

#include "text/char_classes.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/email.hpp"
#include "vi_normalizer/num2vi.hpp"
#include "vi_normalizer/reading_edges.hpp"
#include "vi_normalizer/resources.hpp"
#include "vi_normalizer/rewrite.hpp"

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

}  // namespace

// «12/3bc» → «mười hai trên ba bê xê»; «12/34ab5» → «mười hai trên ba mươi bốn a bê năm».
std::string read_slash_alnum(const text::Captures& m) {
  pieces::Readings code;
  RE_SUB_TOKENS().for_each(m[2], [&](const text::Captures& t) {
    const std::string_view token = t.str();
    if (pieces::all_ascii_digits(token)) {
      code.add(n2w(token));
    } else {
      spell_token(token, code);
    }
  });
  std::string out = n2w(m[1]);
  out += " trên ";
  out += code.str();
  return apart_from_letters(m, std::move(out));
}

// «15/20» → «mười lăm trên hai mươi».
std::string read_slash_number(const text::Captures& m) {
  std::string out = n2w(m[1]);
  out += " trên ";
  out += n2w(m[2]);
  return apart_from_letters(m, std::move(out));
}

namespace {

// \d of the patterns: a decimal digit of any script.
bool is_pattern_digit(char32_t c) {
  if (c < 0x80) return text::is_ascii_digit(c);
  return text::may_be_digit(c) && u_charType(static_cast<UChar32>(c)) == U_DECIMAL_DIGIT_NUMBER;
}

// Start of the code point that ends right before text[pos] (pos > 0).
size_t previous_char_start(std::string_view text, size_t pos) {
  size_t start = pos - 1;
  while (start > 0 && pos - start < 4 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) {
    --start;
  }
  return start;
}

}  // namespace

bool is_code_slash(std::string_view text, size_t slash) {
  if (slash >= text.size() || text[slash] != '/') return false;
  // Before: a whole digit run, not after an ASCII letter, "," or ".".
  size_t run_start = slash;
  while (run_start > 0 && is_pattern_digit(text::char_before(text, run_start))) {
    run_start = previous_char_start(text, run_start);
  }
  if (run_start == slash) return false;
  if (run_start > 0) {
    const char32_t before = text::char_before(text, run_start);
    if (text::is_ascii_letter(before) || before == ',' || before == '.') return false;
  }
  // After: digits, then an ASCII letter.
  size_t pos = slash + 1;
  bool digits = false;
  while (pos < text.size()) {
    size_t next = 0;
    const char32_t c = text::char_at(text, pos, &next);
    if (!is_pattern_digit(c)) return digits && text::is_ascii_letter(c);
    digits = true;
    pos = next;
  }
  return false;
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
  if (rewrite::replace_all_with(current, RE_SLASH_ALNUM(), coded,
                                [](const text::Captures& m, std::string& out) {
                                  out += read_slash_alnum(m);
                                })) {
    current = coded;
  }
  if (rewrite::replace_all_with(current, RE_SLASH_NUMBER(), read,
                                [](const text::Captures& m, std::string& out) {
                                  out += read_slash_number(m);
                                })) {
    return read;
  }
  return std::string(current);
}

}  // namespace vyr::vi_normalizer
