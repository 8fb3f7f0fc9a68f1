#include "vi_normalizer/telephones.hpp"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "text/char_classes.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/num2vi.hpp"

namespace vyr::vi_normalizer {

namespace {

// No shape holds more digits (a number with its country code has at most
// 15) or more groups; the bounds keep every try short.
constexpr size_t kMaxDigits = 15;
constexpr size_t kMaxGroups = 8;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool digit_at(std::string_view text, size_t pos) {
  return pos < text.size() && is_digit(text[pos]);
}

// A separator between two groups at text[pos]: its length, and its kind in
// *kind (' ' a space or no-break space, '.' a dot, '-' a dash); 0 when none.
size_t separator_at(std::string_view text, size_t pos, char* kind) {
  if (pos >= text.size()) return 0;
  size_t length = 0;
  if (text[pos] == ' ' || text[pos] == '.' || text[pos] == '-') {
    *kind = text[pos];
    length = 1;
  } else if (text.compare(pos, 2, "\u00A0") == 0) {
    *kind = ' ';
    length = 2;
  } else if (text.compare(pos, 3, "\u2013") == 0 || text.compare(pos, 3, "\u2014") == 0) {
    *kind = '-';
    length = 3;
  }
  return length != 0 && digit_at(text, pos + length) ? length : 0;
}

// The trunk zero that is not dialled after a country code, « (0)» or
// «(0) » before the next group: its length with the spaces, kind ' '; else 0.
size_t trunk_zero_at(std::string_view text, size_t pos, char* kind) {
  size_t end = pos;
  if (end < text.size() && text[end] == ' ') ++end;
  if (text.compare(end, 3, "(0)") != 0) return 0;
  end += 3;
  if (end < text.size() && text[end] == ' ') ++end;
  if (!digit_at(text, end)) return 0;
  *kind = ' ';
  return end - pos;
}

// Digit groups as written: «+84 912 345 678», «(028) 3822 1234», «1900-1009».
struct Candidate {
  bool plus = false;       // led by "+" and a country code
  bool bracketed = false;  // the first group in brackets
  std::vector<std::string_view> groups;
  std::vector<size_t> ends;     // where the text of each group ends (")" included)
  std::vector<char> kinds;      // the kind of separator after each group, 0 after the last
  bool more_digits = false;     // the bounds stopped the groups before the digits ended
};

// The groups from text[start] («+», «(» or a digit), or nothing when no
// group opens there.
std::optional<Candidate> read_candidate(std::string_view text, size_t start) {
  Candidate c;
  size_t pos = start;
  if (text[pos] == '(') {
    c.bracketed = true;
    ++pos;
  }
  if (pos < text.size() && text[pos] == '+') {
    c.plus = true;
    ++pos;
  }
  size_t digits = 0;
  for (;;) {
    size_t end = pos;
    while (digit_at(text, end) && end - pos <= kMaxDigits) ++end;
    if (end == pos) return std::nullopt;
    if (digits + (end - pos) > kMaxDigits) {
      if (c.groups.empty()) return std::nullopt;
      c.more_digits = true;
      break;
    }
    digits += end - pos;
    c.groups.push_back(text.substr(pos, end - pos));
    c.kinds.push_back(0);
    pos = end;
    if (c.bracketed && c.groups.size() == 1) {
      // «(028) 3822», «(+84)912»: the bracket closes the first group.
      if (pos >= text.size() || text[pos] != ')') return std::nullopt;
      ++pos;
      c.ends.push_back(pos);
      if (pos < text.size() && text[pos] == ' ') ++pos;
      if (!digit_at(text, pos)) return std::nullopt;
      c.kinds.back() = ')';
      continue;
    }
    c.ends.push_back(pos);
    char kind = 0;
    size_t length = separator_at(text, pos, &kind);
    if (length == 0 && c.plus && c.groups.size() == 1) length = trunk_zero_at(text, pos, &kind);
    if (length == 0) break;
    if (c.groups.size() == kMaxGroups) {
      c.more_digits = true;
      break;
    }
    c.kinds.back() = kind;
    pos += length;
  }
  return c;
}

size_t digit_count(const Candidate& c, size_t from, size_t to) {
  size_t n = 0;
  for (size_t i = from; i < to; ++i) n += c.groups[i].size();
  return n;
}

bool sizes_between(const Candidate& c, size_t from, size_t to, size_t low, size_t high) {
  for (size_t i = from; i < to; ++i) {
    if (c.groups[i].size() < low || c.groups[i].size() > high) return false;
  }
  return true;
}

unsigned value_of(std::string_view digits) {
  unsigned v = 0;
  for (char d : digits) v = v * 10 + static_cast<unsigned>(d - '0');
  return v;
}

// «+84 912 345 678», «+84912345678», «+1 202 555 0143». A Vietnamese number
// has nine or ten digits after its code.
bool is_international(const Candidate& c, size_t k) {
  const size_t digits = digit_count(c, 0, k);
  if (!c.plus || digits < 8 || digits > kMaxDigits || (k > 1 && c.groups[0].size() > 3)) {
    return false;
  }
  if (c.groups[0].substr(0, 2) != "84") return true;
  return digits >= 2 + 9 && digits <= 2 + 10;
}

// «1900-01-31», «1800.12.1»: a year, a month and a day.
bool is_date_after_year(const Candidate& c, size_t k) {
  if (k != 3 || c.kinds[0] == ' ' || c.kinds[0] != c.kinds[1]) return false;
  const unsigned month = value_of(c.groups[1]);
  const unsigned day = value_of(c.groups[2]);
  return c.groups[1].size() <= 2 && c.groups[2].size() <= 2 && month >= 1 && month <= 12 &&
         day >= 1 && day <= 31;
}

// «1800 599 920», «1900-1009», «19001009»; not the years «1900-1945» nor the
// date «1900-01-31».
bool is_toll_free(const Candidate& c, size_t k) {
  if (c.plus || c.bracketed) return false;
  const std::string_view first = c.groups[0];
  const std::string_view lead = first.substr(0, 4);
  if (lead != "1800" && lead != "1900") return false;
  if (k == 1) return first.size() >= 8 && first.size() <= 10;
  if (first.size() != 4 || !sizes_between(c, 1, k, 2, 4)) return false;
  const size_t rest = digit_count(c, 1, k);
  if (rest < 4 || rest > 6) return false;
  const bool year_range = k == 2 && c.kinds[0] == '-' && c.groups[1].size() == 4 &&
                          value_of(c.groups[1]) > value_of(first) &&
                          value_of(c.groups[1]) <= 2100;
  return !year_range && !is_date_after_year(c, k);
}

// «02838 123 456», «(028) 3822 1234», «024.3825.3131».
bool is_area_coded(const Candidate& c, size_t k) {
  if (c.plus || k < 2 || c.groups[0][0] != '0') return false;
  const size_t lowest = c.bracketed ? 2 : 3;
  if (c.groups[0].size() < lowest || c.groups[0].size() > 5) return false;
  const size_t digits = digit_count(c, 0, k);
  return sizes_between(c, 1, k, 2, 4) && digits >= 9 && digits <= 11;
}

// Whether the first k groups end the number: what follows them is no digit,
// letter or decimal part, and a further group after them only follows a
// space (after a dot or a dash the number would go on).
bool ends_there(std::string_view text, const Candidate& c, size_t k) {
  if (k < c.groups.size() || c.more_digits) {
    if (c.kinds[k - 1] != ' ') return false;
  }
  const size_t end = c.ends[k - 1];
  if (end >= text.size()) return true;
  if ((text[end] == '.' || text[end] == ',') && digit_at(text, end + 1)) return false;
  size_t next = 0;
  return !text::is_alphanumeric(text::char_at(text, end, &next));
}

// The most groups that make a telephone number, or 0.
size_t telephone_groups(std::string_view text, const Candidate& c) {
  for (size_t k = c.groups.size(); k > 0; --k) {
    if (!ends_there(text, c, k)) continue;
    if (is_international(c, k) || is_toll_free(c, k) || is_area_coded(c, k)) return k;
  }
  return 0;
}

// Whether a number may begin after what stands before text[start]: nothing,
// or a character that does not make it part of a word, a number, an
// address or a sum.
bool may_start_at(std::string_view text, size_t start) {
  if (start == 0) return true;
  const char32_t before = text::char_before(text, start);
  switch (before) {
    case '.':
    case ',':
    case '/':
    case '-':
    case '+':
    case '_':
    case '@':
    case '&':
    case '=':
    case '#':
    case '*':
    case '^':
      return false;
    default:
      return !text::is_alphanumeric(before);
  }
}

// «+84», «912», «345» → «không chín một hai, ba bốn năm»; «+1», «202» →
// «cộng một, hai không hai».
std::string telephone_reading(const Candidate& c, size_t k) {
  std::string out;
  size_t next = 0;
  if (c.plus) {
    const std::string_view code = c.groups[0];
    if (code.substr(0, 2) == "84") {
      out = "không";
      if (code.size() > 2) {
        out += ' ';
        out += n2w_single(code.substr(2));
      } else if (k > 1) {
        out += ' ';
        out += n2w_single(c.groups[1]);
        next = 1;
      }
    } else {
      out = "cộng ";
      out += n2w_single(code);
    }
    ++next;
  }
  for (size_t i = next; i < k; ++i) {
    if (!out.empty()) out += ", ";
    out += n2w_single(c.groups[i]);
  }
  return out;
}

}  // namespace

std::vector<TelephoneNumber> find_telephone_numbers(std::string_view text) {
  std::vector<TelephoneNumber> found;
  // Every shape holds eight digits at least; most texts hold fewer.
  if (std::count_if(text.begin(), text.end(), is_digit) < 8) return found;
  size_t pos = 0;
  while (pos < text.size()) {
    const char b = text[pos];
    const bool digit = is_digit(b);
    if (!digit && b != '+' && b != '(') {
      ++pos;
      continue;
    }
    std::optional<Candidate> c;
    if (may_start_at(text, pos)) c = read_candidate(text, pos);
    const size_t k = c ? telephone_groups(text, *c) : 0;
    if (k == 0) {
      // No try from inside this run of digits: it cannot start a number.
      ++pos;
      if (digit) {
        while (digit_at(text, pos)) ++pos;
      }
      continue;
    }
    found.push_back({pos, c->ends[k - 1], telephone_reading(*c, k)});
    pos = c->ends[k - 1];
  }
  return found;
}

bool read_telephone_numbers(std::string_view text, std::string& out) {
  const std::vector<TelephoneNumber> numbers = find_telephone_numbers(text);
  if (numbers.empty()) return false;
  out.clear();
  out.reserve(text.size() + text.size() / 2 + 16);
  size_t copied = 0;
  for (const TelephoneNumber& number : numbers) {
    out.append(text.data() + copied, number.start - copied);
    out += ' ';
    out += number.reading;
    out += ' ';
    copied = number.end;
  }
  out.append(text.data() + copied, text.size() - copied);
  return true;
}

}  // namespace vyr::vi_normalizer
