"""Music behind the show, seen from outside: the program is copied into a
folder with a blank in its name, as under "Program Files", and the tests
watch which processes hold the music file open and whether any box appears."""
import os
import shutil
import struct
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
from e2e import SETTINGS_KEY, Config, WineTestCase, main  # noqa: E402
from winebox import bound, wait_until  # noqa: E402
from test_show import wait_for_frames  # noqa: E402

SHOW = "SAVER Screen"


def small_midi():
    """A format-0 file of three quarter notes, written byte by byte."""
    track = b""
    for note in (60, 64, 67):
        track += bytes([0x00, 0x90, note, 100, 0x60, 0x80, note, 0])
    track += bytes([0x00, 0xFF, 0x2F, 0x00])
    return b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96) + b"MTrk" + struct.pack(">I", len(track)) + track


def processes_holding(path):
    """Host processes with the file open (Wine opens files as host files)."""
    holders = []
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            for fd in os.listdir(f"/proc/{pid}/fd"):
                try:
                    if os.readlink(f"/proc/{pid}/fd/{fd}") == path:
                        holders.append(int(pid))
                        break
                except OSError:
                    pass
        except OSError:
            pass
    return holders


class Music(WineTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.folder = tempfile.mkdtemp(prefix="mirobel music ")
        cls.scr = os.path.join(cls.folder, "Mirobel.scr")
        shutil.copy(Config.scr, cls.scr)
        cls.midi = os.path.join(cls.folder, "Mirobel.mid")

    @classmethod
    def tearDownClass(cls):
        super().tearDownClass()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def setUp(self):
        super().setUp()
        if os.path.exists(self.midi):
            os.remove(self.midi)
        self.box.reg_set(SETTINGS_KEY, "speed", "3")

    def boxes(self):
        r = self.box.run(os.path.join(Config.build, "host.exe"), "boxes")
        lines = r.stdout.decode("utf-8", "replace").splitlines()
        return lines[1:] if int(lines[0].split("=")[1]) else []

    def start_show(self, music_mode):
        self.box.reg_set(SETTINGS_KEY, "music mode", str(music_mode))
        p = self.box.start(self.scr, "/s")
        self.box.wait_window_where(SHOW, lambda w: w["left"] == 0, 30, "over the screen")
        return p

    def end_show(self, p):
        self.box.xdotool("key", "space")
        # Stop and close go through the platform's boxing command; a box for a
        # failure there would keep the process alive.
        p.wait(timeout=bound(20))
        self.assertEqual(p.returncode, 0)

    def test_without_a_music_file_the_show_runs_silently_without_a_box(self):
        p = self.start_show(1)
        wait_for_frames(self.box, 10)  # and many more music ticks
        self.assertIsNone(p.poll())
        self.assertIsNotNone(self.box.find(SHOW))
        self.assertEqual(self.boxes(), [])
        self.end_show(p)
        self.assertEqual(self.boxes(), [])

    def test_a_music_file_in_a_folder_with_a_blank_is_opened_and_closed(self):
        with open(self.midi, "wb") as f:
            f.write(small_midi())
        p = self.start_show(1)
        # Held open by the device from the start of the show: the quoted name
        # reached the platform whole.
        wait_until(lambda: processes_holding(self.midi), 10, what="the music file opened")
        wait_for_frames(self.box, 10)
        self.assertIsNone(p.poll())
        self.assertTrue(processes_holding(self.midi))
        self.assertEqual(self.boxes(), [])
        self.end_show(p)
        wait_until(lambda: not processes_holding(self.midi), 10, what="the music file closed")
        self.assertEqual(self.boxes(), [])

    def test_music_switched_off_leaves_the_file_alone(self):
        with open(self.midi, "wb") as f:
            f.write(small_midi())
        for mode in (0, 2):
            with self.subTest(mode=mode):
                p = self.start_show(mode)
                wait_for_frames(self.box, 10)
                self.assertEqual(processes_holding(self.midi), [])
                self.end_show(p)


if __name__ == "__main__":
    main()
