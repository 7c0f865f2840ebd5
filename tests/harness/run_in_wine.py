#!/usr/bin/python3
"""Runs one Windows test program under Wine in a private WineBox.

Used as the cross-compiling emulator of the Windows build, so that CTest can
run Windows test programs like native ones."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from winebox import WineBox  # noqa: E402


def main():
    program, args = sys.argv[1], sys.argv[2:]
    build = os.environ.get("MIROBEL_BUILD_DIR") or os.path.dirname(os.path.abspath(program))
    with WineBox(build) as box:
        # Output goes straight to ours; no pipe for Wine's helpers to hold open.
        r = subprocess.run(["wine", program, *args], env=box.env, timeout=1800, stdin=subprocess.DEVNULL)
        return r.returncode


if __name__ == "__main__":
    sys.exit(main())
