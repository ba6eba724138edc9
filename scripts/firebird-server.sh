#!/usr/bin/env bash
# Starts or stops a Firebird server on loopback for the tests that reach a database
# through "127.0.0.1:". The login is sysdba / quillsong. The server runs in the
# background as the firebird user; its process id is kept so that stop ends exactly it.
#
#   scripts/firebird-server.sh start   set the password, start, wait until it answers
#   scripts/firebird-server.sh stop    end the server once no test run still uses it
#
# Each caller (CTest runs it, so the caller is that CTest process) is noted as a user
# of the server; stop ends it only when no living user is left, so two test runs on
# one machine do not pull the server from under each other.
set -euo pipefail

STATE_DIR="${PORDANE_FIREBIRD_STATE:-/tmp/pordane-firebird}"
PID_FILE="$STATE_DIR/server.pid"
USERS_FILE="$STATE_DIR/users"
SERVER_BIN="${FIREBIRD_SERVER_BIN:-/usr/sbin/firebird}"
SECURITY_DB="${FIREBIRD_SECURITY_DB:-/var/lib/firebird/3.0/system/security3.fdb}"
SERVER_USER="firebird"
PORT=3050
PASSWORD="quillsong"
WAIT_SECONDS=30
CALLER="$PPID"

die() { echo "firebird-server: $*" >&2; exit 1; }

our_pid() {
  [ -f "$PID_FILE" ] || return 1
  local pid
  pid="$(cat "$PID_FILE")"
  [ -n "$pid" ] && [ -d "/proc/$pid" ] && [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$SERVER_BIN" ] || return 1
  echo "$pid"
}

port_open() { (exec 3<>"/dev/tcp/127.0.0.1/$PORT") 2>/dev/null; }

# Signs in through the server with the test login, on a database the server makes and drops.
login_works() {
  local probe="$STATE_DIR/probe-$$.fdb"
  rm -f "$probe"
  echo "create database '127.0.0.1:$probe' user 'SYSDBA' password '$PASSWORD'; drop database;" \
    | timeout 20 isql-fb -q >/dev/null 2>&1
}

# The users still alive, the caller added or removed.
update_users() {
  local change="$1" line
  local -a alive=()
  if [ -f "$USERS_FILE" ]; then
    while read -r line; do
      [ -n "$line" ] && [ "$line" != "$CALLER" ] && [ -d "/proc/$line" ] && alive+=("$line")
    done <"$USERS_FILE"
  fi
  [ "$change" = add ] && alive+=("$CALLER")
  printf '%s\n' "${alive[@]+"${alive[@]}"}" | sed '/^$/d' >"$USERS_FILE"
}

set_password() {
  # The embedded engine opens the security database directly, which it can only do
  # while no server holds it.
  echo "create or alter user SYSDBA password '$PASSWORD' using plugin Srp; commit;" \
    | timeout 30 isql-fb -q -user SYSDBA "$SECURITY_DB" >/dev/null \
    || die "could not set the SYSDBA password in $SECURITY_DB"
  chown "$SERVER_USER:$SERVER_USER" "$SECURITY_DB"
}

start_server() {
  if port_open; then
    # A server started otherwise (a system service) will do if it takes the test login.
    login_works && { echo "firebird-server: using the server already on 127.0.0.1:$PORT"; return 0; }
    die "port $PORT is taken by a server this script did not start, and it refuses sysdba/$PASSWORD"
  fi
  set_password
  # Shared lock files made by embedded use as root must stay usable by the server's user.
  install -d -m 0770 -o "$SERVER_USER" -g "$SERVER_USER" /tmp/firebird /run/firebird3.0
  chown -R "$SERVER_USER:$SERVER_USER" /tmp/firebird

  setsid setpriv --reuid="$SERVER_USER" --regid="$SERVER_USER" --init-groups -- "$SERVER_BIN" \
    >"$STATE_DIR/server.log" 2>&1 </dev/null &
  local pid=$!
  echo "$pid" >"$PID_FILE"

  local waited=0
  until port_open; do
    [ -d "/proc/$pid" ] || die "the server ended at start; see $STATE_DIR/server.log and /var/log/firebird"
    [ "$waited" -lt $((WAIT_SECONDS * 10)) ] || { kill_server; die "no answer on 127.0.0.1:$PORT after ${WAIT_SECONDS}s"; }
    sleep 0.1
    waited=$((waited + 1))
  done
  login_works || { kill_server; die "the server answers but refuses sysdba/$PASSWORD"; }
  echo "firebird-server: running on 127.0.0.1:$PORT (pid $pid)"
}

kill_server() {
  local pid
  if pid="$(our_pid)"; then
    kill "$pid"
    for _ in $(seq 1 100); do
      [ -d "/proc/$pid" ] || break
      sleep 0.1
    done
    [ -d "/proc/$pid" ] && kill -9 "$pid"
    echo "firebird-server: stopped (pid $pid)"
  else
    echo "firebird-server: not running"
  fi
  rm -f "$PID_FILE"
}

start() {
  [ "$(id -u)" -eq 0 ] || die "start needs root (it sets the password and runs the server as $SERVER_USER)"
  [ -x "$SERVER_BIN" ] || die "$SERVER_BIN is missing: run scripts/install-deps.sh"
  if pid="$(our_pid)" && login_works; then
    echo "firebird-server: already running (pid $pid)"
  else
    kill_server >/dev/null
    start_server
  fi
  update_users add
}

stop() {
  update_users remove
  if [ -s "$USERS_FILE" ]; then
    echo "firebird-server: still used by $(tr '\n' ' ' <"$USERS_FILE")"
    return 0
  fi
  kill_server
}

mkdir -p "$STATE_DIR"
chmod 0777 "$STATE_DIR"
exec 9>"$STATE_DIR/lock"
flock -w 120 9 || die "another start or stop holds $STATE_DIR/lock"

case "${1:-}" in
  start) start ;;
  stop) stop ;;
  *) die "usage: $0 start|stop" ;;
esac
