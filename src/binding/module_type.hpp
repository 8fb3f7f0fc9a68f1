// A class of this module created from its PyType_Spec, with
// __module__ "vyr_g2p" and a bare name.
//
//   static PyType_Spec spec = {"vyr_g2p.G2P", ...};
//   PyObject* type = type_in_module(spec);   // __name__ "G2P", __module__ "vyr_g2p"
//
// The interpreter takes __module__ from the part of the PyType_Spec name
// before the last dot; a name without one makes it warn (DeprecationWarning,
// an error under -W error) that the type has no __module__. So PyType_Spec
// carries the dotted name, and the name is set back to its last part at
// once: the type's own name (which the interpreter's messages quote, as in
// "'G2P' object has no attribute 'x'") carries no module prefix.
#pragma once

#include "binding/python.hpp"

namespace vyr::binding {

// A new reference to the type, or null with the error set. Needs the
// interpreter lock.
PyObject* type_in_module(PyType_Spec& spec);

}  // namespace vyr::binding
