#include "text/pattern_translation.hpp"

#include <unicode/uchar.h>

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
};

class Translator {
 public:
  Translator(std::string_view pattern, bool allow_lookaround)
      : p_(pattern), allow_lookaround_(allow_lookaround) {
    out_.reserve(pattern.size() * 2 + 16);
  }

  std::string run() {
    while (!at_end()) translate_item();
    if (!saved_.empty()) fail("unclosed group");
    return std::move(out_);
  }

 private:
  struct Flags {
    bool extended = false;
    bool caseless = false;
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
        if (saved_.empty()) fail("unopened group");
        flags_ = saved_.back();
        saved_.pop_back();
        out_ += ')';
        ++pos_;
        return;
      default: {
        // Literal or meta character with the same meaning in both syntaxes.
        size_t start = pos_;
        decode_utf8(p_, pos_);
        out_.append(p_.substr(start, pos_ - start));
        return;
      }
    }
  }

  void translate_group_open() {
    saved_.push_back(flags_);
    if (peek(1) != '?') {
      out_ += '(';
      ++pos_;
      return;
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
          saved_.pop_back();
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
      case 'd': ++pos_; out_ += R"(\p{Nd})"; return;
      case 'D': ++pos_; out_ += R"(\P{Nd})"; return;
      case 'w': ++pos_; out_ += '['; out_ += kWordItems; out_ += ']'; return;
      case 'W': ++pos_; out_ += "[^"; out_ += kWordItems; out_ += ']'; return;
      case 's': ++pos_; out_ += '['; out_ += kSpaceItems; out_ += ']'; return;
      case 'S': ++pos_; out_ += "[^"; out_ += kSpaceItems; out_ += ']'; return;
      case 'b': ++pos_; out_ += word_boundary(false); return;
      case 'B': ++pos_; out_ += word_boundary(true); return;
      case 'A': ++pos_; out_ += R"(\A)"; return;
      case 'z': ++pos_; out_ += R"(\z)"; return;
      case 'p':
      case 'P':
        out_ += property();
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
      return;
    }
    // Rust reads \< and \> as word-start and word-end assertions.
    if (e == '<' || e == '>') fail("word-start and word-end assertions are not supported");
    std::optional<char32_t> c = code_point_escape();
    if (!c) fail(std::string("unsupported escape \\") + e);
    append_hex_escape(out_, *c);
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
      case 'd': ++pos_; return {ClassAtom::kSet, 0, R"(\p{Nd})"};
      case 'D': ++pos_; return {ClassAtom::kSet, 0, R"(\P{Nd})"};
      case 'w': ++pos_; return {ClassAtom::kSet, 0, std::string(kWordItems)};
      case 'W': ++pos_; return {ClassAtom::kNotWord, 0, {}};
      case 's': ++pos_; return {ClassAtom::kSet, 0, std::string(kSpaceItems)};
      case 'S': ++pos_; return {ClassAtom::kSet, 0, R"(\P{White_Space})"};
      case 'p':
      case 'P':
        return {ClassAtom::kSet, 0, property()};
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
    ++pos_;  // '['
    bool negated = false;
    if (peek() == '^') {
      negated = true;
      ++pos_;
    }
    std::string items;
    bool not_word = false;
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
      } else if (a.kind == ClassAtom::kCodePoint) {
        append_class_char(items, a.code_point);
      } else if (a.kind == ClassAtom::kSet) {
        items.append(a.set);
      } else {
        not_word = true;
      }
    }
    emit_class(negated, items, not_word);
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

  std::string_view p_;
  size_t pos_ = 0;
  bool allow_lookaround_;
  std::string out_;
  Flags flags_;
  std::vector<Flags> saved_;  // flags at each open group, restored at ')'
};

}  // namespace

std::string to_pcre2(std::string_view rust_pattern, bool allow_lookaround) {
  return Translator(rust_pattern, allow_lookaround).run();
}

}  // namespace vyr::text
