# What the scripts that build something once into the cache share (source it). An
# entry is a folder <prefix> whose stamp <prefix>/.complete, written last, holds the
# recipe it was made from: a cut-short build or one of another recipe has none or
# another, and is built again.

# cache_claim <prefix> <recipe> <what>: prints <prefix> and fails when the entry is
# complete; otherwise holds <prefix>.lock (on fd 9, for the rest of the script) and
# succeeds, so the caller builds it. A run that is building it now is waited for.
cache_claim() {
  local prefix=$1 recipe=$2 what=$3
  if [ "$(cat "$prefix/.complete" 2>/dev/null || true)" = "$recipe" ]; then
    echo "$prefix"
    return 1
  fi
  mkdir -p "$(dirname "$prefix")"
  exec 9>"$prefix.lock"
  if ! flock -n 9; then
    echo "Another run is building $what into $prefix; waiting for it" >&2
    flock 9
  fi
  if [ "$(cat "$prefix/.complete" 2>/dev/null || true)" = "$recipe" ]; then # built while this run waited
    echo "$prefix"
    return 1
  fi
}

# cache_complete <prefix> <recipe>: marks the entry complete; the last step of a build.
cache_complete() {
  echo "$2" >"$1/.complete"
}
