// The pipeline's number passes: ranges, long digit strings, decimal commas
// and thousands dots.
//
//   std::string out;
//   read_ranges("5-10 ngày", out);             // out = " 5 đến 10  ngày"
//   read_long_numbers("số 12345678", out);     // out = "số  một hai ba bốn năm sáu bảy tám "
//   read_floats_with_comma("2,50%", out);      // out = " hai phẩy năm phần trăm "
//   remove_dot_separators("1.234.567", out);   // out = "1234567"
//
// Each pass is one replace-all of its pattern (backtracking engine) with its
// per-match function. It returns true with the rewritten text in `out`, or
// false, leaving `out` alone, when nothing matched. The numbers of a range
// stay digits for the later passes; after a score word («tỷ số 2-1») they
// are two numbers, with no range word. A search over the backtracking limit
// throws vyr::Panic. Stateless and thread safe.
#pragma once

#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

const text::Regex& RE_RANGE();
const text::Regex& RE_LONG_NUM();
const text::Regex& RE_FLOAT_WITH_COMMA();
const text::Regex& RE_STRIP_DOT_SEP();

// Numbers in thousands groups parted by single white space, as the late
// number pass groups them, written with dots: «100 000đ» → «100.000đ», so
// the measure and currency passes read the whole number; a number none of
// them reads loses its dots with the other thousands dots and reads as
// before. A decimal point after the groups becomes a decimal comma («1 234.5»
// → «1.234,5»). «2020 100», «007 123» and «1 234.5.6» stay as written.
bool write_spaced_thousands_with_dots(std::string_view text, std::string& out);
// A decimal point in a number glued to letters, which the letter passes
// read with the whole part and would leave as a stop: read «chấm» and the
// fraction digits now. «PM2.5» → «PM2 chấm năm», «f/1.8» → «f/1 chấm tám»,
// «H2.5O» → «H2 chấm năm O»; «v1.2.3» and «3.14» stay.
bool read_decimal_points_after_letters(std::string_view text, std::string& out);
bool read_ranges(std::string_view text, std::string& out);
bool read_long_numbers(std::string_view text, std::string& out);
bool read_floats_with_comma(std::string_view text, std::string& out);
bool remove_dot_separators(std::string_view text, std::string& out);

// Per-match functions; each returns the text that replaces the whole match.
// Reads the words before the match from m.subject(), so it costs a scan of
// the subject per call; read_ranges indexes the words once per pass instead.
std::string read_range(const text::Captures& m);
std::string read_long_number(const text::Captures& m);
std::string read_float_with_comma(const text::Captures& m);
std::string strip_dot_separators(const text::Captures& m);

}  // namespace vyr::vi_normalizer
