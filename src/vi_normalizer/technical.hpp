// Web addresses, paths and technical identifiers read aloud.
//
//   normalize_technical("mở /usr/bin")
//   // "mở gạch __start_en__usr__end_en__ gạch __start_en__bin__end_en__"
//
// A match of RE_TECHNICAL is cut at its delimiters: delimiters become
// Vietnamese words, letter runs English words or spelled letters (the letter
// rule), digit runs digit words, domain suffixes their fixed readings, "@"
// "a còng". The pipeline finds the matches of RE_TECHNICAL, addresses carried
// on over letters beyond ASCII (find_technical_strings), in its technical
// step and masks what normalize_technical gives.
//
// Every function returns a new string and may run on any number of threads at
// once; the patterns are process-wide, compiled on first use. Matches are
// found in linear time, so no search runs into the backtracking limit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

const text::Regex& RE_TECHNICAL();
const text::Regex& RE_TECH_SPLIT();

// The matches of RE_TECHNICAL as [start, end) byte offsets, in the order and
// with the bounds that RE_TECHNICAL().for_each gives, found in time linear in
// the text. (The engine rescans a long run such as «1.1.1…» or «/./.…» to its
// end from every word boundary in it: 20 KB took seconds.)
std::vector<std::pair<size_t, size_t>> find_technical(std::string_view text);

// The technical strings the pipeline reads: the matches of find_technical,
// with every web address or path carried on over the letters beyond ASCII
// that stopped its match («https://x.vn/wiki/hà», not «https://x.vn/wiki»),
// to its last word character or symbol («https://x.vn/😀»), and the web
// addresses whose host stopped the pattern at once («https://đà.vn/a»,
// «www.báo.vn»), from their scheme or «www.» on in the same way. Matches they
// swallow go with them.
std::vector<std::pair<size_t, size_t>> find_technical_strings(std::string_view text);

std::string normalize_technical(std::string_view text);
// The reading of one match of RE_TECHNICAL.
std::string normalize_technical_match(std::string_view text);

}  // namespace vyr::vi_normalizer
