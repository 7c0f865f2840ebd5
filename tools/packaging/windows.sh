#!/bin/sh
# The Windows packages of a built Mirobel.scr:
#   windows.sh BUILD_WIN_DIR DIST_DIR
# makes DIST_DIR/Mirobel-VERSION-x64.msi and DIST_DIR/Mirobel-VERSION-win64.zip,
# VERSION being the project version the build was configured with. Both carry
# the music the build writes (music/Mirobel.mid) beside the program.
set -eu
[ $# -eq 2 ] || { echo "usage: $0 BUILD_WIN_DIR DIST_DIR" >&2; exit 2; }
build=$1 dist=$2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
scr=$build/Mirobel.scr
mid=$build/music/Mirobel.mid
[ -f "$scr" ] || { echo "$0: no $scr; build the target Mirobel first" >&2; exit 1; }
[ -f "$mid" ] || { echo "$0: no $mid; build the target mirobel_music first" >&2; exit 1; }
# The version the build put into the program's version resource.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "$0: no project version in $build/CMakeCache.txt" >&2; exit 1; }

mkdir -p "$dist"
msi=$dist/Mirobel-$version-x64.msi
zip=$dist/Mirobel-$version-win64.zip

"$here/msi.sh" "$version" "$scr" "$mid" "$msi"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$scr" "$stage/Mirobel.scr"
cp "$mid" "$stage/Mirobel.mid"
cp "$root/LICENSE" "$stage/LICENSE"
# The two faces the program embeds; the English rendering is drawn in
# Windows's own Tahoma.
cp "$root/assets/fonts/YujiSyuku-OFL.txt" "$root/assets/fonts/BIZUDMincho-OFL.txt" "$stage/"
# Notepad on older Windows reads UTF-8 only with a byte-order mark, and
# shows a text without CRs on one line.
printf '\357\273\277' > "$stage/README.txt"
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$root/packaging/windows/README.txt" >> "$stage/README.txt"
rm -f "$zip"
(cd "$stage" && zip -q -X -D "$(cd "$dist" && pwd)/$(basename "$zip")" *)
echo "made $msi"
echo "made $zip"
