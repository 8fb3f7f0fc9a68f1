// Vietnamese readings of digit strings. Only the ASCII digits "0".."9" are
// read; every other character (signs, separators, letters, digits of other
// scripts) is ignored wherever it stands. A text without an ASCII digit comes
// back unchanged.
//
//   n2w("1005")         // "một nghìn không trăm lẻ năm"  (one whole number)
//   n2w_single("0912")  // "không chín một hai"            (digit by digit)
//   n2w_decimal("25")   // "hai lăm"                       (fraction digits)
//
// Plain functions of their argument: no state, no failure, any number of
// digits, safe from any thread. Words are separated by exactly one space.
#pragma once

#include <string>
#include <string_view>

namespace vyr::vi_normalizer {

// The digits as one cardinal number, grouped by thousands.
std::string n2w(std::string_view text);
// Each digit by its word, after a leading "+84" has become "0".
std::string n2w_single(std::string_view text);
// The digits as a number standing on its own: two or more digits that start
// with "0" are a code, read digit by digit («007» → «không không bảy»); any
// other digits are one cardinal, as n2w reads them.
std::string n2w_code_or_cardinal(std::string_view text);
// Each digit by its word; a final 5 after a digit other than 0 reads "lăm".
std::string n2w_decimal(std::string_view text);

}  // namespace vyr::vi_normalizer
