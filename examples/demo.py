"""Normalises and phonemises a few sentences with a dictionary file.

    python tests/dictgen.py examples/sample_lexicon.tsv sample.dict
    python examples/demo.py sample.dict ["your own sentence" ...]

Each sentence is printed as given, as the normaliser writes it and as the
phonemizer reads it. Words the dictionary lacks are split into dictionary
pieces or spelled letter by letter.
"""

from __future__ import annotations

import argparse
import sys

import vyr_g2p

SENTENCES = [
    "Xin chào, tôi là người Việt Nam.",
    "Hôm nay ngày 10/12/2026, nhiệt độ 25°C.",
    "Giá iPhone tăng 15% lên 30.000.000 đồng.",
    "Liên hệ email info@vyr.vn hoặc gọi 0912 345 678.",
    "Cuộc họp lúc 9h30 sáng thứ Hai, on time!",
    "<en>Hello world</en>, xin chào các bạn!",
]


def main(argv: list[str] | None = None) -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("dictionary", help="phoneme dictionary file (see tests/dictgen.py)")
    parser.add_argument("sentences", nargs="*", help="sentences to read instead of the samples")
    args = parser.parse_args(argv)

    try:
        g2p = vyr_g2p.G2P(args.dictionary)
    except OSError as e:
        print(f"demo: cannot load {args.dictionary}: {e}", file=sys.stderr)
        return 1
    normalizer = vyr_g2p.Normalizer()

    sentences = args.sentences or SENTENCES
    normalised = normalizer.normalize_batch(sentences)
    phonemes = g2p.phonemize_batch(normalised)
    for text, norm, phon in zip(sentences, normalised, phonemes):
        print(f"text:       {text}")
        print(f"normalised: {norm}")
        print(f"phonemes:   {phon}")
        print()
    return 0


if __name__ == "__main__":
    sys.exit(main())
