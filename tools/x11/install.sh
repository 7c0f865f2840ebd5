#!/bin/sh
# Builds the native show and installs it under /usr, where Debian's
# XScreenSaver finds it and where the Debian package puts the same files:
# /usr/libexec/xscreensaver/mirobel, /usr/share/xscreensaver/config/mirobel.xml
# and the manual page in /usr/share/man/man6. Installs what the build needs
# when it is missing (a subset of tools/setup-debian.sh: no Wine, no MinGW).
#
#   install.sh            build and install
#   install.sh --remove   remove what install.sh installs
#
# DESTDIR stages either into another root, as with cmake --install;
# MIROBEL_BUILD names the build folder (default build/native).
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build="${MIROBEL_BUILD:-$root/build/native}"
prefix=/usr
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

# The files an install puts down, found by staging one: whatever the build
# installs is what --remove takes away, and nothing else.
installed_files() {
  stage=$(mktemp -d)
  DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" >/dev/null
  (cd "$stage" && find . ! -type d | sed 's|^\.||')
  rm -rf "$stage"
}

case "${1:-}" in
  --remove)
    [ -f "$build/CMakeCache.txt" ] || { echo "no build in $build to tell what was installed" >&2; exit 2; }
    for f in $(installed_files); do
      target="${DESTDIR:-}$f"
      # The package's own copy stays: apt removes it.
      if [ -z "${DESTDIR:-}" ] && dpkg -S "$f" >/dev/null 2>&1; then
        echo "kept (the mirobel package owns it): $f"
        continue
      fi
      [ -e "$target" ] && $SUDO rm -f "$target" && echo "removed: $target"
    done
    exit 0 ;;
  "") ;;
  *) echo "usage: $0 [--remove]" >&2; exit 2 ;;
esac

packages="cmake make g++ pkgconf googletest libgtest-dev python3 libx11-dev libcairo2-dev libfreetype-dev
libjpeg62-turbo-dev"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "installing:$missing"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target mirobel mirobel_man -j "$(nproc 2>/dev/null || echo 2)"
$SUDO env DESTDIR="${DESTDIR:-}" cmake --install "$build" --prefix "$prefix"
echo "installed: ${DESTDIR:-}/usr/libexec/xscreensaver/mirobel (remove with $0 --remove)"
