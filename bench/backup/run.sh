#!/usr/bin/env bash
# Runs the backup's relay benchmarks on the large site and prints their figures beside
# their targets:
#   backup   the verified backup (backup, check restore, row counts)
#   proceed  the whole of Proceed (checks, verified backup, update, change record)
# each through the Firebird server on loopback, directly and behind a relay holding each
# chunk 0, 1 and 10 ms each way, with the requests each phase made through the relay.
#
#   bench/backup/run.sh [backup|proceed] [--rounds N]
#
# The Firebird server on 127.0.0.1:3050 is started for the run (which needs root) unless
# it runs already. BUILD_DIR names the build folder (default build);
# PORDANE_BENCH_DIR the folder of the large site, made once and kept (default
# /tmp/pordane-bench-backup).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
SITE_DIR="${PORDANE_BENCH_DIR:-/tmp/pordane-bench-backup}"
WHICH=all
case "${1:-}" in
  backup | proceed) WHICH=$1; shift ;;
  -* | "") ;;
  *) echo "usage: $0 [backup|proceed] [--rounds N]" >&2; exit 2 ;;
esac

cmake --build "$BUILD_DIR" --target pordane-make-site backup_relay_bench proceed_relay_bench -j2 >/dev/null
source "$ROOT/bench/large-site.sh"
pordane_bench_site "$BUILD_DIR" "$SITE_DIR"
pordane_bench_server "$ROOT"

if [ "$WHICH" != proceed ]; then
  echo "== verified backup"
  "$BUILD_DIR/bench/backup/backup_relay_bench" --database "$SITE_DIR/bench.fdb" "$@"
fi
if [ "$WHICH" != backup ]; then
  echo "== whole Proceed"
  "$BUILD_DIR/bench/backup/proceed_relay_bench" --database "$SITE_DIR/bench.fdb" "$@"
fi
