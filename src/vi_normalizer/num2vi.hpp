// Vietnamese readings of digit strings. Only ASCII digits are read; a text
// without them comes back unchanged.
//
// Every pass takes the whole current text and returns a new one; thread safe.
#pragma once

#include <string>
#include <string_view>

namespace vyr::vi_normalizer {

std::string n2w(std::string_view text);
std::string n2w_single(std::string_view text);
std::string n2w_decimal(std::string_view text);

}  // namespace vyr::vi_normalizer
