#include "vi_normalizer/technical.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <vector>

#include "text/bytes.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/email.hpp"
#include "vi_normalizer/num2vi.hpp"
#include "vi_normalizer/resources.hpp"
#include "vi_normalizer/rewrite.hpp"

namespace vyr::vi_normalizer {

// Eight branches, tried in this order at each start; the first that matches
// wins even when a later one would match more: «app.config.v2» → «app.config»
// (file name) rather than the identifier «app.config.v2».
// «https://x.io/a», «www.x.org», «shop.vn/sale», «/usr/bin», «C:\Users»,
// «report_2024.pdf», «max_retry_count», «fe80:0:0:1» → one match each.
const text::Regex& RE_TECHNICAL() {
  static const text::Regex re(R"re((?ix)
    \b(?:https?|ftp)://[A-Za-z0-9.\-_~:/?#\[\]@!$&\'()*+,;=]+\b
    |
    \b(?:www\.)[A-Za-z0-9.\-_~:/?#\[\]@!$&\'()*+,;=]+\b
    |
    \b[A-Za-z0-9.\-]+(?:\.com|\.vn|\.net|\.org|\.gov|\.io|\.biz|\.info)(?:/[A-Za-z0-9.\-_~:/?#\[\]@!$&\'()*+,;=]*)?\b
    |
    (?<!\w)/[a-zA-Z0-9._\-/]{2,}\b
    |
    \b[a-zA-Z]:\\[a-zA-Z0-9._\\\-]+\b
    |
    \b[a-zA-Z0-9._\-]+\.(?:txt|log|tar|gz|zip|sh|py|js|cpp|h|json|xml|yaml|yml|md|csv|pdf|docx|xlsx|exe|dll|so|config)\b
    |
    \b[a-zA-Z][a-zA-Z0-9]*(?:[._\-][a-zA-Z0-9]+){2,}\b
    |
    \b[a-fA-F0-9]{1,4}(?::[a-fA-F0-9]{1,4}){3,7}\b
    )re",
                              text::Engine::kBacktracking);
  return re;
}

// «a?q=1&x=2» → delimiters «?», «=», «&», «=».
const text::Regex& RE_TECH_SPLIT() {
  static const text::Regex re(R"re(([./:?&=/_ \-\\#]))re", text::Engine::kLinear);
  return re;
}

namespace {

using pieces::Readings;

// Every byte of a match of RE_TECHNICAL that a match cannot do without: each
// branch holds one of these (the scheme's "://", "www.", a suffix's ".", a
// path's "/", a drive's ":", an extension's ".", a separator, a hex ":").
constexpr std::string_view kMatchMarks = "./:_-";

// The delimiters the look-ahead after "." passes over; "#" stops it.
constexpr std::string_view kLookaheadSkipped = "./:?&=_ -\\";

// «#» → «thăng»; nullptr for "." and for text pieces.
const char* technical_delimiter_word(std::string_view piece) {
  if (piece.size() != 1) return nullptr;
  switch (piece[0]) {
    case '#':
      return "thăng";
    case '&':
      return "và";
    case '-':
      return "gạch ngang";
    case '/':
    case '\\':
      return "gạch";
    case ':':
      return "hai chấm";
    case '=':
      return "bằng";
    case '?':
      return "hỏi";
    case '_':
      return "gạch dưới";
    default:
      return nullptr;
  }
}

// Upper-case letters only: "A" to "Z" or a non-ASCII Uppercase character.
bool all_upper_case(std::string_view run) {
  size_t pos = 0;
  while (pos < run.size()) {
    if (!text::is_uppercase(text::decode_utf8(run, pos))) return false;
  }
  return true;
}

// The letter rule. «API» → «__start_en__a p i__end_en__», «HTTPS» →
// «__start_en__https__end_en__», «js» → «__start_en__j s__end_en__», «Html» →
// «__start_en__html__end_en__». A run that is not all upper-case is spelled
// when shorter than `spell_below` bytes (3, or 4 for a scheme: «ftp», «http»).
void add_letter_run(std::string_view run, size_t spell_below, Readings& out) {
  const bool spelled = all_upper_case(run) ? run.size() <= 4 : run.size() < spell_below;
  const std::string lowered = text::to_lower(run);
  if (!spelled) {
    out.add_english(lowered);
    return;
  }
  std::string letters;
  letters.reserve(lowered.size() * 2);
  size_t pos = 0;
  while (pos < lowered.size()) {
    const size_t start = pos;
    text::decode_utf8(lowered, pos);
    if (start != 0) letters += ' ';
    letters.append(lowered, start, pos - start);
  }
  out.add_english(letters);
}

// The two characters beyond ASCII that the case-insensitive classes of
// RE_TECHNICAL take as letters (U+212A as "k", U+017F as "s").
constexpr char32_t kKelvinSign = 0x212A;
constexpr char32_t kLongS = 0x17F;

// A piece of letters (of any script) and ASCII digits with a letter beyond
// ASCII in it, as an address carried on past its ASCII match holds («hà»,
// «phở», «mục2»).
bool is_word_beyond_ascii(std::string_view piece) {
  bool beyond = false;
  size_t pos = 0;
  while (pos < piece.size()) {
    const char32_t c = text::decode_utf8(piece, pos);
    if (text::is_ascii_digit(c) || text::is_ascii_letter(c)) continue;
    if (c == kKelvinSign || c == kLongS || !text::is_alphabetic(c)) return false;
    beyond = true;
  }
  return beyond;
}

// «phở» → «phở»; «Mục2» → «mục hai»: a letter run beyond ASCII is a word of
// its own language, lower-cased; ASCII letter runs take the letter rule, digit
// runs are read digit by digit.
void read_word_beyond_ascii(std::string_view piece, Readings& out) {
  size_t pos = 0;
  while (pos < piece.size()) {
    const size_t start = pos;
    size_t next = pos;
    const bool digits = text::is_ascii_digit(text::decode_utf8(piece, next));
    bool ascii = true;
    while (pos < piece.size()) {
      next = pos;
      const char32_t c = text::decode_utf8(piece, next);
      if (text::is_ascii_digit(c) != digits) break;
      ascii = ascii && c < 0x80;
      pos = next;
    }
    const std::string_view run = piece.substr(start, pos - start);
    if (digits) {
      out.add(n2w_single(run));
    } else if (ascii) {
      add_letter_run(run, 3, out);
    } else {
      out.add(text::to_lower(run));
    }
  }
}

// A piece with a symbol beyond ASCII in it, as an address carried on past
// its match may hold («😀», «a©»).
bool has_symbol_beyond_ascii(std::string_view piece) {
  size_t pos = 0;
  while (pos < piece.size()) {
    if (text::is_symbol_beyond_ascii(text::decode_utf8(piece, pos))) return true;
  }
  return false;
}

// «net» → «nét»; «a+b» → «a + bê»; «2024» → «hai không hai bốn»;
// «v2» → «__start_en__v__end_en__ hai»; «Users» → «__start_en__users__end_en__».
void read_technical_piece(std::string_view piece, Readings& out);

// «a😀» → «__start_en__a__end_en__»; «©2024» → «bản quyền hai không hai bốn».
// A symbol reads as the symbol table gives it and otherwise gives nothing, as
// elsewhere in the text; the marks and joiners that go with it (U+FE0F,
// U+200D) go with it. The text between symbols is read as a piece.
void read_piece_with_symbols(std::string_view piece, Readings& out) {
  size_t from = 0;
  size_t pos = 0;
  bool in_symbol = false;
  while (pos < piece.size()) {
    const size_t start = pos;
    const char32_t c = text::decode_utf8(piece, pos);
    const bool symbol = text::is_symbol_beyond_ascii(c);
    if (symbol) {
      if (start > from) read_technical_piece(piece.substr(from, start - from), out);
      if (const std::string_view* reading = SYMBOLS_MAP().find(c)) {
        out.add(text::trim(*reading));
      }
      in_symbol = true;
      from = pos;
    } else if (in_symbol && (text::is_mark(c) || c == 0x200D)) {
      from = pos;
    } else {
      in_symbol = false;
    }
  }
  if (from < piece.size()) read_technical_piece(piece.substr(from), out);
}

// «user@host» → «__start_en__user__end_en__ a còng __start_en__host__end_en__»:
// the user part of a web address is read like the rest of it, and "@" as in
// an e-mail address.
void read_piece_with_at(std::string_view piece, Readings& out) {
  size_t from = 0;
  for (size_t at = piece.find('@'); at != std::string_view::npos; at = piece.find('@', from)) {
    if (at > from) read_technical_piece(piece.substr(from, at - from), out);
    out.add("a còng");
    from = at + 1;
  }
  if (from < piece.size()) read_technical_piece(piece.substr(from), out);
}

// A piece with a letter beyond ASCII and ASCII marks between its words, as
// the query of an address carried on past its match holds («phở+bò»).
bool is_words_with_marks(std::string_view piece) {
  bool beyond = false;
  bool mark = false;
  size_t pos = 0;
  while (pos < piece.size()) {
    const char32_t c = text::decode_utf8(piece, pos);
    if (c < 0x80) {
      mark = mark || !(text::is_ascii_letter(c) || text::is_ascii_digit(c));
    } else {
      beyond = beyond || (c != kKelvinSign && c != kLongS && text::is_alphabetic(c));
    }
  }
  return beyond && mark;
}

// «phở+bò» → «phở cộng bò»: each word is read as a piece of its own, and each
// mark between them by the delimiter words or the symbol table (as it stands
// when neither has it).
void read_words_with_marks(std::string_view piece, Readings& out) {
  size_t from = 0;
  for (size_t pos = 0; pos < piece.size(); ++pos) {
    const auto c = static_cast<unsigned char>(piece[pos]);
    if (c >= 0x80 || text::is_ascii_letter(c) || text::is_ascii_digit(c)) continue;
    if (pos > from) read_technical_piece(piece.substr(from, pos - from), out);
    const std::string_view mark = piece.substr(pos, 1);
    if (const char* word = technical_delimiter_word(mark)) {
      out.add(word);
    } else if (const std::string_view* reading = SYMBOLS_MAP().find(c)) {
      out.add(text::trim(*reading));
    } else {
      out.add(mark);
    }
    from = pos + 1;
  }
  if (from < piece.size()) read_technical_piece(piece.substr(from), out);
}

void read_technical_piece(std::string_view piece, Readings& out) {
  if (piece.find('@') != std::string_view::npos) {
    read_piece_with_at(piece, out);
    return;
  }
  if (is_words_with_marks(piece)) {
    read_words_with_marks(piece, out);
    return;
  }
  const std::string lowered = text::to_lower(piece);
  if (const std::string_view* suffix = DOMAIN_SUFFIX_MAP().find(lowered)) {
    out.add(*suffix);
    return;
  }
  if (is_word_beyond_ascii(piece)) {
    read_word_beyond_ascii(piece, out);
    return;
  }
  if (has_symbol_beyond_ascii(piece)) {
    read_piece_with_symbols(piece, out);
    return;
  }
  if (!pieces::all_ascii_alnum(piece)) {
    pieces::read_characters(lowered, out);
    return;
  }
  if (pieces::all_ascii_digits(piece)) {
    out.add(n2w_single(piece));  // digit by digit, never a cardinal
    return;
  }
  // One token is the whole piece, so one rule serves both counts.
  RE_SUB_TOKENS().for_each(piece, [&](const text::Captures& t) {
    const std::string_view token = t.str();
    if (pieces::all_ascii_digits(token)) {
      out.add(n2w_single(token));
    } else {
      add_letter_run(token, 3, out);
    }
  });
}


// ---------------------------------------------------------------------------
// find_technical
//
// Every branch of RE_TECHNICAL is a run of one character class with a fixed
// piece at one end, and greedy repetition makes the engine's choice the
// farthest end that works. So each branch's answer at a start is a property
// of the run the start lies in, computed once per run from its right end:
//   1, 2  scheme or «www.», then URI characters to the last word boundary;
//   3     a name to the last suffix (its path to the last boundary) in the run;
//   4     "/" and path characters to the last boundary, three characters on;
//   5     drive, ":", backslash, then its characters to the last boundary;
//   6     a name to the last extension followed by a boundary in the run;
//   7     runs of letters and digits joined by single separators, to the
//         farthest joint that has a non-word character after it, two on;
//   8     hexadecimal groups of one to four, separated by ":", bounded.
// Under the case-insensitive flag the letter ranges take the Kelvin sign and
// the long s as well.

constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();

bool ascii_letter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool letter(char32_t c) { return ascii_letter(c) || c == kKelvinSign || c == kLongS; }
bool digit(char32_t c) { return c >= '0' && c <= '9'; }
bool alnum(char32_t c) { return letter(c) || digit(c); }
bool hex_digit(char32_t c) { return digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
// Membership of the ASCII punctuation each class adds to letters and digits.
enum ClassBit : uint8_t { kUri = 1, kName = 2, kPath = 4, kDrive = 8, kFile = 16 };
constexpr std::array<uint8_t, 128> punctuation_classes() {
  std::array<uint8_t, 128> bits{};
  for (char c : std::string_view("-._~:/?#[]@!$&'()*+,;=")) bits[static_cast<size_t>(c)] |= kUri;
  for (char c : std::string_view(".-")) bits[static_cast<size_t>(c)] |= kName;
  for (char c : std::string_view("._-/")) bits[static_cast<size_t>(c)] |= kPath;
  for (char c : std::string_view("._\\-")) bits[static_cast<size_t>(c)] |= kDrive;
  for (char c : std::string_view("._-")) bits[static_cast<size_t>(c)] |= kFile;
  return bits;
}
constexpr std::array<uint8_t, 128> kPunctuationClasses = punctuation_classes();
bool in_class(char32_t c, uint8_t bit) {
  return alnum(c) || (c < 0x80 && (kPunctuationClasses[c] & bit) != 0);
}
bool uri_char(char32_t c) { return in_class(c, kUri); }
bool name_char(char32_t c) { return in_class(c, kName); }    // branch 3
bool path_char(char32_t c) { return in_class(c, kPath); }    // branch 4
bool drive_char(char32_t c) { return in_class(c, kDrive); }  // branch 5
bool file_char(char32_t c) { return in_class(c, kFile); }    // branch 6
bool joint(char32_t c) { return c == '.' || c == '_' || c == '-'; }  // branch 7

// «é» → match: one word character, as \b sees it.
const text::Regex& RE_ONE_WORD_CHAR() {
  static const text::Regex re(R"re(\w)re", text::Engine::kLinear);
  return re;
}

// The engine's \w for the character `ch` (code point c), remembered per
// thread for the Basic Multilingual Plane (Vietnamese is full of such letters).
bool is_word_char(char32_t c, std::string_view ch) {
  if (c < 0x80) return alnum(c) || c == '_';
  thread_local std::vector<uint8_t> known(0x10000, 0);  // 0 unknown, 1 no, 2 yes
  if (c < 0x10000 && known[c] != 0) return known[c] == 2;
  const bool is_word = RE_ONE_WORD_CHAR().is_match(ch);
  if (c < 0x10000) known[c] = is_word ? 2 : 1;
  return is_word;
}

// Every character a match can hold; a match lies inside one run of them.
bool technical_char(char32_t c) { return uri_char(c) || c == '\\'; }

// One run of technical characters; `word_before` and `word_after` tell
// whether the characters just outside it are word characters.
class TechnicalFinder {
 public:
  TechnicalFinder(std::string_view run, bool word_before, bool word_after)
      : text_(run), n_(static_cast<uint32_t>(run.size())) {
    const size_t size = n_ + 1;
    cp_.assign(size, 0);
    next_.assign(size, static_cast<uint32_t>(n_));
    word_.assign(size, 0);
    prev_word_.assign(size, 0);
    decode(word_before);
    word_[n_] = word_after;
    uri_boundary_ = last_boundaries(uri_char);
    path_boundary_ = last_boundaries(path_char);
    drive_boundary_ = last_boundaries(drive_char);
    name_suffix_ = last_valid(name_char, [this](uint32_t p) { return suffix_end(p); });
    file_extension_ = last_valid(file_char, [this](uint32_t p) { return extension_end(p); });
    link_identifiers();
  }

  std::vector<std::pair<size_t, size_t>> all() const {
    std::vector<std::pair<size_t, size_t>> found;
    uint32_t s = 0;
    while (s < n_) {
      const uint32_t end = match_at(s);
      if (end == kNone) {
        s = next_[s];
        continue;
      }
      found.emplace_back(s, end);
      s = end;
    }
    return found;
  }

 private:
  void decode(bool previous) {
    size_t pos = 0;
    while (pos < n_) {
      const size_t start = pos;
      const char32_t c = text::decode_utf8(text_, pos);
      cp_[start] = c;
      next_[start] = static_cast<uint32_t>(pos);
      starts_.push_back(static_cast<uint32_t>(start));
      const bool is_word = is_word_char(c, text_.substr(start, pos - start));
      word_[start] = is_word;
      prev_word_[start] = previous;
      previous = is_word;
    }
    prev_word_[n_] = previous;
  }

  bool in_text(uint32_t i) const { return i < n_; }
  bool boundary(uint32_t i) const { return prev_word_[i] != word_[i]; }

  // For each character of a run of `in_class`: the last word boundary from it
  // to the run's end, both included.
  template <class InClass>
  std::vector<uint32_t> last_boundaries(InClass in_class) const {
    std::vector<uint32_t> last(n_ + 1, kNone);
    for (size_t k = starts_.size(); k-- > 0;) {
      const uint32_t i = starts_[k];
      if (!in_class(cp_[i])) continue;
      const uint32_t j = next_[i];
      uint32_t later = kNone;
      if (in_text(j) && in_class(cp_[j])) {
        later = last[j];
      } else if (boundary(j)) {
        later = j;
      }
      last[i] = later != kNone ? later : (boundary(i) ? i : kNone);
    }
    return last;
  }

  // For each character of a run of `in_class`: the last position from it on
  // in the run where `end_at` gives an end.
  template <class InClass, class EndAt>
  std::vector<uint32_t> last_valid(InClass in_class, EndAt end_at) const {
    std::vector<uint32_t> last(n_ + 1, kNone);
    for (size_t k = starts_.size(); k-- > 0;) {
      const uint32_t i = starts_[k];
      if (!in_class(cp_[i])) continue;
      const uint32_t j = next_[i];
      const uint32_t later = (in_text(j) && in_class(cp_[j])) ? last[j] : kNone;
      last[i] = later != kNone ? later : (end_at(i) != kNone ? i : kNone);
    }
    return last;
  }

  // The end of `literal` (lower-case ASCII) matched case-insensitively at pos.
  uint32_t literal_end(uint32_t pos, std::string_view literal) const {
    for (char ch : literal) {
      if (!in_text(pos)) return kNone;
      const char32_t c = cp_[pos];
      const bool same = c == static_cast<char32_t>(ch) ||
                        (ch >= 'a' && ch <= 'z' && c == static_cast<char32_t>(ch - 'a' + 'A')) ||
                        (ch == 'k' && c == kKelvinSign) || (ch == 's' && c == kLongS);
      if (!same) return kNone;
      pos = next_[pos];
    }
    return pos;
  }

  // One or more URI characters from q, to the last boundary among them.
  uint32_t uri_end(uint32_t q) const {
    if (!in_text(q) || !uri_char(cp_[q])) return kNone;
    const uint32_t b = uri_boundary_[q];
    return (b != kNone && b > q) ? b : kNone;
  }

  // At a ".": a suffix of branch 3, its optional path and the boundary.
  uint32_t suffix_end(uint32_t p) const {
    if (cp_[p] != '.') return kNone;
    for (std::string_view suffix : {"com", "vn", "net", "org", "gov", "io", "biz", "info"}) {
      const uint32_t e = literal_end(next_[p], suffix);
      if (e == kNone) continue;
      if (in_text(e) && cp_[e] == '/') {
        const uint32_t t = next_[e];
        if (in_text(t) && uri_char(cp_[t])) {
          if (uri_boundary_[t] != kNone) return uri_boundary_[t];
        } else if (boundary(t)) {
          return t;
        }
      }
      if (boundary(e)) return e;
    }
    return kNone;
  }

  // At a ".": the first extension of branch 6 followed by a boundary.
  uint32_t extension_end(uint32_t p) const {
    if (cp_[p] != '.') return kNone;
    for (std::string_view ext :
         {"txt", "log", "tar", "gz", "zip", "sh", "py", "js", "cpp", "h", "json", "xml", "yaml",
          "yml", "md", "csv", "pdf", "docx", "xlsx", "exe", "dll", "so", "config"}) {
      const uint32_t e = literal_end(next_[p], ext);
      if (e != kNone && boundary(e)) return e;
    }
    return kNone;
  }

  // Branch 7 from every start of a run of letters and digits: the farthest
  // run end of its chain with a non-word character after it, and how many
  // joints away it is (counted up to 2).
  void link_identifiers() {
    identifier_end_.assign(n_ + 1, kNone);
    identifier_depth_.assign(n_ + 1, 0);
    std::vector<uint32_t> run_end(n_ + 1, kNone);
    for (size_t k = starts_.size(); k-- > 0;) {
      const uint32_t i = starts_[k];
      if (!alnum(cp_[i])) continue;
      const uint32_t j = next_[i];
      run_end[i] = (in_text(j) && alnum(cp_[j])) ? run_end[j] : j;
      if (k > 0 && alnum(cp_[starts_[k - 1]])) continue;  // not the start of its run
      const uint32_t e = run_end[i];
      const bool linked = in_text(e) && joint(cp_[e]) && in_text(next_[e]) && alnum(cp_[next_[e]]);
      if (linked && identifier_end_[next_[e]] != kNone) {
        identifier_end_[i] = identifier_end_[next_[e]];
        identifier_depth_[i] = static_cast<uint8_t>(std::min(2, identifier_depth_[next_[e]] + 1));
      } else if (!word_[e]) {
        identifier_end_[i] = e;
        identifier_depth_[i] = 0;
      }
    }
  }

  // Branch 8 at s: groups of one to four hexadecimal digits.
  uint32_t hex_groups_end(uint32_t s) const {
    auto hex_run = [this](uint32_t from, uint32_t* end) {
      int count = 0;
      while (in_text(from) && hex_digit(cp_[from]) && count <= 4) {
        ++count;
        from = next_[from];
      }
      *end = from;
      return count;
    };
    uint32_t pos = 0;
    const int first = hex_run(s, &pos);
    if (first == 0 || first > 4) return kNone;
    uint32_t ends[8];
    int groups = 0;
    while (groups < 7 && in_text(pos) && cp_[pos] == ':') {
      uint32_t end = 0;
      const int count = hex_run(next_[pos], &end);
      if (count == 0 || count > 4) break;
      pos = end;
      ends[++groups] = pos;
    }
    for (int k = groups; k >= 3; --k) {
      if (!word_[ends[k]]) return ends[k];
    }
    return kNone;
  }

  // The end of the match that starts at s, or kNone: the branches in order.
  uint32_t match_at(uint32_t s) const {
    const char32_t c = cp_[s];
    const bool at_boundary = boundary(s);
    if (at_boundary) {
      for (std::string_view scheme : {"https://", "http://", "ftp://"}) {
        const uint32_t q = literal_end(s, scheme);
        if (q == kNone) continue;
        const uint32_t e = uri_end(q);
        if (e != kNone) return e;
      }
      if (const uint32_t q = literal_end(s, "www."); q != kNone) {
        const uint32_t e = uri_end(q);
        if (e != kNone) return e;
      }
      if (name_char(c)) {
        const uint32_t j = next_[s];
        if (in_text(j) && name_char(cp_[j]) && name_suffix_[j] != kNone) {
          return suffix_end(name_suffix_[j]);
        }
      }
    }
    if (c == '/' && !prev_word_[s]) {
      const uint32_t j = next_[s];
      if (in_text(j) && path_char(cp_[j])) {
        const uint32_t b = path_boundary_[j];
        if (b != kNone && b > next_[j]) return b;
      }
    }
    if (!at_boundary) return kNone;
    if (letter(c)) {
      const uint32_t colon = next_[s];
      if (in_text(colon) && cp_[colon] == ':' && in_text(colon + 1) && cp_[colon + 1] == '\\') {
        const uint32_t q = colon + 2;
        if (in_text(q) && drive_char(cp_[q])) {
          const uint32_t b = drive_boundary_[q];
          if (b != kNone && b > q) return b;
        }
      }
    }
    if (file_char(c)) {
      const uint32_t j = next_[s];
      if (in_text(j) && file_char(cp_[j]) && file_extension_[j] != kNone) {
        return extension_end(file_extension_[j]);
      }
    }
    if (letter(c) && identifier_end_[s] != kNone && identifier_depth_[s] >= 2) {
      return identifier_end_[s];
    }
    if (hex_digit(c)) return hex_groups_end(s);
    return kNone;
  }

  std::string_view text_;
  uint32_t n_;
  std::vector<char32_t> cp_;
  std::vector<uint32_t> next_;
  std::vector<uint32_t> starts_;
  std::vector<uint8_t> word_;       // the character at i is a word character
  std::vector<uint8_t> prev_word_;  // the character before i is one
  std::vector<uint32_t> uri_boundary_, path_boundary_, drive_boundary_;
  std::vector<uint32_t> name_suffix_, file_extension_;
  std::vector<uint32_t> identifier_end_;
  std::vector<uint8_t> identifier_depth_;
};

}  // namespace

std::vector<std::pair<size_t, size_t>> find_technical(std::string_view text) {
  std::vector<std::pair<size_t, size_t>> found;
  if (!text::has_any_byte(text, kMatchMarks)) return found;
  if (text.size() >= kNone) {
    // Beyond 32-bit offsets: the engine itself.
    RE_TECHNICAL().for_each(
        text, [&](const text::Captures& m) { found.emplace_back(m.start(0), m.end(0)); });
    return found;
  }
  // Runs without a mark byte hold no match; only the others are searched,
  // each with the word status of its neighbours for \b and (?<!\w).
  bool word_before = false;  // of the character before `pos`
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    const char32_t c = text::decode_utf8(text, end);
    if (!technical_char(c)) {
      word_before = is_word_char(c, text.substr(pos, end - pos));
      pos = end;
      continue;
    }
    size_t run_end = end;
    char32_t after = 0;
    size_t after_end = run_end;
    while (run_end < text.size()) {
      after_end = run_end;
      after = text::decode_utf8(text, after_end);
      if (!technical_char(after)) break;
      run_end = after_end;
    }
    const std::string_view run = text.substr(pos, run_end - pos);
    if (text::has_any_byte(run, kMatchMarks)) {
      const bool word_after =
          run_end < text.size() && is_word_char(after, text.substr(run_end, after_end - run_end));
      for (const auto& [start, stop] : TechnicalFinder(run, word_before, word_after).all()) {
        found.emplace_back(pos + start, pos + stop);
      }
    }
    // The next character outside runs looks back at the run's last one.
    size_t last = run_end - 1;
    while (last > pos && (static_cast<unsigned char>(text[last]) & 0xC0) == 0x80) --last;
    size_t last_end = last;
    const char32_t last_char = text::decode_utf8(text, last_end);
    word_before = is_word_char(last_char, text.substr(last, last_end - last));
    pos = run_end;
  }
  return found;
}

namespace {

// The class an address carries on with past its match: URI characters for a
// web address (a scheme, «www.», or a domain name with a path), path
// characters for an absolute path; nullptr for every other technical string.
using CharClass = bool (*)(char32_t);
CharClass address_class(std::string_view match) {
  const std::string head = pieces::ascii_lower(match.substr(0, 8));
  for (std::string_view opening : {"http://", "https://", "ftp://", "www."}) {
    if (head.compare(0, opening.size(), opening) == 0) return uri_char;
  }
  if (match.front() == '/') return path_char;
  if (match.find('/') != std::string_view::npos) return uri_char;  // a domain and its path
  return nullptr;
}

// The end of the address that starts at `start` and whose match ends at
// `end`: over the run of `in_class`, word characters (Unicode \w) and
// symbols beyond ASCII from there, to the end of its last word character or
// symbol. So «…/wiki/hà» takes «/hà», «…/?q=phở» «=phở» and «…/😀» «/😀»
// (the "/" keeps its reading), while a trailing «/» or «.» stays out as
// before.
size_t carried_end(std::string_view text, size_t end, CharClass in_class) {
  size_t last_piece_end = end;
  size_t pos = end;
  while (pos < text.size()) {
    size_t next = pos;
    const char32_t c = text::decode_utf8(text, next);
    const std::string_view ch = text.substr(pos, next - pos);
    const bool piece = is_word_char(c, ch) || text::is_symbol_beyond_ascii(c);
    if (!piece && !in_class(c)) break;
    pos = next;
    if (piece) last_piece_end = pos;
  }
  return last_piece_end;
}

// Whether the character that ends just before `pos` is a word character.
bool word_char_before(std::string_view text, size_t pos) {
  if (pos == 0) return false;
  const size_t start = text::char_start_before(text, pos);
  size_t end = start;
  const char32_t c = text::decode_utf8(text, end);
  return is_word_char(c, text.substr(start, end - start));
}

// Whether the character at `pos` is a word character.
bool word_char_at(std::string_view text, size_t pos) {
  if (pos >= text.size()) return false;
  size_t end = pos;
  const char32_t c = text::decode_utf8(text, end);
  return is_word_char(c, text.substr(pos, end - pos));
}

// Whether `lower` (lower-case ASCII letters) stands at `pos`, in any case.
bool same_ascii_letters(std::string_view text, size_t pos, std::string_view lower) {
  if (pos + lower.size() > text.size()) return false;
  for (size_t k = 0; k < lower.size(); ++k) {
    const auto byte = static_cast<unsigned char>(text[pos + k]);
    if ((byte | 0x20) != static_cast<unsigned char>(lower[k])) return false;
  }
  return true;
}

// The start of the scheme that ends at the «://» at `p`, or npos.
size_t scheme_start(std::string_view text, size_t p) {
  for (std::string_view scheme : {"https", "http", "ftp"}) {
    if (p >= scheme.size() && same_ascii_letters(text, p - scheme.size(), scheme)) {
      return p - scheme.size();
    }
  }
  return std::string_view::npos;
}

// A scheme («https://») or «www.» that opens a word, and a host that starts
// with a word character: where the opening starts and where its host does.
struct Opening {
  size_t start;
  size_t host;
};

// Every opening of a web address in the text, left to right. A host that
// holds letters beyond ASCII stops the pattern's match at once («https://đà»,
// «www.báo», «https://ađ»): these openings are where such addresses start.
std::vector<Opening> find_openings(std::string_view text) {
  std::vector<Opening> schemes;
  std::vector<Opening> wwws;
  const auto add = [&](std::vector<Opening>& to, size_t start, size_t host) {
    if (!word_char_before(text, start) && word_char_at(text, host)) to.push_back({start, host});
  };
  for (size_t p = text.find("://"); p != std::string_view::npos; p = text.find("://", p + 1)) {
    if (const size_t start = scheme_start(text, p); start != std::string_view::npos) {
      add(schemes, start, p + 3);
    }
  }
  for (size_t p = text.find('.', 3); p != std::string_view::npos; p = text.find('.', p + 1)) {
    if (same_ascii_letters(text, p - 3, "www")) add(wwws, p - 3, p + 1);
  }
  std::vector<Opening> found;
  found.reserve(schemes.size() + wwws.size());
  std::merge(schemes.begin(), schemes.end(), wwws.begin(), wwws.end(), std::back_inserter(found),
             [](const Opening& a, const Opening& b) { return a.start < b.start; });
  return found;
}

}  // namespace

std::vector<std::pair<size_t, size_t>> find_technical_strings(std::string_view text) {
  const std::vector<std::pair<size_t, size_t>> found = find_technical(text);
  const std::vector<Opening> openings = find_openings(text);
  std::vector<std::pair<size_t, size_t>> out;
  out.reserve(found.size() + openings.size());
  size_t covered = 0;  // no string starts inside one carried on before it
  size_t next_opening = 0;
  // An address the pattern did not match at its opening, read to its end like
  // one it matched. The openings it covers start nothing.
  const auto take_openings_before = [&](size_t limit) {
    for (; next_opening < openings.size() && openings[next_opening].start < limit;
         ++next_opening) {
      const Opening& o = openings[next_opening];
      if (o.start < covered) continue;
      const size_t stop = carried_end(text, o.host, uri_char);
      out.emplace_back(o.start, stop);
      covered = stop;
    }
  };
  for (const auto& [start, end] : found) {
    take_openings_before(start);
    // At the same start the pattern's own match goes on as below.
    if (next_opening < openings.size() && openings[next_opening].start == start) ++next_opening;
    if (start < covered) continue;
    size_t stop = end;
    // ASCII word characters are all in the classes, so only a word character
    // beyond ASCII can carry an address past its match.
    if (const CharClass in_class = address_class(text.substr(start, end - start))) {
      stop = std::max(end, carried_end(text, end, in_class));
    }
    out.emplace_back(start, stop);
    covered = stop;
  }
  take_openings_before(text.size());
  return out;
}

// «/usr/local/bin» → «gạch __start_en__usr__end_en__ gạch __start_en__local__end_en__
// gạch __start_en__bin__end_en__»; «www.abc.com» → «__start_en__www__end_en__ chấm
// __start_en__abc__end_en__ chấm com».
std::string normalize_technical_match(std::string_view match) {
  Readings out;
  std::string_view rest = match;
  const size_t scheme_end = match.find("://");
  if (scheme_end != std::string_view::npos) {
    // Everything before the first "://" is the scheme, however long.
    add_letter_run(match.substr(0, scheme_end), 4, out);
    rest = match.substr(scheme_end + 3);
  } else if (!match.empty() && match.front() == '/') {
    out.add("gạch");
    rest = match.substr(1);
  }

  const std::vector<std::string_view> ps = pieces::cut(rest, RE_TECH_SPLIT());
  pieces::SuffixLookahead ahead(ps, kLookaheadSkipped);
  for (size_t i = 0; i < ps.size(); ++i) {
    const std::string_view piece = ps[i];
    if (piece.empty()) continue;
    if (const char* word = technical_delimiter_word(piece)) {
      out.add(word);
    } else if (piece == ".") {
      out.add("chấm");
      const size_t next = ahead.next_word(i + 1);
      if (next == ps.size()) continue;
      const std::string suffix = text::to_lower(ps[next]);
      if (const std::string_view* reading = DOMAIN_SUFFIX_MAP().find(suffix)) {
        out.add(*reading);
        i = next;
      }
    } else {
      read_technical_piece(piece, out);
    }
  }
  return pieces::squeeze_double_spaces_and_trim(out.str());
}

// «xem docs.python.org/3» → «xem __start_en__docs__end_en__ chấm
// __start_en__python__end_en__ chấm o rờ gờ gạch ba».
std::string normalize_technical(std::string_view text) {
  std::string out;
  const auto read = [](std::string_view match, std::string_view, std::string& o) {
    o += normalize_technical_match(match);
  };
  if (!rewrite::replace_spans(text, find_technical_strings(text), out, read)) {
    return std::string(text);
  }
  return out;
}

}  // namespace vyr::vi_normalizer
