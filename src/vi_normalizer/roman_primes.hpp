// Roman numerals, primes and versions: four patterns with their per-match
// readers, applied by normalize_others.
//
//   RE_ROMAN_NUMBER().replace_all_with(text, [](const text::Captures& m, std::string& out) {
//     out += read_roman_numeral(m);   // «XIV» → « mười bốn »
//   });
//
// RE_PRIME / read_prime: «x'» → «ích phẩy»; RE_PRIME_DIGIT / read_number_marks:
// «38'45"» → «38 phút 45 giây »; RE_VERSION / read_version: «1.2.3» → «một chấm hai
// chấm ba». Patterns are process-wide (built on first use) and the readers are
// pure, so all of it is thread safe.
#pragma once

#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

const text::Regex& RE_ROMAN_NUMBER();
const text::Regex& RE_PRIME();
const text::Regex& RE_PRIME_DIGIT();
const text::Regex& RE_VERSION();

// Whether a word of NUMBERING_WORDS, in any case, and white space stand right
// before byte `pos`: «thế kỷ |V», «Chương |X», «học  kỳ |I» → true; «vua
// Louis |XIV», «kỳ|V» → false.
bool follows_numbering_word(std::string_view text, size_t pos);

// Per-match functions.
std::string read_roman_numeral(const text::Captures& m);
std::string read_prime(const text::Captures& m);
// The marks after numbers (matches of RE_PRIME_DIGIT) read in their sentence:
// a double quote that closes a quotation opened before it stays a quote mark
// («"Lật Mặt 7"»; so does a single one), one of ', ’ or ′ is minutes («89'» →
// «89 phút »), and ", ”, ″ or two single marks are seconds right after
// minutes («38'45"» → «38 phút 45 giây ») and inches otherwise («27"» → «27
// inch »). A unit said just before the number is not said again («phút 89'»
// → «phút 89 »). Digits glued to a word are no number («A4'»). True with the
// result in `out`; false, with `out` untouched, when nothing changes.
bool read_number_marks(std::string_view text, std::string& out);
std::string read_version(const text::Captures& m);

}  // namespace vyr::vi_normalizer
