#!/usr/bin/env bash
# Runs the C++ tests under AddressSanitizer + UndefinedBehaviorSanitizer, the
# Python tests against an ASan build of the module, the threaded tests under
# ThreadSanitizer, and the three fuzzers for a bounded time each.
#
#   scripts/sanitize.sh                     # every step, 60 s per fuzzer
#   scripts/sanitize.sh --fuzz-seconds 20   # CI: about a minute of fuzzing
#   scripts/sanitize.sh tsan fuzz           # only these steps
#
# Steps: asan (C++ tests + Python tests), tsan, fuzz. Options:
#   --fuzz-seconds N   time each fuzzer runs (default 60)
#   --build-prefix P   build in P-asan, P-tsan, P-fuzz (default build/sanitize)
#   --jobs N           parallel build jobs (default: the CPU count)
# A fuzzer that finds a fault leaves the input under P-fuzz/artifacts/; keep
# it in tests/crash_vectors/<target>/ so that crash_vectors_test replays it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix="$root/build/sanitize"
fuzz_seconds=60
jobs=$(nproc 2>/dev/null || echo 2)
steps=()
while [ $# -gt 0 ]; do
  case "$1" in
    --fuzz-seconds) fuzz_seconds=$2; shift 2 ;;
    --build-prefix) prefix=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    asan | tsan | fuzz) steps+=("$1"); shift ;;
    *) echo "sanitize.sh: unknown argument '$1' (steps: asan tsan fuzz)" >&2; exit 2 ;;
  esac
done
[ ${#steps[@]} -gt 0 ] || steps=(asan tsan fuzz)

bash "$root/scripts/install_deps.sh" --sanitizers

# Fail at the first report, with a stack; leaks are checked in the C++ runs.
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$root/scripts/tsan.supp"

configure() {  # dir, extra cmake arguments...
  local dir=$1
  shift
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

step_asan() {
  local dir="$prefix-asan"
  echo "== AddressSanitizer + UndefinedBehaviorSanitizer: C++ tests"
  configure "$dir" -DVYR_SANITIZE=address,undefined -DVYR_BUILD_TESTS=ON -DVYR_BUILD_PYTHON=ON
  cmake --build "$dir" -j "$jobs"
  # One process per test binary: ctest's one process per test case would
  # load the pattern vectors once per pattern, which ASan makes slow.
  local source
  for source in "$root"/tests/cpp/*_test.cpp; do
    local test
    test=$(basename "$source" .cpp)
    echo "-- $test"
    "$dir/$test" --gtest_brief=1
  done

  echo "== AddressSanitizer: Python tests against the ASan module"
  # The interpreter itself is not instrumented: the runtime is preloaded
  # (with libstdc++, or ASan cannot find the real __cxa_throw when the module
  # throws), the interpreter's own allocations go through malloc so that ASan
  # sees them, and the leak check is off (the interpreter keeps memory until
  # exit on purpose). -s: a report must reach the terminal, not pytest's capture.
  local python
  python=$(python3 -c 'import sys; print(sys.executable)')
  LD_PRELOAD="$(g++ -print-file-name=libasan.so) $(g++ -print-file-name=libstdc++.so)" \
    ASAN_OPTIONS="${ASAN_OPTIONS/detect_leaks=1/detect_leaks=0}" \
    PYTHONMALLOC=malloc PYTHONPATH="$dir:$root/tests" \
    "$python" -m pytest -q -s -p no:cacheprovider "$root/tests/python"
}

step_tsan() {
  local dir="$prefix-tsan"
  echo "== ThreadSanitizer: the threaded tests"
  configure "$dir" -DVYR_SANITIZE=thread -DVYR_BUILD_TESTS=ON -DVYR_BUILD_PYTHON=OFF
  local tests=(concurrency_test pool_test g2p_cache_test)
  cmake --build "$dir" -j "$jobs" --target "${tests[@]}"
  for test in "${tests[@]}"; do
    echo "-- $test"
    "$dir/$test" --gtest_brief=1
  done
}

step_fuzz() {
  local dir="$prefix-fuzz"
  echo "== libFuzzer (clang, ASan + UBSan): $fuzz_seconds s per fuzzer"
  configure "$dir" -DCMAKE_CXX_COMPILER=clang++ -DVYR_BUILD_FUZZERS=ON \
    -DVYR_SANITIZE=address,undefined -DVYR_BUILD_PYTHON=OFF
  local targets=(normalize phonemize dict)
  cmake --build "$dir" -j "$jobs" --target "${targets[@]/%/_fuzzer}"
  mkdir -p "$dir/artifacts"
  for target in "${targets[@]}"; do
    echo "-- ${target}_fuzzer"
    # New inputs go to a corpus in the build tree; the seeds stay as they are.
    local corpus="$dir/corpus/$target"
    mkdir -p "$corpus"
    local options=(-max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096
                   -print_final_stats=1 -artifact_prefix="$dir/artifacts/$target-")
    [ -f "$root/fuzz/$target.dict" ] && options+=(-dict="$root/fuzz/$target.dict")
    if ! "$dir/${target}_fuzzer" "${options[@]}" "$corpus" "$root/fuzz/corpus/$target"; then
      echo "sanitize.sh: ${target}_fuzzer found a fault; the input is in $dir/artifacts/" >&2
      echo "  keep it as tests/crash_vectors/$target/<name> and fix what it shows" >&2
      return 1
    fi
  done
}

for step in "${steps[@]}"; do
  start=$SECONDS
  "step_$step"
  echo "== $step done in $((SECONDS - start)) s"
done
