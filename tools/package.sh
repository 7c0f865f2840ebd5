#!/bin/sh
# Builds every package into dist/: the Windows installer and zip, the
# Debian package of the native show, and the web page's folder and zip.
# Installs what is missing first.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup-debian.sh"
"$root/tools/build.sh"
"$root/tools/packaging/windows.sh" "$root/build/win" "$root/dist"
"$root/tools/packaging/debian.sh" "$root/build/native" "$root/dist"
"$root/tools/packaging/web.sh" "$root/build/native" "$root/dist"
ls -l "$root/dist"
