// Measures, currencies, percentages, powers of ten and scientific notation.
//
// Every pass takes the whole current text and returns a new one; thread safe.
#pragma once

#include <string>
#include <string_view>

namespace vyr::vi_normalizer {

std::string expand_power_of_ten(std::string_view text);
std::string expand_scientific_notation(std::string_view text);
std::string expand_compound_units(std::string_view text);
std::string expand_units_and_currency(std::string_view text);
std::string fix_english_style_numbers(std::string_view text);
std::string expand_number_with_sep(std::string_view text);

}  // namespace vyr::vi_normalizer
