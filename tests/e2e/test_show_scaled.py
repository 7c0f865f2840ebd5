"""The show at 200 % display scaling (LogPixels 192): the card is the 96-dpi
card magnified by two, crisp, and glides as at 100 % in steps twice as long."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
from e2e import SETTINGS_KEY, Config, WineTestCase, main  # noqa: E402
from winebox import WineBox, bound  # noqa: E402
from test_show import CYAN, SHOW, assert_card_base, card_corner, shot_with_card  # noqa: E402


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

    def test_the_card_is_800_by_520_and_steps_four_pixels_a_frame_from_four_four(self):
        p = self.start_show()
        info = self.box.find(SHOW)
        # Whatever frame each look catches: the card is whole, on its path
        # from (4, 4) in steps of 2 units (4 pixels), the same number of steps
        # on both axes, with the outline and strips magnified around it.
        looks = [shot_with_card(self.box, card_box) for _ in range(3)]
        self.end_show(p)
        self.assertEqual(info["width"], 2048, "the show covers the screen")
        for shot, box in looks:
            left, top, width, height = box
            self.assertEqual((width, height), (800, 520))
            self.assertEqual(left, top, f"the card at {box}")
            self.assertEqual((left - 4) % 4, 0, f"the card at {box}")
            self.assertGreaterEqual(left, 4)
            assert_card_base(self, shot, (left, top), scale=2)


if __name__ == "__main__":
    main()
