#!/usr/bin/python3
"""Runs the show of the freshly built Mirobel.scr under Wine.

With a display (DISPLAY set) the show runs there until you move the mouse or
press a key. Without one it runs on a private virtual display for a few
seconds and saves screenshots and an animated GIF of them in
build/show-recording/. With MIROBEL_DPI set (120, 144, 192, ...) the
recording is made at that display scaling, on a screen as large in 96-dpi
units as the standard 1280 x 720 one."""
import os
import subprocess
import sys
import time

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(root, "tests", "harness"))
from winebox import REAL_CONVERT, WineBox  # noqa: E402

BUILD = os.path.join(root, "build", "win")
SCR = os.path.join(BUILD, "Mirobel.scr")
PROBE = os.path.join(BUILD, "probe.exe")


def on_real_display():
    env = dict(os.environ, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    return subprocess.call(["wine", SCR, "/s"], env=env)


def recorded(seconds=10.0, frames=30):
    out = os.path.join(root, "build", "show-recording")
    os.makedirs(out, exist_ok=True)
    for name in os.listdir(out):
        os.remove(os.path.join(out, name))
    dpi = int(os.environ.get("MIROBEL_DPI") or 96)
    width, height = 1280 * dpi // 96, 720 * dpi // 96
    with WineBox(BUILD, width, height, dpi=dpi) as box:
        box.set_probe(PROBE)
        # The recording shows the default settings, whatever tests left behind.
        box.reg_delete_key(r"HKCU\Software\VB and VBA Program Settings\SetupVel\Mirobel")
        p = box.start(SCR, "/s")
        box.wait_window_where("SAVER Screen", lambda w: w["left"] == 0, 60, "over the screen")
        paths = []
        for i in range(frames):
            path = os.path.join(out, f"frame-{i:02d}.png")
            box.screenshot(path)
            paths.append(path)
            time.sleep(seconds / frames)
        box.xdotool("key", "space")
        p.wait(timeout=30)
        gif = os.path.join(out, "show.gif")
        subprocess.run([REAL_CONVERT, "-delay", str(int(100 * seconds / frames)), "-loop", "0",
                        *[f"{p}[{width // 2}x{height // 2}]" for p in paths], gif], check=True)
        # The settings dialog, for its menu and caption in Wine's UI font.
        dialog = box.start(SCR, "/c")
        info = box.wait_window_where("Saver Setting", lambda w: w["visible"], 60, "shown")
        time.sleep(1.0)  # let it paint
        box.screenshot(os.path.join(out, "settings.png"))
        box.close_window(info["hwnd"])
        dialog.wait(timeout=30)
    print(f"show ran {seconds:.0f} s on a virtual {width} x {height} display at {dpi} dpi and ended on a key press")
    print(f"screenshots: {out}/frame-*.png")
    print(f"animation:   {gif}")
    print(f"settings:    {out}/settings.png")
    return 0


if __name__ == "__main__":
    sys.exit(on_real_display() if os.environ.get("DISPLAY") else recorded())
