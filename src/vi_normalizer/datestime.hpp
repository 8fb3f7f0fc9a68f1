// Dates, months, quarters and clock times written in digits.
//
//   normalize_date("từ 1/5 đến 30/6/2024")
//   // "từ ngày một tháng năm đến ngày ba mươi tháng sáu năm hai nghìn không trăm hai mươi bốn"
//   normalize_time("lúc 8g30")   // "lúc tám giờ ba mươi phút"
//
// normalize_date runs nine replace-all passes: ISO "T"/"Z" set apart, ISO
// dates, the zero of a day or month after its word («ngày 01»), quarters with
// a year («quý 2/2024»), periods with a year («Q1/2024»), spans of dates
// («30/4-1/5», «15-20/6»), full dates, months with a year, and day/month
// pairs (a date, a fraction or, joined by a dash, a range or score left to
// the range step, by the words around them). A date reading leaves out a
// word the text already says beside it («ngày 15/8» has one «ngày»); two
// words that both stood in the text stay. normalize_time runs four:
// hours-minutes-seconds, hours-minutes, an hour with a part of the day, an
// hour after «lúc». A form a reader finds invalid (day or month out of range,
// minutes of 60 or more) is written back unchanged and left to later passes,
// and so is a number over code («12/3A», «5/2023A», «12/3h30»), which
// normalize_slashes reads. A reading never runs into a letter glued to its
// match («3-5A» → «ba trên năm A»).
//
// Every function returns a new string and may run on any number of threads at
// once; the patterns are process-wide, compiled on first use (backtracking
// engine). A search over the backtracking limit throws vyr::Panic.
#pragma once

#include <string>
#include <string_view>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

std::string normalize_date(std::string_view text);
std::string normalize_time(std::string_view text);

// Patterns of normalize_date, in the order of its passes.
const text::Regex& RE_ISO_FIX();
const text::Regex& RE_YYYY_MM_DD();
const text::Regex& RE_ZERO_PADDED_DAY_MONTH();
const text::Regex& RE_QUARTER_YEAR();
const text::Regex& RE_PERIOD_YEAR();
const text::Regex& RE_DATE_SPAN();
const text::Regex& RE_FULL_DATE();
const text::Regex& RE_MONTH_YEAR();
const text::Regex& RE_DAY_MONTH();

// Patterns of normalize_time, in the order of its passes.
const text::Regex& RE_FULL_TIME();
const text::Regex& RE_TIME();
const text::Regex& RE_HOUR_CONTEXT();
const text::Regex& RE_LUC_HOUR();

// Per-match functions; each returns the text that replaces the whole match.
std::string split_iso_timestamp(const text::Captures& m);
std::string read_iso_date(const text::Captures& m);
std::string read_quarter_year(const text::Captures& m);
std::string read_period_year(const text::Captures& m);
std::string read_full_date(const text::Captures& m);
std::string read_month_year(const text::Captures& m);
// Reads the three words before and after the match from m.subject(), so it
// costs a scan of the subject per call; normalize_date indexes the words once
// per pass instead.
std::string read_day_month(const text::Captures& m);

std::string read_full_time(const text::Captures& m);
std::string read_time(const text::Captures& m);
std::string read_hour_context(const text::Captures& m);
std::string read_luc_hour(const text::Captures& m);

}  // namespace vyr::vi_normalizer
