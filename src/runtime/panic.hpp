// The one internal failure type. Anything that goes wrong inside the module
// (a poisoned lock, a pattern engine error, a dictionary table pointing
// outside its file) throws Panic; the binding layer turns it into
// PanicException after writing a one-line report to standard error.
#pragma once

#include <stdexcept>
#include <string>

namespace vyr {

class Panic : public std::runtime_error {
 public:
  explicit Panic(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace vyr
