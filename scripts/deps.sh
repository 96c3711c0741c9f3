#!/usr/bin/env bash
# The Debian packages Dorrimac needs, in one place, and an installer for
# whichever of them are missing. Usage: scripts/deps.sh build|test|fuzz ...
set -euo pipefail

BUILD_PACKAGES=(g++ cmake ninja-build libx11-dev libxt-dev libxmu-dev libxpm-dev
                libfreetype-dev fonts-dejavu-core)
TEST_PACKAGES=(googletest libgtest-dev libbenchmark-dev xvfb libxtst-dev)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

wanted=()
for group in "$@"; do
  case "$group" in
    build) wanted+=("${BUILD_PACKAGES[@]}") ;;
    test) wanted+=("${TEST_PACKAGES[@]}") ;;
    fuzz) wanted+=("${FUZZ_PACKAGES[@]}") ;;
    *) echo "unknown package group: $group" >&2; exit 2 ;;
  esac
done

missing=()
for package in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
if ! "${as_root[@]}" apt-get install -y -q "${missing[@]}"; then
  "${as_root[@]}" apt-get update -q
  "${as_root[@]}" apt-get install -y -q "${missing[@]}"
fi
