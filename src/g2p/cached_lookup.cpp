// The two cached lookups through which everything reads the dictionary.
// Order within one lookup: cache shared, miss set shared, the search with no
// lock held, then the cache or the miss set exclusive. Copies for the stores
// are made before a lock is taken. A word or value too long to be stored is
// looked up all the same; it is just not stored (caches.hpp).
#include <optional>
#include <string>
#include <utility>

#include "g2p/g2p.hpp"

namespace vyr::g2p {

std::optional<std::string> G2PEngine::cached_lookup_merged(std::string_view word) const {
  // takes merged_cache_ shared
  std::optional<std::string> hit = merged_cache_.read(
      [&](const StringMap<std::string>& cache) { return find_copy(cache, word); });
  if (hit) return hit;
  // takes merged_misses_ shared
  if (merged_misses_.read([&](const StringSet& misses) { return contains_word(misses, word); })) {
    return std::nullopt;
  }
  const std::optional<std::string_view> found = dict_.search_merged(word);  // no lock
  if (!found) {
    if (fits_store(word)) {
      // takes merged_misses_ exclusive
      merged_misses_.write([&](StringSet& misses) { insert_miss(misses, word); });
    }
    return std::nullopt;
  }
  std::string value(*found);
  if (!fits_store(word) || !fits_store(value)) return value;
  std::string key(word);
  std::string stored = value;
  // takes merged_cache_ exclusive
  merged_cache_.write([&](StringMap<std::string>& cache) {
    insert_or_empty_first(cache, kMergedCacheLimit, std::move(key), std::move(stored));
  });
  return value;
}

std::optional<ReadingPair> G2PEngine::cached_lookup_common(std::string_view word) const {
  // takes common_cache_ shared
  std::optional<ReadingPair> hit = common_cache_.read(
      [&](const StringMap<ReadingPair>& cache) { return find_copy(cache, word); });
  if (hit) return hit;
  // takes common_misses_ shared
  if (common_misses_.read([&](const StringSet& misses) { return contains_word(misses, word); })) {
    return std::nullopt;
  }
  const std::optional<CommonReadings> found = dict_.search_common(word);  // no lock
  if (!found) {
    if (fits_store(word)) {
      // takes common_misses_ exclusive
      common_misses_.write([&](StringSet& misses) { insert_miss(misses, word); });
    }
    return std::nullopt;
  }
  ReadingPair value{std::string(found->vi), std::string(found->en)};
  if (!fits_store(word) || !fits_store(value.first) || !fits_store(value.second)) return value;
  std::string key(word);
  ReadingPair stored = value;
  // takes common_cache_ exclusive
  common_cache_.write([&](StringMap<ReadingPair>& cache) {
    insert_or_empty_first(cache, kCommonCacheLimit, std::move(key), std::move(stored));
  });
  return value;
}

}  // namespace vyr::g2p
