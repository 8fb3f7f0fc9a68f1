"""A dictionary of realistic size for the benchmarks: every Vietnamese
syllable shape from common onsets, rhymes and tones, plus English-like words
and words with both readings, written with the test dictionary writer."""

from __future__ import annotations

import importlib.util
import itertools
import pathlib
import random
import unicodedata

_ROOT = pathlib.Path(__file__).resolve().parent.parent

_ONSETS = ["", "b", "c", "ch", "d", "đ", "g", "gh", "gi", "h", "k", "kh", "l", "m", "n", "ng",
           "ngh", "nh", "p", "ph", "qu", "r", "s", "t", "th", "tr", "v", "x"]
_RHYMES = ["a", "ai", "am", "an", "ang", "anh", "ao", "at", "au", "ay", "ăm", "ăn", "ăng", "âm",
           "ân", "âng", "âu", "ây", "e", "em", "en", "eo", "ê", "êm", "ên", "ênh", "i", "ia", "iêm",
           "iên", "iêu", "im", "in", "inh", "o", "oa", "oai", "oan", "oang", "oanh", "oc", "oi", "om",
           "on", "ong", "ô", "ôi", "ôm", "ôn", "ông", "ơ", "ơi", "ơm", "ơn", "u", "ua", "uân", "ui",
           "um", "un", "ung", "uôi", "uôn", "uông", "uy", "uyên", "ư", "ưa", "ưi", "ưng", "ươi",
           "ươn", "ương", "y", "yên"]
_TONES = ["", "\u0300", "\u0301", "\u0309", "\u0303", "\u0323"]
_TONE_MARKS = ["1", "2", "3", "4", "5", "6"]


def _dictgen():
    spec = importlib.util.spec_from_file_location("dictgen", _ROOT / "tests" / "dictgen.py")
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def _with_tone(rhyme: str, tone: str) -> str:
    if not tone:
        return rhyme
    # The mark goes on the last vowel of the nucleus; close enough for a lexicon.
    vowels = [i for i, ch in enumerate(rhyme) if unicodedata.normalize("NFD", ch)[0] in "aeiouy"]
    at = vowels[-1] if len(vowels) == 1 or rhyme[-1] not in "aeiouy" else vowels[0]
    return unicodedata.normalize("NFC", rhyme[: at + 1] + tone + rhyme[at + 1 :])


def vietnamese_syllables() -> dict[str, str]:
    out = {}
    for onset, rhyme, (tone, mark) in itertools.product(_ONSETS, _RHYMES, zip(_TONES, _TONE_MARKS)):
        word = onset + _with_tone(rhyme, tone)
        out[word] = f"{onset or 'ʔ'}{unicodedata.normalize('NFD', rhyme)[0]}{rhyme[1:]}{mark}"
    return out


def english_words(count: int, seed: int = 7) -> dict[str, str]:
    rng = random.Random(seed)
    parts = ["ab", "ac", "al", "an", "ar", "be", "bi", "ca", "co", "de", "di", "er", "ex", "fa",
             "fi", "ga", "in", "io", "ka", "la", "le", "li", "lo", "ma", "me", "mi", "mo", "ne",
             "no", "on", "or", "pa", "pe", "pro", "ra", "re", "ri", "ro", "sa", "se", "si", "st",
             "ta", "te", "ti", "to", "tr", "un", "ve", "wa", "wo", "xt", "yo", "za"]
    words = {"hello": "<en>həˈloʊ", "world": "<en>wɜːld", "email": "<en>ˈiːmeɪl",
             "online": "<en>ˈɒnlaɪn", "startup": "<en>ˈstɑːtʌp", "smartphone": "<en>ˈsmɑːtfəʊn",
             "marketing": "<en>ˈmɑːkɪtɪŋ", "cloud": "<en>klaʊd", "blockchain": "<en>ˈblɒktʃeɪn",
             "livestream": "<en>ˈlaɪvstriːm", "usd": "<en>juː es diː"}
    while len(words) < count:
        w = "".join(rng.choice(parts) for _ in range(rng.randint(2, 4)))
        words.setdefault(w, "<en>" + w.replace("a", "æ").replace("e", "ɛ"))
    return words


def build(path: pathlib.Path, english: int = 30000) -> int:
    merged = vietnamese_syllables()
    vi_count = len(merged)
    for word, pron in english_words(english).items():
        merged.setdefault(word, pron)
    letters = {ch: ch for ch in "abcdefghijklmnopqrstuvwxyzđ0123456789"}
    for ch, pron in letters.items():
        merged.setdefault(ch, pron)
    common = {}
    for word in list(merged)[: vi_count : 97]:
        common[word] = (merged[word], "<en>" + word)
    for word in common:
        merged.pop(word, None)
    _dictgen().write_dictionary(str(path), merged, common)
    return len(merged) + len(common)
