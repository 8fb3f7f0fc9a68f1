// Numbers through the whole pipeline: signs before readings that take the
// number early, numbers kept apart, separators, the đồng sign.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>

#include "normalize_cases.hpp"

namespace vyr::vi_normalizer {
namespace {

// A dash that the number pass reads as a minus sign (at the start, after
// white space or after "(", "[", ";", "," or ".") keeps its "âm" when a
// percentage, currency, unit, decimal comma or range reads the number first.
TEST(NormalizeNumbers, MinusSignBeforeAReadingIsKept) {
  expect_normalized({
      {"tăng trưởng -0,5%", "tăng trưởng âm không phẩy năm phần trăm"},
      {"giảm -5%", "giảm âm năm phần trăm"},
      {"-20% giá", "âm hai mươi phần trăm giá"},
      {"giảm -3 kg", "giảm âm ba ki lô gam"},
      {"-3 kg", "âm ba ki lô gam"},
      {"a,-5%", "a, âm năm phần trăm"},
      {"lỗ -2 triệu $", "lỗ âm hai triệu đô la"},
      {"gió -10 km/h", "gió âm mười ki lô mét trên giờ"},
      {"nhiệt độ -0,5", "nhiệt độ âm không phẩy năm"},
      {"giá -1,5-2", "giá âm một phẩy năm đến hai"},
      {"giảm 5 -10%", "giảm năm âm mười phần trăm"},
      // a fraction or a dash pair (a range, never a fraction) read as one
      {"giảm -5-10%", "giảm âm năm đến mười phần trăm"},
      {"-3-5 kg", "âm ba đến năm ki lô gam"},
      {"tỷ lệ -3/7", "tỷ lệ âm ba trên bảy"},
      {"a -13/40 b", "a âm mười ba trên bốn mươi bê"},
      // already read with its sign
      {"nhiệt độ -5°C", "nhiệt độ âm năm độ xê"},
      // a dash between two numbers, or after a letter, is no sign
      {"tăng 5-10%", "tăng năm đến mười phần trăm"},
      {"đợt-5%", "đợt năm phần trăm"},
      {"x-3 kg", "ích ba ki lô gam"},
      {"5%-10%", "năm phần trăm đến mười phần trăm"},  // a range of percentages
  });
}

// Quotes, closing brackets, "{", ":" and "…" are blanked or deleted before the
// number pass judges a dash after them: a minus sign there keeps its "âm" in
// every reading, as it does before a bare number.
TEST(NormalizeNumbers, MinusSignAfterQuotesBracketsAndColons) {
  expect_normalized({
      {"Anh nói \"-5%\" là sai", "anh nói âm năm phần trăm là sai"},
      {"Lạm phát:-0,5%", "lạm phát, âm không phẩy năm phần trăm"},
      {"GDP:-0.5%", "<en>g d p</en>, âm không chấm năm phần trăm"},
      {"“-2%”", "âm hai phần trăm"},
      {"\"-5 kg\"", "âm năm ki lô gam"},
      {"{-5%}", "âm năm phần trăm"},
      {"a)-5%", "a âm năm phần trăm"},
      {"'-5%'", "âm năm phần trăm"},
      {"«-5%»", "âm năm phần trăm"},
      {"Q1…-3%", "qui một âm ba phần trăm"},
      {"giá:-2 triệu $", "giá, âm hai triệu đô la"},
      // the bare number, as before
      {"«-5»", "âm năm"},
      {"a:-5", "a, âm năm"},
  });
}

// A dash read as a space never joins two numbers, and a group of three
// digits after white space continues only a leading group of one to three
// digits.
TEST(NormalizeNumbers, TwoNumbersStayTwo) {
  expect_normalized({
      {"giá 5-100 nghìn", "giá năm một trăm nghìn"},
      {"Năm 2020 100 người nhập viện",
       "năm hai nghìn không trăm hai mươi một trăm người nhập viện"},
      {"2020 100", "hai nghìn không trăm hai mươi một trăm"},
      {"mã 2020 100 200", "mã hai nghìn không trăm hai mươi một trăm nghìn hai trăm"},
      // a zero-led code keeps its zeros and leads no thousands groups
      {"Mã 007 123", "mã không không bảy một trăm hai mươi ba"},
      {"0 123", "không một trăm hai mươi ba"},
      // one number each
      {"có 2 100 người", "có hai nghìn một trăm người"},
      {"1 234 567", "một triệu hai trăm ba mươi bốn nghìn năm trăm sáu mươi bảy"},
      {"12 345", "mười hai nghìn ba trăm bốn mươi lăm"},
      // a telephone number in groups is read digit by digit, as before
      {"gọi 090 123 456", "gọi không chín không, một hai ba, bốn năm sáu"},
  });
}

// Parts after the second of a number with both "." and "," are read, not
// dropped.
TEST(NormalizeNumbers, NoDigitOfASeparatedNumberIsDropped) {
  expect_normalized({
      {"1.2,3.4 kg", "một phẩy hai ba phẩy bốn ki lô gam"},
      {"1,2.3,4 kg", "một phẩy hai ba phẩy bốn ki lô gam"},
      {"1.2,3.4%", "một phẩy hai ba phẩy bốn phần trăm"},
      {"$1.2,3.4", "một phẩy hai ba phẩy bốn <en>u s d</en>"},
      {"1,234.5 kg", "một nghìn hai trăm ba mươi bốn phẩy năm ki lô gam"},
  });
}

// "₫" reads as "đ" does in the same place, wherever it stands.
TEST(NormalizeNumbers, DongSignReadsAsD) {
  expect_same_readings({
      {"₫/kg", "đ/kg"},
      {"₫5.000", "đ5.000"},
      {"₫1", "đ1"},
      {"10k₫", "10kđ"},
      {"Đơn vị: ₫", "Đơn vị: đ"},
      {"ký hiệu ₫ là đồng", "ký hiệu đ là đồng"},
  });
  expect_normalized({
      {"100.000₫", "một trăm nghìn đồng"},
      {"100.000đ", "một trăm nghìn đồng"},
      {"5₫", "năm đồng"},
      {"5đ", "năm đồng"},
      {"5 ₫", "năm đồng"},
      {"5 đ", "năm đồng"},
      {"2 triệu ₫", "hai triệu đồng"},
      {"-5₫", "âm năm đồng"},
      // a price per unit: the sign is no separator before a path
      {"Giá: 25.000₫/ly", "giá, hai mươi lăm nghìn đồng trên ly"},
      {"Giá: 25.000đ/ly", "giá, hai mươi lăm nghìn đồng trên ly"},
      {"₫/kg", "đ trên ki lô gam"},
      {"₫5.000", "đ năm nghìn"},
      {"Đơn vị: ₫", "đơn vị, đ"},
      {"ký hiệu ₫ là đồng", "ký hiệu đ là đồng"},
  });
}

}  // namespace
}  // namespace vyr::vi_normalizer
