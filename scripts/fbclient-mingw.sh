#!/usr/bin/env bash
# Makes sure Firebird's client library for 64-bit Windows is in the cache and prints its
# folder on the last line of its output. The folder holds:
#
#   fbclient.dll   Firebird 3 client, 64-bit, static: it imports only Windows' own DLLs
#   firebird.msg   the client's message texts, read from the DLL's own folder; without
#                  it a server error reads "unknown ISC error 335544344"
#   licenses/      Firebird's licences and those of what is linked in
#
# It is built once, from Debian's own source package of the Firebird the host runs
# (firebird3.0, the version of the installed libfbclient2) and of libtommath, with
# mingw-w64 and a Makefile of ours (scripts/fbclient-mingw/), into
# ${PORDANE_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/pordane}/fbclient-mingw-<version>,
# so every clone and every later run reuses it. A lock keeps two runs from building it
# at once; the stamp file written last tells a complete install from a cut-short one or
# one made from other sources, patches or compiler. Two builds give the same bytes.
#
# Needs the packages of scripts/install-deps.sh; adds a deb-src entry to apt's sources
# when there is none, for apt-get source (scripts/deb-src.sh).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
HERE="$ROOT/scripts/fbclient-mingw"
CACHE_DIR="${PORDANE_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/pordane}"
JOBS="${PORDANE_JOBS:-$(nproc)}"

die() {
  echo "fbclient-mingw.sh: $*" >&2
  exit 1
}

# The message file comes from the host's client of the same source version (its format
# has only 8-, 16- and 32-bit fields, the same on 64-bit Windows as on Linux).
FB_SRC_VERSION="$(dpkg-query -W -f='${source:Version}' libfbclient2 2>/dev/null || true)"
[ -n "$FB_SRC_VERSION" ] || die "libfbclient2 is missing; scripts/install-deps.sh installs it"
MSG_FILE="$(dpkg -L libfbclient2 | grep '/firebird\.msg$' | head -n 1 || true)"
[ -n "$MSG_FILE" ] && [ -f "$MSG_FILE" ] || die "libfbclient2 has no firebird.msg"
TOMMATH_SRC_VERSION="$(dpkg-query -W -f='${source:Version}' libtommath1 2>/dev/null || true)"
[ -n "$TOMMATH_SRC_VERSION" ] || die "libtommath1 is missing; scripts/install-deps.sh installs it"
for tool in x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-objdump gpre isql-fb dpkg-source make patch; do
  command -v "$tool" >/dev/null || die "$tool is missing; scripts/install-deps.sh installs it"
done
[ -f /usr/include/unicode/ucnv.h ] || die "ICU's headers are missing (libicu-dev)"
[ -f /usr/include/boost/preprocessor/seq/for_each_i.hpp ] || die "Boost's headers are missing (libboost-dev)"
[ -f /usr/x86_64-w64-mingw32/include/zlib.h ] || die "zlib for mingw-w64 is missing (libz-mingw-w64-dev)"

FB_VERSION="${FB_SRC_VERSION%%.ds*}" # 3.0.11.33637
PREFIX="$CACHE_DIR/fbclient-mingw-$FB_VERSION"
PATCHES=("$HERE"/*.patch)

# What the install is made from; a cache made otherwise is built again.
RECIPE="$(
  {
    echo "firebird3.0 $FB_SRC_VERSION"
    echo "libtommath $TOMMATH_SRC_VERSION"
    dpkg-query -W -f='${Package} ${Version}\n' g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
    x86_64-w64-mingw32-g++-posix --version | head -n 1
    sha256sum "$MSG_FILE" | cut -d' ' -f1
    for f in "$HERE"/*; do
      echo "${f##*/}"
      cat "$f"
    done
  } | sha256sum | cut -c1-16
)"

source "$ROOT/scripts/cache-entry.sh"
cache_claim "$PREFIX" "$RECIPE" "the Firebird client" || exit 0

# The sources and the build tree stay until the install is complete, so a run that was
# cut short carries on where it stopped; they are made again when the recipe changed.
WORK="$PREFIX.work"
LOG="$PREFIX.log"
rm -rf "$PREFIX"
if [ "$(cat "$WORK/.recipe" 2>/dev/null || true)" != "$RECIPE" ]; then
  rm -rf "$WORK"
fi
mkdir -p "$WORK"
echo "$RECIPE" >"$WORK/.recipe"
echo "Building Firebird's client $FB_VERSION for mingw-w64 once into $PREFIX (log: $LOG)" >&2
echo "=== $(date -u +%Y-%m-%dT%H:%M:%SZ) firebird3.0 $FB_SRC_VERSION, libtommath $TOMMATH_SRC_VERSION ===" >>"$LOG"

unpacked() { # name of the folder apt-get source unpacked a package into
  find "$WORK" -maxdepth 1 -mindepth 1 -type d -name "$1-*" | head -n 1
}

if [ ! -f "$WORK/.unpacked" ]; then
  step_start=$SECONDS
  bash "$ROOT/scripts/deb-src.sh" "$LOG" firebird3.0 libtommath ||
    die "cannot fetch Debian's source of firebird3.0 and libtommath; the client for Windows is built from it"
  find "$WORK" -mindepth 1 -maxdepth 1 ! -name .recipe -exec rm -rf {} +
  # The very versions installed on the host, or the archive's own when it has moved on
  # to a newer Debian revision.
  (
    cd "$WORK"
    apt-get source -q "firebird3.0=$FB_SRC_VERSION" || apt-get source -q firebird3.0
    apt-get source -q "libtommath=$TOMMATH_SRC_VERSION" || apt-get source -q libtommath
  ) >>"$LOG" 2>&1 || {
    tail -n 20 "$LOG" >&2
    die "apt-get source failed (no network?); see $LOG"
  }
  FB_SRC="$(unpacked firebird3.0)"
  [ -n "$FB_SRC" ] && [ -f "$FB_SRC/builds/win32/defs/firebird.def" ] ||
    die "no unpacked firebird3.0 source in $WORK"
  for p in "${PATCHES[@]}"; do
    patch -d "$FB_SRC" -p1 --forward --batch <"$p" >>"$LOG" 2>&1 ||
      die "our patch ${p##*/} does not apply to firebird3.0 $FB_SRC_VERSION; see $LOG"
  done
  touch "$WORK/.unpacked"
  echo "  sources fetched, unpacked and patched in $((SECONDS - step_start)) s" >&2
fi
FB_SRC="$(unpacked firebird3.0)"
TOMMATH_SRC="$(unpacked libtommath)"
[ -n "$FB_SRC" ] && [ -n "$TOMMATH_SRC" ] || die "sources missing in $WORK; remove it and run again"

step_start=$SECONDS
log_lines="$(wc -l <"$LOG")"
make -f "$HERE/Makefile" -j"$JOBS" FB="$FB_SRC" TOMMATH="$TOMMATH_SRC" OUT="$WORK/build" \
  >>"$LOG" 2>&1 || {
  grep -n -m 10 -A 8 -E 'error:|Error [0-9]|\*\*\*' "$LOG" | tail -n 60 >&2
  die "build failed; see $LOG"
}
warnings="$(tail -n +"$((log_lines + 1))" "$LOG" | grep -c 'warning:' || true)"
echo "  built in $((SECONDS - step_start)) s ($warnings compiler warnings in the log)" >&2

DLL="$WORK/build/fbclient.dll"
# A DLL that needs a compiler runtime DLL would fail on a till PC only.
imports="$(x86_64-w64-mingw32-objdump -p "$DLL" | sed -n 's/^\s*DLL Name: //p')"
foreign="$(grep -v -i -x -E 'advapi32|kernel32|mpr|msvcrt|ole32|psapi|shell32|user32|ws2_32' \
  <<<"$(sed 's/\.dll$//I' <<<"$imports")" || true)"
[ -z "$foreign" ] || die "fbclient.dll imports DLLs that Windows does not have: $foreign"
x86_64-w64-mingw32-objdump -f "$DLL" | grep -q 'pei-x86-64' || die "fbclient.dll is not 64-bit"

mkdir -p "$PREFIX/licenses"
cp "$DLL" "$PREFIX/fbclient.dll"
cp "$MSG_FILE" "$PREFIX/firebird.msg"
cp "$FB_SRC/builds/install/misc/IPLicense.txt" "$FB_SRC/builds/install/misc/IDPLicense.txt" \
  "$FB_SRC/doc/license/README.license.usage.txt" "$PREFIX/licenses/"
cp "$FB_SRC/debian/copyright" "$PREFIX/licenses/firebird-debian-copyright.txt"
cp "$TOMMATH_SRC/LICENSE" "$PREFIX/licenses/libtommath-LICENSE.txt"
cp "$TOMMATH_SRC/debian/copyright" "$PREFIX/licenses/libtommath-debian-copyright.txt"
# The compiler's runtime and winpthreads are linked in.
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$PREFIX/licenses/mingw-w64-runtime-copyright.txt"
echo "  installed: fbclient.dll $(stat -c %s "$PREFIX/fbclient.dll") bytes, imports: $(tr '\n' ' ' <<<"$imports")" >&2

# The sources and the build tree are of no use once the install is complete.
rm -rf "$WORK"
cache_complete "$PREFIX" "$RECIPE"
echo "$PREFIX"
