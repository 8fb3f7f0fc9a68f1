#include "vi_normalizer/num2vi.hpp"

// Not built yet: each pass hands its text on unchanged.

namespace vyr::vi_normalizer {

std::string n2w(std::string_view text) { return std::string(text); }
std::string n2w_single(std::string_view text) { return std::string(text); }
std::string n2w_decimal(std::string_view text) { return std::string(text); }

}  // namespace vyr::vi_normalizer
