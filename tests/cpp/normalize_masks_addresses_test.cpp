// Through Normalizer::normalize: the pipeline's own keys and placeholders
// never reach the output and every caller chunk comes back where it stood;
// addresses are read to their end whatever letters they hold; zero-led digit
// runs of an address keep their zeros.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "normalize_cases.hpp"
#include "vi_normalizer/normalizer.hpp"

namespace vyr::vi_normalizer {
namespace {

size_t occurrences(std::string_view text, std::string_view part) {
  size_t count = 0;
  for (size_t hit = text.find(part); hit != std::string_view::npos;
       hit = text.find(part, hit + 1)) {
    ++count;
  }
  return count;
}

// ---------------------------------------------------------------------------
// Keys, placeholders and chunks

TEST(NormalizeMasks, ChunksComeBackOnceAndNoKeyLeaks) {
  expect_normalized({
      // The address after a chunk is read like any other, not with the key
      // of the chunk glued to its local part.
      {"<en>x</en>abc@gmail.com",
       "<en>x</en> <en>abc</en> a còng <en>g mail</en> chấm com"},
      {"abc<en>x</en>def@gmail.com",
       "abc<en>x</en> <en>def</en> a còng <en>g mail</en> chấm com"},
      {"<en>a</en><en>b</en>abc@x.vn",
       "<en>a</en><en>b</en> <en>abc</en> a còng <en>x</en> chấm <en>v n</en>"},
      // The same for file names and web addresses, on either side.
      {"<en>x</en>report.pdf", "<en>x</en> <en>report</en> chấm <en>pdf</en>"},
      {"report.pdf<en>x</en>", "<en>report</en> chấm <en>pdf</en> <en>x</en>"},
      {"<en>x</en>https://a.com", "<en>x</en> <en>https</en> <en>a</en> chấm com"},
      {"<en>a</en>/path/to", "<en>a</en> gạch <en>path</en> gạch <en>t o</en>"},
      // An address inside a web address is read with it, not masked apart.
      {"https://user@host.com/path",
       "<en>https</en> <en>user</en> a còng <en>host</en> chấm com gạch <en>path</en>"},
      {"liên hệ https://admin@shop.vn nhé",
       "liên hệ <en>https</en> <en>admin</en> a còng <en>shop</en> chấm <en>v n</en> nhé"},
      // Digits after a chunk are still a number of their own.
      {"<en>iPhone</en>5", "<en>iPhone</en> năm"},
  });
}

TEST(NormalizeMasks, CallerWordsThatLookLikeKeysAreOrdinaryText) {
  expect_normalized({
      {"maskaaaa <en>X</en>", "maskaaaa <en>X</en>"},
      {"entoken0 <en>X</en>", "entoken không <en>X</en>"},
      {"ENTOKEN12 <en>X</en>", "e nờ tê ô ca e nờ một hai <en>X</en>"},
      {"maskaaab a@b.com <en>X</en>",
       "maskaaab <en>a</en> a còng <en>b</en> chấm com <en>X</en>"},
      // A key-like word inside an address is read as part of it.
      {"Gửi maskaaab@gmail.com, <en>OK</en>",
       "gửi <en>maskaaab</en> a còng <en>g mail</en> chấm com, <en>OK</en>"},
      // In capitals: the all-capitals reading, as for any such word.
      {"MASKAAAB <en>X</en>", "<en>m a s k a a a b</en> <en>X</en>"},
      // A word that looks like a salted key, and the wide keys' form.
      {"maskl maskla masklaaaa a@b.vn",
       "maskl maskla masklaaaa <en>a</en> a còng <en>b</en> chấm <en>v n</en>"},
      {"maskkbaaaak <en>X</en>", "maskkbaaaak <en>X</en>"},
      // Words that become key-like only on the way: a curly quote or a mark
      // deleted, a letter spelled in ASCII.
      {"mask\u201Caaaa <en>X</en>", "maskaaaa <en>X</en>"},
      {"mas\u0308kaaaa <en>X</en>", "maskaaaa <en>X</en>"},
      {"mask\u00E4aaa <en>X</en>", "maskaaaa <en>X</en>"},
      {"ma\u017Fkaaaa <en>X</en>", "maskaaaa <en>X</en>"},
      {"\uFF4D\uFF41\uFF53\uFF4B\uFF41\uFF41\uFF41\uFF41 <en>X</en>", "maskaaaa <en>X</en>"},
      // The internal English markers typed by the caller are words, not tags.
      {"__start_en__ a __end_en__ <en>X</en>", "start en a end en <en>X</en>"},
      {"x__end_en__", "ích end en"},
      // The noncharacters of the chunk placeholders are taken out of the text.
      {"\uFDD0" "0\uFDD1 <en>X</en>", "không <en>X</en>"},
  });
}

TEST(NormalizeMasks, WordsGluedToAChunkReadAsIfAlone) {
  expect_normalized({
      // A slash form before a chunk: read whole, the chunk back once after it.
      {"12/3<en>Hello</en>", "mười hai trên ba <en>Hello</en>"},
      {"Số nhà 12/3<en>B</en> nhé", "số nhà mười hai trên ba <en>B</en> nhé"},
      {"1/2<en>cup</en> đường", "một trên hai <en>cup</en> đường"},
      {"5/10<en>kg</en>", "năm trên mười <en>kg</en>"},
      {"123/45<en>x</en>", "một trăm hai mươi ba trên bốn mươi lăm <en>x</en>"},
      {"12/3a<en>x</en>", "mười hai trên ba a <en>x</en>"},
      {"12/3<en>A</en><en>B</en>", "mười hai trên ba <en>A</en><en>B</en>"},
      {"12/3<en>X</en>maskaaaa", "mười hai trên ba <en>X</en>maskaaaa"},
      {"12/3<en>x</en>5", "mười hai trên ba <en>x</en> năm"},
      // Numerals, measures, times and codes on either side.
      {"XIV<en>x</en>", "mười bốn <en>x</en>"},
      {"<en>x</en>XIV", "<en>x</en> mười bốn"},
      {"III<en>x</en>", "ba <en>x</en>"},
      {"<en>x</en>a/b", "<en>x</en> a trên bê"},
      {"10kg<en>x</en>", "mười ki lô gam <en>x</en>"},
      {"km/h<en>x</en>", "ki lô mét trên giờ <en>x</en>"},
      {"<en>x</en>km/h", "<en>x</en> ki lô mét trên giờ"},
      {"10:30<en>x</en>", "mười giờ ba mươi phút <en>x</en>"},
      {"<en>x</en>Q1", "<en>x</en> qui một"},
      {"<en>x</en>2020", "<en>x</en> hai nghìn không trăm hai mươi"},
      // A word that no pass rewrites stays glued as written.
      {"abc<en>x</en>def", "abc<en>x</en>def"},
      {"Việt<en>x</en>Nam", "việt<en>x</en>nam"},
      {"<en>a</en>abc<en>b</en>", "<en>a</en>abc<en>b</en>"},
      {"(<en>x</en>).", "<en>x</en>."},
  });
}

TEST(NormalizeMasks, WordsLikeOldPlaceholdersAreReadAsText) {
  expect_normalized({
      {"mã ENTOKEN3 nhé", "mã e nờ tê ô ca e nờ ba nhé"},
      {"entoken0@gmail.com", "<en>entoken</en> không a còng <en>g mail</en> chấm com"},
      {"https://entoken0.com", "<en>https</en> <en>entoken</en> không chấm com"},
      {"file_entoken0.txt",
       "<en>file</en> gạch dưới <en>entoken</en> không chấm <en>txt</en>"},
      // After a slash form: read as any letters glued there, never as a key.
      {"12/3entoken0", "mười hai trên ba e nờ tê ô ca e nờ không"},
      {"1/2ENTOKEN1x2", "một trên hai e nờ tê ô ca e nờ một nhân hai"},
      {"12/3Aentoken0&", "mười hai trên ba a e nờ tê ô ca e nờ không và"},
  });
}

TEST(NormalizeMasks, ManyChunksNextToLookAlikesEachComeBackInPlace) {
  std::string text;
  std::string expected;
  for (int i = 0; i < 13; ++i) {
    text += "<en>C" + std::to_string(i) + "</en>a" + std::to_string(i) + "@x.com ENTOKEN" +
            std::to_string(i) + " ";
  }
  const std::string out = Normalizer::normalize(text);
  for (int i = 0; i < 13; ++i) {
    EXPECT_EQ(occurrences(out, "<en>C" + std::to_string(i) + "</en>"), 1u) << out;
  }
  EXPECT_EQ(occurrences(out, "mask"), 0u) << out;
  EXPECT_EQ(occurrences(out, "\uFDD0"), 0u) << out;
}

TEST(NormalizeMasks, CallerKeysAmongTenThousandMasks) {
  // Beyond 10,000 masks the keys grow wider; a caller's word of either width
  // still comes back as written, and nothing of the pipeline's leaks.
  std::string text = "maskaaaa maskkbaaaak <en>X</en> ";
  for (int i = 0; i < 10005; ++i) text += "a@b.vn ";
  text += "maskkbaaaak maskjjjj";
  const std::string out = Normalizer::normalize(text);
  EXPECT_EQ(out.rfind("maskaaaa maskkbaaaak <en>X</en> <en>a</en> a còng", 0), 0u)
      << out.substr(0, 80);
  EXPECT_EQ(out.substr(out.size() - 20), "maskkbaaaak maskjjjj");
  EXPECT_EQ(occurrences(out, "mask"), 4u);
  EXPECT_EQ(occurrences(out, "a còng"), 10005u);
}

// ---------------------------------------------------------------------------
// Addresses over letters beyond ASCII

TEST(NormalizeAddresses, EveryDelimiterIsReadWhateverLetterFollows) {
  expect_normalized({
      {"https://vi.wikipedia.org/wiki/hà",
       "<en>https</en> <en>v i</en> chấm <en>wikipedia</en> chấm o rờ gờ gạch <en>wiki</en> "
       "gạch hà"},
      {"https://x.vn/?q=phở",
       "<en>https</en> <en>x</en> chấm <en>v n</en> gạch hỏi <en>q</en> bằng phở"},
      {"https://b.com/#mục", "<en>https</en> <en>b</en> chấm com gạch thăng mục"},
      // The sentence's full stop stays out of the address.
      {"Xem https://vi.wikipedia.org/wiki/Hà_Nội.",
       "xem <en>https</en> <en>v i</en> chấm <en>wikipedia</en> chấm o rờ gờ gạch "
       "<en>wiki</en> gạch hà gạch dưới nội."},
      {"xem shop.vn/hàng-mới nhé",
       "xem <en>shop</en> chấm <en>v n</en> gạch hàng gạch ngang mới nhé"},
      {"/home/người/tài_liệu", "gạch <en>home</en> gạch người gạch tài gạch dưới liệu"},
  });
}

TEST(NormalizeAddresses, HostsBeyondAsciiAreReadToTheirEnd) {
  expect_normalized({
      {"https://đà.vn/a", "<en>https</en> đà chấm <en>v n</en> gạch <en>a</en>"},
      {"http://ví.dụ/đường", "<en>http</en> ví chấm dụ gạch đường"},
      {"https://tiếng.việt.vn", "<en>https</en> tiếng chấm việt chấm <en>v n</en>"},
      {"Truy cập www.báo.vn/tin",
       "truy cập <en>www</en> chấm báo chấm <en>v n</en> gạch <en>tin</en>"},
      {"www.ví-dụ.com/a", "<en>www</en> chấm ví gạch ngang dụ chấm com gạch <en>a</en>"},
      {"ftp://máy.vn/tệp.txt",
       "<en>f t p</en> máy chấm <en>v n</en> gạch tệp chấm <en>txt</en>"},
      {"Xem https://đà.vn/?q=phở#mục.",
       "xem <en>https</en> đà chấm <en>v n</en> gạch hỏi <en>q</en> bằng phở thăng mục."},
      // A user part is read with its address, not masked apart.
      {"https://user@đà.vn/x",
       "<en>https</en> <en>user</en> a còng đà chấm <en>v n</en> gạch <en>x</en>"},
      {"xem https://x.vn và www.đà.vn/a nhé",
       "xem <en>https</en> <en>x</en> chấm <en>v n</en> và <en>www</en> chấm đà chấm "
       "<en>v n</en> gạch <en>a</en> nhé"},
  });
}

TEST(NormalizeAddresses, APieceThatIsNoLetterKeepsTheDelimiterBeforeIt) {
  expect_normalized({
      {"https://x.vn/😀", "<en>https</en> <en>x</en> chấm <en>v n</en> gạch"},
      {"https://x.vn/©", "<en>https</en> <en>x</en> chấm <en>v n</en> gạch bản quyền"},
      {"xem https://x.vn/😀/abc nhé",
       "xem <en>https</en> <en>x</en> chấm <en>v n</en> gạch gạch <en>abc</en> nhé"},
  });
}

// ---------------------------------------------------------------------------
// Zero-led digit runs inside addresses

TEST(NormalizeAddresses, ZeroLedDigitRunsAreReadDigitByDigit) {
  expect_normalized({
      {"0912345678@gmail.com",
       "không chín một hai ba bốn năm sáu bảy tám a còng <en>g mail</en> chấm com"},
      {"email 007bond@x.vn",
       "email không không bảy <en>bond</en> a còng <en>x</en> chấm <en>v n</en>"},
      // Without a leading zero a run is still one number.
      {"2024@abc.vn",
       "hai nghìn không trăm hai mươi bốn a còng <en>abc</en> chấm <en>v n</en>"},
  });
}

}  // namespace
}  // namespace vyr::vi_normalizer
