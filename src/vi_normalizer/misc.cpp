#include "vi_normalizer/misc.hpp"

// Not built yet: each pass hands its text on unchanged.

namespace vyr::vi_normalizer {

std::string normalize_others(std::string_view text) { return std::string(text); }
std::string read_standard_colon(const text::Captures& m) { return std::string(m.str()); }

}  // namespace vyr::vi_normalizer
