// Arbitrary UTF-8 through phonemize on a fixed small dictionary.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz_support.hpp"
#include "g2p/g2p.hpp"
#include "text/unicode.hpp"

namespace {

const vyr::g2p::G2PEngine& engine() {
  static const std::unique_ptr<vyr::g2p::G2PEngine> e = [] {
    const std::string path = vyr::fuzz::temp_path("phonemize-dict");
    vyr::fuzz::write_file(
        path, vyr::fuzz::dictionary_bytes(
                  {{"xin", "sin"}, {"chào", "caw"}, {"hello", "<en>həˈloʊ"}, {"ba", "ɓa"},
                   {"na", "na"}, {"an", "an"}, {"b", "ɓe"}, {"x", "ik"}, {"\x1f", "\x1f"}},
                  {{"on", {"ɔn", "<en>ɒn"}}, {"me", {"mɛ", "<en>mi"}}, {"du", {"", "\x1fdu\x1f"}}}));
    return std::make_unique<vyr::g2p::G2PEngine>(path);
  }();
  return *e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!vyr::text::is_valid_utf8(text)) return 0;  // the binding layer only passes UTF-8
  (void)engine().phonemize(text);
  return 0;
}
