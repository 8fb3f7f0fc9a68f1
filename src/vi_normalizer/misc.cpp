#include "vi_normalizer/misc.hpp"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "text/bytes.hpp"
#include "text/char_classes.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/acronyms.hpp"
#include "vi_normalizer/num2vi.hpp"
#include "vi_normalizer/resources.hpp"
#include "vi_normalizer/rewrite.hpp"
#include "vi_normalizer/roman_primes.hpp"
#include "vi_normalizer/slashes.hpp"

namespace vyr::vi_normalizer {

// ---------------------------------------------------------------------------
// Patterns

// «trang.EDU» → match «.EDU», suffix «EDU»; «.company» → no match.
const text::Regex& DOMAIN_SUFFIXES_RE() {
  static const text::Regex re(R"re((?i)\.(com|vn|net|org|edu|gov|io|biz|info)\b)re",
                              text::Engine::kLinear);
  return re;
}

// «chữ cái 'A'x» → keyword «chữ cái», quote «'», letter «A», quote «'».
const text::Regex& RE_LETTER() {
  static const text::Regex re(R"re((?i)(chữ|chữ cái|kí tự|ký tự)\s+(['"]?)([a-z])(['"]?)\b)re",
                              text::Engine::kLinear);
  return re;
}

// «3D» → digits «3», letter «D»; «12AB» → no match.
const text::Regex& RE_ALPHANUMERIC() {
  static const text::Regex re(R"re(\b(\d+)([a-zA-Z])\b)re", text::Engine::kLinear);
  return re;
}

// «B52» → letter «B», digits «52».
const text::Regex& RE_LETTER_DIGIT() {
  static const text::Regex re(R"re(\b([a-zA-Z])(\d+)\b)re", text::Engine::kLinear);
  return re;
}

// «cm^-3» → unit «cm», exponent «-3».
const text::Regex& RE_UNIT_POWERS() {
  static const text::Regex re(R"re(\b([a-zA-Z]+)\^([-+]?\d+)\b)re", text::Engine::kLinear);
  return re;
}

// «“a”» → matches «“» and «”».
const text::Regex& RE_CLEAN_QUOTES() {
  static const text::Regex re("[“”„]", text::Engine::kLinear);
  return re;
}

// «'a' b» → «'» after the start, «' » before the space; «don't» → no match.
const text::Regex& RE_CLEAN_QUOTES_EDGES() {
  static const text::Regex re(R"re((^|[\s.,!?;:])[‘’']+|[‘’']+($|[\s.,!?;:]))re",
                              text::Engine::kLinear);
  return re;
}

// «( xem trang 5 )» → inside «xem trang 5».
const text::Regex& RE_BRACKETS() {
  static const text::Regex re(R"re([\(\[\{]\s*(.*?)\s*[\)\]\}])re", text::Engine::kLinear);
  return re;
}

// «a)b» → matches «)».
const text::Regex& RE_STRIP_BRACKETS() {
  static const text::Regex re(R"re([\[\]\(\)\{\}])re", text::Engine::kLinear);
  return re;
}

// «-5,5 ° C» → number «5,5».
const text::Regex& RE_TEMP_C_NEG() {
  static const text::Regex re(R"re((?i)-(\d+(?:[.,]\d+)?)\s*°\s*c\b)re", text::Engine::kLinear);
  return re;
}

// «-40°F» → number «40».
const text::Regex& RE_TEMP_F_NEG() {
  static const text::Regex re(R"re((?i)-(\d+(?:[.,]\d+)?)\s*°\s*f\b)re", text::Engine::kLinear);
  return re;
}

// «36.5°c» → number «36.5».
const text::Regex& RE_TEMP_C() {
  static const text::Regex re(R"re((?i)(\d+(?:[.,]\d+)?)\s*°\s*c\b)re", text::Engine::kLinear);
  return re;
}

// «30°F» → number «30».
const text::Regex& RE_TEMP_F() {
  static const text::Regex re(R"re((?i)(\d+(?:[.,]\d+)?)\s*°\s*f\b)re", text::Engine::kLinear);
  return re;
}

// «90°» → matches «°».
const text::Regex& RE_DEGREE() {
  static const text::Regex re("°", text::Engine::kLinear);
  return re;
}

// «Hi!! Bye.» → delimiters «!! » and «.»; «3.14» → none.
const text::Regex& RE_ACRONYMS_SPLIT() {
  static const text::Regex re(R"re(([.!?]+(?:\s+|$)))re", text::Engine::kLinear);
  return re;
}

// «3:2.5» → «3», «2.5»; «1.5:2» → no match.
const text::Regex& RE_STANDARD_COLON() {
  static const text::Regex re(R"re((?<![.,\d])\b(\d+):(\d+(?:\.\d+)?)\b(?![.,\d]))re",
                              text::Engine::kBacktracking);
  return re;
}

// «a: b; c» → matches «:» and «;».
const text::Regex& RE_COLON_SEMICOLON() {
  static const text::Regex re("[:;]", text::Engine::kLinear);
  return re;
}

// «a|b…ở» → matches «|» and «…».
const text::Regex& RE_CLEAN_OTHERS() {
  static const text::Regex re(
      R"re([^a-zA-Z0-9\sàáảãạăắằẳẵặâấầẩẫậèéẻẽẹêếềểễệìíỉĩịòóỏõọôốồổỗộơớờởỡợùúủũụưứừửữựỳýỷỹỵđÀÁẢÃẠĂẮẰẲẴẶÂẤẦẨẪẬÈÉẺẼẸÊẾỀỂỄỆÌÍỈĨỊÒÓỎÕỌÔỐỒỔỖỘƠỚỜỞỠỢÙÚỦŨỤƯỨỪỬỮỰỲÝỶỸỴĐ.,!?_\'\'-])re",
      text::Engine::kLinear);
  return re;
}

namespace {

bool holds(std::string_view s, std::string_view needle) {
  return s.find(needle) != std::string_view::npos;
}

bool holds_any(std::string_view s, std::string_view bytes) { return text::has_any_byte(s, bytes); }

// The name of a letter, looked up under its full lower-case mapping.
// «B» → «bê»; «ſ» → nothing.
const std::string_view* letter_name(std::string_view letter) {
  size_t pos = 0;
  const char32_t c = text::decode_utf8(letter, pos);
  return VI_LETTER_NAMES().find(text::lower_char(c));
}

// ---------------------------------------------------------------------------
// The steps, each rewriting the current text in place

// A character that joins the letters beside it into one word.
bool is_word_piece(char32_t c) { return c == '_' || text::is_alphanumeric(c) || text::is_mark(c); }

bool is_ascii_alnum(char c) {
  return text::is_ascii_letter(static_cast<unsigned char>(c)) || (c >= '0' && c <= '9');
}

// Whether the word of ASCII letters and digits text[start, end) stands whole
// (no other word character goes on from either end) and is no table key.
bool is_ascii_name_word(std::string_view text, size_t start, size_t end) {
  if (start == end) return false;
  size_t next = 0;
  if (start > 0 && is_word_piece(text::char_before(text, start))) return false;
  if (end < text.size() && is_word_piece(text::char_at(text, end, &next))) return false;
  return COMBINED_EXCEPTIONS().find(text.substr(start, end - start)) == nullptr;
}

// Whether a hyphen joins the key at text[span] to a word of ASCII letters
// and digits that is no key itself: then the key is part of a name or a code
// («TP-Link», «M-TP», «VN-2024»), not an abbreviation. Keys joined to one
// another («HN-HCM»), to Vietnamese words («HN-Lào Cai»), and keys written
// with their own dots («TP.HCM-Long Thành») stand for what they abbreviate.
bool joined_to_name(std::string_view text, const ExceptionSpan& span) {
  const std::string_view key = text.substr(span.start, span.end - span.start);
  if (key.find('.') != std::string_view::npos) return false;
  if (span.start >= 2 && text[span.start - 1] == '-') {
    size_t start = span.start - 1;
    while (start > 0 && is_ascii_alnum(text[start - 1])) --start;
    if (is_ascii_name_word(text, start, span.start - 1)) return true;
  }
  if (span.end + 1 < text.size() && text[span.end] == '-') {
    size_t end = span.end + 1;
    while (end < text.size() && is_ascii_alnum(text[end])) ++end;
    if (is_ascii_name_word(text, span.end + 1, end)) return true;
  }
  return false;
}

// 1. «UBND» → «uỷ ban nhân dân»; «TP.HCM» → «thành phố hồ chí minh».
// The matches are those of RE_ACRONYMS_EXCEPTIONS, found by its fast search.
// A key that a hyphen joins to a name stays for the acronym step: «TP-Link»
// → «__start_en__t p__end_en__-Link».
void read_acronym_exceptions(std::string& text) {
  std::optional<ExceptionSpan> match = find_acronym_exception(text);
  if (!match) return;
  std::string out;
  out.reserve(text.size() + text.size() / 2 + 16);
  size_t copied = 0;
  for (; match; match = find_acronym_exception(text, copied)) {
    out.append(text, copied, match->start - copied);
    const std::string_view key =
        std::string_view(text).substr(match->start, match->end - match->start);
    const std::string_view* reading = COMBINED_EXCEPTIONS().find(key);
    out += reading && !joined_to_name(text, *match) ? *reading : key;
    copied = match->end;
  }
  out.append(text, copied, std::string::npos);
  text.swap(out);
}

// 2. «3/4» → «ba trên bốn»; every slash form holds a "/".
void read_slash_forms(std::string& text) {
  if (holds(text, "/")) text = normalize_slashes(text);
}

// 3. «.EDU» → « chấm __start_en__edu__end_en__ ».
void read_domain_suffixes(std::string& text) {
  if (!holds(text, ".")) return;
  rewrite::in_place(text, DOMAIN_SUFFIXES_RE(), [](const text::Captures& m, std::string& out) {
    const std::string_view* reading = DOMAIN_SUFFIX_MAP().find(text::to_lower(m[1]));
    if (!reading) {
      out += m.str();
      return;
    }
    out += " chấm ";
    out += *reading;
    out += ' ';
  });
}

// «thế kỷ V» → «thế kỷ  năm »; «quý I», «Chương X» alike: a single I, V or X
// standing alone after a numbering word is a numeral. A single C, D, L or M
// stays a letter («phần C»).
void read_numbered_single_numerals(std::string& text) {
  std::string out;
  size_t copied = 0;
  bool any = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != 'I' && c != 'V' && c != 'X') continue;
    size_t next = 0;
    if (i > 0 && is_word_piece(text::char_before(text, i))) continue;
    if (i + 1 < text.size() && is_word_piece(text::char_at(text, i + 1, &next))) continue;
    if (!follows_numbering_word(text, i)) continue;
    if (!any) out.reserve(text.size() + 16);
    any = true;
    out.append(text, copied, i - copied);
    out += ' ';
    out += n2w(std::to_string(*ROMAN_NUMERALS().find(static_cast<char32_t>(c))));
    out += ' ';
    copied = i + 1;
  }
  if (!any) return;
  out.append(text, copied, std::string::npos);
  text.swap(out);
}

// 4. «XIV» → « mười bốn »; after a numbering word a single I, V or X too
// («thế kỷ V» → «thế kỷ  năm »). An abbreviation that looks like a numeral
// («CV», «MC», «XL») is left for the acronym step, unless a numbering word
// stands before it («phần CD» → «phần  bốn trăm »).
void read_roman_numerals(std::string& text) {
  if (!holds_any(text, "IVXLCDM")) return;
  rewrite::in_place(text, RE_ROMAN_NUMBER(), [](const text::Captures& m, std::string& out) {
    if (ROMAN_LOOKING_ABBREVIATIONS().contains(m.str()) &&
        !follows_numbering_word(m.subject(), m.start(0))) {
      out += m.str();
      return;
    }
    out += read_roman_numeral(m);
  });
  if (holds_any(text, "IVX")) read_numbered_single_numerals(text);
}

// 5. «chữ cái A» → «chữ cái a »; «ký tự 'B'» at the end → «ký tự bê '».
void read_named_letters(std::string& text) {
  rewrite::in_place(text, RE_LETTER(), [](const text::Captures& m, std::string& out) {
    const std::string_view* name = letter_name(m[3]);
    if (!name) {  // only the long s, which case folding lets in
      out += m.str();
      return;
    }
    out += m[1];
    out += ' ';
    out += *name;
    out += ' ';
  });
}

// 6. «3D» → «3 đê»: the digits stay for the general number pass.
void read_number_letter(std::string& text) {
  if (!has_digit_before_letter(text)) return;
  rewrite::in_place(text, RE_ALPHANUMERIC(), [](const text::Captures& m, std::string& out) {
    const std::string_view* name = letter_name(m[2]);
    out += m[1];
    out += ' ';
    out += name ? *name : m[2];
  });
}

// 7. «B52» → «bê năm mươi hai»; «B007» → «bê không không bảy» (a zero-led run
// is a code: its zeros are spoken).
void read_letter_number(std::string& text) {
  if (!has_letter_before_digit(text)) return;
  rewrite::in_place(text, RE_LETTER_DIGIT(), [](const text::Captures& m, std::string& out) {
    const std::string_view* name = letter_name(m[1]);
    out += name ? *name : m[1];
    out += ' ';
    out += n2w_code_or_cardinal(m[2]);
  });
}

// 8. «x'» → «ích phẩy»; «f′» → «ép phẩy».
void read_primes(std::string& text) {
  if (holds(text, "'") || holds(text, "’") || holds(text, "′") || holds(text, "″")) {
    rewrite::in_place_read(text, RE_PRIME(), read_prime);
  }
}

// 9. «45'» → «45 phút »; «27"» → «27 inch »; «"Top 5"» keeps its quotes.
void read_digit_primes(std::string& text) {
  std::string out;
  if (read_number_marks(text, out)) text.swap(out);
}

// «-3» → «trừ ba»; «+2» → «hai»; «003» → «không không ba».
std::string exponent_words(std::string_view exponent) {
  if (!exponent.empty() && exponent[0] == '-') {
    return "trừ " + n2w_code_or_cardinal(exponent.substr(1));
  }
  std::string unsigned_part;
  for (char c : exponent) {
    if (c != '+') unsigned_part += c;
  }
  return n2w_code_or_cardinal(unsigned_part);
}

// «cm» → «xen ti mét»; «X» → «X» (no entry: spoken as written).
std::string_view unit_reading(std::string_view unit) {
  const std::string lowered = text::to_lower(unit);
  if (const std::string_view* v = MEASUREMENT_KEY_VI().find(lowered)) return *v;
  if (const std::string_view* v = CURRENCY_KEY().find(lowered)) return *v;
  return unit;
}

// 10. «m^2» → « mét mũ hai »; «cm^-3» → « xen ti mét mũ trừ ba ».
void read_unit_powers(std::string& text) {
  if (!holds(text, "^")) return;
  rewrite::in_place(text, RE_UNIT_POWERS(), [](const text::Captures& m, std::string& out) {
    out += ' ';
    out += unit_reading(m[1]);
    out += " mũ ";
    out += exponent_words(m[2]);
    out += ' ';
  });
}

// 11. «“a”» → «a».
void drop_double_quotes(std::string& text) {
  if (holds(text, "\xE2\x80")) rewrite::in_place_template(text, RE_CLEAN_QUOTES(), "");
}

// 12. «'a' b» → « a  b»; «don't» stays.
void clear_edge_single_quotes(std::string& text) {
  if (holds(text, "'") || holds(text, "‘") || holds(text, "’")) {
    rewrite::in_place_template(text, RE_CLEAN_QUOTES_EDGES(), "$1 $2");
  }
}

// 13. «a <> b» → «a  khác  b», before step 14 reads "<" and ">" apart.
void read_not_equal(std::string& text) {
  constexpr std::string_view kSign = "<>";
  size_t at = text.find(kSign);
  if (at == std::string::npos) return;
  std::string out;
  out.reserve(text.size() + 16);
  size_t copied = 0;
  for (; at != std::string::npos; at = text.find(kSign, copied)) {
    out.append(text, copied, at - copied);
    out += " khác ";
    copied = at + kSign.size();
  }
  out.append(text, copied, std::string::npos);
  text.swap(out);
}

// The reading of one character by the symbol, superscript and subscript
// tables, in that order; nothing for a character in none of them.
const std::string_view* symbol_reading(char32_t c) {
  if (const std::string_view* v = SYMBOLS_MAP().find(c)) return v;
  if (const std::string_view* v = SUPERSCRIPTS_MAP().find(c)) return v;
  return SUBSCRIPTS_MAP().find(c);
}

// Marks the Basic Multilingual Plane characters that one of the three tables
// holds, so that the letters, digits and spaces that make up nearly all of a
// text skip the three lookups.
const std::vector<bool>& BMP_SYMBOL_KEYS() {
  static const std::vector<bool> keys = [] {
    std::vector<bool> k(0x10000, false);
    auto mark = [&k](const CharMap& map) {
      for (const auto& [c, value] : map) {
        if (c < 0x10000) k[c] = true;
      }
    };
    mark(SYMBOLS_MAP());
    mark(SUPERSCRIPTS_MAP());
    mark(SUBSCRIPTS_MAP());
    return k;
  }();
  return keys;
}

constexpr char32_t kSuperscriptMinus = U'\u207B';

// The ASCII digit of a superscript digit («³» → '3'), or 0 for any other
// character.
char superscript_digit(char32_t c) {
  if (c == U'\u00B9') return '1';
  if (c == U'\u00B2' || c == U'\u00B3') return static_cast<char>('2' + (c - U'\u00B2'));
  if (c == U'\u2070' || (c >= U'\u2074' && c <= U'\u2079')) {
    return static_cast<char>('0' + (c - U'\u2070'));
  }
  return 0;
}

// A superscript letter that stands for an exponent: «ⁿ», «ⁱ».
bool is_superscript_letter(char32_t c) { return c == U'\u207F' || c == U'\u2071'; }

// The reading of a superscript minus, from text[pos] (just past the minus).
// Before superscript digits it is the sign of an exponent: « mũ trừ ba » for
// «⁻³», with pos moved past the digits and `signed_digits` set. Before a
// superscript letter it opens one: « mũ trừ » for «⁻ⁿ», the letter left for
// the later steps. Anywhere else it is a sign of its own, read as the tables
// read signs: « trừ » for «OH⁻».
std::string read_superscript_minus(std::string_view text, size_t& pos, bool& signed_digits) {
  std::string digits;
  size_t end = pos;
  for (size_t next = end; end < text.size(); end = next) {
    const char digit = superscript_digit(text::char_at(text, end, &next));
    if (digit == 0) break;
    digits += digit;
  }
  signed_digits = !digits.empty();
  if (signed_digits) {
    pos = end;
    return " mũ trừ " + n2w_code_or_cardinal(digits) + " ";
  }
  size_t after = pos;
  if (pos < text.size() && is_superscript_letter(text::char_at(text, pos, &after))) {
    return " mũ trừ ";
  }
  return " trừ ";
}

// Where the word of ASCII letters that ends right before byte `end` begins,
// or `end` when there is none: a run of ASCII letters with no letter, digit
// or "_" of any script right before it. «mol·L» from its end → the «L».
size_t ascii_word_start(std::string_view text, size_t end) {
  size_t start = end;
  while (start > 0 && text::is_ascii_letter(static_cast<unsigned char>(text[start - 1]))) --start;
  if (start == end || start == 0) return start;
  const char32_t before = text::char_before(text, start);
  return before == '_' || text::is_alphanumeric(before) ? end : start;
}

// 14. «a+b» → «a cộng b»; «x²» → «x bình phương »; «H₂O» → «H hai O».
// A superscript minus keeps its sign: «10⁻³» → «10 mũ trừ ba », «x⁻ⁿ» → «x mũ
// trừ ⁿ», «OH⁻» → «OH trừ ». A word of ASCII letters before a signed
// superscript exponent is a unit, read as the "^" form of step 10 reads it:
// «m⁻²» → « mét mũ trừ hai ».
void read_symbols_and_scripts(std::string& text) {
  const std::vector<bool>& bmp_keys = BMP_SYMBOL_KEYS();
  std::string out;
  size_t copied = 0;
  bool any = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t start = pos;
    // A byte that is not valid UTF-8 decodes as U+FFFD, which no table holds,
    // and is copied as it stands.
    const char32_t c = text::decode_utf8(text, pos);
    std::string minus_reading;
    const std::string_view* reading = nullptr;
    bool signed_digits = false;
    if (c == kSuperscriptMinus) {
      minus_reading = read_superscript_minus(text, pos, signed_digits);
    } else {
      if (c < 0x10000 && !bmp_keys[c]) continue;
      reading = symbol_reading(c);
      if (!reading) continue;
    }
    if (!any) {
      out.reserve(text.size() + text.size() / 2 + 16);
      any = true;
    }
    std::string_view unit;
    if (signed_digits) {
      const size_t unit_start = std::max(ascii_word_start(text, start), copied);
      unit = std::string_view(text).substr(unit_start, start - unit_start);
      start = unit_start;
    }
    out.append(text, copied, start - copied);
    if (!unit.empty()) {
      out += ' ';
      out += unit_reading(unit);
    }
    out += reading ? *reading : std::string_view(minus_reading);
    copied = pos;
  }
  if (!any) return;
  out.append(text, copied, std::string::npos);
  text.swap(out);
}

// 15. «(xem trang 5)» → «, xem trang 5, ».
void read_brackets(std::string& text) {
  if (holds_any(text, "([{")) rewrite::in_place_template(text, RE_BRACKETS(), ", $1, ");
}

// 16. «a)b» → «a b».
void strip_brackets(std::string& text) {
  if (holds_any(text, "()[]{}")) rewrite::in_place_template(text, RE_STRIP_BRACKETS(), " ");
}

// 17. «-5°C» → «âm 5 độ xê».
void read_negative_celsius(std::string& text) {
  if (holds(text, "°")) rewrite::in_place_template(text, RE_TEMP_C_NEG(), "âm $1 độ xê");
}

// 18. «-40°F» → «âm 40 độ ép».
void read_negative_fahrenheit(std::string& text) {
  if (holds(text, "°")) rewrite::in_place_template(text, RE_TEMP_F_NEG(), "âm $1 độ ép");
}

// 19. «36,5 °C» → «36,5 độ xê».
void read_celsius(std::string& text) {
  if (holds(text, "°")) rewrite::in_place_template(text, RE_TEMP_C(), "$1 độ xê");
}

// 20. «30°F» → «30 độ ép».
void read_fahrenheit(std::string& text) {
  if (holds(text, "°")) rewrite::in_place_template(text, RE_TEMP_F(), "$1 độ ép");
}

// 21. «90°» → «90 độ ».
void read_degree_sign(std::string& text) {
  if (holds(text, "°")) rewrite::in_place_template(text, RE_DEGREE(), " độ ");
}

// An ASCII capital or a non-ASCII character with the Uppercase property.
bool is_capital(char32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z';
  return text::is_uppercase(c);
}

bool is_letter(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  return text::is_alphabetic(c);
}

// «ĐẠI HỘI ĐOÀN» → true; «COVID-19 LAN RỘNG», «Tôi yêu NASA», «» → false.
// Every word must hold a letter and nothing but capitals.
bool is_all_capitals(std::string_view sentence) {
  bool any_word = false;
  bool word_has_letter = false;
  bool in_word = false;
  size_t pos = 0;
  while (pos < sentence.size()) {
    const char32_t c = text::decode_utf8(sentence, pos);
    if (text::is_white_space(c)) {
      if (in_word && !word_has_letter) return false;
      in_word = false;
      continue;
    }
    if (!in_word) {
      in_word = true;
      any_word = true;
      word_has_letter = false;
    }
    if (!is_capital(c)) return false;
    word_has_letter = word_has_letter || is_letter(c);
  }
  if (in_word && !word_has_letter) return false;
  return any_word;
}

using ByteRange = std::pair<size_t, size_t>;

// The runs of words in capitals, joined by white space alone, that hold a
// word only Vietnamese writes: all capitals, one of them a letter beyond ASCII
// other than «Đ» (a vowel with a mark). «đội ĐÔNG NAM Á vô địch» → «ĐÔNG NAM
// Á»; «Giá USD giảm» → none.
std::vector<ByteRange> vietnamese_capital_runs(std::string_view sentence) {
  std::vector<ByteRange> runs;
  size_t run_start = 0;
  size_t last_end = 0;     // of the last word of the open run
  bool open = false;       // a run of capital words is open
  bool marked = false;     // and holds a Vietnamese one
  const auto close = [&] {
    if (open && marked) runs.emplace_back(run_start, last_end);
    open = marked = false;
  };
  size_t pos = 0;
  while (pos < sentence.size()) {
    size_t next = pos;
    const char32_t c = text::decode_utf8(sentence, next);
    if (!is_letter(c)) {
      if (!text::is_white_space(c)) close();
      pos = next;
      continue;
    }
    const size_t start = pos;
    bool capitals = true;
    bool beyond = false;
    for (char32_t l = c; is_letter(l);) {
      capitals = capitals && is_capital(l);
      beyond = beyond || (l >= 0x80 && l != U'Đ');
      pos = next;
      if (pos >= sentence.size()) break;
      l = text::decode_utf8(sentence, next);
    }
    if (!capitals) {
      close();
      continue;
    }
    if (!open) {
      open = true;
      run_start = start;
    }
    last_end = pos;
    marked = marked || beyond;
  }
  close();
  return runs;
}

// Whether an acronym match is an unmarked Vietnamese word in capitals: ASCII
// capitals spelled as a syllable, inside a run of Vietnamese words in
// capitals («NAM» of «ĐÔNG NAM Á», «CHO» of «GIẢM GIÁ CHO KHÁCH»).
class CapitalWordRuns {
 public:
  explicit CapitalWordRuns(std::string_view sentence) : sentence_(sentence) {}

  bool holds_word(const text::Captures& m) {
    if (!is_unmarked_syllable(m.str())) return false;
    if (!runs_) runs_ = vietnamese_capital_runs(sentence_);
    while (next_ < runs_->size() && (*runs_)[next_].second < m.end(0)) ++next_;
    return next_ < runs_->size() && (*runs_)[next_].first <= m.start(0);
  }

 private:
  std::string_view sentence_;
  std::optional<std::vector<ByteRange>> runs_;  // found on first need
  size_t next_ = 0;                             // matches come left to right
};

// 22. Acronyms read sentence by sentence, except in a sentence written
// entirely in capitals (a headline): «Tôi yêu NASA.» reads «NASA», «NASA» alone
// stays. A word among Vietnamese words in capitals is one of them: «ĐÔNG NAM
// Á» reads «đông nam á».
void read_acronyms_in_sentences(std::string& text) {
  if (!may_hold_acronym(text)) return;
  std::string out;
  size_t copied = 0;
  bool any = false;
  // Acronyms of one sentence, which starts at `offset` in the text.
  auto read_sentence = [&](std::string_view sentence, size_t offset) {
    if (sentence.empty() || !may_hold_acronym(sentence) || is_all_capitals(sentence)) return;
    CapitalWordRuns words(sentence);
    RE_ACRONYM().for_each(sentence, [&](const text::Captures& m) {
      if (!any) {
        out.reserve(text.size() + text.size() / 2 + 16);
        any = true;
      }
      out.append(text, copied, offset + m.start(0) - copied);
      out += words.holds_word(m) ? text::to_lower(m.str()) : read_acronym(m);
      copied = offset + m.end(0);
    });
  };
  const std::string_view all(text);
  size_t sentence_start = 0;
  RE_ACRONYMS_SPLIT().for_each(all, [&](const text::Captures& delimiter) {
    read_sentence(all.substr(sentence_start, delimiter.start(0) - sentence_start),
                  sentence_start);
    sentence_start = delimiter.end(0);
  });
  read_sentence(all.substr(sentence_start), sentence_start);
  if (!any) return;
  out.append(text, copied, std::string::npos);
  text.swap(out);
}

// 23. «1.2.3» → «một chấm hai chấm ba».
void read_versions(std::string& text) {
  if (rewrite::has_separator_between_digits(text, ".")) {
    rewrite::in_place_read(text, RE_VERSION(), read_version);
  }
}

// 24. «3:2» → « 3 trên 2 »; «1000:1» → «1000, 1».
void read_standard_colons(std::string& text) {
  if (holds(text, ":")) rewrite::in_place_read(text, RE_STANDARD_COLON(), read_standard_colon);
}

// 25. «a: b; c» → «a,  b,  c».
void replace_colons_semicolons(std::string& text) {
  if (holds_any(text, ":;")) rewrite::in_place_template(text, RE_COLON_SEMICOLON(), ", ");
}

// The ASCII part of the kept set, for skipping the engine on plain texts.
bool is_kept_ascii(unsigned char b) {
  return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
         b == ' ' || (b >= 0x09 && b <= 0x0D) || b == '.' || b == ',' || b == '!' || b == '?' ||
         b == '_' || b == '\'' || b == '-';
}

// Marks the characters beyond ASCII that RE_CLEAN_OTHERS keeps: every one
// its class names (the pattern's only non-ASCII characters), in the Basic
// Multilingual Plane.
const std::vector<bool>& KEPT_NON_ASCII() {
  static const std::vector<bool> kept = [] {
    std::vector<bool> k(0x10000, false);
    const std::string& pattern = RE_CLEAN_OTHERS().pattern();
    for (size_t pos = 0; pos < pattern.size();) {
      const char32_t c = text::decode_utf8(pattern, pos);
      if (c >= 0x80 && c < 0x10000) k[c] = true;
    }
    return k;
  }();
  return kept;
}

// 26. «a|b» → «a b»; «a…b» → «a b». A word in the Latin script stays whole:
// a Latin letter outside the kept set is spelled in ASCII letters («Straße» →
// «Strasse», «Müller» → «Muller»), or kept when it has no such spelling, and
// a combining mark on a Latin letter goes without a trace («n̈» → «n»).
void clean_stray_characters(std::string& text) {
  if (!has_stray_character(text)) return;
  // Whether the match that ended at previous_end was a Latin letter or a mark
  // on one: a run of marks is judged by the letter before it, in one pass.
  size_t previous_end = std::string::npos;
  bool previous_latin = false;
  rewrite::in_place(text, RE_CLEAN_OTHERS(), [&](const text::Captures& m, std::string& out) {
    const std::string_view character = m.str();
    size_t pos = 0;
    const char32_t c = text::decode_utf8(character, pos);
    const size_t start = m.start(0);
    const bool after_latin =
        start == previous_end
            ? previous_latin
            : start > 0 && text::is_latin_letter(text::char_before(m.subject(), start));
    previous_end = m.end(0);
    previous_latin = true;
    if (c == U'\u00D0') {  // the eth capital, typed for its look-alike «Đ»
      out += "Đ";
      return;
    }
    if (text::is_latin_letter(c)) {
      const std::string spelling = text::latin_ascii_fold(c);
      out += spelling.empty() ? character : std::string_view(spelling);
      return;
    }
    if (text::is_mark(c) && after_latin) return;
    previous_latin = false;
    out += ' ';
  });
}

}  // namespace

// ---------------------------------------------------------------------------
// Pre-checks, per-match functions and the sequence

bool has_digit_before_letter(std::string_view text) {
  return text::has_pair(
      text, [](char32_t c) { return text::may_be_digit(c); },
      [](char32_t c) { return text::is_ascii_letter(c); });
}

bool has_letter_before_digit(std::string_view text) {
  return text::has_pair(
      text, [](char32_t c) { return text::is_ascii_letter(c); },
      [](char32_t c) { return text::may_be_digit(c); });
}

bool has_stray_character(std::string_view text) {
  const std::vector<bool>& kept = KEPT_NON_ASCII();
  for (size_t pos = 0, next = 0; pos < text.size(); pos = next) {
    const char32_t c = text::char_at(text, pos, &next);
    if (c < 0x80) {
      if (!is_kept_ascii(static_cast<unsigned char>(c))) return true;
    } else if (c >= 0x10000 || (!kept[c] && !text::is_space_class(c))) {
      return true;
    }
  }
  return false;
}

bool is_kept_non_ascii(char32_t c) { return c >= 0x80 && c < 0x10000 && KEPT_NON_ASCII()[c]; }

namespace {

// The typographic apostrophes that word processors, phones and fonts type for
// the ASCII one.
bool is_typographic_apostrophe(char32_t c) {
  return c == U'\u2019' || c == U'\u2018' || c == U'\u201B' || c == U'\u02BC' ||
         c == U'\uFF07';
}

// The minus sign U+2212 and its small and full-width forms, typed for "-".
bool is_minus_sign(char32_t c) { return c == U'\u2212' || c == U'\uFE63' || c == U'\uFF0D'; }

// The letters of a Roman numeral character (its compatibility decomposition,
// and for the old forms of one thousand, six and fifty the letters of the same
// value), or nothing for any other character: «Ⅻ» → «XII», «ⅳ» → «iv», «ↀ»
// → «M».
std::string_view roman_numeral_letters(char32_t c) {
  static constexpr std::string_view kNumerals[] = {
      "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII", "L", "C", "D", "M",
      "i", "ii", "iii", "iv", "v", "vi", "vii", "viii", "ix", "x", "xi", "xii", "l", "c", "d", "m"};
  if (c >= U'\u2160' && c <= U'\u217F') return kNumerals[c - U'\u2160'];
  if (c == U'\u2180') return "M";   // ↀ
  if (c == U'\u2185') return "VI";  // ↅ
  if (c == U'\u2186') return "L";   // ↆ
  return {};
}

// What the fold writes for the character c at text[pos, next), or nothing when
// c stays.
std::string_view folded_character(std::string_view text, size_t pos, size_t next, char32_t c,
                                  char& digit) {
  if (is_typographic_apostrophe(c)) {
    size_t after = next;
    const bool between_letters = pos > 0 && next < text.size() &&
                                 text::is_alphabetic(text::char_before(text, pos)) &&
                                 text::is_alphabetic(text::char_at(text, next, &after));
    return between_letters ? std::string_view("'") : std::string_view();
  }
  if (is_minus_sign(c)) return "-";
  if (const int value = text::decimal_digit_value(c); value >= 0) {
    digit = static_cast<char>('0' + value);
    return std::string_view(&digit, 1);
  }
  return roman_numeral_letters(c);
}

// Every character beyond ASCII for which `fold` gives a text (in `scratch`)
// replaced by it; the others copied. ASCII bytes, the Latin letters of
// U+00C0..U+027F (× and ÷ among them have no other form) and the Vietnamese
// letters of U+1E00..U+1EFF, which no fold changes, are skipped undecoded, and so, when
// `skip_two_byte` is set, are the two-byte characters below U+0640 but for the
// modifier letters of U+0280..U+02BF.
template <class Fold>
bool fold_characters(std::string_view text, std::string& out, bool skip_two_byte, Fold fold) {
  size_t copied = 0;
  bool any = false;
  std::string scratch;
  for (size_t pos = 0, next = 0; pos < text.size(); pos = next) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
      next = pos + 1;
      continue;
    }
    const bool latin_letter = lead >= 0xC3 && lead <= 0xC9;  // U+00C0..U+027F
    if ((latin_letter || (skip_two_byte && lead < 0xD9 && lead != 0xCA)) && pos + 1 < text.size()) {
      next = pos + 2;
      continue;
    }
    const auto second = pos + 1 < text.size() ? static_cast<unsigned char>(text[pos + 1]) : 0;
    if (lead == 0xE1 && pos + 2 < text.size() && second >= 0xB8 && second <= 0xBB) {
      next = pos + 3;
      continue;
    }
    const char32_t c = text::char_at(text, pos, &next);
    scratch.clear();
    if (!fold(text, pos, next, c, scratch)) continue;
    if (!any) {
      out.clear();
      out.reserve(text.size() + 16);
      any = true;
    }
    out.append(text.data() + copied, pos - copied);
    out += scratch;
    copied = next;
  }
  if (any) out.append(text.data() + copied, text.size() - copied);
  return any;
}

}  // namespace

bool fold_digits_and_apostrophes(std::string_view text, std::string& out) {
  // The two-byte characters skipped hold no digit, no Roman numeral and no
  // apostrophe.
  return fold_characters(
      text, out, true,
      [](std::string_view t, size_t pos, size_t next, char32_t c, std::string& folded) {
        char digit = 0;
        folded = folded_character(t, pos, next, c, digit);
        return !folded.empty();
      });
}

namespace {

// A character the steps read or keep as a letter or digit: an ASCII letter
// or digit, a Vietnamese letter, "°", or a key of the symbol, superscript and
// subscript tables.
bool is_read_by_steps(char32_t c) {
  if (c < 0x80) return text::is_ascii_letter(c) || text::is_ascii_digit(c) || symbol_reading(c);
  return c == U'°' || is_kept_non_ascii(c) || symbol_reading(c) != nullptr;
}

// A character that no step reads and the stray-character step would turn into
// a space: not kept, not a Latin letter (spelled there), not a mark (dropped
// on a letter), not read by a table.
bool is_deleted_at_last_step(char32_t c) {
  return c >= 0x80 && !is_kept_non_ascii(c) && !text::is_white_space(c) &&
         !text::is_latin_letter(c) && !text::is_mark(c) && c != U'°' && c != kSuperscriptMinus &&
         symbol_reading(c) == nullptr;
}

// The decomposition that stands for c, or "" when c stays: «℃» → «°C», «㎏» →
// «kg», «𝐒» → «S», «①» → «1»; «…» (dots, which no step reads as a sign) and
// «²» (read by its table) stay.
std::string compatibility_form(char32_t c) {
  if (!is_deleted_at_last_step(c)) return {};
  std::string mapping = text::decomposition_mapping(c);
  for (size_t pos = 0; pos < mapping.size();) {
    if (!is_read_by_steps(text::decode_utf8(mapping, pos))) return {};
  }
  return mapping;
}

// Whether each character of the Basic Multilingual Plane has a compatibility
// form, as far as this thread has met it: 0 not met, 1 stays, 2 has a form.
std::vector<uint8_t>& known_compatibility_forms() {
  thread_local std::vector<uint8_t> known(0x10000, 0);
  return known;
}

// Whether the superscript digits that begin at text[start] are an exponent:
// they stand right after an ASCII digit, or after a word of ASCII letters
// (a lone «¹» there is a footnote mark), and are not a lone «²» or «³».
bool is_exponent_run(std::string_view text, size_t start, std::string_view digits) {
  if (start == 0 || digits == "2" || digits == "3") return false;
  const char before = text[start - 1];
  if (before >= '0' && before <= '9') return true;
  return ascii_word_start(text, start) != start && digits != "1";
}

// Whether the text may hold a superscript digit: «¹²³» (C2 B9, B2, B3) or
// «⁰⁴…⁹» (E2 81 B0, B4…B9).
bool may_hold_superscript_digit(std::string_view text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (b == 0xC2 && (second == 0xB2 || second == 0xB3 || second == 0xB9)) return true;
    if (b == 0xE2 && second == 0x81) return true;
  }
  return false;
}

}  // namespace

bool fold_compatibility_signs(std::string_view text, std::string& out) {
  std::vector<uint8_t>& known = known_compatibility_forms();
  return fold_characters(text, out, false,
                         [&known](std::string_view, size_t, size_t, char32_t c, std::string& form) {
                           if (c < 0x10000) {
                             if (known[c] == 0) known[c] = compatibility_form(c).empty() ? 1 : 2;
                             if (known[c] == 1) return false;
                           }
                           form = compatibility_form(c);
                           return !form.empty();
                         });
}

bool fold_superscript_exponents(std::string_view text, std::string& out) {
  if (!may_hold_superscript_digit(text)) return false;
  size_t copied = 0;
  bool any = false;
  for (size_t pos = 0, next = 0; pos < text.size(); pos = next) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      next = pos + 1;
      continue;
    }
    std::string digits;
    size_t end = pos;
    for (size_t after = end; end < text.size(); end = after) {
      const char digit = superscript_digit(text::char_at(text, end, &after));
      if (digit == 0) break;
      digits += digit;
    }
    if (digits.empty()) {
      text::char_at(text, pos, &next);
      continue;
    }
    next = end;
    if (!is_exponent_run(text, pos, digits)) continue;
    if (!any) {
      out.clear();
      out.reserve(text.size() + 8);
      any = true;
    }
    out.append(text.data() + copied, pos - copied);
    out += '^';
    out += digits;
    copied = end;
  }
  if (any) out.append(text.data() + copied, text.size() - copied);
  return any;
}

// «3:2» → « 3 trên 2 »; «1000:1» → «1000, 1»; «3:2.5» → «3, 2.5».
std::string read_standard_colon(const text::Captures& m) {
  const std::string_view a = m[1];
  const std::string_view b = m[2];
  uint64_t value = 0;
  const auto [ptr, ec] = std::from_chars(a.data(), a.data() + a.size(), value);
  // Digits of another script or more than 64 bits count as a small number.
  const bool parsed = ec == std::errc() && ptr == a.data() + a.size() && !a.empty();
  const bool large = parsed && value >= 1000;
  std::string out;
  if (large || b.find('.') != std::string_view::npos) {
    out += a;
    out += ", ";
    out += b;
  } else {
    out += ' ';
    out += a;
    out += " trên ";
    out += b;
    out += ' ';
  }
  return out;
}

// «GIÁ VÀNG TĂNG. Giá USD giảm.» → the first sentence as it is, «USD» in the
// second read by read_acronym.
std::string read_acronyms_by_sentence(std::string_view text) {
  std::string out(text);
  read_acronyms_in_sentences(out);
  return out;
}

std::string normalize_others(std::string_view input) {
  std::string text(input);
  read_acronym_exceptions(text);         // 1
  read_slash_forms(text);                // 2
  read_domain_suffixes(text);            // 3
  read_roman_numerals(text);             // 4
  read_named_letters(text);              // 5
  read_number_letter(text);              // 6
  read_letter_number(text);              // 7
  read_primes(text);                     // 8
  read_digit_primes(text);               // 9
  read_unit_powers(text);                // 10
  drop_double_quotes(text);              // 11
  clear_edge_single_quotes(text);        // 12
  read_not_equal(text);                  // 13
  read_symbols_and_scripts(text);        // 14
  read_brackets(text);                   // 15
  strip_brackets(text);                  // 16
  read_negative_celsius(text);           // 17
  read_negative_fahrenheit(text);        // 18
  read_celsius(text);                    // 19
  read_fahrenheit(text);                 // 20
  read_degree_sign(text);                // 21
  read_acronyms_in_sentences(text);      // 22
  read_versions(text);                   // 23
  read_standard_colons(text);            // 24
  replace_colons_semicolons(text);       // 25
  clean_stray_characters(text);          // 26
  return text;
}

}  // namespace vyr::vi_normalizer
