#!/usr/bin/env bash
# The smoke test of the Windows build (scripts/build-windows.sh): starts
# Pordane2023Hospitality.exe under Wine on an Xvfb display, from C:\Pordane2023Hospitality
# in a fresh Wine prefix of its own, as on a till PC where the folder lost its Firebird
# client:
#
#  1. with no settings in the registry: the error that the machine's settings key
#     sets up no database, and the program writes its defaults into Wine's registry,
#     the machine key in the 32-bit view;
#  2. with a database entered there (wine reg add): the settings are read, and the
#     error names fbclient.dll and every place the program looked for it;
#  3. with an installed Firebird client recorded whose library cannot be loaded: the
#     error names that file and says why.
#
# Each time the error box's text is read (Ctrl+C copies it), the box and then the main
# window are saved as screenshots and closed, and the program must end with status 0.
# The log file must be in logs\ beside the program. Screenshots and the texts go to
# <build>/windows-app/smoke/.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
WIN_APP_DIR="${WIN_APP_DIR:-$BUILD_DIR/windows-app}"
DIST="$WIN_APP_DIR/Pordane2023Hospitality"
RUN="$WIN_APP_DIR/smoke"
GRAB="$BUILD_DIR/tools/pordane-screen-grab"
CLIPBOARD="$BUILD_DIR/tools/pordane-clipboard-text"

if [ -z "${PORDANE_SMOKE_DISPLAY:-}" ]; then
  if [ ! -f "$DIST/Pordane2023Hospitality.exe" ]; then
    echo "smoke-windows.sh: no $DIST/Pordane2023Hospitality.exe; run scripts/build-windows.sh first" >&2
    exit 1
  fi
  # The screen grabber and the clipboard reader are host programs of the Linux build.
  cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD_DIR" -j"$(nproc)" --target pordane-screen-grab pordane-clipboard-text >/dev/null
  PORDANE_SMOKE_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

source "$ROOT/tools/drive-window.sh"
WINE64="$(command -v wine64 || echo /usr/lib/wine/wine64)"
export WINEPREFIX="$RUN/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$RUN"
mkdir -p "$RUN"
trap 'wineserver -k 2>/dev/null || true' EXIT
"$WINE64" wineboot -i </dev/null >/dev/null 2>&1

APP="$WINEPREFIX/drive_c/Pordane2023Hospitality"
cp -r "$DIST" "$APP"
# The folder ships its own Firebird client; these runs are of a folder that lost it
# (scripts/e2e-windows.sh runs the whole job with it).
rm "$APP/fbclient.dll"
ORVO='HKLM\Software\Tollvane\Orvo'

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# reg <args>: Wine's own reg.exe, its output with Unix line ends.
reg() {
  "$WINE64" reg "$@" 2>/dev/null | tr -d '\r'
}

# expect_value <key> <view option or ""> <name> <data regex>
expect_value() {
  local key=$1 view=$2 name=$3 data=$4 line
  line=$(reg query "$key" /v "$name" $view | grep -E "^ +$name +REG_" || true)
  if [[ ! $line =~ REG_[A-Z_]+\ +$data$ ]]; then
    fail "registry: $key $view value $name is \"${line:-missing}\", not /$data/"
  fi
}

# run_with_error <name> <text that the error must hold>...: starts the program, waits
# for its error box, keeps the box's text and a screenshot of it, presses OK; then the
# main window must come up (its start failed, so it offers nothing to change), is
# saved too and closed with its Close button; the program must end with status 0.
run_with_error() {
  local name=$1 pid main box text status
  shift
  (cd "$APP" && exec "$WINE64" Pordane2023Hospitality.exe) >"$RUN/$name.out" 2>&1 &
  pid=$!
  if ! box=$(pordane_find_window '^Pordane2020$' 120); then
    fail "$name: no error box came up"
    pordane_wait_exit "$pid" 1 || true
    return
  fi
  sleep 1
  xdotool windowfocus --sync "$box" 2>/dev/null || true
  xdotool key --clearmodifiers ctrl+c
  sleep 0.5
  text=$("$CLIPBOARD" | tr -d '\r' || true)
  printf '%s\n' "$text" >"$RUN/$name.txt"
  for expected in "$@"; do
    if [[ $text != *"$expected"* ]]; then
      fail "$name: the error box does not say \"$expected\"; it says: $text"
    fi
  done
  pordane_geometry "$box"
  "$GRAB" "$RUN/$name.png" "$WX" "$WY" "$WW" "$WH" || fail "$name: no screenshot of the error box"
  echo "$name: the error box, $RUN/$name.png"
  xdotool key Return

  if main=$(pordane_find_window '^Pordane 2023$' 60); then
    sleep 1
    pordane_geometry "$main"
    "$GRAB" "$RUN/$name-main.png" "$WX" "$WY" "$WW" "$WH" || fail "$name: no screenshot of the main window"
    echo "$name: the main window, $RUN/$name-main.png"
    pordane_click_close "$main"
  else
    fail "$name: no main window titled \"Pordane 2023\" after the error"
  fi
  status=0
  pordane_wait_exit "$pid" 30 || status=$?
  if [ "$status" -ne 0 ]; then
    fail "$name: the program ended with status $status"
    cat "$RUN/$name.out" >&2
  fi
}

# 1. A till PC where the back office has not set anything up.
run_with_error no-settings \
  'settings key HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Tollvane\Orvo is missing or sets up no database' \
  'HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Tollvane\Orvo\Database\List has no entry'
# The defaults went into the machine key of the 32-bit view, and nowhere else.
expect_value "$ORVO" /reg:32 ProgramFolder ''
expect_value "$ORVO\\Database" /reg:32 DefaultDatabase ''
expect_value 'HKLM\Software\Wow6432Node\Tollvane\Orvo\Database' '' DefaultDatabase ''
if reg query "$ORVO" /reg:64 >/dev/null; then
  fail "registry: the program wrote the 64-bit view's $ORVO"
fi
expect_value 'HKCU\Software\Tollvane\Orvo' '' Skin ''

# 2. The back office names its database; this PC has no Firebird client.
reg add "$ORVO\\Database" /v DefaultDatabase /d MAIN /f /reg:32 >/dev/null
reg add "$ORVO\\Database\\List\\MAIN" /v ServerPath /d 'C:\Orvo\Data\ORVO.FDB' /f /reg:32 >/dev/null
run_with_error no-fbclient \
  'The Firebird client library fbclient.dll could not be loaded' \
  '- C:\Pordane2023Hospitality\fbclient.dll (the program'"'"'s folder): ' \
  '- The installed Firebird client, HKEY_LOCAL_MACHINE\SOFTWARE\Firebird Project\Firebird Server\Instances, value DefaultInstance: none is recorded.' \
  '- C:\windows\system32\fbclient.dll (the Windows system folder): '

# 3. Firebird's installer recorded a folder whose fbclient.dll is no 64-bit library
#    (a 32-bit back office's client is the usual case; a file of text stands in).
FIREBIRD='HKLM\SOFTWARE\Firebird Project\Firebird Server\Instances'
mkdir -p "$WINEPREFIX/drive_c/Firebird"
echo 'not a library' >"$WINEPREFIX/drive_c/Firebird/fbclient.dll"
reg add "$FIREBIRD" /v DefaultInstance /d 'C:\Firebird\' /f /reg:64 >/dev/null
run_with_error wrong-fbclient \
  '- C:\Firebird\fbclient.dll (the installed Firebird client, HKEY_LOCAL_MACHINE\SOFTWARE\Firebird Project\Firebird Server\Instances, value DefaultInstance): Bad EXE format for C:\Firebird\fbclient.dll. It is not a 64-bit library'

# What the program read is still there, as it was written.
expect_value "$ORVO\\Database" /reg:32 DefaultDatabase MAIN
expect_value "$ORVO\\Database\\List\\MAIN" /reg:32 ServerPath 'C:\\Orvo\\Data\\ORVO\.FDB'

# The main log, beside the program.
logs=$(find "$APP/logs" -maxdepth 1 -type f 2>/dev/null | wc -l)
if [ "$logs" -eq 0 ]; then
  fail "no log file in C:\\Pordane2023Hospitality\\logs"
else
  echo "log files beside the program: $(cd "$APP/logs" && ls | tr '\n' ' ')"
fi

if [ "$failures" -ne 0 ]; then
  echo "smoke-windows.sh: $failures check(s) failed" >&2
  exit 1
fi
echo "smoke-windows.sh: the Windows build starts under Wine, reads and writes its settings in Wine's registry and says what is missing"
