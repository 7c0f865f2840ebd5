"""Settings read from the registry at start-up, seen from outside the program."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
from e2e import SETTINGS_KEY, WineTestCase, main  # noqa: E402
from winebox import bound, wait_until  # noqa: E402
from test_show import card_corner, shot_with_card, wait_for_frames  # noqa: E402
from test_every_monitor import footer  # noqa: E402

SHOW = "SAVER Screen"
ERROR_TITLE = "エラー"
MARGIN = bound(1.0)


class SettingsAtStartUp(WineTestCase):
    def show_over_screen(self):
        return self.box.wait_window_where(SHOW, lambda w: w["left"] == 0, 30, "over the screen")

    def latency_of_end(self, p):
        t0 = time.monotonic()
        self.box.xdotool("mousemove_relative", "--", "1", "0")
        wait_until(lambda: self.box.find(SHOW) is None, 10, interval=0.01, what="show gone")
        p.wait(timeout=bound(15))
        return time.monotonic() - t0

    def test_empty_store_starts_the_show_without_a_box(self):
        p = self.start("/s")
        self.show_over_screen()
        wait_for_frames(self.box)
        self.assertIsNone(self.box.find(ERROR_TITLE))
        self.assertLess(self.latency_of_end(p), 0.05 + MARGIN)
        # Loading writes nothing: only the dialog's apply stores settings.
        self.assertIsNone(self.box.reg_query(SETTINGS_KEY, "speed"))

    def test_text_that_is_not_a_number_shows_one_exact_error_box_and_the_show_still_runs(self):
        self.box.reg_set(SETTINGS_KEY, "music mode", "0")
        self.box.reg_set(SETTINGS_KEY, "select first", "abc")
        p = self.start("/s")
        box = self.box.wait_window(ERROR_TITLE, 30)
        self.assertEqual(self.box.box_text(box["hwnd"]),
                         ["エラー番号 =  13、Mirobel でエラーが発生しました。 \r型が一致しません。"])
        self.assertIsNone(self.box.find(SHOW), "the show must wait for the box")
        self.assertEqual(self.box.count(ERROR_TITLE), 1)
        self.box.press(box["hwnd"], "OK")
        self.box.wait_gone(ERROR_TITLE, 10)
        self.show_over_screen()
        wait_for_frames(self.box)
        self.assertIsNone(self.box.find(ERROR_TITLE), "only one box")
        self.assertIsNone(p.poll())
        self.latency_of_end(p)

    def test_out_of_range_number_is_reported_too(self):
        self.box.reg_set(SETTINGS_KEY, "speed", "40000")
        p = self.start("/s")
        box = self.box.wait_window(ERROR_TITLE, 30)
        self.assertEqual(self.box.box_text(box["hwnd"]),
                         ["エラー番号 =  6、Mirobel でエラーが発生しました。 \rオーバーフローしました。"])
        self.box.press(box["hwnd"], "OK")
        self.show_over_screen()
        self.latency_of_end(p)

    def test_the_stored_speed_sets_the_pace_of_the_show(self):
        # A timer never fires early, so at speed 5 (a frame every 500 ms) the
        # card can have moved at most one step per half second between two
        # looks, however the machine is loaded; at speed 1 (every 10 ms) it
        # soon moves further than that, however slowly the ticks come.
        self.box.reg_set(SETTINGS_KEY, "speed", "5")
        p = self.start("/s")
        self.show_over_screen()
        t0 = time.monotonic()
        _, start = shot_with_card(self.box)
        wait_for_frames(self.box, 2)
        _, later = shot_with_card(self.box)
        looked = time.monotonic() - t0
        self.assertLessEqual(later[0] - start[0], 2 * (looked / 0.5 + 1), f"{looked:.1f}s: {start} -> {later}")
        self.assertLess(self.latency_of_end(p), 0.5 + MARGIN)

        self.box.reg_set(SETTINGS_KEY, "speed", "1")
        p = self.start("/s")
        self.show_over_screen()
        t0 = time.monotonic()
        _, start = shot_with_card(self.box)

        def beyond_speed_five():
            corner = card_corner(self.box.screenshot())
            return corner and corner[0] - start[0] > 2 * ((time.monotonic() - t0) / 0.5 + 1)
        wait_until(beyond_speed_five, 10, what="the card further than speed 5 could take it")
        self.assertLess(self.latency_of_end(p), 0.01 + MARGIN)

    def first_card_footer(self, values):
        """The "No." line of the first card a show with these stored values
        shows; the card is looked at before it can be replaced."""
        self.box.reg_delete_key(SETTINGS_KEY)
        for key, value in (("speed", "5"), ("music mode", "0")) + values:
            self.box.reg_set(SETTINGS_KEY, key, value)
        p = self.start("/s")
        self.show_over_screen()
        shot, corner = shot_with_card(self.box)
        self.assertIsNone(self.box.find(ERROR_TITLE))
        self.latency_of_end(p)
        return footer(shot, corner)

    def test_a_stored_study_set_gives_its_poems_and_a_bad_one_the_range(self):
        # Ascending in the blue set the first card is its first poem, 3,
        # whatever the range says; a set no one knows leaves the range, here
        # poem 3 alone (descending, so that a bad name read as the blue set
        # would start at its last poem, 100); with no set, range 1..1 is 1.
        blue = self.first_card_footer((("set", "blue"), ("select type", "2"),
                                       ("select first", "1"), ("select end", "1")))
        purple = self.first_card_footer((("set", "purple"), ("select type", "3"),
                                         ("select first", "3"), ("select end", "3")))
        one = self.first_card_footer((("select type", "2"), ("select first", "1"), ("select end", "1")))
        # The number lines are compared whole; their bytes say nothing read.
        self.assertTrue(blue == purple, "the blue set's first card is poem 3, as the range 3..3 is")
        self.assertTrue(blue != one, "the card's number line tells poem 3 from poem 1")


if __name__ == "__main__":
    main()
