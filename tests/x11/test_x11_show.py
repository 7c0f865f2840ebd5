"""The native program on a virtual X display: it draws the card into the
window it is given (as XScreenSaver gives it one), also without any font of
the host, refuses bad options, ends at once on SIGTERM, and keeps the card
inside a window that shrinks."""
import argparse
import os
import select
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from winebox import REAL_CONVERT, bound, parse_ppm  # noqa: E402
from xdisplay import XDisplay  # noqa: E402

CYAN, WHITE, BLACK = (0, 128, 128), (255, 255, 255), (0, 0, 0)


class Config:
    mirobel = host = shots = None


def cyan_box(shot, limit=None):
    """Bounding box (left, top, right, bottom) of the dark-cyan card face."""
    width, height = limit or (shot.width, shot.height)
    xs, ys = [], []
    for y in range(0, height):
        row = shot.rgb[y * shot.width * 3:(y * shot.width + width) * 3]
        i = row.find(bytes(CYAN))
        while i >= 0:
            if i % 3 == 0:
                xs.append(i // 3)
                ys.append(y)
                break
            i = row.find(bytes(CYAN), i + 1)
        j = row.rfind(bytes(CYAN))
        while j >= 0 and j % 3:
            j = row.rfind(bytes(CYAN), 0, j)
        if j >= 0:
            xs.append(j // 3)
    if not xs:
        return None
    return min(xs), min(ys), max(xs) + 1, max(ys) + 1


def cyan_box_in(shot, area):
    """cyan_box of the part of the screenshot inside area (left, top, right,
    bottom), in the screenshot's coordinates."""
    left, top, right, bottom = area
    xs, ys = [], []
    for y in range(top, bottom):
        row = shot.rgb[(y * shot.width + left) * 3:(y * shot.width + right) * 3]
        hits = [i // 3 for i in range(0, len(row), 3) if row[i:i + 3] == bytes(CYAN)]
        if hits:
            xs += [left + hits[0], left + hits[-1]]
            ys.append(y)
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else None


def ticker_rows(shot, card, s=1, limit=None):
    """Pixels of the ticker's text in each row of the strip 30 units high
    along the bottom (of the window `limit`), as {row: pixels}. The text is
    smoothed: at 100 % its thin strokes are grey but for a few dozen pixels,
    so near white counts. Where the card reaches into the strip its white
    panel is no text: only the columns beside it count then."""
    width, height = limit or (shot.width, shot.height)
    spans = [(0, width)]
    if card[3] > height - 30 * s:
        spans = [(0, min(card[0], width)), (card[2], width)]
    near_white = bytes(1 if b >= 192 else 0 for b in range(256))
    rows = {}
    for y in range(height - 30 * s, height):
        n = 0
        for x0, x1 in spans:
            if x1 > x0:
                part = shot.rgb[(y * shot.width + x0) * 3:(y * shot.width + x1) * 3].translate(near_white)
                n += bytes(r & g & b for r, g, b in zip(part[0::3], part[1::3], part[2::3])).count(1)
        if n:
            rows[y] = n
    return rows


def count(shot, box, test):
    x0, y0, x1, y1 = box
    return sum(1 for y in range(y0, y1) for x in range(x0, x1) if test(shot.pixel(x, y)))


def dark(p):
    return sum(p) < 200


def colourful(p):
    return p != WHITE and p != CYAN and sum(p) > 60


class ShowTestCase(unittest.TestCase):
    """A private display per test, and the card found in its screenshots."""

    def setUp(self):
        self.x = None

    def tearDown(self):
        if self.x:
            self.x.close()

    def display(self, width=1024, height=768):
        self.x = XDisplay(width, height, Config.mirobel, Config.host, Config.shots)
        return self.x

    def wait_for_written_card(self, name, limit=None, timeout=120, s=1):
        """Polls screenshots until a whole card with portrait and ticker
        shows, the card's layout magnified s times."""
        def ready():
            shot = self.x.screenshot()
            box = cyan_box(shot, limit)
            if not box or box[2] - box[0] != 400 * s or box[3] - box[1] != 260 * s:
                self.x.why = f"the card's face at {box}"
                return None
            left, top = box[0], box[1]
            portrait = (left + 58 * s, top + 41 * s, left + 184 * s, top + 221 * s)
            colour = count(shot, portrait, colourful)
            if colour < 126 * 180 * s * s // 2:
                self.x.why = f"the card at {box} with {colour} colourful pixels where the portrait goes"
                return None
            ticker = sum(ticker_rows(shot, box, s, limit).values())
            if ticker < 100 * s * s:
                self.x.why = f"the card at {box} with its portrait, and {ticker} pixels of the ticker's text"
                return None
            return shot, box
        shot, box = self.x.wait_for(ready, timeout, interval=0.3, what=f"a written card of {400 * s} x {260 * s} "
                                    "with portrait and ticker")
        self.x.save_last(name)
        return shot, box

    def assert_card(self, shot, box, s=1):
        left, top = box[0], box[1]
        self.assertEqual(shot.pixel(left + 5 * s, top + 100 * s), CYAN)
        for i in range(s):  # the outline is s pixels wide
            self.assertEqual(shot.pixel(left + 15 * s + i, top + 100 * s), BLACK, "panel outline")
        self.assertEqual(shot.pixel(left + 16 * s, top + 100 * s), WHITE, "inside the outline")
        self.assertEqual(shot.pixel(left + 200 * s, top + 16 * s), WHITE, "panel")
        # The poem in five columns from the right, then the poet at the left.
        for column in range(5):
            cx = left + (350 - 40 * column) * s
            self.assertGreater(count(shot, (cx, top + 25 * s, cx + 30 * s, top + 240 * s), dark), 150 * s * s,
                               f"column {column}")
        self.assertGreater(count(shot, (left + 25 * s, top + 25 * s, left + 55 * s, top + 240 * s), dark),
                           100 * s * s, "poet")
        self.assertGreater(count(shot, (left + 15 * s, top + s, left + 250 * s, top + 15 * s), lambda p: p != CYAN),
                           100 * s * s, "title line")


class NativeShow(ShowTestCase):
    def test_draws_the_card_into_the_window_it_is_given(self):
        x = self.display()
        host, window = x.host(800, 600)
        p = x.start("-window-id", window, "-speed", "1", "-order", "ascending", "-first", "17", "-last", "17")
        shot, box = self.wait_for_written_card("x11-window-id.png", limit=(800, 600))
        self.assert_card(shot, box)
        self.assertLessEqual(box[2], 800)
        self.assertLessEqual(box[3], 600)
        # Nothing outside the window: the root still shows Xvfb's weave.
        outside = count(shot, (820, 0, 1024, 768), lambda p: p != BLACK)
        self.assertGreater(outside, 1000)
        self.assertIsNone(p.poll())

    def test_two_windows_side_by_side_each_run_their_own_show(self):
        # As XScreenSaver's daemon runs one program per monitor, each in the
        # window it made over that monitor.
        x = self.display(1400, 500)
        windows = []
        for left in (0, 720):
            host, window = x.host(640, 480)
            host.stdin.write(f"move {left} 0\n")
            host.stdin.flush()
            self.assertEqual(x.reply(host), f"ok {left} 0")
            windows.append((left, window))
        for (left, window), poem in zip(windows, ("17", "3")):
            x.start("-window-id", window, "-speed", "1", "-order", "ascending", "-first", poem, "-last", poem)

        def cards():
            shot = x.screenshot()
            boxes = [cyan_box_in(shot, (left, 0, left + 640, 480)) for left, _ in windows]
            return (shot, boxes) if all(b and b[2] - b[0] == 400 and b[3] - b[1] == 260 for b in boxes) else None
        shot, first = x.wait_for(cards, 60, interval=0.3, what="a whole card in each window")
        x.save_last("x11-two-windows.png")
        for (left, _), box in zip(windows, first):
            self.assertGreaterEqual(box[0], left)
            self.assertLessEqual(box[2], left + 640)
            self.assertLessEqual(box[3], 480)
        # Each card moves on its own, and the two cards are not one picture.
        _, later = x.wait_for(lambda: (lambda c: c if c and all(a != b for a, b in zip(c[1], first)) else None)(
            cards()), 60, interval=0.3, what="both cards moved")
        crops = [bytes(b for y in range(box[1] + 25, box[1] + 240)
                       for b in shot.rgb[(y * shot.width + box[0] + 200) * 3:(y * shot.width + box[0] + 385) * 3])
                 for box in first]
        self.assertTrue(crops[0] != crops[1], "both windows show the same poem")

    def test_draws_into_the_window_named_by_xscreensaver(self):
        x = self.display()
        host, window = x.host(900, 700)
        env = dict(x.env, XSCREENSAVER_WINDOW=window)
        # The daemon also passes -root; its window wins.
        x.start("-root", "-speed", "1", "-first", "3", "-last", "3", env=env)
        shot, box = self.wait_for_written_card("x11-xscreensaver-window.png", limit=(900, 700))
        self.assert_card(shot, box)
        self.assertGreater(count(shot, (920, 0, 1024, 768), lambda p: p != BLACK), 1000)

    def test_without_any_host_font_the_card_is_drawn_in_the_embedded_faces(self):
        x = self.display()
        with tempfile.TemporaryDirectory() as tmp:
            config = os.path.join(tmp, "fonts.conf")
            with open(config, "w") as f:
                f.write(f"<fontconfig><cachedir>{tmp}/cache</cachedir></fontconfig>\n")
            env = dict(x.env, FONTCONFIG_FILE=config)
            listed = subprocess.run(["fc-list"], env=env, capture_output=True, text=True).stdout
            self.assertEqual(listed.strip(), "", "fontconfig should see no font")
            host, window = x.host(1024, 768)
            x.start("-window-id", window, "-speed", "1", "-first", "100", "-last", "100", env=env)
            shot, box = self.wait_for_written_card("x11-no-host-fonts.png")
            self.assert_card(shot, box)

    def test_bad_options_give_a_message_and_status_2(self):
        x = self.display()
        for args, word in [(["-speed", "9"], "-speed"), (["-order", "up"], "-order"), (["-first", "0"], "-first"),
                           (["-first", "50", "-last", "10"], "-last"), (["-window-id", "nope"], "-window-id"),
                           (["-scale", "99"], "-scale"), (["-scale", "401"], "-scale"),
                           (["-frobnicate"], "-frobnicate")]:
            r = subprocess.run([Config.mirobel, *args], env=x.env, capture_output=True, text=True, timeout=60)
            self.assertEqual(r.returncode, 2, args)
            self.assertIn(word, r.stderr, args)
            self.assertIn("usage:", r.stderr, args)
        r = subprocess.run([Config.mirobel, "-root"], env=dict(x.env, XSCREENSAVER_WINDOW="junk"),
                           capture_output=True, text=True, timeout=60)
        self.assertEqual(r.returncode, 2)
        self.assertIn("XSCREENSAVER_WINDOW", r.stderr)

    def test_sigterm_ends_it_within_100_ms(self):
        x = self.display()
        host, window = x.host(1024, 768)
        # At the slowest pace a frame is due only every half second: the
        # signal must wake the program, not wait for the next frame. The
        # time runs from the signal to the kernel's word that the process has
        # ended (a pidfd, not Popen.wait's polling, which adds its own sleeps).
        for speed in ("5", "1"):
            p = x.start("-window-id", window, "-speed", speed)
            x.wait_for(lambda: cyan_box(x.screenshot()), 60, interval=0.2, what="the first card")
            ended = os.pidfd_open(p.pid)
            try:
                p.send_signal(signal.SIGTERM)
                sent = time.monotonic()
                readable, _, _ = select.select([ended], [], [], 30)
                took = time.monotonic() - sent
            finally:
                os.close(ended)
            self.assertTrue(readable, f"speed {speed}: still running 30 s after SIGTERM")
            p.wait(timeout=30)
            self.assertEqual(p.returncode, 0, p.stderr.read())
            print(f"speed {speed}: ended {took * 1000:.1f} ms after SIGTERM", file=sys.stderr)
            self.assertLess(took, bound(0.1), f"speed {speed}: {took * 1000:.0f} ms")

    def test_ends_quietly_when_its_window_goes_away(self):
        x = self.display()
        host, window = x.host(800, 600)
        p = x.start("-window-id", window, "-speed", "1")
        x.wait_for(lambda: cyan_box(x.screenshot()), 60, interval=0.2, what="the first card")
        host.stdin.close()  # the host destroys its window
        host.wait(timeout=30)
        p.wait(timeout=30)
        self.assertEqual(p.returncode, 0, p.stderr.read())

    def test_a_shrinking_window_keeps_the_card_inside(self):
        x = self.display(1280, 720)
        host, window = x.host(1280, 720)
        x.start("-window-id", window, "-speed", "1", "-order", "ascending")
        # Wait until the card is well to the right and down.
        x.wait_for(lambda: (lambda b: b and b[0] > 300 and b[1] > 200)(cyan_box(x.screenshot())), 120,
                     interval=0.1, what="the card far from the corner")
        host.stdin.write("resize 600 400\n")
        host.stdin.flush()
        self.assertEqual(x.reply(host), "ok 600 400")
        for i in range(5):
            box = x.wait_for(lambda: (lambda b: b if b and b[2] - b[0] == 400 and b[3] - b[1] == 260 else None)(
                cyan_box(x.screenshot(), (600, 400))), 60, interval=0.1, what="a whole card in the window")
            shot = parse_ppm(subprocess.run([REAL_CONVERT, "xwd:-", "ppm:-"], input=x.last_xwd,
                                            capture_output=True, check=True, timeout=60).stdout)
            self.assertLessEqual(box[2], 600)
            self.assertLessEqual(box[3], 400)
            time.sleep(0.2)
        x.save_last("x11-resized.png")
        # The window did shrink: the weave of the root shows beside it.
        self.assertGreater(count(shot, (620, 0, 1280, 720), lambda p: p != BLACK), 1000)

    def test_own_window_ends_on_escape_q_and_closing(self):
        x = self.display()
        for how in ("Escape", "q", "close"):
            p = x.start("-window", "-speed", "3")
            found = x.wait_for(lambda: subprocess.run(["xdotool", "search", "--name", "^Mirobel$"], env=x.env,
                                                        capture_output=True, text=True).stdout.split(), 60,
                                 what="the program's window")
            x.wait_for(lambda: cyan_box(x.screenshot()), 60, interval=0.2, what="the first card")
            if how == "close":
                subprocess.run(["xdotool", "windowclose", found[0]], env=x.env, check=True, timeout=30)
            else:
                # The key-up finds the window gone, which xdotool reports as
                # a failure: what counts is that the program ends.
                subprocess.run(["xdotool", "key", "--window", found[0], how], env=x.env, timeout=30,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            p.wait(timeout=30)
            self.assertEqual(p.returncode, 0, how)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mirobel", required=True)
    parser.add_argument("--host", required=True)
    parser.add_argument("--shots")
    args, rest = parser.parse_known_args()
    Config.mirobel, Config.host, Config.shots = args.mirobel, args.host, args.shots
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
