#include "binding/arguments.hpp"

#include <string>
#include <string_view>
#include <vector>

#include "binding/messages.hpp"

namespace vyr::binding {
namespace {

bool too_many(const Signature& sig, size_t given) {
  std::string msg = too_many_positional(sig.full_name, sig.required, sig.params.size(), given);
  PyErr_SetString(PyExc_TypeError, msg.c_str());
  return false;
}

// Index of the parameter called `name`, or -1. A name that is not a str or
// has no UTF-8 form is no parameter's name.
Py_ssize_t find_param(const Signature& sig, PyObject* name) {
  if (!PyUnicode_Check(name)) return -1;
  Py_ssize_t size = 0;
  const char* utf8 = PyUnicode_AsUTF8AndSize(name, &size);
  if (utf8 == nullptr) {
    PyErr_Clear();
    return -1;
  }
  std::string_view wanted(utf8, static_cast<size_t>(size));
  for (size_t i = 0; i < sig.params.size(); ++i) {
    if (wanted == sig.params[i]) return static_cast<Py_ssize_t>(i);
  }
  return -1;
}

// Puts one keyword argument into its slot, in the caller's order.
bool place_keyword(const Signature& sig, PyObject* name, PyObject* value,
                   std::span<PyObject*> out) {
  Py_ssize_t i = find_param(sig, name);
  if (i < 0) {
    // "%S" is str(name): it works for any name the caller managed to pass.
    PyErr_Format(PyExc_TypeError, "%s() got an unexpected keyword argument '%S'", sig.full_name,
                 name);
    return false;
  }
  if (out[static_cast<size_t>(i)] != nullptr) {
    std::string msg = multiple_values(sig.full_name, sig.params[static_cast<size_t>(i)]);
    PyErr_SetString(PyExc_TypeError, msg.c_str());
    return false;
  }
  out[static_cast<size_t>(i)] = value;
  return true;
}

bool check_required(const Signature& sig, std::span<PyObject*> out) {
  std::vector<std::string_view> missing;
  for (size_t i = 0; i < sig.required; ++i) {
    if (out[i] == nullptr) missing.emplace_back(sig.params[i]);
  }
  if (missing.empty()) return true;
  std::string msg = missing_required(sig.full_name, missing);
  PyErr_SetString(PyExc_TypeError, msg.c_str());
  return false;
}

}  // namespace

bool bind_fastcall(const Signature& sig, PyObject* const* args, Py_ssize_t nargs,
                   PyObject* kwnames, std::span<PyObject*> out) {
  size_t given = static_cast<size_t>(nargs);
  if (given > sig.params.size()) return too_many(sig, given);
  for (size_t i = 0; i < given; ++i) out[i] = args[i];
  if (kwnames != nullptr) {
    Py_ssize_t count = PyTuple_Size(kwnames);
    if (count < 0) return false;
    for (Py_ssize_t k = 0; k < count; ++k) {
      PyObject* name = PyTuple_GetItem(kwnames, k);
      if (name == nullptr) return false;
      if (!place_keyword(sig, name, args[nargs + k], out)) return false;
    }
  }
  return check_required(sig, out);
}

bool bind_tuple_dict(const Signature& sig, PyObject* args, PyObject* kwargs,
                     std::span<PyObject*> out) {
  Py_ssize_t nargs = PyTuple_Size(args);
  if (nargs < 0) return false;
  size_t given = static_cast<size_t>(nargs);
  if (given > sig.params.size()) return too_many(sig, given);
  for (size_t i = 0; i < given; ++i) {
    out[i] = PyTuple_GetItem(args, static_cast<Py_ssize_t>(i));
    if (out[i] == nullptr) return false;
  }
  if (kwargs != nullptr) {
    // A dict keeps the caller's order.
    Py_ssize_t pos = 0;
    PyObject* name = nullptr;
    PyObject* value = nullptr;
    while (PyDict_Next(kwargs, &pos, &name, &value)) {
      if (!place_keyword(sig, name, value, out)) return false;
    }
  }
  return check_required(sig, out);
}

}  // namespace vyr::binding
