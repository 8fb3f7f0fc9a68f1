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

std::string panic_text(const std::function<void()>& f) {
  try {
    f();
  } catch (const Panic& e) {
    return e.what();
  }
  return "(no panic)";
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
  const uint32_t file_len = static_cast<uint32_t>(dict.bytes.size());
  TempFile file(dict);
  PhonemeDict d = PhonemeDict::load(file.path());
  EXPECT_EQ(d.get_string(0), "ab");
  EXPECT_EQ(d.get_string(1), "x");
  EXPECT_EQ(d.get_string(2), "");  // == string_count
  EXPECT_EQ(d.get_string(0xffffffff), "");

  DictFile fewer = dict;
  set_u32(fewer.bytes, 8, 1);  // slot 1 still holds a valid start
  TempFile fewer_file(fewer);
  EXPECT_EQ(PhonemeDict::load(fewer_file.path()).get_string(1), "");

  DictFile at_end = dict;
  set_u32(at_end.bytes, at_end.string_table, file_len - 32);  // string 0 starts at EOF
  TempFile end_file(at_end);
  EXPECT_EQ(PhonemeDict::load(end_file.path()).get_string(0), "");

  DictFile past_end = dict;
  set_u32(past_end.bytes, past_end.string_table, file_len - 31);
  TempFile past_file(past_end);
  PhonemeDict p = PhonemeDict::load(past_file.path());
  const std::string text = panic_text([&] { p.get_string(0); });
  EXPECT_NE(text.find(std::to_string(file_len + 1)), std::string::npos) << text;
  EXPECT_NE(text.find(std::to_string(file_len) + " bytes"), std::string::npos) << text;
  EXPECT_EQ(p.get_string(1), "x");  // other strings still read
}

TEST(PhonemeDictStrings, SlotOutsideTheFileFails) {
  DictFile dict = build_dict({{"ab", "x"}});
  set_u32(dict.bytes, 8, 1000);  // string_count far past the table
  TempFile file(dict);
  PhonemeDict d = PhonemeDict::load(file.path());
  EXPECT_EQ(d.get_string(0), "ab");
  const std::string text = panic_text([&] { d.get_string(999); });
  EXPECT_NE(text.find("slot"), std::string::npos) << text;
  EXPECT_NE(text.find(std::to_string(dict.string_table + 4 * 999)), std::string::npos) << text;
}

TEST(PhonemeDictStrings, InvalidUtf8AndUnterminatedStrings) {
  DictFile dict = build_dict({{"ab", "x\xff"}, {"b", "tail"}});
  // The last string of the pool loses its NUL: make it the file's end.
  TempFile file(dict);
  PhonemeDict d = PhonemeDict::load(file.path());
  EXPECT_EQ(d.get_string(1), "");  // not UTF-8
  ASSERT_EQ(d.search_merged("ab"), std::string_view(""));

  // A key that is not UTF-8 compares as "": its own bytes never match.
  TempFile bad_key(build_dict({{"\xed\xa0\x80", "surrogate"}}));
  PhonemeDict k = PhonemeDict::load(bad_key.path());
  EXPECT_FALSE(k.search_merged("\xed\xa0\x80"));
  EXPECT_EQ(k.search_merged(""), std::string_view("surrogate"));

  // String table first, then a pool with no NUL at all: strings run to EOF.
  std::string unterminated = "VYRP" + std::string(28, '\0');
  set_u32(unterminated, 8, 2);
  set_u32(unterminated, 20, 32);
  testing::put_u32(unterminated, 8);   // string 0 at byte 40: "shared"
  testing::put_u32(unterminated, 11);  // string 1 at byte 43: its tail "red"
  unterminated += "shared";
  TempFile raw(unterminated);
  PhonemeDict u = PhonemeDict::load(raw.path());
  EXPECT_EQ(u.get_string(0), "shared");
  EXPECT_EQ(u.get_string(1), "red");
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

TEST(PhonemeDictSearch, CountLargerThanTheTable) {
  // The common table is the last thing in the file: record 1 lies past it.
  DictFile dict = build_dict({{"a", "1"}}, {{"m", {"vi", "en"}}});
  set_u32(dict.bytes, 16, 2);
  TempFile file(dict);
  PhonemeDict d = PhonemeDict::load(file.path());
  EXPECT_EQ(d.search_common("m")->vi, "vi");  // probe 0 inside the file
  EXPECT_FALSE(d.search_common("a"));         // smaller: no second probe
  const std::string text = panic_text([&] { d.search_common("z"); });
  EXPECT_NE(text.find(std::to_string(dict.common_table + 12)), std::string::npos) << text;
  EXPECT_NE(text.find(std::to_string(dict.bytes.size())), std::string::npos) << text;
}

TEST(PhonemeDictSearch, HugeCountsNeverReadTheTable) {
  DictFile dict = build_dict({{"a", "1"}});
  for (uint32_t count : {0x80000001u, 0xffffffffu}) {
    set_u32(dict.bytes, 12, count);
    TempFile file(dict);
    EXPECT_FALSE(PhonemeDict::load(file.path()).search_merged("a")) << count;
  }
  // 2^31 reads as a positive bound: the probes go far past the file.
  set_u32(dict.bytes, 12, 0x80000000u);
  TempFile file(dict);
  PhonemeDict d = PhonemeDict::load(file.path());
  EXPECT_THROW(d.search_merged("a"), Panic);
}

TEST(PhonemeDictSearch, HitWithRecordCutShortFails) {
  // The merged table's last record loses its value_id: the key matches, the
  // value cannot be read.
  DictFile dict = build_dict({{"a", "1"}});
  dict.bytes.resize(dict.bytes.size() - 4);
  TempFile file(dict);
  PhonemeDict d = PhonemeDict::load(file.path());
  EXPECT_THROW(d.search_merged("a"), Panic);
  EXPECT_FALSE(d.search_merged("0"));
}

TEST(PhonemeDictSearch, LongestKeyBoundCoversEveryReachableKey) {
  TempFile file(build_dict({{"a", "a very long pronunciation"}, {"hello", "h"}},
                           {{"ab", {"x", "y"}}}));
  EXPECT_EQ(PhonemeDict::load(file.path()).longest_key_bound(), 5u);

  // Keys sharing one unterminated tail, and a count past the file: no throw.
  DictFile dict = build_dict({{"abc", "1"}, {"bc", "2"}});
  set_u32(dict.bytes, 12, 1000);
  TempFile broken(dict);
  EXPECT_GE(PhonemeDict::load(broken.path()).longest_key_bound(), 3u);
}

}  // namespace
}  // namespace vyr::g2p
