"""The type information the wheel ships: mypy --strict accepts ordinary use
of both classes and refuses misuse, and the stubs agree with the module.
Skipped where mypy is not installed (scripts/test.sh installs it)."""

from __future__ import annotations

import os
import pathlib
import shutil
import subprocess
import sys
import textwrap

import pytest

import vyr_g2p

pytest.importorskip("mypy")

SOURCE_STUB = pathlib.Path(__file__).resolve().parents[2] / "python" / "vyr_g2p-stubs"
INSTALLED_STUB = pathlib.Path(vyr_g2p.__file__).parent / "vyr_g2p-stubs"

ORDINARY_USE = """
import os
import pathlib

import vyr_g2p


def run(path: pathlib.Path, texts: list[str]) -> list[str]:
    normalizer = vyr_g2p.Normalizer()
    g2p = vyr_g2p.G2P(path)
    other = vyr_g2p.G2P(os.fspath(path))
    lines = normalizer.normalize_batch(texts)
    lines.append(normalizer.normalize("Xin chào") + normalizer.lang)
    try:
        return g2p.phonemize_batch(tuple(lines)) + [other.phonemize(lines[0])]
    except vyr_g2p.PanicException as failure:
        return [str(failure), vyr_g2p.__version__]
    except FileNotFoundError as missing:
        return [str(missing.filename)]
"""

MISUSE = """
import vyr_g2p

g2p = vyr_g2p.G2P(5)
count: int = g2p.phonemize("a")
vyr_g2p.Normalizer().lang = "en"
"""


def mypy(tmp_path: pathlib.Path, code: str) -> subprocess.CompletedProcess[str]:
    """mypy --strict on code, with the installed stubs, else the source's."""
    (tmp_path / "use.py").write_text(textwrap.dedent(code), encoding="utf-8")
    env = dict(os.environ)
    if not INSTALLED_STUB.is_dir():
        # A build tree: the source's stub, as a module of its own.
        stubs = tmp_path / "stubs"
        stubs.mkdir()
        shutil.copy(SOURCE_STUB / "__init__.pyi", stubs / "vyr_g2p.pyi")
        env["MYPYPATH"] = str(stubs)
    return subprocess.run(
        [sys.executable, "-m", "mypy", "--strict", "--no-incremental", "use.py"],
        capture_output=True, text=True, cwd=tmp_path, env=env, timeout=300,
    )


def test_mypy_strict_accepts_ordinary_use(tmp_path):
    result = mypy(tmp_path, ORDINARY_USE)
    assert result.returncode == 0, result.stdout + result.stderr


def test_mypy_strict_refuses_misuse(tmp_path):
    result = mypy(tmp_path, MISUSE)
    assert result.returncode == 1, result.stdout + result.stderr
    for line in (4, 5, 6):
        assert f"use.py:{line}: error" in result.stdout, result.stdout


def test_wheel_ships_the_stubs_and_they_match_the_module():
    if not INSTALLED_STUB.is_dir():
        pytest.skip("the module is not installed from the wheel")
    assert (INSTALLED_STUB / "py.typed").is_file()
    result = subprocess.run([sys.executable, "-m", "mypy.stubtest", "vyr_g2p"],
                            capture_output=True, text=True, timeout=300)
    assert result.returncode == 0, result.stdout + result.stderr
