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
      {"5'", "năm phẩy"},
      {"f' = 2", "ép phẩy = 2"},
      // contractions and longer words are no primes
      {"don't", "don't"},
      {"l'eau", "l'eau"},
      {"ab'", "ab'"},
  };
  for (const Case& c : cases) expect_step(RE_PRIME(), read_prime, c);
}

TEST(Primes, MarksAfterADigit) {
  const Case cases[] = {
      {"45'", "45 phẩy "},
      {"45’", "45 phẩy "},
      {"45''", "45 phẩy phẩy "},
      {"45’'", "45 phẩy phẩy "},
      {"45”", "45 phẩy phẩy "},
      {"45\"", "45 phẩy phẩy "},
      {"45'''", "45 phẩy phẩy "},
      {"12°30'15\"", "12°30 phẩy 15 phẩy phẩy "},
      {"a'", "a'"},
  };
  for (const Case& c : cases) expect_step(RE_PRIME_DIGIT(), read_digit_prime, c);
}

TEST(Primes, OneDigitWordTakesTheLetterStepFirst) {
  // «5''»: the first mark goes with the one-character word; the second no
  // longer follows a digit.
  const std::string after_prime = apply(RE_PRIME(), read_prime, "5''");
  EXPECT_EQ(after_prime, "năm phẩy'");
  EXPECT_EQ(apply(RE_PRIME_DIGIT(), read_digit_prime, after_prime), "năm phẩy'");
  // «45''» is no one-character word and reaches the digit step whole.
  EXPECT_EQ(apply(RE_PRIME(), read_prime, "45''"), "45''");
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
