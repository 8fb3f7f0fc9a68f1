#include "vi_normalizer/units.hpp"

// Not built yet: each pass hands its text on unchanged.

namespace vyr::vi_normalizer {

std::string expand_power_of_ten(std::string_view text) { return std::string(text); }
std::string expand_scientific_notation(std::string_view text) { return std::string(text); }
std::string expand_compound_units(std::string_view text) { return std::string(text); }
std::string expand_units_and_currency(std::string_view text) { return std::string(text); }
std::string fix_english_style_numbers(std::string_view text) { return std::string(text); }
std::string expand_number_with_sep(std::string_view text) { return std::string(text); }

}  // namespace vyr::vi_normalizer
