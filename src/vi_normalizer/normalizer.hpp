// The normaliser: Normalizer::normalize and its pipeline clean_vietnamese_text.
//
//   std::string line = vyr::vi_normalizer::Normalizer::normalize("Ngày 2/9/1945 ...");
//   // one lower-case line; <en>...</en> chunks of the caller come back as written
//
// normalize composes the text (NFC), lifts the caller's <en>...</en> chunks
// into numbered placeholders (the index between the noncharacters U+FDD0 and
// U+FDD1, which the caller's text is cleared of, as it is of the internal
// English markers; a placeholder glued to a word is kept a word of its own
// through the steps and glued back where that word comes back as written),
// runs the 39 steps of clean_vietnamese_text, tidies spaces and puts the
// chunks back. Inside the pipeline, stretches that
// later steps must not touch (placeholders, e-mail addresses, technical
// strings, English spans) are replaced by mask keys and restored near the end;
// English words are marked "__start_en__...__end_en__" until the end, where
// the markers become "<en>"/"</en>".
//
// Every call keeps its state (masks, lifted chunks) to itself and reads only
// process-wide patterns and tables, so any number of calls may run at once on
// any threads. A search of the backtracking engine over its limit ends the
// call with vyr::Panic; nothing else fails.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

class Normalizer {
 public:
  // NFC, lift the caller's <en>...</en> chunks, run clean_vietnamese_text,
  // tidy spaces, put the chunks back. Reads nothing of an instance.
  static std::string normalize(std::string_view text);
};

// The 39-step rewriting pipeline; returns one lower-case line.
std::string clean_vietnamese_text(std::string_view text);

// The per-call mask table: an ordered list of values, each behind the key
// that protect_segment hands out. Keys are lower-case ASCII letters only, so a
// key is one plain word to every pass:
//   entries 0..9999   the prefix + the four digits of the index, each digit d
//                     written as the d-th letter from "a" («maskaaaa»,
//                     «maskaaba» for the eleventh, «maskjjjj»);
//   entries 10000..   the prefix + "k" + the index in letters + "k"
//                     («maskkbaaaak»).
// No key is a substring of another ("k" is no digit letter), so restoring one
// can never cut into another. The prefix is "mask", unless the text the table
// is made for, as the passes may spell it (curly quotes and marks deleted,
// Latin letters spelled in ASCII), holds "mask" (in any case) before a letter
// from "a" to "k": then "mask" + a salt of letters from "l" to "z" that no
// "mask" of the text is followed by («masklaaaa»). So no stretch of the
// caller's text is ever taken for a key. Not shared between calls; not
// thread safe.
class MaskTable {
 public:
  // The table of the plain prefix "mask".
  MaskTable() = default;
  // A table whose keys the text `text` cannot hold.
  explicit MaskTable(std::string_view text);

  // The key of the entry made when the table holds n entries.
  std::string key(size_t n) const;
  const std::string& prefix() const { return prefix_; }

  // Appends (key, value) and returns the key, to be written in place of the
  // stretch it protects.
  std::string protect_segment(std::string value);

  // protect_segment for a key that its step writes with a space on the side
  // where it would touch a word of the text; `before` and `after` are the
  // words it would have touched, empty on a side given no space. The restore
  // takes such a space away again where the word beside the key is still
  // that word, so text that no pass rewrote stays glued to the value as it
  // was written, while a reading stays apart from it.
  std::string protect_apart(std::string value, std::string before, std::string after);

  size_t size() const { return values_.size(); }

  // Every key in `text` replaced by its value (step 35), the spaces that
  // protect_apart asked for taken away where they may go. Each value goes in
  // as it is and is not searched again: a key inside a value cannot pull in
  // another entry's value, which would let a text grow exponentially. True,
  // with the result in `out`, when a key was found.
  bool restore(std::string_view text, std::string& out) const;

  // The [start, end) byte offsets of the keys of this table in `text`.
  std::vector<std::pair<size_t, size_t>> key_spans(std::string_view text) const;

 private:
  // Length of the key of an entry at text[pos], or 0; its index in *index.
  size_t key_at(std::string_view text, size_t pos, size_t* index) const;

  // The words a key was written apart from (protect_apart).
  struct Beside {
    std::string before;
    std::string after;
  };

  std::string prefix_ = "mask";
  std::vector<std::string> values_;
  std::vector<Beside> beside_;  // by entry; shorter when the last entries have none
};

// Per-match functions of steps 2 and 3: the key of the reading of the match.
std::string protect_email(std::string_view address, MaskTable& masks);
std::string protect_technical(std::string_view match, MaskTable& masks);

// The steps that belong to the pipeline itself. Each returns true with its
// result in `out`, or false, leaving `out` alone, when it changes nothing.
bool mask_placeholders(std::string_view text, MaskTable& masks, std::string& out);  // step 1
bool mask_emails(std::string_view text, MaskTable& masks, std::string& out);        // step 2
bool mask_technical(std::string_view text, MaskTable& masks, std::string& out);     // step 3
// After step 3: telephone numbers, each replaced by the key of its reading.
bool mask_telephone_numbers(std::string_view text, MaskTable& masks, std::string& out);
bool mask_en_spans(std::string_view text, MaskTable& masks, std::string& out);      // step 32
bool convert_en_markers(std::string_view text, std::string& out);                   // step 36
void spaces_for_underscores_and_hyphens(std::string& text);                         // step 37
void clean_up_punctuation(std::string& text);                                       // step 38
std::string trim_and_lower(std::string_view text);                                  // step 39

// Caller chunks: «<en>...</en>» in any case, across lines, shortest body.
const text::Regex& RE_EN_TAG();
// «ENTOKEN» and every digit that follows, any case. No step masks its
// matches: the chunk placeholders have a form no caller text can take.
const text::Regex& RE_ENTOKEN();
// Spans of English: internal markers or external tags, any case, across lines.
const text::Regex& RE_INTERNAL_EN_TAG();
// The clean-up of step 38, in its order.
const text::Regex& RE_MULTI_DOT();
const text::Regex& RE_EXTRA_SPACES();  // runs of spaces, tabs and no-break spaces
const text::Regex& RE_EXTRA_COMMAS();
const text::Regex& RE_COMMA_BEFORE_PUNCT();
const text::Regex& RE_SPACE_BEFORE_PUNCT();
const text::Regex& RE_MISSING_SPACE_AFTER_PUNCT();

// RE_EXTRA_SPACES replaced by " ", without the engine: «a \t\u00a0 b» → «a b».
void collapse_spaces(std::string& text);
// Pre-checks of step 38: false only where the pattern surely has no match.
// RE_SPACE_BEFORE_PUNCT: white space right before one of , . ! ? ; :
bool has_space_before_punct(std::string_view text);
// RE_MISSING_SPACE_AFTER_PUNCT: one of , . ! ? ; : before a character that
// may be none of white space, a digit and "<".
bool has_punct_before_other(std::string_view text);

}  // namespace vyr::vi_normalizer
