// Web addresses, paths and technical identifiers read aloud.
//
//   normalize_technical("mở /usr/bin")
//   // "mở gạch __start_en__usr__end_en__ gạch __start_en__bin__end_en__"
//
// A match of RE_TECHNICAL is cut at its delimiters: delimiters become
// Vietnamese words, letter runs English words or spelled letters (the letter
// rule), digit runs digit words, domain suffixes their fixed readings. The
// pipeline searches with RE_TECHNICAL in its technical step and masks what
// normalize_technical gives.
//
// Every function returns a new string and may run on any number of threads at
// once; the patterns are process-wide, compiled on first use. A search that
// exceeds the backtracking limit throws vyr::Panic.
#pragma once

#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

const text::Regex& RE_TECHNICAL();
const text::Regex& RE_TECH_SPLIT();

std::string normalize_technical(std::string_view text);
// The reading of one match of RE_TECHNICAL.
std::string normalize_technical_match(std::string_view text);

}  // namespace vyr::vi_normalizer
