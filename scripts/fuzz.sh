#!/usr/bin/env bash
# The parsers' fuzzers (tests/fuzz): builds them with clang in <build>-fuzz and runs each
# for a bounded time on a copy of its seed corpus, so the committed corpus is never
# written. A fault fails the run; its reproducer is kept in
# <build>-fuzz/fuzz-runs/<harness>/artifacts/ and the script says where. Replay one with
# <build>-fuzz/tests/fuzz/fuzz_<harness> <reproducer>.
# Usage: scripts/fuzz.sh [seconds per harness, default 30] [harness...]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
FUZZ_BUILD_DIR="${FUZZ_BUILD_DIR:-$BUILD_DIR-fuzz}"
SECONDS_EACH="${1:-30}"
shift $(($# > 0 ? 1 : 0))
if [ $# -gt 0 ]; then
  HARNESSES=("$@")
else
  mapfile -t HARNESSES < <(ls "$ROOT/tests/fuzz/corpus")
fi

started=$(date +%s)
cmake -S "$ROOT" -B "$FUZZ_BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DPORDANE_FUZZ=ON -DPORDANE_BUILD_TESTS=OFF -DPORDANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$FUZZ_BUILD_DIR" -j"$(nproc)" --target fuzzers >/dev/null
built=$(date +%s)
echo "Fuzzers built in $((built - started)) s; running each for ${SECONDS_EACH} s."

# Qt's own allocations that live until exit are not leaks of ours (as in the sanitizer build).
export LSAN_OPTIONS="suppressions=$ROOT/tests/sanitizers/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen
failed=()
for harness in "${HARNESSES[@]}"; do
  run="$FUZZ_BUILD_DIR/fuzz-runs/$harness"
  rm -rf "$run"
  mkdir -p "$run/corpus" "$run/artifacts"
  cp "$ROOT/tests/fuzz/corpus/$harness/"* "$run/corpus/"
  if "$FUZZ_BUILD_DIR/tests/fuzz/fuzz_$harness" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$run/artifacts/" "$run/corpus" >"$run/log" 2>&1; then
    echo "fuzz_$harness: no fault ($(grep -o 'stat::number_of_executed_units: [0-9]*' "$run/log" | grep -o '[0-9]*$' || echo '?') inputs)"
  else
    failed+=("$harness")
    echo "fuzz_$harness: FAULT; the last lines of $run/log:"
    tail -n 30 "$run/log" | sed 's/^/    /'
    echo "    reproducer: $(ls -d "$run"/artifacts/* 2>/dev/null | tr '\n' ' ')"
  fi
done
echo "Fuzzers ran in $(($(date +%s) - built)) s."
if [ ${#failed[@]} -gt 0 ]; then
  echo "Faults found by: ${failed[*]}"
  exit 1
fi
