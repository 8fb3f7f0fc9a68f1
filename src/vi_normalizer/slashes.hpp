// Slash forms read aloud: negative fractions, number over code, fractions.
//
//   normalize_slashes("x = -3/4 và nhà 12/3A")
//   // "x = âm ba trên bốn và nhà mười hai trên ba a"
//   normalize_slashes("3/4, 3/4.")  // unchanged: a "," or "." right after the
//                                   // last digit keeps a fraction unread
//
// Called by normalize_others; the slash is spoken "trên". Returns a new
// string; thread safe. A search that exceeds the backtracking limit throws
// vyr::Panic.
#pragma once

#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

// «x = -3/4» → « -3/4», group 1 «3/4».
const text::Regex& RE_NEG_FRAC();
// «12/3A» → groups «12», «3A».
const text::Regex& RE_SLASH_ALNUM();
// «3/4» → groups «3», «4».
const text::Regex& RE_SLASH_NUMBER();

// Three passes in order: negative fractions, number over code, fractions.
std::string normalize_slashes(std::string_view text);

// Per-match functions of the second and third passes.
std::string read_slash_alnum(const text::Captures& m);
std::string read_slash_number(const text::Captures& m);

}  // namespace vyr::vi_normalizer
