#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "g2p/g2p.hpp"
#include "g2p_dict_builder.hpp"
#include "runtime/keyed_hash.hpp"
#include "runtime/panic.hpp"
#include "runtime/rwlock.hpp"

namespace vyr::g2p {
namespace {

using testing::build_dict;
using testing::CommonWords;
using testing::DictFile;
using testing::MergedWords;
using testing::set_u32;
using testing::TempFile;

// "w00042": fixed width, so byte order is numeric order.
std::string word_number(int i) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "w%05d", i);
  return buf;
}

// "p42"
std::string numbered(const char* prefix, int i) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s%d", prefix, i);
  return buf;
}

// ---- bounds ------------------------------------------------------------------

TEST(EngineCaches, MergedCacheEmptiesAtTenThousand) {
  MergedWords merged;
  for (int i = 0; i <= 10'000; ++i) merged[word_number(i)] = numbered("p", i);
  TempFile file(build_dict(merged));
  G2PEngine engine(file.path());
  for (int i = 0; i < 10'000; ++i) ASSERT_TRUE(engine.cached_lookup_merged(word_number(i)));
  EXPECT_EQ(engine.cache_sizes().merged, 10'000u);
  EXPECT_EQ(engine.cached_lookup_merged(word_number(0)), "p0");  // a hit changes nothing
  EXPECT_EQ(engine.cache_sizes().merged, 10'000u);

  EXPECT_EQ(engine.cached_lookup_merged(word_number(10'000)), "p10000");
  EXPECT_EQ(engine.cache_sizes().merged, 1u);
  EXPECT_EQ(engine.cached_lookup_merged(word_number(7)), "p7");  // from the file again
  EXPECT_EQ(engine.cache_sizes().merged, 2u);
  EXPECT_EQ(engine.cache_sizes().merged_misses, 0u);
}

TEST(EngineCaches, CommonCacheEmptiesAtFiveThousand) {
  CommonWords common;
  for (int i = 0; i <= 5'000; ++i) common[word_number(i)] = {numbered("v", i), ""};
  TempFile file(build_dict({}, common));
  G2PEngine engine(file.path());
  for (int i = 0; i < 5'000; ++i) ASSERT_TRUE(engine.cached_lookup_common(word_number(i)));
  EXPECT_EQ(engine.cache_sizes().common, 5'000u);
  const auto readings = engine.cached_lookup_common(word_number(5'000));
  ASSERT_TRUE(readings);
  EXPECT_EQ(readings->first, "v5000");
  EXPECT_EQ(readings->second, "");
  EXPECT_EQ(engine.cache_sizes().common, 1u);
}

TEST(EngineCaches, SegmentationCacheEmptiesAtFiveThousand) {
  TempFile file(build_dict({{"ba", "ɓa"}}));
  G2PEngine engine(file.path());
  for (int i = 0; i < 5'000; ++i) engine.segment(word_number(i), Lang::kVi);
  EXPECT_EQ(engine.cache_sizes().segmentation, 5'000u);
  engine.segment("baba", Lang::kVi);
  EXPECT_EQ(engine.cache_sizes().segmentation, 1u);
}

TEST(EngineCaches, MissSetsStopGrowingAtFiftyThousand) {
  TempFile file(std::string("VYRP") + std::string(28, '\0'));
  G2PEngine engine(file.path());
  for (int i = 0; i < 50'005; ++i) {
    ASSERT_FALSE(engine.cached_lookup_merged(std::to_string(i)));
    ASSERT_FALSE(engine.cached_lookup_common(std::to_string(i)));
  }
  EXPECT_EQ(engine.cache_sizes().merged_misses, 50'000u);
  EXPECT_EQ(engine.cache_sizes().common_misses, 50'000u);
  // A word refused by the full set is searched again and still refused.
  EXPECT_FALSE(engine.cached_lookup_merged("50004"));
  EXPECT_EQ(engine.cache_sizes().merged_misses, 50'000u);
}

TEST(EngineCaches, AMissIsRecordedOnce) {
  TempFile file(build_dict({{"a", "1"}}));
  G2PEngine engine(file.path());
  EXPECT_FALSE(engine.cached_lookup_merged("b"));
  EXPECT_FALSE(engine.cached_lookup_merged("b"));
  EXPECT_EQ(engine.cached_lookup_merged("a"), "1");
  const auto sizes = engine.cache_sizes();
  EXPECT_EQ(sizes.merged_misses, 1u);
  EXPECT_EQ(sizes.merged, 1u);
  EXPECT_EQ(sizes.common, 0u);
}

TEST(EngineCaches, StoredValuesKeepTheMarker) {
  TempFile file(build_dict({{"hello", " <en>həˈloʊ "}}, {{"on", {"ɔn", "<en>ɒn"}}}));
  G2PEngine engine(file.path());
  EXPECT_EQ(engine.cached_lookup_merged("hello"), " <en>həˈloʊ ");
  EXPECT_EQ(engine.cached_lookup_merged("hello"), " <en>həˈloʊ ");  // cached copy alike
  EXPECT_EQ(engine.cached_lookup_common("on")->second, "<en>ɒn");
  EXPECT_FALSE(engine.cached_lookup_merged("Hello"));  // callers lower-case
}

// A word made of `count` copies of `piece`.
std::string repeated(std::string_view piece, size_t count) {
  std::string out;
  for (size_t i = 0; i < count; ++i) out += piece;
  return out;
}

TEST(EngineCaches, LookupsStoreNoWordOrReadingLongerThanTheLimit) {
  const std::string at_limit(kMaxStoredBytes, 'k'), over(kMaxStoredBytes + 1, 'k');
  const std::string long_reading(kMaxStoredBytes + 1, 'v');
  const std::string absent_at_limit(kMaxStoredBytes, 'z'), absent_over(kMaxStoredBytes + 1, 'z');
  TempFile file(build_dict({{at_limit, "a"}, {over, "o"}, {"long", long_reading}},
                           {{at_limit, {"x", "y"}},
                            {over, {"x", "y"}},
                            {"longen", {"x", long_reading}},
                            {"longvi", {long_reading, "y"}}}));
  G2PEngine engine(file.path());
  const ReadingPair xy{"x", "y"};
  for (int round = 0; round < 2; ++round) {  // round 1 would read anything stored
    EXPECT_EQ(engine.cached_lookup_merged(at_limit), "a");
    EXPECT_EQ(engine.cached_lookup_merged(over), "o");
    EXPECT_EQ(engine.cached_lookup_merged("long"), long_reading);
    EXPECT_FALSE(engine.cached_lookup_merged(absent_at_limit));
    EXPECT_FALSE(engine.cached_lookup_merged(absent_over));
    EXPECT_EQ(engine.cached_lookup_common(at_limit), xy);
    EXPECT_EQ(engine.cached_lookup_common(over), xy);
    EXPECT_EQ(engine.cached_lookup_common("longen"), ReadingPair("x", long_reading));
    EXPECT_EQ(engine.cached_lookup_common("longvi"), ReadingPair(long_reading, "y"));
    EXPECT_FALSE(engine.cached_lookup_common(absent_at_limit));
    EXPECT_FALSE(engine.cached_lookup_common(absent_over));
  }
  const auto sizes = engine.cache_sizes();  // only the words at the limit are kept
  EXPECT_EQ(sizes.merged, 1u);
  EXPECT_EQ(sizes.merged_misses, 1u);
  EXPECT_EQ(sizes.common, 1u);
  EXPECT_EQ(sizes.common_misses, 1u);
}

TEST(EngineCaches, SegmentationsOfWordsOrResultsLongerThanTheLimitAreNotStored) {
  // "ba" reads as "", so "baba..." of any length reads as "" too.
  TempFile file(build_dict({{"ba", ""}, {"bo", std::string(kMaxStoredBytes / 2, 'o')}}));
  G2PEngine engine(file.path());
  struct Case {
    std::string word;
    std::optional<std::string> reading;
    bool stored;
  };
  const std::string half(kMaxStoredBytes / 2, 'o');
  const Case cases[] = {
      {repeated("ba", kMaxStoredBytes / 2), "", true},
      {repeated("ba", kMaxStoredBytes / 2) + "ba", "", false},  // the word is too long
      {"bobo", half + " " + half, false},                      // the result is too long
      {"zz", std::nullopt, true},
      {std::string(kMaxStoredBytes + 1, 'z'), std::nullopt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word.substr(0, 8) + "... of " + std::to_string(c.word.size()) + " bytes");
    const size_t before = engine.cache_sizes().segmentation;
    EXPECT_EQ(engine.segment(c.word, Lang::kVi), c.reading);
    EXPECT_EQ(engine.cache_sizes().segmentation, before + (c.stored ? 1 : 0));
    EXPECT_EQ(engine.segment(c.word, Lang::kVi), c.reading);  // from the cache or anew
  }
}

// ---- failures ----------------------------------------------------------------

TEST(RwLock, ExceptionInAWriteSectionPoisonsForGood) {
  runtime::RwLock<std::vector<int>> lock;
  lock.write([](std::vector<int>& v) { v.push_back(1); });
  EXPECT_THROW(lock.read([](const std::vector<int>&) -> int { throw std::runtime_error("r"); }),
               std::runtime_error);
  EXPECT_FALSE(lock.is_poisoned());  // readers change nothing
  EXPECT_THROW(lock.write([](std::vector<int>& v) {
    v.push_back(2);
    throw std::runtime_error("half done");
  }),
               std::runtime_error);
  EXPECT_TRUE(lock.is_poisoned());
  for (int i = 0; i < 2; ++i) {
    try {
      lock.read([](const std::vector<int>& v) { return v.size(); });
      ADD_FAILURE() << "read of a poisoned lock";
    } catch (const Panic& e) {
      EXPECT_NE(std::string(e.what()).find("poisoned"), std::string::npos);
    }
    EXPECT_THROW(lock.write([](std::vector<int>&) {}), Panic);
  }
}

// ---- hashing and threads -------------------------------------------------------

TEST(KeyedHash, KeysDifferAndViewsHashLikeStrings) {
  const runtime::KeyedHash a(runtime::HashKey{1, 2}), b(runtime::HashKey{3, 4});
  const std::string word = "đường";
  EXPECT_EQ(a(word), a(std::string_view(word)));
  EXPECT_NE(a(word), b(word));
  EXPECT_NE(a(""), a(std::string(1, '\0')));  // the length takes part
  const runtime::HashKey r1 = runtime::random_hash_key(), r2 = runtime::random_hash_key();
  EXPECT_FALSE(r1.k0 == r2.k0 && r1.k1 == r2.k1);
}

TEST(EngineCaches, ThreadsSharingOneEngineGetTheSingleThreadedResults) {
  MergedWords merged;
  for (int i = 0; i < 300; ++i) merged[word_number(i)] = numbered("p", i);
  merged["ba"] = "ɓa";
  merged["na"] = "na";
  TempFile file(build_dict(merged, {{"on", {"ɔn", "<en>ɒn"}}}));
  std::vector<std::string> texts;
  for (int i = 0; i < 200; ++i) {
    std::string text = word_number(i);
    text += " on banana ";
    text += word_number(i + 100);
    text += numbered(" xyz", i);
    text += '.';
    texts.push_back(text);
  }
  std::vector<std::string> expected;
  {
    G2PEngine reference(file.path());
    for (const auto& t : texts) expected.push_back(reference.phonemize(t));
  }
  G2PEngine shared(file.path());
  std::vector<std::vector<std::string>> results(4);
  std::vector<std::thread> threads;
  for (size_t t = 0; t < results.size(); ++t) {
    threads.emplace_back([&, t] {
      for (const auto& text : texts) results[t].push_back(shared.phonemize(text));
    });
  }
  for (auto& th : threads) th.join();
  for (const auto& r : results) EXPECT_EQ(r, expected);
}

}  // namespace
}  // namespace vyr::g2p
