// The two Python classes of the module, G2P and Normalizer.
//
//   PyObject* type = g2p_type();   // borrowed; created on the first call
//
// Each type object is created once per process (PyType_FromSpec: a heap type
// named without a module prefix, __module__ "vyr_g2p", not subclassable, no
// __dict__ or weak references) and never freed. Need the interpreter lock;
// null with the error set on failure.
#pragma once

#include "binding/python.hpp"

namespace vyr::binding {

PyObject* g2p_type();
PyObject* normalizer_type();

}  // namespace vyr::binding
