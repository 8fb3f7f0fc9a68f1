#include "vi_normalizer/numerical.hpp"

// Not built yet: each pass hands its text on unchanged.

namespace vyr::vi_normalizer {

std::string normalize_number_vi(std::string_view text) { return std::string(text); }
std::string expand_multiplications(std::string_view text) { return std::string(text); }
std::string expand_multiply_number(std::string_view text) { return std::string(text); }

}  // namespace vyr::vi_normalizer
