"""Start-up and the show's window, driven on a virtual display under Wine."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
from e2e import (WS_BORDER, WS_CAPTION, WS_EX_TOPMOST, WS_POPUP, WS_THICKFRAME, Config,  # noqa: E402
                 WineTestCase, main)
from winebox import bound, wait_until, windows_path  # noqa: E402
from test_show import shot_with_card, wait_for_frames  # noqa: E402

SHOW = "SAVER Screen"
DIALOG = "Saver Setting"
# Wine needs a moment to deliver input and tear a process down; the show
# itself reacts at its next 50 ms tick.
MARGIN = bound(1.0)


class ShowWindow(WineTestCase):
    """The window, its z-order and the ways the show ends."""

    def start_show(self, *args):
        p = self.start("/s", *args)
        info = self.box.wait_window_where(SHOW, lambda w: w["left"] == 0 and w["top"] == 0, 30, "over the screen")
        return p, info

    def ended_within(self, p, seconds):
        t0 = time.monotonic()
        wait_until(lambda: self.box.find(SHOW) is None, seconds, what="show window gone")
        elapsed = time.monotonic() - t0
        p.wait(timeout=bound(15))
        return elapsed

    def test_covers_the_screen_black_borderless_and_topmost(self):
        p, info = self.start_show()
        self.assertEqual((info["width"], info["height"]), (self.box.width, self.box.height))
        self.assertTrue(info["style"] & WS_POPUP)
        self.assertFalse(info["style"] & (WS_CAPTION | WS_BORDER | WS_THICKFRAME))
        self.assertTrue(info["visible"])
        self.box.wait_window_where(SHOW, lambda w: w["exstyle"] & WS_EX_TOPMOST, 10, "topmost")
        shot, _ = shot_with_card(self.box)
        # Black everywhere but under the 400 x 260 card and the ticker strip.
        cyan = shot.count((0, 128, 128))
        self.assertGreater(cyan, 0, "no card on the screen")
        self.assertGreaterEqual(shot.count((0, 0, 0)), shot.width * (shot.height - 30) - 400 * 260)
        # The picture stays until the user does something.
        wait_for_frames(self.box)
        self.assertIsNone(p.poll())
        self.assertEqual(self.box.count(SHOW), 1)

    def test_one_pixel_of_mouse_movement_ends_the_show(self):
        p, _ = self.start_show()
        shot_with_card(self.box)
        self.box.xdotool("mousemove_relative", "--", "1", "0")
        elapsed = self.ended_within(p, 0.05 + MARGIN)
        print(f"mouse move: window gone after {elapsed:.3f}s", file=sys.stderr)
        self.assertEqual(p.returncode, 0)

    def test_a_modifier_key_alone_ends_the_show(self):
        p, _ = self.start_show()
        shot_with_card(self.box)
        self.box.xdotool("key", "shift")
        elapsed = self.ended_within(p, 0.05 + MARGIN)
        print(f"shift: window gone after {elapsed:.3f}s", file=sys.stderr)

    def test_a_click_ends_the_show(self):
        p, _ = self.start_show()
        shot_with_card(self.box)
        self.box.xdotool("click", "1")
        elapsed = self.ended_within(p, 0.05 + MARGIN)
        print(f"click: window gone after {elapsed:.3f}s", file=sys.stderr)

    def test_a_second_show_ends_at_once_and_leaves_the_first_running(self):
        first, _ = self.start_show()
        second = self.start("/s")
        second.wait(timeout=bound(20))
        self.assertEqual(second.returncode, 0)
        self.assertIsNone(first.poll())
        self.assertEqual(self.box.count(SHOW), 1)
        self.box.xdotool("key", "a")
        self.ended_within(first, 0.05 + MARGIN)


class ModeDispatch(WineTestCase):
    def assert_ends_without_window(self, *args):
        p = self.start(*args)
        p.wait(timeout=bound(30))
        self.assertEqual(p.returncode, 0, args)
        self.assertIsNone(self.box.find(SHOW), args)
        self.assertIsNone(self.box.find(DIALOG), args)

    def test_unknown_mode_texts_open_nothing(self):
        for args in (["/x"], ["-s"], ["s"], ["/a"], ["/"], ["/p", "1234"], ["x" * 300]):
            with self.subTest(args=args):
                self.assert_ends_without_window(*args)

    def test_exact_command_lines_reach_the_right_mode(self):
        program = '"' + windows_path(Config.scr) + '"'
        for tail, caption in ((" /S", SHOW), ("  /s", SHOW), (" /s 5", SHOW), (" /c:1234", DIALOG),
                              ("", DIALOG), ("    ", DIALOG)):
            with self.subTest(tail=tail):
                self.box.launch(program + tail)
                info = self.box.wait_window(caption, 30)
                if caption == SHOW:
                    self.box.wait_window_where(SHOW, lambda w: w["left"] == 0, 10, "over the screen")
                    self.box.xdotool("key", "Escape")
                else:
                    self.box.close_window(info["hwnd"])
                self.box.wait_gone(caption, 15)

    def test_configure_opens_the_dialog_centred_with_a_400_by_388_client_area(self):
        p = self.start()
        info = self.box.wait_window(DIALOG, 30)
        info = self.box.wait_window_where(DIALOG, lambda w: w["visible"], 10, "shown")
        self.assertEqual((info["cw"], info["ch"]), (400, 388))  # the classic 300, the screens and the sets rows
        self.assertAlmostEqual(info["left"], (self.box.width - info["width"]) // 2, delta=1)
        self.assertAlmostEqual(info["top"], (self.box.height - info["height"]) // 2, delta=1)
        self.box.close_window(info["hwnd"])
        p.wait(timeout=bound(20))
        self.assertEqual(p.returncode, 0)

    def test_any_start_beside_the_open_dialog_ends_at_once(self):
        dialog = self.start("/c")
        self.box.wait_window(DIALOG, 30)
        for args in (["/c"], [], ["/s"], ["/p", "1234"]):
            with self.subTest(args=args):
                p = self.start(*args)
                p.wait(timeout=bound(20))
                self.assertEqual(self.box.count(DIALOG), 1)
                self.assertIsNone(self.box.find(SHOW))
        self.assertIsNone(dialog.poll())


if __name__ == "__main__":
    main()
