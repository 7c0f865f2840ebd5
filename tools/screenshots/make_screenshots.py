#!/usr/bin/python3
"""Takes the screenshots of the settings dialog and its companion windows for
docs/: the dialog (also with a study set chosen), the commentary viewer, the help window, the introduction
window and the About box.

Usage: make_screenshots.py --build build/win-dialog [--out docs] [--dpi 144]
                           [--only help-window ...]
       make_screenshots.py --build build/win --language en [--out docs]

With --dpi the windows are taken at that display scaling (Wine's LogPixels)
on a screen as large in 96-dpi units as the standard one, and the files are
named with "-<dpi>dpi" before ".png". With --language en the English
settings dialog and the English show are taken instead, as
settings-dialog-en.png and show-en.png.

Needs a Windows build (Mirobel.scr, probe.exe, win32_window_tests.exe), Wine, Xvfb
and ImageMagick, as the tests do. The program draws its own texts in the
Mincho face it embeds, but Wine draws window captions, menus and message
boxes in its own UI font, which has no Japanese. On Windows those come out
in the system's Japanese UI font; to show them legibly here the test prefix
links Wine's UI font to BIZ UD Mincho (see legible_wine_ui in the harness).

Wine under Xvfb leaves a message box unpainted on the screen while another
window of its process is open, so the About box is shown for its picture by
the AboutBox test of win32_window_tests.exe, the same ShowAbout in a process of its
own, which keeps it up for a few seconds when MIROBEL_HOLD_ABOUT_MS is set.
"""
import argparse
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "harness"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.dont_write_bytecode = True
from winebox import WineBox  # noqa: E402
from e2e import SETTINGS_KEY  # noqa: E402
import windows_driver as wd  # noqa: E402

CONVERT = "/usr/bin/convert"
# The pictures, in the order they are taken.
PICTURES = ("settings-dialog", "settings-dialog-set", "commentary-viewer", "help-window", "introduction-window", "about-box")


def shoot(box, window, out):
    """The window, frame included, cut out of a screenshot of the display."""
    time.sleep(1.0)  # let every control paint
    info = box.find(window) if isinstance(window, str) else window
    full = os.path.join(box.tmp, "screen.png")
    box.screenshot(full)
    subprocess.run([CONVERT, full, "-crop", "%dx%d+%d+%d" % (info["width"], info["height"], info["left"],
                                                              info["top"]), "+repage", out], check=True)
    print("wrote", out)


def english_pictures(build, out):
    """The English dialog, then the English show of poem 9 with its rendering
    under way."""
    with WineBox(os.path.join(build, "screenshot-prefix"), width=1024, height=768) as box:
        box.set_probe(os.path.join(build, "probe.exe"))
        box.reg_set(SETTINGS_KEY, "language", "en")
        box.start(os.path.join(build, "Mirobel.scr"), "/c")
        dialog = box.wait_window_where(wd.DIALOG, lambda w: w["visible"], 60, "shown")
        shoot(box, wd.DIALOG, os.path.join(out, "settings-dialog-en.png"))
        box.close_window(dialog["hwnd"])
        box.wait_gone(wd.DIALOG, 10)
        for key, value in (("select first", "9"), ("select end", "9"), ("speed", "1"), ("music mode", "0")):
            box.reg_set(SETTINGS_KEY, key, value)
        show = box.start(os.path.join(build, "Mirobel.scr"), "/s")
        # The picture is taken once the rendering's first words have come a
        # third of the way in, so that it shows where the line begins.
        path = os.path.join(out, "show-en.png")
        deadline = time.monotonic() + 120
        while time.monotonic() < deadline:
            shot = box.screenshot()
            lit = [x for x in range(shot.width) if any(sum(shot.pixel(x, y)) > 600 for y in range(745, 755))]
            if lit and shot.width // 3 < lit[0] < shot.width // 2:
                box.screenshot(path)
                print("wrote", path)
                break
            time.sleep(0.2)
        else:
            raise SystemExit("the English rendering never came in")
        show.kill()
    return 0


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--build", required=True, help="Windows build folder")
    ap.add_argument("--out", default=os.path.join(ROOT, "docs"))
    ap.add_argument("--dpi", type=int, default=96)
    ap.add_argument("--language", choices=("ja", "en"), default="ja")
    ap.add_argument("--only", nargs="+", choices=PICTURES, metavar="NAME",
                    help="take only these pictures (%s)" % ", ".join(PICTURES))
    a = ap.parse_args(argv)
    suffix = "" if a.dpi == 96 else "-%ddpi" % a.dpi
    wanted = set(a.only or PICTURES)

    def named(name):
        return os.path.join(out, name + suffix + ".png")

    def shoot_if_wanted(box, window, name):
        if name in wanted:
            shoot(box, window, named(name))
    build = os.path.abspath(a.build)
    out = os.path.abspath(a.out)
    os.makedirs(out, exist_ok=True)
    if a.language == "en":
        return english_pictures(build, out)
    with WineBox(os.path.join(build, "screenshot-prefix"), width=1024 * a.dpi // 96, height=768 * a.dpi // 96,
                 dpi=a.dpi) as box:
        box.set_probe(os.path.join(build, "probe.exe"))
        # The box's desktop speaks English; the pictures show the Japanese windows.
        box.reg_set(SETTINGS_KEY, "language", "ja")
        box.start(os.path.join(build, "Mirobel.scr"), "/c")
        dialog = box.wait_window_where(wd.DIALOG, lambda w: w["visible"], 60, "shown")
        shoot_if_wanted(box, wd.DIALOG, "settings-dialog")
        if "settings-dialog-set" in wanted:
            # A study set chosen (the blue cards): the range's lists are greyed.
            sets = wd.control(box, dialog["hwnd"], wd.COMBO_SETS)["hwnd"]
            wd.select(box, sets, 1)
            time.sleep(0.5)
            shoot(box, wd.DIALOG, named("settings-dialog-set"))
            wd.select(box, sets, 0)

        if "commentary-viewer" in wanted:
            box.press(dialog["hwnd"], "解説")
            viewer = box.wait_window_where(wd.VIEWER, lambda w: w["visible"], 30, "shown")
            chooser = next(c for c in box.children(viewer["hwnd"]) if c["class"] == "ComboBox")
            wd.select(box, chooser["hwnd"], 16)  # poem 17, a poem with a longer rendering
            box.press(viewer["hwnd"], "決定")
            shoot(box, wd.VIEWER, named("commentary-viewer"))
            box.press(viewer["hwnd"], "終　了")
            box.wait_gone(wd.VIEWER, 10)

        if "help-window" in wanted:
            box.press(dialog["hwnd"], "ヘルプ")
            help_window = box.wait_window_where(wd.HELP, lambda w: w["visible"], 30, "shown")
            shoot(box, wd.HELP, named("help-window"))
            box.press(help_window["hwnd"], "ＯＫ！")
            box.wait_gone(wd.HELP, 10)

        if "introduction-window" in wanted:
            wd.menu_entry(box, dialog["hwnd"], "h", "e")
            box.wait_window_where(wd.SALES, lambda w: w["visible"], 30, "shown")
            time.sleep(0.7)  # the cyclists are on their way
            shoot(box, wd.SALES, named("introduction-window"))
            box.close_window(box.find(wd.SALES)["hwnd"])

        # The About box, alone on the screen in a process of its own.
        box.close_window(dialog["hwnd"])
        box.wait_gone(wd.DIALOG, 10)
        if "about-box" in wanted:
            box.env["MIROBEL_HOLD_ABOUT_MS"] = "6000"
            tests = box.start(os.path.join(build, "win32_window_tests.exe"), "--gtest_filter=AboutBox.*")
            box.wait_window_where(wd.VERSION_TITLE, lambda w: w["visible"], 60, "shown")
            shoot(box, wd.VERSION_TITLE, named("about-box"))
            tests.wait(timeout=60)
    return 0


if __name__ == "__main__":
    sys.exit(main())
