// The normaliser: Normalizer::normalize and its pipeline clean_vietnamese_text.
//
//   std::string line = vyr::vi_normalizer::Normalizer::normalize("Ngày 2/9/1945 ...");
//
// Every call keeps its state (masks, lifted English chunks) to itself and
// reads only process-wide patterns and tables, so any number of calls may run
// at once on any threads.
#pragma once

#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

class Normalizer {
 public:
  // NFC, lift the caller's <en>...</en> chunks, run clean_vietnamese_text,
  // tidy spaces, put the chunks back. Reads nothing of an instance.
  static std::string normalize(std::string_view text);
};

// The 39-step rewriting pipeline; returns one lower-case line.
std::string clean_vietnamese_text(std::string_view text);

// Runs of spaces, tabs and no-break spaces.
const text::Regex& RE_EXTRA_SPACES();

}  // namespace vyr::vi_normalizer
