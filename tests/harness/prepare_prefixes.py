#!/usr/bin/python3
"""Prepares the Wine prefixes every Windows test clones: one that sees the
host's fonts and one that sees none. Run once before the Windows tests (a
CTest fixture), so that no test's bounds include booting a prefix."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from winebox import WineBox  # noqa: E402


def main():
    build = os.path.abspath(sys.argv[1])
    for host_fonts in (True, False):
        t0 = time.monotonic()
        with WineBox(build, host_fonts=host_fonts):
            pass
        print(f"prefix {'with' if host_fonts else 'without'} host fonts ready in {time.monotonic() - t0:.1f}s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
