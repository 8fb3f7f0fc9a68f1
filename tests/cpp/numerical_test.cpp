#include "vi_normalizer/numerical.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace vyr::vi_normalizer {
namespace {

struct Case {
  std::string_view input;
  std::string_view expected;
};

std::string joined(std::string_view a, std::string_view b, std::string_view c) {
  std::string out(a);
  out += b;
  out += c;
  return out;
}

// ---------------------------------------------------------------------------
// num_to_words: the forms the number pass hands it.

struct NumCase {
  std::string_view num;
  bool negative;
  std::string_view expected;
};

TEST(NumToWords, ReadsEachNumberForm) {
  const NumCase cases[] = {
      // thousands dots
      {"1.234", false, "một nghìn hai trăm ba mươi bốn"},
      {"1.234.567", false, "một triệu hai trăm ba mươi bốn nghìn năm trăm sáu mươi bảy"},
      {"0.500", false, "năm trăm"},
      // decimal dot: the fraction digit by digit
      {"1.5", false, "một chấm năm"},
      {"0.5", false, "không chấm năm"},
      {"1.2345", false, "một chấm hai ba bốn lăm"},
      // a comma is always decimal, whatever follows it
      {"3,14", false, "ba phẩy một bốn"},
      {"1,234", false, "một phẩy hai ba bốn"},
      // space-grouped
      {"1 234 567", false, "một triệu hai trăm ba mươi bốn nghìn năm trăm sáu mươi bảy"},
      {"2\t100", false, "hai nghìn một trăm"},
      // leading zero: digit by digit; a lone zero is a number
      {"05", false, "không năm"},
      {"007", false, "không không bảy"},
      {"0", false, "không"},
      // negative
      {"05", true, "âm không năm"},
      {"1.5", true, "âm một chấm năm"},
      {"3,14", true, "âm ba phẩy một bốn"},
      {"1.234", true, "âm một nghìn hai trăm ba mươi bốn"},
      {"7", true, "âm bảy"},
      {"0", true, "âm không"},
  };
  for (const NumCase& c : cases) {
    EXPECT_EQ(num_to_words(c.num, c.negative), c.expected)
        << "num «" << c.num << "» negative " << c.negative;
  }
}

// ---------------------------------------------------------------------------
// normalize_number_vi: the sign rule of read_signed_number.

TEST(NormalizeNumberVi, DashIsMinusOnlyAtStartOrAfterSpaceOrOpeningPunctuation) {
  const Case cases[] = {
      {"-5", " âm năm "},
      {"(-5)", "( âm năm )"},
      {"[-5]", "[ âm năm ]"},
      {"a;-5", "a; âm năm "},
      {"a,-5", "a, âm năm "},
      {"a.-5", "a. âm năm "},
      {"5 -3", " năm   âm ba "},
      {"\u3000-5", "\u3000 âm năm "},  // ideographic space is white space
      {"—4", " âm bốn "},
      // after anything else the dash is a hyphen and stays glued
      {"a-5", "a-năm"},
      {"x—5", "x—năm"},
      {"Hà-5", "Hà-năm"},  // the character before is taken whole, not its last byte
      {"x–1.5", "x–một chấm năm"},
      // a dash between digits is never a sign
      {"3-5", " ba - năm "},
      // U+2212 is not one of the dashes
      {"−5", "− năm "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(normalize_number_vi(c.input), c.expected) << "input «" << c.input << "»";
  }
}

TEST(NormalizeNumberVi, GroupsAndDecimalTails) {
  const Case cases[] = {
      {"có 2 100 người", "có  hai nghìn một trăm  người"},
      {"12 345", " mười hai nghìn ba trăm bốn mươi lăm "},
      {"2 1000", " hai   một nghìn "},  // a four-digit group is a new number
      // groups continue only a leading group of one to three digits
      {"Năm 2020 100 người", "Năm  hai nghìn không trăm hai mươi   một trăm  người"},
      {"2020 100 200", " hai nghìn không trăm hai mươi   một trăm nghìn hai trăm "},
      {"-2020 100", " âm hai nghìn không trăm hai mươi   một trăm "},
      {"007 123", " không không bảy   một trăm hai mươi ba "},
      {"a-2020 100", "a-hai nghìn không trăm hai mươi  một trăm "},
      {"2020 050", " hai nghìn không trăm hai mươi   không năm không "},
      {"1.234.5", " một nghìn hai trăm ba mươi bốn . năm "},
      {"100.000,5", " một trăm nghìn , năm "},
      {"-05", " âm không năm "},
      {"-1.5", " âm một chấm năm "},
      {"giá 1.500.000 đồng", "giá  một triệu năm trăm nghìn  đồng"},
      {"số 0", "số  không "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(normalize_number_vi(c.input), c.expected) << "input «" << c.input << "»";
  }
}

TEST(MinusSignBefore, FollowsTheSignRuleOfTheNumberPass) {
  struct SignCase {
    std::string_view text;  // the number starts at the end of the text
    size_t dash;
  };
  const SignCase cases[] = {
      {"-", 1},     {"giảm -", 1}, {"(–", 3}, {"[—", 3}, {"a;-", 1}, {"a,-", 1},
      {"a.-", 1},   {"　-", 1},            // the ideographic space is white space
      // Quotes, brackets, ":" and "…" are blanked or deleted before the late
      // number pass judges the dash.
      {"\"-", 1},  {"'-", 1},     {"“-", 1},  {"”-", 1}, {"„-", 1},  {"‘-", 1}, {"’-", 1},
      {"«–", 3},    {"»-", 1},     {"{-", 1},  {"}-", 1}, {")-", 1},  {"]-", 1}, {"a:-", 1},
      {"Q1…-", 1},
      {"a-", 0},    {"Hà-", 0},    {"5-", 0},  {"%-", 0}, {"−", 0},  // U+2212 is no dash
      {"°-", 0},    {"/-", 0},     {"+-", 0},  {"‹-", 0},
      {"", 0},      {"giảm ", 0},
  };
  for (const SignCase& c : cases) {
    EXPECT_EQ(minus_sign_before(c.text, c.text.size()), c.dash) << "text «" << c.text << "»";
  }
}

TEST(NormalizeNumberVi, LineBreakNeverJoinsTwoNumbers) {
  const std::string_view breaks[] = {"\n", "\v", "\f", "\r", "\r\n", "\u0085", "\u2028", "\u2029"};
  for (std::string_view br : breaks) {
    const std::string input = joined("năm 2020", br, "100 người");
    const std::string expected =
        joined("năm  hai nghìn không trăm hai mươi ", br, " một trăm  người");
    EXPECT_EQ(normalize_number_vi(input), expected) << "break of " << br.size() << " bytes";
  }
}

TEST(NormalizeNumberVi, OtherSingleWhiteSpaceStillJoinsGroups) {
  const std::string_view spaces[] = {" ", "\t", "\u00a0", "\u2009", "\u202f", "\u3000"};
  for (std::string_view sp : spaces) {
    const std::string input = joined("2", sp, "100");
    EXPECT_EQ(normalize_number_vi(input), " hai nghìn một trăm ")
        << "separator of " << sp.size() << " bytes";
  }
  // Two white-space characters are no separator.
  EXPECT_EQ(normalize_number_vi("2  100"), " hai    một trăm ");
}

TEST(NormalizeNumberVi, Ordinals) {
  const Case cases[] = {
      {"Thứ 1", "Thứ nhất"},
      {"thứ 4", "thứ tư"},
      {"THỨ 4", "THỨ tư"},
      {"thứ 14", "thứ mười bốn"},
      {"thứ 04", "thứ không bốn"},
      {"hạng  2", "hạng  hai"},  // the white space is kept as written
      {"HẠNG 21", "HẠNG hai mươi mốt"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(normalize_number_vi(c.input), c.expected) << "input «" << c.input << "»";
  }
}

TEST(NormalizeNumberVi, MobileNumbers) {
  const Case cases[] = {
      {"gọi 0912345678 nhé", "gọi không chín một hai ba bốn năm sáu bảy tám nhé"},
      {"+84912345678", "không chín một hai ba bốn năm sáu bảy tám"},
      {"0084912345678", "không không tám bốn chín một hai ba bốn năm sáu bảy tám"},
      {"84312345678", "tám bốn ba một hai ba bốn năm sáu bảy tám"},
      // inside a longer run: the digits around it go to the number pass
      {"1209123456789", " mười hai không chín một hai ba bốn năm sáu bảy tám chín "},
      // 2, 4 and 6 do not start a mobile number
      {"0212345678", " không hai một hai ba bốn năm sáu bảy tám "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(normalize_number_vi(c.input), c.expected) << "input «" << c.input << "»";
  }
}

TEST(NormalizeNumberVi, TextsWithoutAsciiDigits) {
  EXPECT_EQ(normalize_number_vi(""), "");
  EXPECT_EQ(normalize_number_vi("không có số nào"), "không có số nào");
  // Other scripts' digits are matched but not read: they come back spaced.
  EXPECT_EQ(normalize_number_vi("x٣y"), "x ٣ y");
  EXPECT_EQ(normalize_number_vi("thứ ٤"), "thứ  ٤ ");
}

// ---------------------------------------------------------------------------
// The multiplication step.

TEST(ExpandMultiplications, ReadsSignsInsideChains) {
  const Case cases[] = {
      {"10cm x 20cm", "10cm nhân 20cm"},
      {"3 × 4 × 5", "3 nhân 4 nhân 5"},
      {"2X3", "2 nhân 3"},
      {"phòng 3x4 m", "phòng 3 nhân 4 m"},
      {"1920x1080 px", "1920 nhân 1080 px"},
      {"5 µm x 2 μm", "5 µm nhân 2 μm"},
      // letters right before a sign are the unit of the number before
      {"2 max 3", "2 ma nhân 3"},
      {"2x3x", "2 nhân 3x"},
      // a chain starts with a number and every sign is followed by one
      {"x2", "x2"},
      {"2 x", "2 x"},
      {"chữ x và y", "chữ x và y"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(expand_multiplications(c.input), c.expected) << "input «" << c.input << "»";
  }
}

TEST(ExpandMultiplyNumber, ReplacesEverySignOfOneChain) {
  EXPECT_EQ(expand_multiply_number("2 x 3 x 4"), "2 nhân 3 nhân 4");
  EXPECT_EQ(expand_multiply_number("2m2×3m2"), "2m2 nhân 3m2");
  EXPECT_EQ(expand_multiply_number("12"), "12");
}

}  // namespace
}  // namespace vyr::vi_normalizer
