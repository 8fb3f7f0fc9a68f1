// The batch path shared by phonemize_batch and normalize_batch.
//
//   return run_batch(self, obj->borrows, arg[0],
//                    [&engine](std::string_view t) { return engine.phonemize(t); });
//
// Converts every input first (all conversion errors happen before any work),
// releases the interpreter lock, maps `single` over the texts on the worker
// pool, takes the lock back (also when a text failed), then builds the list.
// A failing text throws out of here (the first failing index wins) and the
// caller's guarded() turns it into PanicException: no partial result.
//
// While the workers run, the waiting caller takes the lock back for a moment
// every Pool::kStopPollInterval to let the interpreter run its pending
// signal handlers (Ctrl-C). If one raises, no further text is started, the
// texts in flight are waited for, and the handler's exception is raised; the
// pool and the object stay usable.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "binding/borrow.hpp"
#include "binding/convert.hpp"
#include "binding/python.hpp"
#include "runtime/pool.hpp"

namespace vyr::binding {

template <class F>
PyObject* run_batch(PyObject* self, std::atomic<size_t>& borrows, PyObject* texts_arg,
                    F&& single) {
  std::optional<std::vector<std::string>> texts = str_list_argument(texts_arg, "texts");
  if (!texts) return nullptr;
  SharedBorrow borrow(self, borrows);
  std::optional<std::vector<std::string>> results;
  {
    GilReleased unlocked;  // from here on no interpreter object is touched
    results = runtime::map_indexed(*texts, single, [&unlocked] {
      return unlocked.with_lock([] { return PyErr_CheckSignals() != 0; });
    });
  }
  if (!results) return nullptr;  // the signal handler's exception is set
  return to_str_list(*results).release();
}

}  // namespace vyr::binding
