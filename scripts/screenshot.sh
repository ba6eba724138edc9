#!/usr/bin/env bash
# Regenerates every screenshot of the README in docs/screenshots/: the main window
# on a generated demo site (default look and the shipped "Harbour" style), the
# question the Proceed button asks, and the offer at start to switch on a department
# trigger that an interrupted changeover left off, from the program run under Xvfb;
# then the Windows build under Wine: its error box without a Firebird client (from
# scripts/smoke-windows.sh) and the ticked window and final message of the whole job
# (from scripts/e2e-windows.sh). The Windows part builds Qt and the Firebird client
# for Windows into the cache on its first run (scripts/build-windows.sh).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
OUT="$ROOT/docs/screenshots"

if [ -z "${PORDANE_SCREENSHOT_DISPLAY:-}" ]; then
  bash "$ROOT/scripts/install-deps.sh"
  cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD_DIR" -j"$(nproc)" \
    --target Pordane2023Hospitality pordane-make-site pordane-screen-grab
  # A display of our own, the same size everywhere, so the shots do not vary.
  PORDANE_SCREENSHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"

  export BUILD_DIR
  bash "$ROOT/scripts/build-windows.sh"
  bash "$ROOT/scripts/smoke-windows.sh"
  bash "$ROOT/scripts/e2e-windows.sh"
  WIN_APP_DIR="$BUILD_DIR/windows-app"
  cp "$WIN_APP_DIR/smoke/no-fbclient.png" "$OUT/windows-no-fbclient.png"
  cp "$WIN_APP_DIR/e2e/ticked-window.png" "$OUT/windows-ticked-wine.png"
  cp "$WIN_APP_DIR/e2e/done.png" "$OUT/windows-done-wine.png"
  echo "Screenshots written to $OUT"
  exit 0
fi

source "$ROOT/tools/drive-window.sh"
PROGRAM="$BUILD_DIR/program/Pordane2023Hospitality"
GRAB="$BUILD_DIR/tools/pordane-screen-grab"
SITE="$(mktemp -d)"
trap 'rm -rf "$SITE"' EXIT
"$BUILD_DIR/database/tools/pordane-make-site" --out "$SITE" >/dev/null
export PORDANE_REGISTRY_DIR="$SITE"
mkdir -p "$OUT"

# shoot <skin> <file> [question <file>]: starts the program, saves the main
# window, optionally presses Proceed and saves the question over the window,
# then answers No and closes the program with its Close button.
shoot() {
  local skin=$1 file=$2 question=${3:-} main dialog status=0
  pordane_set_skin "$SITE" "$skin"
  "$PROGRAM" >"$SITE/program.log" 2>&1 &
  local pid=$!
  main=$(pordane_find_window '^Pordane 2023$' 60) || { echo "the main window did not come up" >&2; cat "$SITE/program.log" >&2; return 1; }
  sleep 1
  pordane_geometry "$main"
  local mx=$WX my=$WY mw=$WW mh=$WH
  "$GRAB" "$OUT/$file" "$mx" "$my" "$mw" "$mh"
  if [ -n "$question" ]; then
    pordane_click_proceed "$main"
    dialog=$(pordane_find_window '^Pordane2020$' 20) || { echo "Proceed asked no question" >&2; status=1; }
    if [ -n "${dialog:-}" ]; then
      sleep 0.5
      "$GRAB" "$OUT/$question" "$mx" "$my" "$mw" "$mh"
      pordane_click_dialog_button "$dialog" 1
      sleep 0.5
    fi
  fi
  pordane_click_close "$main"
  pordane_wait_exit "$pid" 30 || { echo "the program did not close" >&2; status=1; }
  return $status
}

# The start's offer when a changeover was cut short and left the department
# trigger off: the question, and what the program says once it is switched on.
shoot_trigger_offer() {
  local question=$1 answer=$2 dialog main status=0
  isql-fb -q -user sysdba -password quillsong "$SITE/demo.fdb" <<<"alter trigger TAU_DEPT inactive; commit;"
  "$PROGRAM" >"$SITE/program.log" 2>&1 &
  local pid=$!
  dialog=$(pordane_find_window '^Pordane2020$' 60) || { echo "no question about the trigger" >&2; cat "$SITE/program.log" >&2; return 1; }
  sleep 0.5
  pordane_geometry "$dialog"
  "$GRAB" "$OUT/$question" "$WX" "$WY" "$WW" "$WH"
  xdotool key Return
  sleep 0.5
  dialog=$(pordane_find_window '^Pordane2020$' 20) || { echo "no word on the switch" >&2; status=1; }
  if [ -n "${dialog:-}" ]; then
    pordane_geometry "$dialog"
    "$GRAB" "$OUT/$answer" "$WX" "$WY" "$WW" "$WH"
    xdotool key Return
  fi
  main=$(pordane_find_window '^Pordane 2023$' 60) || { echo "the main window did not come up" >&2; return 1; }
  sleep 0.5
  pordane_click_close "$main"
  pordane_wait_exit "$pid" 30 || { echo "the program did not close" >&2; status=1; }
  return $status
}

shoot "" main-window.png question-dialog.png
shoot Harbour.style main-window-harbour.png
shoot_trigger_offer trigger-off-question.png trigger-switched-on.png
