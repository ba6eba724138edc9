#!/usr/bin/env bash
# Configures and builds the project in build/ (or the folder given as $BUILD_DIR).
# Arguments are passed to CMake's configure step (e.g. -DPORDANE_SANITIZE=ON).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
