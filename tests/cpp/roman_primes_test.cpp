#include "vi_normalizer/roman_primes.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace vyr::vi_normalizer {
namespace {

struct Case {
  std::string_view input;
  std::string_view expected;
};

using Reader = std::string (*)(const text::Captures&);

// One step of normalize_others: every match replaced by its reader's text.
std::string apply(const text::Regex& re, Reader reader, std::string_view input) {
  return re.replace_all_with(
      input, [reader](const text::Captures& m, std::string& out) { out += reader(m); });
}

void expect_step(const text::Regex& re, Reader reader, const Case& c) {
  EXPECT_EQ(apply(re, reader, c.input), c.expected) << "input «" << c.input << "»";
}

TEST(RomanNumerals, StandardFormWholeWords) {
  const Case cases[] = {
      {"XIV", " mười bốn "},
      {"II", " hai "},
      {"CD", " bốn trăm "},
      {"MIX", " một nghìn không trăm lẻ chín "},
      {"MCMXCIX", " một nghìn chín trăm chín mươi chín "},
      {"MMMMCMXCIX", " bốn nghìn chín trăm chín mươi chín "},
      {"thế kỷ XXI.", "thế kỷ  hai mươi mốt ."},
      {"Chương IV và V", "Chương  bốn  và V"},
      // unchanged: lower case, one letter, not standard form, not the whole word
      {"xiv", "xiv"},
      {"X", "X"},
      {"IIII", "IIII"},
      {"IC", "IC"},
      {"VV", "VV"},
      {"XIVth", "XIVth"},
      {"AXIV", "AXIV"},
      {"MMMMM", "MMMMM"},
  };
  for (const Case& c : cases) expect_step(RE_ROMAN_NUMBER(), read_roman_numeral, c);
}

TEST(RomanNumerals, NumberingWordBefore) {
  const struct {
    std::string_view text;  // the numeral starts after the "|"
    bool expected;
  } cases[] = {
      {"thế kỷ |V", true},       {"Thế Kỉ |X", true},      {"CHƯƠNG |X", true},
      {"học  kỳ |I", true},      {"quý |I", true},         {"lần thứ |V", true},
      {"Đại hội |XIII", true},   {"phụ lục\t|II", true},  {"khóa |I", true},
      {"khoá |I", true},         {"a, Điều |V", true},
      // No white space, another word, a numbering word inside a longer one.
      {"kỳ|V", false},           {"vua Louis |XIV", false}, {"|V", false},
      {"hạng |V", false},        {"thứ, |V", false},       {"kỳI |V", false},
      {"đoạn |I", false},
  };
  for (const auto& c : cases) {
    std::string text(c.text);
    const size_t bar = text.find('|');
    text.erase(bar, 1);
    EXPECT_EQ(follows_numbering_word(text, bar), c.expected) << "«" << c.text << "»";
  }
}

TEST(Primes, OneCharacterWordBeforeTheMark) {
  const Case cases[] = {
      {"x'", "ích phẩy"},
      {"A’", "a phẩy"},
      {"f' = 2", "ép phẩy = 2"},
      {"f′(x)", "ép phẩy(x)"},
      {"A″", "a phẩy phẩy"},
      // A digit keeps its mark, which is read as a number's mark (minutes).
      {"5'", "5'"},
      // contractions and longer words are no primes
      {"don't", "don't"},
      {"l'eau", "l'eau"},
      {"ab'", "ab'"},
  };
  for (const Case& c : cases) expect_step(RE_PRIME(), read_prime, c);
}

// The marks after a number: minutes, seconds after minutes, inches, or a
// quote that closes a quotation.
TEST(Primes, MarksAfterANumber) {
  const Case cases[] = {
      {"45'", "45 phút "},
      {"45’", "45 phút "},
      {"45′", "45 phút "},
      {"45''", "45 inch "},
      {"45”", "45 inch "},
      {"45\"", "45 inch "},
      {"45″", "45 inch "},
      {"45'''", "45 inch "},
      {"38'45\"", "38 phút 45 giây "},
      {"38′ 45″", "38 phút  45 giây "},
      {"12°30'15\"", "12°30 phút 15 giây "},
      {"1'30,5\"", "1 phút 30,5 giây "},
      {"phút 89'", "phút 89 "},
      {"dài 27\" rộng 15\"", "dài 27 inch  rộng 15 inch "},
      // Closing quotes stay, set apart from the digit.
      {"\"Lật Mặt 7\"", "\"Lật Mặt 7 \""},
      {"“Top 5”", "“Top 5 ”"},
      {"'Top 5'", "'Top 5 '"},
      {"(\"A 1\") 2\"", "(\"A 1 \") 2 inch "},
      // A sentence end or a line break closes the quotation.
      {"\"a. 2\"", "\"a. 2 inch "},
      {"\"a\n2\"", "\"a\n2 inch "},
      // An apostrophe inside a word opens nothing.
      {"don't 5'", "don't 5 phút "},
      // No number of its own, or no mark after a number: unchanged.
      {"A4\"", "A4\""},
      {"mp3'", "mp3'"},
      {"a'", "a'"},
      {"1 \"", "1 \""},
  };
  for (const Case& c : cases) {
    std::string out;
    const std::string got = read_number_marks(c.input, out) ? out : std::string(c.input);
    EXPECT_EQ(got, c.expected) << "input «" << c.input << "»";
  }
}

TEST(Versions, DottedNumbersOfThreeOrMoreParts) {
  const Case cases[] = {
      {"1.2.3", "một chấm hai chấm ba"},
      {"10.0.1", "một không chấm không chấm một"},
      {"3.10.2.7", "ba chấm một không chấm hai chấm bảy"},
      {"bản 2.0.11 mới", "bản hai chấm không chấm một một mới"},
      {"1.٢.3", "một chấm ٢ chấm ba"},  // a digit of another script stays
      // unchanged: two parts, a dash before, no word boundary after
      {"1.2", "1.2"},
      {"-1.2.3", "-1.2.3"},
      {"–1.2.3", "–1.2.3"},
      {"—1.2.3", "—1.2.3"},
      {"1.2.3a", "1.2.3a"},
  };
  for (const Case& c : cases) expect_step(RE_VERSION(), read_version, c);
}

}  // namespace
}  // namespace vyr::vi_normalizer
