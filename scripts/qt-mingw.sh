#!/usr/bin/env bash
# Makes sure a static Qt 6 Base for 64-bit Windows (mingw-w64) is in the cache and
# prints its folder on the last line of its output.
#
# It is built once, from Debian's own source package of the Qt the host build uses
# (its moc, rcc and uic run on the host), and kept outside the work tree, in
# ${PORDANE_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/pordane}/qt6-mingw-<version>,
# so every clone and every later run reuses it. A lock keeps two runs from building
# it at once; the stamp file written last tells a complete install from a cut-short one
# or one made with other options.
#
# Only what the program uses is built: Core, Gui, Widgets, Xml and the Windows
# platform plugin. Static, so the program is one .exe that starts under Wine with
# nothing beside it but its own files.
#
# Needs the packages of scripts/install-deps.sh (scripts/build-windows.sh installs them
# first); adds a deb-src entry to apt's sources when there is none, for apt-get source
# (scripts/deb-src.sh).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
CACHE_DIR="${PORDANE_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/pordane}"

# The target Qt must be the host Qt's version: the host tools generate its code.
HOST_QT_DEB="$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)"
if [ -z "$HOST_QT_DEB" ]; then
  echo "qt-mingw.sh: qt6-base-dev is missing; scripts/install-deps.sh installs it" >&2
  exit 1
fi
QT_VERSION="${HOST_QT_DEB%%+*}"
QT_VERSION="${QT_VERSION%%-*}"
PREFIX="$CACHE_DIR/qt6-mingw-$QT_VERSION"

# The host Qt's tools and CMake host information stand in for a host build of Qt.
# Debian's source has no tablet (wintab) header, hence no tablet events. Without
# OpenGL, dynamic OpenGL must be off by name too: the Windows platform plugin does not
# compile with it on and OpenGL off. Direct2D stays on: without it Qt Gui leaves out
# the DirectWrite font database that the Windows platform plugin still links against.
QT_OPTIONS=(
  -DCMAKE_BUILD_TYPE=Release
  -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DBUILD_SHARED_LIBS=OFF
  -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_opengl_dynamic=OFF -DFEATURE_dynamicgl=OFF
  -DFEATURE_vulkan=OFF -DFEATURE_dbus=OFF -DFEATURE_icu=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_testlib=OFF
  -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF
  -DFEATURE_tabletevent=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF
  -DFEATURE_system_harfbuzz=OFF
)
# What the install was made from; a cache made otherwise is built again.
RECIPE="$(
  {
    echo "$HOST_QT_DEB"
    printf '%s\n' "${QT_OPTIONS[@]}"
    cat "$ROOT/cmake/mingw-w64-x86_64.cmake"
  } | sha256sum | cut -c1-16
)"

source "$ROOT/scripts/cache-entry.sh"
cache_claim "$PREFIX" "$RECIPE" "Qt" || exit 0

# The source and the build tree stay until the install is complete, so a run that was
# cut short carries on where it stopped.
WORK="$PREFIX.work"
LOG="$PREFIX.log"
rm -rf "$PREFIX"
mkdir -p "$WORK"
echo "Building Qt $QT_VERSION for mingw-w64 once into $PREFIX (log: $LOG)" >&2
echo "=== $(date -u +%Y-%m-%dT%H:%M:%SZ) ===" >>"$LOG"

# apt-get source needs a deb-src entry; one for this release's own archive is added
# when there is none.
bash "$ROOT/scripts/deb-src.sh" "$LOG" qt6-base ||
  { echo "qt-mingw.sh: cannot fetch Debian's source of qt6-base; Qt for Windows is built from it" >&2; exit 1; }

unpacked() {
  find "$WORK" -maxdepth 1 -mindepth 1 -type d -name "qt6-base-$QT_VERSION*" | head -n 1
}
SRC="$(unpacked)"
if [ -z "$SRC" ] || [ ! -f "$WORK/.unpacked" ]; then
  step_start=$SECONDS
  rm -rf "$WORK"
  mkdir -p "$WORK"
  (
    cd "$WORK"
    # The source of the very version installed on the host; any $QT_VERSION build
    # will do when the archive has moved on to a newer Debian revision of it.
    apt-get source -q "qt6-base=$HOST_QT_DEB" || apt-get source -q qt6-base
  ) >>"$LOG" 2>&1 || {
    tail -n 30 "$LOG" >&2
    exit 1
  }
  SRC="$(unpacked)"
  if [ -z "$SRC" ] || [ ! -f "$SRC/CMakeLists.txt" ]; then
    echo "qt-mingw.sh: no unpacked Qt $QT_VERSION source in $WORK" >&2
    exit 1
  fi
  touch "$WORK/.unpacked"
  echo "  source fetched and unpacked in $((SECONDS - step_start)) s: $SRC" >&2
fi

# A build tree keeps the features it was first configured with: one made from other
# options starts again.
if [ "$(cat "$WORK/build/.recipe" 2>/dev/null || true)" != "$RECIPE" ]; then
  rm -rf "$WORK/build"
  mkdir -p "$WORK/build"
  echo "$RECIPE" >"$WORK/build/.recipe"
fi

step_start=$SECONDS
cmake -S "$SRC" -B "$WORK/build" -G Ninja -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_INSTALL_PREFIX="$PREFIX" \
  "${QT_OPTIONS[@]}" >>"$LOG" 2>&1 || {
  tail -n 40 "$LOG" >&2
  exit 1
}
echo "  configured in $((SECONDS - step_start)) s" >&2

step_start=$SECONDS
cmake --build "$WORK/build" -j"$(nproc)" >>"$LOG" 2>&1 || {
  grep -n -m 10 -A 12 -E '^FAILED:|error:' "$LOG" | tail -n 60 >&2
  exit 1
}
echo "  built in $((SECONDS - step_start)) s" >&2

step_start=$SECONDS
cmake --install "$WORK/build" >>"$LOG" 2>&1 || {
  tail -n 30 "$LOG" >&2
  exit 1
}
echo "  installed in $((SECONDS - step_start)) s ($(du -sh "$PREFIX" | cut -f1))" >&2

# The source and the build tree are some gigabytes; only the install is kept.
rm -rf "$WORK"
cache_complete "$PREFIX" "$RECIPE"
echo "$PREFIX"
