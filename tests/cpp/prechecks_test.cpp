// The quick class tests and the pre-checks that let passes skip a search:
// a pre-check may say "no match" only where its pattern surely has none.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "text/char_classes.hpp"
#include "text/regex.hpp"
#include "text/unicode.hpp"
#include "vi_normalizer/acronyms.hpp"
#include "vi_normalizer/inline_passes.hpp"
#include "vi_normalizer/misc.hpp"
#include "vi_normalizer/normalizer.hpp"
#include "vi_normalizer/number_passes.hpp"
#include "vi_normalizer/rewrite.hpp"
#include "vi_normalizer/roman_primes.hpp"

namespace vyr::vi_normalizer {
namespace {

using text::Engine;
using text::Regex;

std::string utf8(char32_t c) {
  std::string s;
  text::append_utf8(s, c);
  return s;
}

TEST(CharClasses, AgreeWithThePatternClassesOnEveryCodePoint) {
  const Regex digit(R"(\d)", Engine::kLinear);
  const Regex space(R"(\s)", Engine::kLinear);
  const Regex word(R"(\w)", Engine::kLinear);
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::string s = utf8(c);
    const auto code = static_cast<uint32_t>(c);
    if (!text::may_be_digit(c)) {
      ASSERT_FALSE(digit.is_match(s)) << std::hex << "U+" << code;
    }
    ASSERT_EQ(text::is_space_class(c), space.is_match(s)) << std::hex << "U+" << code;
    if (text::surely_word(c)) {
      ASSERT_TRUE(word.is_match(s)) << std::hex << "U+" << code;
    }
  }
  // And they say so where it matters: Vietnamese letters are no digits and
  // sure word characters.
  for (char32_t c : {U'à', U'Đ', U'ư', U'ố', U'ỹ'}) {
    EXPECT_FALSE(text::may_be_digit(c));
    EXPECT_TRUE(text::surely_word(c));
  }
  EXPECT_TRUE(text::may_be_digit(U'٣'));
}

TEST(CharClasses, CharAtAndCharBeforeReadAsDecodeUtf8) {
  for (std::string_view s :
       {"aé€😀", "Nguyễn", "\xff", "a\xe1\xba", "\xc3", "\xed\xa0\x80x", "\xe0\x80\x80", "\xf0\x9f",
        "\xc3\xa9\x80", "\xef\xbf\xbd", "\xe0\xa4\x85", "\xc1\xbf", ""}) {
    for (size_t pos = 0; pos < s.size(); ++pos) {
      size_t expected_next = pos;
      const char32_t expected = text::decode_utf8(s, expected_next);
      size_t next = 0;
      EXPECT_EQ(text::char_at(s, pos, &next), expected) << "in «" << s << "» at " << pos;
      EXPECT_EQ(next, expected_next) << "in «" << s << "» at " << pos;
    }
    if (!text::is_valid_utf8(s)) continue;
    for (size_t pos = 0; pos < s.size();) {
      const char32_t c = text::decode_utf8(s, pos);
      EXPECT_EQ(text::char_before(s, pos), c) << "in «" << s << "» before " << pos;
    }
  }
}

TEST(CharClasses, ByteNeighbourhoods) {
  const auto digit = [](char32_t c) { return text::may_be_digit(c); };
  const auto space = [](char32_t c) { return text::is_space_class(c); };
  const auto letter = [](char32_t c) { return text::is_ascii_letter(c); };
  struct Case {
    std::string_view text;
    bool between, preceded, followed, across, pair;
  };
  // between: "." between digits; preceded: "," after white space; followed:
  // "," before a letter; across: "." then "." past white space; pair: a
  // letter then a digit.
  for (const Case& c : std::initializer_list<Case>{
           {"1.5", true, false, false, false, false},
           {"٣.٤", true, false, false, false, false},
           {".5 1.", false, false, false, false, false},
           {"a ,b", false, true, true, false, false},
           {"a\u00a0,", false, true, false, false, false},
           {"a,\u00a0b", false, false, false, false, false},
           {"a. \u00a0\n.", false, false, false, true, false},
           {"a.x.", false, false, false, false, false},
           {"B52", false, false, false, false, true},
           {"đ5, 5B", false, false, false, false, false},
           {"", false, false, false, false, false},
       }) {
    EXPECT_EQ(text::has_byte_between(c.text, ".", digit, digit), c.between) << c.text;
    EXPECT_EQ(text::has_byte_preceded_by(c.text, ",", space), c.preceded) << c.text;
    EXPECT_EQ(text::has_byte_followed_by(c.text, ",", letter), c.followed) << c.text;
    EXPECT_EQ(text::has_bytes_across_spaces(c.text, ".", "."), c.across) << c.text;
    EXPECT_EQ(text::has_pair(c.text, letter, digit), c.pair) << c.text;
  }
  EXPECT_TRUE(text::may_hold_digit_run("số 0901234567", 7));
  EXPECT_TRUE(text::may_hold_digit_run("١٢٣٤٥٦٧", 7));
  EXPECT_FALSE(text::may_hold_digit_run("123456 7 được", 7));
}

// Texts made of pieces that sit at the edges of the classes and of the
// pre-checks: digits of two scripts, letters with and without marks,
// capitals, white space of several kinds, signs and punctuation.
std::vector<std::string> edge_texts() {
  const std::vector<std::string_view> pieces = {
      "1",  "0", "9", "٣", "12",     "1234567", "٣٣٣٣٣٣٣", "a",    "B", "x",  "Đ",      "đ",
      "ư",  "Ư", "ố", "à", "ABC",    "H2O",     "ThS",     "Ngày", " ", "  ", "\u00a0", "\t",
      "\n", ".", ",", "!", "?",      ";",       ":",       "<",    "'", "’",  "-",      "_",
      "|",  "…", "°", "ǅ", "\u0301", "²",       "€",       "—",    "𝟙", "x.", "1.",     ".5"};
  std::vector<std::string> texts = {"",
                                    "Hà Nội",
                                    "Tôi yêu NASA.",
                                    "vitamin C",
                                    "a .. b",
                                    "x , , y",
                                    "1,234.5",
                                    "1.2.3",
                                    "Ngày 2/9/1945, UBND công bố 12,5%",
                                    "gọi 0901234567 nhé",
                                    "a|b…c",
                                    "3D và B52",
                                    "tiếng Việt chuẩn, không dấu lạ."};
  std::mt19937 rng(2026);
  for (int i = 0; i < 20000; ++i) {
    std::string t;
    const size_t n = 1 + rng() % 7;
    for (size_t k = 0; k < n; ++k) t += pieces[rng() % pieces.size()];
    texts.push_back(std::move(t));
  }
  return texts;
}

TEST(Prechecks, NeverRuleOutAMatchOfTheirPattern) {
  using Check = std::function<bool(std::string_view)>;
  struct Pair {
    const char* name;
    const Regex& re;
    Check check;
  };
  const auto dot = [](std::string_view t) { return rewrite::has_separator_between_digits(t, "."); };
  const auto comma = [](std::string_view t) {
    return rewrite::has_separator_between_digits(t, ",");
  };
  const std::vector<Pair> pairs = {
      {"RE_LONG_NUM", RE_LONG_NUM(),
       [](std::string_view t) { return text::may_hold_digit_run(t, 7); }},
      {"RE_FLOAT_WITH_COMMA", RE_FLOAT_WITH_COMMA(), comma},
      {"RE_MULTI_COMMA", RE_MULTI_COMMA(), comma},
      {"RE_STRIP_DOT_SEP", RE_STRIP_DOT_SEP(), dot},
      {"RE_DOT_BETWEEN_DIGITS", RE_DOT_BETWEEN_DIGITS(), dot},
      {"RE_VERSION", RE_VERSION(), dot},
      {"RE_ALPHANUMERIC", RE_ALPHANUMERIC(), has_digit_before_letter},
      {"RE_LETTER_DIGIT", RE_LETTER_DIGIT(), has_letter_before_digit},
      {"RE_ACRONYM", RE_ACRONYM(), may_hold_acronym},
      {"RE_STANDALONE_LETTER", RE_STANDALONE_LETTER(), may_hold_standalone_letter},
      {"RE_CLEAN_OTHERS", RE_CLEAN_OTHERS(), has_stray_character},
      {"RE_MULTI_DOT", RE_MULTI_DOT(),
       [](std::string_view t) { return text::has_bytes_across_spaces(t, ".", "."); }},
      {"RE_EXTRA_COMMAS", RE_EXTRA_COMMAS(),
       [](std::string_view t) { return text::has_bytes_across_spaces(t, ",", ","); }},
      {"RE_COMMA_BEFORE_PUNCT", RE_COMMA_BEFORE_PUNCT(),
       [](std::string_view t) { return text::has_bytes_across_spaces(t, ",", ".!?;"); }},
      {"RE_SPACE_BEFORE_PUNCT", RE_SPACE_BEFORE_PUNCT(), has_space_before_punct},
      {"RE_MISSING_SPACE_AFTER_PUNCT", RE_MISSING_SPACE_AFTER_PUNCT(), has_punct_before_other},
  };
  const std::vector<std::string> texts = edge_texts();
  for (const Pair& p : pairs) {
    size_t ruled_out = 0;
    for (const std::string& t : texts) {
      const bool may_match = p.check(t);
      ruled_out += !may_match;
      if (!may_match) {
        ASSERT_FALSE(p.re.is_match(t)) << p.name << " matches «" << t << "»";
      }
    }
    // A pre-check that never says no would skip nothing.
    EXPECT_GT(ruled_out, texts.size() / 10) << p.name;
  }
}

TEST(Prechecks, RuleOutPlainVietnamese) {
  const std::string_view plain = "Người dân Hà Nội đón năm mới, trời ấm.";
  EXPECT_FALSE(has_digit_before_letter(plain));
  EXPECT_FALSE(has_letter_before_digit(plain));
  EXPECT_FALSE(may_hold_acronym(plain));
  EXPECT_FALSE(may_hold_standalone_letter(plain));
  EXPECT_FALSE(has_stray_character(plain));
  EXPECT_FALSE(has_space_before_punct(plain));
  EXPECT_FALSE(has_punct_before_other(plain));
}

TEST(CollapseSpaces, ReplacesEveryRunAsThePatternDoes) {
  for (const std::string& t : edge_texts()) {
    std::string collapsed = t;
    collapse_spaces(collapsed);
    ASSERT_EQ(collapsed, RE_EXTRA_SPACES().replace_all(t, " ")) << "«" << t << "»";
  }
}

}  // namespace
}  // namespace vyr::vi_normalizer
