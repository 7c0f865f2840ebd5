"""The Windows zip holds exactly what a user needs, the music beside the
program among it, and the program, the installer and both file names carry
the one project version."""
import os
import re
import struct
import subprocess
import sys
import unittest
import zipfile

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "harness"))
from script_args import run_tests  # noqa: E402


class Config:
    scr = music = packages = version = None


def read(path):
    with open(path, "rb") as f:
        return f.read()


class WindowsPackages(unittest.TestCase):
    def setUp(self):
        self.zip = os.path.join(Config.packages, f"Mirobel-{Config.version}-win64.zip")
        self.msi = os.path.join(Config.packages, f"Mirobel-{Config.version}-x64.msi")

    def test_the_zip_holds_the_program_and_its_music_byte_for_byte_its_licences_and_a_readme(self):
        # The licence of each font the program's resources embed, and no other.
        with open(os.path.join(ROOT, "src", "app", "Mirobel.rc"), encoding="utf-8") as f:
            fonts = re.findall(r'"assets/fonts/(\w+)-subset\.ttf"', f.read())
        licences = {f"{font}-OFL.txt": os.path.join(ROOT, "assets", "fonts", f"{font}-OFL.txt") for font in fonts}
        self.assertEqual(len(licences), 2, "one licence for each embedded font")
        with zipfile.ZipFile(self.zip) as z:
            self.assertEqual(sorted(z.namelist()),
                             sorted(["Mirobel.scr", "Mirobel.mid", "LICENSE", "README.txt", *licences]))
            self.assertTrue(z.read("Mirobel.scr") == read(Config.scr), "Mirobel.scr differs from the built one")
            self.assertTrue(z.read("Mirobel.mid") == read(Config.music), "Mirobel.mid differs from the built one")
            self.assertEqual(z.read("LICENSE"), read(os.path.join(ROOT, "LICENSE")))
            for name, path in licences.items():
                self.assertEqual(z.read(name), read(path), name)
            readme = z.read("README.txt")
        # Notepad: a byte-order mark, and CR LF at the end of every line.
        self.assertTrue(readme.startswith(b"\xef\xbb\xbf"))
        self.assertEqual(readme.count(b"\n"), readme.count(b"\r\n"))
        text = readme.decode("utf-8-sig")
        # Each language says what the music is and that another MIDI file of
        # its name takes its place.
        for words in (("インストール", "さくらさくら", "Mirobel.mid", "MIDI", "アンインストール"),
                      ("Install", "Sakura Sakura", "Team Mirobel", "Mirobel.mid", "MIDI", "Removing")):
            for word in words:
                self.assertIn(word, text)
        self.assertIn(Config.version, text)

    def test_program_installer_and_file_names_carry_the_project_version(self):
        scr = read(Config.scr)
        # VS_FIXEDFILEINFO: signature, structure version, then the file
        # version and the product version as two DWORDs each (high: major,
        # minor; low: patch, build).
        at = scr.index(struct.pack("<I", 0xFEEF04BD))
        file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<4I", scr, at + 8)
        major, minor, patch = (int(n) for n in Config.version.split("."))
        self.assertEqual((file_ms, file_ls), (major << 16 | minor, patch << 16))
        self.assertEqual((product_ms, product_ls), (major << 16 | minor, patch << 16))
        self.assertIn(f'name="Mirobel.ScreenSaver" version="{Config.version}.0"'.encode(), scr, "manifest")
        # The string table's value, after its key and the padding to 32 bits.
        key, value = "ProductVersion\0".encode("utf-16-le"), f"{Config.version}\0".encode("utf-16-le")
        self.assertRegex(scr, re.escape(key) + b"(?:\0\0)?" + re.escape(value))
        properties = subprocess.run(["msiinfo", "export", self.msi, "Property"], capture_output=True, text=True,
                                    check=True, timeout=60).stdout
        self.assertRegex(properties, rf"(?m)^ProductVersion\t{re.escape(Config.version)}\r?$")


if __name__ == "__main__":
    run_tests(Config, paths=("scr", "music", "packages"), values=("version",))
