// Acronyms, their listed exceptions, fixed abbreviations and standalone letters.
//
//   std::string t = expand_abbreviations("táo, cam, v.v.");  // "táo, cam,  vân vân."
//   t = expand_standalone_letters("vitamin C");               // "vitamin  xê "
//   t = RE_ACRONYM().replace_all_with("NASA và ABC", [](const text::Captures& m, std::string& o) {
//     o += read_acronym(m);  // "__start_en__nasa__end_en__ và __start_en__a b c__end_en__"
//   });
//
// The patterns are process-wide, compiled on first use, and shared read-only
// by all threads; every function here is stateless and thread safe. A failure
// of the backtracking engine (RE_ACRONYM, RE_STANDALONE_LETTER) throws
// vyr::Panic, which callers let through unless they say otherwise.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

// The keys of COMBINED_EXCEPTIONS, each between word boundaries, longest
// first, case-sensitive. Linear engine.
const text::Regex& RE_ACRONYMS_EXCEPTIONS();
// The byte range [start, end) of one exception match.
struct ExceptionSpan {
  size_t start;
  size_t end;
};
// The first RE_ACRONYMS_EXCEPTIONS match that starts at or after byte `pos`
// (a code point boundary), exactly as the pattern's own search finds it, but
// at the speed of a byte scan: only where a key's bytes stand is the pattern
// asked. «TP. HCM», 0 → [0, 2); 3 → [4, 7); «ĐHQG» → nothing.
std::optional<ExceptionSpan> find_acronym_exception(std::string_view text, size_t pos = 0);
// Two or more units of a capital, at most one small letter and any digits,
// between word boundaries. Backtracking engine.
const text::Regex& RE_ACRONYM();
// One ASCII letter standing alone, not right after an apostrophe, and an
// optional dot. Backtracking engine; used by expand_standalone_letters.
const text::Regex& RE_STANDALONE_LETTER();

// Pre-checks: false only when the pattern surely has no match in `text`.
// «UBND», «H2O» → true; «Ngày», «A4» → false.
bool may_hold_acronym(std::string_view text);
// «vitamin C», «a.» → true; «Ngày», «ABC» → false.
bool may_hold_standalone_letter(std::string_view text);

// Every ABBRS key replaced by its value as stored, wherever no letter touches
// it (nor, for «đ/c», a number before it, as in «5.000đ/cái»).
std::string expand_abbreviations(std::string_view text);
// Every standalone Latin letter replaced by its Vietnamese name.
std::string expand_standalone_letters(std::string_view text);

// Whether an ASCII word is spelled as a Vietnamese syllable that bears no
// mark, in either case: «NAM», «chung», «TO» → true; «USD», «CEO», «MC» →
// false.
bool is_unmarked_syllable(std::string_view word);

// Per-match functions.
// The reading of one RE_ACRONYM match.
std::string read_acronym(const text::Captures& m);

}  // namespace vyr::vi_normalizer
