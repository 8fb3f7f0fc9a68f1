// E-mail addresses: the address pattern, each side of an address, the common
// provider domains and the whole pass.
#include "vi_normalizer/email.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "vi_normalizer/resources.hpp"

namespace vyr::vi_normalizer {
namespace {

struct Case {
  std::string_view input;
  std::string_view expected;
};

std::vector<std::string> matches_of(const text::Regex& re, std::string_view s) {
  std::vector<std::string> out;
  re.for_each(s, [&](const text::Captures& m) { out.emplace_back(m.str()); });
  return out;
}

// --- RE_EMAIL -----------------------------------------------------------------

TEST(EmailPattern, FindsWholeAddressesOnly) {
  struct PatternCase {
    std::string_view text;
    std::vector<std::string> matches;
  };
  const PatternCase cases[] = {
      // The final full stop of a sentence stays out.
      {"Gửi về an.le@shop.vn.", {"an.le@shop.vn"}},
      // Case-insensitive.
      {"JOHN.DOE@EXAMPLE.COM", {"JOHN.DOE@EXAMPLE.COM"}},
      // No word boundary before a leading ".", "%", "+" or "-": the match
      // starts at the first word character.
      {" .abc@x.com", {"abc@x.com"}},
      {"+84abc@x.com", {"84abc@x.com"}},
      {"_abc@x.com", {"_abc@x.com"}},
      {"a@b.com, c@d.vn", {"a@b.com", "c@d.vn"}},
      // The top level needs two letters and a word boundary after them.
      {"a@b.c", {}},
      {"a@b.c1", {}},
      {"a@b", {}},
      {"@b.com", {}},
      // The Kelvin sign folds to "k" under the case-insensitive flag.
      {"\u212Ai@x.com", {"\u212Ai@x.com"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text));
    EXPECT_EQ(matches_of(RE_EMAIL(), c.text), c.matches);
  }
}

// --- find_emails: the engine's matches, found in linear time ------------------

std::vector<std::pair<size_t, size_t>> engine_spans(std::string_view s) {
  std::vector<std::pair<size_t, size_t>> out;
  RE_EMAIL().for_each(s, [&](const text::Captures& m) { out.emplace_back(m.start(0), m.end(0)); });
  return out;
}

TEST(FindEmails, AgreesWithTheEngineOnRandomTexts) {
  // Characters that decide the local run, its word boundaries and the tail:
  // both folding letters, a non-ASCII word character and a non-word one.
  const std::vector<std::string_view> alphabet = {
      "a",   "Z",   "c",  "o",  "m",   "1",  ".",  ".",      "-",      "_",
      "%",   "+",   "@",  "@",  " ",   ",",  "é",  "\u0131", "\u0301", "ß",
      "\u212A", "\u017F", ".com", ".vn", "x@", "@b", ".co", "ab"};
  uint64_t state = 0x9E3779B97F4A7C15u;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const size_t length = next() % 40;
    for (size_t i = 0; i < length; ++i) text += alphabet[next() % alphabet.size()];
    ASSERT_EQ(find_emails(text), engine_spans(text)) << text;
  }
}

TEST(FindEmails, HandWrittenShapes) {
  const std::string_view texts[] = {
      "a@b.com@c.com",      "x a@b.co.uk y",        "é.abc@x.com",       "éa@x.com",
      "a.@x.com",           "..a@x.com",            "%a@x.com-b@y.vn",   "a@b.com,c@d.vn",
      "\u212A@x.com",       "a@b.c\u212A",          "a@b.cé",            "a@b.com\u0301",
      "ab@@cd.com",         "a@-.com",              "a@.com",            "a@b..com",
  };
  for (std::string_view t : texts) {
    SCOPED_TRACE(std::string(t));
    EXPECT_EQ(find_emails(t), engine_spans(t));
  }
}

TEST(FindEmails, LongRunsOfAddressCharacters) {
  // The engine alone would rescan these runs from each of their word
  // boundaries: quadratic.
  std::string dots;
  for (int i = 0; i < 100000; ++i) dots += "a.";
  EXPECT_TRUE(find_emails(dots + " @").empty());
  const auto spans = find_emails(dots + "b@x.com");
  ASSERT_EQ(spans.size(), 1u);
  EXPECT_EQ(spans[0], std::make_pair(size_t{0}, dots.size() + 7));
  std::string ats;
  for (int i = 0; i < 50000; ++i) ats += "a@b.";
  EXPECT_EQ(find_emails(ats).size(), 0u);
}

// --- one side of an address ---------------------------------------------------

TEST(EmailPart, LocalSide) {
  const Case cases[] = {
      {"sales.team", "__start_en__sales__end_en__ chấm __start_en__team__end_en__"},
      // A "." on the local side is always "chấm", a suffix after it an English word.
      {"info.com", "__start_en__info__end_en__ chấm __start_en__com__end_en__"},
      {"ab12cd", "__start_en__ab__end_en__ mười hai __start_en__cd__end_en__"},
      // A digit piece is one cardinal, not digit by digit...
      {"2024", "hai nghìn không trăm hai mươi bốn"},
      // ...unless it is led by "0": then it is a code, and no zero is lost.
      {"0912345678", "không chín một hai ba bốn năm sáu bảy tám"},
      {"ab007", "__start_en__ab__end_en__ không không bảy"},
      {"0", "không"},
      {"x_y-z+1",
       "__start_en__x__end_en__ gạch dưới __start_en__y__end_en__ gạch ngang "
       "__start_en__z__end_en__ cộng một"},
      // Letter runs keep no case and are never spelled.
      {"John.DOE", "__start_en__john__end_en__ chấm __start_en__doe__end_en__"},
      // Empty pieces between two delimiters are skipped.
      {"a..b", "__start_en__a__end_en__ chấm chấm __start_en__b__end_en__"},
      {"a__", "__start_en__a__end_en__ gạch dưới gạch dưới"},
      // Any other character: read character by character.
      {"a%b", "a % bê"},
      {"x%20", "ích % hai không"},
      // The Kelvin sign lower-cases to "k", read "ca".
      {"\u212Ai", "ca i"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input));
    EXPECT_EQ(normalize_email_part(c.input, false), c.expected);
  }
}

TEST(EmailPart, DomainSideSuffixLookahead) {
  const Case cases[] = {
      {"shop.vn", "__start_en__shop__end_en__ chấm __start_en__v n__end_en__"},
      {"shop.xyz", "__start_en__shop__end_en__ chấm __start_en__xyz__end_en__"},
      {"mail.Company.COM.VN",
       "__start_en__mail__end_en__ chấm __start_en__company__end_en__ chấm com chấm "
       "__start_en__v n__end_en__"},
      {"x.org", "__start_en__x__end_en__ chấm o rờ gờ"},
      // The look-ahead passes over delimiters, which then say nothing.
      {"a.-com", "__start_en__a__end_en__ chấm com"},
      {"a..com", "__start_en__a__end_en__ chấm com"},
      {"a.-.-com", "__start_en__a__end_en__ chấm com"},
      // When the word found is no suffix, reading goes on right after the dot.
      {"a.-.-zz",
       "__start_en__a__end_en__ chấm gạch ngang chấm gạch ngang __start_en__zz__end_en__"},
      // A remembered look-ahead must not be reused past the word it found.
      {"a.x.com", "__start_en__a__end_en__ chấm __start_en__x__end_en__ chấm com"},
      {"a.x.y.io",
       "__start_en__a__end_en__ chấm __start_en__x__end_en__ chấm __start_en__y__end_en__ "
       "chấm __start_en__i o__end_en__"},
      // Nothing after the dot.
      {"a.", "__start_en__a__end_en__ chấm"},
      // A suffix not after a dot is an ordinary word on this side.
      {"net-x.com", "__start_en__net__end_en__ gạch ngang __start_en__x__end_en__ chấm com"},
      {"123.vn", "một trăm hai mươi ba chấm __start_en__v n__end_en__"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input));
    EXPECT_EQ(normalize_email_part(c.input, true), c.expected);
  }
}

TEST(EmailPart, LongDelimiterRunStaysLinear) {
  // Every dot of «a.-.-.-…zz» looks ahead to the same word; a rescan per dot
  // would make this run take minutes.
  std::string domain = "a";
  for (int i = 0; i < 100000; ++i) domain += ".-";
  domain += "zz";
  std::string expected = "__start_en__a__end_en__";
  for (int i = 0; i < 100000; ++i) expected += " chấm gạch ngang";
  expected += " __start_en__zz__end_en__";
  EXPECT_EQ(normalize_email_part(domain, true), expected);
}

// --- whole addresses ---------------------------------------------------------

TEST(EmailAddress, ReadsBothSides) {
  const Case cases[] = {
      {"sales.team@shop.vn",
       "__start_en__sales__end_en__ chấm __start_en__team__end_en__ a còng "
       "__start_en__shop__end_en__ chấm __start_en__v n__end_en__"},
      {"JOHN@SHOP.VN",
       "__start_en__john__end_en__ a còng __start_en__shop__end_en__ chấm "
       "__start_en__v n__end_en__"},
      {"ab12cd@x.io",
       "__start_en__ab__end_en__ mười hai __start_en__cd__end_en__ a còng "
       "__start_en__x__end_en__ chấm "
       "__start_en__i o__end_en__"},
      {"0912345678@x.vn",
       "không chín một hai ba bốn năm sáu bảy tám a còng __start_en__x__end_en__ chấm "
       "__start_en__v n__end_en__"},
      {"2024@abc.edu",
       "hai nghìn không trăm hai mươi bốn a còng __start_en__abc__end_en__ chấm "
       "__start_en__edu__end_en__"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input));
    EXPECT_EQ(read_email_address(c.input), c.expected);
  }
}

TEST(EmailAddress, CommonDomainsTakeTheirStoredReadingInAnyCase) {
  ASSERT_EQ(COMMON_EMAIL_DOMAINS().size(), 8u);
  for (const auto& [domain, reading] : COMMON_EMAIL_DOMAINS()) {
    SCOPED_TRACE(std::string(domain));
    std::string upper(domain);
    for (char& ch : upper) {
      if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    }
    const std::string expected = "__start_en__an__end_en__ a còng " + std::string(reading);
    EXPECT_EQ(read_email_address("an@" + std::string(domain)), expected);
    EXPECT_EQ(read_email_address("an@" + upper), expected);
    // A sub-domain of a provider is read piece by piece.
    const std::string sub = "mail." + std::string(domain);
    EXPECT_EQ(read_email_address("an@" + sub),
              "__start_en__an__end_en__ a còng " + normalize_email_part(sub, true));
  }
}

TEST(EmailAddress, TextWithoutAtComesBackUnchanged) {
  EXPECT_EQ(read_email_address("shop.vn"), "shop.vn");
}

// --- the pass -----------------------------------------------------------------

TEST(NormalizeEmails, ReplacesEveryAddressAndCopiesTheRest) {
  const Case cases[] = {
      {"Email: An.Le@shop.vn.",
       "Email: __start_en__an__end_en__ chấm __start_en__le__end_en__ a còng "
       "__start_en__shop__end_en__ chấm __start_en__v n__end_en__."},
      // The unmatched leading mark stays in the text, unread.
      {"gửi +84abc@x.com",
       "gửi +tám mươi bốn __start_en__abc__end_en__ a còng __start_en__x__end_en__ chấm com"},
      {"a@b.com, c@d.vn",
       "__start_en__a__end_en__ a còng __start_en__b__end_en__ chấm com, "
       "__start_en__c__end_en__ a còng __start_en__d__end_en__ chấm __start_en__v n__end_en__"},
      {"không có địa chỉ @ nào", "không có địa chỉ @ nào"},
      {"a@b", "a@b"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input));
    EXPECT_EQ(normalize_emails(c.input), c.expected);
  }
}

}  // namespace
}  // namespace vyr::vi_normalizer
