#!/usr/bin/env bash
# The test command: install what is missing, configure, build, run every test; then
# the host tests again under the sanitizers, the parsers under their fuzzers for a
# short while (scripts/fuzz.sh), and the Windows side under Wine: the
# registry store's tests, the whole program built for Windows and started, and the
# whole job (a changeover and its revert) done through it against the Firebird server.
# The first run on a machine also builds Qt and the Firebird client for Windows, once,
# into a cache folder outside the work tree (scripts/qt-mingw.sh,
# scripts/fbclient-mingw.sh).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
bash "$ROOT/scripts/install-deps.sh"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/build.sh"
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/test-sanitize.sh"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/fuzz.sh"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/test-windows.sh"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/build-windows.sh"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/smoke-windows.sh"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/e2e-windows.sh"
