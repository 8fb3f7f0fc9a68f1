// The shared borrow every method takes of its object for the length of the
// call. No method mutates an object, so a shared borrow never fails; the
// counter is atomic because a batch holds its borrow with the interpreter
// lock released.
//
//   SharedBorrow borrow(self, obj->borrows);   // also holds a reference to self
#pragma once

#include <atomic>
#include <cstddef>

#include "binding/python.hpp"

namespace vyr::binding {

class SharedBorrow {
 public:
  SharedBorrow(PyObject* self, std::atomic<size_t>& counter)
      : self_(PyRef::borrow(self)), counter_(counter) {
    counter_.fetch_add(1, std::memory_order_acquire);
  }
  // Needs the interpreter lock (it drops the reference).
  ~SharedBorrow() { counter_.fetch_sub(1, std::memory_order_release); }
  SharedBorrow(const SharedBorrow&) = delete;
  SharedBorrow& operator=(const SharedBorrow&) = delete;

 private:
  PyRef self_;
  std::atomic<size_t>& counter_;
};

}  // namespace vyr::binding
