// Numbers written with a slash, end to end: a number over code («12/3A») is
// read by the slash pass whatever earlier pass could take a piece of it, and
// no reading (of a slash form, date, measure or percentage) runs into the
// letters glued to its match.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "normalize_cases.hpp"
#include "vi_normalizer/datestime.hpp"
#include "vi_normalizer/normalizer.hpp"
#include "vi_normalizer/units.hpp"

namespace vyr::vi_normalizer {
namespace {

TEST(NormalizeSlashForms, EndToEnd) {
  expect_normalized({
      // Number over code: the day/month, unit and clock passes used to take
      // the digits and leave the letters glued to their reading.
      {"Số nhà 12/3A", "số nhà mười hai trên ba a"},
      // A unit of the tables after the second number is read as that unit
      // (it used to be spelled as a code, «ca gờ»).
      {"5/10kg", "năm trên mười ki lô gam"},
      {"12/3bc", "mười hai trên ba bê xê"},
      {"123/45B", "một trăm hai mươi ba trên bốn mươi lăm bê"},
      {"Hẻm 45/12B đường Lê Lợi", "hẻm bốn mươi lăm trên mười hai bê đường lê lợi"},
      {"123/4/5B", "một trăm hai mươi ba trên bốn trên năm bê"},
      {"12/3A, 12/3B.", "mười hai trên ba a, mười hai trên ba bê."},
      {"12/3M", "mười hai trên ba mờ"},
      {"5/2023A", "năm trên hai nghìn không trăm hai mươi ba a"},
      {"12/3h30", "mười hai trên ba hát ba mươi"},
      {"12/3g sáng", "mười hai trên ba gờ sáng"},
      // Readings of other forms kept apart from a glued letter.
      {"3-5A", "ba đến năm a"},  // a dash pair is a range, not a fraction
      {"3/4đ", "ba trên bốn đ"},
      {"nhà12/3A", "nhà mười hai trên ba a"},
      {"1/2/2023A", "ngày một tháng hai năm hai nghìn không trăm hai mươi ba a"},
      {"giá5kg", "giá năm ki lô gam"},
      {"5%abc", "năm phần trăm abc"},
      {"100€abc", "một trăm <en>euro</en> abc"},
      // Unchanged: slash pairs without a keyword are fractions, dates with
      // one are dates, units follow a plain number, «B» after a space is
      // «tỷ», Roman numerals stay numerals.
      // A dash pair is a range, and a part of the day before a slash pair
      // makes it a date.
      {"3-0", "ba đến không"},
      {"trang 3-5", "trang ba đến năm"},
      {"Sáng 2/9", "sáng ngày hai tháng chín"},
      {"ngày 15/8", "ngày mười lăm tháng tám"},
      {"ngày 30/4/1975", "ngày ba mươi tháng tư năm một nghìn chín trăm bảy mươi lăm"},
      {"4/2024", "tháng tư năm hai nghìn không trăm hai mươi bốn"},
      {"1/2", "một trên hai"},
      {"12/3 A", "mười hai trên ba a"},
      {"5/10 kg", "năm trên mười ki lô gam"},
      {"10kg", "mười ki lô gam"},
      {"5 kg", "năm ki lô gam"},
      {"10 B", "mười tỷ"},
      {"60 km/h", "sáu mươi ki lô mét trên giờ"},
      {"8h30", "tám giờ ba mươi phút"},
      {"x = -3/4", "ích bằng âm ba trên bốn"},
      // «CV» is the abbreviation people mean (a text of one word in capitals
      // stays as written); a Roman numeral of the same kind is still read.
      {"CV", "cv"},
      {"XV", "mười lăm"},
  });
}

// An alley number: a number over code with more "/" parts, or numbers before
// it, is read whole; its «B» or «M» is a letter, never «tỷ» or «triệu».
TEST(NormalizeSlashForms, HouseNumbersWithFurtherParts) {
  expect_normalized({
      {"ngõ 12/3B/4", "ngõ mười hai trên ba bê trên bốn"},
      {"45/7B/2 Lê Lợi", "bốn mươi lăm trên bảy bê trên hai lê lợi"},
      {"45/7M/2", "bốn mươi lăm trên bảy mờ trên hai"},
      {"12/3A/4B", "mười hai trên ba a trên bốn bê"},
      {"7/8B/9C/10D", "bảy trên tám bê trên chín xê trên mười đê"},
      {"ngõ 12/3/4B", "ngõ mười hai trên ba trên bốn bê"},
      {"12/3A/4h30", "mười hai trên ba a trên bốn hát ba mươi"},
      {"5/10kg/m", "năm trên mười ki lô gam trên mét"},  // a unit, no code
      {"Địa chỉ: 12/3B/4, quận 1", "địa chỉ, mười hai trên ba bê trên bốn, quận một"},
      // Codes in a list, with no space after the comma.
      {"12/3A,12/3B", "mười hai trên ba a, mười hai trên ba bê"},
      // Unchanged: «B» and «M» after a number and a space are magnitudes, and
      // numbers alone over numbers are fractions.
      {"10 B", "mười tỷ"},
      {"5 M", "năm triệu"},
      {"12/3/4", "mười hai trên ba trên bốn"},
  });
}

// An abbreviation that a letter touches is a piece of a longer word: left for
// the later passes, so that no reading runs into the word. Right after a
// number, «đ/c» is a price per unit.
TEST(NormalizeSlashForms, AbbreviationsInsideWordsStay) {
  expect_normalized({
      {"5.000đ/cái", "năm nghìn đồng trên cái"},
      {"5.000₫/cái", "năm nghìn đồng trên cái"},
      {"5.000₫/chiếc", "năm nghìn đồng trên chiếc"},
      {"5.000₫/con", "năm nghìn đồng trên con"},
      {"Giá 7.000₫/cây.", "giá bảy nghìn đồng trên cây."},
      {"5.000đ/c", "năm nghìn đồng trên xê"},
      {"v/vũ", "vê trên vũ"},
      {"kv/vực", "kv trên vực"},
      // Whole words keep their expansion.
      {"đ/c Nguyễn", "địa chỉ nguyễn"},
      {"Kính gửi: đ/c Nguyễn Văn A", "kính gửi, địa chỉ nguyễn văn a"},
      {"v/v: họp", "về việc, họp"},
      {"(v/v họp)", "về việc họp"},
      {"5 đ/c", "năm địa chỉ"},
      {"táo, cam, v.v.", "táo, cam, vân vân."},
      {"5.000đ/hộp", "năm nghìn đồng trên hộp"},
  });
}

// Long runs of slashes and codes are read in time proportional to their
// length; each would take minutes if a check looked along the whole run.
TEST(NormalizeSlashForms, LongRunsOfSlashes) {
  const auto repeat = [](std::string_view piece, size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (size_t i = 0; i < times; ++i) out += piece;
    return out;
  };
  constexpr size_t n = 100000;
  for (const std::string& text :
       {repeat("1/", n), repeat("1/2A/", n), "12/3B" + repeat("/4", n), repeat("1/", n) + "2B",
        repeat("1/1/1B/", n), repeat("xđ/c", n)}) {
    EXPECT_FALSE(Normalizer::normalize(text).empty());
  }
}

// The passes that run before the slash pass leave a number over code whole.
TEST(NormalizeSlashForms, EarlierPassesLeaveNumberOverCode) {
  using Pass = std::string (*)(std::string_view);
  const struct {
    Pass pass;
    std::string_view input;
    std::string_view expected;
  } cases[] = {
      {normalize_date, "12/3A", "12/3A"},
      {normalize_date, "5/2023A", "5/2023A"},
      {normalize_time, "12/3h30", "12/3h30"},
      {normalize_time, "12/3g sáng", "12/3g sáng"},
      {expand_units_and_currency, "5/10ab", "5/10ab"},
      {expand_units_and_currency, "123/45B", "123/45B"},
      // With further parts, its «B» or «M» is a letter, not «tỷ» or «triệu».
      {expand_compound_units, "ngõ 12/3B/4", "ngõ 12/3B/4"},
      {expand_compound_units, "7/8B/9C/10D", "7/8B/9C/10D"},
      {expand_compound_units, "5/10ab/m", "5/10ab/m"},
      {expand_units_and_currency, "45/7M/2", "45/7M/2"},
      {expand_units_and_currency, "12/3A/4B", "12/3A/4B"},
      {expand_units_and_currency, "12/3/4B", "12/3/4B"},
      {expand_units_and_currency, "12/3A,12/3B", "12/3A,12/3B"},
      // Not a code: a space or a decimal part after the second number, or
      // no code before the slash.
      {expand_units_and_currency, "5/10 kg", "5/mười ki lô gam"},
      // A unit of the tables after the second number: no code either.
      {expand_units_and_currency, "5/10kg", "5/mười ki lô gam"},
      {expand_compound_units, "5/10kg/m", "5/mười ki lô gam trên mét "},
      {expand_units_and_currency, "5/1.5kg", "5/một chấm năm ki lô gam"},
      {expand_compound_units, "3B/4", "ba tỷ trên 4 "},
      {expand_units_and_currency, "1,12/3B", "1,12/ba tỷ"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.pass(c.input), c.expected) << "input: «" << c.input << "»";
  }
}

}  // namespace
}  // namespace vyr::vi_normalizer
