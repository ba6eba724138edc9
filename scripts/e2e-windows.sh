#!/usr/bin/env bash
# The whole job through the Windows build (scripts/build-windows.sh) under Wine, as an
# operator on a back-office PC that is not the database server would do it:
#
#  - a fresh Wine prefix, the program's folder copied to C:\Back Office\ (a space in
#    the program's path), a site made by pordane-make-site in a folder whose name has
#    a space and letters beyond ASCII, opened through the Firebird server on loopback;
#  - the back office's settings entered in Wine's registry as an installation writes
#    them (the 32-bit view): the database's local path as Windows sees it (Wine's Z:
#    drive) and its server path 127.0.0.1:<path>, which differ;
#  - the program started, the tree read on screen, one department ticked and one
#    product of another, Proceed, Yes: the backup must lie where the convention puts it
#    (and restore with gbak), exactly the ticked rows must hold the new code and the
#    change record must list them;
#  - the program started again with --revert <record>, Yes: every row is back and the
#    department trigger is active.
#
# Screenshots and the program's output go to <build>/windows-app/e2e/. Clicks drive
# the program throughout (see answer below).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
WIN_APP_DIR="${WIN_APP_DIR:-$BUILD_DIR/windows-app}"
DIST="$WIN_APP_DIR/Pordane2023Hospitality"
RUN="$WIN_APP_DIR/e2e"
GRAB="$BUILD_DIR/tools/pordane-screen-grab"
CLIPBOARD="$BUILD_DIR/tools/pordane-clipboard-text"
MAKE_SITE="$BUILD_DIR/database/tools/pordane-make-site"

if [ -z "${PORDANE_E2E_DISPLAY:-}" ]; then
  if [ ! -f "$DIST/Pordane2023Hospitality.exe" ] || [ ! -f "$DIST/fbclient.dll" ]; then
    echo "e2e-windows.sh: no $DIST with its Firebird client; run scripts/build-windows.sh first" >&2
    exit 1
  fi
  cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD_DIR" -j"$(nproc)" --target pordane-screen-grab pordane-clipboard-text pordane-make-site >/dev/null
  PORDANE_E2E_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

source "$ROOT/tools/drive-window.sh"
WINE64="$(command -v wine64 || echo /usr/lib/wine/wine64)"
export LANG=C.UTF-8 WINEPREFIX="$RUN/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$RUN"
mkdir -p "$RUN"

# The site, in a folder the server's user may enter; folders the program makes below
# it (as root, through Wine) stay writable for the server, as on Windows, where the
# server runs as a system account.
WORK="$(mktemp -d /tmp/pordane-e2e.XXXXXX)"
SITE="$WORK/Bäckerei Süd"
mkdir -p "$SITE"
chmod 0755 "$WORK" "$SITE"
setfacl -m u:firebird:rwx -m d:u:firebird:rwx -m d:u::rwx "$SITE"
"$MAKE_SITE" --server --name MAIN --out "$SITE" >"$RUN/make-site.txt"
DB="$SITE/main.fdb"
SERVER_DB="127.0.0.1:$DB"
LOCAL_DB="Z:$(echo "$DB" | tr / '\\')"

bash "$ROOT/scripts/firebird-server.sh" start >/dev/null
cleanup() {
  wineserver -k 2>/dev/null || true
  bash "$ROOT/scripts/firebird-server.sh" stop >/dev/null 2>&1 || true
  rm -rf "$WORK"
}
trap cleanup EXIT
"$WINE64" wineboot -i </dev/null >/dev/null 2>&1

APP_WIN='C:\Back Office\Pordane2023Hospitality'
APP="$WINEPREFIX/drive_c/Back Office/Pordane2023Hospitality"
mkdir -p "$(dirname "$APP")"
cp -r "$DIST" "$APP"

reg() {
  "$WINE64" reg "$@" 2>/dev/null | tr -d '\r'
}
ORVO='HKLM\Software\Tollvane\Orvo'
reg add "$ORVO\\Database" /v DefaultDatabase /d MAIN /f /reg:32 >/dev/null
reg add "$ORVO\\Database\\List\\MAIN" /v LocalPath /d "$LOCAL_DB" /f /reg:32 >/dev/null
reg add "$ORVO\\Database\\List\\MAIN" /v ServerPath /d "$SERVER_DB" /f /reg:32 >/dev/null

failures=0
fail() {
  # On standard output too, where a CI log that keeps only that still shows it.
  echo "FAIL: $*" | tee /dev/stderr
  failures=$((failures + 1))
}

sql() {
  isql-fb -q -user SYSDBA -password quillsong -ch UTF8 "$SERVER_DB"
}

# Every row's codes and the department it is filed under, one CSV line each.
snapshot() {
  sql <<'SQL' | sed -e 's/ *$//' -e '/^$/d' | LC_ALL=C sort
set heading off;
select 'Department,' || DEPT_ID || ',' || coalesce(cast(VAT_ID as varchar(11)), '') || ',' || coalesce(cast(PURCH_VAT as varchar(11)), '') || ',' || DEPT_ID
  from TBL_DEPARTMENTS;
select 'Sub-department,' || SUB_DEPT || ',' || coalesce(cast(SALES_VID as varchar(11)), '') || ',' || coalesce(cast(PURCH_VID as varchar(11)), '') || ','
       || coalesce(cast(DEPT_ID as varchar(11)), '')
  from TBL_SUB_DEPARTMENTS;
select 'Third-level department,' || l.L3DID || ',' || coalesce(cast(l.SALES_VID as varchar(11)), '') || ',' || coalesce(cast(l.PURCH_VID as varchar(11)), '')
       || ',' || coalesce(cast(s.DEPT_ID as varchar(11)), '')
  from TBL_L3DEPARTMENTS l left join TBL_SUB_DEPARTMENTS s on s.SUB_DEPT = l.L2DID;
select 'Product,' || SID || ',' || coalesce(cast(VAT_ID as varchar(11)), '') || ',,' || coalesce(cast(DEPT_ID as varchar(11)), '') from TBL_PRODUCTS;
SQL
}

trigger_inactive() {
  sql <<'SQL' | tr -d ' \n'
set heading off;
select coalesce(RDB$TRIGGER_INACTIVE, 0) from RDB$TRIGGERS where RDB$TRIGGER_NAME = 'TAU_DEPT';
SQL
}

# shoot <id> <file>: a screenshot of the window.
shoot() {
  pordane_geometry "$1"
  "$GRAB" "$2" "$WX" "$WY" "$WW" "$WH" || fail "no screenshot $2"
}

# answer <name> <button from the right>: waits for the next dialog, keeps a screenshot
# of it and clicks the button. (Under Wine on a bare X display keys do not reach the
# program's dialogs, so their texts are read from the screenshots and the main log.)
answer() {
  local name=$1 button=$2 dialog
  if ! dialog=$(pordane_find_window '^Pordane2020$' 300); then
    fail "$name: no dialog came up"
    return 1
  fi
  sleep 1
  shoot "$dialog" "$RUN/$name.png"
  echo "$name: $RUN/$name.png"
  pordane_click_dialog_button "$dialog" "$button"
  pordane_wait_gone "$dialog" 30 || fail "$name: the dialog stayed after its button was clicked"
}

# The main log beside the program (in the ANSI code page), as UTF-8.
main_log() {
  cat "$APP/logs/"*.log 2>/dev/null | iconv -f CP1252 -t UTF-8 | tr -d '\r'
}

# 1. The changeover, through the window.
snapshot >"$RUN/before.csv"
(cd "$APP" && exec "$WINE64" Pordane2023Hospitality.exe) >"$RUN/changeover.out" 2>&1 &
pid=$!
main=$(pordane_find_window '^Pordane 2023$' 120) || { fail "the main window did not come up"; exit 1; }
# The splash goes once the tree is filled.
for _ in $(seq 1 300); do
  xdotool search --onlyvisible --name '^Pordane 2023$' | grep -qv "^$main$" || break
  sleep 0.2
done
sleep 2
shoot "$main" "$RUN/filled-window.png"
pordane_geometry "$main"
mx=$WX my=$WY
# Places in the main window's client area: the tree's first row (its tick box and its
# text; rows are 21 pixels apart under Wine) and the first product's tick beside it.
TREE_BOX_X=36 TREE_TEXT_X=100 TREE_ROW0_Y=95 PRODUCT_TICK_X=337 PRODUCT_ROW0_Y=99
pordane_click $((mx + TREE_BOX_X)) $((my + TREE_ROW0_Y))
sleep 1
pordane_click $((mx + TREE_TEXT_X)) $((my + TREE_ROW0_Y + 21))
sleep 1
pordane_click $((mx + PRODUCT_TICK_X)) $((my + PRODUCT_ROW0_Y))
sleep 1
shoot "$main" "$RUN/ticked-window.png"
pordane_click_proceed "$main"
answer question 2 || true
answer done 1 || true
status=0
pordane_wait_exit "$pid" 60 || status=$?
[ "$status" -eq 0 ] || fail "the changeover's run ended with status $status"
snapshot >"$RUN/after.csv"

# The backup and its record, where the convention puts them below the database's folder.
month_folder="$SITE/Backups/Daily/$(date +%Y)/$(LC_ALL=C date +%m-%b)"
backup=$(find "$month_folder" -maxdepth 1 -name '*.fbk' 2>/dev/null | head -n 1)
record="$backup.changes.csv"
if [ -z "$backup" ]; then
  fail "no backup in $month_folder ($(find "$SITE/Backups" 2>/dev/null | tr '\n' ' '))"
else
  echo "backup: $backup"
  rm -f "$WORK/restored.fdb"
  gbak -c -user SYSDBA -password quillsong "$backup" "$WORK/restored.fdb" >"$RUN/gbak.txt" 2>&1 ||
    fail "gbak -c did not restore the backup: $(tail -n 3 "$RUN/gbak.txt")"
fi
record_win="Z:$(echo "$record" | tr / '\\')"
# The main log names the record as Windows writes paths.
main_log | grep -F "Changeover: " | grep -qF "rows changed; their record is \"$record_win\"." ||
  fail "the main log does not name the record \"$record_win\""
if [ -f "$record" ]; then
  python3 "$ROOT/scripts/e2e-windows-check.py" "$RUN/before.csv" "$RUN/after.csv" "$record" ||
    fail "the changed rows are not the ticked ones and their record"
else
  fail "no change record $record"
fi
[ "$(trigger_inactive)" = 0 ] || fail "the department trigger is not active after the changeover"

# 2. The revert, from the record.
(cd "$APP" && exec "$WINE64" Pordane2023Hospitality.exe --revert "$record_win") >"$RUN/revert.out" 2>&1 &
pid=$!
answer revert-question 2 || true
answer revert-done 1 || true
status=0
pordane_wait_exit "$pid" 60 || status=$?
[ "$status" -eq 0 ] || fail "the revert ended with status $status"
snapshot >"$RUN/reverted.csv"
cmp -s "$RUN/before.csv" "$RUN/reverted.csv" ||
  fail "the revert did not put every row back: $(diff "$RUN/before.csv" "$RUN/reverted.csv" | head -n 10)"
[ "$(trigger_inactive)" = 0 ] || fail "the department trigger is not active after the revert"
main_log | grep -F "Revert of " | grep -F "$record_win" | grep -qF "rows changed; their record is" ||
  fail "the main log does not tell the revert of \"$record_win\""

# The settings as the back office wrote them, still in the 32-bit view.
# (An export, because reg query writes letters beyond ASCII in the console's code page.)
"$WINE64" reg export "$ORVO\\Database\\List\\MAIN" "Z:$(echo "$RUN/main-entry.reg" | tr / '\\')" /reg:32 /y >/dev/null 2>&1
entry=$(iconv -f UTF-16LE -t UTF-8 "$RUN/main-entry.reg" 2>/dev/null | tr -d '\r' || true)
for value in "\"LocalPath\"=\"${LOCAL_DB//\\/\\\\}\"" "\"ServerPath\"=\"$SERVER_DB\""; do
  [[ $entry == *"$value"* ]] || fail "registry: the database entry lacks $value; it holds: $entry"
done
[ -n "$(find "$APP/logs" -maxdepth 1 -name '*.log' 2>/dev/null)" ] || fail "no log in $APP_WIN\\logs"

if [ "$failures" -ne 0 ]; then
  echo "e2e-windows.sh: $failures check(s) failed; see $RUN" | tee /dev/stderr
  exit 1
fi
echo "e2e-windows.sh: the changeover and its revert ran through the Windows build under Wine"
