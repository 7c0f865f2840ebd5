#!/bin/sh
# Installs what is missing, builds, and runs the show (see tools/run-show.py).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup-debian.sh"
"$root/tools/build.sh"
exec /usr/bin/python3 "$root/tools/run-show.py"
