#!/bin/sh
# Prints the native show's frame cost and memory at 1280 x 720 and
# 3840 x 2160, on a private virtual display. Build first (tools/build.sh).
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
exec xvfb-run -a -s "-screen 0 3840x2160x24 -nolisten tcp" "$root/build/native/x11_frame_bench" "$@"
