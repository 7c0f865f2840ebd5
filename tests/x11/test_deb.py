"""The Debian package of the native show: its name and version follow the
project's, it holds exactly the hack, its option file, the manual page and
the copyright and changelog, owned by root with the usual modes; Depends
names the packages of the libraries the program loads; the manual page
lists what the program takes; lintian finds no error.

With MIROBEL_INSTALL_TESTS=1 (set by the CI script) it also installs the
package into this machine with apt-get, runs the installed hack on a
virtual display as the daemon runs it, removes it and checks that nothing
of it is left. Without it that part is skipped, and says so."""
import gzip
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "harness"))
sys.path.insert(0, HERE)
from script_args import run_tests  # noqa: E402
from winebox import wait_until  # noqa: E402
from xdisplay import XDisplay  # noqa: E402
from test_x11_show import cyan_box  # noqa: E402

HACK = "/usr/libexec/xscreensaver/mirobel"
CONTENTS = {
    "./usr/libexec/xscreensaver/mirobel": "-rwxr-xr-x",
    "./usr/share/xscreensaver/config/mirobel.xml": "-rw-r--r--",
    "./usr/share/man/man6/mirobel.6.gz": "-rw-r--r--",
    "./usr/share/doc/mirobel/copyright": "-rw-r--r--",
    "./usr/share/doc/mirobel/changelog.Debian.gz": "-rw-r--r--",
}


class Config:
    source = build = host = None


def project_version():
    with open(os.path.join(Config.source, "CMakeLists.txt")) as f:
        return re.search(r"project\(Mirobel VERSION ([0-9.]+)", f.read()).group(1)


def run(*args, **kw):
    return subprocess.run(args, capture_output=True, text=True, timeout=kw.pop("timeout", 300), **kw)


def dep5_paragraphs(text):
    """The copyright file's paragraphs as dicts; a field's continuation
    lines come back as its text (" ." lines as empty ones)."""
    paragraphs = []
    for block in text.strip("\n").split("\n\n"):
        fields, name = {}, None
        for line in block.split("\n"):
            if line.startswith(" "):
                fields[name] += "\n" + ("" if line == " ." else line[1:])
            else:
                name, _, value = line.partition(":")
                fields[name] = value.strip()
        paragraphs.append(fields)
    return paragraphs


class DebianPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # Readable by apt's unprivileged downloader, as a user's download is.
        cls.dist = tempfile.mkdtemp()
        os.chmod(cls.dist, 0o755)
        r = run(os.path.join(Config.source, "tools", "packaging", "debian.sh"), Config.build, cls.dist, timeout=900)
        if r.returncode != 0:
            raise AssertionError(f"debian.sh failed:\n{r.stdout}\n{r.stderr}")
        cls.deb = r.stdout.strip().splitlines()[-1]
        cls.unpacked = os.path.join(cls.dist, "root")
        subprocess.run(["dpkg-deb", "-x", cls.deb, cls.unpacked], check=True, timeout=300)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dist, ignore_errors=True)

    def field(self, name):
        return run("dpkg-deb", "-f", self.deb, name).stdout.strip()

    def test_name_contents_and_control_fields(self):
        version = project_version()
        self.assertEqual(os.path.basename(self.deb), f"mirobel_{version}-1_amd64.deb")
        self.assertEqual(self.field("Version"), f"{version}-1")
        for name, value in [("Package", "mirobel"), ("Architecture", "amd64"), ("Section", "x11"),
                            ("Priority", "optional"), ("Recommends", "xscreensaver")]:
            self.assertEqual(self.field(name), value, name)

        listing = run("dpkg-deb", "-c", self.deb).stdout.splitlines()
        files = {}
        for line in listing:
            mode, owner, _size, _date, _time, path = line.split(None, 5)
            self.assertEqual(owner, "root/root", line)
            if mode.startswith("d"):
                self.assertEqual(mode, "drwxr-xr-x", line)
            else:
                files[path] = mode
        self.assertEqual(files, CONTENTS)

        # Depends is what the program loads: the package of every library
        # it needs, each named once, with nothing typed in beside them.
        depends = {d.split()[0] for d in self.field("Depends").split(",")}
        self.assertLessEqual({"libcairo2", "libfreetype6", "libjpeg62-turbo", "libx11-6", "libc6"}, depends)
        program = os.path.join(self.unpacked, HACK.lstrip("/"))
        needed = re.findall(r"\(NEEDED\)\s+Shared library: \[(.+)\]", run("readelf", "-d", program).stdout)
        owners = {}
        for line in run("ldd", program).stdout.splitlines():
            m = re.match(r"\s*(\S+) => (/\S+)", line)
            if m and m.group(1) in needed:
                # dpkg knows a library by the path its package put it at,
                # which may be the one behind /lib's link to /usr/lib.
                for path in (m.group(2), os.path.realpath(m.group(2))):
                    r = run("dpkg", "-S", path)
                    if r.returncode == 0:
                        owners[m.group(1)] = r.stdout.split(":")[0]
                        break
        self.assertEqual(sorted(owners), sorted(needed))
        self.assertEqual(depends, set(owners.values()))
        # Built with Debian's hardening (lintian only notes its absence).
        self.assertIn("BIND_NOW", run("readelf", "-d", program).stdout)
        self.assertIn("__stack_chk_fail", run("nm", "-D", program).stdout)

    def test_manual_page_copyright_and_changelog(self):
        version = project_version()
        page = os.path.join(self.unpacked, "usr/share/man/man6/mirobel.6.gz")
        shown = run("man", "-l", page, env=dict(os.environ, MANWIDTH="200", LC_ALL="C.UTF-8")).stdout
        shown = re.sub(".\b", "", shown)
        self.assertIn(f"Mirobel {version}", shown)
        self.assertRegex(shown, r"\nENVIRONMENT\n(.*\n)*\s+DISPLAY\n(.*\n)*\s+XSCREENSAVER_WINDOW\n")
        # Every option the program names in its help is on the page, and
        # every option the page lists is one the program takes.
        program = os.path.join(self.unpacked, HACK.lstrip("/"))
        usage = run(program, "-help").stdout
        helped = set(re.findall(r"(?<![\w-])-[a-z][a-z-]*", usage))
        self.assertIn("-scale", helped)
        options = shown[shown.index("\nOPTIONS\n"):shown.index("\nENVIRONMENT\n")]
        listed = set(re.findall(r"^\s+(-[a-z][a-z-]*)", options, re.M))
        self.assertLessEqual(helped, listed | {"-h"})
        for option in listed:
            value = {"-speed": "2", "-order": "ascending", "-first": "3", "-last": "4", "-scale": "150",
                     "-window-id": "0x400001", "-display": ":0", "-test-seed": "5", "-test-record": "/dev/null",
                     "-test-frames": "10", "-set": "blue", "-language": "en"}.get(option)
            r = run(program, option, *([value] if value else []), "-help")
            self.assertEqual(r.returncode, 0, f"{option}: {r.stderr}")

        # The licences in full, as the files beside the code and fonts have them.
        with open(os.path.join(self.unpacked, "usr/share/doc/mirobel/copyright")) as f:
            paragraphs = dep5_paragraphs(f.read())
        licences = {p["License"].split("\n")[0]: p["License"] for p in paragraphs[1:] if "Files" not in p}
        files = {p["Files"]: p for p in paragraphs if "Files" in p}
        self.assertEqual(set(licences), {"Expat", "OFL-1.1"})
        with open(os.path.join(Config.source, "LICENSE")) as f:
            self.assertEqual(licences["Expat"], "Expat\n" + f.read().rstrip("\n"))
        for font in ("YujiSyuku", "BIZUDMincho", "LiberationSans"):
            with open(os.path.join(Config.source, "assets", "fonts", f"{font}-OFL.txt")) as f:
                text = f.read()
            entry = files[f"assets/fonts/{font}-subset.ttf"]
            self.assertEqual(entry["License"], "OFL-1.1")
            notice = [line.rstrip() for line in text[:text.index("\n\n")].split("\n")]
            notice[0] = notice[0].removeprefix("Copyright ")
            self.assertEqual(entry["Copyright"].split("\n"), notice)
            ofl = licences["OFL-1.1"]
            self.assertEqual(ofl[ofl.index("PREAMBLE"):].split(), text[text.index("PREAMBLE"):].split())
        self.assertEqual(files["*"]["License"], "Expat")

        with gzip.open(os.path.join(self.unpacked, "usr/share/doc/mirobel/changelog.Debian.gz"), "rt") as f:
            self.assertTrue(f.readline().startswith(f"mirobel ({version}-1) "))

    def test_lintian_reports_no_errors(self):
        r = run("lintian", "--display-info", "--display-experimental", "--pedantic", self.deb, timeout=600)
        tags = [line for line in r.stdout.splitlines() if re.match(r"^[EWIPX]: ", line)]
        print("\n".join(["lintian:"] + tags), flush=True)
        self.assertFalse([t for t in tags if t.startswith("E: ")], r.stdout)
        self.assertEqual(r.returncode, 0, r.stderr)  # lintian ran, and failed on nothing

    def test_install_run_and_remove(self):
        if os.environ.get("MIROBEL_INSTALL_TESTS") != "1":
            self.skipTest("installs into this machine: runs only with MIROBEL_INSTALL_TESTS=1 (.ci/run sets it)")
        if run("dpkg-query", "-W", "-f=${Status}", "mirobel").stdout.endswith(" installed"):
            self.skipTest("mirobel is already installed on this machine; not replacing it")
        apt = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
        # A copy built from source (tools/x11/install.sh) lies where the
        # package goes: it is put back afterwards, not lost to the test.
        kept = tempfile.mkdtemp(prefix="mirobel-deb-kept-")
        before = [p[1:] for p in CONTENTS if os.path.isfile(p[1:])]
        for path in before:
            shutil.copy2(path, os.path.join(kept, path.replace("/", "_")))
        self.addCleanup(shutil.rmtree, kept, ignore_errors=True)
        for path in before:
            self.addCleanup(shutil.copy2, os.path.join(kept, path.replace("/", "_")), path)
        # The daemon is only recommended: the hack is tested without it.
        r = run("apt-get", "install", "-y", "--no-install-recommends", self.deb, env=apt, timeout=900)
        try:
            self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
            listed = run("dpkg", "-L", "mirobel").stdout.split("\n")
            listed = [p for p in listed if p and p != "/."]
            self.assertIn(HACK, listed)
            # The package's own page, whatever other copies man may find first.
            page = "/usr/share/man/man6/mirobel.6.gz"
            self.assertIn(page, listed)
            shown = run("man", "-l", page, env=dict(os.environ, MANWIDTH="200", LC_ALL="C.UTF-8")).stdout
            self.assertIn("mirobel", shown)

            # As the daemon starts it: -root, its window in XSCREENSAVER_WINDOW.
            x = XDisplay(1024, 768, HACK, Config.host)
            try:
                _, window = x.host(1024, 768)
                p = x.start("-root", "-speed", "1", env=dict(x.env, XSCREENSAVER_WINDOW=window))
                box = wait_until(lambda: (lambda b: b if b and (b[2] - b[0], b[3] - b[1]) == (400, 260) else None)(
                    cyan_box(x.screenshot())), 120, interval=0.3, what="the installed hack's card")
                self.assertIsNone(p.poll())
                print(f"installed hack shows its card at {box}", flush=True)
            finally:
                x.close()
        finally:
            removed = run("apt-get", "remove", "-y", "mirobel", env=apt, timeout=900)
        self.assertEqual(removed.returncode, 0, removed.stdout + removed.stderr)
        status = run("dpkg-query", "-W", "-f=${Status}", "mirobel").stdout.strip()
        self.assertTrue(status == "" or status.endswith(" not-installed"), f"dpkg still has it: {status}")
        for path in listed:
            if os.path.isdir(path):
                # A folder may stay only as another package's.
                self.assertEqual(run("dpkg", "-S", path).returncode, 0, f"{path} is left, and no package owns it")
            else:
                self.assertFalse(os.path.lexists(path), f"{path} is left")


if __name__ == "__main__":
    run_tests(Config, paths=("source", "build", "host"))
