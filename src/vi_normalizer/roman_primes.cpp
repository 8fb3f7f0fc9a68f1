#include "vi_normalizer/roman_primes.hpp"

// Not built yet: each pass hands its text on unchanged.

namespace vyr::vi_normalizer {

const text::Regex& RE_ROMAN_NUMBER() {
  static const text::Regex re("(?!)", text::Engine::kBacktracking);
  return re;
}
const text::Regex& RE_PRIME() {
  static const text::Regex re("(?!)", text::Engine::kBacktracking);
  return re;
}
const text::Regex& RE_PRIME_DIGIT() {
  static const text::Regex re("(?!)", text::Engine::kBacktracking);
  return re;
}
const text::Regex& RE_VERSION() {
  static const text::Regex re("(?!)", text::Engine::kBacktracking);
  return re;
}
std::string read_roman_numeral(const text::Captures& m) { return std::string(m.str()); }
std::string read_prime(const text::Captures& m) { return std::string(m.str()); }
std::string read_digit_prime(const text::Captures& m) { return std::string(m.str()); }
std::string read_version(const text::Captures& m) { return std::string(m.str()); }

}  // namespace vyr::vi_normalizer
