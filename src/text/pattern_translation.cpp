#include "text/pattern_translation.hpp"

#include <unicode/uchar.h>

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <optional>
#include <vector>

#include "runtime/panic.hpp"
#include "text/unicode.hpp"

namespace vyr::text {
namespace {

// Rust's \w: Alphabetic, marks, decimal digits, connector punctuation and the
// two joiners. PCRE2's UCP \w takes No (², ①) and misses some marks.
constexpr std::string_view kWordItems = R"(\p{Alphabetic}\p{M}\p{Nd}\p{Pc}\x{200C}\x{200D})";
// Rust's \s: exactly the White_Space code points (UCP \s adds U+180E).
constexpr std::string_view kSpaceItems =
    R"(\x{9}-\x{D}\x{20}\x{85}\x{A0}\x{1680}\x{2000}-\x{200A}\x{2028}\x{2029}\x{202F})"
    R"(\x{205F}\x{3000})";
// \b and \B on the word class above; the conditional form is faster in
// PCRE2 than an alternation of four look-arounds.
//   \b  "(?(?<=[W])(?![W])|(?=[W]))"    \B  "(?(?<=[W])(?=[W])|(?![W]))"
std::string word_boundary(bool negated) {
  const std::string w = "[" + std::string(kWordItems) + "]";
  if (negated) return "(?(?<=" + w + ")(?=" + w + ")|(?!" + w + "))";
  return "(?(?<=" + w + ")(?!" + w + ")|(?=" + w + "))";
}

// \b and \B where the character on one side is known to be a word character
// need only look at the other side. The single look-around is cheaper than the
// conditional and leaves PCRE2 free to find a first code unit or a start
// bitmap for the pattern.
//   \b before a word character  "(?<![W])"    \b after one  "(?![W])"
//   \B before a word character  "(?<=[W])"    \B after one  "(?=[W])"
std::string word_boundary_beside_word(bool negated, bool word_follows) {
  const std::string w = "[" + std::string(kWordItems) + "]";
  if (word_follows) return (negated ? "(?<=" : "(?<!") + w + ")";
  return (negated ? "(?=" : "(?!") + w + ")";
}

// A code point of the word class above. Case variants of a word character
// are word characters too, so the answer also holds under (?i).
bool is_word_char(char32_t c) {
  if (c == 0x200C || c == 0x200D) return true;
  const auto u = static_cast<UChar32>(c);
  if (u_hasBinaryProperty(u, UCHAR_ALPHABETIC)) return true;
  return (U_GET_GC_MASK(u) & (U_GC_M_MASK | U_GC_ND_MASK | U_GC_PC_MASK)) != 0;
}

// Ranges longer than this are not walked to prove they hold only word characters.
constexpr char32_t kLongestCheckedRange = 0x800;

bool is_word_range(char32_t first, char32_t last) {
  if (last - first > kLongestCheckedRange) return false;
  for (char32_t c = first; c <= last; ++c)
    if (!is_word_char(c)) return false;
  return true;
}

bool is_ascii_alnum(char32_t c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool is_ascii_punct_or_space(char32_t c) {
  return c == ' ' || (c > ' ' && c < 0x7F && !is_ascii_alnum(c));
}

bool is_hex_digit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

void append_hex_escape(std::string& out, char32_t c) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  char buf[8];
  int n = 0;
  do {
    buf[n++] = kHex[c & 0xF];
    c >>= 4;
  } while (c != 0);
  out += "\\x{";
  while (n > 0) out += buf[--n];
  out += '}';
}

// One member of a class: a code point (may start or end a range), a set
// already in PCRE2 class syntax, or \W (needs the alternation form).
struct ClassAtom {
  enum Kind { kCodePoint, kSet, kNotWord } kind;
  char32_t code_point = 0;
  std::string set;
  bool word_only = false;  // a set of word characters only (\d, \w)
  char escape = 0;         // the letter of \d \D \w \s \S \p \P for a kSet
};

using AsciiSet = std::bitset<128>;

constexpr char32_t kNoWide = 0x110000;
// The first non-ASCII decimal digit (ARABIC-INDIC DIGIT ZERO).
constexpr char32_t kFirstWideDigit = 0x660;

// Characters a pattern item may start with: a set of ASCII characters, and
// every code point from `wide_from` on. A bound is enough there: a PCRE2
// start bitmap keeps only lead bytes for those.
struct StartSet {
  AsciiSet ascii;
  char32_t wide_from = kNoWide;

  StartSet& operator|=(const StartSet& other) {
    ascii |= other.ascii;
    wide_from = std::min(wide_from, other.wide_from);
    return *this;
  }
};

// What a stretch of pattern may start with: `nullable` when it may match
// the empty string, so that what follows it counts too.
struct FirstChars {
  StartSet chars;
  bool nullable = true;
};

AsciiSet ascii_of_escape(char e) {
  AsciiSet set;
  for (char32_t c = 0; c < 128; ++c) {
    const bool digit = c >= '0' && c <= '9';
    const bool word = digit || is_ascii_alnum(c) || c == '_';
    const bool space = c == ' ' || (c >= 0x09 && c <= 0x0D);
    switch (e) {
      case 'd': set[c] = digit; break;
      case 'D': set[c] = !digit; break;
      case 'w': set[c] = word; break;
      case 'W': set[c] = !word; break;
      case 's': set[c] = space; break;
      case 'S': set[c] = !space; break;
      default: set[c] = true; break;  // properties: anything
    }
  }
  return set;
}

// The ASCII character c is, if it is one.
void add_exact_ascii(AsciiSet& set, char32_t c) {
  if (c < 128) set[c] = true;
}

// The ASCII characters c matches, itself or under (?i): simple case folding
// takes U+212A to 'k' and U+017F to 's'.
void add_ascii_char(AsciiSet& set, char32_t c) {
  const auto folded =
      static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
  for (char32_t x : {c, folded}) {
    if (x >= 128) continue;
    set[x] = true;
    if (x >= 'a' && x <= 'z') set[x - 32] = true;
    if (x >= 'A' && x <= 'Z') set[x + 32] = true;
  }
}

void add_ascii_range(AsciiSet& set, char32_t first, char32_t last) {
  for (char32_t c = first; c <= last && c < 128; ++c) add_ascii_char(set, c);
  for (char32_t c : {U'\u017F', U'\u212A'})
    if (c >= first && c <= last) add_ascii_char(set, c);
}

bool is_ascii_letter(char32_t c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

// \d starts no earlier than its first non-ASCII digit; \w, \s and the
// rest may start with anything non-ASCII.
StartSet start_of_escape(char e) {
  return {ascii_of_escape(e), e == 'd' ? kFirstWideDigit : 0x80};
}

// A letter may match a non-ASCII case variant under (?i) (U+212A, U+017F).
void add_start_char(StartSet& set, char32_t c) {
  add_ascii_char(set.ascii, c);
  if (c >= 0x80 || is_ascii_letter(c)) set.wide_from = std::min<char32_t>(set.wide_from, 0x80);
}

void add_start_range(StartSet& set, char32_t first, char32_t last) {
  add_ascii_range(set.ascii, first, last);
  bool wide = last >= 0x80;
  for (char32_t c = first; c <= last && c < 128 && !wide; ++c) wide = is_ascii_letter(c);
  if (wide) set.wide_from = std::min<char32_t>(set.wide_from, 0x80);
}

class Translator {
 public:
  Translator(std::string_view pattern, bool allow_lookaround)
      : p_(pattern), allow_lookaround_(allow_lookaround) {
    out_.reserve(pattern.size() * 2 + 16);
  }

  std::string run() {
    while (!at_end()) translate_item();
    if (!groups_.empty()) fail("unclosed group");
    hoist_leading_boundary();
    return std::move(out_);
  }

 private:
  struct Flags {
    bool extended = false;
    bool caseless = false;
  };

  // An open group. `word_before` and friends track whether the character
  // just before the current position is surely a word character, which lets
  // \b and \B shrink to one look-around.
  struct Group {
    enum Kind { kPlain, kLookahead, kLookbehind, kNegativeLookbehind } kind = kPlain;
    Flags flags;               // restored at ')'
    bool word_before = false;  // state before the group opened
    bool word_at_start = false;  // state at the start of each alternative
    bool every_alternative_ends_in_word = true;
  };

  [[noreturn]] void fail(std::string_view why) const {
    throw Panic("regex translation error at byte " + std::to_string(pos_) + ": " +
                std::string(why) + " in pattern " + std::string(p_));
  }

  bool at_end() const { return pos_ >= p_.size(); }
  char peek(size_t ahead = 0) const {
    return pos_ + ahead < p_.size() ? p_[pos_ + ahead] : '\0';
  }
  bool looking_at(std::string_view s) const { return p_.substr(pos_).starts_with(s); }

  void translate_item() {
    char c = p_[pos_];
    if (flags_.extended) {
      // Verbose mode: only these four are layout; '#' comments to line end.
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        ++pos_;
        return;
      }
      if (c == '#') {
        while (!at_end() && p_[pos_] != '\n') ++pos_;
        return;
      }
    }
    switch (c) {
      case '\\':
        translate_escape();
        return;
      case '[':
        translate_class();
        return;
      case '(':
        translate_group_open();
        return;
      case ')':
        translate_group_close();
        return;
      case '|':
        end_alternative();
        out_ += '|';
        ++pos_;
        if (groups_.empty()) top_level_starts_.push_back(out_.size());
        return;
      case '*':
      case '+':
      case '?':
      case '{':
        translate_quantifier();
        return;
      default: {
        // Literal or meta character with the same meaning in both syntaxes.
        size_t start = pos_;
        char32_t cp = decode_utf8(p_, pos_);
        out_.append(p_.substr(start, pos_ - start));
        if (c == '^' || c == '$') return;  // zero width: the state stands
        after_item(c != '.' && is_word_char(cp));
        return;
      }
    }
  }

  // An item (atom) was emitted; `word` if it always ends in a word character.
  void after_item(bool word) {
    word_before_ = word;
    after_quantifier_ = false;
  }

  // The same shape as the Rust syntax, copied; only the word state changes:
  // a quantifier that allows zero repetitions loses what the item proved.
  void translate_quantifier() {
    char c = p_[pos_];
    if (c == '{') {
      size_t close = p_.find('}', pos_);
      std::optional<size_t> min = close == std::string_view::npos
                                      ? std::nullopt
                                      : repetition_minimum(p_.substr(pos_ + 1, close - pos_ - 1));
      if (!min) {  // a literal brace
        out_ += '{';
        ++pos_;
        after_item(false);
        return;
      }
      out_.append(p_.substr(pos_, close + 1 - pos_));
      pos_ = close + 1;
      if (*min == 0) word_before_ = false;
      after_quantifier_ = true;
      return;
    }
    out_ += c;
    ++pos_;
    if (after_quantifier_) {  // "+?", "*?", "??": laziness, same repetitions
      after_quantifier_ = false;
      return;
    }
    if (c != '+') word_before_ = false;
    after_quantifier_ = true;
  }

  // "2,5" -> 2, "3" -> 3, "0," -> 0; nullopt when it is no repetition.
  static std::optional<size_t> repetition_minimum(std::string_view body) {
    size_t i = 0, min = 0;
    while (i < body.size() && body[i] >= '0' && body[i] <= '9' && min < 100000)
      min = min * 10 + static_cast<size_t>(body[i++] - '0');
    if (i == 0) return std::nullopt;
    if (i == body.size()) return min;
    if (body[i] != ',') return std::nullopt;
    for (++i; i < body.size(); ++i)
      if (body[i] < '0' || body[i] > '9') return std::nullopt;
    return min;
  }

  // "\bab\b|\bcd\b" -> "(?<![W])(?:ab(?![W])|cd(?![W]))": the same test at the
  // same position, made once instead of once per alternative (a list of
  // words tries every alternative at every candidate position).
  void hoist_leading_boundary() {
    if (top_level_starts_.size() < 2) return;
    const std::string lead = word_boundary_beside_word(false, true);
    for (size_t start : top_level_starts_)
      if (std::string_view(out_).substr(start).substr(0, lead.size()) != lead) return;
    std::string hoisted = lead + "(?:";
    hoisted.reserve(out_.size() + 4);
    for (size_t i = 0; i < top_level_starts_.size(); ++i) {
      const size_t from = top_level_starts_[i] + lead.size();
      const size_t to = i + 1 < top_level_starts_.size() ? top_level_starts_[i + 1] : out_.size();
      hoisted.append(out_, from, to - from);  // with its '|', except the last
    }
    hoisted += ')';
    out_ = std::move(hoisted);
  }

  void end_alternative() {
    if (groups_.empty()) {
      word_before_ = false;
    } else {
      Group& g = groups_.back();
      g.every_alternative_ends_in_word = g.every_alternative_ends_in_word && word_before_;
      word_before_ = g.word_at_start;
    }
    after_quantifier_ = false;
  }

  void translate_group_close() {
    if (groups_.empty()) fail("unopened group");
    Group g = groups_.back();
    groups_.pop_back();
    flags_ = g.flags;
    out_ += ')';
    ++pos_;
    const bool ends_in_word = g.every_alternative_ends_in_word && word_before_;
    switch (g.kind) {
      case Group::kPlain: after_item(ends_in_word); break;
      case Group::kLookbehind: after_item(g.word_before || ends_in_word); break;
      default: after_item(g.word_before); break;
    }
  }

  // Opens a group whose alternatives start at the current position
  // (kPlain, kLookahead) or somewhere before it (look-behind).
  void open_group(Group::Kind kind) {
    Group g;
    g.kind = kind;
    g.flags = flags_;
    g.word_before = word_before_;
    if (kind == Group::kLookahead) {
      g.word_at_start = word_before_;
    } else if (kind == Group::kPlain) {
      // A repeated group starts its later rounds after its own end.
      const size_t close = group_close(pos_);
      g.word_at_start = word_before_ && close != std::string_view::npos &&
                        !quantifier_at(close + 1);
    }
    groups_.push_back(g);
    word_before_ = g.word_at_start;
    after_quantifier_ = false;
  }

  void translate_group_open() {
    if (peek(1) != '?') {
      open_group(Group::kPlain);
      out_ += '(';
      ++pos_;
      return;
    }
    if (peek(2) == '=' || peek(2) == '!') {
      open_group(Group::kLookahead);
    } else if (peek(2) == '<' && peek(3) == '=') {
      open_group(Group::kLookbehind);
    } else if (peek(2) == '<' && peek(3) == '!') {
      open_group(Group::kNegativeLookbehind);
    } else {
      open_group(Group::kPlain);
    }
    pos_ += 2;  // "(?"
    if (looking_at(":") || looking_at(">")) {
      out_ += "(?";
      out_ += p_[pos_++];
      return;
    }
    if (looking_at("=") || looking_at("!") || looking_at("<=") || looking_at("<!")) {
      if (!allow_lookaround_) fail("look-around needs the backtracking engine");
      size_t len = p_[pos_] == '<' ? 2 : 1;
      out_ += "(?";
      out_.append(p_.substr(pos_, len));
      pos_ += len;
      return;
    }
    if (looking_at("P<")) {
      ++pos_;  // the name is copied as (?<name>
    }
    if (looking_at("<")) {
      size_t close = p_.find('>', pos_);
      if (close == std::string_view::npos) fail("unclosed group name");
      out_ += "(?";
      out_.append(p_.substr(pos_, close + 1 - pos_));
      pos_ = close + 1;
      return;
    }
    translate_flag_group();
  }

  // (?flags) or (?flags:...): 'x' is applied here and never reaches PCRE2.
  void translate_flag_group() {
    std::string on, off;
    bool negate = false;
    for (;;) {
      if (at_end()) fail("unclosed flag group");
      char c = p_[pos_++];
      if (c == ')' || c == ':') {
        std::string flags = on;
        if (!off.empty()) flags += "-" + off;
        if (c == ')') {
          // Applies to the rest of the enclosing group: nothing was opened.
          const Group g = groups_.back();
          groups_.pop_back();
          word_before_ = g.word_before;
          if (!flags.empty()) out_ += "(?" + flags + ")";
        } else {
          out_ += "(?" + flags + ":";
        }
        return;
      }
      if (c == '-') {
        if (negate) fail("repeated '-' in flags");
        negate = true;
        continue;
      }
      switch (c) {
        case 'x':
          if (!allow_lookaround_) fail("verbose mode is only supported by the backtracking engine");
          flags_.extended = !negate;
          break;
        case 'i':
          flags_.caseless = !negate;
          (negate ? off : on) += c;
          break;
        case 'm':
        case 's':
        case 'U':
          (negate ? off : on) += c;
          break;
        case 'u':
          if (negate) fail("(?-u) is not supported");
          break;
        default:
          fail(std::string("unsupported flag '") + c + "'");
      }
    }
  }

  void translate_escape() {
    ++pos_;  // backslash
    if (at_end()) fail("trailing backslash");
    char e = p_[pos_];
    switch (e) {
      case 'd': ++pos_; out_ += R"(\p{Nd})"; after_item(true); return;
      case 'D': ++pos_; out_ += R"(\P{Nd})"; after_item(false); return;
      case 'w': ++pos_; out_ += '['; out_ += kWordItems; out_ += ']'; after_item(true); return;
      case 'W': ++pos_; out_ += "[^"; out_ += kWordItems; out_ += ']'; after_item(false); return;
      case 's': ++pos_; out_ += '['; out_ += kSpaceItems; out_ += ']'; after_item(false); return;
      case 'S': ++pos_; out_ += "[^"; out_ += kSpaceItems; out_ += ']'; after_item(false); return;
      case 'b': ++pos_; translate_word_boundary(false); return;
      case 'B': ++pos_; translate_word_boundary(true); return;
      case 'A': ++pos_; out_ += R"(\A)"; return;
      case 'z': ++pos_; out_ += R"(\z)"; return;
      case 'p':
      case 'P':
        out_ += property();
        after_item(false);
        return;
      default:
        break;
    }
    if (e >= '1' && e <= '9') {
      if (!allow_lookaround_) fail("back-references need the backtracking engine");
      size_t start = pos_;
      while (!at_end() && p_[pos_] >= '0' && p_[pos_] <= '9') ++pos_;
      out_ += "\\g{";
      out_.append(p_.substr(start, pos_ - start));
      out_ += '}';
      after_item(false);
      return;
    }
    // Rust reads \< and \> as word-start and word-end assertions.
    if (e == '<' || e == '>') fail("word-start and word-end assertions are not supported");
    std::optional<char32_t> c = code_point_escape();
    if (!c) fail(std::string("unsupported escape \\") + e);
    append_hex_escape(out_, *c);
    after_item(is_word_char(*c));
  }

  // \b or \B (already read). A zero-width item: the word state stands.
  void translate_word_boundary(bool negated) {
    if (word_follows(pos_)) {
      out_ += word_boundary_beside_word(negated, true);
    } else if (word_before_) {
      out_ += word_boundary_beside_word(negated, false);
    } else {
      out_ += word_boundary(negated);
    }
  }


  // After the backslash: \xHH \x{..} \uHHHH \u{..} \UHHHHHHHH \U{..}, the
  // control escapes, and a backslash before ASCII punctuation or a space.
  std::optional<char32_t> code_point_escape() {
    char e = p_[pos_];
    switch (e) {
      case 'x': ++pos_; return hex_code_point(2);
      case 'u': ++pos_; return hex_code_point(4);
      case 'U': ++pos_; return hex_code_point(8);
      case 'n': ++pos_; return U'\n';
      case 't': ++pos_; return U'\t';
      case 'r': ++pos_; return U'\r';
      case 'f': ++pos_; return U'\f';
      case 'a': ++pos_; return U'\a';
      case 'v': ++pos_; return U'\v';
      default:
        break;
    }
    if (is_ascii_punct_or_space(static_cast<unsigned char>(e))) {
      ++pos_;
      return static_cast<char32_t>(e);
    }
    return std::nullopt;
  }

  char32_t hex_code_point(size_t fixed_digits) {
    size_t start, end;
    if (peek() == '{') {
      start = pos_ + 1;
      end = p_.find('}', start);
      if (end == std::string_view::npos) fail("unclosed hex escape");
      pos_ = end + 1;
    } else {
      start = pos_;
      end = start + fixed_digits;
      if (end > p_.size()) fail("short hex escape");
      pos_ = end;
    }
    if (end == start || end - start > 8) fail("bad hex escape");
    uint32_t v = 0;
    for (size_t k = start; k < end; ++k) {
      char h = p_[k];
      if (!is_hex_digit(h)) fail("bad hex escape");
      v = v * 16 + static_cast<uint32_t>(h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
      if (v > 0x10FFFF) fail("hex escape out of range");
    }
    if (v >= 0xD800 && v <= 0xDFFF) fail("hex escape is a surrogate");
    return v;
  }

  // \pL, \p{Name}, \p{^Name}, \p{key=value}; \P negates.
  std::string property() {
    bool negated = p_[pos_] == 'P';
    ++pos_;
    std::string name;
    if (peek() == '{') {
      size_t close = p_.find('}', pos_);
      if (close == std::string_view::npos) fail("unclosed property");
      name = std::string(p_.substr(pos_ + 1, close - pos_ - 1));
      pos_ = close + 1;
    } else {
      if (at_end()) fail("missing property name");
      name = std::string(1, p_[pos_++]);
    }
    if (!name.empty() && name[0] == '^') {
      negated = !negated;
      name.erase(0, 1);
    }
    std::string pcre = pcre2_property_name(name);
    return std::string(negated ? "\\P{" : "\\p{") + pcre + "}";
  }

  // Rust reads a bare name as a binary property, then a general category,
  // then a script; PCRE2 reads a bare script name as Script_Extensions.
  std::string pcre2_property_name(const std::string& name) {
    std::string key, value = name;
    size_t eq = name.find_first_of("=:");
    if (eq != std::string::npos) {
      key = name.substr(0, eq);
      value = name.substr(eq + 1);
    }
    auto is_key = [&](std::initializer_list<const char*> names) {
      for (const char* n : names)
        if (key == n) return true;
      return false;
    };
    if (is_key({"sc", "Script", "script"})) return "sc:" + value;
    if (is_key({"scx", "Script_Extensions", "script_extensions"})) return "scx:" + value;
    if (!key.empty() && !is_key({"gc", "General_Category", "general_category"}))
      fail("unsupported property " + name);

    if (key.empty()) {
      int binary = u_getPropertyEnum(value.c_str());
      bool is_binary = binary >= UCHAR_BINARY_START && binary < UCHAR_BINARY_LIMIT && value != "cf";
      if (is_binary) {
        if (flags_.caseless && (binary == UCHAR_UPPERCASE || binary == UCHAR_LOWERCASE))
          fail("(?i) with a case property is not supported");
        return value;
      }
    }
    int32_t gc = u_getPropertyValueEnum(UCHAR_GENERAL_CATEGORY_MASK, value.c_str());
    if (gc != UCHAR_INVALID_CODE) {
      if (flags_.caseless && (gc & (U_GC_LU_MASK | U_GC_LL_MASK | U_GC_LT_MASK)) != 0)
        fail("(?i) with a case property is not supported");
      return value;
    }
    if (key.empty() && u_getPropertyValueEnum(UCHAR_SCRIPT, value.c_str()) != UCHAR_INVALID_CODE)
      return "sc:" + value;
    return value;
  }

  ClassAtom class_atom() {
    if (p_[pos_] != '\\') return {ClassAtom::kCodePoint, decode_utf8(p_, pos_), {}};
    ++pos_;
    if (at_end()) fail("trailing backslash");
    switch (p_[pos_]) {
      case 'd': ++pos_; return {ClassAtom::kSet, 0, R"(\p{Nd})", true, 'd'};
      case 'D': ++pos_; return {ClassAtom::kSet, 0, R"(\P{Nd})", false, 'D'};
      case 'w': ++pos_; return {ClassAtom::kSet, 0, std::string(kWordItems), true, 'w'};
      case 'W': ++pos_; return {ClassAtom::kNotWord, 0, {}};
      case 's': ++pos_; return {ClassAtom::kSet, 0, std::string(kSpaceItems), false, 's'};
      case 'S': ++pos_; return {ClassAtom::kSet, 0, R"(\P{White_Space})", false, 'S'};
      case 'p':
      case 'P':
        return {ClassAtom::kSet, 0, property(), false, 'p'};
      default:
        break;
    }
    std::optional<char32_t> c = code_point_escape();
    if (!c) fail(std::string("unsupported escape in class \\") + p_[pos_]);
    return {ClassAtom::kCodePoint, *c, {}};
  }

  static void append_class_char(std::string& out, char32_t c) {
    if (is_ascii_alnum(c)) {
      out += static_cast<char>(c);
    } else if (c < 0x80) {
      append_hex_escape(out, c);
    } else {
      append_utf8(out, c);
    }
  }

  void translate_class() {
    std::string items;
    bool negated = false, not_word = false;
    const bool word_only = parse_class(items, negated, not_word);
    emit_class(negated, items, not_word);
    after_item(word_only);
  }

  // Reads "[...]" into PCRE2 class items; true when every member is a word
  // character.
  bool parse_class(std::string& items, bool& negated, bool& not_word) {
    StartSet start;
    return parse_class(items, negated, not_word, start);
  }

  // The same, also giving the characters the class matches.
  bool parse_class(std::string& items, bool& negated, bool& not_word, StartSet& start) {
    start = StartSet{};
    AsciiSet exact;  // without case variants, for a negated class
    ++pos_;  // '['
    negated = false;
    if (peek() == '^') {
      negated = true;
      ++pos_;
    }
    not_word = false;
    bool word_only = true;
    bool first = true;
    for (;;) {
      if (at_end()) fail("unclosed character class");
      char c = p_[pos_];
      if (c == ']' && !first) {
        ++pos_;
        break;
      }
      first = false;
      if (c == '[') fail("nested character classes are not supported");
      if ((c == '&' || c == '-' || c == '~') && peek(1) == c)
        fail("character class set operations are not supported");
      ClassAtom a = class_atom();
      if (a.kind == ClassAtom::kCodePoint && peek() == '-' && pos_ + 1 < p_.size() &&
          peek(1) != ']') {
        ++pos_;  // '-'
        ClassAtom b = class_atom();
        if (b.kind != ClassAtom::kCodePoint || b.code_point < a.code_point)
          fail("invalid class range");
        append_class_char(items, a.code_point);
        items += '-';
        append_class_char(items, b.code_point);
        word_only = word_only && is_word_range(a.code_point, b.code_point);
        add_start_range(start, a.code_point, b.code_point);
        for (char32_t c = a.code_point; c <= b.code_point && c < 128; ++c)
          add_exact_ascii(exact, c);
      } else if (a.kind == ClassAtom::kCodePoint) {
        append_class_char(items, a.code_point);
        word_only = word_only && is_word_char(a.code_point);
        add_start_char(start, a.code_point);
        add_exact_ascii(exact, a.code_point);
      } else if (a.kind == ClassAtom::kSet) {
        items.append(a.set);
        word_only = word_only && a.word_only;
        start |= start_of_escape(a.escape);
        exact |= ascii_of_escape(a.escape);
      } else {
        not_word = true;
        start |= start_of_escape('W');
        exact |= ascii_of_escape('W');
      }
    }
    // A negated class may match a case variant of what it lists.
    if (negated) start = {~exact, 0x80};
    return word_only && !negated && !not_word;
  }

  // [a\W] is "a or a non-word character", which one PCRE2 class cannot say
  // (a union with a negated union), so it becomes an alternation.
  void emit_class(bool negated, const std::string& items, bool not_word) {
    if (!not_word) {
      out_ += negated ? "[^" : "[";
      out_ += items;
      out_ += ']';
      return;
    }
    std::string word = "[" + std::string(kWordItems) + "]";
    std::string non_word = "[^" + std::string(kWordItems) + "]";
    if (items.empty()) {
      out_ += negated ? word : non_word;
    } else if (!negated) {
      out_ += "(?:[" + items + "]|" + non_word + ")";
    } else {
      out_ += "(?:(?![" + items + "])" + word + ")";
    }
  }

  // --- Looking ahead in the source, without emitting ---

  // Whether every match of the pattern text from `pos` on starts by consuming
  // a word character at the position where `pos` is reached. False when
  // unsure.
  bool word_follows(size_t pos) {
    const size_t saved = pos_;
    bool word = false;
    try {
      pos_ = pos;
      word = sequence_starts_with_word();
    } catch (const Panic&) {
      word = false;  // the translation proper reports it
    }
    pos_ = saved;
    return word;
  }

  bool sequence_starts_with_word() {
    for (;;) {
      skip_layout();
      if (at_end()) return false;
      const char c = p_[pos_];
      bool word = false;
      if (c == '(') {
        const size_t close = group_close(pos_);
        if (close == std::string_view::npos) return false;
        std::optional<size_t> inner = group_body(close);
        if (!inner) {  // zero width: look-around or a flag setting
          // A look-ahead that needs a word character proves one follows.
          const size_t open = pos_;
          if (peek(2) == '=' && !quantifier_at(close + 1) &&
              every_alternative_starts_with_word(open + 3, close))
            return true;
          pos_ = open;
          if (!skippable_zero_width_group(close)) return false;
          pos_ = close + 1;
          continue;
        }
        word = every_alternative_starts_with_word(*inner, close);
        pos_ = close + 1;
      } else if (c == '\\') {
        const char e = peek(1);
        if (e == 'b' || e == 'B' || e == 'A') {
          pos_ += 2;
          continue;
        }
        if (e == 'd' || e == 'w') {
          word = true;
          pos_ += 2;
        } else if (e == '\0' || std::string_view("DWsSpPz<>").find(e) != std::string_view::npos ||
                   (e >= '0' && e <= '9')) {
          return false;
        } else {
          ++pos_;
          std::optional<char32_t> cp = code_point_escape();
          if (!cp) return false;
          word = is_word_char(*cp);
        }
      } else if (c == '[') {
        std::string items;
        bool negated = false, not_word = false;
        word = parse_class(items, negated, not_word);
      } else if (c == '^') {
        ++pos_;
        continue;
      } else if (std::string_view("|)$.*+?{").find(c) != std::string_view::npos) {
        return false;
      } else {
        word = is_word_char(decode_utf8(p_, pos_));
      }
      return word && !quantifier_allows_zero();
    }
  }

  // Where the alternatives of the group opening at pos_ begin; nullopt for a
  // group of zero width.
  std::optional<size_t> group_body(size_t close) const {
    if (peek(1) != '?') return pos_ + 1;
    const char k = peek(2);
    if (k == '=' || k == '!' || (k == '<' && (peek(3) == '=' || peek(3) == '!')))
      return std::nullopt;
    if (k == 'P' || k == '<') {
      const size_t gt = p_.find('>', pos_);
      if (gt == std::string_view::npos || gt > close) return std::nullopt;
      return gt + 1;
    }
    size_t q = pos_ + 2;
    while (q < close && p_[q] != ':') ++q;
    return q < close ? std::optional<size_t>(q + 1) : std::nullopt;
  }

  // A look-around, or "(?flags)" without x (x would change the layout rules).
  bool skippable_zero_width_group(size_t close) const {
    const char k = peek(2);
    if (k == '=' || k == '!' || k == '<') return true;
    return p_.substr(pos_, close - pos_).find('x') == std::string_view::npos;
  }

  bool every_alternative_starts_with_word(size_t inner, size_t close) {
    size_t start = inner;
    for (;;) {
      pos_ = start;
      if (!sequence_starts_with_word()) return false;
      const size_t bar = alternative_end(start, close);
      if (bar >= close) return true;
      start = bar + 1;
    }
  }

  // The '|' ending the alternative that starts at `start`, or `close`.
  size_t alternative_end(size_t start, size_t close) const {
    size_t q = start;
    while (q < close) {
      const char c = p_[q];
      if (c == '|') return q;
      q = c == '(' ? group_close(q) : after_token(q);
      if (q == std::string_view::npos) return close;
      if (c == '(') ++q;
    }
    return close;
  }

  // The ')' closing the group that opens at `open`, or npos.
  size_t group_close(size_t open) const {
    size_t depth = 0;
    size_t q = open;
    while (q < p_.size()) {
      const char c = p_[q];
      if (c == '(') {
        ++depth;
        ++q;
      } else if (c == ')') {
        if (--depth == 0) return q;
        ++q;
      } else {
        q = after_token(q);
        if (q == std::string_view::npos) return q;
      }
    }
    return std::string_view::npos;
  }

  // Past one token that is no parenthesis: an escape, a class, a verbose
  // comment or one byte. npos when the text ends inside it.
  size_t after_token(size_t q) const {
    const char c = p_[q];
    if (c == '\\') return q + 2 <= p_.size() ? q + 2 : std::string_view::npos;
    if (c == '#' && flags_.extended) {
      const size_t nl = p_.find('\n', q);
      return nl == std::string_view::npos ? p_.size() : nl + 1;
    }
    if (c != '[') return q + 1;
    ++q;
    if (q < p_.size() && p_[q] == '^') ++q;
    bool first = true;
    while (q < p_.size()) {
      if (p_[q] == '\\') {
        q += 2;
      } else if (p_[q] == ']' && !first) {
        return q + 1;
      } else {
        ++q;
      }
      first = false;
    }
    return std::string_view::npos;
  }

  void skip_layout() {
    if (!flags_.extended) return;
    while (!at_end()) {
      const char c = p_[pos_];
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        ++pos_;
      } else if (c == '#') {
        while (!at_end() && p_[pos_] != '\n') ++pos_;
      } else {
        return;
      }
    }
  }

  // At pos_, after an atom: whether a quantifier lets it match zero times.
  bool quantifier_allows_zero() {
    skip_layout();
    const char c = peek();
    if (c == '?' || c == '*') return true;
    if (c != '{') return false;
    const size_t close = p_.find('}', pos_);
    if (close == std::string_view::npos) return false;
    std::optional<size_t> min = repetition_minimum(p_.substr(pos_ + 1, close - pos_ - 1));
    return min && *min == 0;
  }

  // Whether a quantifier (any) follows at q, layout skipped.
  bool quantifier_at(size_t q) {
    const size_t saved = pos_;
    pos_ = q;
    skip_layout();
    const char c = peek();
    pos_ = saved;
    return c == '?' || c == '*' || c == '+' || c == '{';
  }

  // --- What a match can start with ---

 public:
  // A class of every character a match may start with, for PCRE2 to build
  // a start bitmap from; empty when any character may start one.
  std::string start_class() {
    std::optional<FirstChars> first;
    try {
      pos_ = 0;
      first = alternatives_first(p_.size());
    } catch (const Panic&) {
      first.reset();
    }
    if (!first || first->nullable) return {};
    const StartSet& set = first->chars;
    const bool everything = set.ascii.all() && set.wide_from <= 0x80;
    const bool nothing = set.ascii.none() && set.wide_from == kNoWide;
    if (everything || nothing) return {};
    std::string out = "[";
    for (char32_t c = 0; c < 128; ++c)
      if (set.ascii[c]) append_hex_escape(out, c);
    if (set.wide_from != kNoWide) {
      append_hex_escape(out, set.wide_from);
      out += R"(-\x{10FFFF})";
    }
    out += ']';
    return out;
  }

 private:
  // Alternatives from pos_ up to `close`, joined.
  std::optional<FirstChars> alternatives_first(size_t close) {
    FirstChars all;
    all.nullable = false;
    size_t start = pos_;
    for (;;) {
      pos_ = start;
      std::optional<FirstChars> f = sequence_first();
      if (!f) return std::nullopt;
      all.chars |= f->chars;
      all.nullable = all.nullable || f->nullable;
      const size_t bar = alternative_end(start, close);
      if (bar >= close) return all;
      start = bar + 1;
    }
  }

  // One alternative from pos_: its items until one cannot match empty.
  std::optional<FirstChars> sequence_first() {
    FirstChars seq;
    for (;;) {
      skip_layout();
      if (at_end() || peek() == '|' || peek() == ')') return seq;
      std::optional<FirstChars> item = item_first();
      if (!item) return std::nullopt;
      seq.chars |= item->chars;
      if (!item->nullable) {
        seq.nullable = false;
        return seq;
      }
    }
  }

  // One item at pos_ with its quantifier; pos_ moves past both.
  std::optional<FirstChars> item_first() {
    const char c = p_[pos_];
    FirstChars f;
    f.nullable = false;
    if (c == '(') {
      const size_t close = group_close(pos_);
      if (close == std::string_view::npos) return std::nullopt;
      std::optional<size_t> inner = group_body(close);
      if (!inner) {
        if (peek(2) == '=') {
          // A match starts with what the look-ahead needs, if it needs one.
          pos_ += 3;
          std::optional<FirstChars> ahead = alternatives_first(close);
          pos_ = close + 1;
          if (quantifier_at(pos_)) return std::nullopt;  // an optional look-ahead
          if (ahead && !ahead->nullable) return ahead;
          return FirstChars{};
        }
        if (!skippable_zero_width_group(close)) {
          // "(?ix)": the verbose patterns open with it.
          const std::string_view flags = p_.substr(pos_ + 2, close - pos_ - 2);
          if (flags.find('-') != std::string_view::npos) return std::nullopt;
          flags_.extended = true;
        }
        pos_ = close + 1;
        return FirstChars{};  // zero width
      }
      pos_ = *inner;
      std::optional<FirstChars> body = alternatives_first(close);
      if (!body) return std::nullopt;
      f = *body;
      pos_ = close + 1;
    } else if (c == '\\') {
      const char e = peek(1);
      if (e == 'b' || e == 'B' || e == 'A' || e == 'z') {
        pos_ += 2;
        return FirstChars{};
      }
      if (std::string_view("dDwWsS").find(e) != std::string_view::npos && e != '\0') {
        f.chars = start_of_escape(e);
        pos_ += 2;
      } else if (e == '\0' || e == 'p' || e == 'P' || (e >= '0' && e <= '9')) {
        return std::nullopt;
      } else {
        ++pos_;
        std::optional<char32_t> cp = code_point_escape();
        if (!cp) return std::nullopt;
        add_start_char(f.chars, *cp);
      }
    } else if (c == '[') {
      std::string items;
      bool negated = false, not_word = false;
      parse_class(items, negated, not_word, f.chars);
    } else if (c == '^' || c == '$') {
      ++pos_;
      return FirstChars{};
    } else if (std::string_view(".*+?{").find(c) != std::string_view::npos) {
      return std::nullopt;
    } else {
      add_start_char(f.chars, decode_utf8(p_, pos_));
    }
    if (quantifier_allows_zero()) f.nullable = true;
    skip_quantifier();
    return f;
  }

  // Past a quantifier at pos_ (and its laziness mark), if there is one.
  void skip_quantifier() {
    skip_layout();
    const char c = peek();
    if (c == '{') {
      const size_t close = p_.find('}', pos_);
      if (close == std::string_view::npos ||
          !repetition_minimum(p_.substr(pos_ + 1, close - pos_ - 1)))
        return;
      pos_ = close + 1;
    } else if (c == '?' || c == '*' || c == '+') {
      ++pos_;
    } else {
      return;
    }
    if (peek() == '?') ++pos_;
  }

  std::string_view p_;
  size_t pos_ = 0;
  bool allow_lookaround_;
  std::string out_;
  Flags flags_;
  std::vector<Group> groups_;
  std::vector<size_t> top_level_starts_{0};  // where each top-level alternative begins in out_
  bool word_before_ = false;      // the text before pos_ surely ends in a word character
  bool after_quantifier_ = false;  // the last thing emitted was a quantifier
};

}  // namespace

std::string to_pcre2(std::string_view rust_pattern, bool allow_lookaround) {
  return Translator(rust_pattern, allow_lookaround).run();
}

std::string start_class(std::string_view rust_pattern) {
  return Translator(rust_pattern, true).start_class();
}

}  // namespace vyr::text
