"""Throughput of normalize and phonemize, single calls and batches on 1, 2
and all cores, with peak memory and the linear-time check on hostile inputs.

    python bench/run.py              # the full table
    python bench/run.py --quick      # a smaller corpus, for a smoke run

Each pool size runs in its own process, since the pool is sized once per
process from RAYON_NUM_THREADS.
"""

from __future__ import annotations

import argparse
import json
import os
import pathlib
import resource
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True
_HERE = pathlib.Path(__file__).resolve().parent


def _load(name: str):
    import importlib.util

    spec = importlib.util.spec_from_file_location(name, _HERE / f"{name}.py")
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def _best_of(fn, repeat: int) -> float:
    best = float("inf")
    for _ in range(repeat):
        start = time.perf_counter()
        fn()
        best = min(best, time.perf_counter() - start)
    return best


def worker(dict_path: str, count: int, repeat: int) -> dict:
    import vyr_g2p

    texts = _load("corpus").sentences(count)
    normalizer = vyr_g2p.Normalizer()
    g2p = vyr_g2p.G2P(dict_path)
    normalized = normalizer.normalize_batch(texts)
    mb = sum(len(t.encode()) for t in texts) / 1e6
    mb_norm = sum(len(t.encode()) for t in normalized) / 1e6
    result = {"texts": len(texts), "mb": mb, "mb_norm": mb_norm}
    result["normalize_single"] = _best_of(lambda: [normalizer.normalize(t) for t in texts], repeat)
    result["normalize_batch"] = _best_of(lambda: normalizer.normalize_batch(texts), repeat)
    result["phonemize_single"] = _best_of(lambda: [g2p.phonemize(t) for t in normalized], repeat)
    result["phonemize_batch"] = _best_of(lambda: g2p.phonemize_batch(normalized), repeat)
    result["peak_rss_mb"] = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024
    return result


def _run_worker(threads: int, dict_path: str, count: int, repeat: int) -> dict:
    env = dict(os.environ, RAYON_NUM_THREADS=str(threads))
    out = subprocess.run(
        [sys.executable, __file__, "--worker", dict_path, str(count), str(repeat)],
        env=env, check=True, capture_output=True, text=True,
    )
    return json.loads(out.stdout)


# Hostile inputs: each family is timed at n and 8n; linear time keeps the ratio near 8.
FAMILIES = {
    "unclosed (": lambda n: "(" * n,
    "unclosed [": lambda n: "[" * n,
    "unclosed <en>": lambda n: "<en>a " * (n // 6),
    "unclosed <en>, </en> after \\n": lambda n: "<en>a " * (n // 6) + "\n</en>",
    "unclosed <EN> mixed case": lambda n: "<En>a <eN>b " * (n // 12) + "</x",
    "unclosed __start_en__": lambda n: "__start_en__ " * (n // 13),
    "__start_en__, __end_en__ after \\n": lambda n: "__start_en__ " * (n // 13) + "\n__end_en__",
    "__START_EN__ mixed case": lambda n: "__Start_En__ " * (n // 13) + "__end_",
    "digits": lambda n: "7" * n,
    "dots": lambda n: "." * n,
    "commas": lambda n: "," * n,
    "dashes": lambda n: "-" * n,
    "1-1-1-": lambda n: "1-" * (n // 2),
    "1.1.1.": lambda n: "1." * (n // 2),
    "2x2x2x": lambda n: "2x" * (n // 2),
    "ascii word + à": lambda n: "a" * n + "à",
    "capitals": lambda n: "ABCD " * (n // 5),
    "capitals run": lambda n: "A" * n,
    "digit groups": lambda n: "123 " * (n // 4),
    "a.a.a.": lambda n: "a." * (n // 2),
    "a-a-a-": lambda n: "a-" * (n // 2),
    "a/a/a/": lambda n: "a/" * (n // 2),
    "a@a@a@": lambda n: "a@" * (n // 2),
    "/./././": lambda n: "/." * (n // 2),
    "a.b.c--": lambda n: "a.b.c--" * (n // 7),
    "1.1.1$": lambda n: "1." * (n // 2) + "$",
    "currency digits": lambda n: "$" + "1" * n,
}


# Phonemizer families: a long word (segmented against the dictionary) and
# unclosed tags on one line.
PHONEMIZE_FAMILIES = {
    "long word": lambda n: "a" * n,
    "long vietnamese word": lambda n: "à" * (n // 2),
    "unclosed <en>": lambda n: "<en>a " * (n // 6),
    "unclosed <en>, </en> after \\n": lambda n: "<en>a " * (n // 6) + "\n</en>",
}


def _selected(families: dict, only: list[str] | None) -> dict:
    if not only:
        return families
    return {k: v for k, v in families.items() if any(o in k for o in only)}


def hostile(dict_path: str, n: int, only: list[str] | None = None) -> list[tuple]:
    """Rows of (call, family, seconds at n, seconds at 8n, outcome)."""
    import vyr_g2p

    normalizer = vyr_g2p.Normalizer()
    g2p = vyr_g2p.G2P(dict_path)
    rows = []

    def timed(fn, text):
        start = time.perf_counter()
        outcome = "ok"
        try:
            fn(text)
        except BaseException as exc:  # PanicException derives from BaseException
            if type(exc).__name__ != "PanicException":
                raise
            outcome = "panic"
        return time.perf_counter() - start, outcome

    for call, fn, families in [("normalize", normalizer.normalize, FAMILIES),
                               ("phonemize", g2p.phonemize, PHONEMIZE_FAMILIES)]:
        for name, make in _selected(families, only).items():
            (t1, o1), (t8, o8) = timed(fn, make(n)), timed(fn, make(8 * n))
            rows.append((call, name, t1, t8, o1 if o1 == o8 else f"{o1}/{o8}"))
    return rows


def ordinary_text(dict_path: str, megabytes: int) -> tuple[float, str]:
    """One normalize call on `megabytes` of ordinary sentences."""
    import vyr_g2p

    sentences = _load("corpus").sentences(3000)
    block = " ".join(sentences)
    text = (block + " ") * (megabytes * 1_000_000 // (len(block.encode()) + 1) + 1)
    start = time.perf_counter()
    try:
        vyr_g2p.Normalizer().normalize(text)
        outcome = "ok"
    except BaseException as exc:
        if type(exc).__name__ != "PanicException":
            raise
        outcome = "panic"
    return time.perf_counter() - start, outcome


def print_hostile(dict_path: str, n: int, only: list[str] | None) -> None:
    print(f"\nhostile inputs, n = {n:,} characters (ratio of 8n to n; linear is about 8)")
    for call, name, t1, t8, outcome in hostile(dict_path, n, only):
        print(f"  {call:<10}{name:<34}{t1 * 1e3:>9.1f} ms {t8 * 1e3:>9.1f} ms"
              f"  x{t8 / max(t1, 1e-9):5.1f}  {outcome}")
    if not only:
        seconds, outcome = ordinary_text(dict_path, 10)
        print(f"  normalize 10 MB of ordinary text in one call: {seconds:.1f} s, {outcome}")


def main() -> None:
    parser = argparse.ArgumentParser()
    parser.add_argument("--quick", action="store_true")
    parser.add_argument("--worker", nargs=3)
    parser.add_argument("--hostile-n", type=int, default=None,
                        help="size n of the hostile inputs (default 100,000; 10,000 with --quick)")
    parser.add_argument("--hostile-only", action="store_true",
                        help="skip the throughput table")
    parser.add_argument("--family", action="append", default=None,
                        help="time only the hostile families whose name contains this text")
    args = parser.parse_args()
    if args.worker:
        print(json.dumps(worker(args.worker[0], int(args.worker[1]), int(args.worker[2]))))
        return

    count, repeat, n = (1000, 1, 10_000) if args.quick else (3000, 3, 100_000)
    if args.hostile_n is not None:
        n = args.hostile_n
    cores = os.cpu_count() or 1
    with tempfile.TemporaryDirectory() as tmp:
        dict_path = str(pathlib.Path(tmp) / "bench.dict")
        entries = _load("lexicon").build(pathlib.Path(dict_path), english=30000)
        print(f"dictionary: {entries} entries; corpus: {count} sentences")
        if args.hostile_only:
            print_hostile(dict_path, n, args.family)
            return
        sizes = sorted({1, 2, cores})
        runs = {k: _run_worker(k, dict_path, count, repeat) for k in sizes}
        base = runs[1]
        print(f"\n{'call':<26}{'threads':>8}{'texts/s':>12}{'MB/s':>9}{'speedup':>9}{'peak MB':>9}")
        for label, key, mb_key in [("normalize", "normalize_single", "mb"),
                                   ("phonemize", "phonemize_single", "mb_norm")]:
            r = base
            print(f"{label + ' (single)':<26}{1:>8}{r['texts'] / r[key]:>12,.0f}"
                  f"{r[mb_key] / r[key]:>9.2f}{'':>9}{r['peak_rss_mb']:>9.0f}")
            batch_key = key.replace("single", "batch")
            for k in sizes:
                r = runs[k]
                print(f"{label + '_batch':<26}{k:>8}{r['texts'] / r[batch_key]:>12,.0f}"
                      f"{r[mb_key] / r[batch_key]:>9.2f}"
                      f"{base[batch_key] / r[batch_key]:>8.2f}x{r['peak_rss_mb']:>9.0f}")
        print_hostile(dict_path, n, args.family)


if __name__ == "__main__":
    main()
