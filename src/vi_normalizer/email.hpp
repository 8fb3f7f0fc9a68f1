// E-mail addresses read aloud.
//
//   normalize_emails("gửi sales.team@shop.vn nhé")
//   // "gửi __start_en__sales__end_en__ chấm __start_en__team__end_en__ a còng
//   //  __start_en__shop__end_en__ chấm __start_en__v n__end_en__ nhé"
//
// The local part and the domain are cut at their delimiters; letter runs
// become English words (inside the internal markers), digit runs Vietnamese
// numbers, delimiters Vietnamese words, "@" "a còng". The pipeline applies
// RE_EMAIL itself in its e-mail step and masks what normalize_emails gives.
//
// Every function returns a new string and may run on any number of threads at
// once; the patterns are process-wide, compiled on first use.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

const text::Regex& RE_EMAIL();
const text::Regex& RE_EMAIL_SPLIT();
// Runs of ASCII letters and runs of (Unicode) decimal digits; shared with the
// technical and slash readers.
const text::Regex& RE_SUB_TOKENS();

// The matches of RE_EMAIL as [start, end) byte offsets, in the order and with
// the bounds that RE_EMAIL().for_each gives, found in time linear in the text.
// (The backtracking engine retries a long run of address characters from
// every word boundary in it: 40 KB of «a.a.a…» would take seconds.)
std::vector<std::pair<size_t, size_t>> find_emails(std::string_view text);

std::string normalize_emails(std::string_view text);
std::string read_email_address(std::string_view text);
// One side of an address; is_domain is true for the part after "@".
std::string normalize_email_part(std::string_view part, bool is_domain);

// Helpers shared with the technical and slash readers, which read their
// matches the same way.
namespace pieces {

// `text` cut at every match of `splitter` (a one-character delimiter class):
// the text before each delimiter, then the delimiter itself, then the rest.
// Empty pieces are kept. The views borrow `text`.
std::vector<std::string_view> cut(std::string_view text, const text::Regex& splitter);

// A list of readings joined with single spaces as they are added.
class Readings {
 public:
  void add(std::string_view reading) {
    if (any_) out_ += ' ';
    out_ += reading;
    any_ = true;
  }
  // Adds "__start_en__{word}__end_en__".
  void add_english(std::string_view word);
  const std::string& str() const { return out_; }
  std::string take() { return std::move(out_); }

 private:
  std::string out_;
  bool any_ = false;
};

// The lower-cased text read character by character: an ASCII digit by its
// digit word, a character named in VI_LETTER_NAMES by its name, anything else
// as itself; one reading per character.
void read_characters(std::string_view lowered, Readings& out);

// Is every byte an ASCII digit / an ASCII letter or digit? (false when empty)
bool all_ascii_digits(std::string_view s);
bool all_ascii_alnum(std::string_view s);

// ASCII letters lower-cased, every other byte kept.
std::string ascii_lower(std::string_view s);

// The look-ahead after a ".": the index of the first piece at or after a
// start that is neither empty nor a lone delimiter of `skipped`, or
// pieces.size() when there is none. It keeps its last answer, so a run of
// delimiters is scanned once however many dots stand in it (a domain such as
// «a.-.-.-…» stays linear).
class SuffixLookahead {
 public:
  SuffixLookahead(const std::vector<std::string_view>& pieces, std::string_view skipped)
      : pieces_(pieces), skipped_(skipped) {}
  size_t next_word(size_t start);

 private:
  bool is_skipped(std::string_view piece) const {
    return piece.empty() ||
           (piece.size() == 1 && skipped_.find(piece[0]) != std::string_view::npos);
  }
  const std::vector<std::string_view>& pieces_;
  std::string_view skipped_;
  size_t scanned_from_ = 0;
  size_t found_ = static_cast<size_t>(-1);  // none yet
};

// Every occurrence of two spaces made one, in one left-to-right pass (three
// spaces become two), then Unicode white space trimmed at both ends.
std::string squeeze_double_spaces_and_trim(std::string_view s);

}  // namespace pieces

}  // namespace vyr::vi_normalizer
