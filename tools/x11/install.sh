#!/bin/sh
# Builds the native show and installs it where Debian's XScreenSaver finds
# it: /usr/libexec/xscreensaver/mirobel and
# /usr/share/xscreensaver/config/mirobel.xml. Installs what the build needs
# when it is missing (a subset of tools/setup-debian.sh: no Wine, no MinGW).
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
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
cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/native" --target mirobel mirobel_man -j "$(nproc 2>/dev/null || echo 2)"
$SUDO cmake --install "$root/build/native"
echo "installed: /usr/libexec/xscreensaver/mirobel"
