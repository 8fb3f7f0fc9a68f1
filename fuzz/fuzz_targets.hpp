// The three fuzz targets, as plain functions: the libFuzzer entry points
// call them, and the crash-vector replay test calls the very same functions
// on the seed corpora and on every input that ever crashed or hung.
//
//   vyr::fuzz::normalize_one(bytes);   // throws vyr::fuzz::Fault on a broken property
//
// What each target holds to be true of any input:
//   normalize_one   valid UTF-8 in: UTF-8 out of bounded length, or the
//                   backtracking engine's limit; no other failure.
//   phonemize_one   valid UTF-8 in, well-formed dictionary: UTF-8 out, the
//                   same text when asked again (now from the caches), caches
//                   within their bounds; no failure at all.
//   dictionary_one  any bytes as a dictionary file: refused when shorter than
//                   the header or inconsistent; a file that loads answers
//                   every call without failing.
// Memory errors, undefined behaviour and hangs are left to the sanitizers and
// to libFuzzer's timeout.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz_support.hpp"
#include "g2p/g2p.hpp"
#include "runtime/panic.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/normalizer.hpp"

namespace vyr::fuzz {

// The one failure a normalize call may end with: a hostile text that makes a
// backtracking search exceed its step limit.
inline bool is_backtracking_limit(const Panic& failure) {
  return std::string_view(failure.what()).starts_with("regex backtracking limit exceeded");
}

// Generous: the longest readings («1» → «một», «@» → « a còng ») grow a
// character about tenfold; a text that grows beyond this is being expanded
// again and again, not read.
inline bool output_length_bounded(std::string_view in, std::string_view out) {
  return out.size() <= 100 * in.size() + 1024;
}

inline void normalize_one(std::string_view text) {
  if (!text::is_valid_utf8(text)) return;  // the binding layer only passes UTF-8
  std::string out;
  try {
    out = vi_normalizer::Normalizer::normalize(text);
  } catch (const Panic& failure) {
    require(is_backtracking_limit(failure), "normalize failed other than by the backtracking limit");
    return;
  }
  require(text::is_valid_utf8(out), "normalize returned invalid UTF-8");
  require(output_length_bounded(text, out), "normalize blew the text up");
}

// A small dictionary that reaches every branch of the assembly: single
// letters for spelling, pieces for segmentation, English values, empty and
// blank values, dual readings, values holding separators, spaces and
// punctuation of their own.
inline std::string phonemize_dictionary() {
  MergedWords merged = {
      {"a", "a"},          {"b", "ɓe"},         {"c", "se"},       {"d", "ze"},
      {"e", "e"},          {"đ", "ɗe"},         {"x", "ik"},       {"ba", "ɓa"},
      {"na", "na"},        {"an", "an"},        {"ban", "ɓan"},    {"xin", "sin"},
      {"chào", "caw"},     {"bạn", "ɓan"},      {"việt", "viət"},  {"nam", "nam"},
      {"hello", "<en>həˈloʊ"}, {"world", "<en>wɜːld"}, {"the", "<en>"}, {"emp", ""},
      {"sp", "  \t "},     {"dot", "dɔt ."},    {"co", " kɔ , "},  {"sep", "\x1f"},
      {"sep2", "\x1f\x1f"}, {"sep3", "\x1f" "a\x1f" "b\x1f" "c\x1f"}, {"it's", "its"},
      {"it’s", "its"},     {"ß", "ɛs"},         {"ǆ", "dʒ"},       {"σ", "sigma"},
      {"\x1f", "\x1f"},
  };
  CommonWords common = {
      {"on", {"ɔn", "<en>ɒn"}}, {"me", {"mɛ", "<en>mi"}}, {"du", {"", "\x1f" "du\x1f"}},
      {"to", {"to", ""}},       {"em", {"", ""}},         {"in", {"<en>in", "<en>ɪn"}},
      {"ok", {"\x1f" "o\x1f", "\x1fk"}},
  };
  return dictionary_bytes(merged, common);
}

inline const g2p::G2PEngine& phonemize_engine() {
  static ScratchFile file;
  static const std::unique_ptr<g2p::G2PEngine> engine = [] {
    if (!file.write(phonemize_dictionary())) throw Fault("cannot write the fuzz dictionary");
    return std::make_unique<g2p::G2PEngine>(file.path());
  }();
  return *engine;
}

inline bool caches_within_bounds(const g2p::G2PEngine& engine) {
  const g2p::G2PEngine::CacheSizes sizes = engine.cache_sizes();
  return sizes.merged <= g2p::kMergedCacheLimit && sizes.common <= g2p::kCommonCacheLimit &&
         sizes.segmentation <= g2p::kSegmentationCacheLimit &&
         sizes.merged_misses <= g2p::kMissSetMaxBeforeInsert + 1 &&
         sizes.common_misses <= g2p::kMissSetMaxBeforeInsert + 1;
}

inline void phonemize_one(std::string_view text) {
  if (!text::is_valid_utf8(text)) return;  // the binding layer only passes UTF-8
  const g2p::G2PEngine& engine = phonemize_engine();
  const std::string first = engine.phonemize(text);
  require(text::is_valid_utf8(first), "phonemize returned invalid UTF-8");
  require(engine.phonemize(text) == first, "phonemize changed its answer once the caches knew the words");
  require(caches_within_bounds(engine), "a cache grew past its bound");
}

// Texts that every dictionary is asked about: found words, pieces, letters,
// segments, punctuation, digits, and a word no table can hold.
inline constexpr std::string_view kDictionaryProbes[] = {
    "xin chào",      "a",         "<en>hello world</en>.", "Đường ABC, 123!",
    "zzz",           "banana",    "ON me du to, OK.",     "",
};

// Calls f, which must not fail: the load check refuses every file whose
// tables or strings a lookup could find out of place.
template <class F>
void run_without_panic(F&& f) {
  try {
    f();
  } catch (const Panic&) {
    require(false, "a dictionary that loaded failed a lookup");
  }
}

// Bytes of at least four get the magic, so that the fuzzer spends its time on
// the tables rather than on the one comparison that refuses a file.
inline std::string with_magic(std::string_view bytes) {
  std::string file(bytes);
  if (file.size() >= 4) file.replace(0, 4, "VYRP");
  return file;
}

inline void dictionary_one(std::string_view bytes) {
  static ScratchFile file;
  const std::string content = with_magic(bytes);
  if (!file.write(content)) return;
  std::unique_ptr<g2p::G2PEngine> engine;
  try {
    engine = std::make_unique<g2p::G2PEngine>(file.path());
  } catch (const g2p::IoError&) {
    return;  // too short or inconsistent
  }
  require(content.size() >= 32, "a file shorter than the header was accepted");

  for (std::string_view text : kDictionaryProbes) {
    run_without_panic([&] { (void)engine->phonemize(text); });
  }
  // The file's own first strings, which a well-formed file has as keys: they
  // reach the found-entry paths that no fixed text can.
  const uint32_t ids = std::min<uint32_t>(engine->dict().string_count(), 16);
  for (uint32_t id = 0; id < ids; ++id) {
    run_without_panic([&] {
      const std::string word(engine->dict().get_string(id));
      (void)engine->phonemize(word);
    });
  }
  require(caches_within_bounds(*engine), "a cache grew past its bound");
}

}  // namespace vyr::fuzz
