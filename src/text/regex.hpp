// Regular expressions with the matching rules of the two Rust engines the
// normaliser was designed against, on top of PCRE2.
//
//   static const Regex& RE_RANGE() {
//     static const Regex re(R"((\d+)\s*-\s*(\d+))", Engine::kLinear);
//     return re;
//   }
//   std::string out = RE_RANGE().replace_all(text, [](const Captures& m, std::string& out) {
//     out += m[1]; out += " đến "; out += m[2];
//   });
//
// Patterns are written in the Rust syntax (`\d`, `\w`, `\b`, `\s` by Unicode
// rules, `(?x)` verbose mode, `\u{..}`, `(?P<n>..)`) and translated once at
// construction (text/pattern_translation.hpp lists the rules). Two roles:
//   kLinear        never fails while matching (no look-around, no (?x));
//   kBacktracking  look-around allowed; one search that needs more than
//                  1,000,000 backtracking steps from one start position
//                  throws vyr::Panic.
// Subjects must be valid UTF-8: invalid input throws vyr::Panic (checked
// once per scan, at its first search) rather than being matched unsafely.
// Iteration follows Rust: left to right, non-overlapping; an empty match
// ending where the previous match ended is skipped and the search moves on by
// one code point.
//
// A Regex is immutable after construction and safe to share between threads;
// match scratch space is per thread, so a callback may run other patterns.
// Construction failures (bad or unsupported syntax) throw vyr::Panic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace vyr::text {

enum class Engine { kLinear, kBacktracking };

// One match: group 0 is the whole match. Offsets are bytes into `subject()`.
// A group that did not take part reads as an empty view and `matched(i)` is
// false. Valid only during the callback that receives it (or, for the value
// returned by `find`/`captures`, as long as the subject lives).
class Captures {
 public:
  static constexpr size_t kUnset = static_cast<size_t>(-1);

  Captures() = default;
  Captures(std::string_view subject, std::vector<size_t> offsets)
      : subject_(subject), offsets_(std::move(offsets)) {}

  size_t size() const { return offsets_.size() / 2; }  // groups, group 0 included
  bool matched(size_t i) const { return i < size() && offsets_[2 * i] != kUnset; }
  size_t start(size_t i) const { return matched(i) ? offsets_[2 * i] : kUnset; }
  size_t end(size_t i) const { return matched(i) ? offsets_[2 * i + 1] : kUnset; }
  std::string_view group(size_t i) const {
    return matched(i) ? subject_.substr(offsets_[2 * i], offsets_[2 * i + 1] - offsets_[2 * i])
                      : std::string_view();
  }
  std::string_view operator[](size_t i) const { return group(i); }
  std::string_view str() const { return group(0); }
  std::string_view subject() const { return subject_; }
  // Text of the subject before the match and after it.
  std::string_view prefix() const { return subject_.substr(0, start(0)); }
  std::string_view suffix() const { return subject_.substr(end(0)); }

 private:
  friend class Regex;
  std::string_view subject_;
  std::vector<size_t> offsets_;  // start, end per group; kUnset when not taking part
};

class Regex {
 public:
  Regex(std::string_view pattern, Engine engine);
  ~Regex();
  Regex(const Regex&) = delete;
  Regex& operator=(const Regex&) = delete;

  const std::string& pattern() const { return pattern_; }
  Engine engine() const { return engine_; }
  size_t group_count() const;  // capture groups, group 0 not counted
  // Index of a named group, or -1.
  int group_index(std::string_view name) const;

  bool is_match(std::string_view subject) const;
  // First match starting the search at byte `pos` (a code point boundary).
  std::optional<Captures> find(std::string_view subject, size_t pos = 0) const;

  // Calls f(const Captures&) for every match, Rust iteration order.
  // f may return void, or bool (false stops the scan).
  template <class F>
  void for_each(std::string_view subject, F&& f) const;

  // All matches, for tests and small inputs.
  std::vector<Captures> all(std::string_view subject) const;

  // Replace every match by the expansion of `templ` ($1, ${1}, ${name}, $$).
  std::string replace_all(std::string_view subject, std::string_view templ) const;

  // Replace every match by what f(const Captures&, std::string& out) appends to
  // `out`. The text between matches is copied unchanged.
  template <class F>
  std::string replace_all_with(std::string_view subject, F&& f) const;

  // Expand a template for one match, appending to out.
  void expand(const Captures& m, std::string_view templ, std::string& out) const;

  // A pattern matching `literal` exactly (a backslash before every meta
  // character, as the Rust regex crate escapes).
  static std::string escape(std::string_view literal);

 private:
  // Searches from pos; fills caps and returns true on a match. Throws
  // vyr::Panic when the backtracking limit is hit.
  bool search(std::string_view subject, size_t pos, bool first_search, Captures& caps) const;
  // The position after one code point at pos (pos + 1 at the end).
  static size_t next_char(std::string_view s, size_t pos);

  struct Impl;
  std::string pattern_;
  Engine engine_;
  std::unique_ptr<Impl> impl_;
};

template <class F>
void Regex::for_each(std::string_view subject, F&& f) const {
  Captures caps;
  size_t pos = 0;
  size_t last_end = Captures::kUnset;
  bool first = true;
  while (pos <= subject.size()) {
    if (!search(subject, pos, first, caps)) break;
    first = false;
    size_t s = caps.offsets_[0], e = caps.offsets_[1];
    if (s == e && e == last_end) {
      // Empty match right after the previous match: skipped.
      pos = next_char(subject, e);
      continue;
    }
    last_end = e;
    if constexpr (std::is_same_v<decltype(f(caps)), bool>) {
      if (!f(caps)) return;
    } else {
      f(caps);
    }
    pos = (s == e) ? next_char(subject, e) : e;
  }
}

template <class F>
std::string Regex::replace_all_with(std::string_view subject, F&& f) const {
  std::string out;
  size_t copied = 0;
  bool any = false;
  for_each(subject, [&](const Captures& m) {
    if (!any) {
      out.reserve(subject.size() + subject.size() / 8 + 16);
      any = true;
    }
    out.append(subject.data() + copied, m.start(0) - copied);
    f(m, out);
    copied = m.end(0);
  });
  if (!any) return std::string(subject);
  out.append(subject.data() + copied, subject.size() - copied);
  return out;
}

}  // namespace vyr::text
