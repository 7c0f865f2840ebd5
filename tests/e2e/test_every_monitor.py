"""Every monitor its own show, on monitors that lie where real ones do
(Xorg's dummy driver): a card inside each monitor, on different poems, and
any input (a pointer move, a click, a key) ending every show at once; the
second monitor right of the primary one and left of it."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
from e2e import SETTINGS_KEY, Config, WineTestCase, main  # noqa: E402
from winebox import WineBox, wait_until  # noqa: E402

SHOW = "SAVER Screen"
MONITOR_SHOW = "Mirobel Monitor Show"
COVER = "Mirobel Monitor"
CYAN = (0, 128, 128)
CARD_W, CARD_H = 400, 260


def card_in(shot, area):
    """Top-left of the card face inside area (left, top, right, bottom of the
    screenshot), or None: the first cyan pixel, rows from the top."""
    left, top, right, bottom = area
    for y in range(top, bottom):
        row = shot.rgb[(y * shot.width + left) * 3:(y * shot.width + right) * 3]
        for i in range(0, len(row), 3):
            if tuple(row[i:i + 3]) == CYAN:
                return left + i // 3, y
    return None


def footer(shot, corner):
    """The pixels of the card's "No." line: equal on two cards only when
    they carry the same poem number."""
    x, y = corner
    return bytes(b for yy in range(y + 246, y + 259)
                 for b in shot.rgb[(yy * shot.width + x + 15) * 3:(yy * shot.width + x + 120) * 3])


class EveryMonitor:
    # (width, height, left, top) in Windows' virtual screen, the primary first.
    placed = None

    @classmethod
    def setUpClass(cls):
        cls.box = WineBox(Config.build, 1280, 720, placed_monitors=cls.placed).__enter__()
        cls.box.set_probe(Config.probe)
        # Where each monitor lies in the X screen (the screenshot).
        left = min(m[2] for m in cls.placed)
        top = min(m[3] for m in cls.placed)
        cls.areas = [(x - left, y - top, x - left + w, y - top + h) for w, h, x, y in cls.placed]

    def setUp(self):
        super().setUp()
        found = sorted((m["left"], m["top"], m["right"], m["bottom"]) for m in self.box.monitors())
        self.assertEqual(found, sorted((x, y, x + w, y + h) for w, h, x, y in self.placed),
                         "Wine should see the monitors where they were placed")
        # Every test starts with the pointer resting on the primary monitor,
        # wherever the test before left it.
        primary = self.areas[0]
        self.box.xdotool("mousemove", str((primary[0] + primary[2]) // 2), str((primary[1] + primary[3]) // 2))

    def start_every_monitor_show(self):
        for key, value in (("speed", "3"), ("music mode", "0"), ("select type", "2"), ("screens", "1")):
            self.box.reg_set(SETTINGS_KEY, key, value)
        p = self.start("/s")
        self.box.wait_window(SHOW, 30)
        wait_until(lambda: self.box.count(MONITOR_SHOW) == len(self.placed) - 1, 30, what="a show on each monitor")
        return p

    def cards(self):
        """A screenshot with a whole card inside every monitor, and where."""
        def look():
            shot = self.box.screenshot()
            corners = [card_in(shot, area) for area in self.areas]
            whole = all(c and c[0] + CARD_W <= a[2] and c[1] + CARD_H <= a[3] for c, a in zip(corners, self.areas))
            return (shot, corners) if whole else None
        return wait_until(look, 30, interval=0.2, what="a card inside each monitor")

    def assert_every_show_ends(self, p):
        p.wait(timeout=60)
        for caption in (SHOW, MONITOR_SHOW, COVER):
            self.assertEqual(self.box.count(caption), 0, caption)

    def test_each_monitor_shows_its_own_card_and_a_pointer_move_over_the_second_ends_both(self):
        p = self.start_every_monitor_show()
        self.assertEqual(self.box.count(COVER), 0, "no black window where a show runs")
        shot, corners = self.cards()
        if os.environ.get("MIROBEL_SHOTS"):
            self.box.screenshot(os.path.join(os.environ["MIROBEL_SHOTS"],
                                             f"every-monitor-{type(self).__name__}.png"))
        for corner, area in zip(corners, self.areas):
            self.assertGreaterEqual(corner[0], area[0])
            self.assertGreaterEqual(corner[1], area[1])
        # Ascending from poem 1: the primary opens on No.1, the second on No.2.
        self.assertTrue(footer(shot, corners[0]) != footer(shot, corners[1]), "both monitors show one poem")
        # Both cards move: each monitor has a show of its own, not a copy.
        _, later = self.cards()
        self.assertNotEqual(later[1], corners[1])
        second = self.areas[1]
        self.box.xdotool("mousemove", str((second[0] + second[2]) // 2), str((second[1] + second[3]) // 2))
        self.assert_every_show_ends(p)

    def test_a_key_ends_every_show(self):
        p = self.start_every_monitor_show()
        self.cards()
        self.box.xdotool("key", "shift")
        self.assert_every_show_ends(p)

    def test_a_click_on_the_second_monitors_show_ends_every_show(self):
        # The pointer waits over the second monitor before the show starts,
        # so that the click reaches that monitor's window and nothing moves.
        second = self.areas[1]
        self.box.xdotool("mousemove", str((second[0] + second[2]) // 2), str((second[1] + second[3]) // 2))
        p = self.start_every_monitor_show()
        self.cards()
        self.assertIsNone(p.poll(), "the pointer resting where it was does not end the show")
        self.box.xdotool("click", "1")
        self.assert_every_show_ends(p)


class SecondMonitorRight(EveryMonitor, WineTestCase):
    placed = [(1280, 720, 0, 0), (1024, 768, 1280, 0)]

    # Only here: with the second monitor left of the primary, Wine moves the
    # virtual screen's origin when it goes, so the pointer's position as
    # Windows reports it changes and rightly ends the show.
    def test_a_monitor_going_away_closes_its_window_and_the_show_goes_on(self):
        p = self.start_every_monitor_show()
        self.cards()
        subprocess.run(["xrandr", "-d", self.box.display, "--output", "DUMMY1", "--off"], check=True, timeout=60,
                       capture_output=True)
        try:
            wait_until(lambda: self.box.count(MONITOR_SHOW) == 0, 30, what="the second monitor's show closed")
            self.assertIsNone(p.poll(), "the show on the primary monitor goes on")
            self.assertIsNone(self.box.find("エラー"))
            primary = self.areas[0]
            first = wait_until(lambda: card_in(self.box.screenshot(), primary), 30, what="the primary's card")
            wait_until(lambda: (lambda c: c and c != first)(card_in(self.box.screenshot(), primary)), 30,
                       what="the primary's card moving")
            self.box.xdotool("key", "shift")
            self.assert_every_show_ends(p)
        finally:
            # The next test finds both monitors as they were placed.
            self.box.place_monitors()


class SecondMonitorLeft(EveryMonitor, WineTestCase):
    placed = [(1280, 720, 0, 0), (1024, 768, -1024, 0)]


if __name__ == "__main__":
    main()
