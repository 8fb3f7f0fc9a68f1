#include "binding/module_type.hpp"

#include <cstring>

namespace vyr::binding {

PyObject* type_in_module(PyType_Spec& spec) {
  PyRef type = PyRef::steal(PyType_FromSpec(&spec));
  if (!type) return nullptr;
  const char* dot = std::strrchr(spec.name, '.');
  if (dot == nullptr) return type.release();
  // Setting __name__ also points the type's internal name at the new string.
  PyRef bare_name = PyRef::steal(PyUnicode_FromString(dot + 1));
  if (!bare_name || PyObject_SetAttrString(type.get(), "__name__", bare_name.get()) < 0) {
    return nullptr;
  }
  return type.release();
}

}  // namespace vyr::binding
