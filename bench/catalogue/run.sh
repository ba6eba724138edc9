#!/usr/bin/env bash
# Times the show sequence on the large site (2,000 departments, 100,000 products, a
# third at 9 %), embedded and, with --server, through the Firebird server on loopback.
#
#   bench/catalogue/run.sh            embedded engine on the file
#   bench/catalogue/run.sh --server   the loopback server (started for the run if needed)
#
# BUILD_DIR names the build folder (default build); PORDANE_BENCH_DIR the folder of the
# generated site, made once and kept (default /tmp/pordane-bench-catalogue).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
SITE_DIR="${PORDANE_BENCH_DIR:-/tmp/pordane-bench-catalogue}"
MODE="${1:-}"

cmake --build "$BUILD_DIR" --target pordane-make-site catalogue_bench -j2 >/dev/null
MAKE_SITE="$(find "$BUILD_DIR" -name pordane-make-site -type f -perm -u+x | head -n 1)"
BENCH="$(find "$BUILD_DIR" -name catalogue_bench -type f -perm -u+x | head -n 1)"

if [ ! -f "$SITE_DIR/bench.fdb" ]; then
  # --server leaves the file writable by the server's own user
  "$MAKE_SITE" --bench --server --out "$SITE_DIR"
fi

STARTED_SERVER=""
if [ "$MODE" = "--server" ] && ! (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; then
  bash "$ROOT/scripts/firebird-server.sh" start
  STARTED_SERVER=1
fi
status=0
PORDANE_REGISTRY_DIR="$SITE_DIR" QT_QPA_PLATFORM=offscreen "$BENCH" $MODE || status=$?
if [ -n "$STARTED_SERVER" ]; then
  bash "$ROOT/scripts/firebird-server.sh" stop
fi
exit $status
