#!/usr/bin/env bash
# Installs every Debian package the project needs, when it is missing.
# Runs as root, or through sudo.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  firebird3.0-server firebird3.0-server-core firebird3.0-utils firebird-dev libfbclient2
  xvfb x11-utils xauth xdotool python3 clang-format git
  fonts-dejavu-core
  g++-mingw-w64-x86-64-posix wine wine64 googletest
  # Qt for the Windows build: apt-get source unpacks with dpkg-dev, Qt builds with Ninja.
  dpkg-dev ninja-build
  # Firebird's client for Windows (scripts/fbclient-mingw.sh): zlib's header for mingw,
  # ICU's and Boost's headers (nothing of them is linked), libtommath's version.
  libz-mingw-w64-dev libicu-dev libboost-dev libtommath1 patch make
  # The parsers' fuzzers (scripts/fuzz.sh): clang and its libFuzzer runtime.
  clang libclang-rt-14-dev
  # The Windows download is a zip; the end-to-end run under Wine lets the server write
  # into the folders the program makes (default ACLs).
  zip acl
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q "${missing[@]}"
