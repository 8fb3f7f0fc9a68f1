#include "vi_normalizer/normalizer.hpp"

// Not built yet: the pipeline hands its text on unchanged.

namespace vyr::vi_normalizer {

std::string Normalizer::normalize(std::string_view text) { return clean_vietnamese_text(text); }

std::string clean_vietnamese_text(std::string_view text) { return std::string(text); }

const text::Regex& RE_EXTRA_SPACES() {
  static const text::Regex re("[ \\t\\xA0]+", text::Engine::kLinear);
  return re;
}

}  // namespace vyr::vi_normalizer
