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
    # At a display scaling the screen is as large in units as the standard
    # 1024 x 768 one, as a user's is: 200 % comes with a large screen.
    dpi = int(os.environ.get("MIROBEL_DPI") or 96)
    with WineBox(build, width=1024 * dpi // 96, height=768 * dpi // 96) as box:
        # Output goes straight to ours; no pipe for Wine's helpers to hold open.
        r = subprocess.run(["wine", program, *args], env=box.env, timeout=1800, stdin=subprocess.DEVNULL)
        return r.returncode


if __name__ == "__main__":
    sys.exit(main())
