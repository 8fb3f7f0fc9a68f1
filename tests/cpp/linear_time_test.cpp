// The linear scans that stand in for patterns the engine would run in
// quadratic time, each against the engine's own matches on random texts made
// of the characters that decide them, and on the hostile shapes: each of
// those would take minutes if the search were quadratic, so finishing under
// the test timeout is the check.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "runtime/panic.hpp"
#include "vi_normalizer/en_tags.hpp"
#include "vi_normalizer/normalizer.hpp"
#include "vi_normalizer/num2vi.hpp"
#include "vi_normalizer/number_led_search.hpp"

namespace vyr::vi_normalizer {
namespace {

using Spans = std::vector<std::pair<size_t, size_t>>;

Spans engine_spans(const text::Regex& re, std::string_view s) {
  Spans out;
  re.for_each(s, [&](const text::Captures& m) { out.emplace_back(m.start(0), m.end(0)); });
  return out;
}

std::string repeat(std::string_view piece, size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) out += piece;
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

TEST(FindEnSpans, AgreeWithTheEngineOnRandomTexts) {
  XorShift next;
  const std::vector<std::string_view> pieces = {
      "<en>",         "</en>",       "<EN>",         "</En>",        "<e",
      "n>",           "<",           "/",            ">",            "a",
      " ",            "\n",          "é",            "_",            "__",
      "__start_en__", "__end_en__",  "__START_EN__", "__End_En__",   "__\u017Ftart_en__",
      "__start",      "_en__",       "__end_",       "<en",          "</en",
  };
  for (int round = 0; round < 30000; ++round) {
    std::string text;
    const size_t length = next() % 16;
    for (size_t i = 0; i < length; ++i) text += pieces[next() % pieces.size()];
    ASSERT_EQ(find_en_chunks(text), engine_spans(RE_EN_TAG(), text)) << text;
    ASSERT_EQ(find_internal_en_spans(text), engine_spans(RE_INTERNAL_EN_TAG(), text)) << text;
  }
}

TEST(FindEnSpans, UnclosedTagsFinish) {
  const size_t n = 100000;
  for (std::string_view open : {"<en>a ", "<En>b ", "__start_en__ ", "__Start_En__ "}) {
    SCOPED_TRACE(std::string(open));
    const std::string unclosed = repeat(open, n);
    EXPECT_TRUE(find_en_chunks(unclosed).empty());
    EXPECT_TRUE(find_internal_en_spans(unclosed).empty());
  }
  // A closing tag at the very end, after a line break: both patterns read
  // across lines, so the first opening tag takes everything.
  const std::string late = repeat("<en>a ", n) + "\n</EN>";
  EXPECT_EQ(find_en_chunks(late), (Spans{{0, late.size()}}));
  EXPECT_EQ(find_internal_en_spans(late), (Spans{{0, late.size()}}));
  const std::string late_marker = repeat("__start_en__ ", n) + "\n__end_en__";
  EXPECT_EQ(find_internal_en_spans(late_marker), (Spans{{0, late_marker.size()}}));
  // Closed spans one after another: one match each.
  EXPECT_EQ(find_internal_en_spans(repeat("__start_en__x__end_en__<en>y</en>", n)).size(), 2 * n);
}

// --- Patterns led by a number ------------------------------------------------------

// The stored text of a pattern, from the conformance vectors.
std::string stored_pattern(std::string_view name) {
  std::ifstream in(std::string(VYR_TEST_DATA_DIR) + "/patterns.jsonl");
  std::string line;
  while (std::getline(in, line)) {
    const nlohmann::json row = nlohmann::json::parse(line);
    if (row["name"] == name) return row["pattern"];
  }
  ADD_FAILURE() << "no pattern " << name;
  return "x";
}

using Groups = std::vector<std::vector<std::pair<size_t, size_t>>>;

Groups groups_of(const std::vector<text::Captures>& matches) {
  Groups out;
  for (const text::Captures& m : matches) {
    out.emplace_back();
    for (size_t i = 0; i < m.size(); ++i) out.back().emplace_back(m.start(i), m.end(i));
  }
  return out;
}

struct NumberLedCase {
  std::string_view name;
  NumberTail tail;
  friend void PrintTo(const NumberLedCase& c, std::ostream* os) { *os << c.name; }
};

class NumberLed : public ::testing::TestWithParam<NumberLedCase> {
 protected:
  void SetUp() override {
    re_ = std::make_unique<text::Regex>(stored_pattern(GetParam().name),
                                        text::Engine::kBacktracking);
    search_ = std::make_unique<NumberLedSearch>(*re_, GetParam().tail);
  }
  std::unique_ptr<text::Regex> re_;
  std::unique_ptr<NumberLedSearch> search_;
};

TEST_P(NumberLed, AgreesWithTheEngineOnRandomTexts) {
  XorShift next;
  const std::vector<std::string_view> pieces = {
      "1",  "23", "\u0663", ".",     ",",   " ",     "\u00a0", "\n", "$",   "€",    "¥",
      "£",  "₩",  "%",       " tỷ",   "tỷ",  " triệu", "TRIỆU", "nghìn", "Ngàn", "t",  "n",
      "a",  "é",  "x",       ". ",    ",5",  "1.",    "ngà",   " km", "kg", "m",   "G",
      "đ",  "gallon", "\u212A", "mbps", "v n đ", "_",
  };
  for (int round = 0; round < 30000; ++round) {
    std::string text;
    const size_t length = next() % 14;
    for (size_t i = 0; i < length; ++i) text += pieces[next() % pieces.size()];
    std::vector<text::Captures> engine;
    re_->for_each(text, [&](const text::Captures& m) { engine.push_back(m); });
    ASSERT_EQ(groups_of(search_->all(text)), groups_of(engine)) << text;
  }
}

TEST_P(NumberLed, LongNumbersFinish) {
  const size_t n = 200000;
  const NumberTail tail = GetParam().tail;
  const std::string sign = tail == NumberTail::kPercentSign ? "%"
                           : tail == NumberTail::kUnitWord  ? "kg"
                                                            : "$";
  // A long dotted number the tail does not follow, then a short match.
  const std::string text = repeat("1.", n) + "1 x 2" + sign;
  const auto matches = search_->all(text);
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(matches[0].str(), "2" + sign);
  // A long number the tail follows: one match over all of it.
  const std::string whole = repeat("1,", n) + "1" + sign;
  const auto one = search_->all(whole);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].end(0), whole.size());
}

INSTANTIATE_TEST_SUITE_P(Patterns, NumberLed,
                         ::testing::Values(NumberLedCase{"RE_CURRENCY_SUFFIX_SYMBOL",
                                                         NumberTail::kCurrencySymbol},
                                           NumberLedCase{"RE_PERCENTAGE",
                                                         NumberTail::kPercentSign},
                                           NumberLedCase{"RE_UNITS_WITH_NUM",
                                                         NumberTail::kUnitWord}),
                         [](const auto& info) { return std::string(info.param.name); });

// The hand-written scans for telephone numbers, thousands groups, heights,
// decimal points and superscripts on their hostile shapes, through the whole
// pipeline.
TEST(NormalizeNumbersAsTyped, HostileShapesFinish) {
  const size_t n = 200000;
  const std::string texts[] = {
      repeat("+84 ", n / 4),        repeat("(+", n / 2),        "0" + repeat(" 12", n / 3),
      repeat("1900-", n / 5),       "1" + repeat(" 000", n / 4) + " kg",
      "1" + repeat(" 000", n / 4) + ".5",                       repeat("1m", n / 2),
      "a" + repeat("1.", n / 2),    repeat("\u00b9", n),        repeat("đồng/m2", n / 7),
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.substr(0, 12));
    EXPECT_FALSE(Normalizer::normalize(text).empty());
  }
}

TEST(NumberLedSearch, RefusesPatternsNotLedByANumber) {
  const text::Regex re(R"re(\s*%)re", text::Engine::kBacktracking);
  EXPECT_THROW({ NumberLedSearch search(re, NumberTail::kPercentSign); }, vyr::Panic);
}

}  // namespace
}  // namespace vyr::vi_normalizer
