#include "g2p/phoneme_dict.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>
#include <string>

#include "g2p/g2p.hpp"
#include "g2p_dict_builder.hpp"
#include "runtime/panic.hpp"

namespace vyr::g2p {
namespace {

using testing::build_dict;
using testing::DictFile;
using testing::set_u32;
using testing::TempFile;

std::string load_error(const std::string& path) {
  try {
    PhonemeDict::load(path);
  } catch (const IoError& e) {
    return e.what();
  }
  return "(loaded)";
}

size_t open_descriptors() {
  size_t n = 0;
  for (auto it = std::filesystem::directory_iterator("/proc/self/fd");
       it != std::filesystem::directory_iterator(); ++it) {
    ++n;
  }
  return n;
}

// ---- loading -------------------------------------------------------------

TEST(PhonemeDictLoad, RefusesShortFilesAndWrongMagic) {
  const std::string zeros(32, '\0');
  for (const std::string& bytes : {std::string(), std::string("VYRP") + std::string(27, '\0'),
                                   std::string("VYRQ") + std::string(28, '\0'),
                                   std::string("vyrp") + std::string(28, '\0'), zeros}) {
    TempFile file(bytes);
    EXPECT_EQ(load_error(file.path()), "Invalid dictionary format") << bytes.size() << " bytes";
  }
}

TEST(PhonemeDictLoad, ReportsTheSystemError) {
  EXPECT_EQ(load_error("/nonexistent-dir/dict.bin"), "No such file or directory (os error 2)");
  const std::string dir = std::filesystem::temp_directory_path().string();
  EXPECT_TRUE(std::regex_match(load_error(dir), std::regex(R"(.+ \(os error [0-9]+\))")))
      << load_error(dir);
}

TEST(PhonemeDictLoad, RefusesNulInThePathBeforeOpening) {
  TempFile file(build_dict({{"a", "a"}}).bytes);
  // The part before the NUL names a loadable file: it must not be opened.
  const std::string path = file.path() + std::string(1, '\0') + "x";
  EXPECT_EQ(load_error(path), "file name contained an unexpected NUL byte");
}

TEST(PhonemeDictLoad, ClosesTheDescriptorOnEveryPath) {
  TempFile good(build_dict({{"a", "a"}}).bytes);
  TempFile bad(std::string(10, 'x'));
  TempFile empty("");
  const size_t before = open_descriptors();
  for (int i = 0; i < 20; ++i) {
    load_error(bad.path());
    load_error(empty.path());
    load_error(std::filesystem::temp_directory_path().string());
    PhonemeDict dict = PhonemeDict::load(good.path());
  }
  EXPECT_EQ(open_descriptors(), before);
}

TEST(PhonemeDictLoad, MagicAndZerosLoadAndEveryLookupMisses) {
  std::string bytes = "VYRP" + std::string(28, '\0');
  set_u32(bytes, 4, 0xdeadbeef);  // the reserved field may hold anything
  TempFile file(bytes);
  PhonemeDict dict = PhonemeDict::load(file.path());
  EXPECT_EQ(dict.get_string(0), "");
  EXPECT_FALSE(dict.search_merged("a"));
  EXPECT_FALSE(dict.search_merged(""));
  EXPECT_FALSE(dict.search_common("a"));
  G2PEngine engine(file.path());
  EXPECT_EQ(engine.phonemize("Ab c."), "ab c.");
}

// ---- get_string ------------------------------------------------------------

TEST(PhonemeDictStrings, IdsAndStartsAtTheEdges) {
  DictFile dict = build_dict({{"ab", "x"}});  // strings 0 "ab", 1 "x"
  TempFile file(dict);
  PhonemeDict d = PhonemeDict::load(file.path());
  EXPECT_EQ(d.get_string(0), "ab");
  EXPECT_EQ(d.get_string(1), "x");
  EXPECT_EQ(d.get_string(2), "");  // == string_count
  EXPECT_EQ(d.get_string(0xffffffff), "");

  // Strings that start at the end of the file or past it, and ids the
  // string table lacks, are refused at load (g2p_dict_check_test.cpp).
}

// ---- search ------------------------------------------------------------------

TEST(PhonemeDictSearch, ByteOrderEdges) {
  TempFile file(build_dict({{"", "empty"}, {"a", "1"}, {"ab", "2"}, {"abc", "3"}, {"b", "4"},
                            {"\xc3\xa0", "5"}, {"\xe1\xba\xa1", "6"}}));
  PhonemeDict d = PhonemeDict::load(file.path());
  struct Case {
    std::string_view word;
    std::optional<std::string_view> value;
  } cases[] = {
      {"", "empty"},  {"a", "1"},   {"ab", "2"},        {"abc", "3"},        {"b", "4"},
      {"à", "5"},     {"ạ", "6"},   {"abcd", std::nullopt}, {"aa", std::nullopt},
      {"A", std::nullopt}, {"c", std::nullopt}, {"\xc3", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(d.search_merged(c.word), c.value) << c.word;
}

TEST(PhonemeDictSearch, EmptyWordWithoutEmptyKeyAndOneEntryTables) {
  TempFile file(build_dict({{"m", "em"}}, {{"on", {"ɔn", "<en>ɒn"}}}));
  PhonemeDict d = PhonemeDict::load(file.path());
  EXPECT_FALSE(d.search_merged(""));
  EXPECT_EQ(d.search_merged("m"), std::string_view("em"));
  EXPECT_FALSE(d.search_merged("n"));
  ASSERT_TRUE(d.search_common("on"));
  EXPECT_EQ(d.search_common("on")->vi, "ɔn");
  EXPECT_EQ(d.search_common("on")->en, "<en>ɒn");
  EXPECT_FALSE(d.search_common("o"));
}

TEST(PhonemeDictSearch, LongestKeyBoundIsTheLongestKey) {
  TempFile file(build_dict({{"a", "a very long pronunciation"}, {"hello", "h"}},
                           {{"ab", {"x", "y"}}}));
  EXPECT_EQ(PhonemeDict::load(file.path()).longest_key_bound(), 5u);
}

}  // namespace
}  // namespace vyr::g2p
