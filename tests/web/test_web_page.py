"""The web page in Debian's Chromium, driven by puppeteer-core: it runs the
same show as the native program (the same frame record, the same card
where the cairo frame has it), loads from its folder alone, takes its
settings from the query and draws at the device's pixel ratio."""
import base64
import functools
import http.server
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "harness"))
sys.path.insert(0, os.path.join(HERE, "..", "x11"))
from script_args import run_tests  # noqa: E402
from winebox import Image  # noqa: E402
from xdisplay import XDisplay  # noqa: E402


class Config:
    page = mirobel = shots = None


DARK_CYAN, WHITE, BLACK = (0, 128, 128), (255, 255, 255), (0, 0, 0)
CARD_W, CARD_H = 400, 260
PANEL = (15, 15, 385, 245)
PORTRAIT = (58, 41, 184, 221)
FRAMES = 1500
# The native program's locale for each language the record tests compare.
LOCALES = {"ja": "ja_JP.UTF-8", "en": "en_GB.UTF-8"}


def browse(**job):
    r = subprocess.run(["node", os.path.join(HERE, "browser.js"), json.dumps(job)], capture_output=True, text=True,
                       timeout=600, cwd=HERE)
    if r.returncode != 0:
        raise AssertionError(f"the browser run failed: {r.stderr[-2000:]}")
    out = json.loads(r.stdout)
    if "pixels" in out:
        rgba = base64.b64decode(out["pixels"])
        rgb = bytearray(len(rgba) // 4 * 3)
        for c in range(3):
            rgb[c::3] = rgba[c::4]
        out["image"] = Image(out["canvas"]["width"], out["canvas"]["height"], bytes(rgb))
    return out


def file_url(folder, query=""):
    return "file://" + os.path.join(folder, "index.html") + query


def card_model(x, y):
    """The card's colour where no text or portrait is: the dark cyan card,
    the white panel and its one-pixel black outline."""
    left, top, right, bottom = PANEL
    if left <= x < right and top <= y < bottom:
        return BLACK if x in (left, right - 1) or y in (top, bottom - 1) else WHITE
    return DARK_CYAN


def ink(image, cx, cy, far=100):
    """Pixels of the card at (cx, cy) that are text: more than `far` from
    the card's own colour there (the portrait left out)."""
    found = set()
    for y in range(CARD_H):
        for x in range(CARD_W):
            if PORTRAIT[0] <= x < PORTRAIT[2] and PORTRAIT[1] <= y < PORTRAIT[3]:
                continue
            p, m = image.pixel(cx + x, cy + y), card_model(x, y)
            if max(abs(a - b) for a, b in zip(p, m)) > far:
                found.add((x, y))
    return found


def near(points, r):
    return {(x + dx, y + dy) for x, y in points for dx in range(-r, r + 1) for dy in range(-r, r + 1)}


def blobs(points, r):
    """Groups of points within r of each other: a glyph or a run of them."""
    left, groups = set(points), []
    while left:
        seed = left.pop()
        group, todo = {seed}, [seed]
        while todo:
            x, y = todo.pop()
            for dx in range(-r, r + 1):
                for dy in range(-r, r + 1):
                    q = (x + dx, y + dy)
                    if q in left:
                        left.remove(q)
                        group.add(q)
                        todo.append(q)
        groups.append(group)
    return groups


def centre_offset(cairo, web, cx, cy, blob, margin=3):
    """How far apart the centres of the two frames' ink are around a blob."""
    xs, ys = [x for x, _ in blob], [y for _, y in blob]
    centres = []
    for image in (cairo, web):
        sx = sy = total = 0
        for y in range(max(0, min(ys) - margin), min(CARD_H, max(ys) + margin + 1)):
            for x in range(max(0, min(xs) - margin), min(CARD_W, max(xs) + margin + 1)):
                if PORTRAIT[0] <= x < PORTRAIT[2] and PORTRAIT[1] <= y < PORTRAIT[3]:
                    continue
                d = max(abs(a - b) for a, b in zip(image.pixel(cx + x, cy + y), card_model(x, y)))
                sx, sy, total = sx + d * x, sy + d * y, total + d
        centres.append((sx / max(total, 1), sy / max(total, 1)))
    (x1, y1), (x2, y2) = centres
    return max(abs(x1 - x2), abs(y1 - y2))


def last_frame(record):
    line = [l for l in record if l.startswith("frame ")][-1].split()
    return int(line[2]), int(line[3]), int(line[4]), int(line[6])


class WebPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        for need in (os.path.join(Config.page, "mirobel.js"), os.path.join(HERE, "node_modules", "puppeteer-core")):
            if not os.path.exists(need):
                raise AssertionError(f"missing {need}: run tools/setup-debian.sh and tools/build.sh")

    def native_run(self, width, height, seed, order="random", first=1, last=100, shot=False, lang="ja"):
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, "native.txt")
            x = XDisplay(width, height, Config.mirobel, shots=Config.shots)
            try:
                r = subprocess.run([Config.mirobel, "-root", "-speed", "1", "-order", order, "-first", str(first),
                                    "-last", str(last), "-test-seed", str(seed), "-test-record", out,
                                    "-test-frames", str(FRAMES)], env=dict(x.env, LANG=LOCALES[lang]),
                                   capture_output=True, text=True, timeout=600)
                self.assertEqual(r.returncode, 0, r.stderr)
                # The root keeps the last frame after the program has gone.
                image = x.screenshot("native-last-frame.png") if shot else None
            finally:
                x.close()
            with open(out) as f:
                return [l.rstrip("\n") for l in f], image

    def test_frame_record_and_card_pixels_equal_the_native_show(self):
        # The English show, each following its own locale, paces its cards by the measured width of
        # its rendering: the two platforms' text must measure alike.
        cases = [(1280, 720, 7, "random", 1, 100, "ja"), (1024, 768, 3, "descending", 10, 20, "ja"),
                 (800, 600, 4, "ascending", 40, 45, "en")]
        for width, height, seed, order, first, last, lang in cases:
            with self.subTest(size=(width, height), seed=seed, lang=lang):
                pixels = width == 1280
                native, cairo = self.native_run(width, height, seed, order, first, last, shot=pixels, lang=lang)
                shot = os.path.join(Config.shots, "web-last-frame.png") if pixels and Config.shots else None
                if shot:
                    os.makedirs(Config.shots, exist_ok=True)
                web = browse(url=file_url(Config.page, f"?seed={seed}&speed=1&order={order}&first={first}"
                                                       f"&last={last}&record={FRAMES}"),
                             width=width, height=height, wait="recorded", pixels=pixels, screenshot=shot,
                             lang={"ja": "ja", "en": "en-GB"}[lang])
                record = web["record"].splitlines()
                self.assertEqual(len([l for l in native if l.startswith("frame ")]), FRAMES)
                self.assertGreaterEqual(len([l for l in native if l.startswith("card ")]), 3)
                for n, (a, b) in enumerate(zip(native, record)):
                    if a != b:
                        self.fail(f"line {n} differs: native {a!r}, web {b!r}")
                self.assertEqual(len(native), len(record))
                if pixels:
                    self.compare_last_frames(cairo, web["image"], last_frame(native))

    def compare_last_frames(self, cairo, web, frame):
        cx, cy, poem, phase = frame
        self.assertEqual((web.width, web.height), (cairo.width, cairo.height))
        # Everything but the card and the ticker's strip is black in both.
        strip_top = cairo.height - 30
        for y in range(0, cairo.height, 3):
            for x in range(0, cairo.width, 3):
                if (cx <= x < cx + CARD_W and cy <= y < cy + CARD_H) or y >= strip_top:
                    continue
                self.assertEqual(web.pixel(x, y), BLACK, (x, y))
        # The card's outline, panel and strips: every pixel that no text of
        # the cairo frame comes near is the same in the web frame.
        cairo_ink, web_ink = ink(cairo, cx, cy), ink(web, cx, cy)
        self.assertGreater(len(cairo_ink), 3000, "the cairo card has its text")
        # (Any trace of the cairo frame's text counts: the faint edges of thin
        # strokes are where the two rasterisers differ most.)
        quiet_border = near(ink(cairo, cx, cy, far=0), 3)
        checked = differ = 0
        for y in range(CARD_H):
            for x in range(CARD_W):
                if (x, y) in quiet_border or (PORTRAIT[0] <= x < PORTRAIT[2] and PORTRAIT[1] <= y < PORTRAIT[3]):
                    continue
                checked += 1
                if web.pixel(cx + x, cy + y) != cairo.pixel(cx + x, cy + y):
                    differ += 1
        self.assertGreater(checked, CARD_W * CARD_H // 2)
        self.assertEqual(differ, 0, f"{differ} of {checked} pixels of the card's outline, panel and strips differ")
        # Glyphs: another rasteriser draws them, so each of the cairo frame's
        # glyphs (blobs of its strong ink: a glyph, or the letters of a word)
        # must be covered by the web frame's ink within a pixel, with its
        # ink's centre where the cairo glyph's is, and no web ink may stand
        # away from the cairo frame's. Measured here: every blob fully
        # covered, centres within 0.75 px (the bold is synthesised another
        # way), 0.05 % of the web ink away. A missing glyph leaves its blob
        # bare; one moved by two pixels moves its centre by more than 1.1 px.
        web_near = near(ink(web, cx, cy, far=60), 1)
        glyphs = [b for b in blobs(cairo_ink, 2) if len(b) >= 10]
        self.assertGreater(len(glyphs), 30)
        worst = min(sum(p in web_near for p in b) / len(b) for b in glyphs)
        moved = max(centre_offset(cairo, web, cx, cy, b) for b in glyphs)
        stray = len(web_ink - near(cairo_ink, 3)) / len(web_ink)
        print(f"glyphs: the worst-covered of {len(glyphs)} cairo glyph blobs is {worst:.1%} covered, the "
              f"farthest centre {moved:.2f} px away; {stray:.2%} of the web ink is away from the cairo ink", flush=True)
        self.assertGreater(worst, 0.85)
        self.assertLess(moved, 1.1)
        self.assertLess(stray, 0.01)
        # The portrait is there, scaled by another filter: close on average.
        total = count = 0
        for y in range(PORTRAIT[1], PORTRAIT[3]):
            for x in range(PORTRAIT[0], PORTRAIT[2]):
                a, b = cairo.pixel(cx + x, cy + y), web.pixel(cx + x, cy + y)
                total += sum(abs(u - v) for u, v in zip(a, b))
                count += 3
        print(f"portrait: mean difference {total / count:.1f} of 255", flush=True)
        self.assertLess(total / count, 12)

    def test_loads_from_file_and_from_a_server_with_no_request_beyond_its_folder(self):
        with tempfile.TemporaryDirectory() as tmp:
            folder = os.path.join(tmp, "mirobel-web")
            shutil.copytree(Config.page, folder)
            served = []

            class Handler(http.server.SimpleHTTPRequestHandler):
                def log_message(self, *args):
                    served.append(self.path)

            server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=tmp))
            thread = threading.Thread(target=server.serve_forever, daemon=True)
            thread.start()
            try:
                base = f"http://127.0.0.1:{server.server_address[1]}/mirobel-web/"
                for url, inside in ((file_url(folder), "file://" + folder + "/"), (base + "index.html", base)):
                    with self.subTest(url=url):
                        out = browse(url=url, width=800, height=600, wait=1500)
                        self.assertEqual(out["errors"], [])
                        self.assertTrue(out["requests"])
                        # The WebAssembly inside the script comes as a data: address.
                        beyond = [r[:120] for r in out["requests"] if not r.startswith((inside, "data:"))]
                        self.assertEqual(beyond, [])
                        # The show runs on the page's timers: frames went by.
                        self.assertGreater(out["options"]["frame"], 5)
            finally:
                server.shutdown()
                server.server_close()
            self.assertEqual([p for p in served if not p.startswith("/mirobel-web/")], [])

    def test_query_values_reach_the_show_and_bad_values_give_the_defaults(self):
        good = browse(url=file_url(Config.page, "?speed=2&order=ascending&first=5&last=9&seed=11&scale=150&kimariji=1"
                                                "&lang=en"),
                      width=1280, height=720, wait=300)["options"]
        self.assertEqual({k: good[k] for k in ("speed", "order", "first", "last", "seed", "scale", "kimariji", "saver",
                                               "lang")},
                         {"speed": 2, "order": 2, "first": 5, "last": 9, "seed": 11, "scale": 150, "kimariji": True,
                          "saver": False, "lang": "en"})
        self.assertEqual((good["dpi"], good["interval"]), (144, 10))
        self.assertEqual(good["poem"], 5)  # ascending from the first of the range
        bad = browse(url=file_url(Config.page, "?speed=9&order=sideways&first=0&last=500&seed=-3&scale=1000&kimariji=x"
                                               "&saver=x&lang=xx"),
                     width=1280, height=720, wait=600)
        self.assertEqual(bad["errors"], [])
        self.assertEqual({k: bad["options"][k] for k in ("speed", "order", "first", "last", "seed", "scale", "kimariji",
                                                          "saver", "dpi", "interval", "lang")},
                         {"speed": 3, "order": 1, "first": 1, "last": 100, "seed": None, "scale": 100,
                          "kimariji": False, "saver": False, "dpi": 96, "interval": 50, "lang": "ja"})
        self.assertGreater(bad["options"]["frame"], 2)

    def test_at_device_pixel_ratio_2_the_card_measures_800_by_520_device_pixels(self):
        out = browse(url=file_url(Config.page, "?seed=5"), width=1280, height=720, ratio=2, wait=400, pixels=True)
        image = out["image"]
        self.assertEqual((image.width, image.height), (2560, 1440))
        self.assertEqual((out["canvas"]["cssWidth"], out["canvas"]["cssHeight"]), (1280, 720))
        xs, ys = [], []
        for y in range(0, image.height):
            row = image.rgb[y * image.width * 3:(y + 1) * image.width * 3]
            at = row.find(bytes(DARK_CYAN))
            while at >= 0 and at % 3:
                at = row.find(bytes(DARK_CYAN), at + 1)
            if at >= 0:
                ys.append(y)
                xs.append(at // 3)
                end = row.rfind(bytes(DARK_CYAN))
                while end % 3:
                    end = row.rfind(bytes(DARK_CYAN), 0, end)
                xs.append(end // 3)
        self.assertEqual((max(xs) - min(xs) + 1, max(ys) - min(ys) + 1), (800, 520))

    def test_follows_the_window_size_and_keeps_the_card_inside(self):
        out = browse(url=file_url(Config.page, "?seed=2"), width=1280, height=720, wait=300, resize=[500, 300],
                     pixels=True)
        image, show = out["image"], out["options"]
        self.assertEqual((image.width, image.height), (500, 300))
        self.assertTrue(0 <= show["cardX"] <= 100 and 0 <= show["cardY"] <= 40, show)
        # The whole card is on the canvas where the show has it.
        self.assertEqual(image.pixel(show["cardX"] + 5, show["cardY"] + 5), DARK_CYAN)
        self.assertEqual(image.pixel(show["cardX"] + 394, show["cardY"] + 254), DARK_CYAN)

    def test_as_a_saver_input_leaves_full_screen_and_otherwise_does_nothing(self):
        for query, leaves in (("?saver", True), ("", False)):
            with self.subTest(query=query):
                out = browse(url=file_url(Config.page, query), width=800, height=600, wait=200, fullscreen=True)
                self.assertTrue(out["entered"])
                self.assertEqual(out["leaves"], {"key": leaves, "click": leaves, "move": leaves})


if __name__ == "__main__":
    run_tests(Config, paths=("page", "mirobel", "shots"))
