// libFuzzer entry: arbitrary bytes as a phoneme dictionary file, loaded and
// asked about a fixed set of texts and about its own strings.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_targets.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vyr::fuzz::dictionary_one(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
