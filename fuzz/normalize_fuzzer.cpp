// Arbitrary UTF-8 through normalize. A hostile text may stop with the
// internal failure (the backtracking limit); anything else is a fault.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/panic.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/normalizer.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!vyr::text::is_valid_utf8(text)) return 0;  // the binding layer only passes UTF-8
  try {
    (void)vyr::vi_normalizer::Normalizer::normalize(text);
  } catch (const vyr::Panic&) {
  }
  return 0;
}
