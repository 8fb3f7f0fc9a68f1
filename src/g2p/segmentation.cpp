// Reading a word the dictionary lacks as a sequence of dictionary pieces.
//
// Table entry j holds the reading of the word's first j characters. Starts
// i run upwards and, for each, ends j run downwards from the longest piece;
// the first start that reaches an end with a found piece fixes that entry
// for good. So «abcde» with keys "ab", "abc", "cde", "de" reads "ab"+"cde":
// end 5 is first reached from start 2.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "g2p/g2p.hpp"
#include "g2p/text_ops.hpp"
#include "g2p/tokenizer.hpp"
#include "text/unicode.hpp"

namespace vyr::g2p {
namespace {

constexpr std::u32string_view kVowels =
    U"aeiouyàáảãạăằắẳẵặâầấẩẫậèéẻẽẹêềếểễệìíỉĩịòóỏõọôồốổỗộơờớởỡợùúủũụưừứửữựỳýỷỹỵ";

enum class LetterKind : uint8_t { kVowel, kOtherLetter, kNeither };

// 'A' → kVowel, 'đ' → kOtherLetter, '3' → kNeither (first character of the
// lower-case mapping decides).
LetterKind letter_kind(char32_t c) {
  char32_t lower = c;
  if (c < 0x80) {
    if (c >= 'A' && c <= 'Z') lower = c + ('a' - 'A');
  } else {
    const std::string mapped = text::lower_char(c);
    size_t pos = 0;
    lower = text::decode_utf8(mapped, pos);
  }
  if (kVowels.find(lower) != std::u32string_view::npos) return LetterKind::kVowel;
  return text::is_alphabetic(lower) ? LetterKind::kOtherLetter : LetterKind::kNeither;
}

// Character boundaries of the word and running counts of its vowels and
// other letters, so that the piece test of any span costs O(1).
struct WordShape {
  std::vector<size_t> byte_at;  // n + 1 character boundaries
  std::vector<uint32_t> vowels;  // vowels among the first k characters
  std::vector<uint32_t> others;

  explicit WordShape(std::string_view word) {
    byte_at.push_back(0);
    vowels.push_back(0);
    others.push_back(0);
    for (size_t pos = 0; pos < word.size();) {
      const LetterKind kind = letter_kind(text::decode_utf8(word, pos));
      byte_at.push_back(pos);
      vowels.push_back(vowels.back() + (kind == LetterKind::kVowel));
      others.push_back(others.back() + (kind == LetterKind::kOtherLetter));
    }
  }
  size_t chars() const { return byte_at.size() - 1; }
  // A piece needs a vowel and another letter: one-letter pieces, vowel runs
  // and consonant runs never reach the dictionary.
  bool piece_passes(size_t i, size_t j) const {
    return vowels[j] > vowels[i] && others[j] > others[i];
  }
};

// The reading of one piece, or nullopt when neither table has it. An empty
// reading counts as found.
std::optional<std::string> piece_reading(const G2PEngine& engine, std::string_view piece,
                                         Lang lang) {
  const std::string lowered = lower_word(piece);
  if (std::optional<std::string> value = engine.cached_lookup_merged(lowered)) {
    return without_en_marker_trimmed(std::move(*value));
  }
  std::optional<ReadingPair> readings = engine.cached_lookup_common(lowered);
  if (!readings) return std::nullopt;
  auto& [vi, en] = *readings;
  if (lang == Lang::kEn && !en.empty()) return without_en_marker_trimmed(std::move(en));
  if (!vi.empty()) return trimmed(std::move(vi));  // the Vietnamese reading keeps "<en>"
  return without_en_marker_trimmed(std::move(en));
}

// One table entry: the last piece's reading and where that piece starts.
// Entry j's text is entry `from`'s text, a space, then `reading` (or the
// reading alone when entry `from` reads as ""); linking instead of copying
// keeps a long word linear in memory.
struct Entry {
  bool present = false;
  size_t from = 0;
  std::string reading;
};

std::string entry_text(const std::vector<Entry>& table, size_t j) {
  std::vector<size_t> chain;
  for (size_t k = j; k != 0; k = table[k].from) chain.push_back(k);
  std::string out;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    const std::string& reading = table[*it].reading;
    if (!out.empty()) out += ' ';
    out += reading;
  }
  return out;
}

// max_piece_chars: no key is longer, so longer pieces are never tried.
std::optional<std::string> segment_uncached(const G2PEngine& engine, std::string_view word,
                                            Lang lang, size_t max_piece_chars) {
  const WordShape shape(word);
  const size_t n = shape.chars();
  std::vector<Entry> table(n + 1);
  table[0].present = true;
  for (size_t i = 0; i < n; ++i) {
    if (!table[i].present) continue;
    const size_t longest_end = i + std::min(max_piece_chars, n - i);
    for (size_t j = longest_end; j > i; --j) {
      if (!shape.piece_passes(i, j)) continue;
      const std::string_view piece =
          word.substr(shape.byte_at[i], shape.byte_at[j] - shape.byte_at[i]);
      // Looked up even when entry j is taken, so the caches fill alike.
      std::optional<std::string> reading = piece_reading(engine, piece, lang);
      if (reading && !table[j].present) table[j] = Entry{true, i, std::move(*reading)};
    }
  }
  if (!table[n].present) return std::nullopt;
  return entry_text(table, n);
}

}  // namespace

std::optional<std::string> G2PEngine::segment(std::string_view word, Lang lang) const {
  std::string key;
  key.reserve(word.size() + 3);
  key += word;
  key += '_';
  key += lang_name(lang);
  // takes segmentation_cache_ shared
  std::optional<std::optional<std::string>> cached =
      segmentation_cache_.read([&](const StringMap<std::optional<std::string>>& cache) {
        return find_copy(cache, key);
      });
  if (cached) return std::move(*cached);

  std::optional<std::string> result = segment_uncached(*this, word, lang, longest_key_bound());
  if (!fits_store(word) || (result && !fits_store(*result))) return result;
  std::optional<std::string> stored = result;
  // takes segmentation_cache_ exclusive
  segmentation_cache_.write([&](StringMap<std::optional<std::string>>& cache) {
    insert_or_empty_first(cache, kSegmentationCacheLimit, std::move(key), std::move(stored));
  });
  return result;
}

}  // namespace vyr::g2p
