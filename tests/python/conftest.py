"""Shared fixtures: the dictionary writer of tests/dictgen.py, loaded from its
file so that the tests need no path changes, and importable by name
(`from dictgen import write_dictionary`) in every test module."""

from __future__ import annotations

import importlib.util
import pathlib
import sys

import pytest

_DICTGEN_PATH = pathlib.Path(__file__).resolve().parent.parent / "dictgen.py"


def _load_dictgen():
    spec = importlib.util.spec_from_file_location("dictgen", _DICTGEN_PATH)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


_DICTGEN = sys.modules.setdefault("dictgen", _load_dictgen())


@pytest.fixture(scope="session")
def dictgen():
    """The dictionary writer module (write_dictionary, dictionary_bytes, main)."""
    return _DICTGEN


@pytest.fixture
def make_dictionary(dictgen, tmp_path):
    """make_dictionary(merged, common={}, name="dict.bin") -> path of a new file."""

    def make(merged, common=None, name="dict.bin"):
        path = tmp_path / name
        dictgen.write_dictionary(path, merged, common or {})
        return str(path)

    return make
