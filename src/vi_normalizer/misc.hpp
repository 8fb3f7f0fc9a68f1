// The normalize_others sequence: what is left of letters, symbols and
// punctuation turned into speakable Vietnamese.
//
//   normalize_others("-5°C, (xem trang 5)")   // "âm 5 độ xê, , xem trang 5, "
//   normalize_others("3:2")                   // " 3 trên 2 "
//
// Twenty-six steps in a fixed order (the order is part of the behaviour: a
// form is consumed before a cruder later step would reach it): acronym
// exceptions, slash forms, domain suffixes, Roman numerals, named letters,
// letter-digit mixes, primes, unit powers, quotes, "<>", symbols and sub- or
// superscripts, brackets, temperatures and degrees, acronyms sentence by
// sentence, versions, number:number, colons and semicolons, and last every
// character outside the kept set becomes a space, except that a letter of the
// Latin script is spelled in ASCII letters (or kept) and a combining mark on
// one goes, so that no Latin word is split. Most digits stay digits for
// the general number pass that follows. The result is neither trimmed nor
// collapsed.
//
// Thread safe; the patterns are process-wide, compiled on first use. A search
// over the backtracking limit (Roman numerals, primes, acronyms, versions,
// number:number) throws vyr::Panic.
#pragma once

#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

std::string normalize_others(std::string_view text);

// Before the pipeline: a decimal digit of any script becomes its ASCII digit
// («năm ２０２４» → «năm 2024», «٣» → «3»), so that it is read as a number; a
// Roman numeral character becomes the letters it stands for («Ⅻ» → «XII»,
// «ⅳ» → «iv»), so that it is read as they are; and a typographic apostrophe
// (U+2019, U+2018, U+201B, U+02BC, U+FF07) between two letters becomes the
// ASCII one («don’t» → «don't»), so that it reads as that does; a minus sign
// (U+2212, U+FE63, U+FF0D) becomes "-" («−2°C» → «-2°C»), so that it reads
// exactly as the hyphen-minus would in its place. True with
// the result in `out`; false, with `out` untouched, when nothing changes.
// ASCII bytes are skipped at once.
bool fold_digits_and_apostrophes(std::string_view text, std::string& out);

// Before the pipeline: superscript digits after a number or a word of ASCII
// letters are an exponent, written in the "^" form that the passes read as
// «mũ»: «10⁶» → «10^6», «3×10⁸» → «3×10^8», «x⁴» → «x^4». A lone «²» or «³»
// stays for «bình phương», «lập phương» (so do «m²», «10²»), and so does a
// lone «¹» after a word (a footnote mark) and what follows a superscript
// minus («10⁻³»). True with the result in `out`; false, with `out`
// untouched, when nothing changes.
bool fold_superscript_exponents(std::string_view text, std::string& out);

// Before the pipeline: a sign that no step reads, and that the last step would
// therefore delete, becomes its compatibility decomposition when every
// character of that is one the steps read («25 ℃» → «25 °C», «5 ㎏» → «5 kg»,
// «𝐒𝐀𝐋𝐄» → «SALE», «①» → «1», «µ» → «μ»), so that it reads as what it
// stands for. Signs the steps read stay («²», «½»), as do signs whose
// decomposition holds something else («…», «⒈»). True with the result in
// `out`; false, with `out` untouched, when nothing changes.
bool fold_compatibility_signs(std::string_view text, std::string& out);

// Patterns of the steps, in step order (the others are their owners': the
// exception, Roman, prime, acronym and version patterns).
const text::Regex& DOMAIN_SUFFIXES_RE();
const text::Regex& RE_LETTER();
const text::Regex& RE_ALPHANUMERIC();
const text::Regex& RE_LETTER_DIGIT();
const text::Regex& RE_UNIT_POWERS();
const text::Regex& RE_CLEAN_QUOTES();
const text::Regex& RE_CLEAN_QUOTES_EDGES();
const text::Regex& RE_BRACKETS();
const text::Regex& RE_STRIP_BRACKETS();
const text::Regex& RE_TEMP_C_NEG();
const text::Regex& RE_TEMP_F_NEG();
const text::Regex& RE_TEMP_C();
const text::Regex& RE_TEMP_F();
const text::Regex& RE_DEGREE();
const text::Regex& RE_ACRONYMS_SPLIT();
const text::Regex& RE_STANDARD_COLON();
const text::Regex& RE_COLON_SEMICOLON();
// Every character outside the kept set: ASCII letters and digits, White_Space,
// the 134 precomposed Vietnamese letters with diacritics and . , ! ? _ ' -
const text::Regex& RE_CLEAN_OTHERS();
// Pre-checks: false only where the pattern surely has no match.
// RE_ALPHANUMERIC: a character that may be a digit, then an ASCII letter.
bool has_digit_before_letter(std::string_view text);
// RE_LETTER_DIGIT: an ASCII letter, then a character that may be a digit.
bool has_letter_before_digit(std::string_view text);
// RE_CLEAN_OTHERS: a character outside its kept set.
// «a|b», «a…b» → true; «Hà Nội, 5.» → false.
bool has_stray_character(std::string_view text);
// A character beyond ASCII that RE_CLEAN_OTHERS keeps: a Vietnamese letter.
bool is_kept_non_ascii(char32_t c);

// Per-match functions; each returns the text that replaces the whole match.
std::string read_standard_colon(const text::Captures& m);

// The acronym step alone: acronyms read by read_acronym, except inside a
// sentence written entirely in capitals, which stays as it is.
std::string read_acronyms_by_sentence(std::string_view text);

}  // namespace vyr::vi_normalizer
