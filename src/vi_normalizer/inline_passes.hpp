// The pipeline's own one-pattern passes (camel case, context dashes,
// equations, digit groups, powers of ten, arrows, commas, dots).
//
// Every pass takes the whole current text and returns a new one; thread safe.
#pragma once

#include <string>
#include <string_view>

namespace vyr::vi_normalizer {

std::string split_camel_case(std::string_view text);
std::string read_context_tru(std::string_view text);
std::string read_context_tru_post(std::string_view text);
std::string read_context_den(std::string_view text);
std::string read_eq_minus(std::string_view text);
std::string read_eq_neg(std::string_view text);
std::string read_numeric_dash_groups(std::string_view text);
std::string read_phone_space(std::string_view text);
std::string read_power_of_ten_implicit(std::string_view text);
std::string dash_to_comma(std::string_view text);
std::string read_to_sang(std::string_view text);
std::string read_multi_comma(std::string_view text);
std::string read_dot_between_digits(std::string_view text);

}  // namespace vyr::vi_normalizer
