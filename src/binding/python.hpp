// The one way the binding layer includes the CPython API: the limited API of
// 3.10, so that one abi3 module serves every CPython from 3.10 on. The core
// (src/text, src/runtime, src/g2p, src/vi_normalizer) never includes this.
//
//   PyRef s = PyRef::steal(PyUnicode_FromString("x"));   // owns the reference
//   if (!s) return nullptr;                              // error already set
//   return s.release();                                  // hands it to the caller
#pragma once

#ifndef Py_LIMITED_API
#define Py_LIMITED_API 0x030A0000
#endif
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <utility>

namespace vyr::binding {

// An owned (strong) reference, released on destruction. Needs the
// interpreter lock wherever it is reset or destroyed.
class PyRef {
 public:
  PyRef() = default;
  static PyRef steal(PyObject* o) { return PyRef(o); }
  static PyRef borrow(PyObject* o) {
    Py_XINCREF(o);
    return PyRef(o);
  }
  PyRef(PyRef&& other) noexcept : obj_(other.release()) {}
  PyRef& operator=(PyRef&& other) noexcept {
    PyRef(std::move(other)).swap(*this);
    return *this;
  }
  PyRef(const PyRef&) = delete;
  PyRef& operator=(const PyRef&) = delete;
  ~PyRef() { Py_XDECREF(obj_); }

  PyObject* get() const { return obj_; }
  PyObject* release() { return std::exchange(obj_, nullptr); }
  explicit operator bool() const { return obj_ != nullptr; }
  void swap(PyRef& other) noexcept { std::swap(obj_, other.obj_); }

 private:
  explicit PyRef(PyObject* o) : obj_(o) {}
  PyObject* obj_ = nullptr;
};

// The interpreter lock released for the scope, and always taken back, also
// when the scope is left by an exception.
class GilReleased {
 public:
  GilReleased() : state_(PyEval_SaveThread()) {}
  ~GilReleased() { PyEval_RestoreThread(state_); }

  // Runs f() with the lock taken back for its length; returns what f returns.
  template <class F>
  decltype(auto) with_lock(F&& f) {
    PyEval_RestoreThread(state_);
    struct Release {
      PyThreadState*& state;
      ~Release() { state = PyEval_SaveThread(); }
    } release{state_};
    return std::forward<F>(f)();
  }

  GilReleased(const GilReleased&) = delete;
  GilReleased& operator=(const GilReleased&) = delete;

 private:
  PyThreadState* state_;
};

}  // namespace vyr::binding
