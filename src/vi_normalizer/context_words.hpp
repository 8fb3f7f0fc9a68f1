// The words around a match, as the passes that decide a reading by its
// neighbours compare them with their keyword tables.
//
//   const WordIndex words("Chiều 5/5, hàng nghìn người");
//   words.words_before(6, 3)  // {"chiều"}
//   words.words_after(9, 3)   // {"hàng", "nghìn", "người"}
//
// Words are split on Unicode white space; each loses the characters
// ",.!?;()[]{}" at both ends and is lower-cased. A word that runs into the
// match is cut at it. The index is built once per text, so each match finds
// its neighbours by binary search and reads them in time bounded by the
// nearby text: walking or lower-casing a long unbroken run («1/2=1/2=…») for
// every match would be quadratic. A word of more than 64 bytes comes back
// empty without being lower-cased: lower-casing shrinks a character to a
// third of its bytes at most, and no keyword is longer than 16 bytes. Thread
// safe once built; it borrows the text, which must outlive it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "vi_normalizer/resources.hpp"

namespace vyr::vi_normalizer {

class WordIndex {
 public:
  explicit WordIndex(std::string_view text);

  // The last `count` words beginning before `start`, in text order.
  std::vector<std::string> words_before(size_t start, size_t count) const;
  // The first `count` words ending after `end`, in text order.
  std::vector<std::string> words_after(size_t end, size_t count) const;

 private:
  // A word and its core, the word without the stripped characters at its
  // ends (an empty core when nothing else is left).
  struct Word {
    size_t start, end, core_start, core_end;
  };

  void add_word(size_t start, size_t end);
  std::string comparable(size_t core_start, size_t core_end) const;

  std::string_view text_;
  std::vector<Word> words_;
};

// Whether a phrase of `phrases` (one word or two) ends among the last `count`
// words before `start`: «kết quả trận đấu: 2-1» has «kết quả» among the last
// three words before «2-1».
bool has_phrase_among_last(const WordIndex& words, size_t start, size_t count,
                           const TextSet& phrases);

// Whether `phrase`, one word or two («thắng», «tỷ số»), stands among `words`
// as whole words in a row.
bool has_phrase(const std::vector<std::string>& words, std::string_view phrase);

}  // namespace vyr::vi_normalizer
