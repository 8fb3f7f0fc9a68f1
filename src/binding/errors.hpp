// The one place where failures of the core become Python exceptions.
//
//   PyObject* method(...) noexcept {
//     return guarded([&]() -> PyObject* { ... core call that may throw ... });
//   }
//
// vyr::g2p::IoError -> OSError with one argument (errno stays None);
// vyr::Panic and any other exception -> pyo3_runtime.PanicException, after a
// one-line report on standard error; std::bad_alloc -> MemoryError.
// Everything here needs the interpreter lock.
#pragma once

#include <string_view>

#include "binding/python.hpp"
#include "g2p/io_error.hpp"

namespace vyr::binding {

// The PanicException class (base BaseException), created once per process
// and never freed. Borrowed; null with the error set if it cannot be made.
PyObject* panic_exception_type();

// Writes the report to standard error and raises PanicException(text).
void raise_panic(std::string_view text);

// A dictionary that cannot be loaded, as OSError. A failure of the system
// (error number e) raises OSError(e, text, filename), which the interpreter
// makes the subclass of that number (FileNotFoundError for a missing
// file); the others OSError(text), without errno.
void raise_dictionary_error(const g2p::IoError& error, PyObject* filename);

// Sets the Python error for the exception being handled. Call only inside a
// catch block. Never throws.
void raise_current_exception() noexcept;

// Sets `type(message)` with the current error as its __cause__.
void raise_chained(PyObject* type, const char* message);

// Runs f (returning a new reference or null with the error set) so that no
// C++ exception leaves it.
template <class F>
PyObject* guarded(F&& f) noexcept {
  try {
    return f();
  } catch (...) {
    raise_current_exception();
    return nullptr;
  }
}

}  // namespace vyr::binding
