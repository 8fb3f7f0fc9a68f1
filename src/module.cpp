// PyInit_vyr_g2p: the module object, created once per process, with the
// classes G2P and Normalizer, the exception PanicException and __version__.

#include <atomic>
#include <cstdint>
#include <string>

#include "binding/classes.hpp"
#include "binding/errors.hpp"
#include "binding/python.hpp"

namespace vyr::binding {
namespace {

PyModuleDef module_def = {
    PyModuleDef_HEAD_INIT,
    "vyr_g2p",
    "vyr_g2p: the native core of the vyr-g2p package",
    0,  // no per-module state
    nullptr, nullptr, nullptr, nullptr, nullptr,
};

// The interpreter that first imported the module (-1: none yet), and the
// module object, kept for the life of the process.
std::atomic<int64_t> owner_interpreter{-1};
PyObject* module_object = nullptr;

// False with ImportError set when another interpreter owns the module.
bool claim_interpreter() {
  int64_t id = PyInterpreterState_GetID(PyInterpreterState_Get());
  if (id == -1) {
    if (!PyErr_Occurred()) {
      PyErr_SetString(PyExc_SystemError, "attempted to fetch exception but none was set");
    }
    return false;
  }
  int64_t expected = -1;
  if (owner_interpreter.compare_exchange_strong(expected, id) || expected == id) return true;
  PyErr_SetString(PyExc_ImportError,
                  "vyr_g2p does not support sub-interpreters: it can be imported only in the "
                  "interpreter that imported it first");
  return false;
}

// module.__all__, created empty when missing. Borrowed-style result as PyRef.
PyRef all_list(PyObject* module) {
  PyRef all = PyRef::steal(PyObject_GetAttrString(module, "__all__"));
  if (all) {
    if (PyList_Check(all.get())) return all;
    PyErr_SetString(PyExc_TypeError, "'__all__' of the module is not a list");
    return PyRef();
  }
  if (!PyErr_ExceptionMatches(PyExc_AttributeError)) return PyRef();
  PyErr_Clear();
  all = PyRef::steal(PyList_New(0));
  if (!all || PyObject_SetAttrString(module, "__all__", all.get()) < 0) return PyRef();
  return all;
}

// Creates the type if needed, lists it in __all__ and sets the attribute.
bool add_class(PyObject* module, const char* name, PyObject* (*type_of)()) {
  PyObject* type = type_of();
  if (type == nullptr) {
    std::string message = std::string("An error occurred while initializing class ") + name;
    raise_chained(PyExc_RuntimeError, message.c_str());
    return false;
  }
  PyRef all = all_list(module);
  if (!all) return false;
  PyRef name_str = PyRef::steal(PyUnicode_FromString(name));
  if (!name_str || PyList_Append(all.get(), name_str.get()) < 0) return false;
  return PyObject_SetAttrString(module, name, type) == 0;
}

PyObject* init_module() {
  if (!claim_interpreter()) return nullptr;
  if (module_object != nullptr) return Py_NewRef(module_object);
  PyRef module = PyRef::steal(PyModule_Create2(&module_def, PYTHON_ABI_VERSION));
  if (!module) return nullptr;
  if (!add_class(module.get(), "G2P", &g2p_type)) return nullptr;
  if (!add_class(module.get(), "Normalizer", &normalizer_type)) return nullptr;
  // The class that internal failures raise, so that callers can name it
  // (its own name stays pyo3_runtime.PanicException). Not in __all__.
  PyObject* panic = panic_exception_type();
  if (panic == nullptr || PyModule_AddObjectRef(module.get(), "PanicException", panic) < 0) {
    return nullptr;
  }
  // VYR_VERSION: the version of pyproject.toml, passed in by CMake.
  if (PyModule_AddStringConstant(module.get(), "__version__", VYR_VERSION) < 0) return nullptr;
  module_object = module.release();  // the process keeps this reference
  return Py_NewRef(module_object);
}

}  // namespace
}  // namespace vyr::binding

PyMODINIT_FUNC PyInit_vyr_g2p(void) {
  return vyr::binding::guarded([] { return vyr::binding::init_module(); });
}
