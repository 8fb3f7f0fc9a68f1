#include "runtime/pool.hpp"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "runtime/cpu_count.hpp"
#include "runtime/panic.hpp"
#include "thread_sanitizer.hpp"

namespace vyr::runtime {
namespace {

using std::nullopt;

TEST(ParseUsize, FollowsRustRules) {
  struct Case {
    const char* text;
    std::optional<size_t> want;
  };
  const Case cases[] = {
      {"0", 0},         {"7", 7},       {"+7", 7},       {"007", 7},
      {"", nullopt},    {"+", nullopt}, {"-0", nullopt}, {"-3", nullopt},
      {" 7", nullopt},  {"7 ", nullopt}, {"7\n", nullopt}, {"0x10", nullopt},
      {"1e3", nullopt}, {"++1", nullopt}, {"٣", nullopt},  // Arabic-Indic digit
      {"18446744073709551615", SIZE_MAX}, {"18446744073709551616", nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(parse_usize(c.text), c.want) << "'" << c.text << "'";
}

TEST(PoolSize, EnvironmentRules) {
  struct Case {
    std::optional<std::string_view> num_threads, rs_num_cpus;
    size_t want;
  };
  const size_t cpus = 6;
  const Case cases[] = {
      {nullopt, nullopt, cpus},  // neither set: the CPU count
      {"3", nullopt, 3},
      {"3", "5", 3},             // RAYON_NUM_THREADS wins
      {"0", "5", cpus},          // zero means the CPU count, not the fallback
      {"+2", nullopt, 2},
      {"abc", "5", 5},           // not a number: the fallback variable
      {" 3", "5", 5},            // white space makes it not a number
      {"-1", nullopt, cpus},
      {"", "4", 4},
      {nullopt, "0", cpus},      // the fallback must be positive
      {nullopt, "x", cpus},
      {"99999999999999999999", "2", 2},  // overflow is not a number
      {"64", nullopt, 64},       // more threads than CPUs is allowed
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pool_size(c.num_threads, c.rs_num_cpus, cpus), c.want)
        << c.num_threads.value_or("<unset>") << " / " << c.rs_num_cpus.value_or("<unset>");
  }
  EXPECT_EQ(pool_size(nullopt, nullopt, 0), 1u);  // never zero threads
}

TEST(CgroupQuota, Parsers) {
  EXPECT_EQ(cgroup_v2_cpus("max 100000\n"), nullopt);
  EXPECT_EQ(cgroup_v2_cpus("200000 100000\n"), 2u);
  EXPECT_EQ(cgroup_v2_cpus("150000 100000\n"), 2u);  // a part CPU counts whole
  EXPECT_EQ(cgroup_v2_cpus("1000 100000"), 1u);      // at least one
  EXPECT_EQ(cgroup_v2_cpus("100000 0"), nullopt);    // no division by zero
  EXPECT_EQ(cgroup_v2_cpus(""), nullopt);
  EXPECT_EQ(cgroup_v2_cpus("garbage"), nullopt);
  EXPECT_EQ(cgroup_v1_cpus("-1\n", "100000\n"), nullopt);
  EXPECT_EQ(cgroup_v1_cpus("250000\n", "100000\n"), 3u);
  EXPECT_EQ(cgroup_v1_cpus("50000", "100000"), 1u);
  EXPECT_EQ(cgroup_v2_path("12:cpu,cpuacct:/x\n0::/user.slice/a\n"), "/user.slice/a");
  EXPECT_EQ(cgroup_v2_path("0::/\n"), "/");
  EXPECT_EQ(cgroup_v2_path("3:memory:/x\n"), nullopt);
  EXPECT_GE(available_cpus(), 1u);
}

TEST(Pool, ResultsLandAtTheirIndex) {
  for (size_t threads : {1, 2, 4}) {
    Pool pool(threads);
    EXPECT_EQ(pool.size(), threads);
    std::vector<size_t> out(1000, 0);
    pool.run(out.size(), [&](size_t i) { out[i] = i * i + 1; });
    for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], i * i + 1) << threads;
  }
}

TEST(Pool, FirstFailureByIndexAfterEveryIndexRan) {
  Pool pool(4);
  std::atomic<size_t> ran{0};
  try {
    pool.run(600, [&](size_t i) {
      ++ran;
      if (i == 500 || i == 7 || i == 300) throw Panic("fail " + std::to_string(i));
    });
    FAIL() << "no failure raised";
  } catch (const Panic& e) {
    EXPECT_STREQ(e.what(), "fail 7");
  }
  EXPECT_EQ(ran.load(), 600u);
  // Any exception type is carried, and the pool still works afterwards.
  EXPECT_THROW(pool.run(3, [](size_t i) { if (i == 2) throw std::bad_alloc(); }),
               std::bad_alloc);
  std::vector<int> out(10);
  pool.run(out.size(), [&](size_t i) { out[i] = static_cast<int>(i); });
  EXPECT_EQ(out[9], 9);
}

TEST(Pool, NoneAndOneAndMany) {
  Pool pool(2);
  bool called = false;
  pool.run(0, [&](size_t) { called = true; });
  EXPECT_FALSE(called);

  std::thread::id one;
  pool.run(1, [&](size_t) { one = std::this_thread::get_id(); });
  EXPECT_EQ(one, std::this_thread::get_id());  // a single text runs on the caller

  std::vector<std::thread::id> many(8);
  pool.run(many.size(), [&](size_t i) { many[i] = std::this_thread::get_id(); });
  for (const auto& id : many) EXPECT_NE(id, std::this_thread::get_id());  // the caller only waits

  EXPECT_THROW(pool.run(1, [](size_t) { throw Panic("one"); }), Panic);
}

TEST(Pool, ConcurrentCallersEachGetTheirOwnResults) {
  Pool pool(2);
  constexpr size_t kCallers = 6, kTasks = 300;
  std::vector<std::vector<size_t>> outs(kCallers, std::vector<size_t>(kTasks));
  std::vector<int> failures(kCallers, 0);
  std::vector<std::thread> callers;
  for (size_t c = 0; c < kCallers; ++c) {
    callers.emplace_back([&, c] {
      for (int round = 0; round < 5; ++round) {
        try {
          pool.run(kTasks, [&](size_t i) {
            // Odd callers fail at one index: that must not disturb the others.
            if (c % 2 == 1 && i == 100) throw Panic("odd caller");
            outs[c][i] = c * 10000 + i;
          });
        } catch (const Panic&) {
          ++failures[c];
        }
      }
    });
  }
  for (auto& t : callers) t.join();
  for (size_t c = 0; c < kCallers; ++c) {
    EXPECT_EQ(failures[c], c % 2 == 1 ? 5 : 0);
    for (size_t i = 0; i < kTasks; ++i) {
      if (c % 2 == 1 && i == 100) continue;
      ASSERT_EQ(outs[c][i], c * 10000 + i) << c << " " << i;
    }
  }
}

TEST(Pool, RunFromInsideATaskDoesNotDeadlock) {
  Pool pool(1);
  std::vector<int> inner(4 * 5, 0);
  pool.run(4, [&](size_t i) {
    pool.run(5, [&](size_t j) { inner[i * 5 + j] = 1; });
  });
  for (int v : inner) EXPECT_EQ(v, 1);
}

TEST(MapIndexed, OrderedResultsAndReleasedInputs) {
  std::vector<std::string> texts;
  for (int i = 0; i < 200; ++i) texts.push_back(std::string(50, 'a') + std::to_string(i));
  std::vector<std::string> out =
      map_indexed(texts, [](std::string_view t) { return "<" + std::string(t) + ">"; });
  ASSERT_EQ(out.size(), 200u);
  for (int i = 0; i < 200; ++i) {
    EXPECT_EQ(out[i], "<" + std::string(50, 'a') + std::to_string(i) + ">");
    EXPECT_TRUE(texts[i].empty());
  }
  std::vector<std::string> none;
  EXPECT_TRUE(map_indexed(none, [](std::string_view t) { return std::string(t); }).empty());
  EXPECT_EQ(&Pool::global(), &Pool::global());
  EXPECT_GE(Pool::global().size(), 1u);
}

// ---- stopping a job -------------------------------------------------------

TEST(Pool, RunUntilStopsHandingOutWorkAndWaitsForTheTasksInFlight) {
  Pool pool(2);
  constexpr size_t kTasks = 100'000;
  std::atomic<size_t> started{0}, finished{0};
  auto task = [&](size_t) {
    ++started;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    ++finished;
  };
  size_t polls = 0;
  // Asked every poll interval: the second time it says stop.
  const bool completed = pool.run_until(kTasks, task, [&] { return ++polls == 2; });
  EXPECT_FALSE(completed);
  EXPECT_EQ(polls, 2u);
  EXPECT_LT(started.load(), kTasks);
  EXPECT_EQ(finished.load(), started.load());  // nothing still running

  // A failure of a started task is dropped with the stopped job; the pool
  // goes on working.
  EXPECT_FALSE(pool.run_until(
      kTasks, [&](size_t i) { i == 0 ? throw Panic("first") : task(i); }, [] { return true; }));
  std::vector<int> out(50);
  pool.run(out.size(), [&](size_t i) { out[i] = static_cast<int>(i); });
  EXPECT_EQ(out[49], 49);

  // An exception from the question stops the job the same way and passes on.
  started = finished = 0;
  EXPECT_THROW(pool.run_until(kTasks, task, []() -> bool { throw std::runtime_error("asked"); }),
               std::runtime_error);
  EXPECT_EQ(finished.load(), started.load());
  EXPECT_LT(started.load(), kTasks);

  // A job that ends before the first poll never asks.
  EXPECT_TRUE(pool.run_until(4, [](size_t) {}, [] { return true; }));
}

// ---- fork -------------------------------------------------------------------

// Children forked while other threads run jobs on the global pool: each must
// run a job of its own (on a pool of its own) and exit, within a deadline
// that a hung child would miss.
TEST(Pool, ForkedChildrenWorkWhateverTheParentWasDoing) {
  if (VYR_UNDER_THREAD_SANITIZER) GTEST_SKIP() << "not under ThreadSanitizer";
  std::atomic<bool> stop{false};
  std::vector<std::thread> busy;
  for (int t = 0; t < 2; ++t) {
    busy.emplace_back([&] {
      while (!stop) {
        std::vector<std::string> texts(200, std::string(64, 'x'));
        map_indexed(texts, [](std::string_view s) { return std::string(s) + "y"; });
      }
    });
  }
  std::vector<pid_t> children;
  for (int i = 0; i < 40; ++i) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      alarm(20);  // a hung child dies by SIGALRM instead of hanging the test
      std::vector<std::string> texts(100, "a");
      const std::vector<std::string> out =
          map_indexed(texts, [](std::string_view s) { return std::string(s) + "b"; });
      _exit(out.size() == 100 && out[99] == "ab" ? 0 : 1);
    }
    children.push_back(pid);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  stop = true;
  for (auto& t : busy) t.join();
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "child " << pid << " status " << status;
  }
}

}  // namespace
}  // namespace vyr::runtime
