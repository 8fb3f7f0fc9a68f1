#include "vi_normalizer/email.hpp"

// Not built yet: each pass hands its text on unchanged.

namespace vyr::vi_normalizer {

std::string normalize_emails(std::string_view text) { return std::string(text); }
std::string read_email_address(std::string_view text) { return std::string(text); }
std::string normalize_email_part(std::string_view part, bool) { return std::string(part); }
const text::Regex& RE_EMAIL() {
  static const text::Regex re("(?!)", text::Engine::kBacktracking);
  return re;
}
const text::Regex& RE_EMAIL_SPLIT() {
  static const text::Regex re("(?!)", text::Engine::kBacktracking);
  return re;
}
const text::Regex& RE_SUB_TOKENS() {
  static const text::Regex re("(?!)", text::Engine::kBacktracking);
  return re;
}

}  // namespace vyr::vi_normalizer
