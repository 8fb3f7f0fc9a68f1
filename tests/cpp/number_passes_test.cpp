#include "vi_normalizer/number_passes.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace vyr::vi_normalizer {
namespace {

using Pass = bool (*)(std::string_view, std::string&);

std::string run_on(Pass pass, std::string_view text) {
  std::string out;
  return pass(text, out) ? out : std::string(text);
}

struct Case {
  const char* text;
  const char* expected;
};

void expect_cases(Pass pass, std::initializer_list<Case> cases) {
  for (const Case& c : cases) EXPECT_EQ(run_on(pass, c.text), c.expected) << "text: " << c.text;
}

TEST(NumberPasses, Ranges) {
  expect_cases(read_ranges, {
                                // near lengths: a range
                                {"10-20", " 10 đến 20 "},
                                {"5-10", " 5 đến 10 "},
                                {"5 - 10", " 5 đến 10 "},
                                {"5- 10", " 5 đến 10 "},
                                {"5–10", " 5 đến 10 "},
                                {"5—10", " 5 đến 10 "},
                                {"1,5-2", " 1,5 đến 2 "},
                                {"1.5-2.5", " 1.5 đến 2.5 "},
                                // lengths two or more apart: the dash is a space. Each
                                // number keeps spaces of its own (not « 5 100 »), so
                                // that the late number pass never reads one number
                                // «5 100» where the text had two.
                                {"5-100", " 5  100 "},
                                {"100-5", " 100  5 "},
                                // a minus sign before the first number stays glued to it
                                {"-5-10", "-5 đến 10 "},
                                {"giá (-5-100)", "giá (-5  100 )"},
                                {"a-5-10", "a- 5 đến 10 "},
                                // white space before the dash only: a minus sign, left alone
                                {"5 -10", "5 -10"},
                                // a letter, a digit or a decimal part on either side
                                {"a5-10", "a5-10"},
                                {"1.2.3-4", "1.2.3-4"},
                                {"5-10.5.6", "5-10.5.6"},
                            });
}

// A score word among the three words before the pair: two numbers.
TEST(NumberPasses, ScoresAreTwoNumbers) {
  expect_cases(read_ranges, {
                                {"tỷ số 2-1", "tỷ số  2  1 "},
                                {"Kết quả trận đấu: 3 – 2", "Kết quả trận đấu:  3  2 "},
                                {"thắng 100-98", "thắng  100  98 "},
                                {"HÒA 1-1", "HÒA  1  1 "},
                                {"thắng ở hai trận 2-3", "thắng ở hai trận  2 đến 3 "},
                                {"tỷ 2-1", "tỷ  2 đến 1 "},
                            });
}

TEST(NumberPasses, RangeEndsHaveAtMostFifteenDigits) {
  expect_cases(read_ranges, {
                                {"123456789012345-123456789012345",
                                 " 123456789012345 đến 123456789012345 "},
                                {"123456789012345-1234567890123456",
                                 "123456789012345-1234567890123456"},
                                {"1234567890123456-5", "1234567890123456-5"},
                            });
}

TEST(NumberPasses, LongDigitStrings) {
  expect_cases(read_long_numbers,
               {
                   {"12345678", " một hai ba bốn năm sáu bảy tám "},
                   {"-1234567", " âm một hai ba bốn năm sáu bảy "},
                   {"0901-1234567", "0901- một hai ba bốn năm sáu bảy "},
                   {"abc-1234567", "abc âm một hai ba bốn năm sáu bảy "},
                   {"123456", "123456"},
                   {"1,2345678", "1,2345678"},
                   {"12345678.5", "12345678.5"},
                   {"12345678,5", "12345678,5"},
                   // digits of another script match but are not read
                   {"\u0660\u0661\u0662\u0663\u0664\u0665\u0666",
                    " \u0660\u0661\u0662\u0663\u0664\u0665\u0666 "},
               });
}

TEST(NumberPasses, DecimalCommas) {
  expect_cases(read_floats_with_comma,
               {
                   {"2,5", " hai phẩy năm "},
                   {"2,50", " hai phẩy năm "},
                   {"2,00", " hai "},
                   {"0,05", " không phẩy không năm "},
                   {"1.234,56", " một nghìn hai trăm ba mươi bốn phẩy năm sáu "},
                   {"12,25%", " mười hai phẩy hai lăm phần trăm "},
                   {"3,0%", " ba phần trăm "},
                   {"1,5a", " một phẩy năm a"},
                   {"1,2345678", " một phẩy hai ba bốn năm sáu bảy tám "},
                   // not after a digit or a dot
                   {".5,5", ".5,5"},
                   {"a,5", "a,5"},
                   // a minus sign before the number is read with it
                   {"-0,5", " âm không phẩy năm "},
                   {"giảm (—1,5)", "giảm ( âm một phẩy năm )"},
                   {"a-0,5", "a- không phẩy năm "},
                   {"3-0,5", "3- không phẩy năm "},
               });
}

TEST(NumberPasses, DotSeparators) {
  expect_cases(remove_dot_separators, {
                                          {"1.234.567", "1234567"},
                                          {"A1.234", "A1234"},
                                          {"3.14", "3.14"},
                                          {"1.2345", "1.2345"},
                                          {"1.234.5", "1.234.5"},
                                          {"giá 2.000 và 3.000.000", "giá 2000 và 3000000"},
                                      });
}

TEST(NumberPasses, SpacedThousandsWithDots) {
  expect_cases(write_spaced_thousands_with_dots,
               {
                   {"100 000đ/kg", "100.000đ/kg"},
                   {"giá 1 500 000 VND", "giá 1.500.000 VND"},
                   {"1 234	567 kg", "1.234.567 kg"},
                   {"1 234.5", "1.234,5"},
                   {"-2 500 kg", "-2.500 kg"},
                   // only as the late number pass would group them
                   {"2020 100", "2020 100"},
                   {"007 123", "007 123"},
                   {"1 2345", "1 2345"},
                   {"1 234.5.6", "1 234.5.6"},
                   {"2020\n100", "2020\n100"},
                   {"1,5 000", "1,5 000"},
                   {"A1 234", "A1 234"},
               });
}

TEST(NumberPasses, DecimalPointsAfterLetters) {
  expect_cases(read_decimal_points_after_letters,
               {
                   {"PM2.5", "PM2 chấm năm"},
                   {"f/1.8", "f/1 chấm tám"},
                   {"H2.5O", "H2 chấm năm O"},
                   {"v2.0 và x1.25", "v2 chấm không và x1 chấm hai lăm"},
                   // numbers the number passes read whole, versions and lists
                   {"3.14", "3.14"},
                   {"1/2.5", "1/2.5"},
                   {"v1.2.3", "v1.2.3"},
                   {"a1.2,5", "a1.2,5"},
               });
}

TEST(NumberPasses, NothingToRewriteLeavesTheOutputAlone) {
  std::string out = "untouched";
  EXPECT_FALSE(read_ranges("không có số", out));
  EXPECT_FALSE(read_long_numbers("123", out));
  EXPECT_FALSE(read_floats_with_comma("a, b", out));
  EXPECT_FALSE(remove_dot_separators("a. b", out));
  EXPECT_EQ(out, "untouched");
}

}  // namespace
}  // namespace vyr::vi_normalizer
