"""Dictionary files as the constructor takes them: every malformed file is
refused at construction with OSError "Invalid dictionary format", and the
files the project writes (the sample lexicon, the benchmark's dictionary)
load and answer as before."""

from __future__ import annotations

import importlib.util
import struct
import subprocess
import sys
from pathlib import Path

import pytest

import vyr_g2p

ROOT = Path(__file__).resolve().parent.parent.parent

MERGED = {"a": "a", "chào": "caw", "hello": "<en>həˈloʊ", "xin": "sin"}
COMMON = {"on": ("ɔn", "<en>ɒn"), "to": ("to", "<en>tuː")}


def valid_bytes(dictgen) -> bytes:
    return dictgen.dictionary_bytes(MERGED, COMMON)


def header(data: bytes) -> dict[str, int]:
    names = ["strings", "merged", "common", "string_table", "merged_table", "common_table"]
    return dict(zip(names, struct.unpack_from("<6I", data, 8)))


def patched(data: bytes, *edits: tuple[int, int]) -> bytes:
    out = bytearray(data)
    for offset, value in edits:
        struct.pack_into("<I", out, offset, value)
    return bytes(out)


def string_start(data: bytes, string_id: int) -> int:
    h = header(data)
    return 32 + struct.unpack_from("<I", data, h["string_table"] + 4 * string_id)[0]


def merged_key(data: bytes, record: int) -> int:
    return struct.unpack_from("<I", data, header(data)["merged_table"] + 8 * record)[0]


def malformed_cases(data: bytes) -> list[tuple[str, bytes]]:
    h = header(data)
    size = len(data)
    st, mt, ct = h["string_table"], h["merged_table"], h["common_table"]
    chao = data.index("chào".encode())
    cases = [
        ("string count past the file", patched(data, (8, h["strings"] + 1000))),
        ("merged count past the file", patched(data, (12, h["merged"] + 1))),
        ("common count past the file", patched(data, (16, h["common"] + 1))),
        ("merged count 2^31", patched(data, (12, 2**31))),
        ("common count 2^32 - 1", patched(data, (16, 2**32 - 1))),
        ("string table past the file", patched(data, (20, size))),
        ("merged table past the file", patched(data, (24, size - 4))),
        ("common table past the file", patched(data, (28, 2**32 - 1))),
        ("key id past the strings", patched(data, (mt, h["strings"]))),
        ("value id past the strings", patched(data, (mt + 4, 2**32 - 1))),
        ("english id past the strings", patched(data, (ct + 8, h["strings"] + 5))),
        ("string past the file", patched(data, (st + 4, size))),
        ("string at the end of the file", patched(data, (st + 4, size - 32))),
        ("string inside a character", patched(data, (st, chao + 3 - 32))),  # inside «à»
        ("not UTF-8", data.replace("chào".encode(), b"ch\xff\xffo")),
        ("surrogate", data.replace("chào".encode(), b"\xed\xa0\x80o")),
        ("merged keys out of order",
         patched(data, (mt, merged_key(data, 1)), (mt + 8, merged_key(data, 0)))),
        ("common keys out of order",
         patched(data, (ct, struct.unpack_from("<I", data, ct + 12)[0]),
                 (ct + 12, struct.unpack_from("<I", data, ct)[0]))),
    ]
    # Cut at every table boundary and just inside each part.
    for cut in sorted({33, 100, st, st + 1, mt, mt + 4, ct, ct + 4, size - 1}):
        if 32 < cut < size:
            cases.append((f"cut at {cut}", data[:cut]))
    return cases


def test_the_valid_file_loads(dictgen, tmp_path):
    path = tmp_path / "valid.bin"
    path.write_bytes(valid_bytes(dictgen))
    assert vyr_g2p.G2P(path).phonemize("Xin chào, hello to.") == "sin caw, həˈloʊ tuː."


def test_malformed_files_are_refused_at_construction(dictgen, tmp_path):
    data = valid_bytes(dictgen)
    cases = malformed_cases(data)
    assert len({c for _, c in cases}) == len(cases)  # each case changes something else
    for name, content in cases:
        path = tmp_path / "bad.bin"
        path.write_bytes(content)
        with pytest.raises(OSError) as info:
            vyr_g2p.G2P(path)
        assert info.value.args == ("Invalid dictionary format",), name
        assert type(info.value) is OSError and info.value.errno is None, name


def test_a_file_without_the_nul_of_its_last_string(tmp_path):
    # Header, string table, merged table, then the strings: the last string's
    # NUL would be the file's last byte.
    head = b"VYRP" + struct.pack("<7I", 0, 2, 1, 0, 32, 40, 48)
    body = struct.pack("<2I", 48 - 32, 52 - 32) + struct.pack("<2I", 0, 1) + b"xin\0sin"
    path = tmp_path / "open_end.bin"
    path.write_bytes(head + body)
    with pytest.raises(OSError, match="^Invalid dictionary format$"):
        vyr_g2p.G2P(path)
    path.write_bytes(head + body + b"\0")
    assert vyr_g2p.G2P(path).phonemize("xin") == "sin"


def test_sample_lexicon_answers_as_before(tmp_path):
    out = tmp_path / "sample.dict"
    subprocess.run([sys.executable, str(ROOT / "tests" / "dictgen.py"),
                    str(ROOT / "examples" / "sample_lexicon.tsv"), str(out)],
                   check=True, capture_output=True)
    g2p = vyr_g2p.G2P(out)
    assert g2p.phonemize("Xin chào, <en>hello</en>!") == "sin1 caːw2, həˈloʊ!"


def test_benchmark_dictionary_answers_as_before(tmp_path):
    spec = importlib.util.spec_from_file_location("lexicon", ROOT / "bench" / "lexicon.py")
    lexicon = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(lexicon)
    path = tmp_path / "bench.dict"
    assert lexicon.build(path) > 40_000
    g2p = vyr_g2p.G2P(path)
    assert (g2p.phonemize("Xin chào, hello world! Tôi dùng email online.")
            == "xin1 chao2, həˈloʊ wɜːld! toi1 dung2 ˈiːmeɪl ˈɒnlaɪn.")
