#!/usr/bin/python3
"""Draws the pictures of the settings dialog and its companion windows.

  SetImage.bmp       50 x 50, 24-bit: the poet at the dialog's lower left
  CommentImage.bmp   125 x 125, 256 colours: the commentary viewer's portrait
  SalesPicture.bmp   50 x 50, 24-bit: a screen showing a card, for the
                     introduction window
  Cyclist0..3.ico    32 x 32, 16 colours with a transparent background: a
                     racing cyclist facing left, in four jersey colours
  Help.ico           16, 32 and 48 pixels: a white question mark on a green disc

The poets come from the portrait generator, cropped to head and shoulders,
so they are drawn in the same hand as the cards. Everything else is drawn
here as SVG in the same manner (flat colours, dark outlines), rasterised
with rsvg-convert and converted with ImageMagick. The icons' 16-colour
images are written by this script, pixel by pixel, so the palette and the
transparency mask are exactly what the window shows.

Usage: make_windowart.py [--out DIR] [--check]
"""

import argparse
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "portraits"))
sys.dont_write_bytecode = True
import make_portraits as mp  # noqa: E402

CONVERT = "/usr/bin/convert"
INK = mp.INK

# Poets for the two portraits: the dialog shows the poet of poem 3, the
# viewer the poet of poem 9.
DIALOG_POET = 3
VIEWER_POET = 9
# Head and shoulders of a 168 x 240 portrait frame.
CROP = (18, 2, 132, 132)

JERSEYS = [("#e0403a", "#fbf4d2"), ("#3a86d8", "#fbf8f0"), ("#43a84e", "#f0d85a"), ("#f4c234", "#2a3a6a")]


def run(*cmd):
    subprocess.run(cmd, check=True)


def poet_svg(n, size):
    """The portrait of poem n's poet, cropped to a square of size pixels."""
    state = {}
    for number, name, cat, motif, extra in mp.POETS:
        p = dict(n=number, name=name, cat=cat, motif=motif, extra=extra)
        svg = mp.compose(p, state)  # every poet, so the choices match the cards
        if number == n:
            break
    x, y, w, h = CROP
    head_end = svg.index(">") + 1
    body = svg[head_end:]
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="%d %d %d %d">%s'
            % (size, size, x, y, w, h, body))


def sales_svg():
    """A small display on its stand, a karuta card glowing on its black screen."""
    items = [
        mp.path("M4 4 H196 V196 H4 Z", "#f5efdf", None),
        mp.path("M78 150 L122 150 L132 176 L68 176 Z", "#9a968c", INK, 5),
        mp.path("M46 176 H154 Q160 176 160 182 V186 H40 V182 Q40 176 46 176 Z", "#b8b2a4", INK, 5),
        mp.path("M16 24 Q16 14 26 14 H174 Q184 14 184 24 V144 Q184 154 174 154 H26 Q16 154 16 144 Z",
                "#d8d2c2", INK, 6),
        mp.path("M30 28 H170 V140 H30 Z", "#101014", INK, 4),
        # the card: teal border, white face, three brush columns and a red seal
        mp.path("M72 42 H128 V126 H72 Z", "#008080", "#003c3c", 3),
        mp.path("M78 48 H122 V120 H78 Z", "#ffffff", None),
        mp.line("M113 54 C112 70 114 90 112 108", "#111111", 5),
        mp.line("M101 54 C100 68 102 82 100 96", "#111111", 5),
        mp.line("M89 62 C88 78 90 96 88 112", "#111111", 5),
        mp.circle(86, 112, 4.5, "#c0282d", None),
        # the power lamp
        mp.circle(168, 146, 3, "#5fbf5a", INK, 1.5),
    ]
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="200" height="200" viewBox="0 0 200 200">%s</svg>'
            % "".join(items))


def cyclist_svg(jersey, trim):
    """A road racer leaning over the bars, riding to the left, on 32 x 32."""
    tyre, rim, frame = "#3a3a40", "#c8ccd2", "#8a9098"
    skin, shorts, shoe = mp.SKIN, "#1d1c22", "#f6f3ea"
    items = []
    for cx in (7.5, 24.5):  # wheels: tyre, rim and a few spokes
        items.append(mp.circle(cx, 24.5, 6.2, "none", tyre, 1.6))
        items.append(mp.circle(cx, 24.5, 4.6, "none", rim, 0.8))
        items.append(mp.line("M%s 20.5 V28.5 M%s 24.5 H%s" % (cx, cx - 4, cx + 4), rim, 0.5))
    items.append(mp.line("M24.5 24.5 L16 25 L21 14.5 Z M16 25 L11 15.5 L21 14.5 M11 15.5 L7.5 24.5", frame, 1.2))
    items.append(mp.line("M19.5 13.8 H23", INK, 1.4))                      # saddle
    items.append(mp.line("M11 15.5 L10 13.5 Q8 13.5 8 15.5 Q8 17 9.5 17", INK, 1.1))  # bars
    # far leg, then the body, then the near leg over the frame
    items.append(mp.path("M19 12.5 L14.5 17.5 L17.5 22 L19 21 L17 17.6 L20.5 14 Z", shorts, INK, 0.6))
    items.append(mp.line("M17.8 21.8 L14.2 23.8", skin, 1.4))
    items.append(mp.path("M12.6 23.2 L15.4 23.2 L15.4 25 L12.2 25 Z", shoe, INK, 0.5))
    items.append(mp.path("M22.2 13.8 C21.4 8.6 15.6 6.2 11.2 7 C9.6 8 9.7 10.8 11.4 11.8 "
                         "C14.4 11.8 16.8 12.8 18 15.2 Z", jersey, INK, 0.6))
    items.append(mp.line("M12.6 9.4 C15.6 9 18.6 10.2 20.8 12.6", trim, 0.8))
    items.append(mp.path("M12.8 9.2 L9.8 14.5 L11 15.3 L14.2 10.8 Z", jersey, INK, 0.6))  # arm
    items.append(mp.circle(9.6, 15.4, 0.9, skin, INK, 0.4))                  # hand on the drops
    items.append(mp.path("M21 13.8 L16.5 18.5 L18.8 21.6 L20.2 20.8 L18.8 18.4 L22.6 15.8 Z", shorts, INK, 0.6))
    items.append(mp.line("M19.5 21.4 L17.5 26.6", skin, 1.4))
    items.append(mp.path("M16 26.2 L19 26.2 L19 28 L15.6 28 Z", shoe, INK, 0.5))
    items.append(mp.circle(8.8, 6.6, 2.6, skin, INK, 0.7))                   # head
    items.append(mp.path("M6 6 C6 2.6 10 2 12 4.4 L12.2 6 Z", jersey, INK, 0.7))  # helmet
    items.append(mp.line("M7 4.2 L11.4 5", trim, 0.6))
    palette = ["#000000", INK, tyre, rim, frame, skin, shorts, shoe, jersey, trim]
    svg = ('<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">%s</svg>'
           % "".join(items))
    return svg, palette


def help_svg():
    items = [
        mp.circle(24, 24, 21.5, "#2f8a3e", "#17451f", 2.5),
        mp.path("M15.5 18 C15.5 11 20 8 24.5 8 C30 8 33.5 11.5 33.5 16.5 C33.5 21 30.5 22.8 28 24.6 "
                "C26.4 25.8 26 27 26 29.5 L21.5 29.5 C21.2 26 22 23.8 24.8 21.6 C27 19.8 28.6 18.8 28.6 16.6 "
                "C28.6 14.2 27 12.6 24.4 12.6 C21.8 12.6 20.3 14.4 20.2 18 Z", "#ffffff", "#17451f", 1.2),
        mp.circle(23.8, 35.5, 3.2, "#ffffff", "#17451f", 1.2),
    ]
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">%s</svg>'
            % "".join(items))


def rasterise(svg_text, png, size, work):
    svg = os.path.join(work, "in.svg")
    with open(svg, "w", encoding="utf-8") as f:
        f.write(svg_text)
    run("rsvg-convert", "-w", str(size), "-h", str(size), "-o", png, svg)


def rgba_pixels(png, work):
    raw = subprocess.run([CONVERT, png, "-depth", "8", "rgba:-"], check=True, capture_output=True).stdout
    return [tuple(raw[i:i + 4]) for i in range(0, len(raw), 4)]


def hex_rgb(colour):
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))


def write_icon16(pixels, palette, out):
    """A 32 x 32, 4-bit icon: pixels with alpha below half are transparent,
    the others take the nearest palette colour. Index 0 is black so that a
    transparent pixel leaves the screen as it is (AND 1, XOR 0)."""
    colours = [hex_rgb(c) for c in palette]
    assert len(colours) <= 16
    colours += [(0, 0, 0)] * (16 - len(colours))
    indices, mask = [], []
    for r, g, b, a in pixels:
        if a < 128:
            indices.append(0)
            mask.append(1)
            continue
        best = min(range(1, len(palette)), key=lambda i: sum((x - y) ** 2 for x, y in zip(colours[i], (r, g, b))))
        indices.append(best)
        mask.append(0)
    xor_rows, and_rows = [], []
    for y in range(31, -1, -1):  # bottom-up
        row = indices[y * 32:(y + 1) * 32]
        xor_rows.append(bytes((row[x] << 4) | row[x + 1] for x in range(0, 32, 2)))
        bits = mask[y * 32:(y + 1) * 32]
        and_rows.append(bytes(sum(bits[x + k] << (7 - k) for k in range(8)) for x in range(0, 32, 8)))
    xor, andm = b"".join(xor_rows), b"".join(and_rows)
    rgbquads = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, len(xor) + len(andm), 0, 0, 16, 0)
    image = header + rgbquads + xor + andm
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(image), 22)
    with open(out, "wb") as f:
        f.write(directory + image)


def bmp_facts(path):
    with open(path, "rb") as f:
        data = f.read(54)
    if data[:2] != b"BM":
        raise ValueError("%s is not a BMP" % path)
    width, height, planes, bits = struct.unpack("<iiHH", data[18:30])
    return width, abs(height), bits


def ico_facts(path):
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack("<HHH", data[:6])
    entries = []
    for i in range(count):
        w, h, colours, _, planes, bits, size, offset = struct.unpack("<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
        entries.append((w or 256, h or 256, bits))
    return kind, entries


EXPECTED_BMPS = {"SetImage.bmp": (50, 50, 24), "CommentImage.bmp": (125, 125, 8), "SalesPicture.bmp": (50, 50, 24)}


def check(out):
    problems = []
    for name, facts in EXPECTED_BMPS.items():
        path = os.path.join(out, name)
        if not os.path.exists(path):
            problems.append("%s missing" % name)
        elif bmp_facts(path) != facts:
            problems.append("%s is %s, not %s" % (name, bmp_facts(path), facts))
    for i in range(4):
        path = os.path.join(out, "Cyclist%d.ico" % i)
        if not os.path.exists(path) or ico_facts(path) != (1, [(32, 32, 4)]):
            problems.append("Cyclist%d.ico is not one 32 x 32 16-colour icon" % i)
    path = os.path.join(out, "Help.ico")
    if not os.path.exists(path) or sorted(e[:2] for e in ico_facts(path)[1]) != [(16, 16), (32, 32), (48, 48)]:
        problems.append("Help.ico lacks its three sizes")
    return problems


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.normpath(os.path.join(HERE, "..", "..", "assets", "windowart")))
    ap.add_argument("--check", action="store_true", help="only verify the files already in --out")
    a = ap.parse_args(argv)
    if not a.check:
        os.makedirs(a.out, exist_ok=True)
        with tempfile.TemporaryDirectory() as work:
            big = os.path.join(work, "big.png")
            for name, n, size, extra in (("SetImage.bmp", DIALOG_POET, 50, ["-type", "TrueColor", "BMP3:"]),
                                         ("CommentImage.bmp", VIEWER_POET, 125,
                                          ["+dither", "-colors", "256", "-type", "Palette", "BMP3:"])):
                rasterise(poet_svg(n, 500), big, 500, work)
                run(CONVERT, big, "-background", "white", "-flatten", "-alpha", "off", "-filter", "Lanczos",
                    "-resize", "%dx%d!" % (size, size), *extra[:-1], extra[-1] + os.path.join(a.out, name))
            rasterise(sales_svg(), big, 200, work)
            run(CONVERT, big, "-background", "white", "-flatten", "-alpha", "off", "-filter", "Lanczos",
                "-resize", "50x50!", "-type", "TrueColor", "BMP3:" + os.path.join(a.out, "SalesPicture.bmp"))
            for i, (jersey, trim) in enumerate(JERSEYS):
                svg, palette = cyclist_svg(jersey, trim)
                small = os.path.join(work, "c.png")
                rasterise(svg, small, 32, work)
                write_icon16(rgba_pixels(small, work), palette, os.path.join(a.out, "Cyclist%d.ico" % i))
            sizes = []
            for s in (16, 32, 48):
                png = os.path.join(work, "help-%d.png" % s)
                rasterise(help_svg(), png, s, work)
                sizes.append(png)
            run(CONVERT, *sizes, os.path.join(a.out, "Help.ico"))
    problems = check(a.out)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
