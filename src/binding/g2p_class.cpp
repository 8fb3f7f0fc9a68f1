// G2P(dict_path): a G2PEngine inside a Python object.

#include <atomic>
#include <memory>
#include <string_view>

#include "binding/arguments.hpp"
#include "binding/batch.hpp"
#include "binding/borrow.hpp"
#include "binding/classes.hpp"
#include "binding/convert.hpp"
#include "binding/errors.hpp"
#include "binding/module_type.hpp"
#include "g2p/g2p.hpp"

namespace vyr::binding {
namespace {

// The instance record. The fields after the header are constructed in place
// by tp_new and destroyed by tp_dealloc.
struct G2PObject {
  PyObject_HEAD
  std::unique_ptr<g2p::G2PEngine> engine;
  std::atomic<size_t> borrows;
};

G2PObject& as_g2p(PyObject* self) { return *reinterpret_cast<G2PObject*>(self); }

constexpr const char* kDictPath[] = {"dict_path"};
constexpr const char* kText[] = {"text"};
constexpr const char* kTexts[] = {"texts"};
constexpr Signature kNew{"G2P.__new__", kDictPath, 1};
constexpr Signature kPhonemize{"G2P.phonemize", kText, 1};
constexpr Signature kPhonemizeBatch{"G2P.phonemize_batch", kTexts, 1};

// G2P("dict.bin") -> an object owning the engine; a missing file ->
// FileNotFoundError.
PyObject* g2p_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) noexcept {
  return guarded([&]() -> PyObject* {
    PyObject* arg[1] = {};
    if (!bind_tuple_dict(kNew, args, kwargs, arg)) return nullptr;
    std::optional<PathArgument> path = path_argument(arg[0], "dict_path");
    if (!path) return nullptr;
    std::unique_ptr<g2p::G2PEngine> engine;
    try {
      engine = std::make_unique<g2p::G2PEngine>(path->bytes);
    } catch (const g2p::IoError& error) {
      raise_dictionary_error(error, path->filename.get());
      return nullptr;
    }
    auto alloc = reinterpret_cast<allocfunc>(PyType_GetSlot(type, Py_tp_alloc));
    PyObject* self = alloc(type, 0);
    if (self == nullptr) return nullptr;  // the engine is dropped: the file is unmapped
    G2PObject& obj = as_g2p(self);
    std::construct_at(&obj.engine, std::move(engine));
    std::construct_at(&obj.borrows, 0);
    return self;
  });
}

void g2p_dealloc(PyObject* self) noexcept {
  PyTypeObject* type = Py_TYPE(self);
  G2PObject& obj = as_g2p(self);
  std::destroy_at(&obj.borrows);
  std::destroy_at(&obj.engine);
  auto free_slot = reinterpret_cast<freefunc>(PyType_GetSlot(type, Py_tp_free));
  free_slot(self);
  Py_DECREF(type);  // instances of a heap type hold a reference to it
}

// phonemize("xin chào") -> the pronunciations, on the caller's thread.
PyObject* phonemize(PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                    PyObject* kwnames) noexcept {
  return guarded([&]() -> PyObject* {
    PyObject* arg[1] = {};
    if (!bind_fastcall(kPhonemize, args, nargs, kwnames, arg)) return nullptr;
    std::optional<std::string_view> text = str_argument(arg[0], "text");
    if (!text) return nullptr;
    G2PObject& obj = as_g2p(self);
    SharedBorrow borrow(self, obj.borrows);
    return to_str(obj.engine->phonemize(*text)).release();
  });
}

// phonemize_batch(["a", "b"]) -> [phonemize("a"), phonemize("b")], on the pool.
PyObject* phonemize_batch(PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                          PyObject* kwnames) noexcept {
  return guarded([&]() -> PyObject* {
    PyObject* arg[1] = {};
    if (!bind_fastcall(kPhonemizeBatch, args, nargs, kwnames, arg)) return nullptr;
    const g2p::G2PEngine& engine = *as_g2p(self).engine;
    return run_batch(self, as_g2p(self).borrows, arg[0],
                     [&engine](std::string_view text) { return engine.phonemize(text); });
  });
}

template <class F>
PyCFunction as_method(F* f) {
  return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(f));
}

PyObject* g2p_type_object = nullptr;  // set once under the interpreter lock

PyObject* create_g2p_type() {
  static PyMethodDef methods[] = {
      {"phonemize", as_method(&phonemize), METH_FASTCALL | METH_KEYWORDS,
       "phonemize($self, text)\n--\n\n"
       "The pronunciation of a text, word by word, read from the dictionary.\n\n"
       "Words inside <en>...</en> take their English reading; a word with both\n"
       "readings takes the language of its nearest neighbours. Runs on the\n"
       "calling thread, holding the interpreter lock."},
      {"phonemize_batch", as_method(&phonemize_batch), METH_FASTCALL | METH_KEYWORDS,
       "phonemize_batch($self, texts)\n--\n\n"
       "phonemize() of every text of a sequence of str, as a list in input order.\n\n"
       "Runs on the worker pool without the interpreter lock. Ctrl-C (any\n"
       "signal handler that raises) stops it within a fraction of a second:\n"
       "the texts under way are finished, the rest dropped, and the handler's\n"
       "exception raised."},
      {nullptr, nullptr, 0, nullptr},
  };
  static PyType_Slot slots[] = {
      {Py_tp_new, reinterpret_cast<void*>(&g2p_new)},
      {Py_tp_dealloc, reinterpret_cast<void*>(&g2p_dealloc)},
      {Py_tp_methods, methods},
      {Py_tp_doc, const_cast<char*>(
                      "G2P(dict_path)\n--\n\n"
                      "A phonemiser reading the phoneme dictionary file at dict_path (a str\n"
                      "or an os.PathLike), mapped read-only for the object's life.\n\n"
                      "Raises OSError when the file cannot be opened (with errno and\n"
                      "filename: FileNotFoundError for a missing file) or is not a\n"
                      "consistent dictionary (\"Invalid dictionary format\"). One object\n"
                      "may be shared by any number of threads.")},
      {0, nullptr},
  };
  static PyType_Spec spec = {"vyr_g2p.G2P", static_cast<int>(sizeof(G2PObject)), 0,
                             Py_TPFLAGS_DEFAULT, slots};
  return type_in_module(spec);
}

}  // namespace

PyObject* g2p_type() {
  if (g2p_type_object == nullptr) g2p_type_object = create_g2p_type();
  return g2p_type_object;
}

}  // namespace vyr::binding
