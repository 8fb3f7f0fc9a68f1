"""vyr_g2p: the native core of the vyr-g2p package."""

import os
from collections.abc import Sequence
from typing import Final, final

__all__ = ["G2P", "Normalizer"]
__version__: Final[str]

@final
class G2P:
    """A phonemiser reading the phoneme dictionary file at dict_path."""

    def __new__(cls, dict_path: str | os.PathLike[str] | os.PathLike[bytes]) -> G2P: ...
    def phonemize(self, text: str) -> str:
        """The pronunciation of a text, word by word, read from the dictionary."""
    def phonemize_batch(self, texts: Sequence[str]) -> list[str]:
        """phonemize() of every text of a sequence of str, as a list in input order."""

@final
class Normalizer:
    """A normaliser of Vietnamese text for speech synthesis."""

    def __new__(cls, lang: str = "vi") -> Normalizer: ...
    @property
    def lang(self) -> str:
        """The language code given to the constructor (read-only)."""
    def normalize(self, text: str) -> str:
        """The text written out as lower-case speakable Vietnamese words."""
    def normalize_batch(self, texts: Sequence[str]) -> list[str]:
        """normalize() of every text of a sequence of str, as a list in input order."""

class PanicException(BaseException):
    """Raised when the core fails internally; named pyo3_runtime.PanicException."""
