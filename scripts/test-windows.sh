#!/usr/bin/env bash
# The Windows side of the tests: cross-builds the registry store and its tests
# with mingw-w64 in <build>/windows and runs them under Wine. The Wine prefix
# lives in that folder; its Wine server is shut down at the end, whatever happened.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
WIN_BUILD_DIR="${WIN_BUILD_DIR:-$BUILD_DIR/windows}"
export WINEPREFIX="$WIN_BUILD_DIR/wineprefix"

if ! command -v wineserver >/dev/null; then
  echo "test-windows.sh: Wine is missing; scripts/install-deps.sh installs it" >&2
  exit 1
fi
trap 'wineserver -k 2>/dev/null || true' EXIT

cmake -S "$ROOT" -B "$WIN_BUILD_DIR" -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DPORDANE_STORE_ONLY=ON -DPORDANE_WINEPREFIX="$WINEPREFIX" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$WIN_BUILD_DIR" -j"$(nproc)"
cd "$WIN_BUILD_DIR"
ctest --output-on-failure -j"$(nproc)"
