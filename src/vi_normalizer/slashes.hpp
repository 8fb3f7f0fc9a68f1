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

#include <cstddef>
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

// Per-match functions of the second and third passes; a letter glued to the
// match is kept apart from the reading («3/4đ» → «ba trên bốn đ»).
std::string read_slash_alnum(const text::Captures& m);
std::string read_slash_number(const text::Captures& m);

// Whether the "/" at text[slash] is the slash of a number over code, where
// RE_SLASH_ALNUM matches: «12/3A», «5/10kg», «123/45B». The passes that run
// before normalize_slashes leave such a form whole, so that it is read here
// and not as a day and month, a unit or a clock time followed by letters.
// Reads only the digit runs next to the slash.
bool is_code_slash(std::string_view text, size_t slash);
// Whether a number starting at text[number_start] is the code after such a
// slash: the «10» of «5/10kg».
bool starts_slash_code(std::string_view text, size_t number_start);

}  // namespace vyr::vi_normalizer
