// Whole-pipeline readings of letters as people write them: words in
// capitals, Roman numerals and the abbreviations that look like them, codes
// and addresses with numbers and table abbreviations in them, and the table
// abbreviations inside names.
#include <gtest/gtest.h>

#include "normalize_cases.hpp"

namespace vyr::vi_normalizer {
namespace {

// A run of capitals that holds a vowel only Vietnamese marks (Ă Â Ê Ô Ơ Ư,
// or a tone mark) is a word, read in its lower-case form; abbreviations
// without one are read as before, and so is a headline in capitals.
TEST(NormalizeCapitalsCodes, VietnameseWordsInCapitals) {
  expect_normalized({
      {"Tin nóng: GIÁ XĂNG TĂNG MẠNH từ 15h",
       "tin nóng, giá xăng tăng mạnh từ mười lăm giờ"},
      {"Cảnh báo: ĐƯỜNG TRƠN", "cảnh báo, đường trơn"},
      {"Khuyến mãi SIÊU SỐC", "khuyến mãi siêu sốc"},
      {"Giải thưởng ƯU TÚ nhé", "giải thưởng ưu tú nhé"},
      {"mua ĂN UỐNG", "mua ăn uống"},
      // A word without a mark among such words is one of them, when it is
      // spelled as a Vietnamese syllable.
      {"Đội tuyển ĐÔNG NAM Á vô địch", "đội tuyển đông nam á vô địch"},
      {"Trận CHUNG KẾT ngày mai", "trận chung kết ngày mai"},
      {"GIẢM GIÁ SỐC CHO KHÁCH HÀNG nhé", "giảm giá sốc cho khách hàng nhé"},
      {"Mua NGAY KẺO HẾT nhé", "mua ngay kẻo hết nhé"},
      {"Đội tuyển VIỆT NAM thắng", "đội tuyển việt nam thắng"},
      {"Giá USD TĂNG mạnh", "giá <en>u s d</en> tăng mạnh"},
      {"Chào CEO TÂN nhé", "chào <en>c e o</en> tân nhé"},
      {"VIỆT NAM và USA", "việt nam và <en>u s a</en>"},
      {"Xem TV ĐÊM nay", "xem <en>t v</en> đêm nay"},
      {"Tôi yêu NAM", "tôi yêu <en>n a m</en>"},
      // No such vowel: the abbreviation keeps its reading.
      {"Liên hệ ĐT 0912", "liên hệ đê tê không chín một hai"},
      {"Bộ GD&ĐT thông báo", "bộ <en>g d</en> và đê tê thông báo"},
      {"Ký HCĐ hôm nay", "ký hát xê đê hôm nay"},
      {"Tôi yêu CMND", "tôi yêu <en>c m n d</en>"},
      {"UBND tỉnh", "uỷ ban nhân dân tỉnh"},
      {"Số RTX", "số <en>r t x</en>"},
      // A sentence all in capitals is a headline, as before.
      {"GIÁ VÀNG TĂNG. Giá USD giảm.", "giá vàng tăng. giá <en>u s d</en> giảm."},
  });
}

// After a word that numbers things a Roman numeral is a number, a single I,
// V or X included; without one, the abbreviations that look like numerals are
// read as acronyms, and other numerals of two letters or more as numbers.
TEST(NormalizeCapitalsCodes, RomanNumerals) {
  expect_normalized({
      {"thế kỷ V", "thế kỷ năm"},
      {"Thế kỉ X trước công nguyên", "thế kỉ mười trước công nguyên"},
      {"quý I", "quý một"},
      {"học kỳ I", "học kỳ một"},
      {"Chương X", "chương mười"},
      {"lần thứ V", "lần thứ năm"},
      {"khoá I và khóa V", "khoá một và khóa năm"},
      {"Điều V, mục X", "điều năm, mục mười"},
      {"giai đoạn I", "giai đoạn một"},
      {"Đại hội XIII", "đại hội mười ba"},
      {"phần CD", "phần bốn trăm"},
      {"Chương CC", "chương hai trăm"},
      // A single C, D, L or M stays a letter; a single I, V or X elsewhere too.
      {"phần C", "phần xê"},
      {"hạng V", "hạng vê"},
      {"vitamin C", "vitamin xê"},
      // Abbreviations, not numbers.
      {"Gửi CV qua email", "gửi <en>c v</en> qua email"},
      {"MC dẫn chương trình", "<en>m c</en> dẫn chương trình"},
      {"MV mới", "<en>m v</en> mới"},
      {"size XL", "size <en>x l</en>"},
      {"CI/CD", "<en>c i</en> trên <en>c d</en>"},
      {"đĩa CC, DC và MD", "đĩa <en>c c</en>, <en>d c</en> và <en>m d</en>"},
      // Numerals in titles and names, as before.
      {"thế kỷ XX", "thế kỷ hai mươi"},
      {"vua Louis XIV", "vua louis mười bốn"},
      {"thứ II", "thứ hai"},
      {"thế kỷ XXI và CV", "thế kỷ hai mươi mốt và <en>c v</en>"},
  });
}

// No number's reading is glued to a letter, and no digit, "//" or "." of a
// code or address reaches the output, whatever table abbreviation it holds.
TEST(NormalizeCapitalsCodes, CodesAndAddressesAreReadWhole) {
  expect_normalized({
      {"tai nghe WH-1000XM5", "tai nghe <en>w h</en> một nghìn xm năm"},
      {"card GTX-1080Ti", "card <en>g t x</en> một nghìn không trăm tám mươi ti"},
      {"mã AB-12CD", "mã <en>a b</en> mười hai cd"},
      {"mã BH-2024-VN-778899",
       "mã <en>b h</en> gạch ngang hai không hai bốn gạch ngang <en>v n</en> gạch ngang bảy "
       "bảy tám tám chín chín"},
      {"mã HN-12-34", "mã <en>h n</en> gạch ngang một hai gạch ngang ba bốn"},
      {"mua ở Shopee.VN", "mua ở <en>shopee</en> chấm <en>v n</en>"},
      {"vào Tiki.VN nhé", "vào <en>tiki</en> chấm <en>v n</en> nhé"},
      {"trang HTTPS://ĐÀ.VN", "trang <en>https</en> đà chấm <en>v n</en>"},
      {"mở NVIDIA.txt nhé", "mở <en>nvidia</en> chấm <en>txt</en> nhé"},
      // The same codes without an abbreviation read the same way.
      {"mã BH-2024-XY-778899",
       "mã <en>b h</en> gạch ngang hai không hai bốn gạch ngang <en>x y</en> gạch ngang bảy "
       "bảy tám tám chín chín"},
      {"mua ở shopee.vn", "mua ở <en>shopee</en> chấm <en>v n</en>"},
  });
}

// A table abbreviation is expanded only as a word of its own: joined to a
// name by a hyphen or glued to a capitalised word, its capitals are read as
// any acronym's are.
TEST(NormalizeCapitalsCodes, AbbreviationsInsideNames) {
  expect_normalized({
      {"TP-Link", "<en>t p</en> link"},
      {"Router TP-Link Archer C6", "router <en>t p</en> link archer xê sáu"},
      {"TPBank", "<en>t p</en> bank"},
      {"Ngân hàng TPBank chi nhánh", "ngân hàng <en>t p</en> bank chi nhánh"},
      {"M-TP", "mờ <en>t p</en>"},
      {"VNExpress đưa tin", "<en>v n</en> express đưa tin"},
      {"VNPay", "<en>v n</en> pay"},
      // As words of their own, or joined to one another or to places.
      {"TP HCM", "thành phố hồ chí minh"},
      {"TP Thủ Đức", "thành phố thủ đức"},
      {"TP.HCM", "thành phố hồ chí minh"},
      {"TP. Hồ Chí Minh", "thành phố. hồ chí minh"},
      {"Tuyến HN-HCM", "tuyến hà nội hồ chí minh"},
      {"Tuyến HN-TP.HCM", "tuyến hà nội thành phố hồ chí minh"},
      {"cao tốc TP.HCM-Long Thành-Dầu Giây",
       "cao tốc thành phố hồ chí minh long thành dầu giây"},
      {"HN-Lào Cai", "hà nội lào cai"},
      {"UBND-HĐND", "uỷ ban nhân dân hội đồng nhân dân"},
      {"VN-Index tăng", "<en>v n</en> index tăng"},
  });
}

}  // namespace
}  // namespace vyr::vi_normalizer
