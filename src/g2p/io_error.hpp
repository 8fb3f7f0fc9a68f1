// The one failure a caller can get from loading a dictionary.
#pragma once

#include <stdexcept>
#include <string>

namespace vyr::g2p {

// A dictionary that cannot be opened, mapped or recognised. what() is the
// text the caller sees: "{} (os error {})", "Invalid dictionary format", or
// "file name contained an unexpected NUL byte".
class IoError : public std::runtime_error {
 public:
  explicit IoError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace vyr::g2p
