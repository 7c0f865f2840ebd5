"""The Windows show (its GDI seams, under Wine) and the native show (the
real program, on a virtual X display) run the same rules: for the same
fixed poem sequence and screen size they must put the card at the same
place in every frame, change cards and restart the ticker in the same
frames. Positions are compared, not pixels: the rasterisers differ."""
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "harness"))
sys.path.insert(0, HERE)
from script_args import run_tests  # noqa: E402
from winebox import WineBox, windows_path  # noqa: E402
from xdisplay import XDisplay  # noqa: E402


class Config:
    native = recorder = build = None


FRAMES = 2500
# (width, height, seed, order, first, last, kimariji): random over all
# poems, a descending range, a small screen where cards change often (and
# the ticker never gets to start over), and cards with their deciding kana
# marked.
CASES = [
    (1280, 720, 7, 1, 1, 100, False),
    (1024, 768, 3, 3, 10, 20, False),
    (640, 400, 11, 1, 95, 100, False),
    (800, 600, 5, 1, 25, 64, True),
]
ORDER_NAMES = {1: "random", 2: "ascending", 3: "descending"}


def read(path):
    with open(path) as f:
        return [line.rstrip("\n") for line in f]


class RenderersAgree(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not os.access(Config.native, os.X_OK):
            raise AssertionError(
                f"no native program at {Config.native}: build the native tree first (tools/build.sh)")

    def windows_record(self, box, case, out):
        width, height, seed, order, first, last, kimariji = case
        box.run(Config.recorder, str(width), str(height), str(seed), str(FRAMES), str(order), str(first),
                str(last), windows_path(out), "1" if kimariji else "0", timeout=600)
        return read(out)

    def native_record(self, case, out):
        width, height, seed, order, first, last, kimariji = case
        x = XDisplay(width, height, Config.native)
        try:
            r = subprocess.run([Config.native, "-root", "-speed", "1", "-order", ORDER_NAMES[order],
                                "-first", str(first), "-last", str(last), "-test-seed", str(seed),
                                "-test-record", out, "-test-frames", str(FRAMES)] + (["-kimariji"] if kimariji else []),
                               env=x.env, capture_output=True, text=True, timeout=600)
        finally:
            x.close()
        self.assertEqual(r.returncode, 0, r.stderr)
        return read(out)

    def test_same_positions_cards_and_ticker_restarts_in_every_frame(self):
        restarts_seen = 0
        with tempfile.TemporaryDirectory() as tmp, WineBox(Config.build) as box:
            for i, case in enumerate(CASES):
                with self.subTest(case=case):
                    win = self.windows_record(box, case, os.path.join(tmp, f"windows-{i}.txt"))
                    nat = self.native_record(case, os.path.join(tmp, f"native-{i}.txt"))
                    frames = [l for l in nat if l.startswith("frame ")]
                    cards = [l for l in nat if l.startswith("card ")]
                    restarts = [l for l in nat if l.startswith("ticker ")]
                    # The runs are long enough to show what is compared.
                    self.assertEqual(len(frames), FRAMES)
                    self.assertGreaterEqual(len(cards), 4, case)
                    # Marked cards say so, and only with the setting on.
                    self.assertEqual(all(" kimariji " in c for c in cards), case[-1], case)
                    restarts_seen += len(restarts)
                    for n, (a, b) in enumerate(zip(win, nat)):
                        if a != b:
                            self.fail(f"{case}: line {n} differs: Windows {a!r}, native {b!r}")
                    self.assertEqual(len(win), len(nat), case)
                    print(f"{case}: {len(frames)} frames, {len(cards)} cards, {len(restarts)} ticker restarts "
                          "agree", flush=True)
        self.assertGreater(restarts_seen, 2)


if __name__ == "__main__":
    run_tests(Config, paths=("native", "recorder", "build"))
