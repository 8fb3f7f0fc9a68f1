// Many threads sharing one G2PEngine, and many threads normalising at once,
// on workloads large enough that every cache crosses its bound while they
// run: the merged cache is emptied (more than 10,000 found words), the common
// and segmentation caches too (more than 5,000 each), and both miss sets fill
// to 50,000 and start refusing. Every result must equal that of one thread
// working alone on a fresh engine. Run it under ThreadSanitizer
// (scripts/sanitize.sh) to have the races themselves reported.
//
// The concurrent run of each test comes first, so that the process-wide
// patterns and tables are built by threads racing for them.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <latch>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "g2p/g2p.hpp"
#include "g2p_dict_builder.hpp"
#include "runtime/pool.hpp"
#include "vi_normalizer/normalizer.hpp"
#include "thread_sanitizer.hpp"

namespace {

using vyr::g2p::G2PEngine;
using vyr::g2p::testing::build_dict;
using vyr::g2p::testing::CommonWords;
using vyr::g2p::testing::MergedWords;
using vyr::g2p::testing::TempFile;

constexpr size_t kThreads = 8;        // more than the cores: threads interleave mid-call
constexpr size_t kBatchThreads = 2;   // of which this many go through the worker pool
constexpr std::string_view kVowels = "aeiou";
constexpr std::string_view kConsonants = "bcdghklmnprstvx";

// i written with `digits` letters of `alphabet`, most significant first.
std::string spelled(size_t i, std::string_view alphabet, size_t digits) {
  std::string out(digits, alphabet[0]);
  for (size_t k = digits; k-- > 0; i /= alphabet.size()) out[k] = alphabet[i % alphabet.size()];
  return out;
}

// The words of the G2P workload, each kind beyond its cache's bound. The
// kinds cannot be mistaken for each other: found words are wrapped in "w"
// or "f", which no piece holds, and unknown words use only "j", "q" and "z"
// among the consonants.
struct G2PWorkload {
  MergedWords merged;
  CommonWords common;
  std::vector<std::string> words;  // every word of the texts, each once
  std::vector<std::string> texts;

  G2PWorkload() {
    for (size_t i = 0; i < 12'000; ++i) {  // merged cache: emptied at 10,000
      const std::string word = "w" + spelled(i, kVowels, 6) + "w";
      merged[word] = "M" + std::to_string(i);
      words.push_back(word);
    }
    for (size_t i = 0; i < 6'000; ++i) {  // common cache: emptied at 5,000
      const std::string word = "f" + spelled(i, kVowels, 6) + "f";
      common[word] = {"V" + std::to_string(i), i % 3 == 0 ? "" : "<en>E" + std::to_string(i)};
      words.push_back(word);
    }
    std::vector<std::string> pieces;  // 75 two-letter pieces
    for (char c : kConsonants) {
      for (char v : kVowels) pieces.push_back({c, v});
    }
    for (const std::string& piece : pieces) merged[piece] = "<en>P" + piece;
    for (const std::string& a : pieces) {  // 5,625 segmented words: emptied at 5,000
      for (const std::string& b : pieces) words.push_back(a + b);
    }
    std::mt19937 random(20240601);  // the standard fixes its sequence
    const std::string_view letters = "jqzaeiouy";
    for (size_t i = 0; i < 12'000; ++i) {  // unknown words: their pieces fill both miss sets
      std::string word;
      for (size_t k = 0; k < 8; ++k) word += letters[random() % letters.size()];
      words.push_back(word);
    }
    std::shuffle(words.begin(), words.end(), random);
    texts = texts_of(words, random);
  }

  // Lines of 16 words, some capitalised, some in English segments, with
  // punctuation that stops and that does not stop the language choice.
  static std::vector<std::string> texts_of(const std::vector<std::string>& words,
                                           std::mt19937& random) {
    std::vector<std::string> texts;
    std::string line;
    for (size_t i = 0; i < words.size(); ++i) {
      std::string word = words[i];
      if (random() % 7 == 0) word[0] = static_cast<char>(word[0] - 'a' + 'A');
      if (random() % 11 == 0) word = "<en>" + word + "</en>";
      line += word;
      line += (random() % 5 == 0) ? ", " : (random() % 9 == 0) ? ". " : " ";
      if (i % 16 == 15 || i + 1 == words.size()) {
        texts.push_back(line + "đây!");
        line.clear();
      }
    }
    return texts;
  }
};

// Runs body(t) on kThreads threads released at the same moment.
template <class Body>
void run_together(Body body) {
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  threads.reserve(kThreads);
  for (size_t t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      start.arrive_and_wait();
      body(t);
    });
  }
  for (std::thread& thread : threads) thread.join();
}

// Each thread works through all texts, starting at its own offset, so threads
// meet on the same words at different times. The batch threads hand the whole
// list to the worker pool, as the batch methods do, while the others call one
// text at a time. Returns, per thread, the results in text order.
template <class F>
std::vector<std::vector<std::string>> concurrent_results(const std::vector<std::string>& texts,
                                                         F single) {
  std::vector<std::vector<std::string>> results(kThreads,
                                                std::vector<std::string>(texts.size()));
  run_together([&](size_t t) {
    if (t < kBatchThreads) {
      std::vector<std::string> batch = texts;
      results[t] = vyr::runtime::map_indexed(batch, single);
      return;
    }
    const size_t offset = t * texts.size() / kThreads;
    for (size_t k = 0; k < texts.size(); ++k) {
      const size_t i = (offset + k) % texts.size();
      results[t][i] = single(texts[i]);
    }
  });
  return results;
}

void expect_all_equal(const std::vector<std::vector<std::string>>& results,
                      const std::vector<std::string>& expected, const std::vector<std::string>& texts) {
  for (size_t t = 0; t < results.size(); ++t) {
    size_t mismatches = 0;
    for (size_t i = 0; i < texts.size(); ++i) {
      if (results[t][i] == expected[i]) continue;
      if (++mismatches <= 3) {
        ADD_FAILURE() << "thread " << t << ", text " << i << ": " << texts[i] << "\n  got      "
                      << results[t][i] << "\n  expected " << expected[i];
      }
    }
    EXPECT_EQ(mismatches, 0u) << "thread " << t;
  }
}

TEST(Concurrency, SharedEngineGivesTheSingleThreadedResults) {
  const G2PWorkload workload;
  const TempFile file(build_dict(workload.merged, workload.common));
  const G2PEngine shared(file.path());

  const auto results = concurrent_results(
      workload.texts, [&](std::string_view text) { return shared.phonemize(text); });

  const G2PEngine alone(file.path());
  std::vector<std::string> expected;
  expected.reserve(workload.texts.size());
  for (const std::string& text : workload.texts) expected.push_back(alone.phonemize(text));
  expect_all_equal(results, expected, workload.texts);

  // The lone engine saw the same words, so its stores crossed the same
  // bounds; both must have held them.
  for (const G2PEngine* engine : {&shared, &alone}) {
    const G2PEngine::CacheSizes sizes = engine->cache_sizes();
    EXPECT_LE(sizes.merged, vyr::g2p::kMergedCacheLimit);
    EXPECT_LE(sizes.common, vyr::g2p::kCommonCacheLimit);
    EXPECT_LE(sizes.segmentation, vyr::g2p::kSegmentationCacheLimit);
    EXPECT_EQ(sizes.merged_misses, vyr::g2p::kMissSetMaxBeforeInsert + 1);
    EXPECT_EQ(sizes.common_misses, vyr::g2p::kMissSetMaxBeforeInsert + 1);
  }
}

// Children forked while batches on the shared engine run in other threads
// (cache locks taken and released all the time, caches emptied): each child
// must phonemize with that engine, alone and through a pool of its own, and
// exit within a deadline that a child waiting on a lock held at the fork
// would miss.
TEST(Concurrency, ForkedChildrenUseTheSharedEngine) {
  if (VYR_UNDER_THREAD_SANITIZER) GTEST_SKIP() << "not under ThreadSanitizer";
  const G2PWorkload workload;
  const TempFile file(build_dict(workload.merged, workload.common));
  const G2PEngine shared(file.path());
  std::vector<std::string> probe(workload.texts.begin(), workload.texts.begin() + 40);
  std::vector<std::string> expected;
  {
    const G2PEngine alone(file.path());
    for (const std::string& text : probe) expected.push_back(alone.phonemize(text));
  }
  auto phonemize = [&](std::string_view text) { return shared.phonemize(text); };
  std::atomic<bool> stop{false};
  std::vector<std::thread> busy;
  for (size_t t = 0; t < kBatchThreads + 1; ++t) {
    busy.emplace_back([&, t] {
      while (!stop) {
        if (t < kBatchThreads) {
          std::vector<std::string> batch = workload.texts;
          vyr::runtime::map_indexed(batch, phonemize);
        } else {
          for (size_t i = 0; i < 200 && !stop; ++i) phonemize(workload.texts[i]);
        }
      }
    });
  }
  std::vector<pid_t> children;
  for (int i = 0; i < 30; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      alarm(30);  // a hung child dies by SIGALRM instead of hanging the test
      bool ok = phonemize(probe[0]) == expected[0];
      std::vector<std::string> batch = probe;
      ok = ok && vyr::runtime::map_indexed(batch, phonemize) == expected;
      _exit(ok ? 0 : 1);
    }
    children.push_back(pid);
  }
  stop = true;
  for (std::thread& t : busy) t.join();
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "child " << pid << " status " << status;
  }
}

// Texts that reach most passes of the pipeline, varied by their index so
// that no two are the same.
std::vector<std::string> normalizer_texts() {
  const std::vector<std::string> shapes = {
      "Ngày {d}/{m}/19{n}, lúc {h}:{n} sáng, giá {n}.500đ ({n}%).",
      "Liên hệ user{n}@gmail.com hoặc https://www.site{n}.vn/path?q={n}.",
      "Thế kỷ XXI, chương IV, WHO và UNESCO, TP.HCM, v{d}.{m}.{n}.",
      "Xe chạy {n}km/h, nặng {n},5kg, {n}°C, {n} m², tỉ lệ {d}/{m}.",
      "Tôi thích <en>machine learning {n}</en> và __start_en__deep{n}__end_en__ lắm!",
      "Gọi 0912 {n}{n} {n}{n} hoặc +84 {d}{m}-{n}; từ {d}-{m} ngày, x{n} = y*{d}.",
      "File config{n}.yaml, C:\\Users\\u{n}\\a.txt, /usr/bin/python3.{d}, iPhone {d} Pro.",
  };
  std::vector<std::string> texts;
  for (size_t i = 0; i < 210; ++i) {
    std::string text = shapes[i % shapes.size()];
    const std::pair<std::string_view, std::string> fills[] = {
        {"{n}", std::to_string(10 + i % 89)},
        {"{d}", std::to_string(1 + i % 31)},
        {"{m}", std::to_string(1 + i % 12)},
        {"{h}", std::to_string(i % 24)},
    };
    for (const auto& [hole, value] : fills) {
      for (size_t at = text.find(hole); at != std::string::npos; at = text.find(hole, at)) {
        text.replace(at, hole.size(), value);
        at += value.size();
      }
    }
    texts.push_back(std::move(text));
  }
  return texts;
}

TEST(Concurrency, NormalizeGivesTheSingleThreadedResults) {
  const std::vector<std::string> texts = normalizer_texts();
  const auto results = concurrent_results(texts, [](std::string_view text) {
    return vyr::vi_normalizer::Normalizer::normalize(text);
  });

  std::vector<std::string> expected;
  expected.reserve(texts.size());
  for (const std::string& text : texts) {
    expected.push_back(vyr::vi_normalizer::Normalizer::normalize(text));
  }
  expect_all_equal(results, expected, texts);
}

}  // namespace
