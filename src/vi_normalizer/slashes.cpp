#include "vi_normalizer/slashes.hpp"

// Not built yet: each pass hands its text on unchanged.

namespace vyr::vi_normalizer {

std::string normalize_slashes(std::string_view text) { return std::string(text); }
std::string read_slash_alnum(const text::Captures& m) { return std::string(m.str()); }
std::string read_slash_number(const text::Captures& m) { return std::string(m.str()); }

}  // namespace vyr::vi_normalizer
