// Unicode helpers: NFC, lower-casing with Rust's rules, trimming, character
// properties and UTF-8 decoding. Test characters are from Unicode 14 or
// earlier.
#include "text/unicode.hpp"

#include <gtest/gtest.h>
#include <unicode/locid.h>
#include <unicode/uloc.h>
#include <unicode/utf8.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using namespace vyr::text;

struct TextCase {
  const char* input;
  const char* expected;
};

// ---------------------------------------------------------------------------
// NFC

TEST(Unicode, NfcComposes) {
  const TextCase cases[] = {
      {"", ""},
      {"Vi\u1EC7t", "Vi\u1EC7t"},                 // already composed
      {"e\u0301", "\u00E9"},
      {"Vie\u0323\u0302t", "Vi\u1EC7t"},          // e + dot below + circumflex
      {"Vie\u0302\u0323t", "Vi\u1EC7t"},          // marks in the other order
      {"\u01B0\u0300", "\u1EEB"},                 // ư + grave -> ừ
      {"\u212B", "\u00C5"},                       // singleton: Angstrom sign
      {"\u1100\u1161", "\uAC00"},                 // Hangul jamo
      {"a\u0301\u0301", "\u00E1\u0301"},          // one composition, one mark left
      {"\u0344", "\u0308\u0301"},                 // composition exclusion
  };
  for (const TextCase& c : cases) EXPECT_EQ(nfc(c.input), c.expected) << c.input;
}

// ---------------------------------------------------------------------------
// Lower-casing

TEST(Unicode, ToLowerIsFullMappingWithFinalSigma) {
  const TextCase cases[] = {
      {"", ""},
      {"\u0110\u1EB6NG V\u0102N", "\u0111\u1eb7ng v\u0103n"},   // ĐẶNG VĂN
      {"\u039F\u0394\u039F\u03A3", "\u03BF\u03B4\u03BF\u03C2"}, // ΟΔΟΣ -> οδος
      {"\u039F\u03A3 \u039F\u03A3.", "\u03BF\u03C2 \u03BF\u03C2."},
      {"\u03A3", "\u03C3"},                                      // alone: not final
      {"A\u03A3B", "a\u03C3b"},                                  // inside a word
      {"\u0130", "i\u0307"},                                     // İ, full mapping
      {"I", "i"},
      {"\u1E9E", "\u00DF"},                                      // capital sharp s
      {"\u2160", "\u2170"},                                      // Roman numeral one
      {"ABC 123 \u00B2", "abc 123 \u00B2"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(to_lower(c.input), c.expected) << c.input;
}

TEST(Unicode, ToLowerIgnoresTheProcessLocale) {
  // With a Turkish default locale, a locale-sensitive mapping would give
  // dotless "ı" for "I" and drop the dot of "İ".
  const std::string saved = icu::Locale::getDefault().getName();
  UErrorCode status = U_ZERO_ERROR;
  uloc_setDefault("tr_TR", &status);
  ASSERT_TRUE(U_SUCCESS(status));
  const std::string lower_i = to_lower("I");
  const std::string lower_dotted = to_lower("\u0130");
  const std::string char_i = lower_char(U'I');
  status = U_ZERO_ERROR;
  uloc_setDefault(saved.c_str(), &status);
  EXPECT_EQ(lower_i, "i");
  EXPECT_EQ(lower_dotted, "i\u0307");
  EXPECT_EQ(char_i, "i");
}

TEST(Unicode, LowerCharMapsOneCharacterAlone) {
  const std::pair<char32_t, const char*> cases[] = {
      {U'A', "a"},         {U'a', "a"},           {U'\u0110', "\u0111"},
      {U'\u03A3', "\u03C3"},  // no word around it: never the final form
      {U'\u0130', "i\u0307"}, {U'\u1E9E', "\u00DF"}, {U'1', "1"},
  };
  for (const auto& [c, expected] : cases) EXPECT_EQ(lower_char(c), expected) << int(c);
}

// ---------------------------------------------------------------------------
// Trimming: Unicode White_Space only.

TEST(Unicode, TrimRemovesWhiteSpaceAtBothEnds) {
  const TextCase cases[] = {
      {"", ""},
      {"   ", ""},
      {"\u00A0 x \n", "x"},
      {"\u3000\u2028x y\u0085\u2029", "x y"},
      {"\t\v\f\rx\r\n", "x"},
      {"\x1F x\x1F", "\x1F x\x1F"},   // U+001F is not White_Space
      {"\u200Bx\u200B", "\u200Bx\u200B"},
      {"\u180Ex", "\u180Ex"},
      {"x \xFF", "x \xFF"},           // an invalid last byte is kept
      {"\xE1\x80 x", "\xE1\x80 x"},  // so is a truncated first sequence
      {"\u1EC7 ", "\u1EC7"},
  };
  for (const TextCase& c : cases) EXPECT_EQ(trim(c.input), c.expected) << c.input;
  EXPECT_EQ(trim_start(" \u00A0x "), "x ");
  EXPECT_EQ(trim_end(" x\u00A0 "), " x");
}

// ---------------------------------------------------------------------------
// Properties

TEST(Unicode, CharacterProperties) {
  struct PropertyCase {
    char32_t c;
    bool white_space, alphabetic, uppercase, alphanumeric;
  };
  const PropertyCase cases[] = {
      {U' ', true, false, false, false},
      {U'\u0085', true, false, false, false},
      {U'\u3000', true, false, false, false},
      {U'\u001F', false, false, false, false},
      {U'\u180E', false, false, false, false},
      {U'a', false, true, false, true},
      {U'A', false, true, true, true},
      {U'\u0110', false, true, true, true},      // Đ
      {U'\u1EC7', false, true, false, true},     // ệ
      {U'\u0301', false, false, false, false},   // combining mark
      {U'1', false, false, false, true},
      {U'\u0663', false, false, false, true},    // Arabic-Indic digit (Nd)
      {U'\u00B2', false, false, false, true},    // superscript two (No)
      {U'\u2460', false, false, false, true},    // circled one (No)
      {U'\u2160', false, true, true, true},      // Roman numeral one (Nl)
      {U'_', false, false, false, false},
      {U'-', false, false, false, false},
  };
  for (const PropertyCase& c : cases) {
    EXPECT_EQ(is_white_space(c.c), c.white_space) << std::hex << uint32_t(c.c);
    EXPECT_EQ(is_alphabetic(c.c), c.alphabetic) << std::hex << uint32_t(c.c);
    EXPECT_EQ(is_uppercase(c.c), c.uppercase) << std::hex << uint32_t(c.c);
    EXPECT_EQ(is_alphanumeric(c.c), c.alphanumeric) << std::hex << uint32_t(c.c);
  }
}

TEST(Unicode, DecimalDigitValues) {
  EXPECT_EQ(decimal_digit_value(U'7'), 7);
  EXPECT_EQ(decimal_digit_value(U'\uFF12'), 2);      // full-width two
  EXPECT_EQ(decimal_digit_value(U'\u0663'), 3);      // Arabic-Indic three
  EXPECT_EQ(decimal_digit_value(U'\U0001D7CE'), 0);  // mathematical bold zero
  EXPECT_EQ(decimal_digit_value(U'\u00B2'), -1);     // superscript two (No)
  EXPECT_EQ(decimal_digit_value(U'\u2160'), -1);     // Roman numeral one (Nl)
  EXPECT_EQ(decimal_digit_value(U'a'), -1);
}

TEST(Unicode, LatinLettersMarksAndTheirAsciiSpelling) {
  for (const char32_t c : {U'a', U'Z', U'\u00FC', U'\u00DF', U'\u014B', U'\u0259', U'\uFF21',
                           U'\u1EC7', U'\u0110', U'\u0298'}) {
    EXPECT_TRUE(is_latin_letter(c)) << std::hex << uint32_t(c);
  }
  for (const char32_t c : {U'1', U'_', U'\u03B1', U'\u044F', U'\u4E2D', U'\u0301', U'\u2160'}) {
    EXPECT_FALSE(is_latin_letter(c)) << std::hex << uint32_t(c);
  }
  EXPECT_TRUE(is_mark(U'\u0301'));
  EXPECT_TRUE(is_mark(U'\u20DD'));  // enclosing circle (Me)
  EXPECT_FALSE(is_mark(U'a'));
  EXPECT_FALSE(is_mark(U'\u00B4'));  // spacing acute (Sk)

  struct FoldCase {
    char32_t c;
    std::string_view spelling;
  };
  const FoldCase cases[] = {
      {U'\u00FC', "u"},   // ü, by decomposition
      {U'\u00D1', "N"},   // Ñ
      {U'\uFB01', "fi"},  // ﬁ ligature
      {U'\uFF21', "A"},   // full-width A
      {U'\u00DF', "ss"},  // ß, by convention
      {U'\u00DE', "TH"},  // Þ
      {U'\u014B', "ng"},  // ŋ
      {U'\u0259', "e"},   // ə
      {U'\u00F8', "o"},   // ø, by the base letter of its name
      {U'\u0141', "L"},   // Ł
      {U'\u0153', "oe"},  // œ, a ligature
      {U'\u0253', "b"},   // ɓ
      {U'\u1D00', "a"},   // small capital A: a lower-case letter
      {U'\u0298', ""},    // bilabial click: no spelling
  };
  for (const FoldCase& f : cases) {
    EXPECT_EQ(latin_ascii_fold(f.c), f.spelling) << std::hex << uint32_t(f.c);
  }
}

// One level of the mapping only: the superscript of «㎡» and the prime of
// «″» are not decomposed again.
TEST(Unicode, DecompositionMappingIsOneLevelDeep) {
  EXPECT_EQ(decomposition_mapping(U'\u2103'), "°C");     // ℃
  EXPECT_EQ(decomposition_mapping(U'\u33A1'), "m²");     // ㎡
  EXPECT_EQ(decomposition_mapping(U'\u2033'), "′′");     // ″
  EXPECT_EQ(decomposition_mapping(U'\U0001D412'), "S");  // mathematical bold S
  EXPECT_EQ(decomposition_mapping(U'a'), "");
  EXPECT_EQ(decomposition_mapping(U'\u2030'), "");  // ‰ has none
}

// ---------------------------------------------------------------------------
// UTF-8

TEST(Unicode, DecodeAndAppendRoundTrip) {
  const std::u32string chars = {U'a', U'\u00E9', U'\u1EC7', U'\U0001F600', U'\0'};
  std::string s;
  for (char32_t c : chars) append_utf8(s, c);
  EXPECT_EQ(s, std::string("a\u00E9\u1EC7\U0001F600", 10) + '\0');
  std::u32string back;
  for (size_t pos = 0; pos < s.size();) back += decode_utf8(s, pos);
  EXPECT_EQ(back, chars);
  EXPECT_EQ(char_count("Vi\u1EC7t"), 4u);
  EXPECT_EQ(char_count(""), 0u);
  std::string replaced;
  append_utf8(replaced, 0xD800);  // a surrogate is not encodable
  EXPECT_EQ(replaced, "\uFFFD");
}

TEST(Unicode, DecodeNeverReadsPastTheEnd) {
  // Ill-formed input decodes as U+FFFD per maximal subpart, as Rust does.
  const std::string s = "\xE1\x80" "a\xFF";
  size_t pos = 0;
  EXPECT_EQ(decode_utf8(s, pos), U'\uFFFD');
  EXPECT_EQ(pos, 2u);
  EXPECT_EQ(decode_utf8(s, pos), U'a');
  EXPECT_EQ(decode_utf8(s, pos), U'\uFFFD');
  EXPECT_EQ(pos, 4u);
  const std::string truncated = "\xF0\x9F\x98";  // three bytes of a four-byte sequence
  pos = 0;
  EXPECT_EQ(decode_utf8(truncated, pos), U'\uFFFD');
  EXPECT_EQ(pos, 3u);
  pos = truncated.size();
  EXPECT_EQ(decode_utf8(truncated, pos), U'\uFFFD');
  EXPECT_EQ(pos, truncated.size() + 1);
}

TEST(Unicode, ValidUtf8) {
  const std::pair<const char*, bool> cases[] = {
      {"", true},
      {"ok Vi\u1EC7t \U0001F600", true},
      {"\xC0\x80", false},          // overlong
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // past U+10FFFF
      {"a\x80", false},             // lone continuation byte
      {"\xE1\x80", false},          // truncated
  };
  for (const auto& [s, valid] : cases) EXPECT_EQ(is_valid_utf8(s), valid) << s;
}

// ICU's decoder as the reference, on every lead and second byte and the
// edges of the continuation range after them, behind an ASCII run (the
// eight-byte path) and before one.
TEST(Unicode, ValidUtf8AgreesWithIcuOnEveryShortSequence) {
  auto icu_valid = [](std::string_view s) {
    const auto* p = reinterpret_cast<const uint8_t*>(s.data());
    int32_t i = 0;
    const auto n = static_cast<int32_t>(s.size());
    while (i < n) {
      UChar32 c;
      U8_NEXT(p, i, n, c);
      if (c < 0) return false;
    }
    return true;
  };
  const unsigned char tails[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xFF};
  for (int b0 = 0x80; b0 <= 0xFF; ++b0) {
    for (int b1 = 0; b1 <= 0xFF; ++b1) {
      for (unsigned char b2 : tails) {
        for (unsigned char b3 : {0x41, 0x80, 0xBF}) {
          std::string seq = {static_cast<char>(b0), static_cast<char>(b1), static_cast<char>(b2),
                             static_cast<char>(b3)};
          for (const std::string& s : {"abcdefghi" + seq, seq + "abcdefghi", seq}) {
            ASSERT_EQ(is_valid_utf8(s), icu_valid(s))
                << std::hex << b0 << " " << b1 << " " << int(b2) << " " << int(b3);
          }
        }
      }
    }
  }
}

}  // namespace
