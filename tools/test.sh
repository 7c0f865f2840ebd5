#!/bin/sh
# Installs what is missing, builds, and runs every test: the native unit tests,
# then the Windows tests and end-to-end tests under Wine on a virtual display.
#
# MIROBEL_TEST_LOAD=N runs the whole suite with N CPU-bound processes beside
# it, as on a busy CI machine (they are started here and ended with the run).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
load="${MIROBEL_TEST_LOAD:-0}"
case "$load" in
  ''|*[!0-9]*) echo "MIROBEL_TEST_LOAD must be a number of processes, not '$load'" >&2; exit 2 ;;
esac
hogs=""
end_load() {
  [ -n "$hogs" ] && kill $hogs 2>/dev/null || true
}
trap end_load EXIT
trap 'exit 130' INT TERM
i=0
while [ "$i" -lt "$load" ]; do
  yes >/dev/null &
  hogs="$hogs $!"
  i=$((i + 1))
done
[ "$load" -gt 0 ] && echo "running with $load CPU-bound processes beside the suite:$hogs"
"$root/tools/setup-debian.sh"
"$root/tools/build.sh"
cd "$root/build/native" && ctest --output-on-failure
cd "$root/build/win" && ctest --output-on-failure
