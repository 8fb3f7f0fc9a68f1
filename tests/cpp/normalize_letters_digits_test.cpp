// Whole-pipeline readings of what is easily lost on the way: digits of other
// scripts, Roman numeral characters, typographic apostrophes, letters of Latin
// words outside Vietnamese, superscript signs and the zeros that lead a code.
#include <gtest/gtest.h>

#include <string_view>

#include "normalize_cases.hpp"

namespace vyr::vi_normalizer {
namespace {

// A decimal digit of any script is read as the digit it is, never dropped.
TEST(NormalizeLettersDigits, DigitsOfOtherScriptsAreRead) {
  expect_normalized({
      {"năm ２０２４", "năm hai nghìn không trăm hai mươi bốn"},
      {"１２３ người", "một trăm hai mươi ba người"},
      {"giá ٣ đồng", "giá ba đồng"},
      // Mixed with ASCII digits, the run is still one number.
      {"2０24", "hai nghìn không trăm hai mươi bốn"},
      {"１０%", "mười phần trăm"},
      {"ngày ١٥/٠٨/٢٠٢٤", "ngày mười lăm tháng tám năm hai nghìn không trăm hai mươi bốn"},
      {"０９１２３４５６７８", "không chín một hai ba bốn năm sáu bảy tám"},
      // The caller's own chunk comes back as written.
      {"<en>Item ２</en> số ３", "<en>Item ２</en> số ba"},
  });
}

// A typographic apostrophe (U+2019, U+2018, U+201B, U+02BC, U+FF07) between
// two letters reads as the ASCII apostrophe does there.
TEST(NormalizeLettersDigits, TypographicApostropheInAWord) {
  expect_same_readings({
      {"it’s ok", "it's ok"},     {"don’t", "don't"},         {"rock’n’roll", "rock'n'roll"},
      {"I’m here", "I'm here"},   {"O’Brien", "O'Brien"},     {"NASA’s", "NASA's"},
      {"Tôi’s", "Tôi's"},
      {"it‘s ok", "it's ok"},     {"don‘t", "don't"},         {"rock‘n‘roll", "rock'n'roll"},
      {"I‘m", "I'm"},             {"O‘Neil", "O'Neil"},       {"McDonald‘s", "McDonald's"},
      {"itʼs", "it's"},           {"it＇s", "it's"},          {"it‛s", "it's"},
  });
  expect_normalized({
      {"it’s ok", "it's ok"},
      {"don’t", "don't"},
      {"rock’n’roll", "rock'n'roll"},
      {"it‘s ok", "it's ok"},
      {"itʼs", "it's"},
      // At a word edge it is a quote, as before.
      {"‘quoted’ text", "quoted text"},
  });
}

// A word of the Latin script stays whole; other scripts go as before. A
// superscript minus keeps its sign.
TEST(NormalizeLettersDigits, LatinLettersAndSuperscriptMinus) {
  expect_normalized({
      {"Müller", "muller"},
      {"Gödel", "godel"},
      {"señor", "senor"},
      {"naïve", "naive"},
      {"Straße", "strasse"},
      {"Ærøskøbing", "aeroskobing"},
      {"Nguyễn Müller", "nguyễn muller"},
      {"ÐÀ NẴNG", "đà nẵng"},
      // A combining mark with no precomposed letter.
      {"n\u0308a", "na"},
      {"ΑΒΓ test", "test"},
      {"Москва test", "test"},
      {"10⁻³", "mười mũ trừ ba"},
      {"2⁻³", "hai mũ trừ ba"},
      {"x⁻²", "ích mũ trừ hai"},
      {"cm⁻³", "xen ti mét mũ trừ ba"},
      // The same wording as the caret form; unsigned superscripts unchanged.
      {"10^-3", "mười mũ trừ ba"},
      {"10³", "mười lập phương"},
      {"x²", "ích bình phương"},
      // Before a superscript letter it opens a power too; with nothing of an
      // exponent after it, it is a sign of its own (an ion's charge).
      {"x⁻ⁿ", "ích mũ trừ nờ"},
      {"2⁻ⁿ", "hai mũ trừ nờ"},
      {"OH⁻", "<en>o h</en> trừ"},
      {"Cl⁻", "cl trừ"},
      {"e⁻", "e trừ"},
      {"SO₄²⁻", "<en>s o</en> bốn bình phương trừ"},
      {"10⁻", "mười trừ"},
  });
}

// A unit before a signed superscript exponent is read as in the caret form.
TEST(NormalizeLettersDigits, UnitBeforeASuperscriptMinus) {
  expect_same_readings({
      {"m⁻²", "m^-2"},
      {"s⁻¹", "s^-1"},
      {"0,1 mol·L⁻¹", "0,1 mol·L^-1"},
  });
  expect_normalized({
      {"m⁻²", "mét mũ trừ hai"},
      {"s⁻¹", "giây mũ trừ một"},
      {"5 cm⁻³", "năm xen ti mét mũ trừ ba"},
      {"0,1 mol·L⁻¹", "không phẩy một mol lít mũ trừ một"},
      {"2,5·10⁻³ s⁻¹", "hai phẩy năm mười mũ trừ ba giây mũ trừ một"},
  });
}

// A Roman numeral character reads as the letters it stands for.
TEST(NormalizeLettersDigits, RomanNumeralCharacters) {
  expect_same_readings({
      {"Chương Ⅻ, phần Ⅳ", "Chương XII, phần IV"},
      {"Thế kỷ ⅩⅪ", "Thế kỷ XXI"},
      {"Ⅿ", "M"},
      {"ⅰⅱⅲ", "iiiiii"},
      {"mục ⅳ", "mục iv"},
  });
  expect_normalized({
      {"Chương Ⅻ, phần Ⅳ", "chương mười hai, phần bốn"},
      {"Ⅻ", "mười hai"},
      {"Ⅸ.", "chín."},
  });
}

// A zero-led digit run after a letter is a code, read digit by digit.
TEST(NormalizeLettersDigits, LeadingZerosAfterALetter) {
  expect_normalized({
      {"A0001", "a không không không một"},
      {"B007", "bê không không bảy"},
      {"Mã số A0001 và B007", "mã số a không không không một và bê không không bảy"},
      {"xe F0", "xe ép không"},
      {"m^003", "mét mũ không không ba"},
      // Without a leading zero, still one number.
      {"B52", "bê năm mươi hai"},
      {"F10", "ép mười"},
  });
}

}  // namespace
}  // namespace vyr::vi_normalizer
