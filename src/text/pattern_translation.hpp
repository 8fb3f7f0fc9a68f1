// Translation of patterns written in the Rust regex syntax into PCRE2 syntax
// with the same meaning under PCRE2_UTF | PCRE2_UCP | PCRE2_DOLLAR_ENDONLY |
// PCRE2_ALT_CIRCUMFLEX.
//
//   std::string p = vyr::text::to_pcre2(R"(\b\d+\b)", /*allow_lookaround=*/false);
//
// What the translation does:
//   \w \W \s \S \d \D \b \B   Unicode definitions of the Rust engines, spelt
//                             out as classes (PCRE2's UCP classes differ);
//   \W inside a class          an alternation, as PCRE2 cannot negate a union;
//   (?x)                       layout and # comments removed here (the
//                              backtracking engine's rules), never
//                              PCRE2_EXTENDED;
//   \u{..} \uXXXX \xHH \v      \x{..};
//   \ + ASCII punctuation      \x{..};
//   (?P<n>..)                  (?<n>..);
//   \p{Script}                 \p{sc:Script}.
// Shortcuts with the same meaning, for speed:
//   \b \B next to an item that always matches a word character there look at
//   the other side only: \bab -> (?<![W])ab, ab\b -> ab(?![W]);
//   a (?<![W]) that starts every top-level alternative is tested once,
//   before them all.
// Refused with vyr::Panic: class set operations and nested classes, (?i)
// with a case property (\p{Lu} ...), look-around when !allow_lookaround, and
// any syntax no pattern of this system uses. Pure function, thread safe.
#pragma once

#include <string>
#include <string_view>

namespace vyr::text {

std::string to_pcre2(std::string_view rust_pattern, bool allow_lookaround);

// A PCRE2 class holding every character that a match of the pattern can
// start with (a superset: all ASCII letters' case variants, every non-ASCII
// code point from a bound on), or "" when that is every character or a match
// may be empty. R"(\d+|-)" -> "[\x{2D}\x{30}...\x{39}\x{660}-\x{10FFFF}]".
std::string start_class(std::string_view rust_pattern);

}  // namespace vyr::text
