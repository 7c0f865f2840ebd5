#!/usr/bin/python3
"""CPU share of the web page in headless Chromium, with the native show
beside it in the same run. A benchmark, not a test: it prints figures and
asserts nothing.

Both run the show at speed 3 on 1280 x 720 for --seconds (30): the page
from the build's folder (build/native/web/mirobel-web) in Debian's Chromium
driven by tests/web/browser.js, the native program on a private Xvfb. Printed
per side: CPU time as a share of one core, for the whole browser (every
Chromium process: browser, renderer, GPU and utility processes) and for its
renderer alone (where the show's WebAssembly and canvas drawing run), for
the native program and for its X server. A second browser run shows the
same page stopped after its first frame: what Chromium costs without the
show.

Build first (tools/build.sh). Usage: tools/web/bench.py [--seconds N]
"""
import argparse
import json
import os
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tests", "x11"))
from xdisplay import XDisplay  # noqa: E402

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def stat(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            head, tail = f.read().rsplit(")", 1)
    except OSError:
        return None
    fields = tail.split()
    return int(fields[1]), int(fields[11]) + int(fields[12])  # parent, utime + stime


def tree(root):
    """The process and all its descendants."""
    parents = {}
    for name in os.listdir("/proc"):
        if name.isdigit() and (s := stat(int(name))):
            parents[int(name)] = s[0]
    found, changed = {root}, True
    while changed:
        changed = False
        for pid, parent in parents.items():
            if parent in found and pid not in found:
                found.add(pid)
                changed = True
    return found


def cmdline(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            return f.read().replace(b"\0", b" ").decode(errors="replace")
    except OSError:
        return ""


def ticks(pids):
    return sum((stat(p) or (0, 0))[1] for p in pids)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--seconds", type=float, default=30)
    args = parser.parse_args()
    page = os.path.join(ROOT, "build", "native", "web", "mirobel-web", "index.html")
    mirobel = os.path.join(ROOT, "build", "native", "mirobel")
    for need in (page, mirobel):
        if not os.path.exists(need):
            sys.exit(f"missing {need}: build first (tools/build.sh)")
    settle = 5
    share, processes = {}, 0
    for query, label in (("?speed=3", ""), ("?record=1", " stopped")):
        job = {"url": "file://" + page + query, "width": 1280, "height": 720,
               "wait": int((args.seconds + settle + 5) * 1000)}
        browser = subprocess.Popen(["node", os.path.join(ROOT, "tests", "web", "browser.js"), json.dumps(job)],
                                   cwd=os.path.join(ROOT, "tests", "web"), stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE)
        x = XDisplay(1280, 720, mirobel) if not label else None
        try:
            watched = {}
            if x:
                native = x.start("-root", "-speed", "3")
                watched = {"native": {native.pid}, "xvfb": {x.xvfb.pid}}
            time.sleep(settle)  # the page loads, the show starts on both
            chromium = tree(browser.pid) - {browser.pid}
            renderers = {p for p in chromium if "--type=renderer" in cmdline(p)}
            if not renderers:
                sys.exit("no Chromium renderer found")
            processes = max(processes, len(chromium))
            watched.update({"browser" + label: chromium, "renderer" + label: renderers})
            before = {k: ticks(v) for k, v in watched.items()}
            start = time.monotonic()
            time.sleep(args.seconds)
            elapsed = time.monotonic() - start
            after = {k: ticks(v) for k, v in watched.items()}
        finally:
            if x:
                x.close()
            browser.kill()
            browser.wait()
        share.update({k: (after[k] - before[k]) / CLOCK_TICKS / elapsed for k in watched})
    print(f"speed 3, 1280 x 720, {args.seconds:.0f} s, CPU as a share of one core:")
    print(f"  web page, all of Chromium ({processes} processes):    {share['browser']:7.2%}")
    print(f"  web page, its renderer alone:                   {share['renderer']:7.2%}")
    print(f"  native show (mirobel), beside it:               {share['native']:7.2%}")
    print(f"  native show's X server (Xvfb):                  {share['xvfb']:7.2%}")
    print(f"  the page stopped after its first frame, all:    {share['browser stopped']:7.2%}")
    print(f"  the page stopped after its first frame, renderer: {share['renderer stopped']:5.2%}")


if __name__ == "__main__":
    main()
