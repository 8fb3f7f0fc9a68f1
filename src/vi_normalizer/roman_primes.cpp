#include "vi_normalizer/roman_primes.hpp"

#include <cstdint>
#include <string>

#include "text/bytes.hpp"
#include "text/char_classes.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/num2vi.hpp"
#include "vi_normalizer/resources.hpp"

namespace vyr::vi_normalizer {

// «XIV», «MCMXCIX» as whole words; not «IIII», «IC», «X», «XIVth», «AXIV».
const text::Regex& RE_ROMAN_NUMBER() {
  static const text::Regex re(
      R"re(\b(?=[IVXLCDM]{2,})(?:M{0,4}(?:CM|CD|D?C{0,3})(?:XC|XL|L?X{0,3})(?:IX|IV|V?I{0,3}))(?<=[IVXLCDM])\b)re",
      text::Engine::kBacktracking);
  return re;
}

// «x'» → group «x»; «A’», «f′» → «A», «f»; «A″» → «A» and «″»; nothing in
// «don't», «l'eau», «ab'».
const text::Regex& RE_PRIME() {
  static const text::Regex re(R"re((\b[a-zA-Z0-9])(['’′]|″)(?!\w))re", text::Engine::kBacktracking);
  return re;
}

// «45''» → «''»; «45”» → «”»; «45′» → «′»; the digit stays outside the match.
const text::Regex& RE_PRIME_DIGIT() {
  static const text::Regex re(R"re((?<=\d)(['’′]+|[\x22”″]))re", text::Engine::kBacktracking);
  return re;
}

// «1.2.3», «10.0.1»; not «1.2», «-1.2.3», «1.2.3a».
const text::Regex& RE_VERSION() {
  static const text::Regex re(R"re((?<![-–—])\b(\d+(?:\.\d+){2,})\b)re",
                              text::Engine::kBacktracking);
  return re;
}

namespace {

int32_t roman_value(char32_t c) {
  const int32_t* value = ROMAN_NUMERALS().find(c);
  return value ? *value : 0;
}

// «XIV» → 14: a letter worth less than the one after it is subtracted.
int64_t roman_total(std::string_view numeral) {
  // 64 bits: no overflow whatever the length of the text handed in.
  int64_t total = 0;
  if (numeral.empty()) return total;
  size_t pos = 0;
  int32_t value = roman_value(text::decode_utf8(numeral, pos));
  while (pos < numeral.size()) {
    const int32_t next = roman_value(text::decode_utf8(numeral, pos));
    total += value < next ? -value : value;
    value = next;
  }
  return total + value;
}

// The longest numbering word's bytes, and the most white space looked over.
constexpr size_t kLongestWordBytes = 16;
constexpr size_t kMostSpaceBytes = 16;

// Where the white space that ends at `end` starts, or npos when there is none
// or too much of it.
size_t space_start_before(std::string_view text, size_t end) {
  size_t start = end;
  while (start > 0 && end - start <= kMostSpaceBytes) {
    const size_t before = text::char_start_before(text, start);
    if (!text::is_white_space(text::char_before(text, start))) break;
    start = before;
  }
  return start == end || end - start > kMostSpaceBytes ? std::string_view::npos : start;
}

// Where the word of letters that ends at `end` starts, or npos when there is
// none or it is longer than any numbering word.
size_t word_start_before(std::string_view text, size_t end) {
  size_t start = end;
  while (start > 0 && end - start <= kLongestWordBytes) {
    if (!text::is_alphabetic(text::char_before(text, start))) break;
    start = text::char_start_before(text, start);
  }
  return start == end || end - start > kLongestWordBytes ? std::string_view::npos : start;
}

}  // namespace

bool follows_numbering_word(std::string_view text, size_t pos) {
  const size_t last_end = space_start_before(text, pos);
  if (last_end == std::string_view::npos) return false;
  const size_t last = word_start_before(text, last_end);
  if (last == std::string_view::npos) return false;
  const std::string last_word = text::to_lower(text.substr(last, last_end - last));
  if (NUMBERING_WORDS().contains(last_word)) return true;
  const size_t first_end = space_start_before(text, last);
  if (first_end == std::string_view::npos) return false;
  const size_t first = word_start_before(text, first_end);
  if (first == std::string_view::npos) return false;
  return NUMBERING_WORDS().contains(text::to_lower(text.substr(first, first_end - first)) + ' ' +
                                    last_word);
}

// «XIV» → « mười bốn »; «MCMXCIX» → « một nghìn chín trăm chín mươi chín ».
std::string read_roman_numeral(const text::Captures& m) {
  std::string out = " ";
  out += n2w(std::to_string(roman_total(m.str())));
  out += ' ';
  return out;
}

// «x'» → «ích phẩy»; «A″» → «a phẩy phẩy». A digit and its mark stay as
// they are: after a number the mark is read as minutes, seconds or inches
// (read_number_marks).
std::string read_prime(const text::Captures& m) {
  const std::string lowered = text::to_lower(m[1]);
  if (lowered.size() == 1 && lowered[0] >= '0' && lowered[0] <= '9') return std::string(m.str());
  std::string out;
  if (const std::string_view* name = VI_LETTER_NAMES().find(lowered)) {
    out = std::string(*name);
  } else {
    out = lowered;
  }
  out += m[2] == "″" ? " phẩy phẩy" : " phẩy";
  return out;
}

namespace {

bool is_space(char32_t c) { return text::is_white_space(c); }

// The quotations open at a point of the text, in the sentence it is in.
struct OpenQuotes {
  bool double_quote = false;
  bool single_quote = false;
};

// What may stand right before an opening single quote.
bool opens_before_quote(char32_t c) {
  return is_space(c) || c == '(' || c == '[' || c == '{' || c == '"' || c == U'“';
}

// The quotations open once text[from, to) has been read with `open` at
// `from`: a sentence end («. », a line break) closes every one; “ opens a
// double quotation, " and ” open one or close the one open; ‘, and ' or ’ at
// the start of a word, open a single one, and ' or ’ at the end of a word
// closes it. An apostrophe inside a word («don't») does neither.
void read_quotes(std::string_view text, size_t from, size_t to, OpenQuotes& open) {
  for (size_t pos = from, next = from; pos < to; pos = next) {
    const char32_t c = text::char_at(text, pos, &next);
    size_t after_end = next;
    const char32_t after = next < text.size() ? text::char_at(text, next, &after_end) : 0;
    if (c == '\n' || c == '\r' || ((c == '.' || c == '!' || c == '?') && is_space(after))) {
      open = OpenQuotes{};
    } else if (c == U'“') {
      open.double_quote = true;
    } else if (c == '"' || c == U'”') {
      open.double_quote = !open.double_quote;
    } else if (c == U'‘') {
      open.single_quote = true;
    } else if (c == '\'' || c == U'’') {
      const bool word_start = pos == 0 || opens_before_quote(text::char_before(text, pos));
      if (word_start && after != 0 && !is_space(after)) {
        open.single_quote = true;
      } else if (!word_start && (after == 0 || !text::is_alphanumeric(after))) {
        open.single_quote = false;
      }
    }
  }
}

bool is_number_char(char c) { return (c >= '0' && c <= '9') || c == '.' || c == ','; }

// Where the number that ends at `end` starts: digits, with "." or "," between
// them; no further back than `floor`.
size_t number_start(std::string_view text, size_t end, size_t floor) {
  size_t start = end;
  while (start > floor && is_number_char(text[start - 1])) --start;
  while (start < end && (text[start] == '.' || text[start] == ',')) ++start;
  return start;
}

// Where the run of spaces and tabs that ends at `end` starts.
size_t spaces_start(std::string_view text, size_t end, size_t floor) {
  while (end > floor && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return end;
}

// The word of letters that ends at `end` (after the spaces before it).
std::string_view word_before(std::string_view text, size_t end, size_t floor) {
  const size_t word_end = spaces_start(text, end, floor);
  size_t start = word_end;
  while (start > floor && text::is_alphabetic(text::char_before(text, start))) {
    start = text::char_start_before(text, start);
  }
  return text.substr(start, word_end - start);
}

bool is_double_quote(std::string_view marks) { return marks == "\"" || marks == "”"; }

// Whether the marks close the quotation open: " or ” a double one, ' or ’
// (one or more) a single one; primes (′, ″) close none.
bool closes(std::string_view marks, const OpenQuotes& open) {
  if (is_double_quote(marks)) return open.double_quote;
  return open.single_quote && marks.find("′") == std::string_view::npos &&
         marks.find("″") == std::string_view::npos;
}

// One mark (', ’ or ′) is a single prime; ", ”, ″ or a run of two or more
// marks is a double one.
bool is_single_prime(std::string_view marks) {
  return marks == "'" || marks == "’" || marks == "′";
}

// Whether a mark may stand right after a digit: ' or " or a mark of
// U+2000..U+203F after an ASCII digit or after the last byte of another
// character (a digit of another script).
bool may_hold_mark_after_digit(std::string_view text) {
  for (size_t i = 1; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b != '\'' && b != '"' && !(b == 0xE2 && i + 1 < text.size() && text[i + 1] == '\x80')) {
      continue;
    }
    const auto before = static_cast<unsigned char>(text[i - 1]);
    if ((before >= '0' && before <= '9') || before >= 0x80) return true;
  }
  return false;
}

}  // namespace

bool read_number_marks(std::string_view text, std::string& out) {
  if (!may_hold_mark_after_digit(text)) return false;
  OpenQuotes open;
  size_t read_to = 0;  // quotations read up to here
  size_t copied = 0;
  size_t minute_end = std::string_view::npos;  // just past the last minute mark
  bool any = false;
  RE_PRIME_DIGIT().for_each(text, [&](const text::Captures& m) {
    const size_t start = m.start(0);
    const size_t end = m.end(0);
    const size_t number = number_start(text, start, copied);
    // Digits glued to a word («A4"», «mp3'») are no number of their own.
    if (number == start || (number > 0 && text::is_alphabetic(text::char_before(text, number)))) {
      return;
    }
    read_quotes(text, read_to, start, open);
    read_to = end;
    const std::string_view marks = m[1];
    std::string_view reading;
    if (closes(marks, open)) {
      (is_double_quote(marks) ? open.double_quote : open.single_quote) = false;
    } else if (is_single_prime(marks)) {
      reading = "phút";
      minute_end = end;
    } else {
      reading = spaces_start(text, number, copied) == minute_end ? "giây" : "inch";
    }
    if (!any) {
      out.clear();
      out.reserve(text.size() + 16);
      any = true;
    }
    out.append(text.data() + copied, start - copied);
    out += ' ';
    if (reading.empty()) {
      // A closing quote, set apart from the digit so that no later step
      // takes it for a mark of the number.
      out += marks;
    } else if (text::to_lower(word_before(text, number, copied)) != reading) {
      out += reading;  // «phút 89'»: a unit said before the number is not said again
      out += ' ';
    }
    copied = end;
  });
  if (any) out.append(text.data() + copied, text.size() - copied);
  return any;
}

// «10.0.1» → «một không chấm không chấm một»; a digit of another script stays.
std::string read_version(const text::Captures& m) {
  const std::string_view version = m[1];
  std::string out;
  out.reserve(version.size() * 6);
  size_t pos = 0;
  bool part_start = true;
  while (pos < version.size()) {
    const size_t begin = pos;
    const char32_t c = text::decode_utf8(version, pos);
    if (c == '.') {
      out += " chấm ";
      part_start = true;
      continue;
    }
    if (!part_start) out += ' ';
    out += n2w_single(version.substr(begin, pos - begin));
    part_start = false;
  }
  return out;
}

}  // namespace vyr::vi_normalizer
