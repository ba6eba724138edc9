#!/usr/bin/env bash
# The run command: installs what is missing, builds, makes the demo site when
# there is none, and starts the program on it. Without a display the program
# runs under Xvfb: a screenshot of its window is saved and the program closed.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
DEMO="$ROOT/demo/data"

if [ -z "${PORDANE_RUN_UNDER_XVFB:-}" ]; then
  bash "$ROOT/scripts/install-deps.sh"
  BUILD_DIR="$BUILD_DIR" bash "$ROOT/scripts/build.sh"
  if [ ! -f "$DEMO/demo.fdb" ] || [ ! -f "$DEMO/HKEY_CURRENT_USER.reg" ]; then
    "$BUILD_DIR/database/tools/pordane-make-site" --out "$DEMO" --replace --skin Harbour.style
  fi
fi

export PORDANE_REGISTRY_DIR="$DEMO"
PROGRAM="$BUILD_DIR/program/Pordane2023Hospitality"

if [ -n "${DISPLAY:-}" ] && [ -z "${PORDANE_RUN_UNDER_XVFB:-}" ]; then
  exec "$PROGRAM"
fi
if [ -z "${PORDANE_RUN_UNDER_XVFB:-}" ]; then
  echo "No display: running the program under Xvfb."
  PORDANE_RUN_UNDER_XVFB=1 BUILD_DIR="$BUILD_DIR" exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

source "$ROOT/tools/drive-window.sh"
SHOTS="$ROOT/screenshots/tmp"
mkdir -p "$SHOTS"
SHOT="$SHOTS/run-$(date +%Y%m%d-%H%M%S).png"
"$PROGRAM" &
pid=$!
if ! main=$(pordane_find_window '^Pordane 2023$' 120); then
  echo "The main window did not come up." >&2
  pordane_wait_exit "$pid" 1 || true
  exit 1
fi
sleep 1
pordane_geometry "$main"
"$BUILD_DIR/tools/pordane-screen-grab" "$SHOT" "$WX" "$WY" "$WW" "$WH"
echo "Screenshot of the main window saved to $SHOT"
pordane_click_close "$main"
if pordane_wait_exit "$pid" 30; then
  echo "The program closed normally."
else
  status=$?
  echo "The program ended with status $status." >&2
  exit "$status"
fi
