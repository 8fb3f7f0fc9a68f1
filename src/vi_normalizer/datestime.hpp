// Dates, months, quarters and clock times.
//
// Every pass takes the whole current text and returns a new one; thread safe.
#pragma once

#include <string>
#include <string_view>

namespace vyr::vi_normalizer {

std::string normalize_date(std::string_view text);
std::string normalize_time(std::string_view text);

}  // namespace vyr::vi_normalizer
