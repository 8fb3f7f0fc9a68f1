#include "binding/errors.hpp"

#include <cstdio>
#include <exception>
#include <new>
#include <string>

#include "binding/convert.hpp"
#include "g2p/g2p.hpp"
#include "runtime/panic.hpp"

namespace vyr::binding {
namespace {

// Set once under the interpreter lock; a plain pointer rather than a
// function-local static, whose guard could deadlock against the lock.
PyObject* panic_type = nullptr;

// "a\nb" -> "vyr_g2p panicked: a\nb" written as one line ("\n" escaped).
void report_panic(std::string_view text) {
  std::string line = "vyr_g2p panicked: ";
  for (char c : text) {
    if (c == '\n') {
      line += "\\n";
    } else if (c == '\r') {
      line += "\\r";
    } else {
      line += c;
    }
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

void raise_os_error(std::string_view text) {
  PyRef message = to_str(text);
  if (message) PyErr_SetObject(PyExc_OSError, message.get());  // OSError(message)
}

}  // namespace

PyObject* panic_exception_type() {
  if (panic_type == nullptr) {
    panic_type = PyErr_NewExceptionWithDoc(
        "pyo3_runtime.PanicException",
        "Raised when the vyr_g2p core fails internally; carries the failure's text.",
        PyExc_BaseException, nullptr);
  }
  return panic_type;
}

void raise_panic(std::string_view text) {
  report_panic(text);
  PyObject* type = panic_exception_type();
  if (type == nullptr) return;
  PyRef message = to_str(text);
  if (!message) {
    PyErr_Clear();  // not UTF-8: keep what can be kept
    message = PyRef::steal(PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()),
                                                "replace"));
    if (!message) return;
  }
  PyRef error = PyRef::steal(PyObject_CallFunctionObjArgs(type, message.get(), nullptr));
  if (error) PyErr_SetObject(type, error.get());
}

void raise_dictionary_error(const g2p::IoError& error, PyObject* filename) {
  if (error.error_number() == 0) {
    raise_os_error(error.what());
    return;
  }
  PyRef number = PyRef::steal(PyLong_FromLong(error.error_number()));
  PyRef text = to_str(error.what());
  if (!number || !text) return;
  PyRef exception = PyRef::steal(PyObject_CallFunctionObjArgs(PyExc_OSError, number.get(),
                                                              text.get(), filename, nullptr));
  if (!exception) return;
  PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(exception.get())), exception.get());
}

void raise_current_exception() noexcept {
  try {
    try {
      throw;
    } catch (const g2p::IoError& e) {
      raise_os_error(e.what());
    } catch (const Panic& e) {
      raise_panic(e.what());
    } catch (const std::bad_alloc&) {
      PyErr_NoMemory();
    } catch (const std::exception& e) {
      raise_panic(e.what());
    } catch (...) {
      raise_panic("unknown internal failure");
    }
  } catch (...) {
    // Building the exception itself failed (out of memory).
    PyErr_NoMemory();
  }
}

void raise_chained(PyObject* type, const char* message) {
  PyObject* cause_type = nullptr;
  PyObject* cause = nullptr;
  PyObject* cause_traceback = nullptr;
  PyErr_Fetch(&cause_type, &cause, &cause_traceback);
  PyErr_NormalizeException(&cause_type, &cause, &cause_traceback);
  PyRef keep_type = PyRef::steal(cause_type);
  PyRef keep_cause = PyRef::steal(cause);
  PyRef keep_traceback = PyRef::steal(cause_traceback);
  if (keep_cause && keep_traceback) {
    PyException_SetTraceback(keep_cause.get(), keep_traceback.get());
  }
  PyRef text = PyRef::steal(PyUnicode_FromString(message));
  if (!text) return;
  PyRef error = PyRef::steal(PyObject_CallFunctionObjArgs(type, text.get(), nullptr));
  if (!error) return;
  if (keep_cause) PyException_SetCause(error.get(), keep_cause.release());  // steals
  PyErr_SetObject(type, error.get());
}

}  // namespace vyr::binding
