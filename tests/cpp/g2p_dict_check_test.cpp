// The load check of the dictionary file: every inconsistency that a lookup
// could trip over is refused by the loader with "Invalid dictionary format",
// whatever the order of the file's parts and wherever the file is cut; every
// file that loads answers its lookups without failing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "g2p/g2p.hpp"
#include "g2p/phoneme_dict.hpp"
#include "g2p_dict_builder.hpp"

namespace vyr::g2p {
namespace {

using testing::put_u32;
using testing::set_u32;
using testing::TempFile;

// Header fields.
constexpr size_t kStringCount = 8;
constexpr size_t kMergedCount = 12;
constexpr size_t kCommonCount = 16;
constexpr size_t kStringTable = 20;
constexpr size_t kMergedTable = 24;
constexpr size_t kCommonTable = 28;

enum class Part { kPool, kSlots, kMerged, kCommon };

// A file of the given strings and records, its four parts in `order`, with
// the offset where each part starts.
struct Layout {
  std::string bytes;
  std::array<uint32_t, 4> at{};  // by Part
  uint32_t at_part(Part p) const { return at[static_cast<size_t>(p)]; }
};

struct Content {
  std::vector<std::string> strings;
  std::vector<std::array<uint32_t, 2>> merged;
  std::vector<std::array<uint32_t, 3>> common;
};

// Strings 0..: "a", "an", "sin", "xin", "ɔn", "ɒn", "on", "ok", "ʔok"; the
// merged table a, an, xin; the common table ok, on.
Content sample_content() {
  return Content{{"a", "an", "sin", "xin", "\xc9\x94n", "\xc9\x92n", "on", "ok", "\xca\x94ok"},
                 {{0, 0}, {1, 2}, {3, 2}},
                 {{7, 8, 7}, {6, 4, 5}}};
}

Layout lay_out(const Content& c, const std::array<Part, 4>& order) {
  std::string pool, slots, merged, common;
  for (const std::string& s : c.strings) {
    put_u32(slots, static_cast<uint32_t>(pool.size()));  // fixed below
    pool += s;
    pool.push_back('\0');
  }
  for (const auto& r : c.merged) {
    for (uint32_t v : r) put_u32(merged, v);
  }
  for (const auto& r : c.common) {
    for (uint32_t v : r) put_u32(common, v);
  }
  const std::string* part_bytes[] = {&pool, &slots, &merged, &common};
  Layout out;
  out.bytes = "VYRP" + std::string(28, '\0');
  for (Part p : order) {
    out.at[static_cast<size_t>(p)] = static_cast<uint32_t>(out.bytes.size());
    out.bytes += *part_bytes[static_cast<size_t>(p)];
  }
  // Slots count from the end of the header.
  for (size_t i = 0; i < c.strings.size(); ++i) {
    const size_t slot = out.at_part(Part::kSlots) + 4 * i;
    uint32_t relative = 0;
    for (int k = 3; k >= 0; --k) {
      relative = relative << 8 | static_cast<uint8_t>(out.bytes[slot + k]);
    }
    set_u32(out.bytes, slot, out.at_part(Part::kPool) - 32 + relative);
  }
  set_u32(out.bytes, kStringCount, static_cast<uint32_t>(c.strings.size()));
  set_u32(out.bytes, kMergedCount, static_cast<uint32_t>(c.merged.size()));
  set_u32(out.bytes, kCommonCount, static_cast<uint32_t>(c.common.size()));
  set_u32(out.bytes, kStringTable, out.at_part(Part::kSlots));
  set_u32(out.bytes, kMergedTable, out.at_part(Part::kMerged));
  set_u32(out.bytes, kCommonTable, out.at_part(Part::kCommon));
  return out;
}

constexpr std::array<Part, 4> kDefaultOrder = {Part::kPool, Part::kSlots, Part::kMerged,
                                               Part::kCommon};

bool loads(const std::string& bytes) {
  TempFile file(bytes);
  try {
    PhonemeDict::load(file.path());
    return true;
  } catch (const IoError& e) {
    EXPECT_EQ(std::string(e.what()), "Invalid dictionary format");
    EXPECT_EQ(e.error_number(), 0);
    return false;
  }
}

// What the sample answers, read through a loaded file.
void expect_sample_answers(const std::string& bytes) {
  TempFile file(bytes);
  G2PEngine engine(file.path());
  EXPECT_EQ(engine.phonemize("Xin a an, on ok."), "sin a sin, ɔn ʔok.");
  EXPECT_EQ(engine.phonemize("<en>on ok</en>"), "ɒn ok");
}

TEST(DictionaryCheck, EveryOrderOfThePartsLoadsAndEveryCutIsRefused) {
  std::array<Part, 4> order = kDefaultOrder;
  std::sort(order.begin(), order.end());
  do {
    const Layout layout = lay_out(sample_content(), order);
    SCOPED_TRACE(::testing::Message() << "parts at " << layout.at[0] << "," << layout.at[1]
                                      << "," << layout.at[2] << "," << layout.at[3]);
    ASSERT_TRUE(loads(layout.bytes));
    expect_sample_answers(layout.bytes);
    // Cut at and just after every boundary between parts, inside the last
    // part, and one byte short: whichever part ends the file loses its end.
    std::vector<size_t> cuts = {33, 100, layout.bytes.size() - 1};
    for (uint32_t at : layout.at) {
      cuts.push_back(at);
      cuts.push_back(at + 1);
      cuts.push_back(at + 4);
    }
    for (size_t cut : cuts) {
      if (cut >= layout.bytes.size()) continue;
      EXPECT_FALSE(loads(layout.bytes.substr(0, cut))) << "cut at " << cut;
    }
  } while (std::next_permutation(order.begin(), order.end()));
}

struct Inconsistency {
  const char* name;
  std::function<void(Layout&)> make;
};

void set_slot(Layout& f, uint32_t id, uint32_t relative) {
  set_u32(f.bytes, f.at_part(Part::kSlots) + 4 * id, relative);
}

void set_field(Layout& f, Part table, uint32_t record, uint32_t field, uint32_t value) {
  const uint32_t size = table == Part::kMerged ? 8 : 12;
  set_u32(f.bytes, f.at_part(table) + size * record + 4 * field, value);
}

// A file of the sample with one string replaced (same id, appended at the
// end of the pool's part so that the others keep their places).
Layout with_string(uint32_t id, const std::string& text, bool terminated = true) {
  Content c = sample_content();
  c.strings[id] = text;
  Layout f = lay_out(c, {Part::kSlots, Part::kMerged, Part::kCommon, Part::kPool});
  if (!terminated) f.bytes.pop_back();  // the last string loses its NUL
  return f;
}

TEST(DictionaryCheck, EachInconsistencyIsRefused) {
  const auto file_size =
      static_cast<uint32_t>(lay_out(sample_content(), kDefaultOrder).bytes.size());
  const std::vector<Inconsistency> cases = {
      // counts and offsets that put a table outside the file
      {"string count past the file", [](Layout& f) { set_u32(f.bytes, kStringCount, 1000); }},
      {"string table past the file",
       [&](Layout& f) { set_u32(f.bytes, kStringTable, file_size - 8); }},
      {"string table at the end of offsets",
       [](Layout& f) { set_u32(f.bytes, kStringTable, 0xfffffff0u); }},
      {"merged count one too many", [](Layout& f) { set_u32(f.bytes, kMergedCount, 4); }},
      {"common count one too many", [](Layout& f) { set_u32(f.bytes, kCommonCount, 3); }},
      {"merged table past the file",
       [&](Layout& f) { set_u32(f.bytes, kMergedTable, file_size - 4); }},
      {"common table past the file",
       [](Layout& f) { set_u32(f.bytes, kCommonTable, 0xffffffffu); }},
      // counts of 2^31 and more, which the signed bisection cannot search
      {"merged count 2^31", [](Layout& f) { set_u32(f.bytes, kMergedCount, 0x80000000u); }},
      {"merged count 2^31 + 1", [](Layout& f) { set_u32(f.bytes, kMergedCount, 0x80000001u); }},
      {"merged count 2^32 - 1", [](Layout& f) { set_u32(f.bytes, kMergedCount, 0xffffffffu); }},
      {"common count 2^31", [](Layout& f) { set_u32(f.bytes, kCommonCount, 0x80000000u); }},
      {"string count 2^32 - 1", [](Layout& f) { set_u32(f.bytes, kStringCount, 0xffffffffu); }},
      // string ids outside the string table
      {"merged key id", [](Layout& f) { set_field(f, Part::kMerged, 2, 0, 9); }},
      {"merged value id", [](Layout& f) { set_field(f, Part::kMerged, 0, 1, 0xffffffffu); }},
      {"common key id", [](Layout& f) { set_field(f, Part::kCommon, 0, 0, 9); }},
      {"common vi id", [](Layout& f) { set_field(f, Part::kCommon, 1, 1, 9); }},
      {"common en id", [](Layout& f) { set_field(f, Part::kCommon, 1, 2, 1000); }},
      {"fewer strings than ids", [](Layout& f) { set_u32(f.bytes, kStringCount, 8); }},
      // strings outside the file or without their NUL
      {"string starting past the file", [&](Layout& f) { set_slot(f, 2, file_size); }},
      {"string starting at the end of the file",
       [&](Layout& f) { set_slot(f, 2, file_size - 32); }},
      {"string slot at the top of offsets", [](Layout& f) { set_slot(f, 0, 0xffffffffu); }},
      {"last string without its NUL",
       [](Layout& f) { f = with_string(8, "\xca\x94ok", false); }},
      // strings that are not UTF-8
      {"invalid byte", [](Layout& f) { f = with_string(2, "s\xffn"); }},
      {"surrogate key", [](Layout& f) { f = with_string(3, "\xed\xa0\x80"); }},
      {"overlong form", [](Layout& f) { f = with_string(2, "\xc0\xaf"); }},
      {"truncated sequence", [](Layout& f) { f = with_string(5, "\xc9"); }},
      {"past U+10FFFF", [](Layout& f) { f = with_string(2, "\xf4\x90\x80\x80"); }},
      {"start inside a character",  // "ɔn" is two bytes then "n": start at its second byte
       [](Layout& f) {
         uint32_t start = 0;
         for (int k = 3; k >= 0; --k) {
           start = start << 8 | static_cast<uint8_t>(f.bytes[f.at_part(Part::kSlots) + 16 + k]);
         }
         set_slot(f, 5, start + 1);
       }},
      // keys out of the order the bisection needs
      {"merged records swapped",
       [](Layout& f) {
         set_field(f, Part::kMerged, 1, 0, 3);
         set_field(f, Part::kMerged, 2, 0, 1);
       }},
      {"common records swapped",
       [](Layout& f) {
         set_field(f, Part::kCommon, 0, 0, 6);
         set_field(f, Part::kCommon, 1, 0, 7);
       }},
      {"a key after its own extension",
       [](Layout& f) {
         set_field(f, Part::kMerged, 0, 0, 1);  // "an", then
         set_field(f, Part::kMerged, 1, 0, 0);  // "a"
       }},
  };
  for (const Inconsistency& c : cases) {
    Layout f = lay_out(sample_content(), kDefaultOrder);
    c.make(f);
    EXPECT_FALSE(loads(f.bytes)) << c.name;
  }
}

TEST(DictionaryCheck, UnusualButConsistentFilesLoad) {
  struct Valid {
    const char* name;
    std::function<Layout()> make;
  };
  const std::vector<Valid> cases = {
      {"header only", [] { return Layout{"VYRP" + std::string(28, '\0'), {}}; }},
      {"reserved field set",
       [] {
         Layout f = lay_out(sample_content(), kDefaultOrder);
         set_u32(f.bytes, 4, 0xdeadbeef);
         return f;
       }},
      {"parts in any order",
       [] {
         return lay_out(sample_content(),
                        {Part::kCommon, Part::kPool, Part::kMerged, Part::kSlots});
       }},
      {"string table not in pool order",
       [] {
         Content c = sample_content();
         std::swap(c.strings[0], c.strings[8]);  // ids kept: only the slots' order changes
         for (auto& r : c.merged) {
           for (uint32_t& id : r) id = id == 0 ? 8 : id == 8 ? 0 : id;
         }
         for (auto& r : c.common) {
           for (uint32_t& id : r) id = id == 0 ? 8 : id == 8 ? 0 : id;
         }
         return lay_out(c, kDefaultOrder);
       }},
      {"a string that is the tail of another",
       [] {
         Layout f = lay_out(sample_content(), kDefaultOrder);
         uint32_t xin = 0;
         for (int k = 3; k >= 0; --k) {
           xin = xin << 8 | static_cast<uint8_t>(f.bytes[f.at_part(Part::kSlots) + 12 + k]);
         }
         set_slot(f, 1, xin + 1);  // "an" becomes "in", which still sorts after "a"
         return f;
       }},
      {"an empty string and a repeated key",
       [] {
         Content c = sample_content();
         c.strings.push_back("");
         c.merged = {{9, 0}, {0, 0}, {0, 2}, {3, 2}};  // "", "a", "a", "xin"
         return lay_out(c, kDefaultOrder);
       }},
      {"slots past the string count",
       [] {
         Layout f = lay_out(sample_content(), kDefaultOrder);
         set_u32(f.bytes, kStringCount, 8);     // slot 8 is never read ...
         set_field(f, Part::kCommon, 0, 1, 2);  // ... once no record names id 8
         return f;
       }},
  };
  for (const Valid& c : cases) {
    EXPECT_TRUE(loads(c.make().bytes)) << c.name;
  }
}

// A file whose kN strings are the tails of one run of kN bytes (string i the
// last i + 1 bytes, the starts written in descending order of ids so that the
// loader has to sort them), and whose merged table holds kN records with the
// key `key_of(i)`.
template <class KeyOf>
std::string tails_of_one_run(uint32_t kN, KeyOf key_of) {
  std::string bytes = "VYRP" + std::string(28, '\0');
  bytes += std::string(kN, 'a');
  bytes.push_back('\0');
  const uint32_t slots = static_cast<uint32_t>(bytes.size());
  for (uint32_t i = 0; i < kN; ++i) put_u32(bytes, kN - 1 - i);
  const uint32_t merged = static_cast<uint32_t>(bytes.size());
  for (uint32_t i = 0; i < kN; ++i) {
    put_u32(bytes, key_of(i));
    put_u32(bytes, 0);
  }
  set_u32(bytes, kStringCount, kN);
  set_u32(bytes, kMergedCount, kN);
  set_u32(bytes, kStringTable, slots);
  set_u32(bytes, kMergedTable, merged);
  set_u32(bytes, kCommonTable, merged);
  return bytes;
}

// Long shapes that a check reading the shared bytes once per string, or once
// per record, would make quadratic: 300,000 strings that are tails of one
// 300,000-byte string, and 300,000 records of one long key. Each would take
// minutes then.
TEST(DictionaryCheck, SharedBytesAreReadOnce) {
  constexpr uint32_t kN = 300'000;
  // The whole run as the key, again and again.
  const std::string bytes = tails_of_one_run(kN, [](uint32_t) { return kN - 1; });
  ASSERT_TRUE(loads(bytes));
  TempFile file(bytes);
  G2PEngine engine(file.path());
  EXPECT_EQ(engine.dict().longest_key_bound(), kN);
}

// Keys that are tails of one another in ascending order («a», «aa», «aaa»…)
// would make the order check compare the same bytes again and again: such a
// file is refused instead of taking minutes to load.
TEST(DictionaryCheck, KeysOverlappingWithoutEndAreRefused) {
  // Ascending: each key one byte longer than the last.
  EXPECT_FALSE(loads(tails_of_one_run(300'000, [](uint32_t i) { return i; })));
}

}  // namespace
}  // namespace vyr::g2p
