#!/bin/sh
# wine-run.sh WINE64 PREFIX PROGRAM [ARGS...]
# Runs a Windows console program under Wine in the given prefix, without a display.
# wineboot runs first, under a lock: it creates the prefix once without a race, and it
# starts Wine's background services with their output on /dev/null; started by the
# program itself they would inherit its output pipe and keep ctest waiting for them.
set -e
wine64="$1"; prefix="$2"; shift 2
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
mkdir -p "$(dirname "$prefix")"
(
  flock 9
  "$wine64" wineboot </dev/null >/dev/null 2>&1 9>&-
) 9>"$prefix.lock"
exec "$wine64" "$@"
