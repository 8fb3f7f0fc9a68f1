#include "vi_normalizer/number_led_search.hpp"

#include <algorithm>
#include <optional>
#include <utility>

#include "runtime/panic.hpp"
#include "text/char_classes.hpp"
#include "text/unicode.hpp"

namespace vyr::vi_normalizer {

namespace {

constexpr std::string_view kNumberLead = R"re((?i)(\d+(?:[.,]\d+)*))re";
constexpr std::string_view kUnitLead = R"re((?i)(?<![a-zA-Z\d.,])(\d+(?:[.,]\d+)*))re";
constexpr std::string_view kFlags = "(?i)";
// After its white space a tail reads at most a magnitude word and a sign
// (six characters), or a unit word and the character after it (seven); the
// window keeps a few more.
constexpr size_t kTailChars = 8;
constexpr std::string_view kCurrencySigns[] = {"$", "€", "¥", "£", "₩"};

// «٣» → true: the engine's own \d and \s, for characters beyond ASCII.
const text::Regex& RE_DIGIT_CHAR() {
  static const text::Regex re(R"re(\d)re", text::Engine::kLinear);
  return re;
}
const text::Regex& RE_SPACE_CHAR() {
  static const text::Regex re(R"re(\s)re", text::Engine::kLinear);
  return re;
}

// The tail of the pattern alone, anchored at the start of its subject: the
// number and its look-behind (if any) are left to the search.
std::string tail_pattern(const text::Regex& re, NumberTail tail) {
  const std::string& pattern = re.pattern();
  const std::string_view lead = tail == NumberTail::kUnitWord ? kUnitLead : kNumberLead;
  if (pattern.compare(0, lead.size(), lead) != 0) {
    throw Panic("not a pattern that starts with a number: " + pattern);
  }
  return std::string(kFlags) + "^" + pattern.substr(lead.size());
}

// The bytes of the character at `pos`.
std::string_view char_at(std::string_view text, size_t pos) {
  size_t end = pos;
  text::decode_utf8(text, end);
  return text.substr(pos, std::min(end, text.size()) - pos);
}

// The engine is asked only about characters the quick tests cannot rule
// out, such as the letters of most of a Vietnamese text.
bool is_digit_at(std::string_view text, size_t pos) {
  const unsigned char b = static_cast<unsigned char>(text[pos]);
  if (b < 0x80) return b >= '0' && b <= '9';
  size_t next = 0;
  if (!text::may_be_digit(text::char_at(text, pos, &next))) return false;
  return RE_DIGIT_CHAR().is_match(char_at(text, pos));
}

bool is_space_at(std::string_view text, size_t pos) {
  const unsigned char b = static_cast<unsigned char>(text[pos]);
  if (b < 0x80) return b == ' ' || (b >= '\t' && b <= '\r');
  size_t next = 0;
  if (!text::is_space_class(text::char_at(text, pos, &next))) return false;
  return RE_SPACE_CHAR().is_match(char_at(text, pos));
}

// The first digit at or after `pos`, or the end of the text.
size_t next_digit(std::string_view text, size_t pos) {
  while (pos < text.size()) {
    const unsigned char b = static_cast<unsigned char>(text[pos]);
    if (b >= 0x80 ? is_digit_at(text, pos) : (b >= '0' && b <= '9')) return pos;
    pos += b >= 0x80 ? char_at(text, pos).size() : 1;
  }
  return pos;
}

// Where (\d+(?:[.,]\d+)*) taken greedily from the digit at `pos` ends.
size_t number_end(std::string_view text, size_t pos) {
  for (;;) {
    while (pos < text.size() && is_digit_at(text, pos)) pos += char_at(text, pos).size();
    if (pos + 1 < text.size() && (text[pos] == '.' || text[pos] == ',') &&
        is_digit_at(text, pos + 1)) {
      ++pos;
      continue;
    }
    return pos;
  }
}

size_t skip_spaces(std::string_view text, size_t pos) {
  while (pos < text.size() && is_space_at(text, pos)) pos += char_at(text, pos).size();
  return pos;
}

size_t advance_chars(std::string_view text, size_t pos, size_t count) {
  for (size_t i = 0; i < count && pos < text.size(); ++i) pos += char_at(text, pos).size();
  return pos;
}

bool currency_sign_at(std::string_view text, size_t pos) {
  for (std::string_view sign : kCurrencySigns) {
    if (text.compare(pos, sign.size(), sign) == 0) return true;
  }
  return false;
}

// (?<![a-zA-Z\d.,]) at `pos`; the Kelvin sign and the long s are letters
// under (?i).
bool no_number_or_letter_before(std::string_view text, size_t pos) {
  if (pos == 0) return true;
  size_t start = pos - 1;
  while (start > 0 && pos - start < 4 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) {
    --start;
  }
  const std::string_view ch = text.substr(start, pos - start);
  if (ch == "\u212A" || ch == "\u017F" || ch == "." || ch == ",") return false;
  const char c = static_cast<char>(ch[0] | 0x20);
  if (ch.size() == 1 && c >= 'a' && c <= 'z') return false;
  return !is_digit_at(text, start);
}

// Can the tail begin after a number that ends at `end`, its white space
// ending at `after_spaces`? A sign right after the number, or a magnitude
// word («tỷ», «triệu», «nghìn», «ngàn») after the spaces; a "%" after them;
// a unit word (letters, or a sign such as «€», «đ», «¥»), which never begins
// with an ASCII digit or punctuation.
bool tail_may_begin(NumberTail tail, std::string_view text, size_t end, size_t after_spaces) {
  if (tail == NumberTail::kPercentSign) {
    return after_spaces < text.size() && text[after_spaces] == '%';
  }
  if (tail == NumberTail::kUnitWord) {
    if (after_spaces >= text.size()) return false;
    const unsigned char b = static_cast<unsigned char>(text[after_spaces]);
    return b >= 0x80 || ((b | 0x20) >= 'a' && (b | 0x20) <= 'z');
  }
  if (currency_sign_at(text, end)) return true;
  if (after_spaces >= text.size()) return false;
  const char c = static_cast<char>(text[after_spaces] | 0x20);
  return c == 't' || c == 'n';
}

// The end of the window the engine needs to read a tail whose first white
// space ends at `after_spaces`: a magnitude word, more white space and a unit
// word with the character after it all fit.
size_t tail_window_end(std::string_view text, size_t after_spaces) {
  const size_t past_magnitude = skip_spaces(text, advance_chars(text, after_spaces, 5));
  return std::max(advance_chars(text, after_spaces, kTailChars),
                  advance_chars(text, past_magnitude, kTailChars));
}

}  // namespace

NumberLedSearch::NumberLedSearch(const text::Regex& re, NumberTail tail)
    : tail_re_(tail_pattern(re, tail), re.engine()), tail_(tail) {}

std::vector<text::Captures> NumberLedSearch::all(std::string_view text) const {
  std::vector<text::Captures> out;
  size_t pos = 0;
  while ((pos = next_digit(text, pos)) < text.size()) {
    const size_t end = number_end(text, pos);
    const size_t after_spaces = skip_spaces(text, end);
    // Inside a number every start has a digit, "." or "," before it, so the
    // look-behind admits the first digit only.
    const bool may_start =
        tail_ != NumberTail::kUnitWord || no_number_or_letter_before(text, pos);
    if (may_start && tail_may_begin(tail_, text, end, after_spaces)) {
      // The number taken whole is what the engine tries first, and the only
      // length after which the tail can match: the match is the number and
      // the tail's own match after it.
      const size_t window_end = tail_window_end(text, after_spaces);
      const std::optional<text::Captures> m = tail_re_.find(text.substr(end, window_end - end));
      if (m) {
        std::vector<size_t> offsets = {pos, end + m->end(0), pos, end};
        offsets.reserve(2 * (m->size() + 1));
        for (size_t i = 1; i < m->size(); ++i) {
          offsets.push_back(m->matched(i) ? end + m->start(i) : text::Captures::kUnset);
          offsets.push_back(m->matched(i) ? end + m->end(i) : text::Captures::kUnset);
        }
        out.emplace_back(text, std::move(offsets));
        pos = out.back().end(0);
        continue;
      }
    }
    // Every start inside this number reaches the same end: none matches.
    pos = end;
  }
  return out;
}

}  // namespace vyr::vi_normalizer
