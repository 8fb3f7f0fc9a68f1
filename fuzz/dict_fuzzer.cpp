// Arbitrary bytes as a dictionary file: loading and every lookup that
// phonemize makes must either work or fail cleanly, never read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.hpp"
#include "g2p/g2p.hpp"
#include "runtime/panic.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = vyr::fuzz::temp_path("dict");
  if (!vyr::fuzz::write_file(path, std::string_view(reinterpret_cast<const char*>(data), size))) {
    return 0;
  }
  try {
    vyr::g2p::G2PEngine engine(path);
    for (const char* text : {"xin chào", "a", "<en>hello world</en>.", "Đường ABC, 123!", "zzz"}) {
      try {
        (void)engine.phonemize(text);
      } catch (const vyr::Panic&) {
        // A table pointing outside the file: reported, and the engine stays usable.
      }
    }
  } catch (const vyr::g2p::IoError&) {
  }
  return 0;
}
