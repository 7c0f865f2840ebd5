#!/bin/sh
# Makes the Debian package of the native show from a built native tree:
#   tools/packaging/debian.sh BUILD_NATIVE_DIR DIST_DIR
# gives DIST_DIR/mirobel_VERSION-1_ARCH.deb, VERSION being the project's
# (CMakeLists.txt). Made with dpkg's own tools, as Debian's packaging
# helpers make a binary package: the tree staged by the build's install
# rules, Depends computed by dpkg-shlibdeps from the program's libraries,
# the control file written by dpkg-gencontrol from debian/control, and the
# archive built by dpkg-deb with every file owned by root.
set -eu
if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_NATIVE_DIR DIST_DIR" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
dist=$(cd "$2" && pwd)
revision=1
umask 022

# Up to date first: the version is read from the configured tree.
cmake --build "$build" --target mirobel mirobel_man >/dev/null
cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
version=$(cache_value CMAKE_PROJECT_VERSION)
source=$(cache_value CMAKE_HOME_DIRECTORY)
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
if [ -z "$version" ] || [ ! -f "$source/LICENSE" ]; then
  echo "$0: $build is not a configured Mirobel tree" >&2
  exit 1
fi
maintainer=$(sed -n 's/^Maintainer: //p' "$here/debian/control")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage="$work/mirobel"
DESTDIR="$stage" cmake --install "$build" --prefix /usr --strip >/dev/null
program="usr/libexec/xscreensaver/mirobel"
# What dh_strip also drops: the compiler's signature and the plain notes.
strip --remove-section=.comment --remove-section=.note "$stage/$program"
doc="$stage/usr/share/doc/mirobel"
mkdir -p "$doc" "$work/debian" "$stage/DEBIAN"

# The copyright file in Debian's machine-readable format, its licence
# texts taken from the files that travel with the code and the fonts.
as_field() { sed -e 's/^[[:space:]]*$/./' -e 's/^/ /' "$@"; }
# The notice above the licence, as a field: the first line's word
# "Copyright" dropped, further lines indented.
font_copyright() { sed -n -e '/^[[:space:]]*$/q' -e 's/[[:space:]]*$//' -e '1s/^Copyright //' -e '2,$s/^/ /' -e p "$1"; }
{
  echo "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
  echo "Upstream-Name: Mirobel"
  echo
  echo "Files: *"
  echo "Copyright: 2026 Team Mirobel"
  echo "License: Expat"
  echo
  echo "Files: assets/fonts/YujiSyuku-subset.ttf"
  echo "Copyright: $(font_copyright "$source/assets/fonts/YujiSyuku-OFL.txt")"
  echo "License: OFL-1.1"
  echo "Comment: a subset of Yuji Syuku, built into the program."
  echo
  echo "Files: assets/fonts/BIZUDMincho-subset.ttf"
  echo "Copyright: $(font_copyright "$source/assets/fonts/BIZUDMincho-OFL.txt")"
  echo "License: OFL-1.1"
  echo "Comment: a subset of BIZ UDMincho, built into the program."
  echo
  echo "Files: assets/fonts/LiberationSans-subset.ttf"
  echo "Copyright: $(font_copyright "$source/assets/fonts/LiberationSans-OFL.txt")"
  echo "License: OFL-1.1"
  echo "Comment: a subset of Liberation Sans, built into the program for the English rendering."
  echo
  echo "License: Expat"
  as_field "$source/LICENSE"
  echo
  echo "License: OFL-1.1"
  sed -n '/^---/,$p' "$source/assets/fonts/YujiSyuku-OFL.txt" | as_field
} > "$doc/copyright"

# One entry for the version being packaged, dated by the source's last
# commit (or SOURCE_DATE_EPOCH); dpkg-deb dates the archive's files by it too.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct 2>/dev/null || date +%s)}
export SOURCE_DATE_EPOCH="$epoch"
cat > "$work/debian/changelog" <<ENTRY
mirobel ($version-$revision) unstable; urgency=medium

  * Mirobel $version.

 -- $maintainer  $(LC_ALL=C date -u -R -d "@$epoch")
ENTRY
gzip -9n -c "$work/debian/changelog" > "$doc/changelog.Debian.gz"

cp "$here/debian/control" "$work/debian/control"
(
  cd "$work"
  dpkg-shlibdeps -Tdebian/substvars "mirobel/$program"
  dpkg-gencontrol -pmirobel -v"$version-$revision" -Tdebian/substvars -Pmirobel
)
(cd "$stage" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) > "$stage/DEBIAN/md5sums"
chmod -R u+rwX,go=rX "$stage"
chmod 0644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums" "$doc/copyright" "$doc/changelog.Debian.gz"

package="$dist/mirobel_${version}-${revision}_${arch}.deb"
dpkg-deb --root-owner-group -Zxz --build "$stage" "$package" >/dev/null
echo "$package"
