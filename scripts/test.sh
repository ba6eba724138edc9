#!/usr/bin/env bash
# The test command: install what is missing, configure, build, run every test; then
# the host tests again under the sanitizers, and the Windows side under Wine: the
# registry store's tests, and the whole program built for Windows and started. The
# first run on a machine also builds Qt for Windows, once, into a cache folder outside
# the work tree (scripts/qt-mingw.sh).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
bash "$ROOT/scripts/install-deps.sh"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/build.sh"
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/test-sanitize.sh"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/test-windows.sh"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/build-windows.sh"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/smoke-windows.sh"
