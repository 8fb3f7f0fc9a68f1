// The pipeline's number passes: ranges, long digit strings, decimal commas
// and thousands dots.
//
// Every pass takes the whole current text and returns a new one; thread safe.
#pragma once

#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

std::string read_ranges(std::string_view text);
std::string read_long_numbers(std::string_view text);
std::string read_floats_with_comma(std::string_view text);
std::string remove_dot_separators(std::string_view text);

// Per-match functions.
std::string read_range(const text::Captures& m);
std::string read_long_number(const text::Captures& m);
std::string read_float_with_comma(const text::Captures& m);
std::string strip_dot_separators(const text::Captures& m);

}  // namespace vyr::vi_normalizer
