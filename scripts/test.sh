#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test: the C++
# tests through ctest, then the Python tests against the installed wheel,
# from outside the source tree.
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
"$build/venv/bin/python" -m pip install -q "$build"/wheel/vyr_g2p-*.whl pytest
# The one abi3 module must import on every other CPython >= 3.10 here too.
for py in python3.10 python3.12 python3.13; do
  if command -v "$py" >/dev/null 2>&1 && "$py" -c 'import venv' 2>/dev/null; then
    rm -rf "$build/venv-$py"
    "$py" -m venv "$build/venv-$py"
    "$build/venv-$py/bin/python" -m pip install -q "$build"/wheel/vyr_g2p-*.whl
    "$build/venv-$py/bin/python" -c 'import vyr_g2p, sys; print(sys.version.split()[0], "imports", vyr_g2p.__all__)'
  fi
done

cd "$build"
"$build/venv/bin/python" -m pytest -q -p no:cacheprovider "$root/tests/python"
