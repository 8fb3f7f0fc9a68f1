"""The phonemizer as a Python user sees it: loading dictionary files, the
failures they can cause, and what phonemize makes of text."""

from __future__ import annotations

import os
import re
import struct
import subprocess
import sys
from pathlib import Path

import pytest

import vyr_g2p

ROOT = Path(__file__).resolve().parent.parent.parent

MERGED = {
    "xin": "sin",
    "chào": "caw",
    "hello": "<en>həˈloʊ",
    "world": " <en>wɜːld ",
    "empty": "<en>",
    "ba": "ɓa",
    "na": "na",
    "x": "<en>ik",
    "sep": "\x1f",
    "duo": "\x1fd1\x1fd2\x1f",
    "it’s": "its",
}
COMMON = {"on": ("ɔn", "<en>ɒn"), "vi": ("ʋi", ""), "y": ("i", "<en>wai")}


@pytest.fixture
def g2p(make_dictionary):
    return vyr_g2p.G2P(make_dictionary(MERGED, COMMON))


def is_panic(exc: BaseException) -> bool:
    return type(exc).__name__ == "PanicException" and not isinstance(exc, Exception)


# ---- loading ------------------------------------------------------------------

def os_error_of(path) -> OSError:
    with pytest.raises(OSError) as info:
        vyr_g2p.G2P(path)
    return info.value


def test_missing_file(tmp_path):
    error = os_error_of(tmp_path / "missing.bin")  # any os.PathLike
    assert isinstance(error, FileNotFoundError)
    assert error.strerror == "No such file or directory (os error 2)"
    assert error.errno == 2 and error.filename == str(tmp_path / "missing.bin")


def test_directory_and_nul(tmp_path, make_dictionary):
    # The system's text, now strerror beside errno and filename.
    error = os_error_of(str(tmp_path))
    assert re.fullmatch(r".+ \(os error \d+\)", error.strerror)
    assert error.errno is not None and error.filename == str(tmp_path)
    path = make_dictionary(MERGED)
    assert os_error_of(path + "\0x").args == ("file name contained an unexpected NUL byte",)


@pytest.mark.parametrize("content", [b"", b"VYRP" + bytes(27), b"VYRQ" + bytes(28), bytes(64)],
                         ids=["empty", "31 bytes", "wrong magic", "zeros"])
def test_unrecognised_files(tmp_path, content):
    path = tmp_path / "bad.bin"
    path.write_bytes(content)
    error = os_error_of(str(path))
    assert error.args == ("Invalid dictionary format",)
    assert error.errno is None


def test_header_only_file_loads_and_spells(tmp_path):
    path = tmp_path / "header.bin"
    path.write_bytes(b"VYRP" + b"\xff" * 4 + bytes(24))  # the reserved field is never read
    assert vyr_g2p.G2P(str(path)).phonemize("Ab, c.") == "ab, c."


# ---- files changed under the engine ------------------------------------------------

def test_file_written_over_in_place_panics_and_the_object_stays_usable(dictgen, tmp_path, capfd):
    # Malformed files are refused at load (test_dictionary_files.py); a file
    # written over after the load, at the same size, is read as it now is:
    # the lookup that meets a string outside the file fails, nothing else.
    data = bytearray(dictgen.dictionary_bytes({"bad": "b", "good": "ɣut"}, {}))
    path = tmp_path / "changed.bin"
    path.write_bytes(data)
    g2p = vyr_g2p.G2P(path)
    string_table, merged_table = struct.unpack_from("<2I", data, 20)
    value_of_bad = struct.unpack_from("<I", data, merged_table + 4)[0]
    with open(path, "r+b") as f:
        f.seek(string_table + 4 * value_of_bad)
        f.write(struct.pack("<I", 1_000_000))
    for _ in range(2):
        with pytest.raises(vyr_g2p.PanicException) as info:
            g2p.phonemize("bad")
        assert is_panic(info.value)
        assert str(len(data)) in str(info.value)
    capfd.readouterr()
    assert g2p.phonemize("good good") == "ɣut ɣut"
    assert g2p.phonemize_batch(["good", "good."]) == ["ɣut", "ɣut."]


# ---- phonemize --------------------------------------------------------------------

@pytest.mark.parametrize("text, expected", [
    ("", ""),
    ("  \n\t", ""),
    ("Xin chào.", "sin caw."),
    ("xin , chào ! ( xin )", "sin, caw! ( sin )"),
    ("xin empty chào", "sin  caw"),
    ("empty xin", " sin"),
    ("<EN>hello World</en>, xin", "həˈloʊ wɜːld, sin"),
    # a segment runs across lines, as the normaliser keeps the chunk
    ("<en>hello\nworld</en>", "həˈloʊ wɜːld"),
    ("<en>hello\nworld", "< en > həˈloʊ wɜːld"),  # no closing tag: ordinary text
    ("xin on", "sin ɔn"),
    ("hello on", "həˈloʊ ɒn"),
    ("hello vi", "həˈloʊ "),
    ("xin. on hello", "sin. ɒn həˈloʊ"),
    # equally near a Vietnamese and an English word: the text's language
    ("xin on hello", "sin ɔn həˈloʊ"),
    ("hello on xin", "həˈloʊ ɔn sin"),
    ("hello on hello", "həˈloʊ ɒn həˈloʊ"),
    ("duo <en>duo</en> sep", "d1 d2 "),
    ("banana Xy q1", "ɓa na na ikwai q1"),  # "Xy" is English: spelled so
    ("it’s ’tis", "its ’ tis"),
])
def test_phonemize(g2p, text, expected):
    assert g2p.phonemize(text) == expected


def test_batch_matches_single_calls(g2p):
    texts = ["xin chào", "", "hello on", "banana.", "<en>hello</en> vi"] * 20
    assert g2p.phonemize_batch(texts) == [g2p.phonemize(t) for t in texts]


@pytest.mark.parametrize("text, expected", [
    ("ba" * 50_000, " ".join(["ɓa"] * 50_000)),
    ("<en>" * 25_000, " ".join(["< en >"] * 25_000)),   # one line, no closing tag
    ("<en>ba " * 20_000 + "</en>", " ".join(["ɓa"] * 20_000)),
], ids=["long word", "unclosed tags", "long segment"])
def test_long_hostile_texts(g2p, text, expected):
    assert g2p.phonemize(text) == expected


# ---- the sample lexicon and the demo ---------------------------------------------------

def test_sample_lexicon_builds_and_reads(tmp_path):
    out = tmp_path / "sample.dict"
    subprocess.run([sys.executable, str(ROOT / "tests" / "dictgen.py"),
                    str(ROOT / "examples" / "sample_lexicon.tsv"), str(out)],
                   check=True, capture_output=True)
    g2p = vyr_g2p.G2P(str(out))
    assert g2p.phonemize("Xin chào, <en>hello</en>!") == "sin1 caːw2, həˈloʊ!"
    assert g2p.phonemize("on hello") == "ɒn həˈloʊ"


def test_demo_runs(tmp_path):
    out = tmp_path / "sample.dict"
    subprocess.run([sys.executable, str(ROOT / "tests" / "dictgen.py"),
                    str(ROOT / "examples" / "sample_lexicon.tsv"), str(out)],
                   check=True, capture_output=True)
    result = subprocess.run([sys.executable, str(ROOT / "examples" / "demo.py"), str(out),
                             "Xin chào"], capture_output=True, text=True, env=dict(os.environ))
    assert result.returncode == 0, result.stderr
    assert "phonemes:   sin1 caːw2" in result.stdout
