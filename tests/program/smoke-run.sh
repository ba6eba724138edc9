#!/usr/bin/env bash
# Starts the real program on a small generated site under Xvfb, checks that its
# main window comes up whole and without an error box, and closes it with its
# Close button: the program must end by itself with status 0.
# Usage: smoke-run.sh <program> <pordane-make-site> <drive-window.sh>
set -euo pipefail
# The program must come up on the Xvfb display at its own size, whatever the caller
# runs under: Qt's variables choose the platform (QT_QPA_PLATFORM=offscreen draws no
# window at all), the plugins, the scale and the fonts, and a Wayland session makes
# Qt prefer the caller's compositor to $DISPLAY.
while read -r name; do
  unset "$name"
done < <(compgen -e | grep '^QT_' || true)
unset WAYLAND_DISPLAY XDG_SESSION_TYPE
if [ -z "${PORDANE_SMOKE_DISPLAY:-}" ]; then
  PORDANE_SMOKE_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi
PROGRAM=$1 MAKE_SITE=$2
source "$3"

SITE="$(mktemp -d)"
trap 'rm -rf "$SITE"' EXIT
"$MAKE_SITE" --out "$SITE" --departments 12 --products 200 >/dev/null
export PORDANE_REGISTRY_DIR="$SITE"

fail() {
  echo "FAIL: $*" >&2
  echo "--- program output ---" >&2
  cat "$SITE/program.log" >&2 || true
  exit 1
}

"$PROGRAM" >"$SITE/program.log" 2>&1 &
pid=$!
main=$(pordane_find_window '^Pordane 2023$' 60) || { pordane_wait_exit "$pid" 1 || true; fail "no main window"; }
pordane_geometry "$main"
[ "$WW" -eq 758 ] && [ "$WH" -eq 587 ] || fail "main window is ${WW}x${WH}, not 758x587"
if pordane_find_window '^Pordane2020$' 1 >/dev/null; then
  pordane_wait_exit "$pid" 1 || true
  fail "a message box came up at start"
fi

pordane_click_close "$main"
pordane_wait_exit "$pid" 30 && status=0 || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status after Close"

# The start read the user's style setting and stored it back, empty.
iconv -f UTF-16LE -t UTF-8 "$SITE/HKEY_CURRENT_USER.reg" | grep -q '^"Skin"=""' || fail "Skin was not stored back"
echo "PASS: started, showed the main window, closed with status 0"
