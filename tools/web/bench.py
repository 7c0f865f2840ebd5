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
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tests", "x11"))
from xdisplay import XDisplay  # noqa: E402

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def fields(pid):
    """The fields of /proc/PID/stat after the command's name, or None."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()
    except (OSError, IndexError):
        return None


def stat(pid):
    if not (f := fields(pid)):
        return None
    return int(f[1]), int(f[11]) + int(f[12])  # parent, utime + stime


def started(pid):
    """When the process started: with the pid, it names one process even
    after the pid has been given to another."""
    f = fields(pid)
    return f and f[19]


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


def end_tree(process, grace=10):
    """Ends the driver and every process under it. puppeteer starts Chromium
    in a session of its own, so the driver's group does not hold the
    browser, and once the driver is gone the browser's processes are no
    longer its descendants: the tree is taken first, then asked to end, then
    whatever is left of it is killed."""
    members = {p: started(p) for p in tree(process.pid)}

    def alive():
        return [p for p, t in members.items() if t and started(p) == t]

    def send(sig):
        for p in alive():
            try:
                os.kill(p, sig)
            except ProcessLookupError:
                pass

    try:
        os.killpg(process.pid, signal.SIGTERM)  # puppeteer closes its browser on SIGTERM
    except ProcessLookupError:
        pass
    send(signal.SIGTERM)
    deadline = time.monotonic() + grace
    while alive() and time.monotonic() < deadline:
        process.poll()  # reaps the driver, so it does not stay as a zombie
        time.sleep(0.1)
    send(signal.SIGKILL)
    process.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--seconds", type=float, default=30)
    args = parser.parse_args()
    page = os.path.join(ROOT, "build", "native", "web", "mirobel-web", "index.html")
    mirobel = os.path.join(ROOT, "build", "native", "mirobel")
    for need in (page, mirobel):
        if not os.path.exists(need):
            sys.exit(f"missing {need}: build first (tools/build.sh)")
    # A plain kill (a terminal's Ctrl+C comes as KeyboardInterrupt) still
    # passes through the finally below that ends the browsers.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))
    settle = 5
    share, processes = {}, 0
    for query, label in (("?speed=3", ""), ("?record=1", " stopped")):
        job = {"url": "file://" + page + query, "width": 1280, "height": 720,
               "wait": int((args.seconds + settle + 5) * 1000)}
        # In a session of its own: the group holds the driver and nothing of
        # ours, and a Ctrl+C reaches only this script, which ends it in order.
        # The driver ended early leaves its browser profile behind, so its
        # temporary files go into a folder that is removed afterwards.
        scratch = tempfile.mkdtemp(prefix="mirobel-bench-")
        browser = subprocess.Popen(["node", os.path.join(ROOT, "tests", "web", "browser.js"), json.dumps(job)],
                                   cwd=os.path.join(ROOT, "tests", "web"), stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, start_new_session=True,
                                   env=dict(os.environ, TMPDIR=scratch))
        x = None
        try:
            x = XDisplay(1280, 720, mirobel) if not label else None
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
            # A second Ctrl+C must not cut the cleaning up short.
            held = signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGINT, signal.SIGTERM})
            try:
                if x:
                    x.close()
                end_tree(browser)
                shutil.rmtree(scratch, ignore_errors=True)
            finally:
                signal.pthread_sigmask(signal.SIG_SETMASK, held)
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
