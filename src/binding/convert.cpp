#include "binding/convert.hpp"

#include <algorithm>

#include "binding/messages.hpp"

namespace vyr::binding {
namespace {

// A length hint is only a hint: a hostile __len__ must not make us reserve
// gigabytes up front.
constexpr Py_ssize_t kMaxReservedItems = 1 << 16;

// 5 -> TypeError "'int' object cannot be converted to 'PyString'"
void set_cannot_convert(PyObject* obj, const char* target) {
  PyRef name = PyRef::steal(
      PyObject_GetAttrString(reinterpret_cast<PyObject*>(Py_TYPE(obj)), "__qualname__"));
  if (name && PyUnicode_Check(name.get())) {
    PyErr_Format(PyExc_TypeError, "'%U' object cannot be converted to '%s'", name.get(), target);
  } else {
    PyErr_Clear();
    PyErr_Format(PyExc_TypeError, "'?' object cannot be converted to '%s'", target);
  }
}

// The UTF-8 form of a str, borrowed from obj; the error unwrapped.
std::optional<std::string_view> extract_str(PyObject* obj) {
  if (!PyUnicode_Check(obj)) {
    set_cannot_convert(obj, "PyString");
    return std::nullopt;
  }
  Py_ssize_t size = 0;
  const char* utf8 = PyUnicode_AsUTF8AndSize(obj, &size);  // lone surrogates: UnicodeEncodeError
  if (utf8 == nullptr) return std::nullopt;
  return std::string_view(utf8, static_cast<size_t>(size));
}

// TypeError "x" -> TypeError "argument 'text': x", keeping the first error's
// cause. Any other error stays as it is.
void wrap_argument_error(const char* param) {
  PyObject* type = nullptr;
  PyObject* value = nullptr;
  PyObject* traceback = nullptr;
  PyErr_Fetch(&type, &value, &traceback);
  if (type != PyExc_TypeError) {
    PyErr_Restore(type, value, traceback);
    return;
  }
  PyErr_NormalizeException(&type, &value, &traceback);
  PyRef first_type = PyRef::steal(type);
  PyRef first = PyRef::steal(value);
  PyRef first_traceback = PyRef::steal(traceback);
  PyRef inner = PyRef::steal(PyObject_Str(first.get()));
  if (!inner) return;
  PyRef message = PyRef::steal(PyUnicode_FromFormat("argument '%s': %U", param, inner.get()));
  if (!message) return;
  PyRef error = PyRef::steal(PyObject_CallFunctionObjArgs(PyExc_TypeError, message.get(), nullptr));
  if (!error) return;
  if (PyObject* cause = PyException_GetCause(first.get())) {
    PyException_SetCause(error.get(), cause);  // steals the new reference
  }
  PyErr_SetObject(PyExc_TypeError, error.get());
}

}  // namespace

std::optional<std::string_view> str_argument(PyObject* obj, const char* param) {
  std::optional<std::string_view> text = extract_str(obj);
  if (!text) wrap_argument_error(param);
  return text;
}

std::optional<PathArgument> path_argument(PyObject* obj, const char* param) {
  PyRef path = PyRef::borrow(obj);
  if (!PyUnicode_Check(obj)) {
    // Only what os.fspath() would take apart from bytes, which open() takes
    // too but os.PathLike does not cover.
    if (PyBytes_Check(obj) ||
        !PyObject_HasAttrString(reinterpret_cast<PyObject*>(Py_TYPE(obj)), "__fspath__")) {
      set_cannot_convert(obj, "PyString");
      wrap_argument_error(param);
      return std::nullopt;
    }
    path = PyRef::steal(PyOS_FSPath(obj));
    if (!path) {
      wrap_argument_error(param);
      return std::nullopt;
    }
  }
  if (PyBytes_Check(path.get())) {
    char* data = nullptr;
    Py_ssize_t size = 0;
    if (PyBytes_AsStringAndSize(path.get(), &data, &size) < 0) return std::nullopt;
    return PathArgument{std::move(path), std::string_view(data, static_cast<size_t>(size))};
  }
  std::optional<std::string_view> text = extract_str(path.get());
  if (!text) {
    wrap_argument_error(param);
    return std::nullopt;
  }
  return PathArgument{std::move(path), *text};
}

std::optional<std::vector<std::string>> str_list_argument(PyObject* obj, const char* param) {
  auto fail = [param]() -> std::optional<std::vector<std::string>> {
    wrap_argument_error(param);
    return std::nullopt;
  };
  if (PyUnicode_Check(obj)) {
    PyErr_SetString(PyExc_TypeError, "Can't extract `str` to `Vec`");
    return fail();
  }
  if (!PySequence_Check(obj)) {
    set_cannot_convert(obj, "Sequence");
    return fail();
  }
  Py_ssize_t hint = PySequence_Size(obj);
  if (hint < 0) {
    PyErr_Clear();  // only a capacity hint
    hint = 0;
  }
  std::vector<std::string> texts;
  texts.reserve(static_cast<size_t>(std::min(hint, kMaxReservedItems)));
  PyRef iterator = PyRef::steal(PyObject_GetIter(obj));
  if (!iterator) return fail();
  while (PyRef item = PyRef::steal(PyIter_Next(iterator.get()))) {
    std::optional<std::string_view> text = extract_str(item.get());
    if (!text) return fail();
    texts.emplace_back(*text);
  }
  if (PyErr_Occurred()) return fail();  // raised by the iteration itself
  return texts;
}

PyRef to_str(std::string_view utf8) {
  return PyRef::steal(
      PyUnicode_FromStringAndSize(utf8.data(), static_cast<Py_ssize_t>(utf8.size())));
}

PyRef to_str_list(const std::vector<std::string>& items) {
  PyRef list = PyRef::steal(PyList_New(static_cast<Py_ssize_t>(items.size())));
  if (!list) return list;
  for (size_t i = 0; i < items.size(); ++i) {
    PyRef s = to_str(items[i]);
    if (!s) return PyRef();
    PyList_SetItem(list.get(), static_cast<Py_ssize_t>(i), s.release());  // steals
  }
  return list;
}

}  // namespace vyr::binding
