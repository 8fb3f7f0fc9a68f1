#include "vi_normalizer/resources.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vyr::vi_normalizer {
namespace {

constexpr std::string_view kStartEn = "__start_en__";
constexpr std::string_view kEndEn = "__end_en__";

std::string Find(const TextMap& map, std::string_view key) {
  const std::string_view* value = map.find(key);
  return value ? std::string(*value) : "<none>";
}

std::string Find(const CharMap& map, char32_t key) {
  const std::string_view* value = map.find(key);
  return value ? std::string(*value) : "<none>";
}

// Every opening marker is closed before the next one opens, and no closing
// marker stands alone.
bool MarkersBalanced(std::string_view value) {
  bool open = false;
  for (size_t pos = 0; pos < value.size();) {
    if (value.substr(pos, kStartEn.size()) == kStartEn) {
      if (open) return false;
      open = true;
      pos += kStartEn.size();
    } else if (value.substr(pos, kEndEn.size()) == kEndEn) {
      if (!open) return false;
      open = false;
      pos += kEndEn.size();
    } else {
      ++pos;
    }
  }
  return !open;
}

TEST(Resources, TablesHoldTheirEntryCounts) {
  const struct {
    std::string_view name;
    size_t size;
    size_t expected;
  } tables[] = {
      {"VI_LETTER_NAMES", VI_LETTER_NAMES().size(), 31},
      // The signs of maths and of per mille that carry meaning are read too.
      {"SYMBOLS_MAP", SYMBOLS_MAP().size(), 92},
      {"SUPERSCRIPTS_MAP", SUPERSCRIPTS_MAP().size(), 10},
      {"SUBSCRIPTS_MAP", SUBSCRIPTS_MAP().size(), 10},
      {"ROMAN_NUMERALS", ROMAN_NUMERALS().size(), 7},
      {"MEASUREMENT_KEY_VI", MEASUREMENT_KEY_VI().size(), 72},
      {"CASED_UNIT_KEY", CASED_UNIT_KEY().size(), 10},
      {"CURRENCY_KEY", CURRENCY_KEY().size(), 13},
      {"CURRENCY_SYMBOL_MAP", CURRENCY_SYMBOL_MAP().size(), 5},
      {"DATE_KEYWORDS", DATE_KEYWORDS().size(), 20},
      {"MATH_KEYWORDS", MATH_KEYWORDS().size(), 13},
      {"ACRONYMS_EXCEPTIONS_VI", ACRONYMS_EXCEPTIONS_VI().size(), 36},
      {"TECHNICAL_TERMS", TECHNICAL_TERMS().size(), 19},
      {"COMBINED_EXCEPTIONS", COMBINED_EXCEPTIONS().size(), 55},
      {"WORD_LIKE_ACRONYMS", WORD_LIKE_ACRONYMS().size(), 72},
      {"ABBRS", ABBRS().size(), 3},
      {"DOMAIN_SUFFIX_MAP", DOMAIN_SUFFIX_MAP().size(), 9},
      {"COMMON_EMAIL_DOMAINS", COMMON_EMAIL_DOMAINS().size(), 8},
  };
  for (const auto& t : tables) EXPECT_EQ(t.size, t.expected) << t.name;
}

TEST(Resources, TextKeysAreExactBytes) {
  const struct {
    const TextMap& map;
    std::string_view key;
    std::string_view expected;
  } cases[] = {
      // Case matters.
      {MEASUREMENT_KEY_VI(), "M", "triệu"},
      {MEASUREMENT_KEY_VI(), "m", "mét"},
      {MEASUREMENT_KEY_VI(), "B", "tỷ"},
      {MEASUREMENT_KEY_VI(), "b", "<none>"},
      {MEASUREMENT_KEY_VI(), "kwh", "ki lô oát giờ"},
      {MEASUREMENT_KEY_VI(), "kWh", "ki lô oát giờ"},
      {MEASUREMENT_KEY_VI(), "KWH", "<none>"},
      {ACRONYMS_EXCEPTIONS_VI(), "ubnd", "<none>"},
      {ACRONYMS_EXCEPTIONS_VI(), "ThS", "thạc sĩ"},
      // Look-alikes: micro sign U+00B5 and Greek mu U+03BC.
      {MEASUREMENT_KEY_VI(), "\u00b5m", "mic rô mét"},
      {MEASUREMENT_KEY_VI(), "\u03bcm", "mic rô mét"},
      {MEASUREMENT_KEY_VI(), "\u00b5g", "mic rô gam"},
      {MEASUREMENT_KEY_VI(), "\u03bcg", "<none>"},
      // "Đ" in the acronym keys is U+0110; the look-alike Ð U+00D0 is no key.
      {ACRONYMS_EXCEPTIONS_VI(), "C\u0110V", "cổ động viên"},
      {ACRONYMS_EXCEPTIONS_VI(), "C\u00d0V", "<none>"},
      {ACRONYMS_EXCEPTIONS_VI(), "\u0110H", "đại học"},
      // Fixed misspelling: the court is "toà án".
      {ACRONYMS_EXCEPTIONS_VI(), "TAND", "toà án nhân dân"},
      // Spaces are kept as stored.
      {ABBRS(), "v.v", " vân vân"},
      {ABBRS(), "v/v", " về việc"},
      {ABBRS(), "đ/c", "địa chỉ"},
      {CURRENCY_KEY(), "%", "phần trăm"},
      {CURRENCY_KEY(), "v n đ", "việt nam đồng"},
      {CURRENCY_KEY(), "\u20ac", "__start_en__euro__end_en__"},
      {CURRENCY_SYMBOL_MAP(), "$", "__start_en__u s d__end_en__"},
      {DOMAIN_SUFFIX_MAP(), "vn", "__start_en__v n__end_en__"},
      {DOMAIN_SUFFIX_MAP(), ".vn", "<none>"},
      {TECHNICAL_TERMS(), "IPv6", "__start_en__i p v__end_en__ sáu"},
      // Lower-case letters only; no "ă" or "â".
      {VI_LETTER_NAMES(), "đ", "đê"},
      {VI_LETTER_NAMES(), "w", "đắp liu"},
      {VI_LETTER_NAMES(), "A", "<none>"},
      {VI_LETTER_NAMES(), "ă", "<none>"},
      {VI_LETTER_NAMES(), "â", "<none>"},
  };
  for (const auto& c : cases) EXPECT_EQ(Find(c.map, c.key), c.expected) << "key «" << c.key << "»";
}

TEST(Resources, CharacterKeysAreSingleCodePoints) {
  const struct {
    const CharMap& map;
    char32_t key;
    std::string_view expected;
  } cases[] = {
      {SYMBOLS_MAP(), U'\u03b5', " ép si lon "},  // ε
      {SYMBOLS_MAP(), U'\u03f5', " thuộc "},      // ϵ
      {SYMBOLS_MAP(), U'\u0394', " đen ta "},     // Δ
      {SYMBOLS_MAP(), U'\u03b4', " đen ta "},     // δ
      {SYMBOLS_MAP(), U'\u1d27', " và "},         // ᴧ
      {SYMBOLS_MAP(), U'&', " và "},
      {SYMBOLS_MAP(), U'\u00b5', "<none>"},  // micro sign: only μ U+03BC is a key
      {SYMBOLS_MAP(), U'\u03bc', " muy "},
      {SYMBOLS_MAP(), U'\u2159', "<none>"},  // ⅙ is not listed, ⅚ is
      {SYMBOLS_MAP(), U'\u215a', " năm phần sáu "},
      {SUPERSCRIPTS_MAP(), U'\u00b2', " bình phương "},
      {SUPERSCRIPTS_MAP(), U'\u2074', " bốn "},
      {SUBSCRIPTS_MAP(), U'\u2082', " hai "},
      {SUBSCRIPTS_MAP(), U'2', "<none>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Find(c.map, c.key), c.expected) << "key U+" << std::hex << uint32_t(c.key);
  }
  for (const auto* map : {&SYMBOLS_MAP(), &SUPERSCRIPTS_MAP(), &SUBSCRIPTS_MAP()}) {
    for (const auto& [key, value] : *map) {
      EXPECT_TRUE(value.size() > 2 && value.front() == ' ' && value.back() == ' ' &&
                  value[1] != ' ' && value[value.size() - 2] != ' ')
          << "value «" << value << "»";
    }
  }
}

TEST(Resources, RomanNumeralsAreCapitalsOnly) {
  const struct {
    char32_t key;
    int32_t expected;  // 0: no entry
  } cases[] = {{U'I', 1}, {U'V', 5}, {U'D', 500}, {U'M', 1000}, {U'i', 0}, {U'x', 0}};
  for (const auto& c : cases) {
    const int32_t* value = ROMAN_NUMERALS().find(c.key);
    EXPECT_EQ(value ? *value : 0, c.expected) << char(c.key);
  }
}

TEST(Resources, SetsTestExactMembership) {
  EXPECT_TRUE(DATE_KEYWORDS().contains("hôm nay"));
  EXPECT_TRUE(DATE_KEYWORDS().contains("năm"));
  EXPECT_FALSE(DATE_KEYWORDS().contains("Ngày"));
  EXPECT_TRUE(MATH_KEYWORDS().contains("tỷ lệ"));
  EXPECT_TRUE(MATH_KEYWORDS().contains("tỉ lệ"));
  EXPECT_FALSE(MATH_KEYWORDS().contains("tỷ"));
  EXPECT_TRUE(WORD_LIKE_ACRONYMS().contains("NASA"));
  EXPECT_TRUE(WORD_LIKE_ACRONYMS().contains("BY"));
  EXPECT_FALSE(WORD_LIKE_ACRONYMS().contains("nasa"));
  EXPECT_FALSE(WORD_LIKE_ACRONYMS().contains("ABC"));
}

TEST(Resources, CombinedExceptionsHoldBothSourcesInOrder) {
  const TextMap& combined = COMBINED_EXCEPTIONS();
  std::vector<TextMap::Row> expected(ACRONYMS_EXCEPTIONS_VI().begin(),
                                     ACRONYMS_EXCEPTIONS_VI().end());
  expected.insert(expected.end(), TECHNICAL_TERMS().begin(), TECHNICAL_TERMS().end());
  EXPECT_EQ(std::vector<TextMap::Row>(combined.begin(), combined.end()), expected);
  for (std::string_view key : {"TP.HCM", "PGS.TS", "VN-Index", "MS DOS", "Washington D.C"}) {
    EXPECT_TRUE(combined.contains(key)) << key;
  }
  EXPECT_EQ(Find(combined, "TAND"), "toà án nhân dân");
  EXPECT_EQ(Find(combined, "KOH"), "ca ô hát");
}

TEST(Resources, EnglishMarkersAreBalancedInEveryValue) {
  for (const TextMap* map :
       {&MEASUREMENT_KEY_VI(), &CURRENCY_KEY(), &CURRENCY_SYMBOL_MAP(), &COMBINED_EXCEPTIONS(),
        &ABBRS(), &DOMAIN_SUFFIX_MAP(), &COMMON_EMAIL_DOMAINS(), &VI_LETTER_NAMES()}) {
    for (const auto& [key, value] : *map) {
      EXPECT_TRUE(MarkersBalanced(value)) << "«" << key << "» → «" << value << "»";
    }
  }
}

// Each reading is the provider in English, then the suffix spoken as the
// domain reader speaks it.
TEST(Resources, CommonEmailDomainsKeepTheReadingForm) {
  const struct {
    std::string_view domain_end;
    std::string_view spoken_end;
  } suffixes[] = {
      {".com.vn", " chấm com chấm __start_en__v n__end_en__"},
      {".com", " chấm com"},
      {".vn", " chấm __start_en__v n__end_en__"},
  };
  auto ends_with = [](std::string_view s, std::string_view end) {
    return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
  };
  for (const auto& [domain, reading] : COMMON_EMAIL_DOMAINS()) {
    for (char c : domain) EXPECT_FALSE(c >= 'A' && c <= 'Z') << domain;
    EXPECT_EQ(reading.substr(0, kStartEn.size()), kStartEn) << domain;
    const size_t name_end = reading.find(kEndEn);
    ASSERT_NE(name_end, std::string_view::npos) << domain;
    std::string_view after = reading.substr(name_end + kEndEn.size());
    bool matched = false;
    for (const auto& s : suffixes) {
      if (ends_with(domain, s.domain_end)) {
        EXPECT_EQ(after, s.spoken_end) << domain;
        matched = true;
        break;
      }
    }
    EXPECT_TRUE(matched) << "no known suffix: " << domain;
  }
  EXPECT_TRUE(COMMON_EMAIL_DOMAINS().contains("gmail.com"));
  EXPECT_FALSE(COMMON_EMAIL_DOMAINS().contains("Gmail.com"));
}

TEST(OrderedMap, LaterRowReplacesValueInPlace) {
  const TextMap map({{"a", "1"}, {"b", "2"}, {"a", "3"}});
  EXPECT_EQ(map.size(), 2u);
  EXPECT_EQ(Find(map, "a"), "3");
  std::vector<TextMap::Row> rows(map.begin(), map.end());
  EXPECT_EQ(rows, (std::vector<TextMap::Row>{{"a", "3"}, {"b", "2"}}));
  const TextSet set({"x", "y", "x"});
  EXPECT_EQ(set.size(), 2u);
  EXPECT_EQ(std::vector<std::string_view>(set.begin(), set.end()),
            (std::vector<std::string_view>{"x", "y"}));
}

}  // namespace
}  // namespace vyr::vi_normalizer
