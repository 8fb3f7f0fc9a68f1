// The normaliser's fixed vocabulary: eighteen process-wide tables, built on
// first use and read-only after that (safe to read from any thread).
//
//   if (const std::string_view* name = VI_LETTER_NAMES().find("b")) out += *name;  // "bê"
//   for (const auto& [key, value] : MEASUREMENT_KEY_VI()) ...                      // insertion order
//
// Values are stored exactly as listed, spaces included; English words inside
// values are wrapped in the internal markers __start_en__ ... __end_en__.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vyr::vi_normalizer {

// A map that looks keys up exactly and visits its rows in insertion order.
template <class K, class V>
class OrderedMap {
 public:
  using Row = std::pair<K, V>;
  OrderedMap() = default;
  // Rows are inserted in order; a key seen again replaces the value of its
  // first row and keeps that row's place.
  explicit OrderedMap(std::vector<Row> rows) {
    rows_.reserve(rows.size());
    index_.reserve(rows.size());
    for (Row& row : rows) {
      auto [it, fresh] = index_.emplace(row.first, rows_.size());
      if (fresh) {
        rows_.push_back(std::move(row));
      } else {
        rows_[it->second].second = std::move(row.second);
      }
    }
  }
  const V* find(const K& key) const {
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : &rows_[it->second].second;
  }
  bool contains(const K& key) const { return index_.count(key) != 0; }
  size_t size() const { return rows_.size(); }
  auto begin() const { return rows_.begin(); }
  auto end() const { return rows_.end(); }

 private:
  std::vector<Row> rows_;
  std::unordered_map<K, size_t> index_;
};

// A set that tests membership exactly and visits its members in insertion order.
class TextSet {
 public:
  TextSet() = default;
  // A member listed twice is kept once, in its first place.
  explicit TextSet(std::vector<std::string_view> members) {
    members_.reserve(members.size());
    index_.reserve(members.size());
    for (std::string_view member : members) {
      if (index_.emplace(member, members_.size()).second) members_.push_back(member);
    }
  }
  bool contains(std::string_view key) const { return index_.count(key) != 0; }
  size_t size() const { return members_.size(); }
  auto begin() const { return members_.begin(); }
  auto end() const { return members_.end(); }

 private:
  std::vector<std::string_view> members_;
  std::unordered_map<std::string_view, size_t> index_;
};

using TextMap = OrderedMap<std::string_view, std::string_view>;  // exact text keys
using CharMap = OrderedMap<char32_t, std::string_view>;          // one code point keys
using CharIntMap = OrderedMap<char32_t, int32_t>;

const TextMap& VI_LETTER_NAMES();
const CharMap& SYMBOLS_MAP();
const CharMap& SUPERSCRIPTS_MAP();
const CharMap& SUBSCRIPTS_MAP();
const CharIntMap& ROMAN_NUMERALS();
const TextSet& NUMBERING_WORDS();              // lower case; one or two words
const TextSet& ROMAN_LOOKING_ABBREVIATIONS();  // «CV», «MC», «XL», ...
const TextMap& MEASUREMENT_KEY_VI();
const TextMap& CASED_UNIT_KEY();
const TextMap& CURRENCY_KEY();
const TextMap& CURRENCY_SYMBOL_MAP();
const TextSet& DATE_KEYWORDS();
const TextSet& MATH_KEYWORDS();
const TextSet& SCORE_WORDS();
const TextSet& SLASH_DATE_KEYWORDS();
const TextSet& COUNTING_WORDS();
const TextMap& ACRONYMS_EXCEPTIONS_VI();
const TextMap& TECHNICAL_TERMS();
const TextMap& COMBINED_EXCEPTIONS();  // ACRONYMS_EXCEPTIONS_VI then TECHNICAL_TERMS
const TextSet& WORD_LIKE_ACRONYMS();
const TextMap& ABBRS();
const TextMap& DOMAIN_SUFFIX_MAP();
const TextMap& COMMON_EMAIL_DOMAINS();

}  // namespace vyr::vi_normalizer
