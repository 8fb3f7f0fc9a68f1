#include "g2p/tokenizer.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "g2p/g2p.hpp"
#include "g2p_dict_builder.hpp"
#include "text/regex.hpp"
#include "text/unicode.hpp"

namespace vyr::g2p {
namespace {

using testing::build_dict;
using testing::TempFile;

class TokenizerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    file_ = std::make_unique<TempFile>(build_dict(
        {{"chào", "caw"},
         {"empty", "<en>"},
         {"en", "ɛn"},
         {"hello", " <en>hə<en>ˈloʊ "},
         {"it's", "its"},
         {"xin", " sin "}},
        {{"me", {"mɛ", " <en>mi "}},
         {"on", {" ɔn ", "<en>ɒn"}},
         {"vi", {"<en>vi", ""}}}));
    engine_ = std::make_unique<G2PEngine>(file_->path());
  }
  static void TearDownTestSuite() {
    engine_.reset();
    file_.reset();
  }

  // «lang:text=phonemes» per token («lang:text» without phonemes), "|"-joined;
  // U+001F shown as "^".
  static std::string tokens_of(std::string_view text) {
    TokenList list = tokenize(*engine_, text);
    std::string out;
    for (const Token& t : list.tokens) {
      if (!out.empty()) out += " | ";
      out += lang_name(t.lang);
      out += ':';
      out += t.text;
      if (t.phonemes) {
        out += '=';
        for (char c : *t.phonemes) out += c == '\x1f' ? '^' : c;
      }
    }
    return out;
  }

  static std::unique_ptr<TempFile> file_;
  static std::unique_ptr<G2PEngine> engine_;
};

std::unique_ptr<TempFile> TokenizerTest::file_;
std::unique_ptr<G2PEngine> TokenizerTest::engine_;

TEST_F(TokenizerTest, WordsPunctuationAndLookups) {
  struct Case {
    std::string_view text, tokens;
  } cases[] = {
      {"", ""},
      {" \t\n\u00a0", ""},
      // merged values: "<en>" decides the language and is removed; trimmed
      {"Xin CHÀO", "vi:Xin=sin | vi:CHÀO=caw"},
      {"hello empty", "en:hello=həˈloʊ | en:empty="},
      // both readings: a dual pronunciation; the Vietnamese side keeps "<en>"
      {"on me vi", "common:on=^ɔn^ɒn^ | common:me=^mɛ^mi^ | common:vi=^<en>vi^^"},
      // absent words: Vietnamese letter or not
      {"Đi abc 123 x_y", "vi:Đi | en:abc | en:123 | en:x_y"},
      // apostrophes join word parts only between word characters
      {"it's ’tis o’clock' '",
       "vi:it's=its | punct:’=’ | en:tis | en:o’clock | punct:'=' | punct:'='"},
      {"a,b!", "en:a | punct:,=, | en:b | punct:!=!"},
  };
  for (const Case& c : cases) EXPECT_EQ(tokens_of(c.text), c.tokens) << c.text;
}

TEST_F(TokenizerTest, EnglishSegments) {
  struct Case {
    std::string_view text, tokens;
  } cases[] = {
      // tags in any case; the text around forms separate words
      {"xin<EN>Hello, On</En>chào",
       "vi:xin=sin | en:Hello=həˈloʊ | punct:,=, | en:On=ɒn | vi:chào=caw"},
      // inside a segment only English readings count
      {"<en>xin vi me zz</en>", "en:xin=sin | en:vi | en:me=mi | en:zz"},
      // an inner opening tag vanishes and the letters around it join
      {"<en>ab<eN>c</en>", "en:abc"},
      // the first closing tag ends the segment
      {"<en>a</en>b</en>", "en:a | en:b | punct:<=< | punct:/=/ | vi:en=ɛn | punct:>=>"},
      {"<en> </en><en></en>", ""},
      // a segment runs across line feeds, as the normaliser keeps a chunk
      {"<en>hello\n</en>", "en:hello=həˈloʊ"},
      {"<en>Hello\nOn</en> xin", "en:Hello=həˈloʊ | en:On=ɒn | vi:xin=sin"},
      // with no closing tag after it, an opening tag is ordinary text
      {"<en>on", "punct:<=< | vi:en=ɛn | punct:>=> | common:on=^ɔn^ɒn^"},
  };
  for (const Case& c : cases) EXPECT_EQ(tokens_of(c.text), c.tokens) << c.text;
}

// The tokens RE_TOKEN's matches give one by one: each match tokenised alone.
std::string tokens_match_by_match(std::string_view text,
                                  std::string (*tokens_of)(std::string_view)) {
  std::string out;
  RE_TOKEN().for_each(text, [&](const text::Captures& m) {
    const std::string part = tokens_of(m.str());
    if (!out.empty() && !part.empty()) out += " | ";
    out += part;
  });
  return out;
}

TEST_F(TokenizerTest, SegmentsAreWhereTheTokenPatternFindsThem) {
  // Tags in every position the segment rule cares about: unclosed, closed
  // on the line or only after a line feed, nested, cut short, and in runs.
  const std::string_view pieces[] = {"<en>", "</en>", "<EN>", "</eN>", "<e", "</", "<", ">",
                                     "/",    "en",    "on",   "chào", "it's", "’", " ",
                                     "\n",  "\r",   ".",    "\t"};
  std::vector<std::string> texts = {
      "a <en>b</en> <en>c", "<en><en></en></en>", "<en>x\n<en>y</en>", "<en\n>a</en>",
      "<en>a</\nen>", "<<en>>a<</en>>", "<en>a</en\n", "x<en>\r</en>y"};
  uint32_t state = 2026;
  for (int i = 0; i < 3000; ++i) {
    std::string text;
    const int length = 1 + static_cast<int>(state % 12);
    for (int k = 0; k < length; ++k) {
      state = state * 1664525u + 1013904223u;  // a fixed sequence: the same texts every run
      text += pieces[(state >> 16) % std::size(pieces)];
    }
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    ASSERT_EQ(tokens_of(text), tokens_match_by_match(text, &tokens_of)) << text;
  }
}

TEST(TokenPatterns, WordsAndCharactersAlikeWithAndWithoutCaseFolding) {
  // Outside segments the tokenizer matches RE_TAG_CONTENT where RE_TOKEN has
  // (?i): the two must cut every character alike.
  std::string all;
  for (char32_t c = 1; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    text::append_utf8(all, c);
    if (c % 7 == 0) all += '\'';  // apostrophes between all kinds of characters
  }
  std::vector<std::string> by_token, by_content;
  RE_TOKEN().for_each(all, [&](const text::Captures& m) { by_token.emplace_back(m.str()); });
  RE_TAG_CONTENT().for_each(all, [&](const text::Captures& m) { by_content.emplace_back(m.str()); });
  ASSERT_EQ(by_token.size(), by_content.size());
  for (size_t k = 0; k < by_token.size(); ++k) ASSERT_EQ(by_token[k], by_content[k]) << k;
}

TEST_F(TokenizerTest, LongLinesOfUnclosedTagsStayLinear) {
  // A line of 100,000 characters; the token pattern alone would rescan the
  // rest of the line from every "<en>".
  std::string tags;
  for (int i = 0; i < 25'000; ++i) tags += "<en>";
  const TokenList list = tokenize(*engine_, tags);
  ASSERT_EQ(list.tokens.size(), 75'000u);
  EXPECT_EQ(list.tokens[1].text, "en");
  std::string closed = tags + "on</en>";  // now all of it is one segment
  const TokenList one = tokenize(*engine_, closed);
  ASSERT_EQ(one.tokens.size(), 1u);
  EXPECT_EQ(one.tokens[0].text, "on");
  EXPECT_EQ(one.tokens[0].phonemes, "ɒn");
}

// ---- propagate_language ------------------------------------------------------

// "V"/"E" decided words, "C" a word with both readings, anything else a
// punctuation token with that text.
std::vector<Token> tokens_from(const std::string& words, std::vector<std::string>& storage) {
  std::istringstream in(words);
  for (std::string item; in >> item;) storage.push_back(item);
  std::vector<Token> tokens;
  for (const std::string& item : storage) {
    Lang lang = item == "V" ? Lang::kVi : item == "E" ? Lang::kEn : item == "C" ? Lang::kCommon
                                                                                 : Lang::kPunct;
    tokens.push_back(Token{lang, item, std::nullopt});
  }
  return tokens;
}

std::string labels(const std::vector<Token>& tokens) {
  std::string out;
  for (const Token& t : tokens) {
    if (!out.empty()) out += ' ';
    out += t.lang == Lang::kPunct ? std::string(t.text) : t.lang == Lang::kVi ? "v" : "e";
  }
  return out;
}

TEST(PropagateLanguage, RunsTakeTheNearestDecidedNeighbour) {
  struct Case {
    std::string words, expected;
  } cases[] = {
      {"C C", "v v"},                          // nothing on either side
      {"E , C , V", "e , v , v"},              // tie: Vietnamese
      {"V , C , E", "v , v , e"},              // tie: Vietnamese, not the word after
      {"E , C C , E", "e , e e , e"},          // tie between two English words
      {"E , C , , V", "e , e , , v"},          // strictly nearer backward wins
      {"E , , C , V", "e , , v , v"},
      {"V . C C E", "v . e e e"},              // boundary behind: right only
      {"E C ? V", "e e ? v"},                  // boundary ahead: left only
      {"E ( C ) V", "e ( v ) v"},              // both sides blocked
      {"V - C ' E", "v - v ' e"},              // "-" and "'" are no boundaries: a tie
      {"C , C E", "e , e e"},                  // forward passes over later runs
      {"E C , C", "e e , e"},                  // later run sees the settled earlier one
      {"E C , C V", "e e , v v"},
      {"V ; C", "v ; v"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> storage;
    std::vector<Token> tokens = tokens_from(c.words, storage);
    propagate_language(tokens);
    EXPECT_EQ(labels(tokens), c.expected) << c.words;
  }
}

TEST(PropagateLanguage, ManyRunsStayLinear) {
  // 200,000 runs with no decided word: each forward search would otherwise
  // walk to the end of the list.
  std::vector<Token> tokens;
  for (int i = 0; i < 200'000; ++i) {
    tokens.push_back(Token{Lang::kCommon, "c", std::nullopt});
    tokens.push_back(Token{Lang::kPunct, "-", std::nullopt});
  }
  tokens.push_back(Token{Lang::kEn, "e", std::nullopt});
  propagate_language(tokens);
  EXPECT_EQ(tokens.front().lang, Lang::kEn);  // forward: the last word
  EXPECT_EQ(tokens[tokens.size() - 3].lang, Lang::kEn);
}

}  // namespace
}  // namespace vyr::g2p
