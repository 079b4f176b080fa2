#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need (clang with its
# libFuzzer and sanitizer runtimes, and llvm's symbolizer for their reports, for the checks).
# Checks each with dpkg first, so a second run costs nothing.
set -euo pipefail

packages=(
  g++ make cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsqlite3-dev
  qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev
  tzdata fonts-dejavu-core python3-fonttools
  clang-14 libclang-rt-14-dev llvm-14
)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
