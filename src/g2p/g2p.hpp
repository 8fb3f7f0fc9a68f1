// The phonemizer: a memory-mapped phoneme dictionary and the engine that
// turns text into pronunciations.
//
//   vyr::g2p::G2PEngine engine("dict.bin");        // throws vyr::g2p::IoError
//   std::string p = engine.phonemize("xin chào <en>hello</en>.");
//
// An engine may be used from many threads at once.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vyr::g2p {

// A dictionary that cannot be opened, mapped or recognised. what() is the
// text the caller sees: "{} (os error {})", "Invalid dictionary format", or
// "file name contained an unexpected NUL byte".
class IoError : public std::runtime_error {
 public:
  explicit IoError(const std::string& what) : std::runtime_error(what) {}
};

class G2PEngine {
 public:
  explicit G2PEngine(std::string_view dict_path);
  std::string phonemize(std::string_view text) const;
};

}  // namespace vyr::g2p
