#!/usr/bin/env bash
# Installs the system packages and Python build tools the project needs.
# Safe to run again: it installs only what is missing.
#
#   scripts/install_deps.sh               # what the build and the tests need
#   scripts/install_deps.sh --sanitizers  # and clang with its sanitizer and libFuzzer runtimes
set -euo pipefail

debian_packages=(g++ pkg-config libpcre2-dev libicu-dev libgtest-dev nlohmann-json3-dev)
case "${1:-}" in
  "") ;;
  --sanitizers) debian_packages+=(clang libclang-rt-dev) ;;
  *) echo "install_deps.sh: unknown argument '$1' (only --sanitizers)" >&2; exit 2 ;;
esac
missing=()
for p in "${debian_packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi

python3 -m pip --version >/dev/null
for tool in cmake ninja; do
  command -v "$tool" >/dev/null 2>&1 || python3 -m pip install -q "$tool"
done
