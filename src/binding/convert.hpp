// Conversion between Python objects and the core's UTF-8 strings, with the
// module's TypeError texts.
//
//   std::optional<std::string_view> text = str_argument(arg[0], "text");
//   if (!text) return nullptr;                 // TypeError or UnicodeEncodeError set
//   return to_str(core(*text)).release();
//
// All functions need the interpreter lock.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "binding/python.hpp"

namespace vyr::binding {

// The UTF-8 form of a str (or str subclass) argument, borrowed from `obj`
// and valid while it lives. Otherwise nullopt with "argument '{param}': ..."
// set, or the UnicodeEncodeError of a lone surrogate unchanged.
std::optional<std::string_view> str_argument(PyObject* obj, const char* param);

// A file path argument: a str, or an os.PathLike whose __fspath__ gives a
// str or bytes. `bytes` is the name to open (the UTF-8 form of a str, the
// bytes as they are), borrowed from `filename`, the str or bytes itself,
// which error reports name as open() does.
struct PathArgument {
  PyRef filename;
  std::string_view bytes;
};
// nullopt with "argument '{param}': ..." set for any other object (a bytes
// object itself included), or the error of __fspath__ or of a lone
// surrogate as str_argument gives them.
std::optional<PathArgument> path_argument(PyObject* obj, const char* param);

// Owned copies of the strings of a sequence argument (a str itself is
// refused). nullopt with the error set.
std::optional<std::vector<std::string>> str_list_argument(PyObject* obj, const char* param);

// A new str from UTF-8; null with the error set.
PyRef to_str(std::string_view utf8);
// A new list of new strs, in order; null with the error set.
PyRef to_str_list(const std::vector<std::string>& items);

}  // namespace vyr::binding
