"""A private virtual X display for the native program's tests."""
import os
import re
import select
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
from winebox import REAL_CONVERT, WineError, bound, parse_ppm, wait_until  # noqa: E402


class XDisplay:
    """A private Xvfb. Its root keeps Xvfb's grey weave, so that what the
    program draws outside its window would show."""

    def __init__(self, width, height, mirobel, host=None, shots=None):
        self.mirobel, self.host_program, self.shots = mirobel, host, shots
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                      f"{width}x{height}x24", "-nolisten", "tcp", "-ac", "-noreset", "-retro"],
                                     pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        try:
            number = self.read_display_number(read_end)
        except BaseException:
            # No one else will end a server that never said where it is.
            self.xvfb.kill()
            self.xvfb.wait(timeout=30)
            raise
        finally:
            os.close(read_end)
        self.display = ":" + number
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("XSCREENSAVER_WINDOW", None)
        # The show's rendering follows the locale: the tests look at the
        # Japanese one unless they ask for another.
        for name in ("LC_ALL", "LC_MESSAGES"):
            self.env.pop(name, None)
        self.env["LANG"] = "ja_JP.UTF-8"
        self.processes = []
        self.last_xwd = None
        # What the last look at the screen found wanting, for a failed wait.
        self.why = None

    def read_display_number(self, fd):
        # A server that hangs before it writes its number must not hang the
        # test: no read until something is there to read.
        number = b""
        deadline = time.monotonic() + bound(10)
        while not number.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or self.xvfb.poll() is not None:
                raise WineError("Xvfb did not start")
            if not select.select([fd], [], [], min(left, 1))[0]:
                continue
            chunk = os.read(fd, 16)
            if not chunk:
                raise WineError("Xvfb closed its display pipe")
            number += chunk
        return number.decode().strip()

    def close(self):
        for p in self.processes:
            if p.poll() is None:
                p.kill()
            p.wait(timeout=30)
            for stream in (p.stdin, p.stdout, p.stderr):
                if stream:
                    stream.close()
        self.xvfb.terminate()
        try:
            self.xvfb.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.xvfb.kill()

    def host(self, width, height):
        """A black window of the test's own; returns (process, window id)."""
        p = subprocess.Popen([self.host_program, str(width), str(height)], env=self.env, stdin=subprocess.PIPE,
                             stdout=subprocess.PIPE, text=True)
        self.processes.append(p)
        return p, self.reply(p)

    def reply(self, host, seconds=10):
        """The host's next line (it answers each command with one)."""
        if not select.select([host.stdout], [], [], bound(seconds))[0]:
            raise WineError(f"no answer from the host window within {bound(seconds)}s")
        return host.stdout.readline().strip()

    def start(self, *args, env=None):
        p = subprocess.Popen([self.mirobel, *args], env=env or self.env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE)
        self.processes.append(p)
        return p

    def screenshot(self, name=None):
        xwd = subprocess.run(["xwd", "-root", "-display", self.display, "-silent"], capture_output=True,
                             check=True, timeout=60).stdout
        ppm = subprocess.run([REAL_CONVERT, "xwd:-", "ppm:-"], input=xwd, capture_output=True, check=True,
                             timeout=60).stdout
        self.last_xwd = xwd
        if name:
            self.save_last(name)
        return parse_ppm(ppm)

    def save_last(self, name):
        """Keeps the last screenshot as a PNG for people to look at."""
        if self.shots:
            os.makedirs(self.shots, exist_ok=True)
            subprocess.run([REAL_CONVERT, "xwd:-", os.path.join(self.shots, name)], input=self.last_xwd,
                           check=True, timeout=60)

    def wait_for(self, condition, timeout, what, interval=0.05):
        """wait_until for a condition that looks at screenshots. A wait that
        times out keeps the last screenshot the condition saw, since the
        screen has moved on by the time anyone reads the failure."""
        self.why = None
        looks = 0

        def counted():
            nonlocal looks
            looks += 1
            return condition()
        try:
            return wait_until(counted, timeout, interval=interval, what=what)
        except WineError as e:
            kept = self.keep_timed_out(what)
            why = f", the last found {self.why}" if self.why else ""
            raise WineError(f"{e} ({looks} looks{why}); {kept}") from None

    def keep_timed_out(self, what):
        if not self.shots:
            return "no screenshot kept (no folder for screenshots given)"
        if self.last_xwd is None:
            self.screenshot()
        name = "timed-out-" + re.sub(r"[^a-z0-9]+", "-", what.lower()).strip("-") + \
            time.strftime("-%Y%m%d-%H%M%S.png")
        self.save_last(name)
        path = os.path.join(self.shots, name)
        print(f"kept the last screenshot of the failed wait: {path}", file=sys.stderr)
        return f"the last screenshot is {path}"
