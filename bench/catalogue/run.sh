#!/usr/bin/env bash
# Runs the catalogue benchmarks and prints their figures beside their targets:
#   show        the show sequence's data work on the large site (2,000 departments,
#               100,000 products, a third at 9 %) beside one join read of the same rows,
#               embedded and through the loopback server behind a relay holding each
#               chunk 0, 1 and 10 ms each way; the window's first showing; peak memory
#   changeover  the update phase for 10,000 and 100,000 ticked products beside one
#               set-based update, embedded and through the relay at 1 ms each way
#
#   bench/catalogue/run.sh               both
#   bench/catalogue/run.sh show          one of them
#   bench/catalogue/run.sh changeover
#
# The Firebird server on 127.0.0.1:3050 is started for the run (which needs root) unless
# it runs already. BUILD_DIR names the build folder (default
# build); PORDANE_BENCH_DIR the folder of the generated sites, made once and kept
# (default /tmp/pordane-bench-catalogue).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
SITE_DIR="${PORDANE_BENCH_DIR:-/tmp/pordane-bench-catalogue}"
WHICH="${1:-all}"
case "$WHICH" in
  all | show | changeover) ;;
  *) echo "usage: $0 [show|changeover]" >&2; exit 2 ;;
esac

cmake --build "$BUILD_DIR" --target pordane-make-site catalogue_bench changeover_bench -j2 >/dev/null
find_tool() { find "$BUILD_DIR" -name "$1" -type f -perm -u+x | head -n 1; }

source "$ROOT/bench/large-site.sh"
pordane_bench_site "$BUILD_DIR" "$SITE_DIR"
pordane_bench_server "$ROOT"

if [ "$WHICH" != changeover ]; then
  echo "== show sequence"
  PORDANE_REGISTRY_DIR="$SITE_DIR" QT_QPA_PLATFORM=offscreen "$(find_tool catalogue_bench)"
fi
if [ "$WHICH" != show ]; then
  echo "== changeover"
  "$(find_tool changeover_bench)" "$SITE_DIR/changeover"
fi
