// Number expressions: multiplication chains and the late number pass.
//
// Every pass takes the whole current text and returns a new one; thread safe.
#pragma once

#include <string>
#include <string_view>

namespace vyr::vi_normalizer {

std::string normalize_number_vi(std::string_view text);
std::string expand_multiplications(std::string_view text);
std::string expand_multiply_number(std::string_view text);

}  // namespace vyr::vi_normalizer
