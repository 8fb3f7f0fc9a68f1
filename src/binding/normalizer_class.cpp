// Normalizer(lang="vi"): the language code and the normaliser's methods.

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

#include "binding/arguments.hpp"
#include "binding/batch.hpp"
#include "binding/borrow.hpp"
#include "binding/classes.hpp"
#include "binding/convert.hpp"
#include "binding/errors.hpp"
#include "binding/module_type.hpp"
#include "vi_normalizer/normalizer.hpp"

namespace vyr::binding {
namespace {

// The instance record; `lang` is stored and shown, never read by the work.
struct NormalizerObject {
  PyObject_HEAD
  std::string lang;
  std::atomic<size_t> borrows;
};

NormalizerObject& as_normalizer(PyObject* self) {
  return *reinterpret_cast<NormalizerObject*>(self);
}

constexpr const char* kLang[] = {"lang"};
constexpr const char* kText[] = {"text"};
constexpr const char* kTexts[] = {"texts"};
constexpr Signature kNew{"Normalizer.__new__", kLang, 0};
constexpr Signature kNormalize{"Normalizer.normalize", kText, 1};
constexpr Signature kNormalizeBatch{"Normalizer.normalize_batch", kTexts, 1};

std::string normalize_one(std::string_view text) {
  return vi_normalizer::Normalizer::normalize(text);
}

// Normalizer() -> lang "vi"; Normalizer("en") -> lang "en"; any str is kept.
PyObject* normalizer_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) noexcept {
  return guarded([&]() -> PyObject* {
    PyObject* arg[1] = {};
    if (!bind_tuple_dict(kNew, args, kwargs, arg)) return nullptr;
    std::string lang = "vi";
    if (arg[0] != nullptr) {
      std::optional<std::string_view> given = str_argument(arg[0], "lang");
      if (!given) return nullptr;
      lang.assign(*given);
    }
    auto alloc = reinterpret_cast<allocfunc>(PyType_GetSlot(type, Py_tp_alloc));
    PyObject* self = alloc(type, 0);
    if (self == nullptr) return nullptr;
    NormalizerObject& obj = as_normalizer(self);
    std::construct_at(&obj.lang, std::move(lang));
    std::construct_at(&obj.borrows, 0);
    return self;
  });
}

void normalizer_dealloc(PyObject* self) noexcept {
  PyTypeObject* type = Py_TYPE(self);
  NormalizerObject& obj = as_normalizer(self);
  std::destroy_at(&obj.borrows);
  std::destroy_at(&obj.lang);
  auto free_slot = reinterpret_cast<freefunc>(PyType_GetSlot(type, Py_tp_free));
  free_slot(self);
  Py_DECREF(type);  // instances of a heap type hold a reference to it
}

// .lang -> a new str equal to the stored code.
PyObject* get_lang(PyObject* self, void*) noexcept {
  return guarded([&]() -> PyObject* { return to_str(as_normalizer(self).lang).release(); });
}

// normalize("Ngày 2/9") -> its speakable words, on the caller's thread.
PyObject* normalize(PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                    PyObject* kwnames) noexcept {
  return guarded([&]() -> PyObject* {
    PyObject* arg[1] = {};
    if (!bind_fastcall(kNormalize, args, nargs, kwnames, arg)) return nullptr;
    std::optional<std::string_view> text = str_argument(arg[0], "text");
    if (!text) return nullptr;
    SharedBorrow borrow(self, as_normalizer(self).borrows);
    return to_str(normalize_one(*text)).release();
  });
}

// normalize_batch(["a", "b"]) -> [normalize("a"), normalize("b")], on the pool.
PyObject* normalize_batch(PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                          PyObject* kwnames) noexcept {
  return guarded([&]() -> PyObject* {
    PyObject* arg[1] = {};
    if (!bind_fastcall(kNormalizeBatch, args, nargs, kwnames, arg)) return nullptr;
    return run_batch(self, as_normalizer(self).borrows, arg[0], &normalize_one);
  });
}

template <class F>
PyCFunction as_method(F* f) {
  return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(f));
}

PyObject* normalizer_type_object = nullptr;  // set once under the interpreter lock

PyObject* create_normalizer_type() {
  static PyMethodDef methods[] = {
      {"normalize", as_method(&normalize), METH_FASTCALL | METH_KEYWORDS,
       "normalize($self, text)\n--\n\n"
       "The text written out as lower-case speakable Vietnamese words.\n\n"
       "Numbers, dates, times, units, symbols, addresses and acronyms are\n"
       "read out; English words are marked <en>...</en>. Line breaks stay, and\n"
       "the caller's own <en>...</en> chunks come back as written. Runs on\n"
       "the calling thread, holding the interpreter lock."},
      {"normalize_batch", as_method(&normalize_batch), METH_FASTCALL | METH_KEYWORDS,
       "normalize_batch($self, texts)\n--\n\n"
       "normalize() of every text of a sequence of str, as a list in input order.\n\n"
       "Runs on the worker pool without the interpreter lock (even for a\n"
       "list of one long text). Ctrl-C (any signal handler that raises) stops\n"
       "it within a fraction of a second: the texts under way are finished,\n"
       "the rest dropped, and the handler's exception raised."},
      {nullptr, nullptr, 0, nullptr},
  };
  static PyGetSetDef getset[] = {
      {"lang", &get_lang, nullptr,
       const_cast<char*>("The language code given to the constructor (read-only)."), nullptr},
      {nullptr, nullptr, nullptr, nullptr, nullptr},
  };
  static PyType_Slot slots[] = {
      {Py_tp_new, reinterpret_cast<void*>(&normalizer_new)},
      {Py_tp_dealloc, reinterpret_cast<void*>(&normalizer_dealloc)},
      {Py_tp_methods, methods},
      {Py_tp_getset, getset},
      {Py_tp_doc, const_cast<char*>(
                      "Normalizer(lang=\"vi\")\n--\n\n"
                      "A normaliser of Vietnamese text for speech synthesis.\n\n"
                      "lang is kept and shown as the attribute lang; it changes nothing.\n"
                      "One object may be shared by any number of threads.")},
      {0, nullptr},
  };
  static PyType_Spec spec = {"vyr_g2p.Normalizer", static_cast<int>(sizeof(NormalizerObject)),
                             0, Py_TPFLAGS_DEFAULT, slots};
  return type_in_module(spec);
}

}  // namespace

PyObject* normalizer_type() {
  if (normalizer_type_object == nullptr) normalizer_type_object = create_normalizer_type();
  return normalizer_type_object;
}

}  // namespace vyr::binding
