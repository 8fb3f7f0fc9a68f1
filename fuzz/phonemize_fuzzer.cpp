// libFuzzer entry: arbitrary bytes through G2PEngine::phonemize on a fixed
// small dictionary.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_targets.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vyr::fuzz::phonemize_one(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
