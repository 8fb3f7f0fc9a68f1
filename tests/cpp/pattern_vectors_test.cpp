// Conformance of the pattern layer with the two reference engines: every
// recorded case of tests/data/patterns.jsonl (all matches with all groups as
// byte offsets, and the replace-all result where a template is given) must
// come out exactly, through the engine role the pattern is built with.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/panic.hpp"
#include "text/regex.hpp"

namespace {

using vyr::text::Captures;
using vyr::text::Engine;
using vyr::text::Regex;

struct VectorCase {
  size_t line = 0;
  std::string text;
  nlohmann::json matches;  // [[ [s,e] | null, ... ], ...]
  bool has_template = false;
  std::string templ;
  std::string replaced;
};

struct PatternVectors {
  std::string pattern;
  Engine engine = Engine::kLinear;
  std::vector<VectorCase> cases;
};

const std::map<std::string, PatternVectors>& all_vectors() {
  static const std::map<std::string, PatternVectors> vectors = [] {
    std::map<std::string, PatternVectors> by_name;
    std::ifstream in(std::string(VYR_TEST_DATA_DIR) + "/patterns.jsonl", std::ios::binary);
    std::string line;
    size_t line_no = 0;
    // One record per line; records hold U+2028 etc. only as JSON escapes.
    while (std::getline(in, line)) {
      ++line_no;
      if (line.empty()) continue;
      nlohmann::json j = nlohmann::json::parse(line);
      PatternVectors& pv = by_name[j.at("name").get<std::string>()];
      pv.pattern = j.at("pattern").get<std::string>();
      pv.engine = j.at("engine").get<std::string>() == "fancy" ? Engine::kBacktracking
                                                              : Engine::kLinear;
      VectorCase c;
      c.line = line_no;
      c.text = j.at("text").get<std::string>();
      c.matches = j.at("matches");
      if (j.contains("template")) {
        c.has_template = true;
        c.templ = j.at("template").get<std::string>();
        c.replaced = j.at("replaced").get<std::string>();
      }
      pv.cases.push_back(std::move(c));
    }
    return by_name;
  }();
  return vectors;
}

std::vector<std::string> pattern_names() {
  std::vector<std::string> names;
  for (const auto& [name, pv] : all_vectors()) names.push_back(name);
  return names;
}

// The layer's matches in the vectors' JSON shape.
nlohmann::json matches_as_json(const std::vector<Captures>& found) {
  nlohmann::json out = nlohmann::json::array();
  for (const Captures& m : found) {
    nlohmann::json groups = nlohmann::json::array();
    for (size_t g = 0; g < m.size(); ++g) {
      if (m.matched(g)) {
        groups.push_back({m.start(g), m.end(g)});
      } else {
        groups.push_back(nullptr);
      }
    }
    out.push_back(std::move(groups));
  }
  return out;
}

std::string shorten(const std::string& s) {
  return s.size() <= 120 ? s : s.substr(0, 120) + "...";
}

class PatternVectorsTest : public testing::TestWithParam<std::string> {};

TEST_P(PatternVectorsTest, MatchesAndReplacementsAgree) {
  const PatternVectors& pv = all_vectors().at(GetParam());
  std::unique_ptr<Regex> re;
  try {
    re = std::make_unique<Regex>(pv.pattern, pv.engine);
  } catch (const vyr::Panic& e) {
    FAIL() << GetParam() << " does not compile: " << e.what();
  }
  size_t failures = 0;
  for (const VectorCase& c : pv.cases) {
    std::ostringstream why;
    try {
      nlohmann::json got = matches_as_json(re->all(c.text));
      if (got != c.matches) {
        why << "matches\n    expected " << c.matches.dump() << "\n    got      " << got.dump();
      } else if (re->is_match(c.text) != !c.matches.empty()) {
        why << "is_match disagrees with the matches";
      } else if (c.has_template) {
        std::string replaced = re->replace_all(c.text, c.templ);
        if (replaced != c.replaced) {
          why << "replace_all by \"" << c.templ << "\"\n    expected \"" << shorten(c.replaced)
              << "\"\n    got      \"" << shorten(replaced) << "\"";
        }
      }
    } catch (const vyr::Panic& e) {
      why << "engine failure: " << e.what();
    }
    if (!why.str().empty()) {
      ++failures;
      ADD_FAILURE() << GetParam() << " (patterns.jsonl line " << c.line << ") text \""
                    << shorten(c.text) << "\": " << why.str();
      if (failures >= 10) {
        ADD_FAILURE() << GetParam() << ": stopping after 10 failing cases";
        return;
      }
    }
  }
  RecordProperty("cases", static_cast<int>(pv.cases.size()));
}

INSTANTIATE_TEST_SUITE_P(AllPatterns, PatternVectorsTest, testing::ValuesIn(pattern_names()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

TEST(PatternVectorsFile, IsPresent) {
  ASSERT_FALSE(all_vectors().empty())
      << "no vectors read from " << VYR_TEST_DATA_DIR << "/patterns.jsonl";
}

}  // namespace
