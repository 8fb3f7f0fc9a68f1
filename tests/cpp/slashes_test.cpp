// Slash forms: negative fractions, number over code, plain fractions, each
// pass and their order.
#include "vi_normalizer/slashes.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace vyr::vi_normalizer {
namespace {

struct Case {
  std::string_view input;
  std::string_view expected;
};

void expect_all(const Case* begin, const Case* end) {
  for (const Case* c = begin; c != end; ++c) {
    SCOPED_TRACE(std::string(c->input));
    EXPECT_EQ(normalize_slashes(c->input), c->expected);
  }
}

TEST(NormalizeSlashes, PlainFractions) {
  const Case cases[] = {
      {"3/4", "ba trên bốn"},
      {"15/20", "mười lăm trên hai mươi"},
      {"2024/2025",
       "hai nghìn không trăm hai mươi bốn trên hai nghìn không trăm hai mươi lăm"},
      {"tỷ lệ 1/2 và 3/4", "tỷ lệ một trên hai và ba trên bốn"},
      // A full stop, a comma or a digit after the last digit: no fraction.
      {"3/4.", "3/4."},
      {"3/4,5", "3/4,5"},
      {"3/45.", "3/45."},
      // Nor after a dot, a comma, a letter or a digit before the first.
      {"1.5/2", "1.5/2"},
      {"1,5/2", "1,5/2"},
      {"x1/2", "x1/2"},
      // Digits of other scripts match; the reader leaves them as they are.
      {"\u0663/4", "\u0663 trên bốn"},
      {"không có gạch chéo", "không có gạch chéo"},
      {"", ""},
  };
  expect_all(std::begin(cases), std::end(cases));
}

TEST(NormalizeSlashes, NegativeFractions) {
  const Case cases[] = {
      {"x =-3/4", "x = âm ba trên bốn"},
      {"x = -3/4", "x = âm ba trên bốn"},
      // Any white space before the "-" becomes one plain space.
      {"x\t-3/4", "x âm ba trên bốn"},
      {"x\n-3/4", "x âm ba trên bốn"},
      // Nothing before the "-": the sign stays, the fraction is still read.
      {"-3/4", "-ba trên bốn"},
      {"a-3/4", "a-ba trên bốn"},
      // A negative code goes on to the second pass.
      {"x =-12/3A", "x = âm mười hai trên ba a"},
  };
  expect_all(std::begin(cases), std::end(cases));
}

TEST(NormalizeSlashes, NumberOverCode) {
  const Case cases[] = {
      {"12/3A", "mười hai trên ba a"},
      {"12/3bc", "mười hai trên ba bê xê"},
      // Letters that are no unit of the tables are spelled by name; a unit is
      // left to the unit passes (it used to be spelled too, «ca gờ»).
      {"5/10ab", "năm trên mười a bê"},
      {"5/10kg", "năm trên mười kg"},
      // Digit runs inside the code are whole numbers.
      {"12/34ab5", "mười hai trên ba mươi bốn a bê năm"},
      {"nhà 25/7B đường Lê Lợi", "nhà hai mươi lăm trên bảy bê đường Lê Lợi"},
      {"x1/2a", "x1/2a"},
  };
  expect_all(std::begin(cases), std::end(cases));
}

// The numbers before a number over code and the "/" parts after it are read
// with it: an alley number has any number of parts.
TEST(NormalizeSlashes, NumberOverCodeWithFurtherParts) {
  const Case cases[] = {
      {"ngõ 12/3B/4", "ngõ mười hai trên ba bê trên bốn"},
      {"45/7M/2 Lê Lợi", "bốn mươi lăm trên bảy mờ trên hai Lê Lợi"},
      {"12/3A/4B", "mười hai trên ba a trên bốn bê"},
      {"7/8B/9C/10D", "bảy trên tám bê trên chín xê trên mười đê"},
      {"123/4/5B", "một trăm hai mươi ba trên bốn trên năm bê"},
      {"1/2/3/4B/5", "một trên hai trên ba trên bốn bê trên năm"},
      {"12/3B/4, phường 5", "mười hai trên ba bê trên bốn, phường 5"},
      // Codes in a list: a comma after a letter is no decimal comma.
      {"12/3A,12/3B", "mười hai trên ba a,mười hai trên ba bê"},
      // A part glued to another letter or digit, an empty part, a decimal
      // part: the code ends before its slash.
      {"12/3B/4ngõ", "mười hai trên ba bê/4ngõ"},
      {"12/3B/", "mười hai trên ba bê/"},
      {"12/3B//4", "mười hai trên ba bê//4"},
      {"12/3B/4.5", "mười hai trên ba bê trên bốn.5"},
      // No code: the parts are plain numbers, or the code has no number.
      {"12/3/4", "mười hai trên ba/4"},
      {"1,5/2a", "1,5/2a"},
      {"a/3B/4", "a/3B/4"},
  };
  expect_all(std::begin(cases), std::end(cases));
}

TEST(NormalizeSlashes, ReadingsStayApartFromGluedLetters) {
  const Case cases[] = {
      {"3/4đ", "ba trên bốn đ"},
      {"12/3Ađ", "mười hai trên ba a đ"},
      {"nhà12/3A", "nhà mười hai trên ba a"},
      {"nhà12/3", "nhà mười hai trên ba"},
      // Spaces already there are not doubled.
      {"nhà 12/3A đường", "nhà mười hai trên ba a đường"},
  };
  expect_all(std::begin(cases), std::end(cases));
}

TEST(IsCodeSlash, WhereTheNumberOverCodePatternMatches) {
  const struct {
    std::string_view text;
    bool code;
  } cases[] = {
      {"12/3A", true},
      {"5/10ab", true},
      {"5/10kg", false},  // a number with its unit
      {"80/100mg", false},
      {"12/3g", true},    // a single letter stays a code
      {"123/45B", true},
      {"nhà12/3A", true},
      {"(12/3A)", true},
      {"\u0661\u0662/\u0663A", true},
      {"12/3", false},
      {"12/3 A", false},
      {"12/3.5A", false},
      {"12/3đ", false},
      {"12/A", false},
      {"/3A", false},
      {"x1/2a", false},
      {"1.5/2a", false},
      {",5/2a", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text));
    const size_t slash = c.text.find('/');
    EXPECT_EQ(is_code_slash(c.text, slash), c.code);
    EXPECT_EQ(starts_slash_code(c.text, slash + 1), c.code);
  }
  EXPECT_FALSE(is_code_slash("12/3A", 0));
  EXPECT_FALSE(is_code_slash("12/3A", 99));
  EXPECT_FALSE(starts_slash_code("3A", 0));
}

// Every slash of a number over code with its leading numbers and further
// parts, and no other.
TEST(IsCodeSlash, EverySlashOfALongerCode) {
  const struct {
    std::string_view text;
    std::string_view code_slashes;  // "^" under each slash of the code
  } cases[] = {
      {"12/3B/4", "  ^  ^ "},
      {"12/3A/4B/5", "  ^  ^  ^ "},
      {"123/4/5B/6", "   ^ ^  ^ "},
      {"1/2/3/4", "       "},
      {"12/3B/4ngõ", "  ^        "},  // «õ» takes two bytes
      {"12/3A,12/3B", "  ^     ^  "},
      {"1,12/3B", "       "},
      {"a/3B/4", "      "},
      {"x/1/2B", "   ^  "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text));
    ASSERT_EQ(c.text.size(), c.code_slashes.size());
    for (size_t i = 0; i < c.text.size(); ++i) {
      EXPECT_EQ(is_code_slash(c.text, i), c.code_slashes[i] == '^') << "at " << i;
    }
  }
}

// The slash of every match of the number-over-code pattern is a code slash.
TEST(IsCodeSlash, HoldsAtEveryMatchOfThePattern) {
  const std::string_view texts[] = {
      "nhà 12/3A, 45/6bc và 7/8", "1/2/3/4B", "(12/3A)", "x1/2a 3/4b", "5/10ab/m",
      "1.5/2a ,5/2a 6/7c", "\u0661\u0662/\u0663A",
  };
  for (std::string_view text : texts) {
    RE_SLASH_ALNUM().for_each(text, [&](const text::Captures& m) {
      EXPECT_TRUE(is_code_slash(text, m.end(1))) << "«" << text << "» at " << m.end(1);
    });
  }
}

}  // namespace
}  // namespace vyr::vi_normalizer
