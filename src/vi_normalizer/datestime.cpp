#include "vi_normalizer/datestime.hpp"

// Not built yet: each pass hands its text on unchanged.

namespace vyr::vi_normalizer {

std::string normalize_date(std::string_view text) { return std::string(text); }
std::string normalize_time(std::string_view text) { return std::string(text); }

}  // namespace vyr::vi_normalizer
