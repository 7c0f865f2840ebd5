"""The show on desktops as users have them: a second monitor goes dark with
the show and ends it like the first, and keys still end the show after
another window has had the foreground."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
from e2e import SETTINGS_KEY, WS_CAPTION, WS_EX_TOPMOST, WS_POPUP, Config, WineTestCase, main  # noqa: E402
from winebox import WineBox, wait_until  # noqa: E402
from test_show import shot_with_card, wait_for_frames  # noqa: E402

SHOW = "SAVER Screen"
COVER = "Mirobel Monitor"
CYAN = (0, 128, 128)
WM_KEYDOWN, WM_LBUTTONUP, VK_SHIFT = 0x100, 0x202, 0x10


class ShowStarting:
    def start_show(self, speed):
        self.box.reg_set(SETTINGS_KEY, "speed", str(speed))
        self.box.reg_set(SETTINGS_KEY, "music mode", "0")
        p = self.start("/s")
        show = self.box.wait_window_where(SHOW, lambda w: w["left"] == 0, 30, "over the screen")
        return p, show

    def assert_show_ends(self, p):
        p.wait(timeout=30)
        self.assertEqual(self.box.count(SHOW), 0)
        self.assertEqual(self.box.count(COVER), 0)


class TwoMonitors(ShowStarting, WineTestCase):
    @classmethod
    def setUpClass(cls):
        cls.box = WineBox(Config.build, 1280, 720, more_screens=[(1024, 768)]).__enter__()
        cls.box.set_probe(Config.probe)

    def setUp(self):
        super().setUp()
        self.assertEqual(len(self.box.monitors()), 2, "Wine should report the second screen as a monitor")

    def cover_of(self, show):
        cover = self.box.wait_window(COVER, 30)
        # Made after the show's set-up: wait until it is shown.
        return wait_until(lambda: (lambda c: c if c and c["visible"] else None)(self.box.find(COVER)), 30,
                          what="the cover shown")

    def test_the_second_monitor_is_covered_while_the_show_runs_and_a_pixel_of_movement_ends_both(self):
        p, show = self.start_show(5)
        cover = self.cover_of(show)
        self.assertEqual(cover["pid"], show["pid"])
        self.assertEqual((cover["left"], cover["top"], cover["width"], cover["height"]), (0, 0, 1024, 768))
        self.assertTrue(cover["style"] & WS_POPUP)
        self.assertFalse(cover["style"] & WS_CAPTION, "borderless")
        self.assertTrue(cover["exstyle"] & WS_EX_TOPMOST)
        # Exactly one show window for the start-up guard, covers or not.
        self.assertEqual(self.box.count(SHOW), 1)
        # The show stays on top where the monitors overlap: its card is seen.
        shot = wait_until(lambda: (lambda s: s if s.count(CYAN, (0, 0, 420, 280)) > 1000 else None)(
            self.box.screenshot()), 30, what="the card over the cover")
        if os.environ.get("MIROBEL_SHOTS"):
            self.box.screenshot(os.path.join(os.environ["MIROBEL_SHOTS"], "two-monitors.png"))
        self.assertEqual(shot.pixel(1279, 719), (0, 0, 0))
        self.box.xdotool("mousemove_relative", "--", "1", "0")
        self.assert_show_ends(p)

    def test_a_click_or_a_key_on_the_cover_ends_the_show(self):
        for message, wparam in ((WM_LBUTTONUP, 0), (WM_KEYDOWN, VK_SHIFT)):
            with self.subTest(message=hex(message)):
                p, show = self.start_show(3)
                cover = self.cover_of(show)
                self.box.probe("post", str(cover["hwnd"]), str(message), str(wparam), "0")
                self.assert_show_ends(p)


class FocusComesBack(ShowStarting, WineTestCase):
    def test_a_key_ends_the_show_after_another_window_had_the_foreground(self):
        p, show = self.start_show(3)
        shot_with_card(self.box)
        self.assertTrue(self.box.take_foreground(1500), "the other window never had the foreground")
        # Nothing has moved and no key was pressed: the show goes on.
        self.assertIsNone(p.poll())
        self.assertIsNotNone(self.box.find(SHOW))
        if os.environ.get("MIROBEL_SHOTS"):
            wait_for_frames(self.box)
            self.box.screenshot(os.path.join(os.environ["MIROBEL_SHOTS"], "after-foreground.png"))
        self.box.xdotool("key", "shift")
        self.assert_show_ends(p)
        self.assertEqual(p.returncode, 0)


if __name__ == "__main__":
    main()
