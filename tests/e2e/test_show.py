"""The show as the user sees it: the card, its writing, portrait and ticker."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
from e2e import SETTINGS_KEY, Config, WineTestCase, main  # noqa: E402
from winebox import WineBox, bound, wait_until  # noqa: E402

SHOW = "SAVER Screen"
CYAN, WHITE, BLACK = (0, 128, 128), (255, 255, 255), (0, 0, 0)


def card_corner(shot):
    """Top-left of the dark-cyan card face, scanning rows from the top."""
    for y in range(shot.height):
        row = shot.rgb[y * shot.width * 3:(y + 1) * shot.width * 3]
        for x in range(shot.width):
            if tuple(row[x * 3:x * 3 + 3]) == CYAN:
                return x, y
    return None


class Show(WineTestCase):
    def start_show(self, speed, first=None, end=None, order=None):
        self.box.reg_set(SETTINGS_KEY, "speed", str(speed))
        self.box.reg_set(SETTINGS_KEY, "music mode", "0")
        if first:
            self.box.reg_set(SETTINGS_KEY, "select first", str(first))
            self.box.reg_set(SETTINGS_KEY, "select end", str(end))
            self.box.reg_set(SETTINGS_KEY, "select type", str(order))
        p = self.start("/s")
        self.box.wait_window_where(SHOW, lambda w: w["left"] == 0, 30, "over the screen")
        return p

    def end_show(self, p):
        self.box.xdotool("key", "space")
        p.wait(timeout=bound(15))

    def test_first_frame_shows_the_card_base_at_two_two(self):
        # At the slowest pace the first frame stays up for half a second.
        for attempt in range(5):
            p = self.start_show(5, 1, 1, 2)
            shot = self.box.screenshot()
            self.end_show(p)
            if card_corner(shot) == (2, 2):
                break
        self.assertEqual(card_corner(shot), (2, 2))
        self.assertEqual(shot.pixel(1, 1), BLACK)
        self.assertEqual(shot.pixel(401, 261), CYAN)
        self.assertEqual(shot.pixel(402, 262), BLACK)
        self.assertEqual(shot.pixel(2 + 15, 2 + 100), BLACK, "panel outline")
        self.assertEqual(shot.pixel(2 + 16, 2 + 100), WHITE, "panel")
        # Title, number and credit are dark glyphs on the cyan strips.
        title = sum(1 for x in range(17, 200) for y in range(4, 16) if shot.pixel(x, y) != CYAN)
        self.assertGreater(title, 100)
        number = sum(1 for x in range(17, 60) for y in range(249, 261) if shot.pixel(x, y) != CYAN)
        self.assertGreater(number, 20)

    def test_the_card_glides_is_written_and_gets_its_portrait_and_ticker(self):
        p = self.start_show(2, 9, 9, 2)
        # The show advances by timer ticks, which a busy machine delivers
        # late; so the screen is looked at until everything has come, not
        # after a fixed time. The ticker is also momentarily short just after
        # it starts over at the right edge, which a single look could catch.
        corners = []

        def written(shot):
            corner = card_corner(shot)
            if not corner:
                return None
            corners.append(corner)
            x, y = corner
            # Written columns: dark glyph pixels in the first phrase's column.
            ink = sum(1 for yy in range(y + 25, y + 200) for xx in range(x + 350, x + 380)
                      if shot.pixel(xx, yy)[0] < 100)
            # The portrait covers its place with colour (not panel white).
            portrait = sum(1 for yy in range(y + 41, y + 221, 4) for xx in range(x + 58, x + 184, 4)
                           if shot.pixel(xx, yy) != WHITE)
            # The white ticker runs along the bottom strip.
            strip = shot.count(WHITE, (0, shot.height - 30, shot.width, shot.height))
            return ink > 150 and portrait > 0.5 * (180 // 4) * (126 // 4) and strip > 200

        wait_until(lambda: written(self.box.screenshot()), 20, interval=0.5,
                   what="the card written, with its portrait and the ticker")
        if os.environ.get("MIROBEL_SHOTS"):
            self.box.screenshot(os.path.join(os.environ["MIROBEL_SHOTS"], "show-card.png"))
        self.end_show(p)
        self.assertGreater(len(set(corners)), 1, f"the card does not move: {corners}")


    def test_without_any_host_font_the_card_is_drawn_in_the_embedded_faces(self):
        def first_frame(box):
            box.reg_set(SETTINGS_KEY, "speed", "5")
            box.reg_set(SETTINGS_KEY, "music mode", "0")
            for key, value in (("select first", "1"), ("select end", "1"), ("select type", "2")):
                box.reg_set(SETTINGS_KEY, key, value)
            for attempt in range(5):
                p = box.start(Config.scr, "/s")
                box.wait_window_where(SHOW, lambda w: w["left"] == 0, 60, "over the screen")
                shot = box.screenshot()
                box.xdotool("key", "space")
                p.wait(timeout=bound(15))
                if card_corner(shot) == (2, 2):
                    return shot
            self.fail("first frame not caught")

        with_fonts = first_frame(self.box)
        with WineBox(Config.build, host_fonts=False) as bare:
            bare.set_probe(Config.probe)
            without = first_frame(bare)
            if os.environ.get("MIROBEL_SHOTS"):
                bare.screenshot(os.path.join(os.environ["MIROBEL_SHOTS"], "show-no-host-fonts.png"))
        # The first character of the poem and the title line carry ink...
        first_char = sum(1 for x in range(352, 380) for y in range(27, 55) if without.pixel(x, y)[0] < 128)
        self.assertGreater(first_char, 40, "no brush glyph drawn")
        title = sum(1 for x in range(17, 200) for y in range(4, 16) if without.pixel(x, y) != CYAN)
        self.assertGreater(title, 100, "no Mincho glyphs drawn")
        # ...and the card is the very card drawn where the host's fonts are seen.
        different = [(x, y) for y in range(2, 262) for x in range(2, 402)
                     if without.pixel(x, y) != with_fonts.pixel(x, y)]
        self.assertEqual(different[:5], [], f"{len(different)} pixels differ")


if __name__ == "__main__":
    main()
