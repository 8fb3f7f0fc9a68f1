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

// Three passes in order: negative fractions, number over code, fractions. A
// number over code is read with the numbers and "/" parts around it:
// «ngõ 12/3B/4» → «ngõ mười hai trên ba bê trên bốn».
std::string normalize_slashes(std::string_view text);

// The readings of one RE_SLASH_ALNUM match alone and of one RE_SLASH_NUMBER
// match (the per-match function of the third pass); a letter glued to the
// match is kept apart from the reading («3/4đ» → «ba trên bốn đ»). The second
// pass reads a number over code as read_slash_alnum does, with the parts
// around it, and also after a comma that follows a letter («12/3A,12/3B»).
std::string read_slash_alnum(const text::Captures& m);
std::string read_slash_number(const text::Captures& m);

// Whether the "/" at text[slash] belongs to a number over code, which the
// second pass reads whole: its own slash («12/3A», «5/10kg», «123/45B»), the
// slash after a number that leads it («123/4/5B») or before a further part
// («12/3B/4», «12/3A/4B»). The passes that run before normalize_slashes leave
// such a form whole, so that it is read here and not as a day and month, a
// unit, a magnitude or a clock time followed by letters. Looks at most a few
// parts away from the slash.
bool is_code_slash(std::string_view text, size_t slash);
// Whether a number starting at text[number_start] is a part after such a
// slash: the «10» of «5/10kg», the «4» of «12/3B/4».
bool starts_slash_code(std::string_view text, size_t number_start);

}  // namespace vyr::vi_normalizer
