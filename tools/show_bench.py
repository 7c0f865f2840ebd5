#!/usr/bin/python3
"""Power and memory of the real show under Wine on a virtual display. A
benchmark, not a test: it prints figures and asserts nothing.

Power: the show runs for --seconds (30) at speeds 1, 3 and 5, with the music
off and on, at 1280 x 720. Printed per run: CPU time of the saver process, of
its wineserver and of Xvfb as a share of one core, and wake-ups per second of
the saver process: context switches of all its threads, that is every time
it leaves a wait. That counts the timer ticks and also every reply it waits
for from wineserver or the X server, so it is an upper bound on the timer
wake-ups; the empty window's row shows what Wine alone costs, and the
"ticks" row what it costs to tick at speed 3's pace and read the pointer and
the caret on every tick, as the show's end test does, drawing nothing.

Memory: resident memory of the show over that of an empty full-screen Win32
window in the same Wine, at 1280 x 720 .. 3840 x 2160. The show runs at
speed 1 for --memory-seconds (15), long enough for several cards, and its
largest resident size is taken.

Monitors: on two monitors as Wine sees real ones (Xorg's dummy driver,
1280 x 720 and 1024 x 768 beside it), the show at speed 3 with the music
off, the main monitor only and every monitor in turn in the same session,
--rounds (3) times each for --seconds: CPU as above (the X server in place
of Xvfb) and the largest resident size, and what every monitor costs over
the main monitor only.

Build first (tools/build.sh). Usage: tools/show_bench.py [--only power|memory|monitors] [--old OLD.scr]
"""
import argparse
import os
import shutil
import struct
import sys
import tempfile
import time

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(root, "tests", "harness"))
from winebox import WineBox, wait_until  # noqa: E402

BUILD = os.path.join(root, "build", "win")
SETTINGS_KEY = r"HKCU\Software\VB and VBA Program Settings\SetupVel\Mirobel"
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def small_midi(notes=48):
    """A format-0 file of quarter notes, long enough to be playing while it
    is measured and short enough to be restarted by the upkeep now and then."""
    track = b""
    for i in range(notes):
        note = 60 + (i * 5) % 12
        track += bytes([0x00, 0x90, note, 90, 0x60, 0x80, note, 0])
    track += bytes([0x00, 0xFF, 0x2F, 0x00])
    return b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96) + b"MTrk" + struct.pack(">I", len(track)) + track


def read(path):
    try:
        with open(path) as f:
            return f.read()
    except OSError:
        return ""


def cpu_ticks(pid):
    fields = read(f"/proc/{pid}/stat").rsplit(")", 1)[-1].split()
    return int(fields[11]) + int(fields[12]) if len(fields) > 12 else 0


def switches(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        for line in read(f"/proc/{pid}/task/{task}/status").splitlines():
            if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                total += int(line.split()[1])
    return total


def rss_kb(pid):
    for line in read(f"/proc/{pid}/status").splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    return 0


def windows_process(box, name):
    """The Linux process of a Windows program of this box (its name in
    comm; the wine launcher has another), told apart from other developers'
    by the box's display."""
    for pid in os.listdir("/proc"):
        if not pid.isdigit() or read(f"/proc/{pid}/comm").strip() != name[:15]:
            continue
        environ = read(f"/proc/{pid}/environ").split("\0")
        if f"DISPLAY={box.display}" in environ:
            return int(pid)
    return None


def wineserver_of(box):
    st = os.stat(box.prefix)
    tail = f"server-{st.st_dev:x}-{st.st_ino:x}"
    for pid in os.listdir("/proc"):
        # wineserver or wineserver64
        if pid.isdigit() and read(f"/proc/{pid}/comm").strip().startswith("wineserver"):
            try:
                if os.readlink(f"/proc/{pid}/cwd").endswith(tail):
                    return int(pid)
            except OSError:
                pass
    return None


def start_and_find(box, program, caption, *args):
    p = box.start(program, *args)
    box.wait_window(caption, 60)
    pid = wait_until(lambda: windows_process(box, os.path.basename(program)), 30, what=f"{program}'s process")
    return p, pid


def end_show(box, p):
    box.xdotool("key", "space")
    try:
        p.wait(timeout=30)
    except Exception:
        p.kill()
    box.wait_gone("SAVER Screen", 30)


def measure(box, saver, server, seconds):
    """CPU shares of the saver, its wineserver and Xvfb, and the saver's
    wake-ups per second, over the next `seconds`."""
    pids = [saver, server, box.xvfb.pid]
    before = [cpu_ticks(pid) for pid in pids]
    woken = switches(saver)
    t0 = time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - t0
    after = [cpu_ticks(pid) for pid in pids]
    wakeups = (switches(saver) - woken) / elapsed
    return [100.0 * (a - b) / CLOCK_TICKS / elapsed for a, b in zip(after, before)], wakeups


def row(build, label, music, shares, wakeups):
    print(f"{build:>5} {label:>5} {music:>5} {shares[0]:>6.2f}% {shares[1]:>9.2f}% {shares[2]:>6.2f}% "
          f"{sum(shares):>8.2f}% {wakeups:>11.1f}", flush=True)


def power(seconds, speeds, programs):
    """programs: (label, path) pairs, run in turn for each speed and music."""
    folders = {}
    for label, program in programs:
        folders[label] = tempfile.mkdtemp(prefix=f"mirobel-bench-{label}-")
        shutil.copy(program, os.path.join(folders[label], "Mirobel.scr"))
        with open(os.path.join(folders[label], "Mirobel.mid"), "wb") as f:
            f.write(small_midi())
    print(f"Power: {seconds} s of the show at 1280 x 720; CPU as % of one core")
    print(f"{'build':>5} {'speed':>5} {'music':>5} {'saver':>7} {'wineserver':>10} {'Xvfb':>7} {'together':>9} "
          f"{'wake-ups/s':>11}")
    try:
        with WineBox(BUILD, 1280, 720) as box:
            box.set_probe(os.path.join(BUILD, "probe.exe"))
            # What Wine itself costs with a full-screen window that does
            # nothing, and with the same window whose 50 ms timer (speed 3's
            # pace) reads the pointer and the caret on every tick, as the
            # show's end test does, drawing nothing.
            server = None
            for label, args in (("empty", ()), ("ticks", ("/tick", "50"))):
                p, idle = start_and_find(box, os.path.join(BUILD, "emptywin.exe"), "Empty Screen", *args)
                server = server or wineserver_of(box)
                time.sleep(2)
                shares, wakeups = measure(box, idle, server, min(seconds, 10))
                row("-", label, "-", shares, wakeups)
                box.probe("close", str(box.find("Empty Screen")["hwnd"]))
                p.wait(timeout=30)
            for speed in speeds:
                for music in (0, 1):
                    for label, _ in programs:
                        box.reg_set(SETTINGS_KEY, "speed", str(speed))
                        box.reg_set(SETTINGS_KEY, "music mode", str(music))
                        scr = os.path.join(folders[label], "Mirobel.scr")
                        p, saver = start_and_find(box, scr, "SAVER Screen", "/s")
                        time.sleep(3)  # past the start-up
                        playing = bool(processes_holding(os.path.join(folders[label], "Mirobel.mid")))
                        shares, wakeups = measure(box, saver, server, seconds)
                        end_show(box, p)
                        row(label, str(speed), ("on" if playing else "on, not playing") if music else "off", shares,
                            wakeups)
    finally:
        for folder in folders.values():
            shutil.rmtree(folder, ignore_errors=True)
    print("goal at speed 3, music off: together at most 2.0 %")


def processes_holding(path):
    holders = []
    for pid in os.listdir("/proc"):
        try:
            if pid.isdigit() and any(os.readlink(f"/proc/{pid}/fd/{fd}") == path
                                     for fd in os.listdir(f"/proc/{pid}/fd")):
                holders.append(int(pid))
        except OSError:
            pass
    return holders


def largest_rss(pid, seconds):
    largest, end = 0, time.monotonic() + seconds
    while time.monotonic() < end:
        largest = max(largest, rss_kb(pid))
        time.sleep(0.25)
    return largest


def memory(seconds, program):
    sizes = [(1280, 720), (1920, 1080), (2560, 1440), (3840, 2160)]
    print(f"Memory: resident, MB; the show at speed 1 for {seconds} s, largest size seen")
    print(f"{'screen':>12} {'empty window':>13} {'show':>8} {'over':>8}")
    over = {}
    for width, height in sizes:
        with WineBox(BUILD, width, height) as box:
            box.set_probe(os.path.join(BUILD, "probe.exe"))
            p, pid = start_and_find(box, os.path.join(BUILD, "emptywin.exe"), "Empty Screen")
            time.sleep(2)
            baseline = largest_rss(pid, 3)
            box.probe("close", str(box.find("Empty Screen")["hwnd"]))
            p.wait(timeout=30)
            box.reg_set(SETTINGS_KEY, "speed", "1")
            box.reg_set(SETTINGS_KEY, "music mode", "0")
            p, pid = start_and_find(box, program, "SAVER Screen", "/s")
            show = largest_rss(pid, seconds)
            end_show(box, p)
        over[(width, height)] = (show - baseline) / 1024
        print(f"{width:>5} x {height:<5} {baseline / 1024:>13.1f} {show / 1024:>8.1f} {over[(width, height)]:>+8.1f}",
              flush=True)
    small, big = over[sizes[0]], over[sizes[-1]]
    print(f"ratio 3840 x 2160 / 1280 x 720 of the show's share: {big / small:.2f}" if small > 0 else "ratio: n/a")
    print("goal: at most 12 MB over the empty window at every size, ratio at most 1.2")


def monitors(seconds, rounds, program):
    placed = [(1280, 720, 0, 0), (1024, 768, 1280, 0)]
    print(f"Monitors: {len(placed)} monitors (1280 x 720, 1024 x 768), speed 3, music off, {seconds} s a run; "
          "CPU as % of one core, resident MB")
    print(f"{'screens':>13} {'saver':>7} {'wineserver':>10} {'X':>7} {'together':>9} {'resident':>9}")
    runs = {"main only": [], "every": []}
    with WineBox(BUILD, 1280, 720, placed_monitors=placed) as box:
        box.set_probe(os.path.join(BUILD, "probe.exe"))
        box.reg_set(SETTINGS_KEY, "speed", "3")
        box.reg_set(SETTINGS_KEY, "music mode", "0")
        server = None
        for _ in range(rounds):
            for label, screens in (("main only", "0"), ("every", "1")):
                box.reg_set(SETTINGS_KEY, "screens", screens)
                p, saver = start_and_find(box, program, "SAVER Screen", "/s")
                server = server or wineserver_of(box)
                time.sleep(3)  # past the start-up
                before = rss_kb(saver)
                shares, _ = measure(box, saver, server, seconds)
                resident = max(before, rss_kb(saver)) / 1024
                end_show(box, p)
                runs[label].append((shares, resident))
                print(f"{label:>13} {shares[0]:>6.2f}% {shares[1]:>9.2f}% {shares[2]:>6.2f}% {sum(shares):>8.2f}% "
                      f"{resident:>9.1f}", flush=True)

    def mean(label, f):
        return sum(f(r) for r in runs[label]) / len(runs[label])
    for what, f in (("saver", lambda r: r[0][0]), ("together", lambda r: sum(r[0]))):
        main_only, every = mean("main only", f), mean("every", f)
        print(f"CPU {what}: main only {main_only:.2f} %, every monitor {every:.2f} %, ratio "
              f"{every / main_only:.2f}" if main_only > 0 else f"CPU {what}: n/a")
    extra = (mean("every", lambda r: r[1]) - mean("main only", lambda r: r[1])) / (len(placed) - 1)
    print(f"resident memory per extra monitor: {extra:+.1f} MB")
    print("goal: every monitor at most 1.6 times the CPU of the main monitor only, at most 4 MB per extra monitor")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--only", choices=("power", "memory", "monitors"))
    parser.add_argument("--rounds", type=int, default=3, help="runs of each choice in the monitors benchmark")
    parser.add_argument("--seconds", type=float, default=30)
    parser.add_argument("--memory-seconds", type=float, default=15)
    parser.add_argument("--speeds", default="1,3,5", help="comma-separated speeds for the power runs")
    parser.add_argument("--scr", default=os.path.join(BUILD, "Mirobel.scr"),
                        help="the program to measure (another build, to compare)")
    parser.add_argument("--old", help="an earlier Mirobel.scr, measured beside --scr run for run in the power runs")
    args = parser.parse_args()
    programs = ([("old", os.path.abspath(args.old))] if args.old else []) + [("new", os.path.abspath(args.scr))]
    if args.only in (None, "power"):
        power(args.seconds, [int(v) for v in args.speeds.split(",")], programs)
    if args.only in (None, "memory"):
        memory(args.memory_seconds, os.path.abspath(args.scr))
    if args.only in (None, "monitors"):
        monitors(args.seconds, args.rounds, os.path.abspath(args.scr))


if __name__ == "__main__":
    main()
