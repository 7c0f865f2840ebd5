#!/bin/sh
# The web page's packages, from a native build that made its folder:
#   web.sh BUILD_NATIVE_DIR DIST_DIR
# makes DIST_DIR/mirobel-web/ (index.html, the one script with the
# WebAssembly inside it, the licences) and DIST_DIR/Mirobel-VERSION-web.zip
# holding that folder.
set -eu
[ $# -eq 2 ] || { echo "usage: $0 BUILD_NATIVE_DIR DIST_DIR" >&2; exit 2; }
build=$1 dist=$2
page=$build/web/mirobel-web
for f in index.html mirobel.js; do
  [ -f "$page/$f" ] || { echo "$0: no $page/$f; build the target mirobel_web first" >&2; exit 1; }
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "$0: no project version in $build/CMakeCache.txt" >&2; exit 1; }

mkdir -p "$dist"
dist=$(cd "$dist" && pwd)
zip=$dist/Mirobel-$version-web.zip
rm -rf "$dist/mirobel-web"
cp -R "$page" "$dist/mirobel-web"
rm -f "$zip"
# -X -D: no extra attributes, no directory entries; the same bytes each time
# the same files are zipped.
(cd "$dist" && zip -q -X -D -r "$zip" mirobel-web)
echo "made $dist/mirobel-web"
echo "made $zip"
