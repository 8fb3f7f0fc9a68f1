// The phonemizer's shortcuts must give exactly what the general text
// operations give, for every character and in the contexts that matter.
#include "g2p/text_ops.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "text/unicode.hpp"

namespace vyr::g2p {
namespace {

std::string utf8(char32_t c) {
  std::string s;
  text::append_utf8(s, c);
  return s;
}

TEST(LowerWord, EveryCharacterAloneAndInsideAWord) {
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::string ch = utf8(c);
    ASSERT_EQ(lower_word(ch), text::to_lower(ch)) << std::hex << static_cast<uint32_t>(c);
    ASSERT_EQ(lower_letter(c), text::lower_char(c)) << std::hex << static_cast<uint32_t>(c);
    const std::string word = "ab" + ch + "đ";
    ASSERT_EQ(lower_word(word), text::to_lower(word)) << std::hex << static_cast<uint32_t>(c);
  }
}

TEST(LowerWord, ContextsAndBytes) {
  for (std::string_view word :
       {"", "chào", "CHÀO", "Hello", "hello", "x_Y9", "ΟΔΟΣ", "οδοσ", "ΣΑ", "İstanbul", "ǅemal",
        "ǆ", "ß", "ẞ", "\xff", "A\xff" "B", "\xe1\xba", "\xc3\x80\xed\xa0\x80Z"}) {
    EXPECT_EQ(lower_word(word), text::to_lower(word)) << word;
  }
}

TEST(TrimEdges, EveryCharacterAtEitherEnd) {
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::string ch = utf8(c);
    for (const std::string& s : {ch, ch + "a", "a" + ch, ch + "ɓa" + ch, ch + ch}) {
      ASSERT_EQ(trim_edges(s), text::trim(s)) << std::hex << static_cast<uint32_t>(c);
    }
  }
}

TEST(TrimEdges, IllFormedAndEmpty) {
  for (std::string_view s : {"", " ", "\x1f", "a\x80", "\x80 ", " \xe2\x80", "\xe2\x80\xa8",
                             "ɓa\xc2", "\xc2\xa0\xc2\xa0", "\xe3\x80\x80x\xe1\x9a\x80"}) {
    EXPECT_EQ(trim_edges(s), text::trim(s)) << s;
  }
}

}  // namespace
}  // namespace vyr::g2p
