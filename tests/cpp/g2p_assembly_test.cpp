#include "g2p/assembly.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "g2p/g2p.hpp"
#include "g2p_dict_builder.hpp"

namespace vyr::g2p {
namespace {

using testing::build_dict;
using testing::TempFile;

class AssemblyTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    file_ = std::make_unique<TempFile>(build_dict(
        {// the five-letter example: «tavan» = "ta" + "van", not "tav" + "an"
         {"ta", "T2"},
         {"tav", "T3"},
         {"van", "V3"},
         {"an", "A2"},
         {"ba", "ɓa"},
         {"na", "<en>nə"},
         {"nul", ""},
         {"x", "<en>ik"},
         {"z", "zet"},
         {"chào", "caw"},
         {"xin", "sin"},
         {"hello", "<en>həˈloʊ"},
         {"empty", "<en>"},
         {"comma", "a , b ."},
         {"sep", "\x1f"},
         {"duo", "\x1f" "d1\x1f" "d2\x1f"}},
        {{"on", {"ɔn", "<en>ɒn"}},
         {"vi", {"ʋi", ""}},
         {"y", {"i", "<en>wai"}},
         {"w", {"<en>vê kép", ""}},
         {"mo", {"<en>mɔ", "<en>moʊ"}}}));
    engine_ = std::make_unique<G2PEngine>(file_->path());
  }
  static void TearDownTestSuite() {
    engine_.reset();
    file_.reset();
  }
  static const G2PEngine& engine() { return *engine_; }

  static std::unique_ptr<TempFile> file_;
  static std::unique_ptr<G2PEngine> engine_;
};

std::unique_ptr<TempFile> AssemblyTest::file_;
std::unique_ptr<G2PEngine> AssemblyTest::engine_;

// ---- phonemize -------------------------------------------------------------

TEST_F(AssemblyTest, Phonemize) {
  struct Case {
    std::string_view text, expected;
  } cases[] = {
      {"", ""},
      {" \t\n ", ""},
      {"Xin chào.", "sin caw."},
      {"xin , chào !", "sin, caw!"},
      {"( xin ) \"chào\"", "( sin ) \" caw \""},
      // empty parts keep their spaces
      {"xin empty chào", "sin  caw"},
      {"empty xin empty", " sin "},
      // both readings, settled by the neighbours
      {"xin on", "sin ɔn"},
      {"hello on", "həˈloʊ ɒn"},
      {"hello vi", "həˈloʊ "},
      {"<en>on vi</en> on", "ɒn ʋi ɒn"},  // "vi" has no English reading: segmented
      // the glue also reaches into pronunciations
      {"comma", "a, b."},
      // dual values stored in the file are split like tokenised ones
      {"duo <en>duo</en>", "d1 d2"},
      // a lone separator has no readings
      {"xin sep chào", "sin  caw"},
      // segmented, then spelled
      {"Tavan banana", "T2 V3 ɓa nə nə"},
      {"XZ q", "ikzet q"},
  };
  for (const Case& c : cases) EXPECT_EQ(engine().phonemize(c.text), c.expected) << c.text;
}

// ---- segmentation ----------------------------------------------------------

TEST_F(AssemblyTest, SegmentationPicksTheFirstStartThatReachesEachEnd) {
  EXPECT_EQ(engine().segment("tavan", Lang::kVi), "T2 V3");
  EXPECT_EQ(engine().segment("banana", Lang::kVi), "ɓa nə nə");
  EXPECT_EQ(engine().segment("bana", Lang::kEn), "ɓa nə");
  // an empty reading still counts: its part joins without a leading space
  EXPECT_EQ(engine().segment("nulba", Lang::kVi), "ɓa");
  EXPECT_EQ(engine().segment("banul", Lang::kVi), "ɓa ");
  // both readings: English only in an English context, "<en>" kept on the
  // Vietnamese side
  EXPECT_EQ(engine().segment("mo", Lang::kVi), "<en>mɔ");
  EXPECT_EQ(engine().segment("mo", Lang::kEn), "moʊ");
  EXPECT_EQ(engine().segment("vivi", Lang::kEn), "ʋi ʋi");
  // nothing to find: single letters, vowels only, digits, a leftover letter
  for (std::string_view word : {"q", "aeo", "123", "baq", "bcd"}) {
    EXPECT_EQ(engine().segment(word, Lang::kVi), std::nullopt) << word;
  }
}

TEST(Segmentation, CachesPerWordAndLanguage) {
  TempFile file(build_dict({{"ba", "ɓa"}}));
  G2PEngine engine(file.path());
  EXPECT_EQ(engine.phonemize("q q"), "q q");
  EXPECT_EQ(engine.cache_sizes().segmentation, 1u);  // the absent result is cached
  engine.segment("xyz", Lang::kVi);
  engine.segment("xyz", Lang::kEn);
  engine.segment("xyz", Lang::kEn);
  EXPECT_EQ(engine.cache_sizes().segmentation, 3u);
  EXPECT_EQ(engine.segment("baba", Lang::kVi), "ɓa ɓa");
  EXPECT_EQ(engine.segment("baba", Lang::kVi), "ɓa ɓa");  // from the cache
}

TEST(Segmentation, VeryLongWordsFinish) {
  TempFile file(build_dict({{"ba", "b"}, {"xinchao", "long key"}}));
  G2PEngine engine(file.path());
  std::string word;
  for (int i = 0; i < 50'000; ++i) word += "ba";
  const std::string read = engine.phonemize(word);
  ASSERT_EQ(read.size(), 2 * 50'000u - 1);
  EXPECT_EQ(read.substr(0, 5), "b b b");
  // reachable everywhere but at the end: segmented to the last letter, spelled
  const std::string spelled = engine.phonemize(word + "q");
  EXPECT_EQ(spelled.size(), word.size() + 1);
  EXPECT_EQ(spelled.substr(spelled.size() - 3), "baq");
}

// ---- parts -------------------------------------------------------------------

TEST_F(AssemblyTest, SpellLetters) {
  struct Case {
    std::string_view word;
    Lang lang;
    std::string_view expected;
  } cases[] = {
      {"XZ", Lang::kVi, "ikzet"},
      {"xy", Lang::kVi, "iki"},
      {"xy", Lang::kEn, "ikwai"},
      {"W", Lang::kVi, "vê kép"},  // "<en>" goes from the Vietnamese side too
      {"W", Lang::kEn, "vê kép"},  // no English reading: the Vietnamese one
      {"Q1-", Lang::kEn, "q1-"},
      {"ΑΣ", Lang::kVi, "ασ"},     // one character at a time: no final sigma
      {"İ", Lang::kVi, "i\u0307"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(engine().spell_letters(c.word, c.lang), c.expected) << c.word;
  }
}

TEST(DualPart, SplitsAtTheFirstInnerSeparator) {
  struct Case {
    std::string_view p;
    std::string_view vi, en;
  } cases[] = {
      {"\x1f" "a\x1f" "b\x1f", "a", "b"},
      {"\x1f" "a\x1f" "b\x1f" "c\x1f", "a", "b\x1f" "c"},
      {"\x1f" "a\x1f", "a", ""},
      {"\x1f\x1f\x1f", "", ""},
      {"\x1f\x1f", "", ""},
      {"\x1f", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(is_dual_pronunciation(c.p));
    EXPECT_EQ(dual_part(c.p, Lang::kVi), c.vi);
    EXPECT_EQ(dual_part(c.p, Lang::kEn), c.en);
  }
  EXPECT_FALSE(is_dual_pronunciation("a\x1f"));
  EXPECT_FALSE(is_dual_pronunciation(""));
}

TEST(GluePunctuation, DropsTheSpaceBeforeSixMarks) {
  struct Case {
    std::string_view joined, expected;
  } cases[] = {
      {"a , b . c ! d ? e ; f : g", "a, b. c! d? e; f: g"},
      {" .", "."},
      {"a  .", "a ."},      // one space per mark and scan
      {"a . .", "a.."},
      {"( a ) \" - '", "( a ) \" - '"},
      {"a .,", "a.,"},
      {"a , .", "a,."},     // " ." goes first, then " ,"
      {"a  , ; : ! ? .", "a ,;:!?."},
      {"\t. \u00a0, \n!", "\t. \u00a0, \n!"},  // only a plain space before the mark goes
      {" , ,", ",,"},
      {"", ""},
  };
  for (const Case& c : cases) {
    std::string s(c.joined);
    glue_punctuation(s);
    EXPECT_EQ(s, c.expected) << c.joined;
  }
}

}  // namespace
}  // namespace vyr::g2p
