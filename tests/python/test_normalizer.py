"""Normalizer behaviour seen from Python: chunks, placeholders, NFC, batches."""

import unicodedata

import pytest

import vyr_g2p


@pytest.fixture(scope="module")
def normalizer():
    return vyr_g2p.Normalizer()


def test_empty_text(normalizer):
    assert normalizer.normalize("") == ""


@pytest.mark.parametrize(
    "text, expected",
    [
        ("<EN>Hello World</En> nhé", "<EN>Hello World</En> nhé"),
        ("<en>a</en> và <en>b</en>", "<en>a</en> và <en>b</en>"),
        ("Đọc <en>one\ntwo</en> nhé", "đọc <en>one\ntwo</en> nhé"),
        ("<en>a  b</en>", "<en>a b</en>"),
        ("<en>a\t\u00a0b</en>", "<en>a b</en>"),
    ],
)
def test_chunks_come_back_as_written(normalizer, text, expected):
    assert normalizer.normalize(text) == expected


def test_chunk_is_composed_like_the_rest(normalizer):
    decomposed = "<en>cafe\u0301</en>"
    assert normalizer.normalize(decomposed) == unicodedata.normalize("NFC", decomposed)


def test_text_outside_chunks_is_lower_case_and_composed(normalizer):
    result = normalizer.normalize("Xin Cha\u0300o")
    assert result == "xin chào"
    assert unicodedata.is_normalized("NFC", result)


def test_more_than_ten_chunks_return_to_their_places(normalizer):
    text = " và ".join(f"<en>C{i}</en>" for i in range(12))
    assert normalizer.normalize(text) == text


def test_digits_after_a_chunk_are_read_as_a_number(normalizer):
    assert normalizer.normalize("<en>iPhone</en>5") == "<en>iPhone</en> năm"


def test_no_placeholder_leaks(normalizer):
    for text in ["<en>a</en>", "x <en>b</en> y <en>c</en>", "<en>d</en>12"]:
        assert "entoken" not in normalizer.normalize(text).replace("<en>", "")


def test_language_code_does_not_change_results():
    texts = ["Từ 5-10 ngày", "<en>Hi</en> 090 123 456", ""]
    results = [vyr_g2p.Normalizer(lang).normalize(t) for lang in ("vi", "en", "") for t in texts]
    assert results[0:3] == results[3:6] == results[6:9]


def test_batch_equals_single_calls(normalizer):
    texts = [
        "",
        "Từ 5-10 ngày",
        "5-3=-2",
        "<en>Hello</en> và <en>World</en>",
        "Gọi 090 123 456 nhé",
        "Dân số 1.234.567 người",
    ] * 5
    assert normalizer.normalize_batch(texts) == [normalizer.normalize(t) for t in texts]


def test_batch_of_one_and_of_none(normalizer):
    assert normalizer.normalize_batch([]) == []
    assert normalizer.normalize_batch(["<en>X</en> 5"]) == [normalizer.normalize("<en>X</en> 5")]
