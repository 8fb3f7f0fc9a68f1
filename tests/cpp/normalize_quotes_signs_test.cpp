// Whole-pipeline readings of marks and signs as people type them: primes and
// quotes after a number, signs that would otherwise be deleted, a minus before
// a letter, and words beyond ASCII in the query of a web address.
#include <gtest/gtest.h>

#include <string_view>

#include "normalize_cases.hpp"

namespace vyr::vi_normalizer {
namespace {

// After a number, ' and ′ are minutes, and " or ″ are seconds right after
// minutes and inches otherwise; a double quote that closes a quotation opened
// earlier in the sentence stays a quote mark. Never «phẩy» after a number.
TEST(NormalizeQuotesSigns, MarksAfterANumber) {
  expect_normalized({
      // A unit said just before the number is not said again.
      {"phút 89'", "phút tám mươi chín"},
      {"Phút 89'", "phút tám mươi chín"},
      {"ghi bàn phút 45+2'", "ghi bàn phút bốn mươi lăm cộng hai phút"},
      {"5'", "năm phút"},
      {"15′", "mười lăm phút"},
      {"hết 38'45\"", "hết ba mươi tám phút bốn mươi lăm giây"},
      {"38′45″", "ba mươi tám phút bốn mươi lăm giây"},
      {"chạy 1'30\"", "chạy một phút ba mươi giây"},
      {"12°30'15\"", "mười hai độ ba mươi phút mười lăm giây"},
      {"Màn hình 27\"", "màn hình hai mươi bảy inch"},
      {"27″", "hai mươi bảy inch"},
      {"TV 55\" và 65\"", "<en>t v</en> năm mươi lăm inch và sáu mươi lăm inch"},
      // The mark still follows the number when it has a fraction.
      {"màn hình 6,5\"", "màn hình sáu phẩy năm inch"},
      {"màn hình 6.1\"", "màn hình sáu chấm một inch"},
      {"ống 1/2\" và 3/4\"", "ống một trên hai inch và ba trên bốn inch"},
      {"15:30'", "mười lăm giờ ba mươi phút"},
      {"lúc 10h30'", "lúc mười giờ ba mươi phút"},
      // Closing quotes, whatever stands before them.
      {"phim \"Lật Mặt 7\" ra rạp", "phim lật mặt bảy ra rạp"},
      {"phim “Lật Mặt 7” ra rạp", "phim lật mặt bảy ra rạp"},
      {"bộ phim 'Mắt biếc 2' ra rạp", "bộ phim mắt biếc hai ra rạp"},
      // A quotation opened in an earlier sentence closes nothing here.
      {"Anh nói \"xem. Màn 27\"", "anh nói xem. màn hai mươi bảy inch"},
      // Digits glued to a word are no number of their own.
      {"A4\" giấy", "a bốn giấy"},
      // A prime after a letter stays «phẩy», ′ and ″ as ' is.
      {"a'", "a phẩy"},
      {"x'", "ích phẩy"},
      {"f′(x) = 2", "ép phẩy, ích, bằng hai"},
      {"A″", "a phẩy phẩy"},
      {"don't 5'", "don't năm phút"},
  });
}

// A sign the last step would delete, whose compatibility decomposition is
// made of what the steps read, reads as that decomposition does; per mille
// and roots have readings of their own; nothing else changes.
TEST(NormalizeQuotesSigns, SignsAreReadNotDeleted) {
  expect_same_readings({
      {"25 ℃", "25 °C"},
      {"98 ℉", "98 °F"},
      {"-5 ℃", "-5 °C"},
      {"nặng 5 ㎏", "nặng 5 kg"},
      {"10 ㎞", "10 km"},
      {"𝐒𝐀𝐋𝐄 𝐎𝐅𝐅 𝟓𝟎%", "SALE OFF 50%"},
      {"𝑯à 𝑵ội", "Hà Nội"},
      {"Ⓐ và ①", "A và 1"},
      {"5 µm", "5 μm"},
  });
  expect_normalized({
      {"25 ℃", "hai mươi lăm độ xê"},
      {"98 ℉", "chín mươi tám độ ép"},
      {"nặng 5 ㎏", "nặng năm ki lô gam"},
      {"diện tích 20 ㎡", "diện tích hai mươi mét bình phương"},
      {"4‰", "bốn phần nghìn"},
      {"√16 = 4", "căn mười sáu bằng bốn"},
      {"∛27 = 3", "căn bậc ba hai mươi bảy bằng ba"},
      {"x ∈ ∅", "ích thuộc rỗng"},
      // Signs the steps read, and signs whose decomposition is no reading,
      // stay as they were.
      {"x²", "ích bình phương"},
      {"½ cái bánh", "một phần hai cái bánh"},
      {"Chờ đã… rồi", "chờ đã rồi"},
      {"giá 50k", "giá năm mươi ca"},
      {"UBND phường", "uỷ ban nhân dân phường"},
      {"số CMND", "số <en>c m n d</en>"},
  });
}

// A minus right before a letter, after "=", an opening bracket or an
// operator, is the sign «trừ»; a hyphen elsewhere stays what it was.
TEST(NormalizeQuotesSigns, MinusBeforeALetter) {
  expect_normalized({
      {"x = -b/a", "ích bằng trừ bê trên a"},
      {"y = -x + 2", "y bằng trừ ích cộng hai"},
      {"x=-b", "ích bằng trừ bê"},
      {"f(-x) = 2*-y", "ép, trừ ích, bằng hai sao trừ y"},
      {"a ≤ −b", "a nhỏ hơn hoặc bằng trừ bê"},
      // Numbers keep their own readings; a hyphen that opens no term stays.
      {"x=-5", "ích bằng âm năm"},
      {"đi -abc", "đi abc"},
      {"COVID-19", "<en>covid</en> mười chín"},
      {"Hà Nội - Hải Phòng", "hà nội, hải phòng"},
  });
}

// A piece of a web address beyond ASCII is read as its own word, and each
// mark between such words through the tables.
TEST(NormalizeQuotesSigns, WordsBeyondAsciiInAnAddress) {
  expect_normalized({
      {"https://x.vn/search?q=phở+bò+hà+nội",
       "<en>https</en> <en>x</en> chấm <en>v n</en> gạch <en>search</en> hỏi <en>q</en> bằng phở "
       "cộng bò cộng hà cộng nội"},
      {"https://x.vn/tìm-kiếm?q=áo,dài",
       "<en>https</en> <en>x</en> chấm <en>v n</en> gạch tìm gạch ngang kiếm hỏi <en>q</en> bằng "
       "áo, dài"},
      {"https://x.vn/?q=phở&p=2",
       "<en>https</en> <en>x</en> chấm <en>v n</en> gạch hỏi <en>q</en> bằng phở và <en>p</en> "
       "bằng hai"},
      // An ASCII piece with a mark is still read character by character.
      {"https://x.vn/a+b", "<en>https</en> <en>x</en> chấm <en>v n</en> gạch a + bê"},
  });
}

}  // namespace
}  // namespace vyr::vi_normalizer
