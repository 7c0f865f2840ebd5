#!/bin/sh
# Regenerates assets/portraits/p001.jpg .. p100.jpg and verifies them.
# Needs Debian packages python3, librsvg2-bin and imagemagick.
set -e
here=$(cd "$(dirname "$0")" && pwd)
/usr/bin/python3 "$here/make_portraits.py"
/usr/bin/python3 "$here/make_portraits.py" --check
