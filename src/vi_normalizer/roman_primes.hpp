// Roman numerals, primes and versions.
//
// Every pass takes the whole current text and returns a new one; thread safe.
#pragma once

#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

const text::Regex& RE_ROMAN_NUMBER();
const text::Regex& RE_PRIME();
const text::Regex& RE_PRIME_DIGIT();
const text::Regex& RE_VERSION();


// Per-match functions.
std::string read_roman_numeral(const text::Captures& m);
std::string read_prime(const text::Captures& m);
std::string read_digit_prime(const text::Captures& m);
std::string read_version(const text::Captures& m);

}  // namespace vyr::vi_normalizer
