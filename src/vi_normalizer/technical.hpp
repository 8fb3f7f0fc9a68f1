// Web addresses, paths and technical identifiers read aloud.
//
// Every pass takes the whole current text and returns a new one; thread safe.
#pragma once

#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

const text::Regex& RE_TECHNICAL();
const text::Regex& RE_TECH_SPLIT();

std::string normalize_technical(std::string_view text);
std::string normalize_technical_match(std::string_view text);

}  // namespace vyr::vi_normalizer
