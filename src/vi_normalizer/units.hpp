// Measures, currencies, percentages, powers of ten and scientific notation.
//
//   expand_power_of_ten("3 x 10^8")           // " ba nhân mười mũ tám "
//   expand_scientific_notation("1.5e-3")      // " một chấm năm nhân mười mũ trừ ba "
//   expand_compound_units("60 km/h")          // "sáu mươi ki lô mét trên giờ "
//   expand_units_and_currency("10kg, $100")
//   // "mười ki lô gam, một trăm __start_en__u s d__end_en__"
//   fix_english_style_numbers("1,234.5")      // "1234,5" (digits, for the later number passes)
//
// Unit and currency readings come from MEASUREMENT_KEY_VI, CURRENCY_KEY and
// CURRENCY_SYMBOL_MAP; English readings keep their __start_en__/__end_en__
// markers. Every pass takes the whole current text and returns a new one;
// thread safe. A search over the backtracking limit throws vyr::Panic.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

std::string expand_power_of_ten(std::string_view text);
std::string expand_scientific_notation(std::string_view text);
std::string expand_compound_units(std::string_view text);
// Five passes in order: currency before the number, currency after it,
// percentages, numbers with a unit, unit words standing alone. A minus sign
// before a number (at the start, after white space, "(", "[", ";", "," or
// ".") is read "âm": «giảm -5%» → «giảm âm năm phần trăm». The same holds for
// the numbers of expand_power_of_ten and expand_compound_units.
std::string expand_units_and_currency(std::string_view text);
std::string fix_english_style_numbers(std::string_view text);

// Every đồng sign "₫" written as "đ", so that every pass reads it as it
// reads "đ" in the same place: «100.000₫/ly» → «100.000đ/ly», «₫/kg» →
// «đ/kg». For the start of the pipeline, before any pass can take the sign
// for a separator. True with the result in `out`; false, leaving `out`
// alone, when the text holds no sign.
bool fold_dong_signs(std::string_view text, std::string& out);

// Reading of a number with "." / "," separators and at most one exponent:
// «1,500» → «một nghìn năm trăm», «1,5» → «một phẩy năm», «1.234,5» → «một
// nghìn hai trăm ba mươi bốn phẩy năm», «2E5» → «hai nhân mười mũ năm».
std::string expand_number_with_sep(std::string_view text);

// Reading of one unit token: «m» → «mét», «M» → «triệu», «KM» → «ki lô mét»;
// a token that is no key comes back as written.
std::string unit_word(std::string_view token);

// Per-match functions; each returns the text that replaces the whole match.
std::string read_power_of_ten(const text::Captures& m);
std::string read_scientific_number(const text::Captures& m);
std::string read_compound_unit(const text::Captures& m);
std::string read_currency_prefix(const text::Captures& m);
std::string read_currency_suffix(const text::Captures& m);
std::string read_percentage(const text::Captures& m);
std::string read_unit_with_number(const text::Captures& m);
std::string read_standalone_unit(const text::Captures& m);
std::string regroup_english_number(const text::Captures& m);

// Hash that lets a std::string-keyed map be searched with a string_view.
struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
using UnitsMap = std::unordered_map<std::string, std::string_view, TextHash, std::equal_to<>>;

// Unit and currency keys, lower-cased, to their readings: MEASUREMENT_KEY_VI,
// then CURRENCY_KEY without "%", then "m" → "mét" (82 keys). Built on first
// use, read-only after.
const UnitsMap& ALL_UNITS_MAP();

// The unit keys as written, longest (in UTF-8 bytes) first, escaped and
// joined with "|": the unit alternation of the number-with-unit pattern.
const std::string& UNITS_RE_PATTERN();

// CASED_UNIT_KEY's keys in the same form, matched in their written case only.
const std::string& CASED_UNITS_RE_PATTERN();

// Whether `token` names a unit of the tables as written: «kg», «KG», «m2»,
// «mAh», «Nm»; not a single capital («A», «B», «M»), which is a code letter
// or a magnitude, nor «mah».
bool is_unit_symbol(std::string_view token);

}  // namespace vyr::vi_normalizer
