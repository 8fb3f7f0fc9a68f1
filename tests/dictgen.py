"""Writes phoneme dictionary files for tests, benchmarks and the demo.

    from dictgen import write_dictionary
    write_dictionary("dict.bin", {"xin": "sin", "hello": "<en>həˈloʊ"},
                     {"on": ("ɔn", "<en>ɒn")})

or, from a lexicon of tab-separated rows (word, pronunciation for the merged
table; word, Vietnamese, English for the common table; "#" starts a comment):

    python tests/dictgen.py examples/sample_lexicon.tsv sample.dict

Layout (little-endian u32 fields): a 32-byte header (magic "VYRP", reserved,
string count, merged count, common count, then the offsets of the string
table, the merged table and the common table), the string table (start of
each string counted from the end of the header), the NUL-terminated UTF-8
strings, the merged table of (key id, value id) and the common table of
(key id, vi id, en id). Both tables are sorted by the UTF-8 bytes of their
keys, as the reader's binary search needs. Keys are stored as given: the
phonemizer looks words up lower-cased, so pass lower-case keys (the CLI
lower-cases the words of the lexicon).
"""

from __future__ import annotations

import argparse
import struct
import sys
from collections.abc import Mapping
from pathlib import Path

MAGIC = b"VYRP"
HEADER_SIZE = 32
_U32_MAX = 0xFFFFFFFF


class _StringPool:
    """Interns strings: equal strings share one id and one copy of their bytes."""

    def __init__(self) -> None:
        self.ids: dict[str, int] = {}
        self.starts: list[int] = []
        self.data = bytearray()

    def intern(self, text: str) -> int:
        if "\0" in text:
            raise ValueError(f"dictionary strings cannot hold NUL: {text!r}")
        found = self.ids.get(text)
        if found is not None:
            return found
        self.ids[text] = len(self.starts)
        self.starts.append(len(self.data))
        self.data += text.encode("utf-8") + b"\0"
        return self.ids[text]


def _sorted_by_bytes(table: Mapping[str, object]) -> list[str]:
    return sorted(table, key=lambda word: word.encode("utf-8"))


def dictionary_bytes(merged: Mapping[str, str],
                     common: Mapping[str, tuple[str, str]]) -> bytes:
    """The bytes of a dictionary file holding both tables."""
    pool = _StringPool()
    merged_rows = [(pool.intern(w), pool.intern(merged[w])) for w in _sorted_by_bytes(merged)]
    common_rows = [(pool.intern(w), pool.intern(common[w][0]), pool.intern(common[w][1]))
                   for w in _sorted_by_bytes(common)]

    string_table_offset = HEADER_SIZE
    pool_offset = string_table_offset + 4 * len(pool.starts)
    merged_offset = pool_offset + len(pool.data)
    common_offset = merged_offset + 8 * len(merged_rows)
    end = common_offset + 12 * len(common_rows)
    if end > _U32_MAX:
        raise ValueError("dictionary too large for 32-bit offsets")

    out = bytearray(MAGIC)
    out += struct.pack("<7I", 0, len(pool.starts), len(merged_rows), len(common_rows),
                       string_table_offset, merged_offset, common_offset)
    relative = pool_offset - HEADER_SIZE
    out += b"".join(struct.pack("<I", relative + start) for start in pool.starts)
    out += pool.data
    out += b"".join(struct.pack("<2I", *row) for row in merged_rows)
    out += b"".join(struct.pack("<3I", *row) for row in common_rows)
    return bytes(out)


def write_dictionary(path: str | Path, merged: Mapping[str, str],
                     common: Mapping[str, tuple[str, str]]) -> None:
    """Writes a dictionary file with the merged table (word -> pronunciation)
    and the common table (word -> (Vietnamese, English) pronunciation)."""
    Path(path).write_bytes(dictionary_bytes(merged, common))


def read_lexicon(lines) -> tuple[dict[str, str], dict[str, tuple[str, str]]]:
    """Parses lexicon rows into the two tables; words are lower-cased and a
    later row for the same word replaces an earlier one."""
    merged: dict[str, str] = {}
    common: dict[str, tuple[str, str]] = {}
    for number, line in enumerate(lines, 1):
        line = line.rstrip("\r\n")
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        fields = line.split("\t")
        word = fields[0].strip().lower()
        if not word:
            raise ValueError(f"line {number}: empty word")
        if len(fields) == 2:
            merged[word] = fields[1]
        elif len(fields) == 3:
            common[word] = (fields[1], fields[2])
        else:
            raise ValueError(f"line {number}: expected 2 or 3 tab-separated fields, "
                             f"got {len(fields)}")
    return merged, common


def main(argv: list[str] | None = None) -> int:
    parser = argparse.ArgumentParser(description="Build a phoneme dictionary file from a lexicon.")
    parser.add_argument("lexicon", type=Path, help="TSV: word, pronunciation | word, vi, en")
    parser.add_argument("output", type=Path, help="dictionary file to write")
    args = parser.parse_args(argv)
    try:
        with args.lexicon.open(encoding="utf-8") as f:
            merged, common = read_lexicon(f)
    except (OSError, ValueError, UnicodeDecodeError) as e:
        print(f"dictgen: {args.lexicon}: {e}", file=sys.stderr)
        return 1
    write_dictionary(args.output, merged, common)
    print(f"dictgen: wrote {args.output} ({len(merged)} merged, {len(common)} common entries)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
