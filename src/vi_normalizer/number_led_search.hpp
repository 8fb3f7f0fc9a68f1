// Matches of the patterns that begin with a number and have no boundary
// before it, found without the engine's rescans.
//
//   static const NumberLedSearch search(RE_CURRENCY_SUFFIX_SYMBOL(),
//                                       NumberTail::kCurrencySymbol);
//   for (const text::Captures& m : search.all("giá 100€")) ...  // m[1] «100», m[3] «€»
//
// RE_CURRENCY_SUFFIX_SYMBOL and RE_PERCENTAGE start with
// (\d+(?:[.,]\d+)*) and no boundary, so the engine tries them from every
// digit of a long number such as «1.1.1…1» and runs to its end each time:
// quadratic. RE_UNITS_WITH_NUM tries only the first digit of a number, but
// gives the number back digit by digit when no unit follows: a long one
// exceeds the backtracking limit. Their tail cannot begin at a digit, "." or ",", so a match can
// only end its number where the number itself ends, and every start inside
// one number succeeds or fails together. These searches read each number
// once and try the engine with the pattern's tail alone, anchored where the
// number ends, on a window that holds what the tail can read, and only where
// the tail can begin.
// They give the matches that for_each of the pattern gives, with the same
// groups (offsets into `text`), and are safe from any thread once built.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/regex.hpp"

namespace vyr::vi_normalizer {

// What may follow the number: what the search checks before it asks the
// engine.
enum class NumberTail {
  kCurrencySymbol,  // (?:\s*(tỷ|triệu|nghìn|ngàn))?([$€¥£₩])
  kPercentSign,     // \s*%
  // (?:\s*(tỷ|…))?\s*(unit|…)\b, the pattern led by (?<![a-zA-Z\d.,]):
  // the search checks that look-behind itself.
  kUnitWord,
};

class NumberLedSearch {
 public:
  // `re` is "(?i)(\d+(?:[.,]\d+)*)" (for kUnitWord with the look-behind
  // between the two) followed by a tail of the given kind; anything else
  // throws vyr::Panic.
  NumberLedSearch(const text::Regex& re, NumberTail tail);

  // The matches of `re` in `text`, left to right.
  std::vector<text::Captures> all(std::string_view text) const;

 private:
  text::Regex tail_re_;  // the pattern after its number, anchored
  NumberTail tail_;
};

// Every match replaced by what append(match, out) appends; the text between
// matches copied. Returns false and leaves `out` alone when there is no match.
template <class Append>
bool replace_matches(std::string_view text, const std::vector<text::Captures>& matches,
                     std::string& out, Append&& append) {
  if (matches.empty()) return false;
  out.clear();
  out.reserve(text.size() + text.size() / 8 + 16);
  size_t copied = 0;
  for (const text::Captures& m : matches) {
    out.append(text.data() + copied, m.start(0) - copied);
    append(m, out);
    copied = m.end(0);
  }
  out.append(text.data() + copied, text.size() - copied);
  return true;
}

}  // namespace vyr::vi_normalizer
