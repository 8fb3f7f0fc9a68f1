#include "vi_normalizer/acronyms.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vyr::vi_normalizer {
namespace {

std::vector<std::string> Matches(const text::Regex& re, std::string_view text) {
  std::vector<std::string> out;
  re.for_each(text, [&](const text::Captures& m) { out.emplace_back(m.str()); });
  return out;
}

using Words = std::vector<std::string>;

// The reference texts the pattern layer's conformance cases were computed with.
TEST(AcronymPatterns, TextsAreExact) {
  EXPECT_EQ(RE_ACRONYMS_EXCEPTIONS().pattern(),
            R"(\bWashington D\.C\b|\bWashington DC\b|\bVN\-Index\b|\bTP\.HCM\b|\bPGS\.TS\b|)"
            R"(\bNVIDIA\b|\bMS DOS\b|\bMS\-DOS\b|\bHĐND\b|\bHĐQT\b|\bTPHCM\b|\bSP500\b|)"
            R"(\bGS\.TS\b|\bCĐV\b|\bTAND\b|\bBHXH\b|\bBHTN\b|\bUBND\b|\bCSGT\b|\bTHCS\b|)"
            R"(\bTHPT\b|\bTNHH\b|\bVĐV\b|\bCUDA\b|\bJSON\b|\bVRAM\b|\bTX\-0\b|\bIPv6\b|)"
            R"(\bIPv4\b|\bHCM\b|\bBTC\b|\bCLB\b|\bHTX\b|\bNXB\b|\bLHQ\b|\bĐH\b|\bHLV\b|)"
            R"(\bPGS\b|\bThS\b|\bUAE\b|\bB2B\b|\bMI5\b|\bMI6\b|\b2FA\b|\bHCN\b|\bKOH\b|)"
            R"(\bVN\b|\bTP\b|\bHN\b|\bTW\b|\bGS\b|\bTS\b|\bBS\b|\bHF\b|\bKI\b)");
  EXPECT_EQ(RE_ACRONYMS_EXCEPTIONS().engine(), text::Engine::kLinear);
  EXPECT_EQ(RE_ACRONYM().pattern(),
            R"(\b(?=[A-ZĐĂÂÊÔƠƯa-zĐĂÂÊÔƠƯ0-9]*[A-ZĐĂÂÊÔƠƯ]))"
            R"((?:[A-ZĐĂÂÊÔƠƯ][a-zđăâêôơư]?\d*){2,}\b)");
  EXPECT_EQ(RE_ACRONYM().engine(), text::Engine::kBacktracking);
  EXPECT_EQ(RE_STANDALONE_LETTER().pattern(), R"((?<![\''])\b([a-zA-Z])\b(\.?))");
  EXPECT_EQ(RE_STANDALONE_LETTER().engine(), text::Engine::kBacktracking);
}

TEST(AcronymPatterns, ExceptionsFindTheLongestWholeKey) {
  const struct {
    std::string_view text;
    Words expected;
  } cases[] = {
      {"TP.HCM", {"TP.HCM"}},
      {"TP. HCM", {"TP", "HCM"}},
      {"TPHCM", {"TPHCM"}},
      {"PGS.TS Nguyễn", {"PGS.TS"}},
      {"VN-Index tăng", {"VN-Index"}},
      {"MS DOS và MS-DOS", {"MS DOS", "MS-DOS"}},
      {"Washington D.C.", {"Washington D.C"}},
      {"UBND TP HN", {"UBND", "TP", "HN"}},
      {"ubnd", {}},    // case counts
      {"ĐHQG", {}},    // a key inside a longer word
      {"xVN VNx", {}},
      {"IPv6", {"IPv6"}},
      // Neighbours beyond ASCII: a letter or a combining mark is a word
      // character, "²" is not.
      {"éTP ĐHĐH TP\u0301", {}},
      {"TP² (ĐH).", {"TP", "ĐH"}},
      {"_TP TX-0x TX-0", {"TX-0"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Matches(RE_ACRONYMS_EXCEPTIONS(), c.text), c.expected) << "«" << c.text << "»";
    // The fast search finds the same.
    Words fast;
    for (auto m = find_acronym_exception(c.text); m; m = find_acronym_exception(c.text, m->end)) {
      fast.emplace_back(c.text.substr(m->start, m->end - m->start));
    }
    EXPECT_EQ(fast, c.expected) << "fast search, «" << c.text << "»";
  }
}

// Every match of the fast exception search, as [start, end) pairs.
std::vector<std::pair<size_t, size_t>> FastExceptionSpans(std::string_view text) {
  std::vector<std::pair<size_t, size_t>> out;
  for (auto m = find_acronym_exception(text); m; m = find_acronym_exception(text, m->end)) {
    out.emplace_back(m->start, m->end);
  }
  return out;
}

std::vector<std::pair<size_t, size_t>> PatternExceptionSpans(std::string_view text) {
  std::vector<std::pair<size_t, size_t>> out;
  RE_ACRONYMS_EXCEPTIONS().for_each(
      text, [&](const text::Captures& m) { out.emplace_back(m.start(0), m.end(0)); });
  return out;
}

TEST(AcronymPatterns, FastExceptionSearchFindsWhatThePatternFinds) {
  // Keys, their pieces and neighbours of every word-boundary kind: ASCII and
  // Vietnamese letters, digits of two scripts, a combining mark, a joiner and
  // connector punctuation (word characters), "²" and punctuation (not word
  // characters).
  const std::vector<std::string_view> pieces = {
      "UBND", "TP.HCM", "TP", "HCM", "HĐND", "ĐH", "Đ", "ĐHQG", "VN-Index", "VN",
      "MS DOS", "MS-DOS", "MS", "DOS", "Washington D.C", "Washington", "D.C", "PGS.TS", "GS.TS",
      "TS", "IPv6", "IPv", "TX-0", "2FA", "SP500", "KI", "ThS", "a", "x", "é", "đ", "_", "0", "5",
      "\u0663", "\u0301", "\u200D", "\u203F", "²", " ", "  ", ".", "-", ",", "\n", "(", "'",
  };
  std::mt19937 rng(55);
  std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 16);
  size_t texts_with_matches = 0;
  for (int i = 0; i < 10000; ++i) {
    std::string input;
    for (int n = length(rng); n > 0; --n) input += pieces[pick(rng)];
    const auto expected = PatternExceptionSpans(input);
    if (!expected.empty()) ++texts_with_matches;
    ASSERT_EQ(FastExceptionSpans(input), expected) << "«" << input << "»";
    if (i % 8 != 0) continue;
    // A search may also begin inside the text, at any code point.
    for (size_t from = 1; from < input.size(); ++from) {
      if ((static_cast<unsigned char>(input[from]) & 0xC0) == 0x80) continue;
      const auto m = RE_ACRONYMS_EXCEPTIONS().find(input, from);
      const auto fast = find_acronym_exception(input, from);
      ASSERT_EQ(fast.has_value(), m.has_value()) << "«" << input << "» from " << from;
      if (m) {
        ASSERT_EQ(fast->start, m->start(0)) << "«" << input << "» from " << from;
        ASSERT_EQ(fast->end, m->end(0)) << "«" << input << "» from " << from;
      }
    }
  }
  // The texts must exercise both outcomes.
  EXPECT_GT(texts_with_matches, 500u);
}

TEST(AcronymPatterns, AcronymNeedsTwoUnitsBetweenBoundaries) {
  const struct {
    std::string_view text;
    Words expected;
  } cases[] = {
      {"VIỆT NAM", {"NAM"}},  // a capital with a tone mark is no unit
      {"A4", {}},
      {"iPhone", {}},
      {"Hà", {}},
      {"123ABC", {}},
      {"NoSQL", {"NoSQL"}},
      {"HeLLo", {"HeLLo"}},
      {"MI5", {"MI5"}},
      {"COVID-19", {"COVID"}},
      {"ĐHQG và PhD", {"ĐHQG", "PhD"}},
      {"BY ON", {"BY", "ON"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Matches(RE_ACRONYM(), c.text), c.expected) << "«" << c.text << "»";
  }
}

TEST(ReadAcronym, ReadsByTheFirstRuleThatApplies) {
  const struct {
    std::string_view acronym;
    std::string_view expected;
  } cases[] = {
      // Word-like: one English word.
      {"NASA", "__start_en__nasa__end_en__"},
      {"SELECT", "__start_en__select__end_en__"},
      {"BY", "__start_en__by__end_en__"},
      {"ON", "__start_en__on__end_en__"},
      // A small letter or a letter outside ASCII: Vietnamese letter names.
      {"PhD", "pê hát đê"},
      {"ĐHQG", "đê hát qui gờ"},
      // A vowel with a mark only Vietnamese writes (Ă Â Ê Ô Ơ Ư) makes the run a
      // Vietnamese word in capitals: its lower-case form, no longer spelled.
      {"ÂU", "âu"},
      {"ĂN", "ăn"},
      {"XĂNG", "xăng"},
      {"TRƠN", "trơn"},
      {"SIÊU", "siêu"},
      {"ĐÔ", "đô"},
      {"ƯU", "ưu"},
      {"NGÔ", "ngô"},
      {"ĐƯ", "đư"},
      // «Đ» is no vowel: an abbreviation without such a vowel is spelled.
      {"ĐT", "đê tê"},
      {"HCĐ", "hát xê đê"},
      {"NoSQL", "nờ ô ét qui lờ"},
      {"ĐH2", "đê hát hai"},
      {"ĐH\u0663", "đê hát"},  // a digit outside ASCII is dropped
      // An ASCII digit: Vietnamese letter names, other characters as written.
      {"H2O", "hát hai ô"},
      {"CO2", "xê ô hai"},
      {"ABC123", "a bê xê một hai ba"},
      {"MI5", "mờ i năm"},
      {"AB1\u0663", "a bê một \u0663"},
      // All ASCII capitals: spelled in English.
      {"ABC", "__start_en__a b c__end_en__"},
      {"AB\u0663", "__start_en__a b \u0663__end_en__"},
  };
  for (const auto& c : cases) {
    const auto m = RE_ACRONYM().find(c.acronym);
    ASSERT_TRUE(m.has_value()) << "«" << c.acronym << "» is no acronym";
    ASSERT_EQ(m->str(), c.acronym);
    EXPECT_EQ(read_acronym(*m), c.expected) << "«" << c.acronym << "»";
  }
}

TEST(UnmarkedSyllable, FollowsVietnameseSpelling) {
  for (std::string_view word : {"NAM", "CHUNG", "TO", "cho", "NGAY", "KHI", "GHI", "NGHE", "QUA",
                                "GIA", "OAI", "A", "AI", "HOA", "NHANH", "TRONG"}) {
    EXPECT_TRUE(is_unmarked_syllable(word)) << "«" << word << "»";
  }
  // No rhyme, a coda Vietnamese never writes, an onset spelled against the
  // vowel after it (c, g before e, i; k, gh before a), or letters beyond ASCII.
  for (std::string_view word : {"", "USD", "CMND", "MC", "CV", "XL", "TV", "CEO", "GE", "KA",
                                "GHA", "NGE", "SALE", "OK", "BANK", "NĂM", "CHUNGG"}) {
    EXPECT_FALSE(is_unmarked_syllable(word)) << "«" << word << "»";
  }
}

TEST(ExpandAbbreviations, ReplacesEveryOccurrenceAsStored) {
  const struct {
    std::string_view text;
    std::string_view expected;
  } cases[] = {
      {"táo, cam, v.v.", "táo, cam,  vân vân."},
      {"v/v", " về việc"},
      {"đ/c", "địa chỉ"},
      // No word boundaries: a key between signs or spaces is replaced.
      {"(đ/c)", "(địa chỉ)"},
      {"v/v:", " về việc:"},
      {"1v/v", "1 về việc"},
      {"v.v.v", " vân vân.v"},  // left to right, without overlap
      {"v/v và v/v", " về việc và  về việc"},
      {"V.V Đ/C", "V.V Đ/C"},  // case counts
      {"abc", "abc"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(expand_abbreviations(c.text), c.expected) << "«" << c.text << "»";
  }
  // Overlapping keys: either entry may go first.
  const std::string overlap = expand_abbreviations("v.v/v");
  EXPECT_TRUE(overlap == " vân vân/v" || overlap == "v. về việc") << overlap;
}

// A key that a letter touches is a piece of a longer word, and its reading
// would run into that word; right after a digit, «đ/c» is the đồng sign and
// the unit of a price.
TEST(ExpandAbbreviations, LeavesKeysInsideWords) {
  const struct {
    std::string_view text;
    std::string_view expected;
  } cases[] = {
      {"xđ/cy", "xđ/cy"},
      {"5.000đ/cái", "5.000đ/cái"},
      {"5.000đ/c", "5.000đ/c"},
      {"v/vũ", "v/vũ"},
      {"kv/vực", "kv/vực"},
      {"v.vậy", "v.vậy"},
      {"v/v\u0301", "v/v\u0301"},  // a combining mark after the key
      // Only the glued occurrence stays.
      {"kv/vực v/v", "kv/vực  về việc"},
      {"5 đ/c Nguyễn", "5 địa chỉ Nguyễn"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(expand_abbreviations(c.text), c.expected) << "«" << c.text << "»";
  }
}

TEST(ExpandStandaloneLetters, SpeaksLettersByName) {
  const struct {
    std::string_view text;
    std::string_view expected;
  } cases[] = {
      {"vitamin C", "vitamin  xê "},
      {"Nguyễn Văn A.", "Nguyễn Văn  a "},  // a capital initial loses its dot
      {"câu b.", "câu  bê. "},              // a small letter keeps it
      {"A.B.", " a  bê "},
      {"e.g.", " e.  gờ. "},
      {"Z", " dét "},
      {"it's", "it's"},               // nothing right after an apostrophe
      {"x'y", " ích 'y"},
      {"x\u2019y", " ích \u2019 y "},  // the typographic apostrophe does not protect
      {"a1 ab ă đ", "a1 ab ă đ"},      // no standalone ASCII letter
      {"Hà x", "Hà  ích "},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(expand_standalone_letters(c.text), c.expected) << "«" << c.text << "»";
  }
}

}  // namespace
}  // namespace vyr::vi_normalizer
