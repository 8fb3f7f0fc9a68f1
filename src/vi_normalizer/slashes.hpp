// Slash forms: a/b between letters, digits and numbers.
//
// Every pass takes the whole current text and returns a new one; thread safe.
#pragma once

#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

std::string normalize_slashes(std::string_view text);

// Per-match functions.
std::string read_slash_alnum(const text::Captures& m);
std::string read_slash_number(const text::Captures& m);

}  // namespace vyr::vi_normalizer
