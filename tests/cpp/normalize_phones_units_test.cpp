// Numbers as people type them, through the whole pipeline: telephone numbers,
// space-grouped thousands before a unit, minus signs, unit symbols,
// superscript exponents and dots between digits.
#include <gtest/gtest.h>

#include "normalize_cases.hpp"

namespace vyr::vi_normalizer {
namespace {

// A number shaped like a telephone number is read digit by digit, group by
// group, never as a cardinal, a range or a fraction; «+84» reads «không».
TEST(NormalizePhonesUnits, TelephoneNumbers) {
  expect_normalized({
      {"Liên hệ +84 912 345 678", "liên hệ không chín một hai, ba bốn năm, sáu bảy tám"},
      {"+84912345678", "không chín một hai ba bốn năm sáu bảy tám"},
      {"+84-24-3825-3131", "không hai bốn, ba tám hai năm, ba một ba một"},
      {"(+84) 912 345 678", "không chín một hai, ba bốn năm, sáu bảy tám"},
      {"+84 (0)24 3825 3131", "không hai bốn, ba tám hai năm, ba một ba một"},
      // other country codes keep «cộng» and their digits
      {"+12025550143", "cộng một hai không hai năm năm năm không một bốn ba"},
      {"+33 1 23 45 67 89", "cộng ba ba, một, hai ba, bốn năm, sáu bảy, tám chín"},
      // 1800 and 1900 numbers
      {"Tổng đài 1800 599 920", "tổng đài một tám không không, năm chín chín, chín hai không"},
      {"Hotline 1900-1009", "hotline một chín không không, một không không chín"},
      {"Hotline: 1900 1234", "hotline, một chín không không, một hai ba bốn"},
      {"Hotline 1900.6868", "hotline một chín không không, sáu tám sáu tám"},
      {"1900 54 54 54", "một chín không không, năm bốn, năm bốn, năm bốn"},
      {"gọi 19001009 nhé", "gọi một chín không không một không không chín nhé"},
      // zero-led area codes, bare or in brackets
      {"Liên hệ số 02838 123 456", "liên hệ số không hai tám ba tám, một hai ba, bốn năm sáu"},
      {"ĐT: (028) 3822 1234", "đê tê, không hai tám, ba tám hai hai, một hai ba bốn"},
      {"024.3825.3131", "không hai bốn, ba tám hai năm, ba một ba một"},
      // the readings are final: no later pass takes «năm năm» for a phrase
      {"0912 345 555", "không chín một hai, ba bốn năm, năm năm năm"},
      // a number after the telephone number is a number of its own
      {"+84 912 345 678 10 lần", "không chín một hai, ba bốn năm, sáu bảy tám mười lần"},
      // as before
      {"0912 345 678", "không chín một hai, ba bốn năm, sáu bảy tám"},
      {"gọi 0912345678 nhé", "gọi không chín một hai ba bốn năm sáu bảy tám nhé"},
      {"090 123 456", "không chín không, một hai ba, bốn năm sáu"},
      // no telephone number: years, dates, sums
      {"giai đoạn 1900-1945",
       "giai đoạn một nghìn chín trăm đến một nghìn chín trăm bốn mươi lăm"},
      {"năm 1900 có 12 người", "năm một nghìn chín trăm có mười hai người"},
      {"ngày 01.02.2020", "ngày một tháng hai năm hai nghìn không trăm hai mươi"},
      {"5+3 = 8", "năm cộng ba bằng tám"},
  });
}

// The unit and currency readings take the whole number as the late number
// pass groups it.
TEST(NormalizePhonesUnits, SpaceGroupedThousandsBeforeAUnit) {
  expect_normalized({
      {"Giá 100 000đ/kg", "giá một trăm nghìn đồng trên ki lô gam"},
      {"giá 1 500 000 VND", "giá một triệu năm trăm nghìn việt nam đồng"},
      {"2 500 kg", "hai nghìn năm trăm ki lô gam"},
      {"$1 500", "một nghìn năm trăm <en>u s d</en>"},
      {"tăng 12 500 %", "tăng mười hai nghìn năm trăm phần trăm"},
      {"1 234,5 kg", "một nghìn hai trăm ba mươi bốn phẩy năm ki lô gam"},
      {"1 234.5", "một nghìn hai trăm ba mươi bốn phẩy năm"},
      // as before
      {"1 234 567", "một triệu hai trăm ba mươi bốn nghìn năm trăm sáu mươi bảy"},
      {"có 2 100 người", "có hai nghìn một trăm người"},
      {"năm 2020 100 người", "năm hai nghìn không trăm hai mươi một trăm người"},
      {"007 123", "không không bảy một trăm hai mươi ba"},
  });
}

// U+2212, U+FE63 and U+FF0D read exactly as "-" would in their place.
TEST(NormalizePhonesUnits, MinusSigns) {
  expect_normalized({
      {"Sa Pa −2°C", "sa pa âm hai độ xê"},
      {"(−0,97%)", "âm không phẩy chín bảy phần trăm"},
      {"còn −120 tỷ đồng", "còn âm một trăm hai mươi tỷ đồng"},
      {"5 − 3 = 2", "năm trừ ba bằng hai"},
  });
  expect_same_readings({
      {"x = \uFE635", "x = -5"},
      {"giảm \uFF0D3 kg", "giảm -3 kg"},
      {"5\u22123", "5-3"},
  });
}

TEST(NormalizePhonesUnits, UnitsAfterSlashesCasesAndWords) {
  expect_normalized({
      // a unit after number/number reads as that unit; other letters spell
      {"100/120km/h", "một trăm trên một trăm hai mươi ki lô mét trên giờ"},
      {"80/100mg", "tám mươi trên một trăm mi li gam"},
      {"5/10kg", "năm trên mười ki lô gam"},
      {"12/3A", "mười hai trên ba a"},
      {"12/3bc", "mười hai trên ba bê xê"},
      {"12/3g", "mười hai trên ba gờ"},
      // unit symbols in their written case, never split at the case change
      {"87,7 kWh", "tám mươi bảy phẩy bảy ki lô oát giờ"},
      {"5.000 mAh", "năm nghìn mi li am pe giờ"},
      {"1013 hPa", "một nghìn không trăm mười ba <en>hectopascal</en>"},
      {"150 Nm", "một trăm năm mươi niu tơn mét"},
      {"150 N·m", "một trăm năm mươi niu tơn mét"},
      {"150 nm", "một trăm năm mươi na nô mét"},
      {"5 mW", "năm mi li oát"},
      {"5 MW", "năm mê ga oát"},
      {"220 V", "hai trăm hai mươi vôn"},
      {"100W", "một trăm oát"},
      // heights; «m2» and «m3» stay the square and cubic metre
      {"cao 1m75", "cao một mét bảy mươi lăm"},
      {"cao 1m8", "cao một mét tám"},
      {"100m2", "một trăm mét vuông"},
      {"1m3 cát", "một mét khối cát"},
      // a unit after a word and "/"
      {"15.600.000 đồng/m2", "mười lăm triệu sáu trăm nghìn đồng trên mét vuông"},
      {"năng suất 5 tấn/ha", "năng suất năm tấn trên héc ta"},
      {"3 người/km2", "ba người trên ki lô mét vuông"},
  });
}

// Superscript digits after a number or a letter are an exponent; a lone ² or
// ³ keeps its square and cube.
TEST(NormalizePhonesUnits, SuperscriptExponents) {
  expect_normalized({
      {"3×10⁸ m/s", "ba nhân mười mũ tám mét trên giây"},
      {"10⁶", "mười mũ sáu"},
      {"x⁴", "ích mũ bốn"},
      {"x²³", "ích mũ hai mươi ba"},
      {"10¹²", "mười mũ mười hai"},
      // as before
      {"10⁻³", "mười mũ trừ ba"},
      {"x²", "ích bình phương"},
      {"5 m³", "năm mét lập phương"},
      {"10²", "mười bình phương"},
      {"Hà Nội¹", "hà nội một"},  // a footnote mark
  });
}

// A dot between two digits is read, never left as a sentence stop.
TEST(NormalizePhonesUnits, DotsBetweenDigits) {
  expect_normalized({
      {"PM2.5", "pê mờ hai chấm năm"},
      {"f/1.8", "ép trên một chấm tám"},
      {"v1.2", "vê một chấm hai"},
      {"H2.5O", "hát hai chấm năm ô"},
      {"-1,6.10^-19", "âm một phẩy sáu nhân mười mũ trừ mười chín"},
      {"1,6·10^-19", "một phẩy sáu nhân mười mũ trừ mười chín"},
      // as before
      {"3.14", "ba chấm một bốn"},
      {"1.2.3", "một chấm hai chấm ba"},
      {"v1.2.3", "<en>v</en> một chấm hai chấm ba"},
  });
}

}  // namespace
}  // namespace vyr::vi_normalizer
