#include "vi_normalizer/normalizer.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <utility>

#include "vi_normalizer/email.hpp"
#include "vi_normalizer/inline_passes.hpp"
#include "vi_normalizer/number_passes.hpp"
#include "vi_normalizer/technical.hpp"

namespace vyr::vi_normalizer {
namespace {

std::string restored(const MaskTable& masks, std::string_view text) {
  std::string out;
  return masks.restore(text, out) ? out : std::string(text);
}

// A table of n entries whose values name their index: «v0», «v1», ...
MaskTable numbered_table(size_t n) {
  MaskTable masks;
  for (size_t i = 0; i < n; ++i) {
    std::string value = std::to_string(i);
    value.insert(value.begin(), 'v');
    masks.protect_segment(std::move(value));
  }
  return masks;
}

// ---------------------------------------------------------------------------
// Patterns

// Each static of the pipeline and of its own passes, compared with the text
// and engine recorded for its name in the conformance vectors.
TEST(PipelinePatterns, AreTheRecordedPatterns) {
  std::map<std::string, std::pair<std::string, std::string>> recorded;
  std::ifstream in(std::string(VYR_TEST_DATA_DIR) + "/patterns.jsonl", std::ios::binary);
  ASSERT_TRUE(in) << "tests/data/patterns.jsonl missing";
  for (std::string line; std::getline(in, line);) {
    if (line.empty()) continue;
    nlohmann::json j = nlohmann::json::parse(line);
    recorded.emplace(j["name"].get<std::string>(),
                     std::make_pair(j["pattern"].get<std::string>(), j["engine"].get<std::string>()));
  }
  const std::pair<const char*, const text::Regex& (*)()> statics[] = {
      {"RE_EN_TAG", RE_EN_TAG},
      {"RE_ENTOKEN", RE_ENTOKEN},
      {"RE_INTERNAL_EN_TAG", RE_INTERNAL_EN_TAG},
      {"RE_MULTI_DOT", RE_MULTI_DOT},
      {"RE_EXTRA_SPACES", RE_EXTRA_SPACES},
      {"RE_EXTRA_COMMAS", RE_EXTRA_COMMAS},
      {"RE_COMMA_BEFORE_PUNCT", RE_COMMA_BEFORE_PUNCT},
      {"RE_SPACE_BEFORE_PUNCT", RE_SPACE_BEFORE_PUNCT},
      {"RE_MISSING_SPACE_AFTER_PUNCT", RE_MISSING_SPACE_AFTER_PUNCT},
      {"RE_POTENTIAL_CONCAT", RE_POTENTIAL_CONCAT},
      {"RE_CAMEL_CASE", RE_CAMEL_CASE},
      {"RE_CONTEXT_TRU", RE_CONTEXT_TRU},
      {"RE_CONTEXT_TRU_POST", RE_CONTEXT_TRU_POST},
      {"RE_CONTEXT_DEN", RE_CONTEXT_DEN},
      {"RE_EQ_MINUS", RE_EQ_MINUS},
      {"RE_EQ_NEG", RE_EQ_NEG},
      {"RE_NUMERIC_DASH_GROUPS", RE_NUMERIC_DASH_GROUPS},
      {"RE_PHONE_SPACE", RE_PHONE_SPACE},
      {"RE_POWER_OF_TEN_IMPLICIT", RE_POWER_OF_TEN_IMPLICIT},
      {"RE_DASH_TO_COMMA", RE_DASH_TO_COMMA},
      {"RE_TO_SANG", RE_TO_SANG},
      {"RE_MULTI_COMMA", RE_MULTI_COMMA},
      {"RE_DOT_BETWEEN_DIGITS", RE_DOT_BETWEEN_DIGITS},
      {"RE_RANGE", RE_RANGE},
      {"RE_LONG_NUM", RE_LONG_NUM},
      {"RE_FLOAT_WITH_COMMA", RE_FLOAT_WITH_COMMA},
      {"RE_STRIP_DOT_SEP", RE_STRIP_DOT_SEP},
  };
  for (const auto& [name, accessor] : statics) {
    auto it = recorded.find(name);
    ASSERT_NE(it, recorded.end()) << name;
    const text::Regex& re = accessor();
    EXPECT_EQ(re.pattern(), it->second.first) << name;
    EXPECT_EQ(re.engine() == text::Engine::kLinear ? "regex" : "fancy", it->second.second) << name;
  }
}

// ---------------------------------------------------------------------------
// Mask keys and the restore

TEST(MaskTable, KeysSpellTheIndexInLetters) {
  EXPECT_EQ(MaskTable().key(0), "maskaaaa");
  EXPECT_EQ(MaskTable().key(1), "maskaaab");
  EXPECT_EQ(MaskTable().key(10), "maskaaba");
  EXPECT_EQ(MaskTable().key(1234), "maskbcde");
  EXPECT_EQ(MaskTable().key(9999), "maskjjjj");
  // From the ten-thousand-and-first entry on, a wider key that contains no
  // other key.
  EXPECT_EQ(MaskTable().key(10000), "maskkbaaaak");
  EXPECT_EQ(MaskTable().key(123456), "maskkbcdefgk");

  MaskTable masks;
  EXPECT_EQ(masks.protect_segment("x"), "maskaaaa");
  EXPECT_EQ(masks.protect_segment("y"), "maskaaab");
  EXPECT_EQ(masks.size(), 2u);
}

TEST(MaskTable, RestoreFindsKeysAsPlainSubstrings) {
  MaskTable masks = numbered_table(11);
  EXPECT_EQ(restored(masks, "maskaaaa"), "v0");
  EXPECT_EQ(restored(masks, "a maskaaba b maskaaab"), "a v10 b v1");
  EXPECT_EQ(restored(masks, "Xmaskaaaay"), "Xv0y");
  EXPECT_EQ(restored(masks, "maskmaskaaab"), "maskv1");
  EXPECT_EQ(restored(masks, "maskaaaamaskaaaa"), "v0v0");
  // a key that a step changed, or one the table never handed out, stays
  EXPECT_EQ(restored(masks, "MASKAAAA mask aaaa maskaabb maskaaa"),
            "MASKAAAA mask aaaa maskaabb maskaaa");
}

TEST(MaskTable, KeysBeyondTenThousandNeverCutIntoOthers) {
  MaskTable masks = numbered_table(10002);
  const std::string text = MaskTable().key(1000) + " " + MaskTable().key(10000) +
                           MaskTable().key(9999) + "|" + MaskTable().key(10001) +
                           MaskTable().key(0) + " " + MaskTable().key(10);
  EXPECT_EQ(text, "maskbaaa maskkbaaaakmaskjjjj|maskkbaaabkmaskaaaa maskaaba");
  EXPECT_EQ(restored(masks, text), "v1000 v10000v9999|v10001v0 v10");
  // a wide key past the end of the table, or with a leading zero, is no key
  EXPECT_EQ(restored(masks, "maskkbaaacz maskkabaaaak"), "maskkbaaacz maskkabaaaak");
}

TEST(MaskTable, KeysOfATextAreNoneOfItsWords) {
  struct {
    const char* text;
    const char* prefix;
  } cases[] = {
      // Only a "mask" before a letter a key could go on with needs a salt.
      {"xin chào", "mask"},
      {"masks, unmask it", "mask"},
      {"maskaaaa", "maskl"},
      {"MASKAAAA", "maskl"},
      {"MAS\u212Akaaa", "maskl"},  // the Kelvin sign lower-cases to "k"
      {"maskkbaaaak", "maskl"},
      {"maska maskl maskm", "maskn"},
      {"maska MASKL", "maskm"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(MaskTable(c.text).prefix(), c.prefix);
  }
  // Every one-letter salt taken: two letters.
  std::string all = "maska";
  for (char c = 'l'; c <= 'z'; ++c) all += std::string(" mask") + c;
  EXPECT_EQ(MaskTable(all).prefix(), "maskll");
  all += " maskll";
  EXPECT_EQ(MaskTable(all).prefix(), "masklm");

  MaskTable masks("maskaaaa");
  EXPECT_EQ(masks.protect_segment("v0"), "masklaaaa");
  EXPECT_EQ(masks.key(10000), "masklkbaaaak");
  EXPECT_EQ(restored(masks, "maskaaaa masklaaaa maskaaaamasklaaaa"), "maskaaaa v0 maskaaaav0");
}

TEST(MaskTable, RestoredValuesAreNotSearchedAgain) {
  // A later value holding an earlier key: the earlier entry is already done.
  MaskTable later;
  later.protect_segment("entoken0");
  later.protect_segment("gửi maskaaaa");
  EXPECT_EQ(restored(later, "maskaaaa maskaaab"), "entoken0 gửi maskaaaa");

  // Values holding the next key twice must not double the text per entry.
  MaskTable chain;
  for (size_t i = 0; i < 40; ++i) {
    chain.protect_segment(MaskTable().key(i + 1) + " " + MaskTable().key(i + 1));
  }
  EXPECT_EQ(restored(chain, "maskaaaa"), "maskaaab maskaaab");
}

// ---------------------------------------------------------------------------
// Protection steps

TEST(Protection, OnlyChunkPlaceholdersAreMasked) {
  MaskTable masks;
  std::string out;
  ASSERT_TRUE(mask_placeholders("\uFDD0" "0\uFDD1 và ENTOKEN1 \uFDD0" "12\uFDD1", masks, out));
  EXPECT_EQ(out, "maskaaaa và ENTOKEN1 maskaaab");
  EXPECT_EQ(restored(masks, out), "\uFDD0" "0\uFDD1 và ENTOKEN1 \uFDD0" "12\uFDD1");
  // A caller's word in the placeholders' old form is text; so is a broken
  // placeholder (no digits, or no closing noncharacter).
  std::string untouched;
  EXPECT_FALSE(mask_placeholders("ENTOKEN0 và xEnToKeN12", masks, untouched));
  EXPECT_FALSE(mask_placeholders("\uFDD0\uFDD1 \uFDD0" "7", masks, untouched));
}

TEST(Protection, ChunkKeysStandApartAndGlueBackToWordsLeftAsWritten) {
  MaskTable masks;
  std::string out;
  // A run of placeholders is one word, apart from the letters and digits it
  // touches; signs stay glued.
  ASSERT_TRUE(mask_placeholders("12/3\uFDD0" "0\uFDD1\uFDD0" "1\uFDD1abc (\uFDD0" "2\uFDD1)",
                                masks, out));
  EXPECT_EQ(out, "12/3 maskaaaamaskaaab abc (maskaaac)");
  // Words that come back as written are glued again; a reading stays apart.
  EXPECT_EQ(restored(masks, out), "12/3\uFDD0" "0\uFDD1\uFDD0" "1\uFDD1abc (\uFDD0" "2\uFDD1)");
  EXPECT_EQ(restored(masks, "mười hai trên ba maskaaaamaskaaab abc"),
            "mười hai trên ba \uFDD0" "0\uFDD1\uFDD0" "1\uFDD1abc");
  EXPECT_EQ(restored(masks, "12/3 maskaaaamaskaaab a bê xê"),
            "12/3\uFDD0" "0\uFDD1\uFDD0" "1\uFDD1 a bê xê");
  // Only the word up to the next key counts: a key in its place is no match.
  MaskTable glued;
  glued.protect_apart("v0", "", "abc");
  glued.protect_segment("abc");
  EXPECT_EQ(restored(glued, "maskaaaa maskaaab"), "v0 abc");
}

TEST(Protection, KeysBoundAddressesAndStandApartFromTheirReadings) {
  MaskTable masks;
  std::string lifted;
  ASSERT_TRUE(mask_placeholders("\uFDD0" "0\uFDD1abc@x.vn", masks, lifted));
  std::string out;
  ASSERT_TRUE(mask_emails(lifted, masks, out));
  EXPECT_EQ(out, "maskaaaa maskaaab");
  EXPECT_EQ(restored(masks, "maskaaab"), normalize_emails("abc@x.vn"));

  // A path glued to the key of an address is a string of its own, not part
  // of a word that holds the key.
  MaskTable paths;
  std::string address;
  ASSERT_TRUE(mask_emails("a@b.vn/docs", paths, address));
  EXPECT_EQ(address, "maskaaaa/docs");
  std::string path;
  ASSERT_TRUE(mask_technical(address, paths, path));
  EXPECT_EQ(path, "maskaaaa maskaaab");
  EXPECT_EQ(restored(paths, "maskaaab"), normalize_technical("/docs"));
}

TEST(Protection, AnAddressInsideAWebAddressIsLeftToIt) {
  MaskTable masks;
  std::string out;
  EXPECT_FALSE(mask_emails("https://user@host.com/path", masks, out));
  ASSERT_TRUE(mask_emails("user@host.com/path", masks, out));
  EXPECT_EQ(out, "maskaaaa/path");
  // A match of the same start is the address itself, read as one.
  ASSERT_TRUE(mask_emails("www.abc@gmail.com", masks, out));
  EXPECT_EQ(out, "maskaaab");
}

TEST(Protection, EnglishSpansAreMaskedAsWritten) {
  MaskTable masks;
  masks.protect_segment("p");
  std::string out;
  ASSERT_TRUE(mask_en_spans("a __start_en__u s d__end_en__ b <EN>x\ny</en> c __START_EN__z__END_EN__",
                            masks, out));
  EXPECT_EQ(out, "a maskaaab b maskaaac c maskaaad");
  EXPECT_EQ(restored(masks, out),
            "a __start_en__u s d__end_en__ b <EN>x\ny</en> c __START_EN__z__END_EN__");
  // an opening marker alone is no span
  std::string none;
  EXPECT_FALSE(mask_en_spans("a __start_en__b", masks, none));
}

TEST(Protection, TechnicalStringsAndTheirExceptions) {
  // A file name that only contains an exception is read like any other,
  // not left as written for its dots and digits to reach the output.
  MaskTable masks;
  std::string out;
  ASSERT_TRUE(mask_technical("mở NVIDIA.txt nhé", masks, out));
  EXPECT_EQ(out, "mở maskaaaa nhé");
  EXPECT_EQ(restored(masks, out), "mở " + normalize_technical("NVIDIA.txt") + " nhé");

  // Anything else is masked with its reading.
  MaskTable read;
  std::string address;
  ASSERT_TRUE(mask_technical("xem https://abc.vn/x", read, address));
  EXPECT_EQ(address, "xem maskaaaa");
  EXPECT_EQ(restored(read, address), "xem " + normalize_technical("https://abc.vn/x"));
}

// ---------------------------------------------------------------------------
// The end of the pipeline

TEST(PipelineEnd, MarkersBecomeTags) {
  struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"__start_en__usd__end_en__", "<en>usd</en>"},
      {"a __start_en__x__end_en__ __start_en__y__end_en__", "a <en>x</en> <en>y</en>"},
      {"__start_en__open", "<en>open"},
      {"close__end_en__", "close</en>"},
      {"__START_EN__x__END_EN__", "__START_EN__x__END_EN__"},
  };
  for (const auto& c : cases) {
    std::string out;
    std::string result = convert_en_markers(c.text, out) ? out : std::string(c.text);
    EXPECT_EQ(result, c.expected) << c.text;
  }
}

TEST(PipelineEnd, UnderscoresAndHyphensBecomeSpaces) {
  std::string text = "a_b-c\u2013d\u2014e";
  spaces_for_underscores_and_hyphens(text);
  EXPECT_EQ(text, "a b c\u2013d\u2014e");
}

TEST(PipelineEnd, CleanUpRunsItsSixPassesOnce) {
  struct {
    const char* text;
    const char* expected;
  } cases[] = {
      // dots
      {"a . . b", "a. b"},
      {"a...b", "a. b"},
      // spaces, tabs and no-break spaces; line breaks stay
      {"a \t\u00a0 b", "a b"},
      {"a\n\nb", "a\n\nb"},
      // commas: three in a row leave two, each pattern running once
      {"a, ,b", "a, b"},
      {"a,,,b", "a, ,b"},
      {"a, .", "a."},
      {"a,\n!", "a!"},
      // white space before punctuation, line breaks included
      {"a , b", "a, b"},
      {"a \n: b", "a: b"},
      // a space after punctuation, except before white space, a digit or "<"
      {"a,b", "a, b"},
      {"a.b!c", "a. b! c"},
      {"1,5 và 2.5", "1,5 và 2.5"},
      {"x.<en>y</en>", "x.<en>y</en>"},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    clean_up_punctuation(text);
    EXPECT_EQ(text, c.expected) << c.text;
  }
}

TEST(PipelineEnd, TrimStripsCommasThenLowerCases) {
  EXPECT_EQ(trim_and_lower("  ,,Xin Chào,, \n"), "xin chào");
  EXPECT_EQ(trim_and_lower(", x"), " x");  // white space the commas uncover stays
  EXPECT_EQ(trim_and_lower("ΟΔΟΣ"), "οδος");
  EXPECT_EQ(trim_and_lower(" , "), "");
}

// ---------------------------------------------------------------------------
// The whole pipeline

TEST(Pipeline, EmptyTextComesBackEmpty) { EXPECT_EQ(clean_vietnamese_text(""), ""); }

TEST(Pipeline, PlaceholdersPassUntouched) {
  EXPECT_EQ(clean_vietnamese_text("\uFDD0" "0\uFDD1 và \uFDD0" "1\uFDD1"),
            "\uFDD0" "0\uFDD1 và \uFDD0" "1\uFDD1");
  // The words glued to a placeholder are read as if they stood alone.
  EXPECT_EQ(clean_vietnamese_text("\uFDD0" "0\uFDD1" "5"), "\uFDD0" "0\uFDD1 năm");
  EXPECT_EQ(clean_vietnamese_text("XIV\uFDD0" "0\uFDD1"), "mười bốn \uFDD0" "0\uFDD1");
  EXPECT_EQ(clean_vietnamese_text("abc\uFDD0" "0\uFDD1" "def"), "abc\uFDD0" "0\uFDD1" "def");
  // A caller's «ENTOKEN» word is read like any other.
  EXPECT_EQ(clean_vietnamese_text("entoken05"), "entoken không năm");
}

TEST(Pipeline, Sentences) {
  struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"Từ 5-10 ngày", "từ năm đến mười ngày"},
      {"5-3=-2", "năm trừ ba bằng âm hai"},
      {"Gọi 090 123 456 nhé", "gọi không chín không, một hai ba, bốn năm sáu nhé"},
      {"Dân số 1.234.567 người", "dân số một triệu hai trăm ba mươi bốn nghìn năm trăm sáu mươi bảy người"},
      {"Hà Nội - Huế", "hà nội, huế"},
      {"Hà Nội -> Huế", "hà nội sang huế"},
      {"Số 0912-345-678", "số không chín một hai, ba bốn năm, sáu bảy tám"},
  };
  for (const auto& c : cases) EXPECT_EQ(clean_vietnamese_text(c.text), c.expected) << c.text;
}

// ---------------------------------------------------------------------------
// Normalizer::normalize

TEST(Normalize, EmptyText) { EXPECT_EQ(Normalizer::normalize(""), ""); }

TEST(Normalize, ChunksComeBackAsWritten) {
  struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"<EN>Hello World</En> nhé", "<EN>Hello World</En> nhé"},
      {"<en>a</en> và <en>b</en>", "<en>a</en> và <en>b</en>"},
      {"Đọc <en>line one\nline two</en> nhé", "đọc <en>line one\nline two</en> nhé"},
      {"<en>a  b</en>", "<en>a b</en>"},
      {"<en>a\t\u00a0b</en>", "<en>a b</en>"},
      {"<en>cafe\u0301</en>", "<en>caf\u00e9</en>"},
      {"  <en>x</en>  ", "<en>x</en>"},
      // a chunk holding the text of a placeholder is put back as it is
      {"<en>A</en> và <en>entoken0 entoken0</en>", "<en>A</en> và <en>entoken0 entoken0</en>"},
  };
  for (const auto& c : cases) EXPECT_EQ(Normalizer::normalize(c.text), c.expected) << c.text;
}

TEST(Normalize, ChunkEndsAtTheFirstClosingTag) {
  std::string result = Normalizer::normalize("<en>a <en>b</en> c</en>");
  EXPECT_EQ(result.rfind("<en>a <en>b</en> ", 0), 0u) << result;
}

TEST(Normalize, UnclosedTagIsNotLifted) {
  std::string result = Normalizer::normalize("Xin <EN>Chào");
  EXPECT_EQ(result.find("EN"), std::string::npos) << result;
  EXPECT_EQ(result.find("entoken"), std::string::npos) << result;
}

TEST(Normalize, EveryChunkReturnsToItsOwnPlace) {
  std::string text, expected;
  for (int i = 0; i < 12; ++i) {
    if (i > 0) {
      text += " và ";
      expected += " và ";
    }
    text += "<en>C" + std::to_string(i) + "</en>";
    expected += "<en>C" + std::to_string(i) + "</en>";
  }
  EXPECT_EQ(Normalizer::normalize(text), expected);
}

TEST(Normalize, DigitsAfterAChunkAreReadAsANumber) {
  EXPECT_EQ(Normalizer::normalize("<en>iPhone</en>5"), "<en>iPhone</en> năm");
  // with a second chunk, «1» after chunk 0 must not make it chunk 01 or 1
  EXPECT_EQ(Normalizer::normalize("<en>a</en>1 <en>b</en>"), "<en>a</en> một <en>b</en>");
}

TEST(Normalize, ManyChunksHoldingPlaceholdersStayLinear) {
  // Chunk i holds the placeholder of chunk i - 1 twice; putting chunks back
  // into chunks would double the text per chunk.
  std::string text = "<en>z</en> ";
  for (int i = 1; i < 40; ++i) {
    std::string previous = "entoken" + std::to_string(i - 1);
    text += "<en>" + previous + " " + previous + "</en> ";
  }
  EXPECT_EQ(Normalizer::normalize(text), text.substr(0, text.size() - 1));
}

}  // namespace
}  // namespace vyr::vi_normalizer
