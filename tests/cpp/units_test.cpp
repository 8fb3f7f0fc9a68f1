#include "vi_normalizer/units.hpp"

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

// ---------------------------------------------------------------------------
// expand_number_with_sep

TEST(ExpandNumberWithSep, SeparatorsAndExponents) {
  const Case cases[] = {
      {"", ""},
      {"42", "bốn mươi hai"},
      // one mark: decimal, trailing zeros dropped
      {"1,5", "một phẩy năm"},
      {"1.5", "một chấm năm"},
      {"1,50", "một phẩy năm"},
      {"1,00", "một"},
      {"2.05", "hai chấm không năm"},
      // one mark before exactly three digits, or several marks: thousands
      {"1,500", "một nghìn năm trăm"},
      {"1.500", "một nghìn năm trăm"},
      {"0,500", "năm trăm"},
      {"1,234,567", "một triệu hai trăm ba mươi bốn nghìn năm trăm sáu mươi bảy"},
      {"1.234.567", "một triệu hai trăm ba mươi bốn nghìn năm trăm sáu mươi bảy"},
      {"1.2.3", "một trăm hai mươi ba"},
      // both marks: the rightmost is the decimal one, always read "phẩy"
      {"1,234.5", "một nghìn hai trăm ba mươi bốn phẩy năm"},
      {"1.234,5", "một nghìn hai trăm ba mươi bốn phẩy năm"},
      {"1.234,50", "một nghìn hai trăm ba mươi bốn phẩy năm"},
      // parts after the second are read too, digit by digit, none trimmed
      {"1.2,3.4", "một phẩy hai ba phẩy bốn"},
      {"1,2.3,40", "một phẩy hai ba phẩy bốn không"},
      {"1.20.3e2", "một chấm hai không chấm ba nhân mười mũ hai"},
      {"1,5,0e1", "một phẩy năm phẩy không nhân mười mũ một"},
      // exponent: no thousands reading in the mantissa
      {"1.5e-3", "một chấm năm nhân mười mũ trừ ba"},
      {"2E5", "hai nhân mười mũ năm"},
      {"1.0e3", "một nhân mười mũ ba"},
      {"1.500e3", "một chấm năm nhân mười mũ ba"},
      {"6,02e+23", "sáu phẩy không hai nhân mười mũ hai mươi ba"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(expand_number_with_sep(c.input), c.expected) << "input «" << c.input << "»";
  }
}

TEST(UnitWord, CaseOfMAndLowerCasedLookup) {
  const Case cases[] = {
      {"m", "mét"},          {"M", "triệu"},  {"KM", "ki lô mét"}, {"kWh", "ki lô oát giờ"},
      {"KWH", "ki lô oát giờ"}, {"Usd", "__start_en__u s d__end_en__"},
      {"xyz", "xyz"},        {"%", "%"},      // "%" is left out of the unit keys
      // symbols read in their written case only
      {"mW", "mi li oát"},   {"MW", "mê ga oát"}, {"Nm", "niu tơn mét"}, {"NM", "na nô mét"},
      {"mAh", "mi li am pe giờ"}, {"MAH", "MAH"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(unit_word(c.input), c.expected) << "token «" << c.input << "»";
  }
}

TEST(UnitTables, AllUnitsMapMergesLowerCasedKeys) {
  const UnitsMap& map = ALL_UNITS_MAP();
  EXPECT_EQ(map.size(), 82u);
  EXPECT_EQ(map.count("%"), 0u);
  EXPECT_EQ(map.count("kWh"), 0u);  // stored lower-cased
  ASSERT_EQ(map.count("m"), 1u);
  EXPECT_EQ(map.at("m"), "mét");  // "M" lower-cases onto "m"; "m" wins
}

TEST(UnitTables, UnitsPatternIsLongestFirst) {
  const std::string& pattern = UNITS_RE_PATTERN();
  std::vector<std::string_view> keys;
  std::string_view rest = pattern;
  for (size_t bar = rest.find('|'); bar != std::string_view::npos; bar = rest.find('|')) {
    keys.push_back(rest.substr(0, bar));
    rest.remove_prefix(bar + 1);
  }
  keys.push_back(rest);
  ASSERT_EQ(keys.size(), 84u);
  for (size_t i = 1; i < keys.size(); ++i) {
    EXPECT_GE(keys[i - 1].size(), keys[i].size()) << keys[i - 1] << " before " << keys[i];
  }
  EXPECT_TRUE(keys.front() == "gallon" || keys.front() == "v n đ");
}

// ---------------------------------------------------------------------------
// The passes, one at a time.

TEST(ExpandPowerOfTen, MantissaTimesTenToThePower) {
  const Case cases[] = {
      {"3 x 10^8", " ba nhân mười mũ tám "},
      {"6.02×10^23", " sáu chấm không hai nhân mười mũ hai mươi ba "},
      {"1,6*10^-19", " một phẩy sáu nhân mười mũ trừ mười chín "},
      {"2X10^+5", " hai nhân mười mũ năm "},
      {"1.500 x 10^3", " một nghìn năm trăm nhân mười mũ ba "},
      {"c = 3x10^8 m/s", "c =  ba nhân mười mũ tám  m/s"},
      {"10^3", "10^3"},  // no mantissa
      {"a3 x 10^8", "a3 x 10^8"},  // no word boundary before the mantissa
      // a dot or a middle dot glued to the power stands for the sign
      {"1,6.10^-19", " một phẩy sáu nhân mười mũ trừ mười chín "},
      {"1,6 · 10^-19", " một phẩy sáu nhân mười mũ trừ mười chín "},
      {"1,6. 10^-19", "1,6. 10^-19"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(expand_power_of_ten(c.input), c.expected) << "input «" << c.input << "»";
  }
}

TEST(ExpandScientificNotation, MantissaSignAndExponent) {
  const Case cases[] = {
      {"1.5e-3", " một chấm năm nhân mười mũ trừ ba "},
      {"1.500e3", " một chấm năm nhân mười mũ ba "},
      {"—4,5e2", " âm bốn phẩy năm nhân mười mũ hai "},
      {"-2E5", " âm hai nhân mười mũ năm "},
      {"3e8m", " ba nhân mười mũ tám m"},
      {"x-1e5", "x âm một nhân mười mũ năm "},  // no boundary before the dash
      {"٣e٥", " ٣ nhân mười mũ ٥ "},  // other scripts' digits: matched, not read
      {"٣E-5", " ٣ nhân mười mũ trừ năm "},
      {"e5 và 5e", "e5 và 5e"},
      {"5e+ và 5e-x", "5e+ và 5e-x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(expand_scientific_notation(c.input), c.expected) << "input «" << c.input << "»";
  }
}

TEST(ExpandCompoundUnits, NumberedAndBareForms) {
  const Case cases[] = {
      {"60 km/h", "sáu mươi ki lô mét trên giờ "},
      {"5 km/h và 3 m/s", "năm ki lô mét trên giờ  và ba mét trên giây "},
      {"1,5 mg/ml", "một phẩy năm mi li gam trên mi li lít "},
      {"10 kWh/m2", "mười ki lô oát giờ trên mét vuông "},
      {"km/h", " ki lô mét trên giờ "},
      {"m/s", " mét trên giây "},
      {"M/S", " triệu trên giây "},
      // two single characters, not both units: letter names
      {"a/b", " a trên bê "},
      {"x/y", " ích trên y "},
      {"m/x", " mờ trên ích "},
      {"m/5", " mờ trên 5 "},
      // tokens that are no keys are written back as they are
      {"and/or", " and trên or "},
      {"1/2", "1/2"},
      // the Kelvin sign matches "k" without regard to case, on either side of "/"
      {"\u212A/h", " \u212A trên giờ "},
      {"h/\u212A", " giờ trên \u212A "},
      {"5 \u212Am/h", "năm ki lô mét trên giờ "},
      {"2 mg/µl", "hai mi li gam trên µl "},
      // a unit of the tables after a word, as after a unit
      {"đồng/m2", "đồng trên mét vuông "},
      {"tấn/ha.", "tấn trên héc ta ."},
      {"đồng/mAh", "đồng trên mi li am pe giờ "},
      {"và/hoặc", "và/hoặc"},
      {"đồng/kgx", "đồng/kgx"},
      {"đồng/A", "đồng/A"},  // a single capital is no unit
  };
  for (const Case& c : cases) {
    EXPECT_EQ(expand_compound_units(c.input), c.expected) << "input «" << c.input << "»";
  }
}

TEST(ExpandUnitsAndCurrency, Currencies) {
  const Case cases[] = {
      {"$100", "một trăm __start_en__u s d__end_en__"},
      {"$ 1,5 triệu", "một phẩy năm triệu __start_en__u s d__end_en__"},
      {"100€", "một trăm __start_en__euro__end_en__"},
      {"100¥", "một trăm yên"},
      {"£5", "năm __start_en__pound__end_en__"},
      {"5 triệu₩", "năm triệu won"},
      {"5 TỶ$", "năm TỶ __start_en__u s d__end_en__"},  // the magnitude word as written
      {"100 USD", "một trăm __start_en__u s d__end_en__"},
      {"usd", " __start_en__u s d__end_en__ "},
      {"10.000đ", "mười nghìn đồng"},
      {"20 ngàn đ", "hai mươi ngàn đồng"},
      {"2 tỷ đ", "hai tỷ đồng"},
      {"100 v n d", "một trăm việt nam đồng"},
      // the suffix symbol must follow the number directly; "€" ends no word
      {"100 €", "100 €"},
      // "đồng" is no key and "đ" is followed by a word character
      {"1,5 triệu đồng", "1,5 triệu đồng"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(expand_units_and_currency(c.input), c.expected) << "input «" << c.input << "»";
  }
}

TEST(ExpandUnitsAndCurrency, Percentages) {
  const Case cases[] = {
      {"50%", "năm mươi phần trăm"},
      {"12,5 %", "mười hai phẩy năm phần trăm"},
      {"12,5\u3000\u00a0%", "mười hai phẩy năm phần trăm"},  // any white space before "%"
      {"5a %", "5a %"},
      {"tăng 1.5%.", "tăng một chấm năm phần trăm."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(expand_units_and_currency(c.input), c.expected) << "input «" << c.input << "»";
  }
}

TEST(ExpandUnitsAndCurrency, Measures) {
  const Case cases[] = {
      {"10kg", "mười ki lô gam"},
      {"5km", "năm ki lô mét"},
      {"giá 5 km", "giá năm ki lô mét"},
      {"1,234.5 kg", "một nghìn hai trăm ba mươi bốn phẩy năm ki lô gam"},
      {"5 Ha", "năm héc ta"},
      {"5 M", "năm triệu"},
      {"5m", "năm mét"},
      {"10 B", "mười tỷ"},
      {"5g", "năm gam"},
      {"5G", "5G"},  // a network generation, not grams
      // the longest key wins
      {"5 mbps", "năm __start_en__megabits per second__end_en__"},
      {"5 mb", "năm __start_en__megabyte__end_en__"},
      {"3 kWh", "ba ki lô oát giờ"},
      {"100 gallon", "một trăm __start_en__gallon__end_en__"},
      // micro sign and Greek mu
      {"10 µm", "mười mic rô mét"},
      {"10 μm", "mười mic rô mét"},
      {"10 μg", "mười μg"},  // matched through «µg», but no key «μg»
      // no match after a letter, a digit, "." or ","; the unit ends a word
      {"a5km", "a5km"},
      {"5.km", "5.km"},
      {"5 kgs", "5 kgs"},
      {"٥kg", "٥ ki lô gam"},  // other scripts' digits: matched, not read
      // symbols in their written case
      {"5.000 mAh", "năm nghìn mi li am pe giờ"},
      {"150 Nm", "một trăm năm mươi niu tơn mét"},
      {"150 nm", "một trăm năm mươi na nô mét"},
      {"150 N·m", "một trăm năm mươi niu tơn mét"},
      {"220V và 5 W", "hai trăm hai mươi vôn và năm oát"},
      {"5 Wh", "năm oát giờ"},
      {"1013 hPa", "một nghìn không trăm mười ba __start_en__hectopascal__end_en__"},
      // heights; «m2» and «m3» are the square and cubic metre
      {"cao 1m75", "cao một mét bảy mươi lăm"},
      {"1m8, 1m05", "một mét tám, một mét không năm"},
      {"5m2 và 5m3", "năm mét vuông và năm mét khối"},
      {"a1m75 1m755 1m75a 1.1m75 1m7.5", "a1m75 1m755 1m75a 1.1m75 1m7.5"},
      // the whole of a number in dotted thousands
      {"1.500.000 VND", "một triệu năm trăm nghìn việt nam đồng"},
      // standalone unit words
      {"km", " ki lô mét "},
      {"đi vài km nữa", "đi vài  ki lô mét  nữa"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(expand_units_and_currency(c.input), c.expected) << "input «" << c.input << "»";
  }
}

TEST(FoldDongSigns, EverySignIsWrittenD) {
  const Case cases[] = {
      {"100.000₫", "100.000đ"},
      {"25.000₫/ly", "25.000đ/ly"},
      {"5 ₫, 6\u3000₫", "5 đ, 6\u3000đ"},
      {"5 triệu ₫", "5 triệu đ"},
      {"5 TRIỆU₫", "5 TRIỆUđ"},
      {"5 Nghìn  ₫", "5 Nghìn  đ"},
      {"٥₫", "٥đ"},
      // wherever it stands, so that it reads as "đ" does there
      {"₫5", "đ5"},
      {"giá ₫", "giá đ"},
      {"5tr₫", "5trđ"},
      {"₫/kg", "đ/kg"},
      {"₫₫", "đđ"},
      {"giá đ", "giá đ"},
      {"", ""},
  };
  for (const Case& c : cases) {
    std::string out;
    const bool folded = fold_dong_signs(c.input, out);
    EXPECT_EQ(folded ? out : std::string(c.input), c.expected) << "input «" << c.input << "»";
    EXPECT_EQ(folded, c.input != c.expected) << "input «" << c.input << "»";
  }
}

// A dash that the late number pass would read as a minus sign is read "âm"
// by the readings that take the number first; a hyphen after a word, or a
// dash between digits, is left where it is.
TEST(UnitPasses, MinusSignBeforeTheNumberIsRead) {
  const Case units[] = {
      {"-0,5%", "âm không phẩy năm phần trăm"},
      {"giảm -5%", "giảm âm năm phần trăm"},
      {"(-5%)", "(âm năm phần trăm)"},
      {"a,–5%", "a,âm năm phần trăm"},
      {"giảm -3 kg", "giảm âm ba ki lô gam"},
      {"　—3kg", "　âm ba ki lô gam"},
      {"-5$", "âm năm __start_en__u s d__end_en__"},
      {"-$5", "âm năm __start_en__u s d__end_en__"},
      {"-100.000đ", "âm một trăm nghìn đồng"},
      {"a-5%", "a-năm phần trăm"},
      {"x-3 kg", "x-ba ki lô gam"},
      {"1-5%", "1-năm phần trăm"},
      {"−5%", "−năm phần trăm"},  // U+2212 is none of the dashes
  };
  for (const Case& c : units) {
    EXPECT_EQ(expand_units_and_currency(c.input), c.expected) << "input «" << c.input << "»";
  }
  EXPECT_EQ(expand_compound_units("-60 km/h"), "âm sáu mươi ki lô mét trên giờ ");
  EXPECT_EQ(expand_compound_units("a-60 km/h"), "a-sáu mươi ki lô mét trên giờ ");
  EXPECT_EQ(expand_power_of_ten("giảm -3 x 10^8"), "giảm  âm ba nhân mười mũ tám ");
  EXPECT_EQ(expand_power_of_ten("x-3 x 10^8"), "x- ba nhân mười mũ tám ");
}

TEST(FixEnglishStyleNumbers, RegroupsThousandsCommas) {
  const Case cases[] = {
      {"1,234,567", "1234567"},
      {"12,345,678.9", "12345678,9"},
      {"1,234.56", "1234,56"},
      {"1,234", "1,234"},  // one comma, no dot: it may be a decimal
      {"1,234,5678", "1,234,5678"},  // the match is «1,234»
      {"giá 2,500,000 đồng", "giá 2500000 đồng"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fix_english_style_numbers(c.input), c.expected) << "input «" << c.input << "»";
  }
}

// Shapes that the patterns would retry from every digit of a long run.
TEST(UnitPasses, LongRunsThatNeverMatchComeBackUnchanged) {
  const std::string digits_then_e = std::string(100000, '1') + "e";
  EXPECT_EQ(expand_scientific_notation(digits_then_e), digits_then_e);
  std::string dotted_then_slash;
  while (dotted_then_slash.size() < 100000) dotted_then_slash += "1.";
  dotted_then_slash += "1/";
  EXPECT_EQ(expand_compound_units(dotted_then_slash), dotted_then_slash);
  const std::string digits_then_word_percent = std::string(100000, '1') + "a % và $";
  EXPECT_EQ(expand_units_and_currency(digits_then_word_percent), digits_then_word_percent);
}

TEST(UnitPasses, TextsWithoutMatchesComeBackUnchanged) {
  const std::string_view texts[] = {"", "không có gì", "e", "a/", "%", "$", ","};
  for (std::string_view t : texts) {
    EXPECT_EQ(expand_power_of_ten(t), t);
    EXPECT_EQ(expand_scientific_notation(t), t);
    EXPECT_EQ(expand_compound_units(t), t);
    EXPECT_EQ(expand_units_and_currency(t), t);
    EXPECT_EQ(fix_english_style_numbers(t), t);
  }
}

}  // namespace
}  // namespace vyr::vi_normalizer
