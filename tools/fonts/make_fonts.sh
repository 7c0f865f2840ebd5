#!/bin/sh
# Rebuilds assets/fonts/YujiSyuku-subset.ttf, BIZUDMincho-subset.ttf,
# LiberationSans-subset.ttf and their
# licence files from the characters the sources draw. See README.md beside it.
# Needs Debian packages python3-fonttools, fonts-morisawa-bizud-mincho,
# fonts-liberation2 and npm.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

# The version and checksum are pinned so that a rerun on an unchanged tree
# gives byte-identical fonts; change both together to take a newer release.
version=5.3.0
sha256=15c7bc12bf18098d4ff6f83c274ecdf7eaabc5f03aaebb0b9d0d7d37c1d61e71
cache_dir="$root/build/fonts"
tarball="$cache_dir/fontsource-yuji-syuku-$version.tgz"
mincho=/usr/share/fonts/truetype/bizud-mincho/BIZUDMincho-Regular.ttf
latin=/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf

fail() {
    echo "make_fonts.sh: $*" >&2
    exit 1
}

/usr/bin/python3 -c 'import fontTools' 2>/dev/null ||
    fail "/usr/bin/python3 cannot import fontTools: apt-get install python3-fonttools"
[ -f "$mincho" ] || fail "$mincho missing: apt-get install fonts-morisawa-bizud-mincho"
[ -f "$latin" ] || fail "$latin missing: apt-get install fonts-liberation2"

checksum_ok() {
    [ "$(sha256sum "$1" | cut -d' ' -f1)" = "$sha256" ]
}

work=$(mktemp -d "${TMPDIR:-/tmp}/make_fonts.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

if [ -f "$tarball" ] && checksum_ok "$tarball"; then
    echo "using cached $tarball" >&2
else
    command -v npm >/dev/null 2>&1 || fail "npm not found: apt-get install npm"
    (cd "$work" && npm pack --silent "@fontsource/yuji-syuku@$version" >/dev/null)
    packed="$work/fontsource-yuji-syuku-$version.tgz"
    [ -f "$packed" ] || fail "npm pack did not produce $(basename "$packed")"
    checksum_ok "$packed" || fail "checksum of $(basename "$packed") differs from the pinned one"
    mkdir -p "$cache_dir"
    cp "$packed" "$tarball"
fi

mkdir "$work/pkg"
tar -xzf "$tarball" -C "$work/pkg"

/usr/bin/python3 "$here/make_fonts.py" --root "$root" --package-dir "$work/pkg/package" \
    --mincho "$mincho" "$@"
