# What the benchmark scripts share: the large site and the server on loopback. Source it;
# it defines functions only.

# pordane_bench_site <build folder> <site folder>: makes the large site (2,000 departments,
# 100,000 products) in the folder once and keeps it; the file and the folder stay open to
# the server's own user.
pordane_bench_site() {
  if [ ! -f "$2/bench.fdb" ]; then
    "$1/database/tools/pordane-make-site" --bench --server --out "$2"
  fi
}

# pordane_bench_server <project root>: the Firebird server on 127.0.0.1:3050 for the rest of
# the script; noted as a user of it even when it runs already, so that another run's stop
# leaves it running until this one is done.
pordane_bench_server() {
  local root=$1
  bash "$root/scripts/firebird-server.sh" start >/dev/null
  trap "bash '$root/scripts/firebird-server.sh' stop >/dev/null" EXIT
}
