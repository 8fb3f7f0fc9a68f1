// Number expressions: multiplication chains and the late number pass.
//
//   expand_multiplications("phòng 3 x 4m")    // "phòng 3 nhân 4m"
//   normalize_number_vi("thứ 4 có -5")       // "thứ tư có  âm năm "
//
// expand_multiplications only reads the signs: the numbers stay digits for the
// passes after it. normalize_number_vi reads ordinals after "thứ"/"hạng",
// mobile numbers, then every number still in digits with its sign, thousands
// groups or decimal part.
//
// Every pass takes the whole current text and returns a new one; thread safe.
// A search over the backtracking limit throws vyr::Panic.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

// Ordinals, then mobile numbers, then every remaining number.
std::string normalize_number_vi(std::string_view text);

// Every chain of numbers joined by "x"/"×" has its signs read "nhân".
std::string expand_multiplications(std::string_view text);

// One multiplication chain with its signs read: «10cm x 20cm» → «10cm nhân 20cm».
std::string expand_multiply_number(std::string_view text);

// Reading of a number as the number pass finds it: digits, then at most one of
// a comma and digits, dot-separated groups of three, a dot and digits, or
// groups of three after one white-space character that is no line break.
// With `negative` it reads "âm" first. «1.234» → «một nghìn hai trăm ba mươi
// bốn», «3,14» → «ba phẩy một bốn», «05» → «không năm».
std::string num_to_words(std::string_view num, bool negative);

// Per-match function of the number pass. A dash right after a character other
// than white space, "(", "[", ";", "," or "." is a hyphen and stays glued
// («a-5» → «a-năm»); anywhere else it is a minus sign, and every reading not
// glued to a hyphen is spaced («-5» → « âm năm », «7» → « bảy »). Groups
// after white space continue only a leading group of one to three digits
// that does not start with "0": «2 100» is one number, «2020 100» and
// «007 123» two.
std::string read_signed_number(const text::Captures& m);

// The length in bytes of the dash ("-", U+2013, U+2014) that ends right before
// byte `pos` of `text` when it is a minus sign by the rule above as the late
// number pass will apply it, else 0. That is at the start of the text, after
// white space, "(", "[", ";", "," or ".", and also after the characters the
// steps before that pass turn into white space or a comma or delete: the
// quotes " ' “ ” „ ‘ ’ « », the brackets "{", "}", ")", "]", ":" and "…".
// After a letter, a digit, "%" or any other sign it is a hyphen or a range
// dash: «giảm -5%» and «"-5%"» at the "5" → 1; «a-5%», «5%-10%» → 0. For the
// passes that read a number before the late number pass and must keep its
// sign.
size_t minus_sign_before(std::string_view text, size_t pos);

// Takes the minus sign that stands right before the match `m` off the end of
// `out`, where a replace-all copied it with the text before the match, so that
// the match's reading can say "âm" in its place. True when there was one.
bool take_minus_sign(const text::Captures& m, std::string& out);

}  // namespace vyr::vi_normalizer
