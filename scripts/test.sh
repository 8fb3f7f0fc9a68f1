#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test: the C++
# tests through ctest, the Python tests against the installed wheel from
# outside the source tree, then the sanitizer builds and the fuzzers
# (scripts/sanitize.sh; VYR_SKIP_SANITIZERS=1 leaves them out).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/test"
jobs=$(nproc 2>/dev/null || echo 2)

bash "$root/scripts/install_deps.sh"

cmake -S "$root" -B "$build/cpp" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DVYR_BUILD_TESTS=ON -DVYR_BUILD_PYTHON=ON -DVYR_WERROR=ON
cmake --build "$build/cpp" -j "$jobs"
ctest --test-dir "$build/cpp" --output-on-failure -j "$jobs"

# The wheel, installed into a fresh environment.
rm -rf "$build/venv" "$build/wheel"
python3 -m venv "$build/venv"
"$build/venv/bin/python" -m pip install -q --upgrade pip
"$build/venv/bin/python" -m pip wheel -q --no-deps -w "$build/wheel" "$root"
# mypy: the typing test checks the installed stubs with it.
"$build/venv/bin/python" -m pip install -q "$build"/wheel/vyr_g2p-*.whl pytest mypy
# The one abi3 module must import on every other CPython >= 3.10 here too.
other_pythons() {
  local root="${PYENV_ROOT:-$HOME/.pyenv}" py
  for py in "$root"/versions/3.*/bin/python3 /usr/bin/python3.1[0-9]; do
    [ -x "$py" ] && "$py" -c 'import sys, venv; sys.exit(sys.version_info < (3, 10))' 2>/dev/null \
      && echo "$py"
  done
}
for py in $(other_pythons); do
  env_dir="$build/venv-$(basename "$(dirname "$(dirname "$py")")")"
  rm -rf "$env_dir"
  "$py" -m venv "$env_dir"
  "$env_dir/bin/python" -m pip install -q "$build"/wheel/vyr_g2p-*.whl
  "$env_dir/bin/python" -c 'import sys, vyr_g2p; print("Python", sys.version.split()[0], "imports", vyr_g2p.__all__)'
done

cd "$build"
"$build/venv/bin/python" -m pytest -q -p no:cacheprovider "$root/tests/python"

if [ "${VYR_SKIP_SANITIZERS:-0}" != 1 ]; then
  bash "$root/scripts/sanitize.sh" --fuzz-seconds "${VYR_FUZZ_SECONDS:-60}"
fi
