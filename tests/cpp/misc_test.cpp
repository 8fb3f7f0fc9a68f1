#include "vi_normalizer/misc.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <vector>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "text/unicode.hpp"

namespace vyr::vi_normalizer {
namespace {

struct Case {
  std::string_view input;
  std::string_view expected;
};

void ExpectOthers(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(normalize_others(c.input), c.expected) << "input: «" << c.input << "»";
  }
}

// ---------------------------------------------------------------------------
// Pattern texts, against the conformance vectors recorded with the pattern
// layer: every record carries its pattern's name, engine and exact text.

// name → {"engine", "pattern"}, from the first record of each pattern.
nlohmann::json RecordedPatterns() {
  std::ifstream in(std::string(VYR_TEST_DATA_DIR) + "/patterns.jsonl", std::ios::binary);
  nlohmann::json texts = nlohmann::json::object();
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const nlohmann::json record = nlohmann::json::parse(line);
    const std::string name = record["name"].get<std::string>();
    if (!texts.contains(name)) {
      texts[name] = {{"engine", record["engine"]}, {"pattern", record["pattern"]}};
    }
  }
  return texts;
}

TEST(OthersPatterns, AreTheRecordedTextsInTheirEngineRoles) {
  const nlohmann::json texts = RecordedPatterns();
  ASSERT_FALSE(texts.empty()) << "tests/data/patterns.jsonl missing";
  const struct {
    const char* name;
    const text::Regex& re;
  } patterns[] = {
      {"DOMAIN_SUFFIXES_RE", DOMAIN_SUFFIXES_RE()},
      {"RE_LETTER", RE_LETTER()},
      {"RE_ALPHANUMERIC", RE_ALPHANUMERIC()},
      {"RE_LETTER_DIGIT", RE_LETTER_DIGIT()},
      {"RE_UNIT_POWERS", RE_UNIT_POWERS()},
      {"RE_CLEAN_QUOTES", RE_CLEAN_QUOTES()},
      {"RE_CLEAN_QUOTES_EDGES", RE_CLEAN_QUOTES_EDGES()},
      {"RE_BRACKETS", RE_BRACKETS()},
      {"RE_STRIP_BRACKETS", RE_STRIP_BRACKETS()},
      {"RE_TEMP_C_NEG", RE_TEMP_C_NEG()},
      {"RE_TEMP_F_NEG", RE_TEMP_F_NEG()},
      {"RE_TEMP_C", RE_TEMP_C()},
      {"RE_TEMP_F", RE_TEMP_F()},
      {"RE_DEGREE", RE_DEGREE()},
      {"RE_ACRONYMS_SPLIT", RE_ACRONYMS_SPLIT()},
      {"RE_STANDARD_COLON", RE_STANDARD_COLON()},
      {"RE_COLON_SEMICOLON", RE_COLON_SEMICOLON()},
      {"RE_CLEAN_OTHERS", RE_CLEAN_OTHERS()},
  };
  for (const auto& p : patterns) {
    ASSERT_TRUE(texts.contains(p.name)) << p.name;
    EXPECT_EQ(p.re.pattern(), texts[p.name]["pattern"].get<std::string>()) << p.name;
    const bool linear = texts[p.name]["engine"].get<std::string>() == "regex";
    EXPECT_EQ(p.re.engine(), linear ? text::Engine::kLinear : text::Engine::kBacktracking)
        << p.name;
  }
}

// ---------------------------------------------------------------------------
// The steps, each shown through inputs that only it rewrites.

TEST(NormalizeOthers, EmptyAndBlankTextsPassThrough) {
  ExpectOthers({{"", ""}, {"   ", "   "}, {" \t\n", " \t\n"}, {"tiếng Việt", "tiếng Việt"}});
}

TEST(NormalizeOthers, AcronymExceptionsAndDomainSuffixes) {
  ExpectOthers({
      {"UBND", "uỷ ban nhân dân"},
      {"TP.HCM", "thành phố hồ chí minh"},
      // Joined by a hyphen to a word that is no key, a key is part of a name
      // and read by the acronym step; joined to keys, to Vietnamese words or
      // written with its own dots, it is expanded.
      {"TP-Link", "__start_en__t p__end_en__-Link"},
      {"M-TP", "M-__start_en__t p__end_en__"},
      {"VN-2024", "__start_en__v n__end_en__-2024"},
      {"HN-HCM", "hà nội-hồ chí minh"},
      {"HN-Lào Cai", "hà nội-Lào Cai"},
      {"TP.HCM-Long", "thành phố hồ chí minh-Long"},
      {"TP - Link", "thành phố - Link"},
      {".EDU", " chấm __start_en__edu__end_en__ "},
      {"abc.vn", "abc chấm __start_en__v n__end_en__ "},
      // The suffix must end a word.
      {".company", ".company"},
      {".vnx", ".vnx"},
  });
}

TEST(NormalizeOthers, NamedLettersAndLetterDigitMixes) {
  ExpectOthers({
      {"chữ a", "chữ a "},
      // "chữ" with the «c» of «cái» is tried first, and fails at no boundary.
      {"chữ cái A", "chữ cái a "},
      // The Kelvin sign is admitted by case folding and named by «k».
      {"chữ \u212A", "chữ ca "},
      // A closing quote before a space stays behind, and step 26 blanks it.
      {"Ký tự \"x\" nhé", "Ký tự ích   nhé"},
      // The closing quote at the end stays, and step 12 then clears it.
      {"ký tự 'B'", "ký tự bê  "},
      // Digits stay digits for the number pass after a number-letter word.
      {"3D", "3 đê"},
      {"12AB", "12AB"},
      {"B52", "bê năm mươi hai"},
      {"F1", "ép một"},
      // A zero-led run after the letter is a code: every zero is spoken.
      {"A0001", "a không không không một"},
      {"B007", "bê không không bảy"},
      {"B0", "bê không"},
  });
}

TEST(NormalizeOthers, UnitPowers) {
  ExpectOthers({
      {"m^2", " mét mũ hai "},
      {"cm^-3", " xen ti mét mũ trừ ba "},
      {"km^+2", " ki lô mét mũ hai "},
      // Not a key of either table: spoken as written, in its own case.
      {"X^2", " X mũ hai "},
      {"Hz^3", " héc mũ ba "},
      // A zero-led exponent keeps its zeros, as a code does.
      {"m^003", " mét mũ không không ba "},
      {"cm^-03", " xen ti mét mũ trừ không ba "},
  });
}

TEST(NormalizeOthers, Quotes) {
  ExpectOthers({
      {"“Xin chào”", "Xin chào"},
      {"„a“", "a"},
      // A one-letter word takes its prime first; the opening quote then goes.
      {"'a'", " a phẩy"},
      {"'hello' world", " hello  world"},
      {"don't", "don't"},
      // Inside a word the curly apostrophe is left to step 26, which blanks it
      // (the pipeline has made it an ASCII one before this pass runs).
      {"l’eau", "l eau"},
      // An ASCII double quote is no kept character.
      {"x\"y", "x y"},
  });
}

TEST(NormalizeOthers, NotEqualSymbolsAndScripts) {
  ExpectOthers({
      {"a <> b", "a  khác  b"},
      {"a<>b", "a khác b"},
      {"a < b", "a  nhỏ hơn  b"},
      {"a+b", "a cộng b"},
      {"x²", "x bình phương "},
      {"H₂O", "H hai O"},
      {"α≠β", " an pha  khác  bê ta "},
      {"½", " một phần hai "},
      // A superscript minus before superscript digits keeps its sign, and the
      // digits after it are one exponent.
      {"10⁻³", "10 mũ trừ ba "},
      {"10⁻⁰³", "10 mũ trừ không ba "},
      // A word of ASCII letters before a signed exponent is read as a unit,
      // as the "^" form reads it; a letter of it alone is no such word.
      {"m⁻²", " mét mũ trừ hai "},
      {"0,1 mol·L⁻¹", "0,1 mol  lít mũ trừ một "},
      {"x⁻¹²", " x mũ trừ mười hai "},
      {"Hàm⁻¹", "Hàm mũ trừ một "},
      {"a_m⁻¹", "a_m mũ trừ một "},
      {"x²", "x bình phương "},
      // Before a superscript letter it opens a power; anywhere else it is a
      // sign of its own.
      {"x⁻ⁿ", "x mũ trừ n"},
      {"Cl⁻", "Cl trừ "},
      {"₄²⁻", " bốn  bình phương  trừ "},
      {"a⁻b", "a trừ b"},
      {"10⁻", "10 trừ "},
  });
}

TEST(NormalizeOthers, Brackets) {
  ExpectOthers({
      {"(xem trang 5)", ", xem trang 5, "},
      {"( a )", ", a, "},
      // The kinds need not agree; the shortest body is taken.
      {"[a} (b)", ", a,  , b, "},
      // A body never crosses a line break: the brackets are only stripped.
      {"(a\nb)", " a\nb "},
      {"a (b", "a  b"},
      {"a)b]", "a b "},
  });
}

TEST(NormalizeOthers, TemperaturesAndDegrees) {
  ExpectOthers({
      {"-5°C", "âm 5 độ xê"},
      {"-5,5 ° c", "âm 5,5 độ xê"},
      {"-40°F", "âm 40 độ ép"},
      {"36.5°C", "36.5 độ xê"},
      {"30°F", "30 độ ép"},
      {"90°", "90 độ "},
      // «C» must end a word to be Celsius.
      {"5°Ca", "5 độ Ca"},
  });
}

TEST(NormalizeOthers, AcronymsSentenceBySentence) {
  ExpectOthers({
      // One word in capitals is an all-capitals sentence.
      {"NASA", "NASA"},
      {"Tôi yêu NASA.", "Tôi yêu __start_en__nasa__end_en__."},
      {"GIÁ VÀNG TĂNG. Giá USD giảm.", "GIÁ VÀNG TĂNG. Giá __start_en__u s d__end_en__ giảm."},
      {"ĐẠI HỘI ĐOÀN", "ĐẠI HỘI ĐOÀN"},
      // A digit or a hyphen in a word: not all capitals.
      {"ABC 123", "__start_en__a b c__end_en__ 123"},
      // An empty first sentence, then a headline.
      {". ABC", ". ABC"},
      // «...» not followed by a space does not end the sentence.
      {"Hello...World ABC", "Hello...World __start_en__a b c__end_en__"},
      {"ABC!\tabc ABC", "ABC!\tabc __start_en__a b c__end_en__"},
  });
}

TEST(ReadAcronymsBySentence, LeavesHeadlinesAndTheRestOfTheText) {
  const Case cases[] = {
      {"ABC: x. DEF", "__start_en__a b c__end_en__: x. DEF"},
      {"DEF?! ABC x", "DEF?! __start_en__a b c__end_en__ x"},
      {"..  ", "..  "},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(read_acronyms_by_sentence(c.input), c.expected) << "input: «" << c.input << "»";
  }
}

TEST(NormalizeOthers, VersionsAndColons) {
  ExpectOthers({
      {"1.2.3", "một chấm hai chấm ba"},
      {"3:2", " 3 trên 2 "},
      {"1000:1", "1000, 1"},
      {"3:2.5", "3, 2.5"},
      {"1.5:2", "1.5, 2"},
      // Too long for 64 bits: counts as a small number.
      {"99999999999999999999:1", " 99999999999999999999 trên 1 "},
      {"a: b; c", "a,  b,  c"},
  });
}

TEST(NormalizeOthers, StrayCharacters) {
  ExpectOthers({
      {"a|b", "a b"},
      {"a…b", "a b"},
      {"a\\b", "a b"},
      // The internal markers, apostrophes and hyphens are kept.
      {"__start_en__x__end_en__", "__start_en__x__end_en__"},
      {"đi-về, vâng!", "đi-về, vâng!"},
      {"ỒN ÀO", "ỒN ÀO"},
      // A combining mark on a Latin letter goes without splitting its word
      // (a space there cut the word in two); a mark on anything else is blanked.
      {"e\u0301", "e"},
      {"n\u0308a\u0301\u0302b", "nab"},
      {"5\u0301", "5 "},
      {"я\u0301", "  "},
      // U+001F is not white space.
      {"a\x1F" "b", "a b"},
  });
}

TEST(ReadStandardColon, ReadsTheTwoNumbersOfAMatch) {
  const Case cases[] = {
      {"3:2", " 3 trên 2 "},
      {"999:5", " 999 trên 5 "},
      {"1000:5", "1000, 5"},
      {"18446744073709551615:5", "18446744073709551615, 5"},
      {"18446744073709551616:5", " 18446744073709551616 trên 5 "},
      {"7:1.25", "7, 1.25"},
  };
  for (const Case& c : cases) {
    const auto m = RE_STANDARD_COLON().find(c.input);
    ASSERT_TRUE(m.has_value()) << c.input;
    EXPECT_EQ(read_standard_colon(*m), c.expected) << c.input;
  }
}

// A Latin letter outside the kept set is spelled in ASCII letters, in its
// case, or kept when it has none; the letters of other scripts are blanked.
TEST(NormalizeOthers, LatinWordsStayWhole) {
  ExpectOthers({
      {"Müller", "Muller"},
      {"Gödel", "Godel"},
      {"señor", "senor"},
      {"naïve", "naive"},
      {"Straße", "Strasse"},
      {"ŋ ə ø æ þ ð ł", "ng e o ae th d l"},
      {"ÆRØ", "AERO"},
      {"œuvre", "oeuvre"},
      {"ɓaɗa", "bada"},
      {"Ｈｅｌｌｏ", "Hello"},
      // No ASCII spelling: the letter stays.
      {"ʘa", "ʘa"},
      // Vietnamese letters are never folded; the eth capital is read as its
      // look-alike «Đ».
      {"Łódź đường", "Lódz đường"},
      {"Ðà Nẵng", "Đà Nẵng"},
      {"Москва", "      "},
      {"ΑΒ", "  "},
  });
}

// Every letter of the Latin script, with or without a combining mark after
// it, leaves its word in one piece.
TEST(NormalizeOthers, NoLatinLetterSplitsItsWord) {
  for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || !text::is_latin_letter(c)) continue;
    for (const std::string_view mark : {"", "\u0301"}) {
      std::string input = "x";
      text::append_utf8(input, c);
      input += mark;
      input += "y";
      const std::string out = normalize_others(input);
      EXPECT_TRUE(out.size() >= 2 && out.front() == 'x' && out.back() == 'y' &&
                  out.find(' ') == std::string::npos)
          << "U+" << std::hex << static_cast<uint32_t>(c) << ": «" << out << "»";
    }
  }
}

// A fold reports a change exactly when the text changes, and leaves `out`
// alone otherwise.
template <size_t N>
void expect_folds(bool (*fold)(std::string_view, std::string&), const Case (&cases)[N]) {
  for (const Case& c : cases) {
    std::string out = "untouched";
    const bool changed = fold(c.input, out);
    EXPECT_EQ(changed, c.input != c.expected) << c.input;
    EXPECT_EQ(changed ? out : std::string(c.input), c.expected) << c.input;
    if (!changed) {
      EXPECT_EQ(out, "untouched") << c.input;
    }
  }
}

TEST(FoldDigitsAndApostrophes, DigitsOfEveryScriptAndApostrophesInWords) {
  const Case cases[] = {
      {"năm ２０２４", "năm 2024"},
      {"giá ٣ đồng", "giá 3 đồng"},
      {"2０24", "2024"},
      {"\U0001D7CE\u0967", "01"},  // mathematical bold zero, Devanagari one
      {"it’s ok", "it's ok"},
      {"rock’n’roll", "rock'n'roll"},
      {"Hà’Nội", "Hà'Nội"},
      {"it‘s I‘m", "it's I'm"},
      {"itʼs it＇s it‛s", "it's it's it's"},
      // Superscripts are no decimal digits; an apostrophe at a word edge stays.
      {"x² ’90 a’ ’b ‘a’ ʼs", "x² ’90 a’ ’b ‘a’ ʼs"},
      {"ʻOkina", "ʻOkina"},  // a modifier letter of its own, no apostrophe
      // Roman numeral characters are the letters they stand for.
      {"Chương Ⅻ, phần Ⅳ", "Chương XII, phần IV"},
      {"ⅰⅱⅲ ⅿ Ⅼ", "iiiiii m L"},
      {"ↀↅↆ", "MVIL"},
      // Minus signs are the hyphen-minus; other dashes stay.
      {"−2°C, ﹣5, －3", "-2°C, -5, -3"},
      {"5 – 3 — 2", "5 – 3 — 2"},
  };
  expect_folds(fold_digits_and_apostrophes, cases);
}

TEST(FoldSuperscriptExponents, DigitsAfterANumberOrAWordAreAnExponent) {
  const Case cases[] = {
      {"10⁶", "10^6"},
      {"3×10⁸ m/s", "3×10^8 m/s"},
      {"x⁴ và cm⁴", "x^4 và cm^4"},
      {"10¹²", "10^12"},
      {"x²³", "x^23"},
      {"10¹", "10^1"},
      // A lone square or cube, a footnote mark after a word, a signed exponent
      // and digits after anything else stay.
      {"x² m³ 10²", "x² m³ 10²"},
      {"Nội¹ x¹", "Nội¹ x¹"},
      {"10⁻³", "10⁻³"},
      {"⁴ (a)⁴ ₄", "⁴ (a)⁴ ₄"},
  };
  expect_folds(fold_superscript_exponents, cases);
}

TEST(FoldCompatibilitySigns, SignsTheLastStepWouldDelete) {
  const Case cases[] = {
      {"25 ℃, 98 ℉", "25 °C, 98 °F"},
      {"5 ㎏ 10 ㎞ 20 ㎡", "5 kg 10 km 20 m²"},
      {"\U0001D412\U0001D400 \U0001D7D3", "SA 5"},  // mathematical bold S, A and 5
      {"Ⓐ ① ™ µ ＋", "A 1 TM μ +"},
      // Read by a step already, kept, spelled later, or decomposed into what
      // no step reads: unchanged.
      {"x² H₂O ½ ‰ √ ° Hà Nội", "x² H₂O ½ ‰ √ ° Hà Nội"},
      {"ﬁ Ａ ü", "ﬁ Ａ ü"},
      {"… ⒈ ⅙ ′ ″", "… ⒈ ⅙ ′ ″"},
      {"⁻ ﹣", "⁻ ﹣"},
  };
  for (const Case& c : cases) {
    std::string out = "untouched";
    const bool changed = fold_compatibility_signs(c.input, out);
    EXPECT_EQ(changed ? out : std::string(c.input), c.expected) << c.input;
    if (!changed) {
      EXPECT_EQ(out, "untouched") << c.input;
    }
  }
}

// ---------------------------------------------------------------------------
// Mixed inputs: every step accepts any valid text.

TEST(NormalizeOthers, AcceptsMixedTextsWithoutFailing) {
  const std::vector<std::string_view> pieces = {
      "A", "B", "X", "I", "V", "a", "m", "ĐH", "UBND", "TP.HCM", "NASA", "0", "5", "12",
      ".", "!", "?", ":", ";", "/", "^", "-", "+", "'", "’", "\"", "“", "(", ")", "[",
      "}", "°", "C", "f", "²", "₂", "α", "<>", "<", "|", "…", " ", "\t", "\n", "chữ",
      "ký tự", ".com", "e\u0301", "Ộ", "_", "ß", "\u0308", "⁻", "³", "ʘ",
  };
  std::mt19937 rng(31011);
  std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 24);
  for (int i = 0; i < 3000; ++i) {
    std::string input;
    for (int n = length(rng); n > 0; --n) input += pieces[pick(rng)];
    EXPECT_NO_THROW(normalize_others(input)) << "input: «" << input << "»";
  }
}

}  // namespace
}  // namespace vyr::vi_normalizer
