"""An install puts the program and its option file where Debian's
XScreenSaver looks for them, and every setting the option file can pass is
one the program accepts (a bad one would leave the daemon with a hack that
exits at once)."""
import argparse
import gzip
import os
import re
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET


class Config:
    build = hack_dir = config_dir = prefix = None


class Install(unittest.TestCase):
    def test_installs_where_xscreensaver_finds_it_with_options_the_program_takes(self):
        with tempfile.TemporaryDirectory() as stage:
            subprocess.run(["cmake", "--install", Config.build], env=dict(os.environ, DESTDIR=stage), check=True,
                           stdout=subprocess.DEVNULL, timeout=300)
            program = os.path.join(stage + Config.hack_dir, "mirobel")
            config = os.path.join(stage + Config.config_dir, "mirobel.xml")
            self.assertEqual(Config.hack_dir, "/usr/libexec/xscreensaver")
            self.assertEqual(Config.config_dir, "/usr/share/xscreensaver/config")
            self.assertTrue(os.access(program, os.X_OK), program)
            root = ET.parse(config).getroot()
            self.assertEqual(root.tag, "screensaver")
            self.assertEqual(root.get("name"), "mirobel")

            # Every argument the settings window can produce, alone and at
            # the ends of its ranges.
            args = [root.find("command").get("arg").split()]
            for number in root.iter("number"):
                for value in (number.get("low"), number.get("high"), number.get("default")):
                    args.append(number.get("arg").replace("%", value).split())
            selects = {s.get("id"): [o.get("arg-set") for o in s.iter("option")] for s in root.iter("select")}
            self.assertEqual(set(selects), {"order", "set", "scale", "language"})
            self.assertEqual(len(selects["order"]), 3)
            self.assertEqual(len(selects["set"]), 12)  # the range and the eleven sets
            # The first choice of each passes nothing: the program's default.
            for choices in selects.values():
                self.assertIsNone(choices[0])
            self.assertIn("-scale 100", selects["scale"])
            args += [o.split() for choices in selects.values() for o in choices if o]
            # The check boxes pass their option when ticked.
            booleans = {b.get("id"): b.get("arg-set") for b in root.iter("boolean")}
            self.assertEqual(booleans, {"kimariji": "-kimariji"})
            args += [[o] for o in booleans.values()]
            ids = {n.get("id") for n in root.iter("number")}
            self.assertEqual(ids, {"speed", "first", "last"})
            for a in args:
                r = subprocess.run([program, *a, "-help"], capture_output=True, text=True, timeout=60)
                self.assertEqual(r.returncode, 0, f"{a}: {r.stderr}")
            speed = next(n for n in root.iter("number") if n.get("id") == "speed")
            self.assertEqual((speed.get("low"), speed.get("high"), speed.get("default")), ("1", "5", "3"))
            for wrong in (["-speed", "6"], ["-scale", "50"]):
                bad = subprocess.run([program, *wrong], capture_output=True, text=True, timeout=60)
                self.assertEqual(bad.returncode, 2, wrong)
            # The diagnostic list of the kimariji: a line per poem.
            listed = subprocess.run([program, "-test-kimariji"], capture_output=True, text=True, timeout=60)
            self.assertEqual(listed.returncode, 0, listed.stderr)
            lines = listed.stdout.splitlines()
            self.assertEqual([line.split("\t")[0] for line in lines], [str(n) for n in range(1, 101)])
            self.assertEqual(lines[17], "18\tす")
            # The study sets: the eleven names in their order, each with its poems.
            listed = subprocess.run([program, "-test-sets"], capture_output=True, text=True, timeout=60)
            self.assertEqual(listed.returncode, 0, listed.stderr)
            sets = [line.split("\t") for line in listed.stdout.splitlines()]
            self.assertEqual([name for name, _ in sets], ["blue", "pink", "yellow", "green", "orange"] +
                             [f"kimariji{k}" for k in range(1, 7)])
            self.assertTrue(sets[0][1].startswith("3 5 6 12 "), sets[0])
            # The manual page goes where man finds it, compressed; groff
            # finds nothing wrong in it, and it lists exactly the options
            # that -help names (both are written from the options' table).
            with open(os.path.join(stage + Config.prefix, "share/man/man6/mirobel.6.gz"), "rb") as f:
                page = gzip.decompress(f.read()).decode()
            checked = subprocess.run(["groff", "-man", "-ww", "-z"], input=page, capture_output=True, text=True,
                                     timeout=60)
            self.assertEqual((checked.returncode, checked.stderr), (0, ""))
            self.assertNotIn("@", page)
            tagged = [t.replace("\\-", "-") for t in re.findall(r"^\.TP\n\\fB\\-((?:[a-z]|\\-)+)\\fR", page, re.M)]
            helped = subprocess.run([program, "-help"], capture_output=True, text=True, timeout=60).stdout
            self.assertEqual(sorted(tagged), sorted(re.findall(r"^  -([a-z-]+)", helped, re.M)))
            self.assertIn("kimariji", tagged)

    def test_install_script_puts_everything_under_one_prefix_and_removes_it_again(self):
        script = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "x11", "install.sh")
        with tempfile.TemporaryDirectory() as stage:
            env = dict(os.environ, DESTDIR=stage, MIROBEL_BUILD=Config.build)
            subprocess.run([script], env=env, check=True, stdout=subprocess.DEVNULL, timeout=900)
            files = sorted(os.path.relpath(os.path.join(d, f), stage) for d, _, fs in os.walk(stage) for f in fs)
            # man finds the page beside the program only when both share
            # the prefix the package uses.
            self.assertEqual(files, ["usr/libexec/xscreensaver/mirobel", "usr/share/man/man6/mirobel.6.gz",
                                     "usr/share/xscreensaver/config/mirobel.xml"])
            subprocess.run([script, "--remove"], env=env, check=True, stdout=subprocess.DEVNULL, timeout=300)
            left = [os.path.join(d, f) for d, _, fs in os.walk(stage) for f in fs]
            self.assertEqual(left, [])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--hack-dir", required=True)
    parser.add_argument("--config-dir", required=True)
    parser.add_argument("--prefix", required=True)
    args, rest = parser.parse_known_args()
    Config.build, Config.hack_dir, Config.config_dir = args.build, args.hack_dir, args.config_dir
    Config.prefix = args.prefix
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
