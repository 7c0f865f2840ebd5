#!/bin/sh
# Installs what building and testing need on Debian 12, only when missing.
set -eu
packages="cmake make g++ googletest libgtest-dev g++-mingw-w64-x86-64 mingw-w64-tools wine wine64 xvfb xdotool
x11-apps imagemagick python3 python3-fonttools librsvg2-bin fonts-wine fonts-morisawa-bizud-mincho
pkgconf libx11-dev libcairo2-dev libfreetype-dev libjpeg62-turbo-dev fontconfig
wixl msitools zip x11-xserver-utils dpkg-dev lintian man-db xserver-xorg-core xserver-xorg-video-dummy"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "installing:$missing"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
fi
