#include "vi_normalizer/acronyms.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "text/bytes.hpp"
#include "text/char_classes.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/en_tags.hpp"
#include "vi_normalizer/num2vi.hpp"
#include "vi_normalizer/resources.hpp"

namespace vyr::vi_normalizer {
namespace {

using text::Captures;
using text::Engine;
using text::Regex;

// The Vietnamese capitals an acronym may hold besides A-Z.
constexpr std::string_view kVietnameseCapitals = "ĐĂÂÊÔƠƯ";
// The small letters beyond ASCII that RE_ACRONYM lets follow a capital.
constexpr std::string_view kAcronymSmallLetters = "đăâêôơư";

// The written rhymes of Vietnamese that carry no vowel mark, and the
// consonants that may open or close a syllable.
constexpr std::string_view kUnmarkedNuclei[] = {
    "oai", "oay", "uay", "uya", "uyu", "ai", "ao", "au", "ay", "eo", "ia", "iu", "oa",
    "oe",  "oi",  "ua",  "ui",  "uy",  "a",  "e",  "i",  "o",  "u",  "y"};
constexpr std::string_view kOnsets[] = {"ngh", "ng", "nh", "ch", "gh", "gi", "kh", "ph", "qu",
                                        "th",  "tr", "b",  "c",  "d",  "g",  "h",  "k",  "l",
                                        "m",   "n",  "p",  "r",  "s",  "t",  "v",  "x"};
constexpr std::string_view kCodas[] = {"ng", "nh", "ch", "c", "m", "n", "p", "t"};

// Whether the onset may stand before `rest` as Vietnamese spells it: «k»,
// «gh» and «ngh» only before e, i, y; «c», «g» and «ng» never there.
bool onset_fits(std::string_view onset, std::string_view rest) {
  const bool front = !rest.empty() && (rest[0] == 'e' || rest[0] == 'i' || rest[0] == 'y');
  if (onset == "k" || onset == "gh" || onset == "ngh") return front;
  if (onset == "c" || onset == "g" || onset == "ng") return !front;
  return true;
}

// Whether `rest` is one unmarked rhyme: a nucleus and at most one coda.
bool is_unmarked_rhyme(std::string_view rest) {
  for (std::string_view nucleus : kUnmarkedNuclei) {
    if (!rest.starts_with(nucleus)) continue;
    const std::string_view coda = rest.substr(nucleus.size());
    if (coda.empty()) return true;
    for (std::string_view c : kCodas) {
      if (coda == c) return true;
    }
  }
  return false;
}

// Writes `fill` into every "{}" of `templ`.
std::string fill_slots(std::string_view templ, std::string_view fill) {
  std::string out;
  size_t pos = 0;
  for (size_t slot; (slot = templ.find("{}", pos)) != std::string_view::npos; pos = slot + 2) {
    out.append(templ.substr(pos, slot - pos));
    out.append(fill);
  }
  out.append(templ.substr(pos));
  return out;
}

// Longest keys first, so that at one place the whole key wins over a key it
// starts with ("TP.HCM" over "TP"); equal lengths keep the table's order.
// «TP.HCM», «MS-DOS» → «\bTP\.HCM\b|...|\bMS\-DOS\b|...»
std::string exceptions_pattern() {
  std::vector<std::string_view> keys;
  keys.reserve(COMBINED_EXCEPTIONS().size());
  for (const auto& [key, value] : COMBINED_EXCEPTIONS()) keys.push_back(key);
  std::stable_sort(keys.begin(), keys.end(),
                   [](std::string_view a, std::string_view b) { return a.size() > b.size(); });
  std::string pattern;
  for (std::string_view key : keys) {
    if (!pattern.empty()) pattern += '|';
    pattern += "\\b";
    pattern += Regex::escape(key);
    pattern += "\\b";
  }
  return pattern;
}

bool is_continuation_byte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The bytes of the code point that starts at `at`.
std::string_view code_point_at(std::string_view text, size_t at) {
  size_t end = at + 1;
  for (int on = 0; on < 3 && end < text.size() && is_continuation_byte(text[end]); ++on) ++end;
  return text.substr(at, end - at);
}

// The bytes of the code point that ends at `end` (> 0).
std::string_view code_point_before(std::string_view text, size_t end) {
  size_t at = end - 1;
  for (int back = 0; back < 3 && at > 0 && is_continuation_byte(text[at]); ++back) --at;
  return text.substr(at, end - at);
}

// «é» → true, «²» → false: a word character as the pattern layer's own
// word boundaries see it, asked of the layer itself beyond ASCII.
bool is_word_char(std::string_view code_point) {
  const auto b = static_cast<unsigned char>(code_point[0]);
  if (b < 0x80) {
    return (b >= '0' && b <= '9') || ((b | 0x20) >= 'a' && (b | 0x20) <= 'z') || b == '_';
  }
  static const Regex word(R"(\w)", Engine::kLinear);
  return word.is_match(code_point);
}

// One exception key, and whether it begins and ends with a word character
// (then a word boundary before it or after it needs a non-word neighbour).
struct ExceptionKey {
  std::string_view text;
  bool word_first;
  bool word_last;
};

// The exception keys grouped by their first byte, for finding where one may
// match without running the pattern over the whole text.
struct ExceptionKeys {
  std::array<std::vector<ExceptionKey>, 256> by_first_byte;
  size_t longest = 0;
};

const ExceptionKeys& EXCEPTION_KEYS() {
  static const ExceptionKeys keys = [] {
    ExceptionKeys k;
    for (const auto& [key, value] : COMBINED_EXCEPTIONS()) {
      if (key.empty()) continue;
      k.by_first_byte[static_cast<unsigned char>(key[0])].push_back(
          {key, is_word_char(code_point_at(key, 0)),
           is_word_char(code_point_before(key, key.size()))});
      k.longest = std::max(k.longest, key.size());
    }
    return k;
  }();
  return keys;
}

// Whether some exception key may match at byte p. Every match of the
// exception pattern is one key between word boundaries, so a match at p needs
// a key spelled there, and rules out a key that begins with a word character
// right after another one, or ends with one right before another one.
// «TP.HCM» at 0 → true; «TPx» and «xTP» → false.
bool key_may_match_at(std::string_view text, size_t p, const ExceptionKeys& keys) {
  std::optional<bool> word_before;  // decided on first need
  for (const ExceptionKey& key : keys.by_first_byte[static_cast<unsigned char>(text[p])]) {
    if (text.compare(p, key.text.size(), key.text) != 0) continue;
    if (key.word_first) {
      if (!word_before) word_before = p > 0 && is_word_char(code_point_before(text, p));
      if (*word_before) continue;
    }
    const size_t after = p + key.text.size();
    if (key.word_last && after < text.size() && is_word_char(code_point_at(text, after))) {
      continue;
    }
    return true;
  }
  return false;
}

// The pattern's own answer at byte p: a match starting at p, or nothing. It
// is asked on a window holding the code point before p and every byte up to
// one code point past the longest key, which is all that its word boundaries
// and keys can see from p, so the answer is the one the whole text gives.
std::optional<ExceptionSpan> exception_match_at(std::string_view text, size_t p,
                                                const ExceptionKeys& keys) {
  const size_t from = p > 0 ? p - code_point_before(text, p).size() : 0;
  size_t to = std::min(text.size(), p + keys.longest);
  while (to < text.size() && is_continuation_byte(text[to])) ++to;
  if (to < text.size()) to += code_point_at(text, to).size();
  const std::string_view window = text.substr(from, to - from);
  const std::optional<Captures> m = RE_ACRONYMS_EXCEPTIONS().find(window, p - from);
  if (!m || m->start(0) != p - from) return std::nullopt;
  return ExceptionSpan{p, from + m->end(0)};
}

bool is_ascii_digit(char32_t c) { return c >= '0' && c <= '9'; }
bool is_ascii_lower(char32_t c) { return c >= 'a' && c <= 'z'; }

// Appends a piece, one space after the previous one.
void add_piece(std::string& out, std::string_view piece) {
  if (!out.empty()) out += ' ';
  out += piece;
}

// The code points of `s` with the bytes each was decoded from.
template <class F>
void for_each_char(std::string_view s, F&& f) {
  for (size_t pos = 0; pos < s.size();) {
    const size_t start = pos;
    const char32_t c = text::decode_utf8(s, pos);
    f(c, s.substr(start, pos - start));
  }
}

std::vector<char32_t> code_points(std::string_view chars) {
  std::vector<char32_t> out;
  for (size_t pos = 0; pos < chars.size();) out.push_back(text::decode_utf8(chars, pos));
  return out;
}

bool holds_code_point(const std::vector<char32_t>& set, char32_t c) {
  return std::find(set.begin(), set.end(), c) != set.end();
}

// The vowels whose marks only Vietnamese writes (Ă Â Ê Ô Ơ Ư, either case).
// A capital run that holds one is a word in capitals, not letters to spell:
// «XĂNG», «TRƠN», «SIÊU». Tone marks never reach an acronym match.
bool has_vietnamese_marked_vowel(std::string_view m) {
  static const std::vector<char32_t> vowels = code_points("ĂÂÊÔƠƯăâêôơư");
  bool found = false;
  for_each_char(m, [&](char32_t c, std::string_view) {
    found = found || holds_code_point(vowels, c);
  });
  return found;
}

bool has_small_or_non_ascii_letter(std::string_view m) {
  bool found = false;
  for_each_char(m, [&](char32_t c, std::string_view) {
    found = found || is_ascii_lower(c) || (c >= 0x80 && text::is_alphabetic(c));
  });
  return found;
}

// What the letter reading does with a character that is neither an ASCII
// digit nor a named letter.
enum class Unnamed { kLowerLettersDropRest, kKeepAsWritten };

// Letter by letter in Vietnamese: digits by their word, letters by their name.
// «PhD» → «pê hát đê», «H2O» → «hát hai ô», «ÂU» → «â u»
std::string vietnamese_letter_reading(std::string_view m, Unnamed unnamed) {
  std::string out;
  out.reserve(m.size() * 4);
  for_each_char(m, [&](char32_t c, std::string_view bytes) {
    if (is_ascii_digit(c)) {
      add_piece(out, n2w_single(bytes));
      return;
    }
    const std::string lower = text::lower_char(c);
    if (const std::string_view* name = VI_LETTER_NAMES().find(lower)) {
      add_piece(out, *name);
    } else if (unnamed == Unnamed::kKeepAsWritten) {
      add_piece(out, bytes);
    } else if (text::is_alphabetic(c)) {
      add_piece(out, lower);
    }
  });
  return out;
}

// Letter by letter in English. «ABC» → «__start_en__a b c__end_en__»
std::string english_spelling(std::string_view m) {
  std::string letters;
  letters.reserve(m.size() * 2);
  for_each_char(m, [&](char32_t c, std::string_view) { add_piece(letters, text::lower_char(c)); });
  std::string out;
  out.reserve(kStartEn.size() + letters.size() + kEndEn.size());
  out.append(kStartEn).append(letters).append(kEndEn);
  return out;
}

// «NASA» → «__start_en__nasa__end_en__»
std::string english_word(std::string_view m) {
  std::string out;
  out.reserve(kStartEn.size() + m.size() + kEndEn.size());
  out.append(kStartEn).append(text::to_lower(m)).append(kEndEn);
  return out;
}

// «vitamin C» → «vitamin  xê », «câu b.» → «câu  bê. », «A.» → « a »
void append_standalone_letter(const Captures& m, std::string& out) {
  const std::string_view letter = m[1];
  const std::string_view dot = m[2];
  const char lower = static_cast<char>(letter[0] | 0x20);  // group 1 is one ASCII letter
  const std::string_view* name = VI_LETTER_NAMES().find(std::string_view(&lower, 1));
  if (name == nullptr) {  // every ASCII letter is named; keep the match if one were not
    out += m.str();
    return;
  }
  const bool capital = letter[0] >= 'A' && letter[0] <= 'Z';
  out += ' ';
  out += *name;
  if (!(capital && !dot.empty())) out += dot;  // a capital initial loses its dot
  out += ' ';
}

// A letter or a combining mark: what an abbreviation may not touch, lest its
// reading run into a word.
bool joins_word(char32_t c) { return text::is_alphabetic(c) || text::is_mark(c); }

// Whether the occurrence of `key` at text[at] is the abbreviation and not a
// piece of a longer word: no letter touches it on either side («v/vũ»,
// «kv/vực», «đ/cái»). Right after a digit, the «đ» of «đ/c» is the đồng sign
// of a price per unit («5.000đ/c»).
bool stands_apart(std::string_view text, std::string_view key, size_t at) {
  if (at > 0 && joins_word(text::char_before(text, at))) return false;
  if (key.starts_with("đ") && at > 0 &&
      text::decimal_digit_value(text::char_before(text, at)) >= 0) {
    return false;
  }
  const size_t end = at + key.size();
  size_t next = 0;
  return end == text.size() || !joins_word(text::char_at(text, end, &next));
}

// Every occurrence of `key` in `text` that stands apart, left to right
// without overlap, replaced by `value`. False, with `out` untouched, when
// there is none.
bool replace_apart(std::string_view text, std::string_view key, std::string_view value,
                   std::string& out) {
  size_t copied = 0;
  size_t from = 0;
  bool any = false;
  for (size_t at = text.find(key); at != std::string_view::npos; at = text.find(key, from)) {
    if (!stands_apart(text, key, at)) {
      from = at + 1;
      continue;
    }
    if (!any) {
      out.clear();
      out.reserve(text.size() + text.size() / 8 + value.size());
      any = true;
    }
    out.append(text.substr(copied, at - copied));
    out.append(value);
    copied = from = at + key.size();
  }
  if (any) out.append(text.substr(copied));
  return any;
}

}  // namespace

// «TP.HCM và VN-Index» → matches «TP.HCM», «VN-Index»; «ĐHQG» → no match
const Regex& RE_ACRONYMS_EXCEPTIONS() {
  static const Regex re(exceptions_pattern(), Engine::kLinear);
  return re;
}

std::optional<ExceptionSpan> find_acronym_exception(std::string_view text, size_t pos) {
  const ExceptionKeys& keys = EXCEPTION_KEYS();
  for (size_t p = pos; p < text.size(); ++p) {
    if (keys.by_first_byte[static_cast<unsigned char>(text[p])].empty()) continue;
    if (!key_may_match_at(text, p, keys)) continue;
    if (std::optional<ExceptionSpan> span = exception_match_at(text, p, keys)) return span;
  }
  return std::nullopt;
}

bool is_unmarked_syllable(std::string_view word) {
  if (word.empty() || word.size() > 8) return false;
  std::string lower;
  for (char c : word) {
    if (!text::is_ascii_letter(static_cast<unsigned char>(c))) return false;
    lower += static_cast<char>(c | 0x20);
  }
  const std::string_view w(lower);
  if (is_unmarked_rhyme(w)) return true;
  for (std::string_view onset : kOnsets) {
    if (!w.starts_with(onset)) continue;
    const std::string_view rest = w.substr(onset.size());
    if (onset_fits(onset, rest) && is_unmarked_rhyme(rest)) return true;
  }
  return false;
}

// «HĐND VIỆT NAM» → matches «HĐND», «NAM»; «iPhone», «A4» → no match
const Regex& RE_ACRONYM() {
  static const Regex re(
      fill_slots(R"(\b(?=[A-Z{}a-z{}0-9]*[A-Z{}])(?:[A-Z{}][a-zđăâêôơư]?\d*){2,}\b)",
                 kVietnameseCapitals),
      Engine::kBacktracking);
  return re;
}

namespace {

// The capitals and small letters of RE_ACRONYM's units.
bool is_acronym_capital(char32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z';
  static const std::vector<char32_t> capitals = code_points(kVietnameseCapitals);
  return holds_code_point(capitals, c);
}

bool is_acronym_small(char32_t c) {
  if (c < 0x80) return c >= 'a' && c <= 'z';
  static const std::vector<char32_t> smalls = code_points(kAcronymSmallLetters);
  return holds_code_point(smalls, c);
}

}  // namespace

// A capital, then at most one small letter and any digits, then another
// capital: where every match of RE_ACRONYM starts.
bool may_hold_acronym(std::string_view text) {
  for (size_t pos = 0, next = 0; pos < text.size(); pos = next) {
    if (!is_acronym_capital(text::char_at(text, pos, &next))) continue;
    size_t at = next;
    size_t after = 0;
    if (at < text.size() && is_acronym_small(text::char_at(text, at, &after))) at = after;
    while (at < text.size() && text::may_be_digit(text::char_at(text, at, &after))) at = after;
    if (at < text.size() && is_acronym_capital(text::char_at(text, at, &after))) return true;
  }
  return false;
}

// «it's a b.» → matches «a», «b.» (not the «s» after the apostrophe)
const Regex& RE_STANDALONE_LETTER() {
  static const Regex re(R"((?<![\''])\b([a-zA-Z])\b(\.?))", Engine::kBacktracking);
  return re;
}

// «NASA» → «__start_en__nasa__end_en__», «ĐHQG» → «đê hát qui gờ»,
// «CO2» → «xê ô hai», «ABC» → «__start_en__a b c__end_en__»
std::string read_acronym(const Captures& m) {
  const std::string_view acronym = m.str();
  if (WORD_LIKE_ACRONYMS().contains(acronym)) return english_word(acronym);
  if (has_vietnamese_marked_vowel(acronym)) return text::to_lower(acronym);
  if (has_small_or_non_ascii_letter(acronym)) {
    return vietnamese_letter_reading(acronym, Unnamed::kLowerLettersDropRest);
  }
  if (text::has_ascii_digit(acronym)) {
    return vietnamese_letter_reading(acronym, Unnamed::kKeepAsWritten);
  }
  return english_spelling(acronym);
}

// The ABBRS entries in table order, each on the result of the one before.
// «táo, cam, v.v.» → «táo, cam,  vân vân.», «đ/c» → «địa chỉ»; «5.000đ/cái»
// and «v/vũ» stay.
std::string expand_abbreviations(std::string_view text) {
  std::string current;
  bool changed = false;
  for (const auto& [key, value] : ABBRS()) {
    const std::string_view source = changed ? std::string_view(current) : text;
    if (source.find(key) == std::string_view::npos) continue;
    std::string next;
    if (!replace_apart(source, key, value, next)) continue;  // source may view current
    current = std::move(next);
    changed = true;
  }
  return changed ? current : std::string(text);
}

// An ASCII letter with no sure word character on either side, where every
// match of RE_STANDALONE_LETTER is.
bool may_hold_standalone_letter(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (!text::is_ascii_letter(static_cast<unsigned char>(text[i]))) continue;
    if (i > 0 && text::surely_word(text::char_before(text, i))) continue;
    size_t next = 0;
    if (i + 1 < text.size() && text::surely_word(text::char_at(text, i + 1, &next))) continue;
    return true;
  }
  return false;
}

// «Nguyễn Văn A.» → «Nguyễn Văn  a », «e.g.» → « e.  gờ. »
std::string expand_standalone_letters(std::string_view text) {
  if (!may_hold_standalone_letter(text)) return std::string(text);
  return RE_STANDALONE_LETTER().replace_all_with(text, append_standalone_letter);
}

}  // namespace vyr::vi_normalizer
