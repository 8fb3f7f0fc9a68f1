#!/usr/bin/env bash
# From a fresh machine: installs what is missing, builds and installs the
# package into build/demo/venv, writes the sample dictionary, then normalises
# and phonemises the sample sentences.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build/demo"

bash "$root/scripts/install_deps.sh"
mkdir -p "$out"
[ -x "$out/venv/bin/python" ] || python3 -m venv "$out/venv"
"$out/venv/bin/python" -m pip install -q "$root"
"$out/venv/bin/python" "$root/tests/dictgen.py" "$root/examples/sample_lexicon.tsv" "$out/sample.dict"
cd "$out"
"$out/venv/bin/python" "$root/examples/demo.py" "$out/sample.dict" "$@"
