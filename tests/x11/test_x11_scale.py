"""The native program at the desktop's display scaling: with Xft.dpi 192 in
the display's resource database (as desktops set it at 200 %) the card,
its texts, portrait and ticker are twice the size, and -scale 100 brings
the 100 % show back."""
import os
import signal
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import test_x11_show as show  # noqa: E402
from test_x11_show import cyan_box, ticker_rows  # noqa: E402


def ticker_height(shot, s, card):
    """Rows from the top to the bottom of the ticker's text in view."""
    rows = ticker_rows(shot, card, s)
    return max(rows) - min(rows) + 1 if rows else 0


class ScaledShow(show.ShowTestCase):
    def test_the_desktops_xft_dpi_magnifies_the_show_and_scale_wins(self):
        x = self.display(1600, 1200)
        subprocess.run(["xrdb", "-nocpp", "-merge"], input="Xft.dpi: 192\n", env=x.env, text=True, check=True,
                       timeout=60)
        host, window = x.host(1600, 1200)
        ticker_heights = {}
        for s, args, name in [(2, [], "x11-xft-dpi-192.png"), (1, ["-scale", "100"], "x11-xft-dpi-192-scale-100.png")]:
            p = x.start("-window-id", window, "-speed", "1", "-order", "ascending", "-first", "17", "-last", "17",
                        *args)
            shot, box = self.wait_for_written_card(name, s=s)
            self.assert_card(shot, box, s)
            ticker_heights[s] = ticker_height(shot, s, box)
            # The card keeps bouncing inside the window at its size.
            moved = x.wait_for(lambda: (lambda b: b if b and b != box and b[2] - b[0] == 400 * s else None)(
                cyan_box(x.screenshot())), 60, interval=0.2, what="the card moving on")
            self.assertLessEqual(moved[2], 1600)
            self.assertLessEqual(moved[3], 1200)
            p.send_signal(signal.SIGTERM)
            p.wait(timeout=30)
            self.assertEqual(p.returncode, 0, p.stderr.read())
        # The ticker's font is magnified too, not only its place: its em is
        # 16 pixels at 100 %, and its glyphs (whichever are in view) stand
        # taller than 1.4 of that at 200 %.
        self.assertTrue(10 <= ticker_heights[1] <= 17, ticker_heights)
        self.assertGreater(ticker_heights[2], 22, ticker_heights)


if __name__ == "__main__":
    show.main()
