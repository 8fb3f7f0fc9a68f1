#include "vi_normalizer/context_words.hpp"

#include <algorithm>

#include "text/unicode.hpp"

namespace vyr::vi_normalizer {

namespace {

constexpr size_t kMaxWordBytes = 64;

// The characters a context word loses at both ends.
bool is_stripped(char c) {
  constexpr std::string_view kStripped = ",.!?;()[]{}";
  return kStripped.find(c) != std::string_view::npos;
}

}  // namespace

WordIndex::WordIndex(std::string_view text) : text_(text) {
  size_t pos = 0;
  size_t word_start = std::string_view::npos;
  while (pos < text.size()) {
    const size_t here = pos;
    const auto b = static_cast<unsigned char>(text[pos]);
    bool space;
    if (b < 0x80) {
      space = b == ' ' || (b >= 0x09 && b <= 0x0D);
      ++pos;
    } else {
      space = text::is_white_space(text::decode_utf8(text, pos));
    }
    if (space && word_start != std::string_view::npos) {
      add_word(word_start, here);
      word_start = std::string_view::npos;
    } else if (!space && word_start == std::string_view::npos) {
      word_start = here;
    }
  }
  if (word_start != std::string_view::npos) add_word(word_start, text.size());
}

std::vector<std::string> WordIndex::words_before(size_t start, size_t count) const {
  std::vector<std::string> out;
  // Words beginning before the match; the last may run into it.
  const auto before = std::lower_bound(words_.begin(), words_.end(), start,
                                       [](const Word& w, size_t s) { return w.start < s; });
  const size_t n_before = static_cast<size_t>(before - words_.begin());
  for (size_t k = n_before >= count ? n_before - count : 0; k < n_before; ++k) {
    const Word& w = words_[k];
    size_t core_end = w.core_end;
    if (w.end > start) {  // cut at the match: strip back from it
      core_end = start;
      while (core_end > w.core_start && is_stripped(text_[core_end - 1])) --core_end;
    }
    out.push_back(comparable(w.core_start, std::max(core_end, w.core_start)));
  }
  return out;
}

std::vector<std::string> WordIndex::words_after(size_t end, size_t count) const {
  std::vector<std::string> out;
  // Words ending after the match; the first may begin inside it.
  const auto after = std::upper_bound(words_.begin(), words_.end(), end,
                                      [](size_t e, const Word& w) { return e < w.end; });
  for (auto it = after; it != words_.end() && static_cast<size_t>(it - after) < count; ++it) {
    size_t core_start = it->core_start;
    if (it->start < end) {  // cut at the match: strip on from it
      core_start = std::min(end, it->core_end);
      while (core_start < it->core_end && is_stripped(text_[core_start])) ++core_start;
    }
    out.push_back(comparable(core_start, it->core_end));
  }
  return out;
}

void WordIndex::add_word(size_t start, size_t end) {
  size_t core_start = start;
  while (core_start < end && is_stripped(text_[core_start])) ++core_start;
  size_t core_end = end;
  while (core_end > core_start && is_stripped(text_[core_end - 1])) --core_end;
  words_.push_back({start, end, core_start, core_end});
}

// «NGÀY» → «ngày»; a word too long to equal any entry → «».
std::string WordIndex::comparable(size_t core_start, size_t core_end) const {
  if (core_end - core_start > kMaxWordBytes) return std::string();
  return text::to_lower(text_.substr(core_start, core_end - core_start));
}

bool has_phrase_among_last(const WordIndex& words, size_t start, size_t count,
                           const TextSet& phrases) {
  // One word more, for the first word of a two-word phrase.
  const std::vector<std::string> before = words.words_before(start, count + 1);
  const std::vector<std::string> last(before.size() > count ? before.begin() + 1 : before.begin(),
                                      before.end());
  return std::any_of(phrases.begin(), phrases.end(), [&](std::string_view p) {
    return has_phrase(p.find(' ') == std::string_view::npos ? last : before, p);
  });
}

bool has_phrase(const std::vector<std::string>& words, std::string_view phrase) {
  const size_t space = phrase.find(' ');
  if (space == std::string_view::npos) {
    return std::find(words.begin(), words.end(), phrase) != words.end();
  }
  const std::string_view first = phrase.substr(0, space);
  const std::string_view rest = phrase.substr(space + 1);
  for (size_t i = 0; i + 1 < words.size(); ++i) {
    if (words[i] == first && words[i + 1] == rest) return true;
  }
  return false;
}

}  // namespace vyr::vi_normalizer
