// Binding of call arguments to a callable's parameters, with the TypeError
// texts of the module's calling convention.
//
//   static constexpr const char* kParams[] = {"text"};
//   static constexpr Signature kPhonemize{"G2P.phonemize", kParams, 1};
//   PyObject* arg[1] = {};
//   if (!bind_fastcall(kPhonemize, args, nargs, kwnames, arg)) return nullptr;
//
// Every parameter may be given by position or by keyword; there are no
// catch-all parameters. Slots come back as borrowed references, nullptr for a
// parameter that was not given.
#pragma once

#include <cstddef>
#include <span>

#include "binding/python.hpp"

namespace vyr::binding {

struct Signature {
  const char* full_name;               // "G2P.phonemize": the messages add "()"
  std::span<const char* const> params;  // in positional order
  size_t required;                     // the first `required` params must be given
};

// For METH_FASTCALL | METH_KEYWORDS: positional args[0..nargs), then one value
// per name in the kwnames tuple. False with TypeError set.
bool bind_fastcall(const Signature& sig, PyObject* const* args, Py_ssize_t nargs,
                   PyObject* kwnames, std::span<PyObject*> out);

// For tp_new: an argument tuple and an optional keyword dict.
bool bind_tuple_dict(const Signature& sig, PyObject* args, PyObject* kwargs,
                     std::span<PyObject*> out);

}  // namespace vyr::binding
