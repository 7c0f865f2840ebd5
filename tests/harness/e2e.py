"""Shared set-up of the end-to-end tests: arguments and one WineBox per module."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from script_args import read_args  # noqa: E402
from winebox import WineBox  # noqa: E402

SETTINGS_KEY = r"HKCU\Software\VB and VBA Program Settings\SetupVel\Mirobel"

# WS_ and WS_EX_ bits the tests look at.
WS_POPUP = 0x80000000
WS_CHILD = 0x40000000
WS_CAPTION = 0xC00000
WS_BORDER = 0x800000
WS_THICKFRAME = 0x40000
WS_VISIBLE = 0x10000000
WS_EX_TOPMOST = 0x8


class Config:
    scr = probe = build = None


def parse_args():
    return read_args(Config, paths=("scr", "probe", "build"))


class WineTestCase(unittest.TestCase):
    """One Wine session for the whole test class; each test starts clean.
    The program follows the desktop's language (English in the box) until
    its own is stored: the tests check what it shows in Japanese, so each
    starts with "language" stored as "ja", unless its class says otherwise
    (None leaves the value missing)."""
    box = None
    language = "ja"

    @classmethod
    def setUpClass(cls):
        cls.box = WineBox(Config.build).__enter__()
        cls.box.set_probe(Config.probe)

    @classmethod
    def tearDownClass(cls):
        if cls.box:
            cls.box.close()

    def setUp(self):
        self.box.reg_delete_key(SETTINGS_KEY)
        if self.language:
            self.box.reg_set(SETTINGS_KEY, "language", self.language)
        self.addCleanup(self.kill_leftovers)

    def kill_leftovers(self):
        # A failed test may leave the program running; the next test must
        # not see its window.
        for p in self.box.processes:
            if p.poll() is None:
                p.kill()
                p.wait()
        for caption in ("SAVER Screen", "Saver Setting", "エラー", "Error"):
            info = self.box.find(caption)
            while info:
                self.box.probe("kill", str(info["pid"]))
                self.box.wait_gone(caption, 10)
                info = self.box.find(caption)

    def start(self, *args):
        return self.box.start(Config.scr, *args)


def main():
    argv = parse_args()
    unittest.main(argv=argv, verbosity=2)
