#!/bin/sh
# Makes assets/preview/preview.bmp with the program's own card drawing, run
# under Wine on a private virtual display.
#
#   tools/preview/make_preview.sh [windows build dir] [poem number]
#
# Only the faces embedded in the program are visible to the drawing (an
# empty font configuration and a fresh Wine prefix), so the picture does not
# depend on the fonts of the machine that makes it.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-"$root/build/win"}
poem=${2:-1}
case "$build" in /*) ;; *) build="$root/$build" ;; esac

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
fi
cmake --build "$build" --target make_preview

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/fontcache"
printf '<fontconfig><cachedir>%s</cachedir></fontconfig>\n' "$work/fontcache" >"$work/fonts.conf"

out="$root/assets/preview/preview.bmp"
mkdir -p "$(dirname "$out")"
# The Z: drive shows the host's root.
winout="Z:$(echo "$out" | tr / '\\')"
FONTCONFIG_FILE="$work/fonts.conf" MIROBEL_BUILD_DIR="$work/box" \
  /usr/bin/python3 "$root/tests/harness/run_in_wine.py" "$build/make_preview.exe" "$winout" "$poem"
echo "wrote $out"
