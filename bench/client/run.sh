#!/usr/bin/env bash
# Runs client_bench (bench/client/ClientBench.cpp) from the Linux build and from the
# Windows build under Wine against the same Firebird server on 127.0.0.1:3050 and the
# same large site (2,000 departments, 100,000 products), and prints both sides' figures
# and Windows / Linux for each, beside the target: the Windows client should cost no
# more than the Linux one, within noise (the Windows median at most the Linux rounds'
# upper quartile), running as many statements. 500 bare round trips are timed beside
# them, without a target: under Wine they show what Wine's sockets add to each request.
#
#   bench/client/run.sh [linux|windows|both] [--rounds n] [--passes n]
#
# Each pass runs each side once with n rounds of each piece of work (default 3 passes
# of 11 rounds), the sides taking turns, so that a machine that gets busier or quieter
# during the run weighs on both alike; the figures pool every round of every pass.
#
# The site is made once into PORDANE_BENCH_DIR (default /tmp/pordane-bench-client). The
# server is started for the run when it is not running (which needs root) and stopped
# after unless another run still uses it (scripts/firebird-server.sh). The Windows side
# needs Qt and the Firebird client built for Windows (scripts/qt-mingw.sh,
# scripts/fbclient-mingw.sh: built once into a cache folder, which takes a while the
# first time); it is built into WIN_BENCH_DIR (default <build>/windows-bench) and run
# from there in the Wine prefix PORDANE_BENCH_WINEPREFIX (default
# /tmp/pordane-bench-client-wine, made on first use and kept).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
WIN_BENCH_DIR="${WIN_BENCH_DIR:-$BUILD_DIR/windows-bench}"
SITE_DIR="${PORDANE_BENCH_DIR:-/tmp/pordane-bench-client}"
WINE_PREFIX_DIR="${PORDANE_BENCH_WINEPREFIX:-/tmp/pordane-bench-client-wine}"
JOBS="${PORDANE_JOBS:-2}"

SIDES=both
ROUNDS=11
PASSES=3
while [ $# -gt 0 ]; do
  case "$1" in
    linux | windows | both) SIDES=$1 ;;
    --rounds) ROUNDS=${2:?--rounds needs a number}; shift ;;
    --passes) PASSES=${2:?--passes needs a number}; shift ;;
    *) echo "usage: $0 [linux|windows|both] [--rounds n] [--passes n]" >&2; exit 2 ;;
  esac
  shift
done

cmake --build "$BUILD_DIR" --target pordane-make-site client_bench -j"$JOBS" >/dev/null
LINUX_BENCH="$BUILD_DIR/bench/client/client_bench"

source "$ROOT/bench/large-site.sh"
pordane_bench_site "$BUILD_DIR" "$SITE_DIR"
# The server writes its backup and restores beside the database, as its own user.
chmod a+rwx "$SITE_DIR"
DATABASE="127.0.0.1:$SITE_DIR/bench.fdb"
# What a run cut short left; restores of a finished run are dropped by the run itself.
rm -f "$SITE_DIR"/client-bench-*

pordane_bench_server "$ROOT"

WINE64="$(command -v wine64 || echo /usr/lib/wine/wine64)"
WINESERVER="$(command -v wineserver || echo /usr/lib/wine/wineserver)"
if [ "$SIDES" != linux ]; then
  QT_PREFIX="$(bash "$ROOT/scripts/qt-mingw.sh" | tail -n 1)"
  FBCLIENT_PREFIX="$(bash "$ROOT/scripts/fbclient-mingw.sh" | tail -n 1)"
  # As scripts/build-windows.sh configures the program's build.
  cmake -S "$ROOT" -B "$WIN_BENCH_DIR" -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$QT_PREFIX/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DPORDANE_BUILD_TESTS=OFF -DPORDANE_BUILD_BENCH=OFF >/dev/null
  cmake --build "$WIN_BENCH_DIR" --target client_bench -j"$JOBS" >/dev/null
  # The program loads the client from its own folder, with its messages beside it.
  WIN_RUN="$WIN_BENCH_DIR/run"
  mkdir -p "$WIN_RUN"
  cp "$WIN_BENCH_DIR/bench/client/client_bench.exe" "$FBCLIENT_PREFIX/fbclient.dll" "$FBCLIENT_PREFIX/firebird.msg" \
    "$WIN_RUN/"
  export WINEPREFIX="$WINE_PREFIX_DIR" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  [ -f "$WINEPREFIX/system.reg" ] || "$WINE64" wineboot -i </dev/null >/dev/null 2>&1
fi

OUT="$(mktemp -d)"
cleanup_side() { rm -f "$SITE_DIR"/client-bench-*; }

for pass in $(seq 1 "$PASSES"); do
  if [ "$SIDES" != windows ]; then
    echo "== pass $pass, Linux build: $LINUX_BENCH"
    "$LINUX_BENCH" "$DATABASE" --rounds "$ROUNDS" | tee -a "$OUT/linux" | grep -v '^@'
    cleanup_side
  fi
  if [ "$SIDES" != linux ]; then
    echo "== pass $pass, Windows build under $("$WINE64" --version): $WIN_RUN/client_bench.exe"
    "$WINE64" "$WIN_RUN/client_bench.exe" "$DATABASE" --rounds "$ROUNDS" | tr -d '\r' | tee -a "$OUT/windows" \
      | grep -v '^@'
    # Wine started a server for the prefix; it goes with the pass.
    "$WINESERVER" -k 2>/dev/null || true
    cleanup_side
  fi
done

# Per piece of work over every round of every pass: rounds, min, median, upper quartile
# and max wall ms, the median client CPU ms, and the statements of a round (or "varied").
pool() {
  awk '$1 == "@round" { print $2, $3, $4, $5 }' "$1" | sort -k1,1 -k2,2g | awk '
    { wall[$1, ++n[$1]] = $2; cpu[$1, n[$1]] = $3; if (!($1 in st)) st[$1] = $4; else if (st[$1] != $4) st[$1] = "varied" }
    END {
      for (k in n) {
        m = n[k]
        for (i = 1; i <= m; i++) v[i] = cpu[k, i]
        for (i = 2; i <= m; i++) { x = v[i]; for (j = i - 1; j >= 1 && v[j] > x; j--) v[j + 1] = v[j]; v[j + 1] = x }
        printf "%s %d %.1f %.1f %.1f %.1f %.1f %s\n", k, m, wall[k, 1], wall[k, int((m + 1) / 2)],
          wall[k, int((3 * m + 3) / 4)], wall[k, m], v[int((m + 1) / 2)], st[k]
      }
    }'
}

for side in linux windows; do
  [ -f "$OUT/$side" ] && pool "$OUT/$side" >"$OUT/$side.pooled"
done
echo "== all rounds of $PASSES pass(es), wall ms; client CPU is the process's own (under Wine without the Wine server's)"
printf '%-7s %-13s %6s %8s %8s %8s %8s %8s %10s\n' side work rounds min median "3rd q." max CPU statements
for side in linux windows; do
  [ -f "$OUT/$side.pooled" ] || continue
  while read -r work rounds min median q3 max cpu statements; do
    printf '%-7s %-13s %6s %8s %8s %8s %8s %8s %10s\n' "$side" "$work" "$rounds" "$min" "$median" "$q3" "$max" "$cpu" \
      "$statements"
  done < <(sort "$OUT/$side.pooled")
done
if [ -f "$OUT/linux.pooled" ] && [ -f "$OUT/windows.pooled" ]; then
  echo "== Windows / Linux; target for the show data load and the update phase: the Windows client costs no"
  echo "   more than the Linux one within noise (the Windows median at most the Linux rounds' upper quartile)"
  echo "   and runs as many statements; the round trips are the bare line's cost, without a target"
  join <(sort "$OUT/linux.pooled") <(sort "$OUT/windows.pooled") | awk '{
    # work; Linux rounds min median q3 max cpu statements ($2-$8); Windows the same ($9-$15)
    if ($1 == "round-trips")
      verdict = "(no target)"
    else if ($8 != $15)
      verdict = "NOT met: the statements differ"
    else if ($11 <= $5)
      verdict = "met"
    else
      verdict = sprintf("NOT met: %.0f%% over the Linux median", ($11 / $4 - 1) * 100)
    printf "  %-13s median %.2fx, min %.2fx, client CPU %.2fx: %s\n", $1, $11 / $4, $10 / $3, ($7 > 0 ? $14 / $7 : 0), verdict
  }'
fi
rm -rf "$OUT"
