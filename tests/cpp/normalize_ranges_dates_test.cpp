// Pairs of numbers joined by a dash or a slash, end to end: ranges, scores,
// dates, quarters and document numbers read as people mean them, and the
// readings that must not move (fractions with no date evidence, full and ISO
// dates, periods, two numbers of unlike lengths).
#include <gtest/gtest.h>

#include "normalize_cases.hpp"

namespace vyr::vi_normalizer {
namespace {

// Nobody writes a fraction with a dash: a dash pair is a range unless math
// stands near (a fraction) or it is a valid day and month that is zero-led
// or follows a date word (a date). The words after it say what it counts.
TEST(NormalizeRangesDates, DashPairIsARange) {
  expect_normalized({
      {"Uống 2-3 lít nước", "uống hai đến ba lít nước"},
      {"uống 2–3 lít", "uống hai đến ba lít"},
      {"ngủ 7 — 9 tiếng", "ngủ bảy đến chín tiếng"},
      {"kỳ hạn 1-3 tháng", "kỳ hạn một đến ba tháng"},
      {"ngủ 7-9 tiếng", "ngủ bảy đến chín tiếng"},
      {"sóng cao 3-5m", "sóng cao ba đến năm mét"},
      {"lãi suất 9-10%/năm", "lãi suất chín đến mười phần trăm trên năm"},
      {"giá 6-8 triệu", "giá sáu đến tám triệu"},
      {"trang 3-5", "trang ba đến năm"},
      {"tăng 5-10%", "tăng năm đến mười phần trăm"},
      {"giảm -5-10%", "giảm âm năm đến mười phần trăm"},
      // A counting word before the pair names what it spans.
      {"thứ 2-6 hàng tuần", "thứ hai đến sáu hàng tuần"},
      {"vào thứ 2-6", "vào thứ hai đến sáu"},
      {"tháng 1-3", "tháng một đến ba"},
      {"ngày 2-9 tháng 10", "ngày hai đến chín tháng mười"},
      // Dates: zero-led, or a date word among the three words before.
      {"05-06", "ngày năm tháng sáu"},
      {"ngày 2-9", "ngày hai tháng chín"},
      {"vào 2-9", "vào ngày hai tháng chín"},
      {"05-06-2024", "ngày năm tháng sáu năm hai nghìn không trăm hai mươi bốn"},
      // Math nearby makes a fraction.
      {"x = 3-4", "ích bằng ba trên bốn"},
      // Unlike lengths stay two numbers.
      {"5-100", "năm một trăm"},
  });
}

TEST(NormalizeRangesDates, ScoreIsTwoNumbers) {
  expect_normalized({
      {"Việt Nam thắng Indonesia 3-0", "việt nam thắng indonesia ba không"},
      {"tỷ số 2-1", "tỷ số hai một"},
      {"tỉ số 2 - 1", "tỉ số hai một"},
      {"hòa 1-1", "hòa một một"},
      {"hoà 0–0", "hoà không không"},
      {"Kết quả trận đấu: 2-1", "kết quả trận đấu, hai một"},
      {"chung cuộc 4-2", "chung cuộc bốn hai"},
      {"Thắng 100-98", "thắng một trăm chín mươi tám"},
      {"dẫn 2-0 sau hiệp một", "dẫn hai không sau hiệp một"},
      {"thua 0-3", "thua không ba"},
      // Too far from the score word: a range again.
      {"thắng ở hai trận đấu 2-3", "thắng ở hai trận đấu hai đến ba"},
  });
}

// A dash between two quantities of one kind, or a plain number and a
// measure, reads «đến»; each side keeps its own reading.
TEST(NormalizeRangesDates, RangeBetweenQuantities) {
  expect_normalized({
      {"làm việc 8h-17h", "làm việc tám giờ đến mười bảy giờ"},
      {"mở cửa 8:00-17:00",
       "mở cửa tám giờ không phút đến mười bảy giờ không phút"},
      {"22:00-05:00", "hai mươi hai giờ không phút đến năm giờ không phút"},
      {"8h00 - 22h00", "tám giờ không phút đến hai mươi hai giờ không phút"},
      {"từ 8h30-17h30", "từ tám giờ ba mươi phút đến mười bảy giờ ba mươi phút"},
      {"8h-17:00", "tám giờ đến mười bảy giờ không phút"},
      {"15°C-20°C", "mười lăm độ xê đến hai mươi độ xê"},
      {"nhiệt độ 15-20°C", "nhiệt độ mười lăm đến hai mươi độ xê"},
      {"6,5%-7%", "sáu phẩy năm phần trăm đến bảy phần trăm"},
      {"5%-10%", "năm phần trăm đến mười phần trăm"},
      {"500.000đ - 1.000.000đ", "năm trăm nghìn đồng đến một triệu đồng"},
      {"giá 500.000 - 1.000.000đ", "giá năm trăm nghìn đến một triệu đồng"},
      {"5kg-10kg", "năm ki lô gam đến mười ki lô gam"},
      {"$5-$10", "năm <en>u s d</en> đến mười <en>u s d</en>"},
      // Quantities of two kinds are no range.
      {"5kg-10%", "năm ki lô gam mười phần trăm"},
  });
}

// A valid day/month pair with "/" is a date after a part of the day or a
// span, occasion, deadline or street word, when joined to another date, or
// when it ends a span of days; without such evidence it stays a fraction.
TEST(NormalizeRangesDates, SlashDateWithoutDateKeyword) {
  expect_normalized({
      {"Chiều 5/5, hàng nghìn người", "chiều ngày năm tháng năm, hàng nghìn người"},
      {"tối 30/4 có pháo hoa", "tối ngày ba mươi tháng tư có pháo hoa"},
      {"hạn 30/6 nộp", "hạn ngày ba mươi tháng sáu nộp"},
      {"Dịp 30/4-1/5", "dịp ngày ba mươi tháng tư đến ngày một tháng năm"},
      {"30/4 - 1/5", "ngày ba mươi tháng tư đến ngày một tháng năm"},
      {"30/4 đến 1/5", "ngày ba mươi tháng tư đến ngày một tháng năm"},
      {"30/4/2023-1/5/2024",
       "ngày ba mươi tháng tư năm hai nghìn không trăm hai mươi ba đến ngày một tháng năm "
       "hai nghìn không trăm hai mươi bốn"},
      {"từ 01/10 đến 31/10", "từ ngày một tháng mười đến ngày ba mươi mốt tháng mười"},
      {"từ 15-20/6", "từ mười lăm đến hai mươi tháng sáu"},
      {"15–20/6", "mười lăm đến hai mươi tháng sáu"},
      {"từ 2-7/10/2023",
       "từ hai đến bảy tháng mười năm hai nghìn không trăm hai mươi ba"},
      {"Đường 3/2", "đường ba tháng hai"},
      {"phố 19/12", "phố mười chín tháng mười hai"},
      // Math keeps fractions.
      {"x = 1/2-1/3", "ích bằng một trên hai một trên ba"},
      {"tỷ lệ từ 1/3", "tỷ lệ từ một trên ba"},
      // Unchanged readings.
      {"3/4 số người", "ba trên bốn số người"},
      {"x = 1/2", "ích bằng một trên hai"},
      {"tỷ lệ 1/3", "tỷ lệ một trên ba"},
      {"15/8", "mười lăm trên tám"},
      {"ngày 15/8", "ngày mười lăm tháng tám"},
      {"05/06", "ngày năm tháng sáu"},
      {"(ngày 2/9)", "ngày hai tháng chín"},
      {"hôm 5/6", "hôm năm tháng sáu"},
      {"15/08/2024", "ngày mười lăm tháng tám năm hai nghìn không trăm hai mươi bốn"},
      {"2023-04-05", "ngày năm tháng tư năm hai nghìn không trăm hai mươi ba"},
      {"1/2-2023", "ngày một tháng hai năm hai nghìn không trăm hai mươi ba"},
      {"từ 1/5 đến 30/6/2024",
       "từ ngày một tháng năm đến ngày ba mươi tháng sáu năm hai nghìn không trăm hai mươi "
       "bốn"},
  });
}

TEST(NormalizeRangesDates, QuartersAndDocumentNumbers) {
  expect_normalized({
      {"Doanh thu quý 2/2024", "doanh thu quý hai năm hai nghìn không trăm hai mươi bốn"},
      {"Quý 3-2023", "quý ba năm hai nghìn không trăm hai mươi ba"},
      {"quý I/2024", "quý một năm hai nghìn không trăm hai mươi bốn"},
      {"quý II/2020", "quý hai năm hai nghìn không trăm hai mươi"},
      {"quý IV/2023", "quý bốn năm hai nghìn không trăm hai mươi ba"},
      {"Thông tư 01/2024/TT-NHNN",
       "thông tư không một trên hai nghìn không trăm hai mươi bốn trên <en>t t</en> "
       "<en>n h n n</en>"},
      {"Số 15/2023/NĐ-CP",
       "số mười lăm trên hai nghìn không trăm hai mươi ba trên nờ đê <en>c p</en>"},
      {"100/2019/NĐ-CP",
       "một trăm trên hai nghìn không trăm mười chín trên nờ đê <en>c p</en>"},
      // Unchanged: a period letter with a year, a month with a year.
      {"Q1/2024", "quý một hai không hai bốn"},
      {"5/2023", "tháng năm hai nghìn không trăm hai mươi ba"},
  });
}

TEST(NormalizeRangesDates, ZeroPaddedDayAndMonthAfterTheirWord) {
  expect_normalized({
      {"kể từ ngày 01 tháng 01 năm 2025",
       "kể từ ngày một tháng một năm hai nghìn không trăm hai mươi lăm"},
      {"tháng 09", "tháng chín"},
      {"Ngày 05 Tháng 09", "ngày năm tháng chín"},
      {"ngày 01/02", "ngày một tháng hai"},
      // Codes elsewhere keep their zeros.
      {"lớp 01", "lớp không một"},
      {"ngày 001", "ngày không không một"},
  });
}

// Only a word that a date reading brings next to the same word goes; two
// words that both stood in the text stay.
TEST(NormalizeRangesDates, CallerWordsAreNeverMerged) {
  expect_normalized({
      {"Năm năm qua", "năm năm qua"},
      {"ngày ngày đi làm", "ngày ngày đi làm"},
      {"tháng tháng trả lãi", "tháng tháng trả lãi"},
      {"hôm ngày mai", "hôm ngày mai"},
      {"ngày ngày 15/8", "ngày ngày mười lăm tháng tám"},
      {"tháng 5/2023", "tháng năm hai nghìn không trăm hai mươi ba"},
      {"ngày 15/5 năm 2023", "ngày mười lăm tháng năm hai nghìn không trăm hai mươi ba"},
      {"hôm nay 5/6", "hôm nay ngày năm tháng sáu"},
  });
}

}  // namespace
}  // namespace vyr::vi_normalizer
