"""The preview started by a host window of another process, as the display
settings start it. Wine does not draw a child window that belongs to another
process, so these tests look at window state; tests/win32/PreviewTest.cpp
reads the drawing in its own process."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
from e2e import WS_BORDER, WS_CAPTION, WS_CHILD, WS_THICKFRAME, WS_VISIBLE, Config, WineTestCase, main  # noqa: E402
from winebox import bound, wait_until, windows_path  # noqa: E402

PREVIEW = "preview window"
HOST_W, HOST_H = 152, 112


class Preview(WineTestCase):
    def host_exe(self):
        return os.path.join(Config.build, "host.exe")

    def start_host(self, caption, x, y):
        """Starts a host window that starts the preview into itself; returns
        the host's wine process and the host, preview and picture windows."""
        p = self.box.start(self.host_exe(), windows_path(Config.scr), caption, str(x), str(y))
        host = self.box.wait_window(caption, 30)
        preview, picture = self.settled(host, caption)
        # A failed test must not leave the saver running for the next one.
        self.addCleanup(self.box.probe, "kill", str(preview["pid"]))
        return p, host, preview, picture

    def settled(self, host, caption):
        """The preview and its picture once they have stopped changing: shown
        (WS_VISIBLE in the style, not only in the probe's view), and read the
        same twice in a row. A first look may catch them half set up."""
        last = [None]

        def steady():
            now = self.embedded(host)
            if not now or not all(w["style"] & WS_VISIBLE for w in now):
                last[0] = None
                return None
            same = now == last[0]
            last[0] = now
            return now if same else None
        return wait_until(steady, 30, interval=0.3, what=f"a settled preview in {caption}")

    def embedded(self, host):
        kids = self.box.children(host["hwnd"])
        previews = [k for k in kids if k["text"] == PREVIEW]
        if not previews or not previews[0]["visible"]:
            return None
        pictures = [k for k in kids if k["parent"] == previews[0]["hwnd"]]
        if not pictures or not pictures[0]["visible"]:
            return None
        return previews[0], pictures[0]

    def saver_running(self, pid, ms=0):
        """True while the process runs; waits up to ms for it to end."""
        r = self.box.run(self.host_exe(), "wait", str(pid), str(ms), check=False, timeout=ms / 1000 + 60)
        return r.returncode == 1

    def test_preview_is_a_visible_child_that_covers_the_host(self):
        p, host, preview, picture = self.start_host("host A", 60, 80)
        self.assertEqual((host["width"], host["height"]), (HOST_W, HOST_H))
        self.assertEqual(preview["parent"], host["hwnd"])
        self.assertNotEqual(preview["pid"], host["pid"])
        self.assertTrue(preview["style"] & WS_CHILD)
        self.assertFalse(preview["style"] & (WS_CAPTION | WS_BORDER | WS_THICKFRAME))
        # At (0, 0) of the host, its whole size; the picture likewise.
        self.assertEqual((preview["left"], preview["top"]), (host["left"], host["top"]))
        self.assertEqual((preview["width"], preview["height"]), (HOST_W, HOST_H))
        self.assertEqual((picture["left"], picture["top"]), (host["left"], host["top"]))
        self.assertEqual((picture["cw"], picture["ch"]), (HOST_W, HOST_H))
        # It is no top-level window of its own.
        self.assertIsNone(self.box.find(PREVIEW))
        self.box.close_window(host["hwnd"])
        p.wait(timeout=bound(30))

    def test_closing_the_host_ends_the_saver(self):
        p, host, preview, _ = self.start_host("host A", 60, 80)
        t0 = time.monotonic()
        self.box.close_window(host["hwnd"])
        # The host exits with 0 only once the saver's process has ended.
        p.wait(timeout=bound(30))
        print(f"host closed: host and saver gone after {time.monotonic() - t0:.2f}s", file=sys.stderr)
        self.assertEqual(p.returncode, 0)
        self.assertFalse(self.saver_running(preview["pid"]))

    def test_a_host_that_dies_without_destroying_its_window_ends_the_saver(self):
        p, host, preview, _ = self.start_host("host A", 60, 80)
        self.assertTrue(self.saver_running(preview["pid"]))
        t0 = time.monotonic()
        self.box.probe("kill", str(host["pid"]))
        p.wait(timeout=bound(30))
        self.assertFalse(self.saver_running(preview["pid"], 10000), "the saver outlived its host")
        print(f"host killed: saver gone after {time.monotonic() - t0:.2f}s", file=sys.stderr)

    def test_two_previews_run_side_by_side(self):
        pa, host_a, preview_a, _ = self.start_host("host A", 40, 80)
        pb, host_b, preview_b, _ = self.start_host("host B", 400, 80)
        self.assertNotEqual(preview_a["pid"], preview_b["pid"])
        # The first is still there after the second came.
        preview_a, _ = self.embedded(self.box.find("host A"))
        self.assertEqual((preview_a["left"], preview_a["width"]), (40, HOST_W))
        self.assertEqual((preview_b["left"], preview_b["width"]), (400, HOST_W))
        # Each ends with its own host.
        self.box.close_window(host_a["hwnd"])
        pa.wait(timeout=bound(30))
        self.assertEqual(pa.returncode, 0)
        self.assertTrue(self.saver_running(preview_b["pid"]))
        self.box.close_window(host_b["hwnd"])
        pb.wait(timeout=bound(30))
        self.assertEqual(pb.returncode, 0)

    def test_mouse_and_keys_over_the_preview_change_nothing(self):
        p, host, preview, picture = self.start_host("host A", 60, 80)
        cx, cy = host["left"] + HOST_W // 2, host["top"] + HOST_H // 2
        self.box.xdotool("mousemove", str(cx), str(cy))
        self.box.xdotool("mousemove", str(cx + 20), str(cy + 10))
        self.box.xdotool("click", "1")
        self.box.xdotool("click", "3")
        self.box.xdotool("key", "a", "shift", "Escape", "Return")
        time.sleep(1.0)
        self.assertTrue(self.saver_running(preview["pid"]))
        after, picture_after = self.embedded(self.box.find("host A"))
        for key in ("hwnd", "left", "top", "width", "height", "style", "parent"):
            self.assertEqual(after[key], preview[key], key)
            self.assertEqual(picture_after[key], picture[key], key)
        for caption in ("SAVER Screen", "Saver Setting"):
            self.assertIsNone(self.box.find(caption), caption)
        self.box.close_window(host["hwnd"])
        p.wait(timeout=bound(30))
        self.assertEqual(p.returncode, 0)

    def test_a_handle_that_names_no_window_ends_the_process_at_once(self):
        # A handle that did name a window, of a host that has gone since.
        p, host, _, _ = self.start_host("host A", 60, 80)
        self.box.close_window(host["hwnd"])
        p.wait(timeout=bound(30))
        for args in (["/p", "0"], ["/p"], ["/p", str(host["hwnd"])], ["/P", str(host["hwnd"])]):
            with self.subTest(args=args):
                t0 = time.monotonic()
                saver = self.start(*args)
                saver.wait(timeout=bound(30))
                print(f"{args}: ended after {time.monotonic() - t0:.2f}s", file=sys.stderr)
                self.assertEqual(saver.returncode, 0)
                self.assertIsNone(self.box.find(PREVIEW))


if __name__ == "__main__":
    main()
