"""The show at 200 % display scaling (LogPixels 192): the card is the 96-dpi
card magnified by two, crisp, and glides as at 100 % in steps twice as long."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
from e2e import SETTINGS_KEY, Config, WineTestCase, main  # noqa: E402
from winebox import WineBox, bound, wait_until  # noqa: E402
from test_show import BLACK, CYAN, SHOW, WHITE, card_corner  # noqa: E402


def card_box(shot):
    """(left, top, width, height) of the dark-cyan card face, or None."""
    corner = card_corner(shot)
    if not corner:
        return None
    x, y = right, bottom = corner
    while right < shot.width and shot.pixel(right, y) == CYAN:
        right += 1
    while bottom < shot.height and shot.pixel(x, bottom) == CYAN:
        bottom += 1
    return x, y, right - x, bottom - y


class ShowAt200Percent(WineTestCase):
    @classmethod
    def setUpClass(cls):
        # A screen as large in units as the 1024 x 768 of the other tests.
        cls.box = WineBox(Config.build, width=2048, height=1536, dpi=192).__enter__()
        cls.box.set_probe(Config.probe)

    def start_show(self):
        self.box.reg_set(SETTINGS_KEY, "speed", "5")  # a frame every half second
        self.box.reg_set(SETTINGS_KEY, "music mode", "0")
        for name, value in (("select first", "1"), ("select end", "1"), ("select type", "2")):
            self.box.reg_set(SETTINGS_KEY, name, value)
        p = self.start("/s")
        self.box.wait_window_where(SHOW, lambda w: w["left"] == 0, 30, "over the screen")
        return p

    def end_show(self, p):
        self.box.xdotool("key", "space")
        p.wait(timeout=bound(15))

    def test_the_first_frame_shows_an_800_by_520_card_at_four_four(self):
        info = None
        for attempt in range(5):
            p = self.start_show()
            info = self.box.find(SHOW)
            shot = self.box.screenshot()
            self.end_show(p)
            box = card_box(shot)
            if box and box[:2] == (4, 4):
                break
        self.assertEqual(info["width"], 2048, "the show covers the screen")
        self.assertEqual(box, (4, 4, 800, 520))
        self.assertEqual(shot.pixel(3, 3), BLACK)
        self.assertEqual(shot.pixel(804, 524), BLACK)
        # The panel's outline is two pixels wide at 200 %.
        for x, colour in ((4 + 29, CYAN), (4 + 30, BLACK), (4 + 31, BLACK), (4 + 32, WHITE)):
            self.assertEqual(shot.pixel(x, 4 + 200), colour, f"x = {x}")
        # The title and number strips carry text of twice the size.
        title = sum(1 for x in range(34, 400) for y in range(8, 32) if shot.pixel(x, y) != CYAN)
        self.assertGreater(title, 400)

    def test_the_card_moves_four_pixels_a_frame_on_both_axes(self):
        p = self.start_show()
        # The window can be over the screen a moment before its first frame
        # is painted (seen on a loaded machine): look until the card is there.
        boxes = [wait_until(lambda: card_box(self.box.screenshot()), 20, interval=0.2, what="the card on screen")]
        for _ in range(2):
            boxes.append(card_box(self.box.screenshot()))
        self.end_show(p)
        for box in boxes:
            self.assertIsNotNone(box)
            left, top, width, height = box
            self.assertEqual((width, height), (800, 520))
            # From (4, 4) in steps of 2 units, 4 pixels, down and to the right.
            self.assertEqual(left, top)
            self.assertEqual((left - 4) % 4, 0, f"the card at {box}")


if __name__ == "__main__":
    main()
