// The pipeline's own one-pattern passes: camel case, dashes read by context
// and in equations, dashes between quantities, digit groups, bare powers of
// ten, free dashes, arrows, numbers with several commas, dots between digits.
//
//   std::string out;
//   read_context_den("Từ 5-10 ngày", out);         // out = " Từ 5 đến 10  ngày"
//   read_numeric_dash_groups("0912-345-678", out);
//   // out = "không chín một hai, ba bốn năm, sáu bảy tám"
//   split_camel_case("camelCase XMLParser", out);  // out = "camel Case XML Parser"
//
// Each pass is one replace-all over the whole text. It returns true with the
// rewritten text in `out`, or false, leaving `out` alone, when it found
// nothing to rewrite (a byte pre-check skips the engine where a pass cannot
// match). Numbers that a pass only re-spaces stay digits for later passes.
// A search of the backtracking engine over its limit throws vyr::Panic,
// except the acronym test of split_camel_case, where it counts as "no
// acronym". Stateless and thread safe.
#pragma once

#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

const text::Regex& RE_POTENTIAL_CONCAT();
const text::Regex& RE_CAMEL_CASE();
const text::Regex& RE_CONTEXT_TRU();
const text::Regex& RE_CONTEXT_TRU_POST();
const text::Regex& RE_CONTEXT_DEN();
const text::Regex& RE_EQ_MINUS();
const text::Regex& RE_EQ_NEG();
const text::Regex& RE_QUANTITY_RANGE();
const text::Regex& RE_NUMERIC_DASH_GROUPS();
const text::Regex& RE_PHONE_SPACE();
const text::Regex& RE_POWER_OF_TEN_IMPLICIT();
const text::Regex& RE_DASH_TO_COMMA();
const text::Regex& RE_TO_SANG();
const text::Regex& RE_MULTI_COMMA();
const text::Regex& RE_DOT_BETWEEN_DIGITS();

bool split_camel_case(std::string_view text, std::string& out);
bool read_context_tru(std::string_view text, std::string& out);
bool read_context_tru_post(std::string_view text, std::string& out);
bool read_context_den(std::string_view text, std::string& out);
bool read_eq_minus(std::string_view text, std::string& out);
bool read_eq_neg(std::string_view text, std::string& out);
bool read_quantity_ranges(std::string_view text, std::string& out);

// «x = -b/a» → «x =  trừ b/a»; «(-x)», «2*-y» alike: a minus (or U+2212)
// right before a letter, after "=", an opening bracket or an operator, is
// the sign «trừ». A hyphen inside or before a word elsewhere stays.
bool read_minus_before_letter(std::string_view text, std::string& out);
bool read_numeric_dash_groups(std::string_view text, std::string& out);
bool read_phone_space(std::string_view text, std::string& out);
bool read_power_of_ten_implicit(std::string_view text, std::string& out);
bool dash_to_comma(std::string_view text, std::string& out);
bool read_to_sang(std::string_view text, std::string& out);
bool read_multi_comma(std::string_view text, std::string& out);
// Only searches when the text holds a ".".
bool read_dot_between_digits(std::string_view text, std::string& out);

}  // namespace vyr::vi_normalizer
