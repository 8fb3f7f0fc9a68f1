#include "vi_normalizer/inline_passes.hpp"

// Not built yet: each pass hands its text on unchanged.

namespace vyr::vi_normalizer {

std::string split_camel_case(std::string_view text) { return std::string(text); }
std::string read_context_tru(std::string_view text) { return std::string(text); }
std::string read_context_tru_post(std::string_view text) { return std::string(text); }
std::string read_context_den(std::string_view text) { return std::string(text); }
std::string read_eq_minus(std::string_view text) { return std::string(text); }
std::string read_eq_neg(std::string_view text) { return std::string(text); }
std::string read_numeric_dash_groups(std::string_view text) { return std::string(text); }
std::string read_phone_space(std::string_view text) { return std::string(text); }
std::string read_power_of_ten_implicit(std::string_view text) { return std::string(text); }
std::string dash_to_comma(std::string_view text) { return std::string(text); }
std::string read_to_sang(std::string_view text) { return std::string(text); }
std::string read_multi_comma(std::string_view text) { return std::string(text); }
std::string read_dot_between_digits(std::string_view text) { return std::string(text); }

}  // namespace vyr::vi_normalizer
