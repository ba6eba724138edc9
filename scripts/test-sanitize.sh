#!/usr/bin/env bash
# The host tests once more, built with AddressSanitizer and UndefinedBehaviorSanitizer
# in <build>-sanitize (no benchmarks). A sanitizer finding ends its test process with
# an error, so the test fails; the runtime options come with the build
# (cmake/sanitizer-env.cmake.in), so a plain `ctest` in that folder uses them too.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
SANITIZE_BUILD_DIR="${SANITIZE_BUILD_DIR:-$BUILD_DIR-sanitize}"
BUILD_DIR="$SANITIZE_BUILD_DIR" bash "$ROOT/scripts/build.sh" \
  -DPORDANE_SANITIZE=ON -DPORDANE_BUILD_BENCH=OFF
cd "$SANITIZE_BUILD_DIR"
ctest --output-on-failure -j"$(nproc)"
