// Web addresses, paths and technical identifiers: which branch of the pattern
// takes a text, how one match is read, and the whole pass.
#include "vi_normalizer/technical.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "vi_normalizer/email.hpp"
#include "vi_normalizer/normalizer.hpp"
#include "vi_normalizer/slashes.hpp"

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

// --- pattern texts -------------------------------------------------------------------

// name → {"engine", "pattern"}, from the first record of each pattern in the
// conformance vectors of the pattern layer.
nlohmann::json recorded_patterns() {
  std::ifstream in(std::string(VYR_TEST_DATA_DIR) + "/patterns.jsonl", std::ios::binary);
  nlohmann::json texts = nlohmann::json::object();
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const nlohmann::json record = nlohmann::json::parse(line);
    const std::string name = record["name"].get<std::string>();
    if (!texts.contains(name)) {
      texts[name] = {{"engine", record["engine"]}, {"pattern", record["pattern"]}};
    }
  }
  return texts;
}

// The e-mail, technical and slash readers, with their own splitters.
TEST(TechnicalStringPatterns, AreTheRecordedTextsInTheirEngineRoles) {
  const nlohmann::json texts = recorded_patterns();
  ASSERT_FALSE(texts.empty()) << "tests/data/patterns.jsonl missing";
  const struct {
    const char* name;
    const text::Regex& re;
  } patterns[] = {
      {"RE_EMAIL", RE_EMAIL()},
      {"RE_EMAIL_SPLIT", RE_EMAIL_SPLIT()},
      {"RE_SUB_TOKENS", RE_SUB_TOKENS()},
      {"RE_TECHNICAL", RE_TECHNICAL()},
      {"RE_TECH_SPLIT", RE_TECH_SPLIT()},
      {"RE_NEG_FRAC", RE_NEG_FRAC()},
      {"RE_SLASH_ALNUM", RE_SLASH_ALNUM()},
      {"RE_SLASH_NUMBER", RE_SLASH_NUMBER()},
  };
  for (const auto& p : patterns) {
    ASSERT_TRUE(texts.contains(p.name)) << p.name;
    EXPECT_EQ(p.re.pattern(), texts[p.name]["pattern"].get<std::string>()) << p.name;
    const bool linear = texts[p.name]["engine"].get<std::string>() == "regex";
    EXPECT_EQ(p.re.engine(), linear ? text::Engine::kLinear : text::Engine::kBacktracking)
        << p.name;
  }
}

// --- RE_TECHNICAL ---------------------------------------------------------------

TEST(TechnicalPattern, BranchesAndBoundaries) {
  struct PatternCase {
    std::string_view text;
    std::vector<std::string> matches;
  };
  const PatternCase cases[] = {
      // Schemes, in any case; a trailing "/" is left out by the final boundary.
      {"xem https://example.com/path/ nhé", {"https://example.com/path"}},
      {"HTTPS://X.COM", {"HTTPS://X.COM"}},
      {"ftp://files.vn/a#b", {"ftp://files.vn/a#b"}},
      // "%" is no URI character: the address ends before it.
      {"http://a.vn/x%20y", {"http://a.vn/x"}},
      {"www.abc.com", {"www.abc.com"}},
      {"shop.vn/sale?id=1", {"shop.vn/sale?id=1"}},
      // "edu" is not among the suffixes of the domain branch.
      {"abc.edu", {}},
      // Absolute paths need no word character before the "/".
      {"/usr/local/bin", {"/usr/local/bin"}},
      {"km/h", {}},
      {"a/usr/bin", {}},
      {"C:\\Users\\data", {"C:\\Users\\data"}},
      {"report_2024.pdf", {"report_2024.pdf"}},
      {"REPORT.PDF", {"REPORT.PDF"}},
      // At one start the file-name branch comes before the identifier branch.
      {"app.config.v2", {"app.config"}},
      {"a.b.c.d", {"a.b.c.d"}},
      {"max_retry_count", {"max_retry_count"}},
      // Two parts are no identifier.
      {"max_retry", {}},
      // Four to eight hexadecimal groups.
      {"10:20:30:40", {"10:20:30:40"}},
      {"10:20:30", {}},
      {"fe80:0:0:0:1:2:3:4", {"fe80:0:0:0:1:2:3:4"}},
      {"xin chào", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text));
    EXPECT_EQ(matches_of(RE_TECHNICAL(), c.text), c.matches);
  }
}

// --- find_technical: the engine's matches, found in linear time ------------------

std::vector<std::pair<size_t, size_t>> engine_spans(std::string_view s) {
  std::vector<std::pair<size_t, size_t>> out;
  RE_TECHNICAL().for_each(s,
                          [&](const text::Captures& m) { out.emplace_back(m.start(0), m.end(0)); });
  return out;
}

struct XorShift {
  uint64_t state = 0x2545F4914F6CDD1Du;
  uint64_t operator()() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  }
};

void agree_on_random_texts(const std::vector<std::string_view>& alphabet, int rounds,
                           size_t max_pieces, XorShift& next) {
  for (int round = 0; round < rounds; ++round) {
    std::string text;
    const size_t length = next() % max_pieces;
    for (size_t i = 0; i < length; ++i) text += alphabet[next() % alphabet.size()];
    ASSERT_EQ(find_technical(text), engine_spans(text)) << text;
  }
}

std::string repeat(std::string_view piece, size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(FindTechnical, AgreesWithTheEngineOnRandomTexts) {
  // Pieces that start, extend and end each branch: schemes, suffixes,
  // extensions (some only as prefixes of longer words), separators, drive
  // and hex shapes, word and non-word neighbours beyond ASCII, a combining
  // mark, and the Kelvin sign and long s, which the case-insensitive letter
  // ranges take.
  XorShift first;
  agree_on_random_texts(
      {"a",      "b",      "f",      "h",    "s",    "x",      "K",       "1",        "0",
       "9",      ".",      "-",      "_",    "/",    "\\",     ":",       "?",        "#",
       "=",      "@",      "%",      " ",    "\u00e9", "\u0301", "\u212A", "\u017F",  "\u0663",
       "http://", "https://", "ftp://", "www.", ".com", ".vn",  ".info",   ".txt",     ".js",
       ".json",  ".so",    ".h",     "C:\\", "ff:",  "1.",     "/.",      "a.b",      "_x"},
      30000, 40, first);
  XorShift next;
  agree_on_random_texts(
      {"a",      "Z",     "x1",     "1",      "0",     "f",      "e",       ".",
       ".",      "-",     "_",      "/",      "/",     "\\",     ":",       "?",
       "#",      "~",     "=",      "&",      "'",     "@",      ",",       " ",
       "é",      "\u0301", "\u212A", "\u017F", "ß",    "\u2013", "http",    "https://",
       "ftp://", "www.",  ".com",   ".vn",    ".io",   ".info",  ".net",    ".txt",
       ".js",    ".json", ".jsx",   ".h",     ".so",   ".\u017Fh", ".config", "C:\\",
       "::",     "fe80",  "ab:",    "1:2",    "a-b",   "a.b",    "_x",      "HTTP://"},
      30000, 24, next);
  // Long stretches of a few characters, where runs and boundaries decide.
  agree_on_random_texts({"a", "1", ".", "-", "/", "_", ":", "é", " ", ".com", ".py", "f"}, 20000,
                        60, next);
}

TEST(FindTechnical, HandWrittenShapes) {
  const std::string_view texts[] = {
      "xem https://example.com/path/ nhé", "http://-", "httpſ://x", "HTTP://a.vn:80/x?y=1#z",
      "www.-",                            "a.b.com/x/", "x.comé",    "x.com/é",
      "\u00e9.com",                       "/./.",       "//",        "a//b",
      "C:\\a\\",                        "C:\\.",     "\u212A:\\x", "a.tar.gz",
      "x.json.",                          "x.jsé",      "x.\u017Fo",  "a_b_c",
      "a.b_c\u00e9",                      "a-b-c_",     "1a.b.c",    "ab.1.2",
      "1:2:3:4",                          "1:2:3:4:5:6:7:8:9", "12345:1:2:3", "a:b:c:dg",
      "fe80::1:2:3",                      "app.config.v2", "",      "....",
      "https://x.io/a?b=1#c",  "xem www.abc.com.vn nhé", "shop.vn/sale/",     "mở /usr/bin/",
      "C:\\Users\\a",           "report_2024.pdf",        "max_retry_count",   "fe80:0:0:1",
      "a/b//c",                 "é/usr",                  "/a",                "http://",
      "http:///",               "a.jsonx.js",             "1.1.1.1",           "a.b.c--a.b.c",
      "a_b_c_d.e",              "x.comx.com",             "a.com/////",        "a.com/é",
      "aaaa:b:c:d:e",           "K:\\x",                  "www.",              "ftp://a b",
      "//////a",                "_.com",                  "é.com",             "-.txt",
  };
  for (std::string_view t : texts) {
    SCOPED_TRACE(std::string(t));
    EXPECT_EQ(find_technical(t), engine_spans(t));
  }
}

TEST(FindTechnical, LongRunsStayLinear) {
  // The engine would walk each of these runs to its end again from every
  // word boundary in it and fail: quadratic, seconds for 20 KB.
  for (std::string_view shape : {"1.1", "1-", "/.", "/-"}) {
    std::string run;
    while (run.size() < 100000) run += shape;
    run += ' ';
    EXPECT_TRUE(find_technical(run).empty()) << shape;
    EXPECT_EQ(normalize_technical(run), run) << shape;
  }
  const size_t n = 200000;
  // No branch can match anywhere in these runs.
  EXPECT_TRUE(find_technical(repeat("1.", n)).empty());
  EXPECT_TRUE(find_technical(repeat("1-", n)).empty());
  EXPECT_TRUE(find_technical(repeat("/.", n)).empty());
  EXPECT_TRUE(find_technical(repeat(".", n)).empty());
  EXPECT_TRUE(find_technical(repeat("http://", n / 8) + "/").size() <= 1);
  // A suffix at the very end makes the whole run one address.
  const std::string long_domain = repeat("1.", n) + "com";
  EXPECT_EQ(find_technical(long_domain),
            (std::vector<std::pair<size_t, size_t>>{{0, long_domain.size()}}));
  // Short identifiers separated by dashes: one match each.
  EXPECT_EQ(find_technical(repeat("a.b.c--", n / 4)).size(), n / 4);
  EXPECT_EQ(find_technical(repeat("a.txt ", n / 4)).size(), n / 4);
  // One identifier of 400 KB is one match, its final "." left out, read whole.
  const std::string huge = repeat("a.", n);
  ASSERT_EQ(find_technical(huge), (std::vector<std::pair<size_t, size_t>>{{0, huge.size() - 1}}));
  const std::string reading = normalize_technical(huge);
  const std::string_view first = "__start_en__a__end_en__ chấm __start_en__a__end_en__ chấm ";
  EXPECT_EQ(reading.compare(0, first.size(), first), 0);
  EXPECT_EQ(reading.substr(reading.size() - 11), "__end_en__.");
}

// --- the letter rule ----------------------------------------------------------------

TEST(TechnicalMatch, LetterRule) {
  const Case cases[] = {
      // All upper-case: spelled up to 4 letters.
      {"API", "__start_en__a p i__end_en__"},
      {"HTML", "__start_en__h t m l__end_en__"},
      {"HTTPS", "__start_en__https__end_en__"},
      // Otherwise spelled below 3 letters.
      {"js", "__start_en__j s__end_en__"},
      {"Go", "__start_en__g o__end_en__"},
      {"cpp", "__start_en__cpp__end_en__"},
      {"Html", "__start_en__html__end_en__"},
      // Each token of a mixed piece by itself; digits one by one.
      {"v2", "__start_en__v__end_en__ hai"},
      {"abc123", "__start_en__abc__end_en__ một hai ba"},
      {"API2x", "__start_en__a p i__end_en__ hai __start_en__x__end_en__"},
      {"2024", "hai không hai bốn"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input));
    EXPECT_EQ(normalize_technical_match(c.input), c.expected);
  }
}

TEST(TechnicalMatch, Schemes) {
  const Case cases[] = {
      {"https://x.io",
       "__start_en__https__end_en__ __start_en__x__end_en__ chấm __start_en__i o__end_en__"},
      // A scheme not all upper-case is spelled below 4 letters.
      {"http://x.vn",
       "__start_en__http__end_en__ __start_en__x__end_en__ chấm __start_en__v n__end_en__"},
      {"HTTP://x.vn",
       "__start_en__h t t p__end_en__ __start_en__x__end_en__ chấm __start_en__v n__end_en__"},
      {"ftp://x.vn",
       "__start_en__f t p__end_en__ __start_en__x__end_en__ chấm __start_en__v n__end_en__"},
      {"FTP://x.vn",
       "__start_en__f t p__end_en__ __start_en__x__end_en__ chấm __start_en__v n__end_en__"},
      {"HTTPS://x.vn",
       "__start_en__https__end_en__ __start_en__x__end_en__ chấm __start_en__v n__end_en__"},
      // Everything before the first "://" is the scheme, said whole.
      {"www.x.com/a://b", "__start_en__www.x.com/a__end_en__ __start_en__b__end_en__"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input));
    EXPECT_EQ(normalize_technical_match(c.input), c.expected);
  }
}

TEST(TechnicalMatch, PathsAndDelimiters) {
  const Case cases[] = {
      {"/usr/local/bin",
       "gạch __start_en__usr__end_en__ gạch __start_en__local__end_en__ gạch "
       "__start_en__bin__end_en__"},
      {"C:\\Users\\data",
       "__start_en__c__end_en__ hai chấm gạch __start_en__users__end_en__ gạch "
       "__start_en__data__end_en__"},
      {"report_2024.pdf",
       "__start_en__report__end_en__ gạch dưới hai không hai bốn chấm __start_en__pdf__end_en__"},
      {"max_retry_count",
       "__start_en__max__end_en__ gạch dưới __start_en__retry__end_en__ gạch dưới "
       "__start_en__count__end_en__"},
      {"https://x.vn/docs#intro",
       "__start_en__https__end_en__ __start_en__x__end_en__ chấm __start_en__v n__end_en__ gạch "
       "__start_en__docs__end_en__ thăng __start_en__intro__end_en__"},
      {"http://x.vn/a?q=1&x=2",
       "__start_en__http__end_en__ __start_en__x__end_en__ chấm __start_en__v n__end_en__ gạch "
       "__start_en__a__end_en__ hỏi __start_en__q__end_en__ bằng một và __start_en__x__end_en__ "
       "bằng hai"},
      {"10:20:30:40", "một không hai chấm hai không hai chấm ba không hai chấm bốn không"},
      // "@" reads as in an e-mail address, the user part like the rest.
      {"https://user@host.com/path",
       "__start_en__https__end_en__ __start_en__user__end_en__ a còng __start_en__host__end_en__ "
       "chấm com gạch __start_en__path__end_en__"},
      {"https://x.com/@Ab2",
       "__start_en__https__end_en__ __start_en__x__end_en__ chấm com gạch a còng "
       "__start_en__a b__end_en__ hai"},
      // Another URI character: the piece is read character by character.
      {"a+b", "a + bê"},
      {"x~1", "ích ~ một"},
      // A lone space is read as itself; the one-pass squeeze leaves two of three.
      {"a b", "__start_en__a__end_en__  __start_en__b__end_en__"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input));
    EXPECT_EQ(normalize_technical_match(c.input), c.expected);
  }
}

TEST(TechnicalMatch, DomainSuffixes) {
  const Case cases[] = {
      {"www.abc.com", "__start_en__www__end_en__ chấm __start_en__abc__end_en__ chấm com"},
      {"abc.com.vn", "__start_en__abc__end_en__ chấm com chấm __start_en__v n__end_en__"},
      {"ABC.ORG", "__start_en__a b c__end_en__ chấm o rờ gờ"},
      // A suffix reads its fixed form anywhere, also without a dot before it.
      {"my-net.org", "__start_en__m y__end_en__ gạch ngang nét chấm o rờ gờ"},
      {"gov_io", "gờ o vê gạch dưới __start_en__i o__end_en__"},
      // The look-ahead passes over delimiters, which then say nothing...
      {"a./com", "__start_en__a__end_en__ chấm com"},
      {"a.-_com", "__start_en__a__end_en__ chấm com"},
      // ...but stops at "#".
      {"x.#com", "__start_en__x__end_en__ chấm thăng com"},
      // No suffix found: the delimiters after the dot are read.
      {"a./x", "__start_en__a__end_en__ chấm gạch __start_en__x__end_en__"},
      {"a.", "__start_en__a__end_en__ chấm"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input));
    EXPECT_EQ(normalize_technical_match(c.input), c.expected);
  }
}

// --- the pass ----------------------------------------------------------------------

TEST(NormalizeTechnical, ReplacesEveryMatchAndCopiesTheRest) {
  const Case cases[] = {
      {"xem https://example.com/path/ nhé",
       "xem __start_en__https__end_en__ __start_en__example__end_en__ chấm com gạch "
       "__start_en__path__end_en__/ nhé"},
      {"app.config.v2", "__start_en__app__end_en__ chấm __start_en__config__end_en__.v2"},
      {"a.b.c.d",
       "__start_en__a__end_en__ chấm __start_en__b__end_en__ chấm __start_en__c__end_en__ chấm "
       "__start_en__d__end_en__"},
      {"mở /usr/bin và C:\\tmp",
       "mở gạch __start_en__usr__end_en__ gạch __start_en__bin__end_en__ và "
       "__start_en__c__end_en__ hai chấm gạch __start_en__tmp__end_en__"},
      {"tốc độ 10 km/h", "tốc độ 10 km/h"},
      {"lúc 10:20:30", "lúc 10:20:30"},
      {"xin chào", "xin chào"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input));
    EXPECT_EQ(normalize_technical(c.input), c.expected);
  }
}

// The pattern's classes are ASCII, so a letter beyond ASCII stops its match:
// the address goes on to its last word character all the same, and each
// letter run beyond ASCII is a word of its own.
TEST(NormalizeTechnical, AddressesGoOnOverLettersBeyondAscii) {
  const Case cases[] = {
      {"https://vi.wikipedia.org/wiki/hà",
       "__start_en__https__end_en__ __start_en__v i__end_en__ chấm "
       "__start_en__wikipedia__end_en__ chấm o rờ gờ gạch __start_en__wiki__end_en__ gạch hà"},
      {"https://x.vn/?q=phở",
       "__start_en__https__end_en__ __start_en__x__end_en__ chấm __start_en__v n__end_en__ gạch "
       "hỏi __start_en__q__end_en__ bằng phở"},
      // The trailing "." and "/" stay out, as for an ASCII address.
      {"xem https://b.com/#mục.",
       "xem __start_en__https__end_en__ __start_en__b__end_en__ chấm com gạch thăng mục."},
      {"shop.vn/hàng-mới/ nhé",
       "__start_en__shop__end_en__ chấm __start_en__v n__end_en__ gạch hàng gạch ngang mới/ nhé"},
      // Digits and ASCII letters inside such a piece keep their own readings.
      {"www.a.com/Mục2x",
       "__start_en__www__end_en__ chấm __start_en__a__end_en__ chấm com gạch mục hai "
       "__start_en__x__end_en__"},
      {"/home/người/x",
       "gạch __start_en__home__end_en__ gạch người gạch __start_en__x__end_en__"},
      // A match it reaches over is part of it.
      {"https://a.com/hà/b.pdf",
       "__start_en__https__end_en__ __start_en__a__end_en__ chấm com gạch hà gạch "
       "__start_en__b__end_en__ chấm __start_en__pdf__end_en__"},
      // Words beyond ASCII with marks between them: each word is read as a
      // word, each mark through the tables.
      {"https://x.vn/?q=phở+bò+hà",
       "__start_en__https__end_en__ __start_en__x__end_en__ chấm __start_en__v n__end_en__ gạch "
       "hỏi __start_en__q__end_en__ bằng phở cộng bò cộng hà"},
      {"https://x.vn/?q=áo,dài+2",
       "__start_en__https__end_en__ __start_en__x__end_en__ chấm __start_en__v n__end_en__ gạch "
       "hỏi __start_en__q__end_en__ bằng áo , dài cộng hai"},
      // Strings that are no address do not go on.
      {"report.pdfé", "report.pdfé"},
      {"a.b.c-đ", "__start_en__a__end_en__ chấm __start_en__b__end_en__ chấm "
                  "__start_en__c__end_en__-đ"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input));
    EXPECT_EQ(normalize_technical(c.input), c.expected);
  }
}

// A host beyond ASCII stops the pattern before it matches anything: the
// scheme or «www.» still opens an address, read like any other to its end.
TEST(NormalizeTechnical, HostsBeyondAsciiAreAddresses) {
  const Case cases[] = {
      {"https://đà.vn/a",
       "__start_en__https__end_en__ đà chấm __start_en__v n__end_en__ gạch "
       "__start_en__a__end_en__"},
      {"HTTP://Ví.dụ/đường", "__start_en__h t t p__end_en__ ví chấm dụ gạch đường"},
      {"ftp://máy.vn/tệp.txt",
       "__start_en__f t p__end_en__ máy chấm __start_en__v n__end_en__ gạch tệp chấm "
       "__start_en__txt__end_en__"},
      // ASCII letters glued to the letter beyond ASCII stop the match as well.
      {"https://ađ.vn", "__start_en__https__end_en__ ađ chấm __start_en__v n__end_en__"},
      {"xem www.ví-dụ.com/a nhé",
       "xem __start_en__www__end_en__ chấm ví gạch ngang dụ chấm com gạch "
       "__start_en__a__end_en__ nhé"},
      {"WwW.báo.vn/?q=phở#mục",
       "__start_en__www__end_en__ chấm báo chấm __start_en__v n__end_en__ gạch hỏi "
       "__start_en__q__end_en__ bằng phở thăng mục"},
      // The sentence's full stop stays out; the next address is one of its own.
      {"https://đà.vn. www.x.vn",
       "__start_en__https__end_en__ đà chấm __start_en__v n__end_en__. __start_en__www__end_en__ "
       "chấm __start_en__x__end_en__ chấm __start_en__v n__end_en__"},
      // No opening: glued to a word before it, or no host after it.
      {"xhttps://đà.vn", "xhttps://đà.vn"},
      {"awww.đà", "awww.đà"},
      {"https:// đà", "https:// đà"},
      {"www.", "www."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input));
    EXPECT_EQ(normalize_technical(c.input), c.expected);
  }
}

// A symbol beyond ASCII is a piece of the address, so the delimiter before it
// keeps its reading: the symbol reads as the symbol table gives it, or not at
// all, as elsewhere in the text.
TEST(NormalizeTechnical, SymbolsBeyondAsciiArePiecesOfTheAddress) {
  const Case cases[] = {
      {"https://x.vn/😀",
       "__start_en__https__end_en__ __start_en__x__end_en__ chấm __start_en__v n__end_en__ gạch"},
      {"https://x.vn/©", "__start_en__https__end_en__ __start_en__x__end_en__ chấm "
                         "__start_en__v n__end_en__ gạch bản quyền"},
      {"/usr/😀/abc", "gạch __start_en__usr__end_en__ gạch gạch __start_en__abc__end_en__"},
      // An emoji's joiners and variation selectors go with it.
      {"https://x.vn/a❤️/👨‍👩 nhé",
       "__start_en__https__end_en__ __start_en__x__end_en__ chấm __start_en__v n__end_en__ gạch "
       "__start_en__a__end_en__ gạch nhé"},
      // A trailing delimiter with no piece after it stays out as before.
      {"https://x.vn/ 😀",
       "__start_en__https__end_en__ __start_en__x__end_en__ chấm __start_en__v n__end_en__/ 😀"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input));
    EXPECT_EQ(normalize_technical(c.input), c.expected);
  }
}

TEST(FindTechnicalStrings, OpeningsBeyondAsciiStayLinear) {
  const size_t n = 50000;
  // Each opening glued to the next is one address; none is scanned again.
  for (std::string_view shape : {"https://đ", "www.đ", "https://www.đ.", "www.https://đ"}) {
    const std::string run = repeat(shape, n);
    EXPECT_EQ(find_technical_strings(run),
              (std::vector<std::pair<size_t, size_t>>{{0, run.size() - (shape.back() == '.')}}))
        << shape;
  }
  // Openings without a host of their own, or glued to a word.
  EXPECT_LE(find_technical_strings(repeat("https://", n)).size(), 1u);
  EXPECT_LE(find_technical_strings(repeat("www.", n)).size(), 1u);
  EXPECT_TRUE(find_technical_strings(repeat("đhttps://đ", n)).empty());
  // One address each.
  EXPECT_EQ(find_technical_strings(repeat("https://đà ", n)).size(), n);
  EXPECT_EQ(find_technical_strings(repeat("www.đ.vn ", n)).size(), n);
  const std::string emojis = "https://x.vn/" + repeat("😀/", n);
  EXPECT_EQ(find_technical_strings(emojis + " x"),
            (std::vector<std::pair<size_t, size_t>>{{0, emojis.size() - 1}}));
}

TEST(FindTechnicalStrings, LongAddressOverLettersBeyondAsciiStaysLinear) {
  std::string path = "https://a.com";
  for (int i = 0; i < 50000; ++i) path += "/hà";
  EXPECT_EQ(find_technical_strings(path + " x"),
            (std::vector<std::pair<size_t, size_t>>{{0, path.size()}}));
  std::string many;
  for (int i = 0; i < 20000; ++i) many += "a.com/é ";
  EXPECT_EQ(find_technical_strings(many).size(), 20000u);
}

// --- through the whole normaliser ---------------------------------------------------

TEST(WholePipeline, AddressesPathsAcronymsAndNumbers) {
  const Case cases[] = {
      {"Liên hệ sales.team@shop.vn để biết thêm.",
       "liên hệ <en>sales</en> chấm <en>team</en> a còng <en>shop</en> chấm <en>v n</en> để "
       "biết thêm."},
      {"Gửi 2 file tới admin@abc.vn hoặc xem /var/log, hỏi nhóm IT.",
       "gửi hai file tới <en>admin</en> a còng <en>abc</en> chấm <en>v n</en> hoặc xem gạch "
       "<en>var</en> gạch <en>log</en>, hỏi nhóm <en>i t</en>."},
      {"Xem tài liệu tại https://docs.python.org/3 và file report_2024.pdf",
       "xem tài liệu tại <en>https</en> <en>docs</en> chấm <en>python</en> chấm o rờ gờ gạch ba "
       "và file <en>report</en> gạch dưới hai không hai bốn chấm <en>pdf</en>"},
      {"API của VNPT ở www.vnpt.vn có 3 phiên bản",
       "<en>a p i</en> của <en>v n p t</en> ở <en>www</en> chấm <en>vnpt</en> chấm <en>v n</en> "
       "có ba phiên bản"},
      {"Xem HTTP://Example.COM/Docs#Intro nhé",
       "xem <en>h t t p</en> <en>example</en> chấm com gạch <en>docs</en> thăng <en>intro</en> "
       "nhé"},
      // The file-name branch takes «app.config»; the rest is read by later passes.
      {"Cấu hình app.config.v2 trên C:\\Users\\data",
       "cấu hình <en>app</en> chấm <en>config</en>. vê hai trên <en>c</en> hai chấm gạch "
       "<en>users</en> gạch <en>data</en>"},
      {"Mã lỗi fe80:0:0:1 ở max_retry_count",
       "mã lỗi <en>f e</en> tám không hai chấm không hai chấm không hai chấm một ở <en>max</en> "
       "gạch dưới <en>retry</en> gạch dưới <en>count</en>"},
      {"Nhà số 123/45C đường Lê Lợi",
       "nhà số một trăm hai mươi ba trên bốn mươi lăm xê đường lê lợi"},
      {"Tỷ lệ 150/200", "tỷ lệ một trăm năm mươi trên hai trăm"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input));
    EXPECT_EQ(Normalizer::normalize(c.input), c.expected);
  }
}

}  // namespace
}  // namespace vyr::vi_normalizer
