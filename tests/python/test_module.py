"""The module object and the shape of its two classes."""

import importlib
import importlib.metadata
import inspect
import json
import os
import pathlib
import re
import subprocess
import sys
import textwrap
import weakref

import pytest

import vyr_g2p

SOURCE_ROOT = pathlib.Path(__file__).resolve().parents[2]

# The smallest file the loader accepts: the magic, then zeros (empty tables).
EMPTY_DICTIONARY = b"VYRP" + bytes(28)


@pytest.fixture
def g2p(tmp_path):
    path = tmp_path / "empty.bin"
    path.write_bytes(EMPTY_DICTIONARY)
    return vyr_g2p.G2P(str(path))


@pytest.fixture
def normalizer():
    return vyr_g2p.Normalizer()


def run_python(code, *flags, **env):
    """Runs code in a fresh interpreter (given the command-line flags) that
    imports the same vyr_g2p."""
    environ = dict(os.environ, **env)
    module_dir = str(pathlib.Path(vyr_g2p.__file__).parent)
    environ["PYTHONPATH"] = os.pathsep.join(
        p for p in (module_dir, environ.get("PYTHONPATH", "")) if p
    )
    return subprocess.run(
        [sys.executable, *flags, "-c", textwrap.dedent(code)],
        capture_output=True,
        text=True,
        env=environ,
        timeout=120,
    )


class TestModule:
    def test_doc_is_one_line_naming_the_package(self):
        doc = vyr_g2p.__doc__
        assert doc.startswith("vyr_g2p: ")
        assert "vyr-g2p" in doc
        assert "\n" not in doc

    def test_exports_the_two_classes_and_the_failure_type(self):
        assert vyr_g2p.__all__ == ["G2P", "Normalizer"]
        assert vyr_g2p.G2P is getattr(vyr_g2p, "G2P")
        # PanicException is reachable by name, so that callers can catch it;
        # it stays out of __all__.
        public = {name for name in dir(vyr_g2p) if not name.startswith("__")}
        assert public == {"G2P", "Normalizer", "PanicException"}

    def test_panic_exception_is_the_class_raised(self):
        cls = vyr_g2p.PanicException
        assert (cls.__name__, cls.__module__) == ("PanicException", "pyo3_runtime")
        assert cls.__bases__ == (BaseException,)
        # The same object for every import: the class is made once per process.
        result = run_python(
            """
            import sys, vyr_g2p
            first = vyr_g2p.PanicException
            del sys.modules["vyr_g2p"]
            import vyr_g2p
            print(vyr_g2p.PanicException is first)
            """
        )
        assert result.returncode == 0, result.stderr
        assert result.stdout.strip() == "True"

    def test_version_is_the_package_version(self):
        text = (SOURCE_ROOT / "pyproject.toml").read_text(encoding="utf-8")
        stated = re.search(r'^version = "([^"]+)"$', text, re.M).group(1)
        assert vyr_g2p.__version__ == stated
        try:
            installed = importlib.metadata.version("vyr-g2p")
        except importlib.metadata.PackageNotFoundError:
            return  # a build tree, not an installed wheel
        assert vyr_g2p.__version__ == installed

    def test_reimport_in_the_same_interpreter_returns_the_same_object(self):
        saved = sys.modules.pop("vyr_g2p")
        try:
            again = importlib.import_module("vyr_g2p")
            assert again is saved
            assert again.G2P is saved.G2P
        finally:
            sys.modules["vyr_g2p"] = saved

    def test_nothing_runs_at_import(self):
        # The pool is made by the first batch call, not by the import.
        result = run_python(
            """
            import os
            before = len(os.listdir("/proc/self/task"))
            import vyr_g2p
            print(len(os.listdir("/proc/self/task")) - before)
            """
        )
        assert result.returncode == 0, result.stderr
        assert result.stdout.strip() == "0"
        assert result.stderr == ""

    def test_import_warns_of_nothing(self):
        # Under -W error any warning at import would fail it: a test suite
        # with warnings as errors must be able to import the package.
        result = run_python(
            """
            import pickle
            import vyr_g2p
            for cls in (vyr_g2p.G2P, vyr_g2p.Normalizer):
                assert pickle.loads(pickle.dumps(cls)) is cls
                help(cls)
            print(vyr_g2p.G2P.__module__, vyr_g2p.Normalizer.__module__)
            """,
            "-W",
            "error",
        )
        assert result.returncode == 0, result.stderr
        assert result.stdout.splitlines()[-1] == "vyr_g2p vyr_g2p"
        assert result.stderr == ""

    def test_a_second_interpreter_is_refused(self, tmp_path):
        pytest.importorskip("_testcapi")
        import _testcapi

        if not hasattr(_testcapi, "run_in_subinterp"):
            pytest.skip("no sub-interpreter helper in this build")
        # This helper makes the legacy kind of sub-interpreter, which lets the
        # import reach the module: the refusal seen is the module's own.
        out = tmp_path / "outcome.json"
        sub_code = textwrap.dedent(
            f"""
            import json
            try:
                import vyr_g2p
                outcome = ["imported", ""]
            except ImportError as e:
                outcome = ["ImportError", str(e)]
            with open({str(out)!r}, "w") as f:
                json.dump(outcome, f)
            """
        )
        result = run_python(
            f"""
            import _testcapi
            import vyr_g2p
            _testcapi.run_in_subinterp({sub_code!r})
            print(vyr_g2p.Normalizer().lang)  # the first interpreter is unaffected
            """
        )
        assert result.returncode == 0, result.stderr
        assert result.stdout.strip() == "vi"
        kind, message = json.loads(out.read_text())
        assert kind == "ImportError"
        assert "does not support sub-interpreters" in message


@pytest.mark.parametrize("cls_name", ["G2P", "Normalizer"])
class TestClassShape:
    def test_name_has_no_module_prefix(self, cls_name):
        cls = getattr(vyr_g2p, cls_name)
        assert cls.__name__ == cls_name
        assert cls.__qualname__ == cls_name
        assert cls.__module__ == "vyr_g2p"
        # The interpreter's repr joins __module__ and __qualname__; its
        # messages quote the bare name (below, for subclassing).
        assert repr(cls) == f"<class 'vyr_g2p.{cls_name}'>"
        assert cls.__bases__ == (object,)

    def test_cannot_be_subclassed(self, cls_name):
        cls = getattr(vyr_g2p, cls_name)
        with pytest.raises(TypeError, match=f"^type '{cls_name}' is not an acceptable base type$"):
            type("Sub", (cls,), {})

    def test_class_and_methods_are_documented(self, cls_name):
        # help() shows text for the class and every method, after the text
        # signature (which the interpreter strips from __doc__).
        cls = getattr(vyr_g2p, cls_name)
        assert cls.__doc__ and not cls.__doc__.startswith(cls_name + "(")
        for name in ("phonemize", "phonemize_batch", "normalize", "normalize_batch", "lang"):
            if hasattr(cls, name):
                doc = getattr(cls, name).__doc__
                assert doc and "--" not in doc.splitlines()[0], name


def test_text_signatures():
    assert vyr_g2p.G2P.__text_signature__ == "(dict_path)"
    assert vyr_g2p.Normalizer.__text_signature__ == '(lang="vi")'
    assert str(inspect.signature(vyr_g2p.G2P)) == "(dict_path)"
    assert str(inspect.signature(vyr_g2p.Normalizer)) == "(lang='vi')"
    methods = {
        vyr_g2p.G2P.phonemize: "($self, text)",
        vyr_g2p.G2P.phonemize_batch: "($self, texts)",
        vyr_g2p.Normalizer.normalize: "($self, text)",
        vyr_g2p.Normalizer.normalize_batch: "($self, texts)",
    }
    for method, signature in methods.items():
        assert method.__text_signature__ == signature


@pytest.mark.parametrize("which", ["g2p", "normalizer"])
def test_instances_have_no_dict_and_no_weakref(request, which):
    obj = request.getfixturevalue(which)
    assert not hasattr(obj, "__dict__")
    with pytest.raises(AttributeError):
        obj.extra = 1
    with pytest.raises(TypeError):
        weakref.ref(obj)


def test_methods_refuse_an_instance_of_the_other_class(g2p, normalizer):
    # The interpreter checks self before the method reads the object's fields.
    cases = [
        lambda: vyr_g2p.G2P.phonemize(normalizer, "x"),
        lambda: vyr_g2p.G2P.phonemize_batch(normalizer, ["x"]),
        lambda: vyr_g2p.Normalizer.normalize(g2p, "x"),
        lambda: vyr_g2p.Normalizer.normalize_batch(g2p, ["x"]),
        lambda: vyr_g2p.Normalizer.lang.__get__(g2p),
        lambda: vyr_g2p.G2P.__new__(vyr_g2p.Normalizer, "x"),
        lambda: object.__new__(vyr_g2p.G2P),  # would leave the engine unset
        lambda: object.__new__(vyr_g2p.Normalizer),
    ]
    for call in cases:
        with pytest.raises(TypeError):
            call()


class TestLang:
    @pytest.mark.parametrize(
        "args, kwargs, expected",
        [
            ((), {}, "vi"),
            (("en",), {}, "en"),
            ((), {"lang": ""}, ""),
            (("xyz",), {}, "xyz"),
            (("tiếng Việt",), {}, "tiếng Việt"),
        ],
    )
    def test_any_str_is_stored_unchanged(self, args, kwargs, expected):
        assert vyr_g2p.Normalizer(*args, **kwargs).lang == expected

    def test_str_subclass_is_accepted(self):
        class Code(str):
            pass

        lang = vyr_g2p.Normalizer(Code("en")).lang
        assert lang == "en"
        assert type(lang) is str

    def test_is_read_only(self, normalizer):
        with pytest.raises(AttributeError):
            normalizer.lang = "en"
        with pytest.raises(AttributeError):
            del normalizer.lang
        assert normalizer.lang == "vi"

    def test_does_not_change_the_output(self):
        texts = ["Xin chào", "", "Ngày 2/9/1945 lúc 10:30", "<en>Hello</en> bạn"]
        results = [
            [vyr_g2p.Normalizer(lang).normalize(t) for t in texts] for lang in ("vi", "en", "")
        ]
        assert results[0] == results[1] == results[2]


def test_core_never_includes_python_h():
    offenders = []
    for folder in ("text", "runtime", "g2p", "vi_normalizer"):
        for path in (SOURCE_ROOT / "src" / folder).rglob("*"):
            if path.suffix in {".cpp", ".hpp", ".h", ".cc"}:
                text = path.read_text(encoding="utf-8", errors="replace")
                if "Python.h" in text or "binding/python.hpp" in text:
                    offenders.append(str(path.relative_to(SOURCE_ROOT)))
    assert offenders == []
