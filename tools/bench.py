#!/usr/bin/python3
"""Runs the frame-painting benchmark under Wine on a virtual 3840 x 2160 display
and prints its figures. Build first (tools/build.sh)."""
import os
import sys

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(root, "tests", "harness"))
from winebox import WineBox  # noqa: E402

BUILD = os.path.join(root, "build", "win")

with WineBox(BUILD, 3840, 2160) as box:
    r = box.run(os.path.join(BUILD, "paintframe_bench.exe"), timeout=1800)
    sys.stdout.write(r.stdout.decode("utf-8", "replace"))
