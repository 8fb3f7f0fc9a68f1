// The one failure a caller can get from loading a dictionary.
#pragma once

#include <stdexcept>
#include <string>

namespace vyr::g2p {

// A dictionary that cannot be opened, mapped or recognised. what() is the
// text the caller sees: "{} (os error {})", "Invalid dictionary format", or
// "file name contained an unexpected NUL byte"; error_number() is the
// system's error number for the first kind, 0 for the others.
class IoError : public std::runtime_error {
 public:
  explicit IoError(const std::string& what, int error_number = 0)
      : std::runtime_error(what), error_number_(error_number) {}
  int error_number() const { return error_number_; }

 private:
  int error_number_;
};

}  // namespace vyr::g2p
