"""Driving the settings dialog and its companion windows from outside.

Everything goes through window messages sent by the probe, so nothing
depends on where the windows are on the screen: buttons are clicked with
BM_CLICK, lists are read and set with CB_ messages, and the menu is worked
with its access keys as the keyboard would (WM_SYSCOMMAND/SC_KEYMENU for the
menu bar, WM_CHAR for an entry of the open drop-down). Only the keyboard
navigation is driven with real keys (xdotool), as it is what the window
makes of them that counts there."""
from winebox import WineError, wait_until

DIALOG = "Saver Setting"
VIEWER = "百人一首の解説"
HELP = "ミロベルスクリーンセイバーの使い方"
SALES = "作者ソフト紹介"
VERSION_TITLE = "ミロベル　スクリーンセイバー Ver1.5"
APP_NAME = "Mirobel"

WM_COMMAND = 0x0111
WM_CHAR = 0x0102
WM_SYSCOMMAND = 0x0112
SC_KEYMENU = 0xF100
BM_GETCHECK = 0x00F0
IDOK, IDYES, IDNO = 1, 6, 7

# Control ids of the dialog (src/win32/settings/frmSet.h).
COMBO_FIRST, COMBO_END, COMBO_SPEED = 101, 102, 103
OPTION_TYPE = 110
CHECK_MUSIC = 120
OPTION_SCREENS = 140
CHECK_KIMARIJI = 150
COMBO_SETS = 160


def send(box, hwnd, msg, wp=0, lp=0):
    code, out = box.probe("send", str(hwnd), str(msg), str(wp), str(lp))
    if code != 0 or not out.startswith("result="):
        raise AssertionError(f"send {msg:#x} to {hwnd} failed: {out!r}")
    return int(out.strip().split("=")[1])


def post(box, hwnd, msg, wp=0, lp=0):
    box.probe("post", str(hwnd), str(msg), str(wp), str(lp))


def combo(box, hwnd):
    """(entry count, selected index, entries) of a combo box."""
    _, out = box.probe("combo", str(hwnd))
    lines = out.splitlines()
    head = dict(f.split("=") for f in lines[0].split())
    items = [line[len("item="):] for line in lines[1:] if line.startswith("item=")]
    return int(head["count"]), int(head["sel"]), items


def select(box, hwnd, index):
    box.probe("select", str(hwnd), str(index))


def press_id(box, hwnd, control_id):
    code, out = box.probe("pressid", str(hwnd), str(control_id))
    if code != 0:
        raise AssertionError(f"no button {control_id} in {hwnd}: {out!r}")


def menu_bar_key(box, hwnd, key):
    """Alt+key on the menu bar."""
    post(box, hwnd, WM_SYSCOMMAND, SC_KEYMENU, ord(key))


def menu_entry(box, hwnd, bar_key, entry_key):
    """Opens a drop-down of the menu bar with its key, then picks an entry with its key."""
    menu_bar_key(box, hwnd, bar_key)
    post(box, hwnd, WM_CHAR, ord(entry_key))


def control(box, window_hwnd, control_id):
    """The descendant of a window with that control id."""
    for c in box.children(window_hwnd):
        if int(c.get("id", "0")) == control_id:
            return c
    raise AssertionError(f"no control {control_id} in {window_hwnd}")


def by_text(box, window_hwnd, text, cls=None):
    for c in box.children(window_hwnd):
        if c["text"] == text and (cls is None or c["class"] == cls):
            return c
    raise AssertionError(f"no control {text!r} in {window_hwnd}")


def checked(box, hwnd):
    return send(box, hwnd, BM_GETCHECK) == 1


def control_text(box, hwnd):
    """A control's own text as it answers WM_GETTEXT (edit boxes keep theirs there)."""
    _, out = box.probe("gettext", str(hwnd))
    line = out.rstrip("\r\n")
    return line.replace("\\r", "\r").replace("\\n", "\n").replace("\\\\", "\\")


def focused(box, hwnd):
    """The window that has the keyboard focus in the thread of hwnd (as the
    probe describes it), or None."""
    code, out = box.probe("focus", str(hwnd))
    return box.parse_window(out.splitlines()[0]) if code == 0 else None


def walk(box, window, key, controls):
    """Presses key on the keyboard once for each control in turn; after each
    press the focus must come to that control. Keys are handled in the order
    they are pressed, so a press whose effect has been seen shows that every
    key before it has been handled too."""
    for control in controls:
        box.xdotool("key", key)
        try:
            wait_until(lambda: (focused(box, window) or {}).get("hwnd") == control, 10, what=f"focus after {key}")
        except WineError:
            now = focused(box, window)
            raise AssertionError(f"{key} put the focus on {now and (now['class'], now['id'], now['text'])}, "
                                 f"not on {control}") from None
