#!/usr/bin/env bash
# The Debian packages Dorrimac needs, in one place, and an installer for
# whichever of them are missing. Usage: scripts/deps.sh build|test|fuzz|sound ...
set -euo pipefail

BUILD_PACKAGES=(g++ cmake ninja-build libx11-dev libxt-dev libxmu-dev libxpm-dev
                libfreetype-dev fonts-dejavu-core)
TEST_PACKAGES=(googletest libgtest-dev libbenchmark-dev xvfb libxtst-dev pkgconf libxmp-dev libopenmpt-dev)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# A private sound server with a null sink and the OSS emulation library for
# the sound tests; what these recommend (desktop integration, video and
# realtime drivers) is not needed there and is left out.
SOUND_PACKAGES=(pulseaudio pulseaudio-utils)

wanted=()
lean=()
for group in "$@"; do
  case "$group" in
    build) wanted+=("${BUILD_PACKAGES[@]}") ;;
    test) wanted+=("${TEST_PACKAGES[@]}") ;;
    fuzz) wanted+=("${FUZZ_PACKAGES[@]}") ;;
    sound) lean+=("${SOUND_PACKAGES[@]}") ;;
    *) echo "unknown package group: $group" >&2; exit 2 ;;
  esac
done

as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive

# install_missing [APT-OPTION...] -- PACKAGE...: installs those not installed yet.
install_missing() {
  local options=()
  while [ "$1" != "--" ]; do options+=("$1"); shift; done
  shift
  local missing=()
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  if ! "${as_root[@]}" apt-get install -y -q "${options[@]}" "${missing[@]}"; then
    "${as_root[@]}" apt-get update -q
    "${as_root[@]}" apt-get install -y -q "${options[@]}" "${missing[@]}"
  fi
}

install_missing -- "${wanted[@]}"
install_missing --no-install-recommends -- "${lean[@]}"
