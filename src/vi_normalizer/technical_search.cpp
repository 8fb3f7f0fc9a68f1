// find_technical: the matches of RE_TECHNICAL without the engine's rescans.
//
// RE_TECHNICAL is tried by the engine at every start position, and several of
// its branches run a character class to the end of its run before they give
// back: on «1.1.1…» or «/./.…» every word boundary of the run rescans the
// rest of it. Here each position is first judged by cheap facts about the
// runs after it (where a run of a branch's class ends, where the next word
// boundary lies, the last place in a run where a suffix could end a match),
// and a branch is handed to the engine, anchored and on a window that ends
// where its class run ends, only where it can match. The engine still gives
// every match its exact bounds; the facts only spare it the starts that fail.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/panic.hpp"
#include "text/regex.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/technical.hpp"

namespace vyr::vi_normalizer {

namespace {

constexpr char32_t kKelvinSign = 0x212A;  // folds to "k" under (?i)
constexpr char32_t kLongS = 0x17F;        // folds to "s" under (?i)
constexpr size_t kBranchCount = 8;
constexpr size_t kHexWindowChars = 40;  // the longest hex match is 39 characters

// «é» → true; «-» → false: the engine's own \w, for characters beyond ASCII.
const text::Regex& RE_WORD_CHARACTER() {
  static const text::Regex re(R"re(\w)re", text::Engine::kLinear);
  return re;
}

bool is_ascii_letter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_ascii_digit(char32_t c) { return c >= '0' && c <= '9'; }

// [a-zA-Z] under (?i): the Kelvin sign and the long s fold into it.
bool is_letter(char32_t c) { return is_ascii_letter(c) || c == kKelvinSign || c == kLongS; }
bool is_alnum(char32_t c) { return is_letter(c) || is_ascii_digit(c); }
bool is_hex(char32_t c) {
  return is_ascii_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool is_one_of(char32_t c, std::string_view set) {
  return c < 0x80 && set.find(static_cast<char>(c)) != std::string_view::npos;
}

// The classes of the branches, named after the characters they add to
// [a-zA-Z0-9].
enum class Class { kUrl, kDomain, kPath, kDrivePath, kFileName, kHexOrColon };

bool in_class(Class k, char32_t c) {
  switch (k) {
    case Class::kUrl:  // [A-Za-z0-9.\-_~:/?#\[\]@!$&\'()*+,;=]
      return is_alnum(c) || is_one_of(c, ".-_~:/?#[]@!$&'()*+,;=");
    case Class::kDomain:  // [A-Za-z0-9.\-]
      return is_alnum(c) || is_one_of(c, ".-");
    case Class::kPath:  // [a-zA-Z0-9._\-/]
      return is_alnum(c) || is_one_of(c, "._-/");
    case Class::kDrivePath:  // [a-zA-Z0-9._\\\-]
      return is_alnum(c) || is_one_of(c, "._\\-");
    case Class::kFileName:  // [a-zA-Z0-9._\-]
      return is_alnum(c) || is_one_of(c, "._-");
    case Class::kHexOrColon:
      return is_hex(c) || c == ':';
  }
  return false;
}

// Can a match hold this character? (The union of every class and literal.)
bool is_technical(char32_t c) { return in_class(Class::kUrl, c) || c == '\\'; }

// Case-insensitive comparison of text[pos..] with `word` (ASCII, lower
// case), as (?i) compares: an "s" also takes the long s, a "k" the Kelvin
// sign. The end of the compared text in *end.
bool literal_at(std::string_view text, size_t pos, std::string_view word, size_t* end) {
  for (char w : word) {
    if (pos >= text.size()) return false;
    const char32_t c = text::decode_utf8(text, pos);
    const char32_t want = static_cast<unsigned char>(w);
    bool same = c == want;
    if (!same && is_ascii_letter(want)) {
      same = (is_ascii_letter(c) && (c | 0x20) == want) || (want == 's' && c == kLongS) ||
             (want == 'k' && c == kKelvinSign);
    }
    if (!same) return false;
  }
  *end = pos;
  return true;
}

// The character facts of one text, with small caches for queries that move
// forward through it (each position is read a bounded number of times).
class Facts {
 public:
  explicit Facts(std::string_view text) : text_(text) {}

  std::string_view text() const { return text_; }

  char32_t char_at(size_t pos) const {
    size_t p = pos;
    return text::decode_utf8(text_, p);
  }
  size_t next(size_t pos) const {
    size_t p = pos;
    text::decode_utf8(text_, p);
    return p;
  }
  // Start of the character that ends at `pos` (pos > 0).
  size_t previous(size_t pos) const {
    size_t start = pos - 1;
    while (start > 0 && pos - start < 4 &&
           (static_cast<unsigned char>(text_[start]) & 0xC0) == 0x80) {
      --start;
    }
    return start;
  }

  bool is_word_char_at(size_t pos) const {
    if (pos >= text_.size()) return false;
    const unsigned char b = static_cast<unsigned char>(text_[pos]);
    if (b < 0x80) return is_ascii_letter(b) || is_ascii_digit(b) || b == '_';
    const size_t end = next(pos);
    const char32_t c = char_at(pos);
    if (c == kKelvinSign || c == kLongS) return true;
    return RE_WORD_CHARACTER().is_match(text_.substr(pos, end - pos));
  }
  bool word_before(size_t pos) const { return pos > 0 && is_word_char_at(previous(pos)); }
  bool boundary_at(size_t pos) const { return word_before(pos) != is_word_char_at(pos); }

  // The first position at or after `from` where the characters of `k` stop.
  size_t run_end(Class k, size_t from) {
    Run& r = runs_[static_cast<size_t>(k)];
    if (from >= r.from && from <= r.end) return r.end;
    size_t pos = from;
    while (pos < text_.size()) {
      size_t after = pos;
      if (!in_class(k, text::decode_utf8(text_, after))) break;
      if (pos == r.from) {  // joined the cached run from before it
        pos = r.end;
        break;
      }
      pos = after;
    }
    r.from = from;
    r.end = pos;
    return pos;
  }

  // The first word boundary at or after `from` and at or before `limit`, or
  // npos.
  size_t next_boundary(size_t from, size_t limit) {
    if (!(from >= boundary_.from && from <= boundary_.at)) {
      size_t pos = from;
      while (pos < text_.size() && !boundary_at(pos)) {
        if (pos == boundary_.from) {  // joined the cached stretch from before it
          pos = boundary_.at;
          break;
        }
        pos = next(pos);
      }
      boundary_.from = from;
      boundary_.at = pos;  // the end of the text is a boundary when a word ends it
    }
    const size_t at = boundary_.at;
    if (at > limit) return std::string_view::npos;
    if (at == text_.size() && !boundary_at(at)) return std::string_view::npos;
    return at;
  }

 private:
  struct Run {
    size_t from = std::string_view::npos, end = std::string_view::npos;  // nothing cached
  };
  std::string_view text_;
  std::array<Run, 6> runs_{};
  struct Boundary {
    // No boundary in [from, at); one at `at`. Nothing cached at first.
    size_t from = std::string_view::npos, at = std::string_view::npos;
  } boundary_;
};

// The last position of a run where a branch's tail can begin with a match
// after it, cached per run: once per run, however many starts ask.
class LastTailInRun {
 public:
  // `tail_ends(q)` is the end of a tail that begins at q and is followed by
  // a word boundary, or npos.
  template <class TailEnds>
  size_t last_after(size_t start, size_t run_end, Facts& facts, TailEnds&& tail_ends) {
    if (run_end != run_end_ || start < scanned_from_) {
      run_end_ = run_end;
      scanned_from_ = start;
      last_ = std::string_view::npos;
      for (size_t q = facts.next(start); q < run_end; q = facts.next(q)) {
        if (tail_ends(q) != std::string_view::npos) last_ = q;
      }
    }
    return last_ != std::string_view::npos && last_ > start ? last_ : std::string_view::npos;
  }

 private:
  size_t run_end_ = std::string_view::npos;
  size_t scanned_from_ = 0;
  size_t last_ = std::string_view::npos;
};

constexpr std::string_view kDomainSuffixes[] = {"com", "vn",  "net", "org",
                                                "gov", "io",  "biz", "info"};
constexpr std::string_view kFileExtensions[] = {
    "txt", "log", "tar",  "gz",  "zip", "sh",   "py",   "js",  "cpp", "h",    "json", "xml",
    "yaml", "yml", "md",  "csv", "pdf", "docx", "xlsx", "exe", "dll", "so",   "config"};

// The end of "." + one of `words` at q with a word boundary after it, or npos.
template <size_t N>
size_t dotted_word_end(Facts& facts, size_t q, const std::string_view (&words)[N]) {
  const std::string_view text = facts.text();
  if (q >= text.size() || text[q] != '.') return std::string_view::npos;
  for (std::string_view w : words) {
    size_t end = 0;
    if (literal_at(text, q + 1, w, &end) && facts.boundary_at(end)) return end;
  }
  return std::string_view::npos;
}

// The branches of RE_TECHNICAL, each as its own pattern anchored at the start
// of a window: one with a character before the start (for \b and (?<!\w)),
// one for a start at the beginning of the text.
struct Branches {
  std::vector<std::unique_ptr<text::Regex>> after_char;
  std::vector<std::unique_ptr<text::Regex>> at_text_start;
};

// The top-level alternatives of a verbose pattern after its flag group.
std::vector<std::string> split_branches(std::string_view body) {
  std::vector<std::string> out(1);
  int depth = 0;
  bool in_class_set = false;
  for (size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (c == '\\' && i + 1 < body.size()) {
      out.back() += body.substr(i, 2);
      ++i;
      continue;
    }
    if (in_class_set) {
      if (c == ']') in_class_set = false;
    } else if (c == '[') {
      in_class_set = true;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    } else if (c == '|' && depth == 0) {
      out.emplace_back();
      continue;
    }
    out.back() += c;
  }
  return out;
}

const Branches& BRANCHES() {
  static const Branches branches = [] {
    constexpr std::string_view kFlags = "(?ix)";
    const std::string_view pattern = RE_TECHNICAL().pattern();
    if (pattern.substr(0, kFlags.size()) != kFlags) {
      throw runtime::Panic("RE_TECHNICAL does not start with its verbose flags");
    }
    const std::vector<std::string> parts = split_branches(pattern.substr(kFlags.size()));
    if (parts.size() != kBranchCount) {
      throw runtime::Panic("RE_TECHNICAL does not have eight branches");
    }
    Branches b;
    for (const std::string& part : parts) {
      b.after_char.push_back(std::make_unique<text::Regex>(
          std::string(kFlags) + "^(?s:.)(?:" + part + "\n)", text::Engine::kBacktracking));
      b.at_text_start.push_back(std::make_unique<text::Regex>(
          std::string(kFlags) + "^(?:" + part + "\n)", text::Engine::kBacktracking));
    }
    return b;
  }();
  return branches;
}

// The end of branch `index`'s match at `start`, searched by the engine in
// text[previous char, window_end + one character), or npos.
size_t engine_match_end(Facts& facts, size_t index, size_t start, size_t window_end) {
  const std::string_view text = facts.text();
  const size_t end = window_end < text.size() ? facts.next(window_end) : text.size();
  const Branches& b = BRANCHES();
  const size_t from = start == 0 ? 0 : facts.previous(start);
  const text::Regex& re = start == 0 ? *b.at_text_start[index] : *b.after_char[index];
  const std::optional<text::Captures> m = re.find(text.substr(from, end - from));
  if (!m || m->end(0) == 0) return std::string_view::npos;
  return from + m->end(0);
}

class TechnicalScanner {
 public:
  explicit TechnicalScanner(std::string_view text) : facts_(text) {}

  // The end of the match of RE_TECHNICAL at `p`, or npos.
  size_t match_at(size_t p) {
    const char32_t c = facts_.char_at(p);
    if (c == '/') return path_at(p);
    if (!facts_.boundary_at(p)) return std::string_view::npos;
    for (size_t index = 0; index < kBranchCount; ++index) {
      const size_t end = try_branch(index, p, c);
      if (end != std::string_view::npos) return end;
    }
    return std::string_view::npos;
  }

 private:
  size_t try_branch(size_t index, size_t p, char32_t c) {
    switch (index) {
      case 0:
        return scheme_at(p);
      case 1:
        return www_at(p);
      case 2:
        return domain_at(p, c);
      case 4:
        return drive_at(p, c);
      case 5:
        return file_name_at(p, c);
      case 6:
        return identifier_at(p, c);
      case 7:
        return hex_groups_at(p, c);
      default:  // the path branch starts with "/", which is tested first
        return std::string_view::npos;
    }
  }

  // [U]+\b from `from`: a word boundary after at least one character of the run.
  size_t url_tail(size_t index, size_t p, size_t from) {
    const size_t run = facts_.run_end(Class::kUrl, from);
    if (run == from) return std::string_view::npos;
    if (facts_.next_boundary(facts_.next(from), run) == std::string_view::npos) {
      return std::string_view::npos;
    }
    return engine_match_end(facts_, index, p, facts_.run_end(Class::kUrl, p));
  }

  // \b(?:https?|ftp)://[U]+\b
  size_t scheme_at(size_t p) {
    const std::string_view text = facts_.text();
    size_t end = 0;
    size_t after = 0;
    if (literal_at(text, p, "http", &end)) {
      if (literal_at(text, end, "s://", &after) || literal_at(text, end, "://", &after)) {
        return url_tail(0, p, after);
      }
      return std::string_view::npos;
    }
    if (literal_at(text, p, "ftp://", &after)) return url_tail(0, p, after);
    return std::string_view::npos;
  }

  // \b(?:www\.)[U]+\b
  size_t www_at(size_t p) {
    size_t after = 0;
    if (!literal_at(facts_.text(), p, "www.", &after)) return std::string_view::npos;
    return url_tail(1, p, after);
  }

  // \b[C]+(?:\.com|…)(?:/[U]*)?\b: the tail after a suffix always finds a
  // boundary when the suffix is followed by one, and never otherwise.
  size_t domain_at(size_t p, char32_t c) {
    if (!in_class(Class::kDomain, c)) return std::string_view::npos;
    const size_t run = facts_.run_end(Class::kDomain, p);
    const size_t q = domain_suffixes_.last_after(p, run, facts_, [&](size_t at) {
      return dotted_word_end(facts_, at, kDomainSuffixes);
    });
    if (q == std::string_view::npos) return std::string_view::npos;
    return engine_match_end(facts_, 2, p, facts_.run_end(Class::kUrl, p));
  }

  // (?<!\w)/[E]{2,}\b
  size_t path_at(size_t p) {
    if (facts_.word_before(p)) return std::string_view::npos;
    const size_t first = facts_.next(p);
    const size_t run = facts_.run_end(Class::kPath, first);
    if (run == first) return std::string_view::npos;
    const size_t second = facts_.next(first);
    if (second >= run) return std::string_view::npos;
    if (facts_.next_boundary(facts_.next(second), run) == std::string_view::npos) {
      return std::string_view::npos;
    }
    return engine_match_end(facts_, 3, p, run);
  }

  // \b[a-zA-Z]:\\[F]+\b
  size_t drive_at(size_t p, char32_t c) {
    if (!is_letter(c)) return std::string_view::npos;
    const std::string_view text = facts_.text();
    const size_t colon = facts_.next(p);
    if (colon + 1 >= text.size() || text[colon] != ':' || text[colon + 1] != '\\') {
      return std::string_view::npos;
    }
    const size_t from = colon + 2;
    const size_t run = facts_.run_end(Class::kDrivePath, from);
    if (run == from) return std::string_view::npos;
    if (facts_.next_boundary(facts_.next(from), run) == std::string_view::npos) {
      return std::string_view::npos;
    }
    return engine_match_end(facts_, 4, p, run);
  }

  // \b[G]+\.(?:txt|…|config)\b
  size_t file_name_at(size_t p, char32_t c) {
    if (!in_class(Class::kFileName, c)) return std::string_view::npos;
    const size_t run = facts_.run_end(Class::kFileName, p);
    const size_t q = file_extensions_.last_after(p, run, facts_, [&](size_t at) {
      return dotted_word_end(facts_, at, kFileExtensions);
    });
    if (q == std::string_view::npos) return std::string_view::npos;
    return engine_match_end(facts_, 5, p, run);
  }

  // \b[a-zA-Z][a-zA-Z0-9]*(?:[._\-][a-zA-Z0-9]+){2,}\b: the engine confirms
  // chains of at least two groups, on a window that ends with the chain.
  size_t identifier_at(size_t p, char32_t c) {
    if (!is_letter(c)) return std::string_view::npos;
    const std::string_view text = facts_.text();
    size_t pos = alnum_run_end(p);
    size_t groups = 0;
    while (pos < text.size() && is_one_of(static_cast<unsigned char>(text[pos]), "._-")) {
      const size_t after = alnum_run_end(pos + 1);
      if (after == pos + 1) break;
      ++groups;
      pos = after;
    }
    if (groups < 2) return std::string_view::npos;
    return engine_match_end(facts_, 6, p, pos);
  }

  size_t alnum_run_end(size_t pos) const {
    const std::string_view text = facts_.text();
    while (pos < text.size()) {
      size_t after = pos;
      if (!is_alnum(text::decode_utf8(text, after))) break;
      pos = after;
    }
    return pos;
  }

  // \b[a-fA-F0-9]{1,4}(?::[a-fA-F0-9]{1,4}){3,7}\b: at most 39 characters,
  // all ASCII; tried only with three colons in reach.
  size_t hex_groups_at(size_t p, char32_t c) {
    if (!is_hex(c)) return std::string_view::npos;
    const std::string_view text = facts_.text();
    size_t pos = p;
    size_t colons = 0;
    while (pos < text.size() && pos - p < kHexWindowChars &&
           in_class(Class::kHexOrColon, static_cast<unsigned char>(text[pos]))) {
      if (text[pos] == ':') ++colons;
      ++pos;
    }
    if (colons < 3) return std::string_view::npos;
    // A window cut inside the run still holds every character a match can
    // read: its 39 and the one after them.
    if (pos - p == kHexWindowChars) {
      return engine_match_end(facts_, 7, p, facts_.previous(pos));
    }
    return engine_match_end(facts_, 7, p, pos);
  }

  Facts facts_;
  LastTailInRun domain_suffixes_;
  LastTailInRun file_extensions_;
};

// Could a match start with the byte at `pos`? (Lead bytes of the Kelvin sign
// and the long s included; the scanner decides.)
bool may_start(unsigned char b) {
  if (b >= 0x80) return b == 0xE2 || b == 0xC5;
  return is_technical(b) && b != '\\';
}

}  // namespace

std::vector<std::pair<size_t, size_t>> find_technical(std::string_view text) {
  std::vector<std::pair<size_t, size_t>> out;
  TechnicalScanner scanner(text);
  size_t p = 0;
  while (p < text.size()) {
    if (!may_start(static_cast<unsigned char>(text[p]))) {
      ++p;
      continue;
    }
    const size_t end = scanner.match_at(p);
    if (end != std::string_view::npos) {
      out.emplace_back(p, end);
      p = end;
      continue;
    }
    size_t after = p;
    text::decode_utf8(text, after);
    p = after;
  }
  return out;
}

}  // namespace vyr::vi_normalizer
