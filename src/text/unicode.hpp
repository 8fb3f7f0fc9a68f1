// Unicode helpers shared by the phonemizer and the normaliser, on ICU.
//
//   std::string composed = vyr::text::nfc(raw);
//   std::string lower = vyr::text::to_lower("ΟΔΟΣ");   // "οδος" with a final sigma
//   std::string_view t = vyr::text::trim("\u00a0 x \n"); // "x"
//
// All functions take and return UTF-8. Input is expected to be valid UTF-8
// (the binding layer guarantees it); invalid sequences are passed through as
// U+FFFD by the decoders. Everything here is thread safe.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vyr::text {

// Canonical composition (NFC). Returns the input unchanged when it already is.
std::string nfc(std::string_view s);

// Full Unicode lower-case mapping of the whole string, root locale, with the
// final-sigma rule.
std::string to_lower(std::string_view s);

// Full lower-case mapping of one code point on its own (one to three code points).
std::string lower_char(char32_t c);

// Removes Unicode White_Space at both ends.
std::string_view trim(std::string_view s);
std::string_view trim_start(std::string_view s);
std::string_view trim_end(std::string_view s);

bool is_white_space(char32_t c);
bool is_alphabetic(char32_t c);
bool is_uppercase(char32_t c);
// Rust's char::is_alphanumeric: Alphabetic or a numeric general category (Nd, Nl, No).
bool is_alphanumeric(char32_t c);
// Whether s holds a decimal digit (general category Nd, what `\d` takes) of
// any script: a number in another script is still rewritten by the number
// passes, so ASCII digits alone do not tell whether they can match.
bool contains_decimal_digit(std::string_view s);

// The value 0..9 of a decimal digit of any script (\p{Nd}): «٣» → 3, «２» → 2;
// -1 for every other character, superscript digits included.
int decimal_digit_value(char32_t c);
// A letter (general category L) of the Latin script, the ASCII letters
// included: «ü», «ß», «ŋ», «Ａ»; not «α», «я».
bool is_latin_letter(char32_t c);
// A combining mark (general category M): «◌̈» (U+0308).
bool is_mark(char32_t c);
// A symbol beyond ASCII (general category S: «©», «€», «😀»).
bool is_symbol_beyond_ascii(char32_t c);
// The ASCII letters that spell a Latin letter, in its case: those of its
// compatibility decomposition («ü» → «u», «ﬁ» → «fi», «Ａ» → «A»), else a
// conventional spelling («ß» → «ss», «þ» → «th», «ŋ» → «ng», «ə» → «e»), else
// the base letter its Unicode name gives («ɓ», LATIN SMALL LETTER B WITH
// HOOK → «b»). Empty when none of these exists («ʘ»).
std::string latin_ascii_fold(char32_t c);

// The decomposition mapping of c, one level deep (as the Unicode data gives
// it, not applied again to its own characters), in UTF-8: «℃» → «°C», «㎡» →
// «m²», «𝐒» → «S». Empty when c has none.
std::string decomposition_mapping(char32_t c);

// Decodes the code point at s[pos] and advances pos past it. An ill-formed
// sequence decodes as one U+FFFD and pos moves past its maximal subpart (as
// Rust's lossy decoding does); at or past the end, U+FFFD and pos + 1.
char32_t decode_utf8(std::string_view s, size_t& pos);
void append_utf8(std::string& out, char32_t c);
bool is_valid_utf8(std::string_view s);
// Number of code points.
size_t char_count(std::string_view s);

}  // namespace vyr::text
