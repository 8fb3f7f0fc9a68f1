"""Shared G2P and Normalizer objects under many Python threads, and memory
over a long run of calls.

The workload crosses every cache bound of the engine: more than 10,000
found words (the merged cache is emptied), more than 5,000 words of the
common table and 5,000 segmented words (their caches are emptied), and
enough unknown words to fill both miss sets to 50,000.
"""

import os
import random
import resource
import threading

import pytest

import vyr_g2p
from dictgen import write_dictionary

VOWELS = "aeiou"
CONSONANTS = "bcdghklmnprstvx"
THREADS = 8


def spelled(i, alphabet, digits):
    """i written with `digits` letters of `alphabet`, most significant first."""
    out = []
    for _ in range(digits):
        i, r = divmod(i, len(alphabet))
        out.append(alphabet[r])
    return "".join(reversed(out))


class Workload:
    """Found words wrapped in "w" or "f", which no piece holds; unknown words
    use only "j", "q" and "z" among the consonants, so no kind is mistaken
    for another."""

    def __init__(self):
        rng = random.Random(20240601)
        self.merged = {}
        self.common = {}
        words = []
        for i in range(12_000):
            word = "w" + spelled(i, VOWELS, 6) + "w"
            self.merged[word] = f"M{i}"
            words.append(word)
        for i in range(6_000):
            word = "f" + spelled(i, VOWELS, 6) + "f"
            self.common[word] = (f"V{i}", "" if i % 3 == 0 else f"<en>E{i}")
            words.append(word)
        pieces = [c + v for c in CONSONANTS for v in VOWELS]
        for piece in pieces:
            self.merged[piece] = "<en>P" + piece
        words += [a + b for a in pieces for b in pieces]
        self.unknown_letters = "jqzaeiouy"
        words += ["".join(rng.choice(self.unknown_letters) for _ in range(8))
                  for _ in range(12_000)]
        rng.shuffle(words)
        self.found_words = [w for w in self.merged if w.startswith("w")]
        self.texts = self._lines(words, rng)

    @staticmethod
    def _lines(words, rng):
        texts, line = [], []
        for i, word in enumerate(words):
            if rng.randrange(7) == 0:
                word = word.capitalize()
            if rng.randrange(11) == 0:
                word = f"<en>{word}</en>"
            line.append(word + rng.choice([",", ".", "", "", ""]))
            if i % 16 == 15 or i + 1 == len(words):
                texts.append(" ".join(line) + " đây!")
                line = []
        return texts


@pytest.fixture(scope="module")
def workload():
    return Workload()


@pytest.fixture(scope="module")
def dict_path(workload, tmp_path_factory):
    path = tmp_path_factory.mktemp("stress") / "stress.dict"
    write_dictionary(path, workload.merged, workload.common)
    return str(path)


def normalizer_texts():
    shapes = [
        "Ngày {d}/{m}/19{n}, lúc {h}:{n} sáng, giá {n}.500đ ({n}%).",
        "Liên hệ user{n}@gmail.com hoặc https://www.site{n}.vn/path?q={n}.",
        "Thế kỷ XXI, chương IV, WHO và UNESCO, TP.HCM, v{d}.{m}.{n}.",
        "Xe chạy {n}km/h, nặng {n},5kg, {n}°C, {n} m², tỉ lệ {d}/{m}.",
        "Tôi thích <en>machine learning {n}</en> và __start_en__deep{n}__end_en__ lắm!",
        "Gọi 0912 {n}{n} {n}{n} hoặc +84 {d}{m}-{n}; từ {d}-{m} ngày, x{n} = y*{d}.",
        "File config{n}.yaml, C:\\Users\\u{n}\\a.txt, /usr/bin/python3.{d}, iPhone {d} Pro.",
    ]
    return [shapes[i % len(shapes)].format(n=10 + i % 89, d=1 + i % 31, m=1 + i % 12, h=i % 24)
            for i in range(350)]


def run_threads(targets):
    """Starts one thread per target together; re-raises the first failure."""
    barrier = threading.Barrier(len(targets))
    failures = []

    def wrap(target):
        def run():
            barrier.wait()
            try:
                target()
            except BaseException as e:  # PanicException derives from BaseException
                failures.append(e)
        return run

    threads = [threading.Thread(target=wrap(t)) for t in targets]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    if failures:
        raise failures[0]


def single_worker(method, texts, offset, out):
    """Calls method on every text, starting at offset."""
    def run():
        for k in range(len(texts)):
            i = (offset + k) % len(texts)
            out[i] = method(texts[i])
    return run


def batch_worker(method, texts, size, out):
    """Hands the texts to method in batches of `size` (and one tuple)."""
    def run():
        for start in range(0, len(texts), size):
            chunk = texts[start:start + size]
            out[start:start + size] = method(tuple(chunk) if start == 0 else chunk)
    return run


def test_shared_objects_under_threads_give_single_threaded_results(dict_path, workload):
    """Single and batch calls of both classes at once, from eight threads,
    on one G2P and one Normalizer."""
    g2p = vyr_g2p.G2P(dict_path)
    normalizer = vyr_g2p.Normalizer()
    g2p_texts = workload.texts
    norm_texts = normalizer_texts()

    kinds = [  # (name, texts, target factory)
        ("phonemize", g2p_texts, lambda out, t: single_worker(
            g2p.phonemize, g2p_texts, t * len(g2p_texts) // THREADS, out)),
        ("phonemize_batch", g2p_texts, lambda out, t: batch_worker(
            g2p.phonemize_batch, g2p_texts, 97 + t, out)),
        ("normalize", norm_texts, lambda out, t: single_worker(
            normalizer.normalize, norm_texts, t * len(norm_texts) // THREADS, out)),
        ("normalize_batch", norm_texts, lambda out, t: batch_worker(
            normalizer.normalize_batch, norm_texts, 29 + t, out)),
    ]
    results, targets = [], []
    for t in range(THREADS):
        name, texts, factory = kinds[t % len(kinds)]
        out = [None] * len(texts)
        results.append((name, out))
        targets.append(factory(out, t))
    run_threads(targets)

    alone = vyr_g2p.G2P(dict_path)
    expected = {
        "phonemize": [alone.phonemize(text) for text in g2p_texts],
        "normalize": [vyr_g2p.Normalizer().normalize(text) for text in norm_texts],
    }
    expected["phonemize_batch"] = expected["phonemize"]
    expected["normalize_batch"] = expected["normalize"]
    for t, (name, out) in enumerate(results):
        wrong = [i for i, (a, b) in enumerate(zip(out, expected[name])) if a != b]
        assert not wrong, (f"thread {t} ({name}): {len(wrong)} results differ, first at "
                           f"{wrong[0]}: {out[wrong[0]]!r} != {expected[name][wrong[0]]!r}")


def resident_bytes():
    with open("/proc/self/statm") as f:
        pages = int(f.read().split()[1])
    return pages * resource.getpagesize()


def under_address_sanitizer():
    with open("/proc/self/maps") as f:
        return "libasan" in f.read()


@pytest.mark.skipif(not os.path.exists("/proc/self/statm"),
                    reason="needs /proc to read the resident set")
def test_long_run_keeps_memory_bounded(dict_path, workload):
    """10^5 calls that keep emptying the caches and ask for ever new words
    leave the resident set where the bounded caches put it."""
    if under_address_sanitizer():
        pytest.skip("AddressSanitizer's quarantine holds freed memory on purpose")
    g2p = vyr_g2p.G2P(dict_path)
    normalizer = vyr_g2p.Normalizer()
    found = workload.found_words
    norm_texts = normalizer_texts()

    def calls(first, count):
        for i in range(first, first + count):
            # a found word (the merged cache is emptied every 10,000) and an
            # unknown word never seen before (the miss sets are full, the
            # segmentation cache is emptied every 5,000)
            text = f"{found[i % len(found)]} zq{spelled(i, workload.unknown_letters, 7)}"
            if i % 200 == 0:
                g2p.phonemize_batch([text, text.upper(), "xin chào"])
            elif i % 200 == 1:
                normalizer.normalize_batch(norm_texts[i % 300:i % 300 + 3])
            elif i % 8 == 0:
                normalizer.normalize(norm_texts[i % len(norm_texts)])
            else:
                g2p.phonemize(text)

    # Warm up: fill every store to its bound and create the pool's threads.
    for text in workload.texts:
        g2p.phonemize(text)
    calls(0, 20_000)
    before = resident_bytes()
    calls(20_000, 100_000)
    grown = resident_bytes() - before
    # It stays put (0 bytes here); a leak of one small string or object per
    # call, 32 bytes or more, would cross this bound.
    assert grown < 2 * 1024 * 1024, f"resident set grew by {grown / 2**20:.1f} MiB"


@pytest.mark.skipif(not os.path.exists("/proc/self/statm"),
                    reason="needs /proc to read the resident set")
def test_long_distinct_words_leave_no_copies_behind(make_dictionary):
    """A thousand new words of 10,000 letters each, half read piece by piece
    and half spelled, are read right and leave the resident set where it
    was: the engine keeps no copy of a word, nor of its reading, that long
    (it used to keep about 40 MB of them for its life)."""
    if under_address_sanitizer():
        pytest.skip("AddressSanitizer's quarantine holds freed memory on purpose")
    readings = {c + v: c.upper() + v for c in "bdm" for v in "aeiou"}
    g2p = vyr_g2p.G2P(make_dictionary(readings))
    pieces = sorted(readings)
    rng = random.Random(7)

    def long_word(i):
        chosen = [rng.choice(pieces) for _ in range(5_000)]
        if i % 2:
            chosen.insert(2_500, "q")  # no piece holds "q": spelled, letters as written
        return "".join(chosen), chosen

    def expected(word, chosen):
        return word if "q" in chosen else " ".join(readings[p] for p in chosen)

    words = [long_word(i) for i in range(1_100)]
    for word, chosen in words[:100]:  # the pieces' own entries are stored by now
        assert g2p.phonemize(word) == expected(word, chosen)
    before = resident_bytes()
    for word, chosen in words[100:]:
        assert g2p.phonemize(word) == expected(word, chosen)
    grown = resident_bytes() - before
    assert grown < 8 * 1024 * 1024, f"resident set grew by {grown / 2**20:.1f} MiB"
    # Asked again, or of a new engine, the same words read the same.
    sample = words[100:110]
    fresh = vyr_g2p.G2P(make_dictionary(readings, name="fresh.bin"))
    again = g2p.phonemize_batch([word for word, _ in sample])
    assert again == [fresh.phonemize(word) for word, _ in sample]
    assert again == [expected(word, chosen) for word, chosen in sample]
