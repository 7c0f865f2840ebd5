#!/usr/bin/python3
"""Fails on an include that runs against the program's layering.

The sources are in layers: src/core is the portable library, src/win32 the
Windows layer, src/x11 the native Linux layer, src/web the web page, and src/app the Windows entry
point. Inside each layer, subsystems are folders ranked in one order:

    app  >  startup  >  show  >  settings  >  companions  >  poems  >  base

A file may include its own layer's headers (and the core's, for a platform
layer) of its own subsystem or of one ranked below it, never one above: so
the dependencies point one way and there are no circles. The core includes
no platform layer and no Windows header at all.
"""
import os
import re
import sys

RANK = {"base": 0, "poems": 1, "companions": 2, "settings": 3, "show": 4, "startup": 5, "app": 6}
# Which layers each layer may reach into.
LAYERS = {"core": {"core"}, "win32": {"core", "win32"}, "x11": {"core", "x11"}, "web": {"core", "web"}, "app": {"core", "win32", "app"}}
PLATFORM_HEADERS = re.compile(r"#\s*include\s*<(windows|winuser|wingdi|objbase|mmsystem|shellapi|wincodec|"
                              r"X11/[^>]*|cairo[^>]*|emscripten[^>]*)\.h>")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def place(path):
    """(layer, subsystem) of a path relative to src/, or None."""
    parts = path.split("/")
    if parts[0] == "app":
        return "app", "app"
    if parts[0] in LAYERS and len(parts) > 2 and parts[1] in RANK:
        return parts[0], parts[1]
    return None


def check(src):
    problems = []
    for root, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp", ".inc", ".rc")):
                continue
            full = os.path.join(root, name)
            rel = os.path.relpath(full, src).replace(os.sep, "/")
            here = place(rel)
            if here is None:
                problems.append(f"{rel}: not in a layer's subsystem folder")
                continue
            with open(full, encoding="utf-8", errors="replace") as f:
                text = f.read()
            if here[0] == "core" and PLATFORM_HEADERS.search(text):
                problems.append(f"{rel}: the core includes a platform header")
            for target in INCLUDE.findall(text):
                there = place(target)
                if there is None:
                    # Tables beside the includer, and sources the build
                    # generates, are named without a folder.
                    if "/" not in target:
                        continue
                    problems.append(f"{rel}: includes {target}, which is in no layer")
                    continue
                if there[0] not in LAYERS[here[0]]:
                    problems.append(f"{rel}: the {here[0]} layer includes {target} of the {there[0]} layer")
                elif RANK[there[1]] > RANK[here[1]]:
                    problems.append(f"{rel}: {here[1]} includes {target}, of {there[1]}, ranked above it")
    return problems


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "src")
    problems = check(os.path.abspath(src))
    for p in problems:
        print(p)
    print(f"{0 if problems else 1} passed, {1 if problems else 0} failed")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
