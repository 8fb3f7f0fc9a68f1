#include "vi_normalizer/number_passes.hpp"

// Not built yet: each pass hands its text on unchanged.

namespace vyr::vi_normalizer {

std::string read_ranges(std::string_view text) { return std::string(text); }
std::string read_long_numbers(std::string_view text) { return std::string(text); }
std::string read_floats_with_comma(std::string_view text) { return std::string(text); }
std::string remove_dot_separators(std::string_view text) { return std::string(text); }
std::string read_range(const text::Captures& m) { return std::string(m.str()); }
std::string read_long_number(const text::Captures& m) { return std::string(m.str()); }
std::string read_float_with_comma(const text::Captures& m) { return std::string(m.str()); }
std::string strip_dot_separators(const text::Captures& m) { return std::string(m.str()); }

}  // namespace vyr::vi_normalizer
