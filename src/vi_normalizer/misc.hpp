// The normalize_others sequence: letters, symbols, quotes, brackets,
// temperatures, colons, acronyms and stray characters.
//
// Every pass takes the whole current text and returns a new one; thread safe.
#pragma once

#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

std::string normalize_others(std::string_view text);

// Per-match functions.
std::string read_standard_colon(const text::Captures& m);

}  // namespace vyr::vi_normalizer
