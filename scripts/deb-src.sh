#!/usr/bin/env bash
# Makes sure apt-get source can fetch the given Debian source packages:
#
#   scripts/deb-src.sh LOG PACKAGE...
#
# When apt knows no source for them, adds a deb-src entry for this release's own
# archive (/etc/apt/sources.list.d/pordane-deb-src.sources) and updates apt's lists,
# with apt's output appended to LOG. Fails with a message naming what is missing when
# the sources still cannot be had (no network, no such package).
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: deb-src.sh LOG PACKAGE..." >&2
  exit 2
fi
LOG="$1"
shift

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

all_known() {
  local p
  for p in "$@"; do
    apt-get source --print-uris "$p" >/dev/null 2>&1 || return 1
  done
}

if all_known "$@"; then
  exit 0
fi

ENTRY=/etc/apt/sources.list.d/pordane-deb-src.sources
if [ ! -f "$ENTRY" ]; then
  . /etc/os-release
  echo "Adding a deb-src entry for $VERSION_CODENAME ($ENTRY)" >&2
  printf '%s\n' \
    "Types: deb-src" \
    "URIs: http://deb.debian.org/debian" \
    "Suites: $VERSION_CODENAME $VERSION_CODENAME-updates" \
    "Components: main" \
    "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" |
    $SUDO tee "$ENTRY" >/dev/null
fi
# The entry may be there from before with lists that were never fetched.
if ! $SUDO apt-get update -q >>"$LOG" 2>&1; then
  echo "deb-src.sh: apt-get update failed (no network?); see $LOG" >&2
  exit 1
fi

for p in "$@"; do
  if ! apt-get source --print-uris "$p" >/dev/null 2>&1; then
    echo "deb-src.sh: Debian's source package '$p' cannot be had from apt's sources" \
      "(no network, or no deb-src entry that carries it); see $LOG" >&2
    exit 1
  fi
done
