// The phonemizer: a memory-mapped phoneme dictionary and the engine that
// turns text into pronunciations.
//
//   vyr::g2p::G2PEngine engine("dict.bin");        // throws vyr::g2p::IoError
//   std::string p = engine.phonemize("xin chào <en>hello</en>.");
//
// An engine may be used from many threads at once. It is neither copyable
// nor movable (its caches sit behind locks): construct it where it lives.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "g2p/caches.hpp"
#include "g2p/io_error.hpp"
#include "g2p/phoneme_dict.hpp"
#include "g2p/token.hpp"
#include "runtime/rwlock.hpp"

namespace vyr::g2p {

// Lock rules. Each of the five stores has its own lock; a call takes them one
// at a time and never holds two at once, and no lock is held while the file
// is searched, so a dictionary written over after its load check, pointing
// outside its file now, fails the call (vyr::Panic) without poisoning
// anything. A lookup takes, in this order:
// its cache shared, its miss set shared, nothing for the search, then its
// cache or its miss set exclusive (skipped when what it would store is too
// long to keep). Two threads that miss on the same word both search and both
// insert the same entry; the last insert wins.
// Bounds in entries and in bytes, and emptying rules: caches.hpp.
class G2PEngine {
 public:
  // Maps the dictionary at dict_path. Throws IoError.
  explicit G2PEngine(std::string_view dict_path);
  G2PEngine(const G2PEngine&) = delete;
  G2PEngine& operator=(const G2PEngine&) = delete;

  // «xin chào.» → «sin caw.» Never fails except by vyr::Panic (a poisoned
  // lock, a dictionary file written over so that it points outside itself).
  std::string phonemize(std::string_view text) const;

  // The merged value of a lower-cased word, as stored ("<en>" kept).
  // Takes merged_cache_ shared, then merged_misses_ shared, then one of them
  // exclusive.
  std::optional<std::string> cached_lookup_merged(std::string_view word) const;
  // The (Vietnamese, English) readings of a lower-cased word, as stored.
  // Takes common_cache_ shared, then common_misses_ shared, then one of them
  // exclusive.
  std::optional<ReadingPair> cached_lookup_common(std::string_view word) const;

  // «banana», kEn → «ba na na» when "ba" and "na" are keys: a lower-cased
  // word read as dictionary pieces, or nullopt. Takes segmentation_cache_
  // shared, then (after the lookups, with no lock held) exclusive.
  std::optional<std::string> segment(std::string_view word, Lang lang) const;
  // «Xy», kVi → «ikɨ» (one lookup per lower-cased character, pieces glued).
  std::string spell_letters(std::string_view word, Lang lang) const;

  // Entry counts of the five stores, for tests and monitoring.
  struct CacheSizes {
    size_t merged = 0;
    size_t common = 0;
    size_t merged_misses = 0;
    size_t common_misses = 0;
    size_t segmentation = 0;
  };
  CacheSizes cache_sizes() const;

  const PhonemeDict& dict() const { return dict_; }

 private:
  // No piece longer than this (in bytes) can be a key; found at load.
  size_t longest_key_bound() const { return dict_.longest_key_bound(); }

  PhonemeDict dict_;
  mutable runtime::RwLock<StringMap<std::string>> merged_cache_;
  mutable runtime::RwLock<StringMap<ReadingPair>> common_cache_;
  mutable runtime::RwLock<StringSet> merged_misses_;
  mutable runtime::RwLock<StringSet> common_misses_;
  mutable runtime::RwLock<StringMap<std::optional<std::string>>> segmentation_cache_;
};

}  // namespace vyr::g2p
