#include "vi_normalizer/acronyms.hpp"

// Not built yet: each pass hands its text on unchanged.

namespace vyr::vi_normalizer {

std::string expand_abbreviations(std::string_view text) { return std::string(text); }
std::string expand_standalone_letters(std::string_view text) { return std::string(text); }
const text::Regex& RE_ACRONYMS_EXCEPTIONS() {
  static const text::Regex re("(?!)", text::Engine::kBacktracking);
  return re;
}
const text::Regex& RE_ACRONYM() {
  static const text::Regex re("(?!)", text::Engine::kBacktracking);
  return re;
}
std::string read_acronym(const text::Captures& m) { return std::string(m.str()); }

}  // namespace vyr::vi_normalizer
