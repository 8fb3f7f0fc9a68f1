#include "vi_normalizer/num2vi.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace vyr::vi_normalizer {
namespace {

struct Case {
  std::string_view input;
  std::string_view expected;
};

void ExpectReadings(std::string (*reader)(std::string_view), const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(reader(c.input), c.expected) << "input: «" << c.input << "»";
  }
}

size_t CountWord(std::string_view text, std::string_view word) {
  size_t count = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find(' ', pos);
    if (end == std::string_view::npos) end = text.size();
    if (text.substr(pos, end - pos) == word) ++count;
    pos = end + 1;
  }
  return count;
}

TEST(N2w, ReadsCardinalsByCategory) {
  ExpectReadings(n2w, {
      // Units.
      {"0", "không"},
      {"1", "một"},
      {"4", "bốn"},
      {"5", "năm"},
      {"9", "chín"},
      // Teens: "mười", and "lăm" for a final 5.
      {"10", "mười"},
      {"11", "mười một"},
      {"14", "mười bốn"},
      {"15", "mười lăm"},
      {"19", "mười chín"},
      // Tens: "mươi", "mốt" for a final 1, "lăm", 4 never "tư".
      {"20", "hai mươi"},
      {"21", "hai mươi mốt"},
      {"24", "hai mươi bốn"},
      {"25", "hai mươi lăm"},
      {"41", "bốn mươi mốt"},
      {"55", "năm mươi lăm"},
      {"90", "chín mươi"},
      // Hundreds: "lẻ" for a zero tens digit before a units digit.
      {"100", "một trăm"},
      {"101", "một trăm lẻ một"},
      {"105", "một trăm lẻ năm"},
      {"110", "một trăm mười"},
      {"111", "một trăm mười một"},
      {"115", "một trăm mười lăm"},
      {"121", "một trăm hai mươi mốt"},
      {"404", "bốn trăm lẻ bốn"},
      {"999", "chín trăm chín mươi chín"},
      // Thousands: an inner group says its zero hundreds.
      {"1000", "một nghìn"},
      {"1001", "một nghìn không trăm lẻ một"},
      {"1005", "một nghìn không trăm lẻ năm"},
      {"1010", "một nghìn không trăm mười"},
      {"1100", "một nghìn một trăm"},
      {"1234", "một nghìn hai trăm ba mươi bốn"},
      {"10025", "mười nghìn không trăm hai mươi lăm"},
      {"15000", "mười lăm nghìn"},
      {"21000", "hai mươi mốt nghìn"},
      {"105000", "một trăm lẻ năm nghìn"},
      // Large: empty groups are skipped whole, scales repeat "tỷ".
      {"1000000", "một triệu"},
      {"1000001", "một triệu không trăm lẻ một"},
      {"2000500", "hai triệu năm trăm"},
      {"1050000", "một triệu không trăm năm mươi nghìn"},
      {"1000000000", "một tỷ"},
      {"10000000000", "mười tỷ"},
      {"1000000000000", "một nghìn tỷ"},
      {"1000000000001", "một nghìn tỷ không trăm lẻ một"},
      {"1000000000000000", "một triệu tỷ"},
      {"1000000000000000000", "một tỷ tỷ"},
      {"1000000000000000000000", "một nghìn tỷ tỷ"},
      {"1000000000000000000000000", "một triệu tỷ tỷ"},
      {"1000000000000000000000000000", "một tỷ tỷ tỷ"},
      // Mixed.
      {"2021", "hai nghìn không trăm hai mươi mốt"},
      {"1000105", "một triệu một trăm lẻ năm"},
      {"1234567", "một triệu hai trăm ba mươi bốn nghìn năm trăm sáu mươi bảy"},
      // Leading zeros: two digits starting with 0 are read as written.
      {"00", "không không"},
      {"05", "không năm"},
      {"000", "không"},
      {"007", "bảy"},
      {"0012", "mười hai"},
      {"0100", "một trăm"},
  });
}

TEST(N2w, ReadsOnlyAsciiDigits) {
  ExpectReadings(n2w, {
      {"-12", "mười hai"},
      {"1.234", "một nghìn hai trăm ba mươi bốn"},
      {"12,5", "một trăm hai mươi lăm"},
      {"x1y2", "mười hai"},
      {"1\u06623", "mười ba"},  // Arabic-Indic two in between
      {"0\uff15", "không"},    // full-width five: one digit left
      {"\uff11\uff12", "\uff11\uff12"},
      {"\u0661\u0662", "\u0661\u0662"},
      {"abc", "abc"},
      {"", ""},
  });
}

std::string Repeated(std::string_view word, size_t times, std::string_view first) {
  std::string out(first);
  for (size_t i = 0; i < times; ++i) {
    out += ' ';
    out += word;
  }
  return out;
}

TEST(N2w, ReadsUpToHundredDigitsAsOneCardinal) {
  // 10^99: thirty-three groups above the units, eleven times "tỷ".
  const std::string hundred = "1" + std::string(99, '0');
  EXPECT_EQ(n2w(hundred), Repeated("tỷ", 11, "một"));
  // Leading zeros do not count towards the hundred.
  EXPECT_EQ(n2w("000" + hundred), Repeated("tỷ", 11, "một"));
  // 100 nines: 34 groups, group g adding g / 3 times "tỷ".
  const std::string nines = n2w(std::string(100, '9'));
  size_t expected_ty = 0;
  for (size_t g = 0; g < 34; ++g) expected_ty += g / 3;
  EXPECT_EQ(CountWord(nines, "tỷ"), expected_ty);
  EXPECT_EQ(nines.rfind("chín tỷ", 0), 0u);
  EXPECT_EQ(nines.find("  "), std::string::npos);
}

TEST(N2w, ReadsLongerDigitStringsDigitByDigit) {
  // 10^100 is past the hundred digits: every digit by its word.
  EXPECT_EQ(n2w("1" + std::string(100, '0')), Repeated("không", 100, "một"));
  // The leading zeros of such a string are read as well, and only ASCII
  // digits count.
  EXPECT_EQ(n2w("0" + std::string(101, '7')), Repeated("bảy", 101, "không"));
  EXPECT_EQ(n2w("-" + std::string(101, '7') + "x"), Repeated("bảy", 100, "bảy"));
  // Linear in the digits: 300,000 of them give 300,000 words, no "tỷ".
  const std::string reading = n2w("1" + std::string(299999, '0'));
  EXPECT_EQ(CountWord(reading, "không"), 299999u);
  EXPECT_EQ(CountWord(reading, "tỷ"), 0u);
  EXPECT_EQ(n2w(std::string(100000, '0')), "không");
}

TEST(N2wSingle, ReadsDigitByDigit) {
  ExpectReadings(n2w_single, {
      {"0912345678", "không chín một hai ba bốn năm sáu bảy tám"},
      {"+84912345678", "không chín một hai ba bốn năm sáu bảy tám"},
      {"+84", "không"},
      {"+84+84", "không tám bốn"},  // only the leading one
      {" +849", "tám bốn chín"},    // a leading space defeats it
      {"+8", "tám"},
      {"84", "tám bốn"},
      {"12-34", "một hai ba bốn"},
      {"4", "bốn"},
      {"1\uff12", "một"},
      {"abc", "abc"},
      {"", ""},
  });
}

TEST(N2wCodeOrCardinal, ReadsZeroLedRunsAsCodes) {
  ExpectReadings(n2w_code_or_cardinal, {
      {"0001", "không không không một"},
      {"007", "không không bảy"},
      {"05", "không năm"},
      {"0", "không"},
      {"1005", "một nghìn không trăm lẻ năm"},
      {"100", "một trăm"},
      {"abc", "abc"},
  });
}

TEST(N2wDecimal, ReadsFractionDigits) {
  ExpectReadings(n2w_decimal, {
      {"5", "năm"},
      {"05", "không năm"},
      {"15", "một lăm"},
      {"55", "năm lăm"},
      {"125", "một hai lăm"},
      {"505", "năm không năm"},
      {"50", "năm không"},
      {"1.5", "một lăm"},  // separators do not count as digits
      {"1\u06655", "một lăm"},
      {"abc", "abc"},
      {"", ""},
  });
}

}  // namespace
}  // namespace vyr::vi_normalizer
