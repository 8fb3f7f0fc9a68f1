"""Argument binding, conversion, the exceptions and the batch path of both classes."""

import errno
import gc
import json
import os
import pathlib
import struct
import subprocess
import sys
import textwrap
import threading

import pytest

import vyr_g2p

MERGED = {
    "xin": "sin",
    "chào": "caw",
    "bạn": "ban",
    "hello": "<en>həˈloʊ",
    "world": "<en>wɜːld",
    "a": "a",
    "b": "be",
    "c": "se",
}
COMMON = {"to": ("to", "<en>tuː")}


@pytest.fixture(scope="module")
def dict_path(tmp_path_factory, dictgen):
    path = tmp_path_factory.mktemp("dict") / "small.bin"
    dictgen.write_dictionary(path, MERGED, COMMON)
    return str(path)


@pytest.fixture(scope="module")
def g2p(dict_path):
    return vyr_g2p.G2P(dict_path)


@pytest.fixture(scope="module")
def normalizer():
    return vyr_g2p.Normalizer()


@pytest.fixture
def broken_g2p(tmp_path, dictgen):
    """A dictionary that passed the load check, then had its string table
    written over in place (same size, so the mapping follows it): every
    string now starts past the end of the file and every lookup fails
    internally."""
    path = tmp_path / "broken.bin"
    data = dictgen.dictionary_bytes({"xin": "sin", "chào": "caw"}, {})
    path.write_bytes(data)
    g2p = vyr_g2p.G2P(str(path))
    count, table = struct.unpack_from("<I", data, 8)[0], struct.unpack_from("<I", data, 20)[0]
    with open(path, "r+b") as f:
        f.seek(table)
        f.write(struct.pack("<I", 0x7FFF0000) * count)
    return g2p


def is_panic(exc):
    cls = type(exc)
    return cls is vyr_g2p.PanicException and cls.__module__ == "pyo3_runtime"


class _Outer:
    class Inner:
        pass


# ---------------------------------------------------------------- binding

MISSING = "{}() missing 1 required positional argument: '{}'"
TOO_MANY = "{}() takes 1 positional arguments but 2 were given"
UNEXPECTED = "{}() got an unexpected keyword argument '{}'"
MULTIPLE = "{}() got multiple values for argument '{}'"

BINDING_CASES = [
    # constructors
    ("G2P()", lambda g, n, p: vyr_g2p.G2P(), MISSING.format("G2P.__new__", "dict_path")),
    ("G2P(p, p)", lambda g, n, p: vyr_g2p.G2P(p, p), TOO_MANY.format("G2P.__new__")),
    ("G2P(path=)", lambda g, n, p: vyr_g2p.G2P(path=p), UNEXPECTED.format("G2P.__new__", "path")),
    ("G2P(p, dict_path=)", lambda g, n, p: vyr_g2p.G2P(p, dict_path=p),
     MULTIPLE.format("G2P.__new__", "dict_path")),
    ("Normalizer(a, b)", lambda g, n, p: vyr_g2p.Normalizer("vi", "en"),
     "Normalizer.__new__() takes from 0 to 1 positional arguments but 2 were given"),
    ("Normalizer(a, b, c)", lambda g, n, p: vyr_g2p.Normalizer("vi", "en", "x"),
     "Normalizer.__new__() takes from 0 to 1 positional arguments but 3 were given"),
    ("Normalizer(x=)", lambda g, n, p: vyr_g2p.Normalizer(x="vi"),
     UNEXPECTED.format("Normalizer.__new__", "x")),
    ("Normalizer(a, lang=)", lambda g, n, p: vyr_g2p.Normalizer("vi", lang="en"),
     MULTIPLE.format("Normalizer.__new__", "lang")),
    # single methods
    ("phonemize()", lambda g, n, p: g.phonemize(), MISSING.format("G2P.phonemize", "text")),
    ("phonemize(a, b)", lambda g, n, p: g.phonemize("a", "b"), TOO_MANY.format("G2P.phonemize")),
    ("phonemize(txt=)", lambda g, n, p: g.phonemize(txt="a"),
     UNEXPECTED.format("G2P.phonemize", "txt")),
    ("phonemize(a, text=)", lambda g, n, p: g.phonemize("a", text="b"),
     MULTIPLE.format("G2P.phonemize", "text")),
    ("normalize()", lambda g, n, p: n.normalize(), MISSING.format("Normalizer.normalize", "text")),
    ("normalize(a, b)", lambda g, n, p: n.normalize("a", "b"),
     TOO_MANY.format("Normalizer.normalize")),
    ("normalize(a, text=)", lambda g, n, p: n.normalize("a", text="b"),
     MULTIPLE.format("Normalizer.normalize", "text")),
    # batch methods
    ("phonemize_batch()", lambda g, n, p: g.phonemize_batch(),
     MISSING.format("G2P.phonemize_batch", "texts")),
    ("phonemize_batch([], [])", lambda g, n, p: g.phonemize_batch([], []),
     TOO_MANY.format("G2P.phonemize_batch")),
    ("normalize_batch(text=)", lambda g, n, p: n.normalize_batch(text=[]),
     UNEXPECTED.format("Normalizer.normalize_batch", "text")),
    ("normalize_batch([], texts=)", lambda g, n, p: n.normalize_batch([], texts=[]),
     MULTIPLE.format("Normalizer.normalize_batch", "texts")),
    # the order of the checks: surplus positionals first, then keywords in the
    # caller's order, then the missing ones
    ("surplus before keyword", lambda g, n, p: g.phonemize("a", "b", zz=1),
     TOO_MANY.format("G2P.phonemize")),
    ("unknown keyword first", lambda g, n, p: g.phonemize("a", zz=1, text="b"),
     UNEXPECTED.format("G2P.phonemize", "zz")),
    ("duplicate keyword first", lambda g, n, p: g.phonemize("a", text="b", zz=1),
     MULTIPLE.format("G2P.phonemize", "text")),
    ("unknown before missing", lambda g, n, p: g.phonemize(zz=1),
     UNEXPECTED.format("G2P.phonemize", "zz")),
    ("dict order in __new__", lambda g, n, p: vyr_g2p.G2P(**{"zz": 1, "dict_path": p}),
     UNEXPECTED.format("G2P.__new__", "zz")),
]


@pytest.mark.parametrize("call, expected", [c[1:] for c in BINDING_CASES],
                         ids=[c[0] for c in BINDING_CASES])
def test_binding_errors(g2p, normalizer, dict_path, call, expected):
    with pytest.raises(TypeError) as info:
        call(g2p, normalizer, dict_path)
    assert type(info.value) is TypeError
    assert str(info.value) == expected


def test_every_parameter_may_be_given_by_keyword(g2p, normalizer, dict_path):
    assert vyr_g2p.G2P(dict_path=dict_path).phonemize(text="xin") == g2p.phonemize("xin")
    assert g2p.phonemize_batch(texts=["xin"]) == [g2p.phonemize("xin")]
    assert vyr_g2p.Normalizer(lang="en").lang == "en"
    assert normalizer.normalize(text="A") == normalizer.normalize("A")
    assert normalizer.normalize_batch(texts=("A",)) == [normalizer.normalize("A")]


def test_unexpected_keyword_with_a_surrogate_name(g2p):
    with pytest.raises(TypeError) as info:
        g2p.phonemize(**{"\udcff": "x"})
    assert str(info.value) == "G2P.phonemize() got an unexpected keyword argument '\udcff'"


# ------------------------------------------------------------- conversion


class Seq:
    """A sequence by __getitem__ alone, with a configurable __len__ and iteration."""

    def __init__(self, items, length=None, fail=None):
        self.items, self.length, self.fail = items, length, fail

    def __len__(self):
        if isinstance(self.length, BaseException):
            raise self.length
        return len(self.items) if self.length is None else self.length

    def __getitem__(self, i):
        if self.fail is not None and i == 1:
            raise self.fail
        return self.items[i]


class Str(str):
    pass


def _gen():
    yield "a"


CONVERSION_CASES = [
    ("None path", lambda g, n: vyr_g2p.G2P(None), "dict_path",
     "'NoneType' object cannot be converted to 'PyString'"),
    ("bytes path", lambda g, n: vyr_g2p.G2P(b"/x"), "dict_path",
     "'bytes' object cannot be converted to 'PyString'"),
    ("int text", lambda g, n: g.phonemize(5), "text",
     "'int' object cannot be converted to 'PyString'"),
    ("qualified type name", lambda g, n: n.normalize(_Outer.Inner()), "text",
     "'_Outer.Inner' object cannot be converted to 'PyString'"),
    ("None lang", lambda g, n: vyr_g2p.Normalizer(None), "lang",
     "'NoneType' object cannot be converted to 'PyString'"),
    ("int lang", lambda g, n: vyr_g2p.Normalizer(lang=3), "lang",
     "'int' object cannot be converted to 'PyString'"),
    ("str as batch", lambda g, n: g.phonemize_batch("abc"), "texts",
     "Can't extract `str` to `Vec`"),
    ("str subclass as batch", lambda g, n: n.normalize_batch(Str("abc")), "texts",
     "Can't extract `str` to `Vec`"),
    ("set as batch", lambda g, n: g.phonemize_batch({"a"}), "texts",
     "'set' object cannot be converted to 'Sequence'"),
    ("dict as batch", lambda g, n: n.normalize_batch({"a": 1}), "texts",
     "'dict' object cannot be converted to 'Sequence'"),
    ("generator as batch", lambda g, n: n.normalize_batch(_gen()), "texts",
     "'generator' object cannot be converted to 'Sequence'"),
    ("None as batch", lambda g, n: g.phonemize_batch(None), "texts",
     "'NoneType' object cannot be converted to 'Sequence'"),
    ("int in batch", lambda g, n: g.phonemize_batch(["a", 1]), "texts",
     "'int' object cannot be converted to 'PyString'"),
    ("bytes as batch", lambda g, n: n.normalize_batch(b"ab"), "texts",
     "'int' object cannot be converted to 'PyString'"),
    ("TypeError from iteration",
     lambda g, n: n.normalize_batch(Seq(["a", "b"], fail=TypeError("boom"))), "texts", "boom"),
]


@pytest.mark.parametrize("call, param, inner", [c[1:] for c in CONVERSION_CASES],
                         ids=[c[0] for c in CONVERSION_CASES])
def test_conversion_errors(g2p, normalizer, call, param, inner):
    with pytest.raises(TypeError) as info:
        call(g2p, normalizer)
    assert type(info.value) is TypeError
    assert str(info.value) == f"argument '{param}': {inner}"
    assert info.value.__cause__ is None  # the first error had no cause


def test_non_type_errors_pass_unchanged(normalizer):
    with pytest.raises(ValueError, match="^bad item$"):
        normalizer.normalize_batch(Seq(["a", "b"], fail=ValueError("bad item")))


@pytest.mark.parametrize(
    "call",
    [
        lambda g, n: g.phonemize("a\ud800"),
        lambda g, n: g.phonemize_batch(["ok", "\udfff"]),
        lambda g, n: n.normalize("\ud800"),
        lambda g, n: n.normalize_batch(("\ud800",)),
        lambda g, n: vyr_g2p.Normalizer("\ud800"),
        lambda g, n: vyr_g2p.G2P("\ud800.bin"),
    ],
    ids=["phonemize", "phonemize_batch", "normalize", "normalize_batch", "lang", "dict_path"],
)
def test_lone_surrogates_raise_unicode_encode_error(g2p, normalizer, call):
    with pytest.raises(UnicodeEncodeError):
        call(g2p, normalizer)


def test_sequences_that_are_not_lists(g2p, normalizer):
    texts = ["xin", "chào", "bạn"]
    expected = [g2p.phonemize(t) for t in texts]
    assert g2p.phonemize_batch(tuple(texts)) == expected
    assert g2p.phonemize_batch([Str(t) for t in texts]) == expected
    # __len__ is only a hint: a failing or absurd one changes nothing.
    assert g2p.phonemize_batch(Seq(texts, length=RuntimeError("no len"))) == expected
    assert g2p.phonemize_batch(Seq(texts, length=2**62)) == expected
    assert normalizer.normalize_batch(Seq(["A"], length=0)) == [normalizer.normalize("A")]


def test_str_subclass_is_accepted_as_text(g2p, normalizer):
    assert g2p.phonemize(Str("xin chào")) == g2p.phonemize("xin chào")
    assert normalizer.normalize(Str("A")) == normalizer.normalize("A")


# ------------------------------------------------------------- dictionary


def test_missing_file_is_file_not_found_with_errno_and_filename(tmp_path):
    # The system's failures carry errno and filename, as open() gives them,
    # with the module's own text as strerror.
    path = str(tmp_path / "missing.bin")
    with pytest.raises(FileNotFoundError) as info:
        vyr_g2p.G2P(path)
    err = info.value
    assert type(err) is FileNotFoundError
    assert err.errno == errno.ENOENT and err.filename == path
    assert err.strerror == f"{os.strerror(errno.ENOENT)} (os error 2)"
    assert err.args == (errno.ENOENT, err.strerror)


@pytest.mark.parametrize(
    "content, message",
    [
        (b"", "Invalid dictionary format"),
        (b"VYRP" + bytes(27), "Invalid dictionary format"),
        (b"VYRQ" + bytes(28), "Invalid dictionary format"),
    ],
    ids=["empty", "31 bytes", "wrong magic"],
)
def test_unrecognised_files(tmp_path, content, message):
    path = tmp_path / "bad.bin"
    path.write_bytes(content)
    with pytest.raises(OSError) as info:
        vyr_g2p.G2P(str(path))
    assert info.value.args == (message,)


def test_nul_in_path_and_directory(tmp_path):
    with pytest.raises(OSError) as info:
        vyr_g2p.G2P(str(tmp_path) + "/a\0b")
    assert info.value.args == ("file name contained an unexpected NUL byte",)
    with pytest.raises(OSError) as info:
        vyr_g2p.G2P(str(tmp_path))
    assert info.value.errno is not None and "(os error " in info.value.strerror


# ---------------------------------------------------------------- panics


class TestPanic:
    def test_exception_class(self, broken_g2p):
        with pytest.raises(BaseException) as info:
            broken_g2p.phonemize("xin")
        exc = info.value
        assert is_panic(exc)
        assert not isinstance(exc, Exception)
        assert type(exc).__bases__ == (BaseException,)
        assert len(exc.args) == 1 and isinstance(exc.args[0], str) and exc.args[0]

    def test_not_caught_by_except_exception(self, broken_g2p):
        with pytest.raises(BaseException) as info:
            try:
                broken_g2p.phonemize("xin")
            except Exception:  # must not be reached
                pytest.fail("PanicException was caught as an Exception")
        assert is_panic(info.value)

    def test_one_report_line_on_stderr(self, broken_g2p, capfd):
        capfd.readouterr()
        with pytest.raises(BaseException) as info:
            broken_g2p.phonemize("xin")
        out, err = capfd.readouterr()
        assert out == ""
        assert err.count("\n") == 1 and err.endswith("\n")
        assert info.value.args[0] in err

    def test_batch_raises_without_partial_result(self, broken_g2p, capfd):
        for texts in (["", "", "xin"], ["xin"], ["xin", "chào", ""]):
            with pytest.raises(BaseException) as info:
                broken_g2p.phonemize_batch(texts)
            assert is_panic(info.value)
        capfd.readouterr()

    def test_object_stays_usable(self, broken_g2p, capfd):
        with pytest.raises(BaseException):
            broken_g2p.phonemize_batch(["xin", "chào"])
        # Texts without words touch no table, and the interpreter lock is back.
        assert broken_g2p.phonemize("") == ""
        assert broken_g2p.phonemize_batch(["", ""]) == ["", ""]
        done = []
        t = threading.Thread(target=lambda: done.append(broken_g2p.phonemize_batch([])))
        t.start()
        t.join(timeout=30)
        assert done == [[]]
        capfd.readouterr()


# ----------------------------------------------------------- batch path


def test_empty_and_single_batches(g2p, normalizer):
    assert g2p.phonemize_batch([]) == []
    assert normalizer.normalize_batch(()) == []
    assert g2p.phonemize_batch(["xin chào"]) == [g2p.phonemize("xin chào")]
    assert normalizer.normalize_batch(["Xin Chào"]) == [normalizer.normalize("Xin Chào")]


BATCH_SCRIPT = """
import json, os, sys
import vyr_g2p
tasks = lambda: len(os.listdir("/proc/self/task"))
g2p = vyr_g2p.G2P(sys.argv[1])
norm = vyr_g2p.Normalizer()
before = tasks()
norm.normalize_batch([])  # the first batch makes the pool, even an empty one
pool_threads = tasks() - before
texts = [f"xin chào bạn {i} <en>hello world</en> A{i}." for i in range(200)]
print(json.dumps({
    "pool_threads": pool_threads,
    "phonemes": [g2p.phonemize_batch(texts), [g2p.phonemize(t) for t in texts]],
    "normal": [norm.normalize_batch(texts), [norm.normalize(t) for t in texts]],
}))
"""


@pytest.mark.parametrize(
    "pool_env, threads",
    [
        ({"RAYON_NUM_THREADS": "1"}, 1),
        ({"RAYON_NUM_THREADS": "2"}, 2),
        ({"RAYON_NUM_THREADS": "4", "RAYON_RS_NUM_CPUS": "3"}, 4),
        ({"RAYON_NUM_THREADS": " 2", "RAYON_RS_NUM_CPUS": "3"}, 3),  # not a number: fallback
    ],
    ids=["1", "2", "4", "fallback"],
)
def test_batch_equals_single_calls_in_order(dict_path, pool_env, threads):
    env = {k: v for k, v in os.environ.items() if not k.startswith("RAYON_")}
    env.update(pool_env)
    env["PYTHONPATH"] = os.pathsep.join(
        p for p in (str(pathlib.Path(vyr_g2p.__file__).parent), env.get("PYTHONPATH")) if p
    )
    result = subprocess.run(
        [sys.executable, "-c", BATCH_SCRIPT, dict_path],
        capture_output=True, text=True, env=env, timeout=300,
    )
    assert result.returncode == 0, result.stderr
    assert result.stderr == ""
    data = json.loads(result.stdout)
    assert data["pool_threads"] == threads
    batch, single = data["phonemes"]
    assert batch == single and len(batch) == 200
    batch, single = data["normal"]
    assert batch == single and len(batch) == 200


FORK_SCRIPT = """
import os, signal, vyr_g2p
norm = vyr_g2p.Normalizer()
texts = ["Một", "Hai", "Ba"]
want = norm.normalize_batch(texts)  # the parent's pool exists from here on
pid = os.fork()
if pid == 0:
    signal.alarm(60)  # a hang ends the child instead of the test run
    os._exit(0 if norm.normalize_batch(texts) == want else 1)
_, status = os.waitpid(pid, 0)
print(os.waitstatus_to_exitcode(status))
"""


def test_batch_in_a_forked_child(tmp_path):
    # The child has none of the parent's worker threads: it must not wait on them.
    env = dict(os.environ, RAYON_NUM_THREADS="2")
    env["PYTHONPATH"] = str(pathlib.Path(vyr_g2p.__file__).parent)
    result = subprocess.run([sys.executable, "-c", FORK_SCRIPT], capture_output=True, text=True,
                            env=env, timeout=120)
    assert result.returncode == 0, result.stderr
    assert result.stdout.strip() == "0"


def test_threads_share_one_object(g2p, normalizer):
    texts = [f"xin chào {i} hello world bạn" for i in range(50)]
    want_p = [g2p.phonemize(t) for t in texts]
    want_n = [normalizer.normalize(t) for t in texts]
    results, errors = [], []

    def work(k):
        try:
            for _ in range(5):
                if k % 2:
                    got = (g2p.phonemize_batch(texts), normalizer.normalize_batch(texts))
                else:
                    got = ([g2p.phonemize(t) for t in texts],
                           [normalizer.normalize(t) for t in texts])
                results.append(got)
        except BaseException as e:  # noqa: BLE001 - reported below
            errors.append(e)

    threads = [threading.Thread(target=work, args=(k,)) for k in range(6)]
    for t in threads:
        t.start()
    for t in threads:
        t.join(timeout=120)
    assert errors == []
    assert len(results) == 30
    assert all(p == want_p and n == want_n for p, n in results)


# ---------------------------------------------------------- references


def test_reference_counts_stay_balanced(g2p, normalizer, dict_path):
    text = "xin chào " + str(id(g2p))  # a fresh object, referenced only here
    texts = [text, "bạn"]
    bad = object()
    calls = [
        lambda: g2p.phonemize(text),
        lambda: g2p.phonemize(text=text),
        lambda: g2p.phonemize_batch(texts),
        lambda: normalizer.normalize(text),
        lambda: normalizer.normalize_batch(texts),
        lambda: vyr_g2p.Normalizer(text),
        lambda: vyr_g2p.G2P(dict_path),
    ]
    failing = [
        lambda: g2p.phonemize(bad),
        lambda: g2p.phonemize(text, text),
        lambda: g2p.phonemize(text, text=text),
        lambda: g2p.phonemize_batch([text, bad]),
        lambda: normalizer.normalize_batch(bad),
        lambda: vyr_g2p.Normalizer(bad),
        lambda: vyr_g2p.G2P(bad),
        lambda: vyr_g2p.G2P(text),  # no such file
    ]
    watched = [g2p, normalizer, text, texts, bad, vyr_g2p.G2P, vyr_g2p.Normalizer]

    def counts():
        gc.collect()
        return [sys.getrefcount(o) for o in watched]

    for call in calls + failing:  # warm caches and lazy statics
        try:
            call()
        except (TypeError, OSError):
            pass
    before = counts()
    for _ in range(50):
        for call in calls:
            call()
        for call in failing:
            with pytest.raises((TypeError, OSError)):
                call()
    assert counts() == before


def test_results_are_fresh_objects(g2p, normalizer):
    out = g2p.phonemize_batch(["xin", "chào"])
    # Counted before asserting: pytest's assertion rewriting holds temporaries.
    counts = [sys.getrefcount(out), sys.getrefcount(out[0]), sys.getrefcount(out[1])]
    lang_count = sys.getrefcount(normalizer.lang)
    assert counts == [2, 2, 2]  # the name or the list, plus getrefcount's argument
    assert lang_count == 1  # a new str each time, owned by no one else


def test_panic_paths_keep_references_balanced(broken_g2p, capfd):
    texts = ["xin", "chào"]

    def counts():
        gc.collect()
        return [sys.getrefcount(broken_g2p), sys.getrefcount(texts)]

    for _ in range(2):
        with pytest.raises(BaseException):
            broken_g2p.phonemize_batch(texts)
    before = counts()
    for _ in range(20):
        with pytest.raises(BaseException):
            broken_g2p.phonemize_batch(texts)
        with pytest.raises(BaseException):
            broken_g2p.phonemize(texts[0])
    assert counts() == before
    capfd.readouterr()


def test_class_creation_failure_is_runtime_error_with_cause():
    # An audit hook refuses the step that gives the new class its bare name,
    # so the interpreter fails to make the class; the import must report
    # that, not crash.
    code = textwrap.dedent(
        """
        import sys

        def refuse(event, args):
            if event == "object.__setattr__" and args[1] == "__name__":
                raise ValueError("refused")

        sys.addaudithook(refuse)
        try:
            import vyr_g2p
        except RuntimeError as e:
            print(type(e).__name__, "|", e, "|", type(e.__cause__).__name__)
        else:
            print("imported")
        """
    )
    env = dict(os.environ)
    env["PYTHONPATH"] = str(pathlib.Path(vyr_g2p.__file__).parent)
    result = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                            env=env, timeout=120)
    assert result.returncode == 0, result.stderr
    assert result.stdout.strip() == (
        "RuntimeError | An error occurred while initializing class G2P | ValueError"
    )
