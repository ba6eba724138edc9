# Drives the program on an X display as a person would (xdotool), for the run
# and screenshot scripts and the smoke test. Source it; it defines functions only.

# Ids of the program's windows are found by title: "Pordane 2023" is the main
# window, "Pordane2020" a message dialog.

# pordane_find_window <title regex> [seconds]: prints the id of the visible window.
pordane_find_window() {
  local name=$1 wait=${2:-60} id i
  for ((i = 0; i < wait * 10; i++)); do
    id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# pordane_wait_gone <id> [seconds]: waits until the window is no longer visible, so
# that the next search cannot find a dialog that is still closing.
pordane_wait_gone() {
  local id=$1 wait=${2:-10} i
  for ((i = 0; i < wait * 10; i++)); do
    xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$id" || return 0
    sleep 0.1
  done
  return 1
}

# pordane_geometry <id>: sets WX, WY, WW, WH to the window's place and size.
pordane_geometry() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  WX=$X WY=$Y WW=$WIDTH WH=$HEIGHT
}

pordane_click() {
  xdotool mousemove --sync "$1" "$2" click 1
}

# The main window's buttons sit at fixed places in its 758 x 587 client area.
pordane_click_close() {
  pordane_geometry "$1"
  pordane_click $((WX + 698)) $((WY + 554))
}
pordane_click_proceed() {
  pordane_geometry "$1"
  pordane_click $((WX + 596)) $((WY + 554))
}
# pordane_click_dialog_button <id> <n>: the n-th button of a message dialog counted
# from the right (1: "No" of a question, "OK" of a message; 2: "Yes"). Buttons are 100
# wide with short captions, 7 apart, the last one 16 from the panel's edge.
pordane_click_dialog_button() {
  pordane_geometry "$1"
  pordane_click $((WX + WW - 2 - 16 - 50 - 107 * ($2 - 1))) $((WY + WH - 2 - 64 + 10 + 20))
}

# pordane_wait_exit <pid> [seconds]: the program's exit status; a program that
# does not end in time is killed and 124 returned.
pordane_wait_exit() {
  local pid=$1 wait=${2:-30} i
  for ((i = 0; i < wait * 10; i++)); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      return $?
    fi
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  return 124
}

# pordane_set_skin <registry folder> <style file name>: the user's "Skin"
# setting in the hive that the demo tool wrote (UTF-16LE with CR LF lines).
pordane_set_skin() {
  local hive=$1/HKEY_CURRENT_USER.reg skin=$2 tmp
  tmp=$(mktemp)
  iconv -f UTF-16LE -t UTF-8 "$hive" |
    sed -e '/^"Skin"=/d' \
        -e "s|^\(\[HKEY_CURRENT_USER\\\\SOFTWARE\\\\Tollvane\\\\Orvo\]\)\r\$|\1\r\n\"Skin\"=\"$skin\"\r|" |
    iconv -f UTF-8 -t UTF-16LE >"$tmp"
  mv "$tmp" "$hive"
}
