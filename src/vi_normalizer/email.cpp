#include "vi_normalizer/email.hpp"

#include <cstddef>

#include "text/unicode.hpp"
#include "vi_normalizer/num2vi.hpp"
#include "vi_normalizer/resources.hpp"
#include "vi_normalizer/rewrite.hpp"

namespace vyr::vi_normalizer {

// «mail me: An.Le@Shop.vn.» → match «An.Le@Shop.vn» (the final "." stays out).
const text::Regex& RE_EMAIL() {
  static const text::Regex re(R"re((?i)\b[A-Za-z0-9._%+-]+@[A-Za-z0-9.-]+\.[A-Za-z]{2,}\b)re",
                              text::Engine::kBacktracking);
  return re;
}

// «x_y-z+1» → delimiters «_», «-», «+».
const text::Regex& RE_EMAIL_SPLIT() {
  static const text::Regex re(R"re(([._\-+]))re", text::Engine::kLinear);
  return re;
}

// «ab12cd» → «ab», «12», «cd».
const text::Regex& RE_SUB_TOKENS() {
  static const text::Regex re(R"re([a-zA-Z]+|\d+)re", text::Engine::kLinear);
  return re;
}

namespace pieces {

std::vector<std::string_view> cut(std::string_view text, const text::Regex& splitter) {
  std::vector<std::string_view> out;
  size_t last = 0;
  splitter.for_each(text, [&](const text::Captures& m) {
    out.push_back(text.substr(last, m.start(0) - last));
    out.push_back(m.str());
    last = m.end(0);
  });
  out.push_back(text.substr(last));
  return out;
}

void Readings::add_english(std::string_view word) {
  if (any_) out_ += ' ';
  out_ += "__start_en__";
  out_ += word;
  out_ += "__end_en__";
  any_ = true;
}

// «a%b» → «a», «%», «bê»; «k» (from the Kelvin sign) → «ca».
void read_characters(std::string_view lowered, Readings& out) {
  size_t pos = 0;
  while (pos < lowered.size()) {
    const size_t start = pos;
    text::decode_utf8(lowered, pos);
    const std::string_view ch = lowered.substr(start, pos - start);
    if (ch.size() == 1 && ch[0] >= '0' && ch[0] <= '9') {
      out.add(n2w_single(ch));
    } else if (const std::string_view* name = VI_LETTER_NAMES().find(ch)) {
      out.add(*name);
    } else {
      out.add(ch);
    }
  }
}

bool all_ascii_digits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool all_ascii_alnum(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!alnum) return false;
  }
  return true;
}

size_t SuffixLookahead::next_word(size_t start) {
  // Everything in [scanned_from_, found_) is skipped, so any start in that
  // range up to found_ itself leads to the same piece.
  if (found_ != static_cast<size_t>(-1) && start >= scanned_from_ && start <= found_) {
    return found_;
  }
  size_t j = start;
  while (j < pieces_.size() && is_skipped(pieces_[j])) ++j;
  scanned_from_ = start;
  found_ = j;
  return j;
}

std::string squeeze_double_spaces_and_trim(std::string_view s) {
  std::string squeezed;
  squeezed.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    squeezed += s[i];
    if (s[i] == ' ' && i + 1 < s.size() && s[i + 1] == ' ') ++i;
  }
  const std::string_view trimmed = text::trim(squeezed);
  if (trimmed.size() == squeezed.size()) return squeezed;
  return std::string(trimmed);
}

std::string ascii_lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace pieces

namespace {

using pieces::Readings;

// «x@shop.vn» → «@shop.vn»: the part of RE_EMAIL from its "@" on. It holds a
// single "@", so its matches are exactly the "@"s that can end a local part.
const text::Regex& RE_EMAIL_TAIL() {
  static const text::Regex re(R"re((?i)@[A-Za-z0-9.-]+\.[A-Za-z]{2,}\b)re", text::Engine::kLinear);
  return re;
}

// «é» → match: one word character, as \b sees it.
const text::Regex& RE_WORD_CHAR() {
  static const text::Regex re(R"re(\w)re", text::Engine::kLinear);
  return re;
}

// The local-part class of RE_EMAIL under its case-insensitive flag: the ASCII
// class plus the two characters that fold to an ASCII letter.
constexpr std::string_view kKelvinSign = "\u212A";
constexpr std::string_view kLongS = "\u017F";

bool is_local_byte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '_' || c == '%' || c == '+' || c == '-';
}

// Bytes of the local-part character that ends at `end`, or 0.
size_t local_char_before(std::string_view text, size_t end) {
  if (end >= 1 && is_local_byte(text[end - 1])) return 1;
  if (end >= kLongS.size() && text.substr(end - kLongS.size(), kLongS.size()) == kLongS) {
    return kLongS.size();
  }
  if (end >= kKelvinSign.size() &&
      text.substr(end - kKelvinSign.size(), kKelvinSign.size()) == kKelvinSign) {
    return kKelvinSign.size();
  }
  return 0;
}

// Bytes of the local-part character that starts with `lead`.
size_t local_char_width(char lead) {
  if (lead == kLongS[0]) return kLongS.size();
  if (lead == kKelvinSign[0]) return kKelvinSign.size();
  return 1;
}

// Word status of a local-part character: letters, digits and "_" are word
// characters (the Kelvin sign and the long s are letters); ".", "%", "+", "-"
// are not.
bool is_word_local_char(std::string_view ch) {
  const char c = ch[0];
  return ch.size() > 1 || c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         (c >= '0' && c <= '9');
}

// Is the character that ends at `end` a word character? (false at the start)
bool word_char_before(std::string_view text, size_t end) {
  if (end == 0) return false;
  size_t start = end - 1;
  while (start > 0 && end - start < 4 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) {
    --start;
  }
  return RE_WORD_CHAR().is_match(text.substr(start, end - start));
}

// «2024» → «hai nghìn không trăm hai mươi bốn»; «0912» → «không chín một
// hai» (a run led by "0" is a code); «ab12cd» → «__start_en__ab__end_en__
// mười hai __start_en__cd__end_en__»; «a%b» → «a % bê».
void read_email_piece(std::string_view piece, Readings& out) {
  if (pieces::all_ascii_digits(piece)) {
    out.add(n2w_code_or_cardinal(piece));
    return;
  }
  if (pieces::all_ascii_alnum(piece)) {
    // One token is the whole piece, so one rule serves both counts.
    RE_SUB_TOKENS().for_each(piece, [&](const text::Captures& t) {
      const std::string_view token = t.str();
      if (pieces::all_ascii_digits(token)) {
        out.add(n2w_code_or_cardinal(token));
      } else {
        out.add_english(pieces::ascii_lower(token));
      }
    });
    return;
  }
  pieces::read_characters(text::to_lower(piece), out);
}

// «+» → «cộng»; nullptr for "." and for text pieces.
const char* email_delimiter_word(std::string_view piece) {
  if (piece.size() != 1) return nullptr;
  switch (piece[0]) {
    case '+':
      return "cộng";
    case '-':
      return "gạch ngang";
    case '_':
      return "gạch dưới";
    default:
      return nullptr;
  }
}

}  // namespace

// «shop.vn», domain → «__start_en__shop__end_en__ chấm __start_en__v n__end_en__»;
// «sales.team», local → «__start_en__sales__end_en__ chấm __start_en__team__end_en__».
std::string normalize_email_part(std::string_view part, bool is_domain) {
  const std::vector<std::string_view> ps = pieces::cut(part, RE_EMAIL_SPLIT());
  Readings out;
  pieces::SuffixLookahead ahead(ps, "._-+");
  for (size_t i = 0; i < ps.size(); ++i) {
    const std::string_view piece = ps[i];
    if (piece.empty()) continue;
    if (const char* word = email_delimiter_word(piece)) {
      out.add(word);
    } else if (piece == ".") {
      out.add("chấm");
      if (!is_domain) continue;
      // ".", "-", "com" reads «chấm com»: the delimiters in between are silent.
      const size_t next = ahead.next_word(i + 1);
      if (next == ps.size()) continue;
      const std::string suffix = text::to_lower(ps[next]);
      if (const std::string_view* reading = DOMAIN_SUFFIX_MAP().find(suffix)) {
        out.add(*reading);
        i = next;
      }
    } else {
      read_email_piece(piece, out);
    }
  }
  return out.take();
}

// «An@Gmail.COM» → «__start_en__an__end_en__ a còng » + the stored reading of
// "gmail.com"; a domain not in COMMON_EMAIL_DOMAINS is read piece by piece.
std::string read_email_address(std::string_view address) {
  const size_t at = address.find('@');
  // Not an address (only reachable by a direct call): nothing to read.
  if (at == std::string_view::npos) return std::string(address);
  const std::string_view local = address.substr(0, at);
  const std::string_view domain = address.substr(at + 1);

  std::string reading = normalize_email_part(local, false);
  reading += " a còng ";
  const std::string lowered = text::to_lower(domain);
  if (const std::string_view* known = COMMON_EMAIL_DOMAINS().find(lowered)) {
    reading += *known;
  } else {
    reading += normalize_email_part(domain, true);
  }
  return pieces::squeeze_double_spaces_and_trim(reading);
}

// A match of RE_EMAIL is a word boundary, a run of local-part characters, and
// a tail at the "@" that ends the run. So for each tail in turn, the match (if
// any) starts at the first word boundary of the run before its "@", and ends
// where the tail ends. Every byte is looked at a bounded number of times.
std::vector<std::pair<size_t, size_t>> find_emails(std::string_view text) {
  std::vector<std::pair<size_t, size_t>> found;
  if (text.find('@') == std::string_view::npos) return found;
  size_t pos = 0;  // no match starts before the end of the previous one
  RE_EMAIL_TAIL().for_each(text, [&](const text::Captures& tail) {
    const size_t at = tail.start(0);
    size_t run = at;
    while (run > pos) {
      const size_t width = local_char_before(text, run);
      if (width == 0) break;
      run -= width;
    }
    bool previous_is_word = word_char_before(text, run);
    for (size_t s = run; s < at;) {
      const size_t width = local_char_width(text[s]);
      const bool is_word = is_word_local_char(text.substr(s, width));
      if (is_word != previous_is_word) {
        found.emplace_back(s, tail.end(0));
        pos = tail.end(0);
        return;
      }
      previous_is_word = is_word;
      s += width;
    }
  });
  return found;
}

// «liên hệ a@b.io» → «liên hệ __start_en__a__end_en__ a còng __start_en__b__end_en__
// chấm __start_en__i o__end_en__».
std::string normalize_emails(std::string_view text) {
  std::string out;
  const auto read = [](std::string_view address, std::string_view, std::string& o) {
    o += read_email_address(address);
  };
  if (!rewrite::replace_spans(text, find_emails(text), out, read)) return std::string(text);
  return out;
}

}  // namespace vyr::vi_normalizer
