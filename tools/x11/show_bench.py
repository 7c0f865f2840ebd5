#!/usr/bin/python3
"""What the native show costs a computer left alone: a benchmark, not a test.

The real `mirobel` draws into the root window of a private virtual display
(1280 x 720 unless --size) for --seconds (20) per run at each --speeds.
Printed per run: CPU time of the program and of the X server as a share of
one core, their sum, and the program's wake-ups a second (its voluntary
context switches: every return from a wait, for a tick or for an answer of
the X server; being preempted on a busy machine is not counted), and its
resident memory at the end.

--old PROGRAM runs an earlier build beside this one, run for run in turn
(old, new, old, new, ...) so that both see the same machine.

Build first (tools/build.sh). Usage: tools/x11/show_bench.py [--old PATH]
"""
import argparse
import os
import sys
import time

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(root, "tests", "x11"))
from xdisplay import XDisplay  # noqa: E402

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def stat_fields(pid):
    with open(f"/proc/{pid}/stat") as f:
        return f.read().rsplit(")", 1)[-1].split()


def cpu_seconds(pid):
    fields = stat_fields(pid)
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def switches(pid):
    count = 0
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("voluntary_ctxt_switches"):
                count += int(line.split()[1])
    return count


def rss_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS"):
                return int(line.split()[1]) / 1024
    return 0.0


def run(program, speed, seconds, size):
    width, height = size
    x = XDisplay(width, height, program)
    try:
        p = x.start("-root", "-speed", str(speed))
        time.sleep(3)  # past the start and the first card
        server = x.xvfb.pid
        t0, p0, s0, w0 = time.monotonic(), cpu_seconds(p.pid), cpu_seconds(server), switches(p.pid)
        time.sleep(seconds)
        t1, p1, s1, w1 = time.monotonic(), cpu_seconds(p.pid), cpu_seconds(server), switches(p.pid)
        memory = rss_mb(p.pid)
    finally:
        x.close()
    span = t1 - t0
    return 100 * (p1 - p0) / span, 100 * (s1 - s0) / span, (w1 - w0) / span, memory


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", default=os.path.join(root, "build", "native", "mirobel"))
    parser.add_argument("--old", help="an earlier build of mirobel to run beside this one")
    parser.add_argument("--seconds", type=float, default=20)
    parser.add_argument("--speeds", default="3", help="comma-separated speeds")
    parser.add_argument("--rounds", type=int, default=2, help="runs of each build per speed")
    parser.add_argument("--size", default="1280x720")
    args = parser.parse_args()
    size = tuple(int(v) for v in args.size.split("x"))
    builds = [("old", args.old)] if args.old else []
    builds.append(("new", args.program))
    print(f"native show at {args.size}, {args.seconds:.0f} s a run (CPU as a share of one core)")
    print(f"{'build':5} {'speed':>5} {'program':>8} {'X server':>9} {'together':>9} {'wake-ups/s':>11} {'RSS MB':>7}")
    for speed in (int(s) for s in args.speeds.split(",")):
        for _ in range(args.rounds):
            for label, program in builds:
                prog, server, wakeups, memory = run(program, speed, args.seconds, size)
                print(f"{label:5} {speed:>5} {prog:>7.2f}% {server:>8.2f}% {prog + server:>8.2f}% {wakeups:>11.1f} "
                      f"{memory:>7.1f}", flush=True)


if __name__ == "__main__":
    main()
