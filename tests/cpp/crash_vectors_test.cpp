// Replays the fuzzers' seed corpora and every input that ever crashed or hung
// (tests/crash_vectors/<target>/) through the fuzz targets themselves, so
// that the ordinary test run, and the sanitizer builds of it, keep them
// fixed. A target reports a broken property by throwing vyr::fuzz::Fault; a
// memory error or a hang ends the binary (under the sanitizers, with a
// report), which ctest counts as a failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "../../fuzz/fuzz_targets.hpp"

namespace {

namespace fs = std::filesystem;

const fs::path& source_root() {
  static const fs::path root = fs::path(VYR_TEST_DATA_DIR).parent_path().parent_path();
  return root;
}

std::string read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Regular files of a directory in name order; none when it does not exist.
std::vector<fs::path> files_in(const fs::path& dir) {
  std::vector<fs::path> files;
  if (!fs::is_directory(dir)) return files;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    if (entry.is_regular_file() && entry.path().filename().string().front() != '.') {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

struct Target {
  const char* corpus;  // the folder name under fuzz/corpus and tests/crash_vectors
  void (*run)(std::string_view);
};

const Target kTargets[] = {
    {"normalize", vyr::fuzz::normalize_one},
    {"phonemize", vyr::fuzz::phonemize_one},
    {"dict", vyr::fuzz::dictionary_one},
};

void replay(const Target& target, const fs::path& dir) {
  for (const fs::path& file : files_in(dir)) {
    SCOPED_TRACE(file.string());
    const std::string bytes = read_bytes(file);
    try {
      target.run(bytes);
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what();
    }
  }
}

class Replay : public ::testing::TestWithParam<Target> {};

TEST_P(Replay, SeedCorpus) {
  const fs::path dir = source_root() / "fuzz" / "corpus" / GetParam().corpus;
  // An empty or misplaced corpus would make the replay pass without a run.
  ASSERT_FALSE(files_in(dir).empty()) << dir;
  replay(GetParam(), dir);
}

TEST_P(Replay, CrashVectors) {
  replay(GetParam(), source_root() / "tests" / "crash_vectors" / GetParam().corpus);
}

INSTANTIATE_TEST_SUITE_P(Targets, Replay, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<Target>& info) {
                           return std::string(info.param.corpus);
                         });

// A dictionary whose tables point outside the file is refused at load
// (the target then returns), and the well-formed one answers every probe.
TEST(DictionaryTarget, RefusesTablesPointingOutsideTheFile) {
  const std::string file =
      vyr::fuzz::dictionary_bytes({{"a", "a"}, {"xin", "sin"}}, {{"on", {"ɔn", "ɒn"}}});
  EXPECT_NO_THROW(vyr::fuzz::dictionary_one(file));
  for (size_t field : {20, 24, 28}) {  // the three table offsets
    std::string broken = file;
    broken.replace(field, 4, "\xf0\xff\xff\x7f");
    SCOPED_TRACE(field);
    EXPECT_NO_THROW(vyr::fuzz::dictionary_one(broken));
  }
}

}  // namespace
