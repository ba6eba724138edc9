#!/usr/bin/env bash
# Builds the program for 64-bit Windows with mingw-w64: the folder
# <build>/windows-app/Pordane2023Hospitality/ (or $WIN_APP_DIR/Pordane2023Hospitality/)
# holds Pordane2023Hospitality.exe and everything it needs beside it, ready to copy to
# a till PC. The first run also builds Qt for Windows into a cache folder outside the
# work tree (scripts/qt-mingw.sh), which takes a while; later runs reuse it.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
WIN_APP_DIR="${WIN_APP_DIR:-$BUILD_DIR/windows-app}"
DIST="$WIN_APP_DIR/Pordane2023Hospitality"

bash "$ROOT/scripts/install-deps.sh"

started=$SECONDS
QT_PREFIX="$(bash "$ROOT/scripts/qt-mingw.sh" | tail -n 1)"
echo "Qt for Windows: $QT_PREFIX ($((SECONDS - started)) s)"

started=$SECONDS
# Qt's own toolchain file finds the Windows Qt and the host's moc, rcc and uic; it
# chains to the project's mingw-w64 toolchain file (of this tree, not of the tree
# that built Qt).
cmake -S "$ROOT" -B "$WIN_APP_DIR/build" -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$QT_PREFIX/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DPORDANE_BUILD_TESTS=OFF -DPORDANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$WIN_APP_DIR/build" -j"$(nproc)" --target Pordane2023Hospitality pordane_res

# The program is linked statically (Qt, its Windows platform plugin and the compiler's
# runtime), so its folder needs only the program and the files it looks for beside itself.
rm -rf "$DIST"
mkdir -p "$DIST"
cp "$WIN_APP_DIR/build/program/Pordane2023Hospitality.exe" "$DIST/"
x86_64-w64-mingw32-strip "$DIST/Pordane2023Hospitality.exe"
cp -r "$WIN_APP_DIR/build/program/Res" "$DIST/Res"
echo "Program built in $((SECONDS - started)) s"
echo "Windows folder: $DIST ($(du -sh "$DIST" | cut -f1))"
