#!/bin/sh
# The README's picture of the web page: the built page (build/native) in
# headless Chromium at 1280 x 720, a fixed poem sequence run for 1,500 frames
# so that the card is written, its portrait shown and the rendering running.
#   tools/web/screenshot.sh [OUT.png]   (default docs/web-page.png)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(realpath -m "${1:-$root/docs/web-page.png}")
page=$root/build/native/web/mirobel-web/index.html
[ -f "$page" ] || { echo "$0: no $page; build first (tools/build.sh)" >&2; exit 1; }
cd "$root/tests/web"
node browser.js "{\"url\": \"file://$page?seed=7&record=1500\", \"width\": 1280, \"height\": 720,
                  \"wait\": \"recorded\", \"screenshot\": \"$out\"}" >/dev/null
echo "made $out"
