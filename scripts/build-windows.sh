#!/usr/bin/env bash
# Builds the program for 64-bit Windows with mingw-w64: the folder
# <build>/windows-app/Pordane2023Hospitality/ (or $WIN_APP_DIR/Pordane2023Hospitality/)
# holds Pordane2023Hospitality.exe and everything it needs beside it, the Firebird
# client included, ready to copy to a till PC; <build>/windows-app/ also gets the
# download, Pordane2023Hospitality-<version>-win64.zip, holding that folder. The first
# run also builds Qt and the Firebird client for Windows into a cache folder outside
# the work tree (scripts/qt-mingw.sh, scripts/fbclient-mingw.sh), which takes a
# while; later runs reuse them.
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
FBCLIENT_PREFIX="$(bash "$ROOT/scripts/fbclient-mingw.sh" | tail -n 1)"
echo "Firebird client for Windows: $FBCLIENT_PREFIX ($((SECONDS - started)) s)"

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
# runtime), so its folder needs only the program, the files it looks for beside itself
# and the Firebird client, which it loads from its own folder first: the PC needs no
# client of its own (a back office's is often 32-bit, or missing on the PC that runs
# the tool). firebird.msg beside the client turns the server's error codes into text.
rm -rf "$DIST"
mkdir -p "$DIST"
cp "$WIN_APP_DIR/build/program/Pordane2023Hospitality.exe" "$DIST/"
x86_64-w64-mingw32-strip "$DIST/Pordane2023Hospitality.exe"
cp -r "$WIN_APP_DIR/build/program/Res" "$DIST/Res"
cp "$FBCLIENT_PREFIX/fbclient.dll" "$FBCLIENT_PREFIX/firebird.msg" "$DIST/"
cp -r "$FBCLIENT_PREFIX/licenses" "$DIST/licenses"
# The operator reads it in Notepad: CR LF.
sed 's/$/\r/' "$ROOT/docs/windows/README.txt" >"$DIST/README.txt"
echo "Program built in $((SECONDS - started)) s"
echo "Windows folder: $DIST ($(du -sh "$DIST" | cut -f1))"

# The download: the folder in a zip named by the program's version, with the files'
# times fixed so that the same build gives the same archive.
VERSION="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$WIN_APP_DIR/build/CMakeCache.txt")"
ZIP="$WIN_APP_DIR/Pordane2023Hospitality-$VERSION-win64.zip"
rm -f "$ZIP"
find "$DIST" -exec touch -h -d "$(git -C "$ROOT" log -1 --format=%cI 2>/dev/null || echo 2023-09-01T00:00:00Z)" {} +
(cd "$WIN_APP_DIR" && find Pordane2023Hospitality -print | LC_ALL=C sort | zip -q -X -@ "$ZIP")
echo "Download: $ZIP ($(du -h "$ZIP" | cut -f1))"
