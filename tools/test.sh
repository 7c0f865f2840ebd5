#!/bin/sh
# Installs what is missing, builds, and runs every test: the native unit tests,
# then the Windows tests and end-to-end tests under Wine on a virtual display.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup-debian.sh"
"$root/tools/build.sh"
cd "$root/build/native" && ctest --output-on-failure
cd "$root/build/win" && ctest --output-on-failure
