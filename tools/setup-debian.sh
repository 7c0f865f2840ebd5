#!/bin/sh
# Installs what building and testing need on Debian 12, only when missing.
set -eu
packages="cmake make g++ googletest libgtest-dev g++-mingw-w64-x86-64 mingw-w64-tools wine wine64 xvfb xdotool
x11-apps imagemagick python3 python3-fonttools librsvg2-bin fonts-wine fonts-morisawa-bizud-mincho
pkgconf libx11-dev libcairo2-dev libfreetype-dev libjpeg62-turbo-dev fontconfig
wixl msitools zip x11-xserver-utils dpkg-dev lintian man-db fluidsynth fluid-soundfont-gm
emscripten chromium xserver-xorg-core xserver-xorg-video-dummy locales"
# The web page's tests drive Chromium with puppeteer-core from npm. A
# Node.js installed some other way (with its own npm) is used as it is.
command -v node >/dev/null 2>&1 || packages="$packages nodejs"
command -v npm >/dev/null 2>&1 || packages="$packages npm"
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

# puppeteer-core at the version the lock file names (it downloads no browser).
web_tests="$(cd "$(dirname "$0")/.." && pwd)/tests/web"
wanted=$(sed -n '/"node_modules\/puppeteer-core"/,/"version"/s/^ *"version": "\(.*\)",$/\1/p' "$web_tests/package-lock.json")
have=$(sed -n 's/^  "version": "\(.*\)",$/\1/p' "$web_tests/node_modules/puppeteer-core/package.json" 2>/dev/null || true)
if [ "$have" != "$wanted" ]; then
  echo "installing puppeteer-core $wanted for the web page's tests"
  npm ci --prefix "$web_tests" --no-audit --no-fund
fi
