"""The show as the user sees it: the card, its writing, portrait and ticker."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
from e2e import SETTINGS_KEY, Config, WineTestCase, main  # noqa: E402
from winebox import REAL_CONVERT, WineBox, bound, wait_until  # noqa: E402

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


def shot_with_card(box, find=card_corner, timeout=20):
    """(screenshot, where) of the first look that finds the card: a window
    over the screen may not have painted its first frame yet."""
    def look():
        shot = box.screenshot()
        where = find(shot)
        return (shot, where) if where else None
    return wait_until(look, timeout, interval=0.2, what="the card on the screen")


def wait_for_frames(box, frames=3, timeout=30):
    """Waits until the card has been seen at `frames` places: that many
    frames have passed, however slowly a busy machine delivers them."""
    seen = set()

    def moved():
        corner = card_corner(box.screenshot())
        if corner:
            seen.add(corner)
        return len(seen) >= frames
    wait_until(moved, timeout, interval=0.1, what=f"the card at {frames} places")


def save_card_close_up(box, path, margin=10):
    """The card with a black margin, cut out of a screenshot, as the README
    shows it close up."""
    def look():
        shot = box.screenshot(path)  # the card is found in the picture kept
        corner = card_corner(shot)
        return (shot, corner) if corner else None
    shot, (x, y) = wait_until(look, 20, interval=0.2, what="the card on the screen")
    left = min(max(x - margin, 0), shot.width - 400 - 2 * margin)
    top = min(max(y - margin, 0), shot.height - 260 - 2 * margin)
    subprocess.run([REAL_CONVERT, path, "-crop", f"{400 + 2 * margin}x{260 + 2 * margin}+{left}+{top}",
                    "+repage", path], check=True, timeout=60)


def assert_card_base(test, shot, corner, scale=1):
    """The card's face, panel and strips, measured from wherever it lies."""
    x, y = corner
    s = scale
    test.assertEqual(shot.pixel(x - 1, y - 1), BLACK)
    test.assertEqual(shot.pixel(x + 400 * s - 1, y + 260 * s - 1), CYAN)
    test.assertEqual(shot.pixel(x + 400 * s, y + 260 * s), BLACK)
    # The panel's outline is one unit wide, magnified with the card.
    for dx, colour in ((15 * s - 1, CYAN), (15 * s, BLACK), (16 * s - 1, BLACK), (16 * s, WHITE)):
        test.assertEqual(shot.pixel(x + dx, y + 100 * s), colour, f"{dx} right of the card's edge")
    # Title and number are dark glyphs on the cyan strips.
    title = sum(1 for xx in range(x + 15 * s, x + 200 * s) for yy in range(y + 2 * s, y + 14 * s)
                if shot.pixel(xx, yy) != CYAN)
    test.assertGreater(title, 100 * s * s, "title strip")
    number = sum(1 for xx in range(x + 15 * s, x + 58 * s) for yy in range(y + 247 * s, y + 259 * s)
                 if shot.pixel(xx, yy) != CYAN)
    test.assertGreater(number, 20 * s * s, "number strip")


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

    def test_the_card_base_starts_at_two_two_and_steps_two_units_a_frame(self):
        # Whichever frame the screenshot catches, the card lies on its path
        # from (2, 2): two pixels a frame down and to the right, the same
        # number of steps on both axes (no bounce within the test's time).
        # That the very first frame is at (2, 2) is the core's to check.
        p = self.start_show(5, 1, 1, 2)
        shot, corner = shot_with_card(self.box)
        self.end_show(p)
        x, y = corner
        self.assertEqual(x, y, f"the card at {corner}")
        self.assertEqual(x % 2, 0, f"the card at {corner}")
        self.assertGreaterEqual(x, 2)
        assert_card_base(self, shot, corner)

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
            save_card_close_up(self.box, os.path.join(os.environ["MIROBEL_SHOTS"], "show-card.png"))
        self.end_show(p)
        self.assertGreater(len(set(corners)), 1, f"the card does not move: {corners}")


    def test_the_stored_kimariji_value_marks_the_deciding_kana_and_only_those(self):
        # Poem 64 is decided by あさぼらけう: the first column whole and the
        # second column's first kana in vermilion, the rest of the second
        # column black. Off ("0") nothing is vermilion.
        def reddish(p):
            return p[0] > 150 and p[0] - p[1] > 60 and p[0] - p[2] > 60

        def marks():
            def look():
                shot, (x, y) = shot_with_card(self.box)
                count = lambda box: sum(1 for yy in range(y + box[1], y + box[3]) for xx in range(x + box[0], x + box[2])
                                        if reddish(shot.pixel(xx, yy)))
                # Wait for the whole second column: its ink counted black.
                rest_ink = sum(1 for yy in range(y + 55, y + 240) for xx in range(x + 310, x + 340)
                               if shot.pixel(xx, yy)[0] < 100)
                if rest_ink < 150:
                    return None
                return count((350, 25, 380, 150)), count((310, 25, 340, 50)), count((310, 62, 340, 240))
            return wait_until(look, 30, interval=0.3, what="the second column written")

        for value in ("1", "0"):
            with self.subTest(kimariji=value):
                self.box.reg_set(SETTINGS_KEY, "kimariji", value)
                p = self.start_show(1, 64, 64, 2)
                first, second_top, second_rest = marks()
                self.end_show(p)
                if value == "1":
                    self.assertGreater(first, 300)
                    self.assertGreater(second_top, 40)
                else:
                    self.assertEqual(first + second_top, 0)
                self.assertEqual(second_rest, 0)

    def test_without_any_host_font_the_card_is_drawn_in_the_embedded_faces(self):
        def card(box):
            box.reg_set(SETTINGS_KEY, "speed", "5")
            box.reg_set(SETTINGS_KEY, "music mode", "0")
            for key, value in (("select first", "1"), ("select end", "1"), ("select type", "2")):
                box.reg_set(SETTINGS_KEY, key, value)
            p = box.start(Config.scr, "/s")
            box.wait_window_where(SHOW, lambda w: w["left"] == 0, 60, "over the screen")
            shot, corner = shot_with_card(box)
            box.xdotool("key", "space")
            p.wait(timeout=bound(15))
            return shot, corner

        with_fonts, at = card(self.box)
        with WineBox(Config.build, host_fonts=False) as bare:
            bare.set_probe(Config.probe)
            without, at_without = card(bare)
            if os.environ.get("MIROBEL_SHOTS"):
                bare.screenshot(os.path.join(os.environ["MIROBEL_SHOTS"], "show-no-host-fonts.png"))
        # The first frame already wrote the poem's first character; later
        # frames add others, so only what every frame shows is compared: the
        # strips with title, number and credit, and that first character.
        fixed = [(x, y) for y in range(260) for x in range(400) if y < 15 or y >= 245 or x < 15 or x >= 385]
        fixed += [(x, y) for y in range(25, 50) for x in range(350, 390)]

        def pixels(shot, corner):
            return [shot.pixel(corner[0] + x, corner[1] + y) for x, y in fixed]

        ink = sum(1 for x in range(350, 378) for y in range(25, 50)
                  if without.pixel(at_without[0] + x, at_without[1] + y)[0] < 128)
        self.assertGreater(ink, 40, "no brush glyph drawn")
        assert_card_base(self, without, at_without)
        # The card is the very card drawn where the host's fonts are seen.
        different = [xy for xy, a, b in zip(fixed, pixels(without, at_without), pixels(with_fonts, at)) if a != b]
        self.assertEqual(different[:5], [], f"{len(different)} pixels differ")


if __name__ == "__main__":
    main()
