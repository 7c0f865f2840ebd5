"""A private Wine session on a private virtual display, for tests.

WineBox starts Xvfb on a free display, uses a Wine prefix inside the build
folder (initialised once, under a lock), keeps a wineserver running while the
box is open, and always tears everything down on exit, also when a test
fails. It offers the operations the end-to-end tests need: start the program,
look at windows through the probe tool, screenshots and pixels, mouse and
keys through xdotool, and the registry through `wine reg`.
"""
import fcntl
import re
import os
import shutil
import signal
import subprocess
import tempfile
import time

REAL_CONVERT = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"


class WineError(RuntimeError):
    pass


# Every bound a test names is what a quiet machine needs; CI runs on two
# cores with other work beside it, where starting a Wine process alone can
# take seconds. Bounds only cap a wait, so a wide one costs a passing test
# nothing.
PATIENCE = 3


def bound(seconds):
    """The bound to use for a wait that takes `seconds` on a quiet machine."""
    return seconds * PATIENCE


def wait_until(condition, timeout, interval=0.05, what="condition"):
    """Polls condition() until it returns something truthy; bounded."""
    timeout = bound(timeout)
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise WineError(f"timed out after {timeout}s waiting for {what}")
        time.sleep(interval)


class Image:
    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def count(self, colour, box=None):
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        n = 0
        for y in range(y0, y1):
            row = self.rgb[(y * self.width + x0) * 3:(y * self.width + x1) * 3]
            for i in range(0, len(row), 3):
                if tuple(row[i:i + 3]) == colour:
                    n += 1
        return n


def parse_ppm(data):
    # P6 header: magic, width, height, maxval, each separated by whitespace.
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    if fields[0] != b"P6":
        raise WineError("not a binary PPM")
    width, height = int(fields[1]), int(fields[2])
    return Image(width, height, data[pos + 1:pos + 1 + width * height * 3])


class WineBox:
    def __init__(self, build_dir, width=1024, height=768, host_fonts=True, more_screens=(), dpi=None,
                 placed_monitors=(), interface="en"):
        """host_fonts=False hides every font of the host from Wine (an empty
        fontconfig set-up and a prefix of its own), as on a machine without
        any Japanese font. more_screens, a list of (width, height), adds
        screens joined by Xinerama, which Wine reports as further monitors
        (Xvfb puts every screen at the origin). dpi is the display scaling the
        box's prefix has (LogPixels; Wine reports it to every program); None
        is the standard 96, or MIROBEL_DPI when that is set.
        placed_monitors, a list of (width, height, left, top) with the
        primary first, runs Xorg's dummy driver instead of Xvfb: its RandR
        outputs lie where they are placed, and Wine sees them there, as real
        monitors (negative positions are taken relative to the left- and
        topmost one).
        interface is the language of the desktop's interface: "en" English,
        "ja" Japanese (Wine takes it from LANG, when that locale exists: it
        is made for the build with localedef, nothing is installed)."""
        self.build_dir = os.path.abspath(build_dir)
        self.width, self.height = width, height
        self.more_screens = list(more_screens)
        self.placed_monitors = list(placed_monitors)
        self.host_fonts = host_fonts
        self.interface = interface
        if dpi is None and os.environ.get("MIROBEL_DPI"):
            dpi = int(os.environ["MIROBEL_DPI"])
        self.dpi = dpi if dpi and dpi != 96 else None
        # Booted once per build (under a lock) and cloned into each box, so
        # that no test pays for a boot and none sees what another left.
        self.template = os.path.join(self.build_dir, "wineprefix" if host_fonts else "wineprefix-nofonts")
        self.prefix = None
        self.processes = []
        self.xvfb = None
        self.tmp = None
        self.env = None

    # --- lifetime -----------------------------------------------------
    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _start(self):
        self.tmp = tempfile.mkdtemp(prefix="mirobel-wine-")
        read_end, write_end = os.pipe()
        screens = ["-screen", "0", f"{self.width}x{self.height}x24"]
        for n, (w, h) in enumerate(self.more_screens, start=1):
            screens += ["-screen", str(n), f"{w}x{h}x24"]
        if self.more_screens:
            screens += ["+xinerama", "-extension", "RANDR"]
        if self.placed_monitors:
            command = self._xorg_command(write_end)
        else:
            command = ["Xvfb", "-displayfd", str(write_end), *screens, "-nolisten", "tcp", "-ac", "-noreset"]
        self.xvfb = subprocess.Popen(command, pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + bound(20)
        while not number.endswith(b"\n"):
            if time.monotonic() > deadline or self.xvfb.poll() is not None:
                raise WineError("Xvfb did not start")
            chunk = os.read(read_end, 16)
            if not chunk:
                raise WineError("Xvfb closed its display pipe")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        if self.placed_monitors:
            self.place_monitors()
        env = dict(os.environ)
        env.update({
            "DISPLAY": self.display,
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "WINEARCH": "win64",
            # Captions and arguments in Japanese must survive the trip
            # between the tests and Wine.
            "LANG": "C.UTF-8",
        })
        if not self.host_fonts:
            config = os.path.join(self.tmp, "fonts.conf")
            with open(config, "w") as f:
                f.write(f"<fontconfig><cachedir>{self.tmp}/fontcache</cachedir></fontconfig>\n")
            env["FONTCONFIG_FILE"] = config
        self._ensure_template(env)
        self.prefix = os.path.join(self.tmp, "prefix")
        clone_prefix(self.template, self.prefix)
        env["WINEPREFIX"] = self.prefix
        if self.interface == "ja":
            # The template is booted in English whatever the box speaks; the
            # box's own server starts below, in its language.
            env.update({"LOCPATH": japanese_locale(self.build_dir), "LANG": "ja_JP.UTF-8"})
        self.env = env
        if self.dpi:
            self._set_dpi()
        # A persistent server keeps every later wine command quick.
        subprocess.run(["wineserver", "-p"], env=self.env, check=False, timeout=60)

    def _xorg_command(self, display_fd):
        """Xorg with the dummy driver, on a free display, with a
        configuration of its own (none of the machine's is read)."""
        config = os.path.join(self.tmp, "xorg.conf")
        with open(config, "w") as f:
            f.write('Section "Device"\n Identifier "dummy"\n Driver "dummy"\n VideoRam 256000\nEndSection\n'
                    'Section "Monitor"\n Identifier "monitor"\n HorizSync 5.0-1000.0\n VertRefresh 5.0-200.0\n'
                    'EndSection\n'
                    'Section "Screen"\n Identifier "screen"\n Device "dummy"\n Monitor "monitor"\n'
                    ' DefaultDepth 24\n SubSection "Display"\n  Depth 24\n  Virtual 4096 2160\n EndSubSection\n'
                    'EndSection\n')
        configdir = os.path.join(self.tmp, "xorg.conf.d")
        os.makedirs(configdir, exist_ok=True)
        return ["Xorg", "-displayfd", str(display_fd), "-config", config, "-configdir", configdir, "-noreset",
                "-nolisten", "tcp", "-ac", "-logfile", os.path.join(self.tmp, "xorg.log")]

    def place_monitors(self):
        """Gives output DUMMYk the k-th monitor's mode and place. The first
        is the primary one; X positions cannot be negative, so everything is
        shifted until the left- and topmost monitor is at 0, and Windows
        then puts the primary at the origin again."""
        left = min(m[2] for m in self.placed_monitors)
        top = min(m[3] for m in self.placed_monitors)
        xrandr = ["xrandr", "-d", self.display]
        for k, (w, h, _, _) in enumerate(self.placed_monitors):
            subprocess.run(xrandr + ["--newmode", f"m{w}x{h}", "60", str(w), str(w + 8), str(w + 16), str(w + 24),
                                     str(h), str(h + 1), str(h + 2), str(h + 3)],
                           check=False, timeout=60, capture_output=True)
            # Both fail harmlessly when the monitors are placed again.
            subprocess.run(xrandr + ["--addmode", f"DUMMY{k}", f"m{w}x{h}"], check=False, timeout=60,
                           capture_output=True)
        outputs = []
        for k, (w, h, x, y) in enumerate(self.placed_monitors):
            outputs += ["--output", f"DUMMY{k}", "--mode", f"m{w}x{h}", "--pos", f"{x - left}x{y - top}"]
            if k == 0:
                outputs.append("--primary")
        subprocess.run(xrandr + outputs, check=True, timeout=60, capture_output=True)
        # Wine takes the monitors from the X server once, as its first
        # process starts: the server must report them all by then.
        wanted = f"Monitors: {len(self.placed_monitors)}"
        wait_until(lambda: wanted in subprocess.run(xrandr + ["--listmonitors"], capture_output=True, text=True,
                                                    timeout=60).stdout, 20, interval=0.2, what="the placed monitors")

    def _ensure_template(self, env):
        os.makedirs(self.build_dir, exist_ok=True)
        env = dict(env, WINEPREFIX=self.template)
        marker = os.path.join(self.template, ".mirobel-ready-4")
        with open(self.template + ".lock", "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if os.path.exists(marker):
                return
            self._boot_template(env)
            # No window manager runs on the virtual display. Wine would treat
            # full-screen and active windows as managed and wait two seconds
            # for a manager to acknowledge every hide; unmanaged, they behave
            # as on Windows.
            subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
                            "/d", "N", "/f"], env=env, check=True, timeout=bound(120),
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if self.host_fonts:
                legible_wine_ui(env, self.template)
            # The first window a prefix opens builds its desktop and font
            # lists; that belongs to the preparation, not to a test's bound.
            probe = os.path.join(self.build_dir, "probe.exe")
            if os.path.exists(probe):
                subprocess.run(["wine", probe, "count", "warm-up"], env=env, check=False, timeout=bound(300),
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            subprocess.run(["wineserver", "-w"], env=env, check=False, timeout=bound(300))
            with open(marker, "w") as f:
                f.write("ready\n")

    def _boot_template(self, env, attempts=3):
        """Boots a fresh prefix. A boot that fails is tried again from
        nothing: once, on CI, the first Wine process in a new prefix ended
        at once with exit 53 (a DLL not found), and the same boot from the
        same clone passed on the same machine minutes later. What Wine
        printed is kept, so that a boot that keeps failing says why."""
        log = self.template + ".boot.log"
        for attempt in range(1, attempts + 1):
            shutil.rmtree(self.template, ignore_errors=True)
            with open(log, "w") as out:
                r = subprocess.run(["wineboot", "-i"], env=dict(env, WINEDEBUG="err+all"), timeout=bound(300),
                                   stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT)
            if r.returncode == 0:
                return
            with open(log, errors="replace") as f:
                said = f.read()[-3000:]
            print(f"wineboot -i failed (exit {r.returncode}, attempt {attempt} of {attempts}); Wine said:\n{said}",
                  flush=True)
            subprocess.run(["wineserver", "-k"], env=env, check=False, timeout=60,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(attempt * 5)
        raise WineError(f"no prefix could be booted in {attempts} attempts: see {log}")

    def _set_dpi(self):
        """Writes LogPixels into the box's own prefix before anything runs
        there; the registry reaches the prefix's files when its server
        ends, and the programs started later read it from there."""
        subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                        "/d", str(self.dpi), "/f"], env=self.env, check=True, timeout=bound(120),
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, check=False, timeout=bound(300))

    def close(self):
        for p in self.processes:
            if p.poll() is None:
                p.kill()
        if self.env:
            subprocess.run(["wineserver", "-k"], env=self.env, check=False, timeout=60,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for p in self.processes:
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass
        if self.xvfb and self.xvfb.poll() is None:
            self.xvfb.send_signal(signal.SIGTERM)
            try:
                self.xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
        if self.tmp:
            shutil.rmtree(self.tmp, ignore_errors=True)

    # --- processes ----------------------------------------------------
    def start(self, program, *args):
        """Starts a Windows program; returns the Popen of its wine process."""
        p = subprocess.Popen(["wine", program, *args], env=self.env, stdin=subprocess.DEVNULL,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(p)
        return p

    def wine_capture(self, args, timeout):
        """Runs wine with its output in files, not pipes: Wine's own helper
        processes inherit the descriptors and would hold a pipe open long
        after the program has ended. Wine's loader now and then fails to
        start a program at all ("could not be started", or "could not load"
        one of its own DLLs, exit 53); such a start is tried again."""
        for attempt in range(4):
            r = self._wine_capture_once(args, timeout)
            said = r.stdout + r.stderr
            started = b"could not be started" not in said and b"could not load" not in said
            if started or attempt == 3:
                return r
            time.sleep(0.5)

    def _wine_capture_once(self, args, timeout):
        with tempfile.TemporaryFile(dir=self.tmp) as out, tempfile.TemporaryFile(dir=self.tmp) as err:
            p = subprocess.Popen(["wine", *args], env=self.env, stdout=out, stderr=err,
                                 stdin=subprocess.DEVNULL)
            try:
                p.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()
                raise
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(p.args, p.returncode, out.read(), err.read())

    def run(self, program, *args, timeout=120, check=True):
        r = self.wine_capture([program, *args], timeout)
        if check and r.returncode != 0:
            raise WineError(f"{program} {args} exited {r.returncode}: {r.stdout!r} {r.stderr!r}")
        return r

    # --- windows through the probe ------------------------------------
    def set_probe(self, probe):
        self.probe_exe = probe

    def probe(self, *args, timeout=bound(60)):
        r = self.wine_capture([self.probe_exe, *args], timeout)
        return r.returncode, r.stdout.decode("utf-8", "replace")

    @staticmethod
    def parse_window(line):
        head, _, text = line.partition(" text=")
        info = dict(field.split("=", 1) for field in head.split())
        for key in ("hwnd", "visible", "style", "exstyle", "left", "top", "width", "height", "cw", "ch",
                    "pid", "parent"):
            info[key] = int(info[key])
        info["text"] = text.replace("\\r", "\r").replace("\\n", "\n").replace("\\\\", "\\")
        return info

    def find(self, caption):
        code, out = self.probe("find", caption)
        return self.parse_window(out.strip()) if code == 0 else None

    def count(self, caption):
        _, out = self.probe("count", caption)
        return int(out.strip().split("=")[1])

    def wait_window(self, caption, timeout=30):
        timeout = bound(timeout)
        code, out = self.probe("wait", caption, str(int(timeout * 1000)), timeout=timeout + 60)
        if code != 0:
            raise WineError(f"no window {caption!r} within {timeout}s")
        return self.parse_window(out.strip())

    def wait_gone(self, caption, timeout=30):
        timeout = bound(timeout)
        code, _ = self.probe("gone", caption, str(int(timeout * 1000)), timeout=timeout + 60)
        if code != 0:
            raise WineError(f"window {caption!r} still there after {timeout}s")

    def children(self, hwnd):
        # Every window the tests ask about has controls; an empty answer has
        # been seen once under load, so it is asked again a few times.
        for attempt in range(4):
            _, out = self.probe("children", str(hwnd))
            found = [self.parse_window(line) for line in out.splitlines() if line.startswith("hwnd=")]
            if found or attempt == 3:
                return found
            time.sleep(0.25)

    def box_text(self, hwnd):
        _, out = self.probe("text", str(hwnd))
        return [line.replace("\\r", "\r").replace("\\n", "\n").replace("\\\\", "\\") for line in out.splitlines()]

    def press(self, hwnd, button_text):
        # The probe always says what it did; under load it has once failed
        # with nothing said (a button that was on the dialog a moment
        # before), so such a run is tried again, and a failure says how the
        # probe ended.
        for attempt in range(3):
            r = self.wine_capture([self.probe_exe, "press", str(hwnd), button_text], bound(60))
            out = r.stdout.decode("utf-8", "replace")
            if r.returncode == 0 or out.strip():
                break
            time.sleep(0.5)
        if r.returncode != 0:
            raise WineError(f"no button {button_text!r}: exit {r.returncode}, {out!r}, {r.stderr[-500:]!r}")

    def close_window(self, hwnd):
        self.probe("close", str(hwnd))

    def wait_window_where(self, caption, predicate, timeout=30, what="window state"):
        """Polls the window until predicate(info) holds; returns the info."""
        def check():
            info = self.find(caption)
            return info if info and predicate(info) else None
        return wait_until(check, timeout, interval=0.02, what=f"{caption}: {what}")

    def monitors(self):
        """The monitors Wine reports, as dicts of left, top, right, bottom
        and primary."""
        _, out = self.probe("monitors")
        found = []
        for line in out.splitlines():
            if line.startswith("monitor "):
                found.append({k: int(v) for k, v in (f.split("=") for f in line.split()[1:])})
        return found

    def windows_of(self, pid):
        """Every top-level window of a process."""
        _, out = self.probe("windows", str(pid))
        return [self.parse_window(line) for line in out.splitlines() if line.startswith("hwnd=")]

    def take_foreground(self, ms):
        """A window of another process takes the foreground and the focus for
        ms milliseconds and is then destroyed; returns whether it really was
        the foreground window."""
        code, out = self.probe("foreground", str(int(ms)), timeout=ms / 1000 + 60)
        return code == 0 and "foreground=1" in out

    def launch(self, command_line):
        """Starts a process with exactly this Windows command line."""
        code, out = self.probe("launch", command_line.encode("utf-8").hex())
        if code != 0:
            raise WineError(f"launch failed: {out}")
        return int(out.strip().split("=")[1])

    # --- screen, mouse, keys --------------------------------------------
    def screenshot(self, png_path=None):
        xwd = subprocess.run(["xwd", "-root", "-display", self.display, "-silent"], capture_output=True,
                             check=True, timeout=60).stdout
        ppm = subprocess.run([REAL_CONVERT, "xwd:-", "ppm:-"], input=xwd, capture_output=True, check=True,
                             timeout=60).stdout
        if png_path:
            subprocess.run([REAL_CONVERT, "xwd:-", png_path], input=xwd, check=True, timeout=60)
        return parse_ppm(ppm)

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True, timeout=30)

    # --- registry -------------------------------------------------------
    def reg(self, *args, check=True):
        r = self.wine_capture(["reg", *args], 60)
        if check and r.returncode != 0:
            raise WineError(f"reg {args} exited {r.returncode}: {r.stdout!r} {r.stderr!r}")
        return r

    def reg_query(self, key, value):
        """(type, data) of a value, or None when it does not exist."""
        r = self.reg("query", key, "/v", value, check=False)
        if r.returncode != 0:
            return None
        for line in r.stdout.decode("utf-8", "replace").splitlines():
            m = re.match(r"^\s+(.*?)\s+(REG_\w+)\s?(.*)$", line.rstrip("\r"))
            if m and m.group(1) == value:
                return m.group(2), m.group(3)
        return None

    def reg_set(self, key, value, data):
        self.reg("add", key, "/v", value, "/t", "REG_SZ", "/d", data, "/f")

    def reg_delete_key(self, key):
        self.reg("delete", key, "/f", check=False)


UI_JAPANESE_FONT = "/usr/share/fonts/truetype/bizud-mincho/BIZUDMincho-Regular.ttf"
WINE_FONTS = "/usr/share/wine/fonts"


def legible_wine_ui(env, prefix):
    """Wine draws captions, menus and message boxes in its own UI font, which
    has no Japanese: they would show empty boxes where Windows shows the
    system's Japanese UI font. The UI font is linked to BIZ UD Mincho (Debian
    package fonts-morisawa-bizud-mincho), and Wine's UI fonts (fonts-wine)
    are put where this Wine finds them, in the prefix's font folder."""
    fonts = os.path.join(prefix, "drive_c", "windows", "Fonts")
    os.makedirs(fonts, exist_ok=True)
    for name in ("marlett.ttf", "tahoma.ttf", "tahomabd.ttf"):
        if os.path.exists(os.path.join(WINE_FONTS, name)):
            shutil.copy(os.path.join(WINE_FONTS, name), fonts)
    if not os.path.exists(UI_JAPANESE_FONT):
        return
    for face in ("Tahoma", "Tahoma Bold"):
        subprocess.run(["wine", "reg", "add", r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink",
                        "/v", face, "/t", "REG_MULTI_SZ", "/d", "BIZUDMincho-Regular.ttf,BIZ UDMincho", "/f"],
                       env=env, check=True, timeout=bound(120), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def japanese_locale(build_dir):
    """A folder for LOCPATH holding ja_JP.UTF-8, made once per build."""
    path = os.path.join(build_dir, "locale")
    made = os.path.join(path, "ja_JP.UTF-8", "LC_CTYPE")
    os.makedirs(path, exist_ok=True)
    with open(path + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not os.path.exists(made):
            r = subprocess.run(["localedef", "-i", "ja_JP", "-f", "UTF-8", os.path.join(path, "ja_JP.UTF-8")],
                               capture_output=True, text=True, timeout=bound(300))
            if not os.path.exists(made):
                raise WineError(f"localedef made no ja_JP.UTF-8 (exit {r.returncode}): {r.stderr[-2000:]}")
    return path


def clone_prefix(template, dest):
    """A private copy of a prepared prefix, made in a moment: the Windows
    folder (hundreds of megabytes that Wine only reads) is hard-linked, every
    other file is copied, since Wine rewrites the registry files, the ini
    files and the user folders in place or beside them."""
    subprocess.run(["cp", "-al", template, dest], check=True, timeout=bound(60))
    windows = os.path.join(dest, "drive_c", "windows")
    for root, dirs, files in os.walk(dest):
        if root == windows:
            dirs[:] = []  # its subfolders stay linked
        for name in files:
            path = os.path.join(root, name)
            if os.path.islink(path):
                continue
            copy = path + ".mirobel-copy"
            shutil.copy2(path, copy)
            os.replace(copy, path)


def windows_path(unix_path):
    """The path under which Wine's Z: drive shows a host file."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")
