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
// Refused with vyr::Panic: class set operations and nested classes, (?i)
// with a case property (\p{Lu} ...), look-around when !allow_lookaround, and
// any syntax no pattern of this system uses. Pure function, thread safe.
#pragma once

#include <string>
#include <string_view>

namespace vyr::text {

std::string to_pcre2(std::string_view rust_pattern, bool allow_lookaround);

// A PCRE2 class holding every character that a match of the pattern can
// start with (all of non-ASCII included), or "" when that is every character
// or a match may be empty. R"(\d+|x)" -> "[\x{30}-...\x{78}\x{80}-\x{10FFFF}]".
std::string start_class(std::string_view rust_pattern);

}  // namespace vyr::text
