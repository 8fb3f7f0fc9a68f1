#include "vi_normalizer/technical.hpp"

// Not built yet: each pass hands its text on unchanged.

namespace vyr::vi_normalizer {

std::string normalize_technical(std::string_view text) { return std::string(text); }
std::string normalize_technical_match(std::string_view text) { return std::string(text); }
const text::Regex& RE_TECHNICAL() {
  static const text::Regex re("(?!)", text::Engine::kBacktracking);
  return re;
}
const text::Regex& RE_TECH_SPLIT() {
  static const text::Regex re("(?!)", text::Engine::kBacktracking);
  return re;
}

}  // namespace vyr::vi_normalizer
