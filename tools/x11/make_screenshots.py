#!/usr/bin/python3
"""Takes the README's pictures of the native show on a private virtual
display: the whole screen, the card close up, the card with its kimariji
marked, and the show in a window that has shrunk. Build first
(tools/build.sh).

usage: make_screenshots.py [OUT_DIR]   (default: docs)"""
import os
import subprocess
import sys
import time

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(root, "tests", "x11"))
sys.path.insert(0, os.path.join(root, "tests", "harness"))
from test_x11_show import colourful, count, cyan_box  # noqa: E402
from winebox import REAL_CONVERT, wait_until  # noqa: E402
from xdisplay import XDisplay  # noqa: E402

BUILD = os.path.join(root, "build", "native")
out = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "docs"))


def written(x, limit=None, above_ticker=False):
    """The screenshot once the card shows its portrait and the ticker runs."""
    def ready():
        shot = x.screenshot()
        box = cyan_box(shot, limit)
        if not box or box[2] - box[0] != 400 or box[3] - box[1] != 260:
            return None
        w, h = limit or (shot.width, shot.height)
        if above_ticker and box[3] > h - 40:
            return None
        portrait = (box[0] + 58, box[1] + 41, box[0] + 184, box[1] + 221)
        ticker = count(shot, (0, h - 30, w, h), lambda p: sum(p) > 300)
        return box if count(shot, portrait, colourful) > 126 * 90 and ticker > 1500 else None
    return wait_until(ready, 180, interval=0.2, what="a written card")


x = XDisplay(1280, 720, os.path.join(BUILD, "mirobel"), os.path.join(BUILD, "x11_host"), out)
try:
    x.start("-root", "-speed", "3", "-order", "ascending", "-first", "17", "-last", "17")
    box = written(x, above_ticker=True)
    x.save_last("linux-show.png")
    subprocess.run([REAL_CONVERT, os.path.join(out, "linux-show.png"), "-crop",
                    f"400x260+{box[0]}+{box[1]}", "+repage", os.path.join(out, "linux-card.png")], check=True)
finally:
    x.close()

# The two poems that open あさぼらけ: this one's six deciding kana run into
# the second column.
x = XDisplay(1280, 720, os.path.join(BUILD, "mirobel"), os.path.join(BUILD, "x11_host"), out)
try:
    x.start("-root", "-speed", "3", "-kimariji", "-first", "64", "-last", "64")
    box = written(x, above_ticker=True)
    x.save_last("linux-card-kimariji.png")
    subprocess.run([REAL_CONVERT, os.path.join(out, "linux-card-kimariji.png"), "-crop",
                    f"400x260+{box[0]}+{box[1]}", "+repage", os.path.join(out, "linux-card-kimariji.png")],
                   check=True)
finally:
    x.close()

x = XDisplay(1280, 720, os.path.join(BUILD, "mirobel"), os.path.join(BUILD, "x11_host"), out)
try:
    host, window = x.host(1280, 720)
    x.start("-window-id", window, "-speed", "1", "-order", "ascending", "-first", "8", "-last", "8")
    wait_until(lambda: (lambda b: b and b[0] > 500)(cyan_box(x.screenshot())), 120, what="card far right")
    host.stdin.write("resize 720 460\n")
    host.stdin.flush()
    host.stdout.readline()
    time.sleep(0.5)
    written(x, (720, 460))
    x.save_last("linux-resized.png")
    subprocess.run([REAL_CONVERT, os.path.join(out, "linux-resized.png"), "-crop", "900x540+0+0", "+repage",
                    os.path.join(out, "linux-resized.png")], check=True)
finally:
    x.close()
print("wrote", ", ".join(os.path.join(out, n) for n in ("linux-show.png", "linux-card.png", "linux-card-kimariji.png",
                                                        "linux-resized.png")))
