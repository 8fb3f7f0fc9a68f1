// Acronyms, their exceptions, abbreviations and standalone letters.
//
// Every pass takes the whole current text and returns a new one; thread safe.
#pragma once

#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

const text::Regex& RE_ACRONYMS_EXCEPTIONS();
const text::Regex& RE_ACRONYM();

std::string expand_abbreviations(std::string_view text);
std::string expand_standalone_letters(std::string_view text);

// Per-match functions.
std::string read_acronym(const text::Captures& m);

}  // namespace vyr::vi_normalizer
