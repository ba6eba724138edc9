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

# Qt and the Firebird client for Windows (each built once into the cache) are made
# meanwhile, at the lowest CPU and disk priority: they take what the tests, the
# sanitizer run and the single-threaded fuzzers leave idle, which shortens a fresh
# machine's run; a complete cache costs nothing here. They run in a session of their
# own, so that a run that stops early stops them too (a cut-short build carries on
# where it stopped next time). Where the kernel shares the CPU between sessions first
# (autogroup), the session's own share is set to the lowest as well.
WINDOWS_CACHE_LOG="$(mktemp)"
setsid bash -c '{ echo 19 >/proc/self/autogroup; } 2>/dev/null
  nice -n 19 ionice -c 3 bash "$1/scripts/qt-mingw.sh" &&
  nice -n 19 ionice -c 3 bash "$1/scripts/fbclient-mingw.sh"' _ "$ROOT" >"$WINDOWS_CACHE_LOG" 2>&1 &
WINDOWS_CACHE_PID=$!
trap 'kill -- -"$WINDOWS_CACHE_PID" 2>/dev/null || true; rm -f "$WINDOWS_CACHE_LOG"' EXIT

BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/build.sh"
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/test-sanitize.sh"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/fuzz.sh"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/test-windows.sh"
if ! wait "$WINDOWS_CACHE_PID"; then
  cat "$WINDOWS_CACHE_LOG" >&2
  echo "test.sh: building Qt or the Firebird client for Windows failed" >&2
  exit 1
fi
cat "$WINDOWS_CACHE_LOG"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/build-windows.sh"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/smoke-windows.sh"
BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/e2e-windows.sh"
