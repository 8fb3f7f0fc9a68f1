// The hash maps and sets in front of the dictionary, and their bounds.
//
// Every store is keyed by a randomly seeded hash (one fresh key per store)
// and is bounded by emptying it whole or by refusing new members, never by
// evicting single entries:
//   merged cache        emptied before an insert once it holds 10,000 entries
//   common cache        emptied before an insert once it holds 5,000 entries
//   segmentation cache  emptied before an insert once it holds 5,000 entries
//   miss sets           take a new word only while they hold 49,999 or fewer
// and in bytes: no store keeps a string (word, reading or segmentation)
// longer than kMaxStoredBytes. A lookup or segmentation whose word or result
// is longer is not stored, so it is done again, with the same result, the
// next time; no real word comes near the limit. So the five stores hold at
// most 120,000 entries and about 37 MB of text (merged 10,000 x 512, common
// 5,000 x 768, misses 2 x 50,000 x 256, segmentation 5,000 x (256 + 3 + 256)
// bytes), about 50 MB with the hash tables' own overhead.
// An empty store is never hashed into. None of this is thread safe by
// itself: the engine keeps each store behind its own runtime::RwLock.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "runtime/keyed_hash.hpp"

namespace vyr::g2p {

inline constexpr size_t kMergedCacheLimit = 10'000;
inline constexpr size_t kCommonCacheLimit = 5'000;
inline constexpr size_t kSegmentationCacheLimit = 5'000;
inline constexpr size_t kMissSetMaxBeforeInsert = 49'999;

// The longest word, reading or segmentation (in UTF-8 bytes) a store keeps.
// Hostile text of ever new long words would otherwise pin copies of all of
// them for the engine's life.
inline constexpr size_t kMaxStoredBytes = 256;

inline constexpr size_t kMergedCacheCapacity = 2'048;
inline constexpr size_t kCommonCacheCapacity = 1'024;
inline constexpr size_t kSegmentationCacheCapacity = 512;

template <class V>
using StringMap = std::unordered_map<std::string, V, runtime::KeyedHash, std::equal_to<>>;
using StringSet = std::unordered_set<std::string, runtime::KeyedHash, std::equal_to<>>;

// (word -> Vietnamese reading, English reading), both as stored in the file.
using ReadingPair = std::pair<std::string, std::string>;

template <class V>
StringMap<V> make_string_map(size_t capacity) {
  StringMap<V> map(0, runtime::KeyedHash(runtime::random_hash_key()));
  map.reserve(capacity);
  return map;
}

inline StringSet make_string_set() {
  return StringSet(0, runtime::KeyedHash(runtime::random_hash_key()));
}

// Whether a store may keep this string (a word, a reading, a segmentation).
inline bool fits_store(std::string_view text) { return text.size() <= kMaxStoredBytes; }

// A copy of the value stored for key, or nullopt.
template <class V>
std::optional<V> find_copy(const StringMap<V>& map, std::string_view key) {
  if (map.empty()) return std::nullopt;
  auto it = map.find(key);
  if (it == map.end()) return std::nullopt;
  return it->second;
}

inline bool contains_word(const StringSet& set, std::string_view word) {
  return !set.empty() && set.find(word) != set.end();
}

// Empties a full map, then stores (key, value), replacing an older entry.
template <class V>
void insert_or_empty_first(StringMap<V>& map, size_t limit, std::string key, V value) {
  if (map.size() >= limit) map.clear();
  map.insert_or_assign(std::move(key), std::move(value));
}

// Records a miss unless the set is full.
inline void insert_miss(StringSet& set, std::string_view word) {
  if (set.size() <= kMissSetMaxBeforeInsert) set.emplace(word);
}

}  // namespace vyr::g2p
