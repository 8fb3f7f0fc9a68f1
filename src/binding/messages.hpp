// The texts of the argument-binding errors, as plain strings (no CPython
// here, so that the wording can be tested from C++).
//
//   too_many_positional("G2P.__new__", 1, 1, 2)
//     -> "G2P.__new__() takes 1 positional arguments but 2 were given"
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vyr::binding {

// "{}() takes {} positional arguments but {} {} given", or "takes from {} to
// {}" when some parameters are optional.
inline std::string too_many_positional(std::string_view full_name, size_t required,
                                       size_t params, size_t given) {
  std::string msg(full_name);
  msg += "() takes ";
  if (required != params) {
    msg += "from " + std::to_string(required) + " to " + std::to_string(params);
  } else {
    msg += std::to_string(params);
  }
  msg += " positional arguments but " + std::to_string(given) + (given == 1 ? " was" : " were");
  msg += " given";
  return msg;
}

// "{}() got multiple values for argument '{}'"
inline std::string multiple_values(std::string_view full_name, std::string_view param) {
  return std::string(full_name) + "() got multiple values for argument '" + std::string(param) +
         "'";
}

// 'a' / 'a' and 'b' / 'a', 'b', and 'c'
inline std::string quoted_name_list(const std::vector<std::string_view>& names) {
  std::string out;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i != 0) {
      if (names.size() > 2) out += ',';
      out += (i + 1 == names.size()) ? " and " : " ";
    }
    out += '\'';
    out += names[i];
    out += '\'';
  }
  return out;
}

// "{}() missing {} required positional {}: " + the quoted names
inline std::string missing_required(std::string_view full_name,
                                    const std::vector<std::string_view>& names) {
  return std::string(full_name) + "() missing " + std::to_string(names.size()) +
         " required positional " + (names.size() == 1 ? "argument" : "arguments") + ": " +
         quoted_name_list(names);
}

}  // namespace vyr::binding
