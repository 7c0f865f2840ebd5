#!/usr/bin/python3
"""Draws the hundred poet portraits as SVG and turns them into small JPEGs.

Every picture is composed in a 168 x 240 frame (two thirds of the final size) with the
poet facing left; poets who face right are the same drawing mirrored.  All
choices come from the table below or from a random generator seeded with the
poem number, so a run always gives the same pictures.

Usage: make_portraits.py [--out DIR] [--svg-dir DIR] [--only N[,N...]] [--check]
"""

import argparse
import math
import os
import random
import shutil
import subprocess
import sys
import tempfile

W, H = 168, 240
# The card's portrait box is 126 x 180 at 100 % and 252 x 360 at 200 %
# display scaling; pictures of the larger size stay crisp up to 200 % and
# are stretched down below it.
OUT_W, OUT_H = 252, 360
INK = "#2b211c"
LW = 1.7
SKIN = "#f7e9d7"
SKIN_LINE = "#8a6650"
BLACK_CLOTH = "#1d1c22"
BLACK_FOLD = "#5b5a66"

# Traditional colour names kept beside their values so the palette reads as
# one family rather than arbitrary hex codes.
COL = {
    "kuro": "#24232a", "suo": "#8e354a", "enji": "#9d3a3f", "akane": "#b4373a",
    "kurenai": "#c8484f", "kobai": "#de7a93", "sakura": "#f4d3d6",
    "momo": "#ea9aa4", "koro": "#b98b3c", "kuchiba": "#c49a54",
    "yamabuki": "#e5b03a", "kihada": "#ead27a", "moegi": "#7e9a45",
    "wakatake": "#8fbf93", "matsuba": "#3f6a4c", "tokusa": "#4f7a63",
    "hanada": "#3d6f9c", "kon": "#2a3a6a", "ai": "#34587a", "asagi": "#6aa8b8",
    "mizu": "#a9cfd8", "murasaki": "#70427f", "edo": "#6b4f8f",
    "fuji": "#a99ccb", "shion": "#9383b8", "shiro": "#f6f3ea",
    "gofun": "#fbf8f0", "usuzumi": "#8d8c90", "nibi": "#5e5c60",
    "sumi": "#38363c", "cha": "#7a5a3c", "kaki": "#d2773f", "kogane": "#d6ad4a",
    "tsurubami": "#6e6252", "aonibi": "#4c5660", "kurotsurubami": "#3e3832",
}


# --------------------------------------------------------------------------
# The poets.  cat: 1 noble, 2 woman, 3 monk.  motif: the background accent
# taken from the poem.  Extra keys override what would otherwise be picked.
# --------------------------------------------------------------------------
POETS = [
    (1, "天智天皇", 1, "rice", dict(emperor=True, beard="full", dress="sokutai")),
    (2, "持統天皇", 2, "mountain", dict(empress=True)),
    (3, "柿本人麻呂", 1, "moon", dict(beard="full", dress="noshi", hold="scroll", cap="eboshi", age="old")),
    (4, "山部赤人", 1, "fuji", dict(beard="chin", dress="kariginu", hold="fan")),
    (5, "猿丸大夫", 1, "deer", dict(beard="full", dress="kariginu", cap="eboshi", age="old", hold="none")),
    (6, "中納言家持", 1, "frost", dict(beard="mous", dress="sokutai")),
    (7, "安倍仲麿", 1, "moon", dict(dress="sokutai", beard="chin", hold="shaku")),
    (8, "喜撰法師", 3, "mountain", dict(hood="none", hold="beads", age="old")),
    (9, "小野小町", 2, "cherry", dict(hold="fanface")),
    (10, "蝉丸", 3, "mist", dict(hood="semimaru", hold="biwa", blind=True, beard="mous")),
    (11, "参議篁", 1, "waves", dict(dress="sokutai", beard="mous")),
    (12, "僧正遍昭", 3, "clouds", dict(hood="none", hold="beads", robe="murasaki")),
    (13, "陽成院", 1, "river", dict(emperor=True)),
    (14, "河原左大臣", 1, "grass", dict(dress="sokutai", beard="mous")),
    (15, "光孝天皇", 1, "snow", dict(emperor=True, beard="chin")),
    (16, "中納言行平", 1, "pine", dict(dress="noshi")),
    (17, "在原業平朝臣", 1, "maple", dict(dress="sokutai", hold="shaku", beard="none", young=True, oikake=True)),
    (18, "藤原敏行朝臣", 1, "waves", dict(dress="noshi")),
    (19, "伊勢", 2, "reeds", dict()),
    (20, "元良親王", 1, "waves", dict(dress="noshi", young=True)),
    (21, "素性法師", 3, "moon", dict(hood="none", hold="scroll")),
    (22, "文屋康秀", 1, "grass", dict(dress="kariginu")),
    (23, "大江千里", 1, "moon", dict(dress="noshi")),
    (24, "菅家", 1, "maple", dict(dress="sokutai", beard="full", hold="shaku")),
    (25, "三条右大臣", 1, "vine", dict(dress="sokutai", beard="mous")),
    (26, "貞信公", 1, "maple", dict(dress="sokutai", beard="chin")),
    (27, "中納言兼輔", 1, "river", dict(dress="noshi")),
    (28, "源宗于朝臣", 1, "snow", dict(dress="noshi", beard="mous")),
    (29, "凡河内躬恒", 1, "chrys", dict(dress="kariginu", hold="flower")),
    (30, "壬生忠岑", 1, "moon", dict(dress="kariginu")),
    (31, "坂上是則", 1, "snow", dict(dress="noshi")),
    (32, "春道列樹", 1, "maple", dict(dress="kariginu")),
    (33, "紀友則", 1, "cherry", dict(dress="noshi", age="old", beard="chin")),
    (34, "藤原興風", 1, "pine", dict(dress="kariginu", age="old", beard="full")),
    (35, "紀貫之", 1, "plum", dict(dress="noshi", beard="mous", hold="brush")),
    (36, "清原深養父", 1, "moon", dict(dress="kariginu")),
    (37, "文屋朝康", 1, "dew", dict(dress="kariginu")),
    (38, "右近", 2, "plain", dict()),
    (39, "参議等", 1, "bamboo", dict(dress="sokutai")),
    (40, "平兼盛", 1, "plain", dict(dress="noshi", beard="mous")),
    (41, "壬生忠見", 1, "plain", dict(dress="kariginu", young=True)),
    (42, "清原元輔", 1, "waves", dict(dress="noshi", age="old", beard="full")),
    (43, "権中納言敦忠", 1, "plain", dict(dress="sokutai", young=True)),
    (44, "中納言朝忠", 1, "clouds", dict(dress="sokutai", beard="mous")),
    (45, "謙徳公", 1, "plain", dict(dress="sokutai", beard="chin")),
    (46, "曾禰好忠", 1, "waves", dict(dress="kariginu")),
    (47, "恵慶法師", 3, "grass", dict(hood="none", hold="scroll")),
    (48, "源重之", 1, "waves", dict(dress="kariginu", beard="mous")),
    (49, "大中臣能宣朝臣", 1, "fire", dict(dress="sokutai", beard="full", age="old")),
    (50, "藤原義孝", 1, "plain", dict(dress="noshi", young=True)),
    (51, "藤原実方朝臣", 1, "grass", dict(dress="sokutai", young=True)),
    (52, "藤原道信朝臣", 1, "dawn", dict(dress="noshi", young=True)),
    (53, "右大将道綱母", 2, "moon", dict()),
    (54, "儀同三司母", 2, "plain", dict()),
    (55, "大納言公任", 1, "waterfall", dict(dress="sokutai", beard="mous")),
    (56, "和泉式部", 2, "plain", dict()),
    (57, "紫式部", 2, "moon", dict(hold="brush")),
    (58, "大弐三位", 2, "bamboo", dict()),
    (59, "赤染衛門", 2, "moon", dict()),
    (60, "小式部内侍", 2, "pine", dict()),
    (61, "伊勢大輔", 2, "cherry", dict(hold="flower")),
    (62, "清少納言", 2, "dawn", dict(hold="fanface")),
    (63, "左京大夫道雅", 1, "plain", dict(dress="noshi")),
    (64, "権中納言定頼", 1, "mist", dict(dress="noshi", young=True)),
    (65, "相模", 2, "plain", dict(hold="sleeve")),
    (66, "前大僧正行尊", 3, "cherry", dict(hood="white", hold="beads", robe="kon", age="old")),
    (67, "周防内侍", 2, "moon", dict()),
    (68, "三条院", 1, "moon", dict(emperor=True)),
    (69, "能因法師", 3, "maple", dict(hood="none", hold="scroll")),
    (70, "良暹法師", 3, "grass", dict(hood="none", hold="none")),
    (71, "大納言経信", 1, "rice", dict(dress="sokutai", beard="full", age="old")),
    (72, "祐子内親王家紀伊", 2, "waves", dict()),
    (73, "権中納言匡房", 1, "cherry", dict(dress="sokutai", beard="chin", age="old")),
    (74, "源俊頼朝臣", 1, "mountain", dict(dress="kariginu", beard="mous")),
    (75, "藤原基俊", 1, "dew", dict(dress="noshi", beard="full", age="old")),
    (76, "法性寺入道前関白太政大臣", 1, "waves", dict(dress="noshi", beard="mous", robe="shiro")),
    (77, "崇徳院", 1, "river", dict(emperor=True)),
    (78, "源兼昌", 1, "plovers", dict(dress="kariginu")),
    (79, "左京大夫顕輔", 1, "moon", dict(dress="noshi", beard="mous")),
    (80, "待賢門院堀河", 2, "plain", dict()),
    (81, "後徳大寺左大臣", 1, "moon", dict(dress="sokutai", beard="mous", hold="shaku")),
    (82, "道因法師", 3, "plain", dict(hood="white", hold="staff", age="old")),
    (83, "皇太后宮大夫俊成", 1, "deer", dict(dress="noshi", beard="full", age="old")),
    (84, "藤原清輔朝臣", 1, "plain", dict(dress="kariginu", beard="mous")),
    (85, "俊恵法師", 3, "moon", dict(hood="none", hold="fan")),
    (86, "西行法師", 3, "moon", dict(hood="none", hold="none", robe="sumi", kesa="kuchiba")),
    (87, "寂蓮法師", 3, "mist", dict(hood="dark", hold="beads")),
    (88, "皇嘉門院別当", 2, "reeds", dict()),
    (89, "式子内親王", 2, "plain", dict(princess=True)),
    (90, "殷富門院大輔", 2, "waves", dict(hold="sleeve")),
    (91, "後京極摂政前太政大臣", 1, "frost", dict(dress="sokutai")),
    (92, "二条院讃岐", 2, "rock", dict()),
    (93, "鎌倉右大臣", 1, "boat", dict(dress="sokutai", young=True)),
    (94, "参議雅経", 1, "moon", dict(dress="noshi", hold="fan")),
    (95, "前大僧正慈円", 3, "plain", dict(hood="none", hold="beads", robe="murasaki")),
    (96, "入道前太政大臣", 1, "cherry", dict(dress="noshi", beard="mous", age="old", hold="flower")),
    (97, "権中納言定家", 1, "waves", dict(dress="noshi", beard="mous", hold="brush")),
    (98, "従二位家隆", 1, "river", dict(dress="kariginu", beard="chin", age="old")),
    (99, "後鳥羽院", 1, "plain", dict(emperor=True, beard="mous")),
    (100, "順徳院", 1, "grass", dict(emperor=True)),
]


# --------------------------------------------------------------------------
# Small SVG helpers
# --------------------------------------------------------------------------
def fmt(v):
    return ("%.2f" % v).rstrip("0").rstrip(".")


def path(d, fill, stroke=INK, sw=LW, extra=""):
    s = '<path d="%s" fill="%s"' % (d, fill)
    if stroke:
        s += ' stroke="%s" stroke-width="%s" stroke-linejoin="round" stroke-linecap="round"' % (stroke, fmt(sw))
    return s + extra + "/>"


def line(d, stroke=INK, sw=LW, extra=""):
    return path(d, "none", stroke, sw, extra)


def circle(cx, cy, r, fill, stroke=INK, sw=LW, extra=""):
    s = '<circle cx="%s" cy="%s" r="%s" fill="%s"' % (fmt(cx), fmt(cy), fmt(r), fill)
    if stroke:
        s += ' stroke="%s" stroke-width="%s"' % (stroke, fmt(sw))
    return s + extra + "/>"


def ellipse(cx, cy, rx, ry, fill, stroke=INK, sw=LW, extra=""):
    s = '<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"' % (
        fmt(cx), fmt(cy), fmt(rx), fmt(ry), fill)
    if stroke:
        s += ' stroke="%s" stroke-width="%s"' % (stroke, fmt(sw))
    return s + extra + "/>"


def group(items, transform=None, extra=""):
    t = ' transform="%s"' % transform if transform else ""
    return "<g%s%s>%s</g>" % (t, extra, "".join(items))


def mix(c1, c2, t):
    """Blend two #rrggbb colours; used for fold lines and pale variants."""
    a = [int(c1[i:i + 2], 16) for i in (1, 3, 5)]
    b = [int(c2[i:i + 2], 16) for i in (1, 3, 5)]
    return "#%02x%02x%02x" % tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def fold_of(colour):
    """A line colour for creases that stays visible on both dark and pale cloth."""
    r, g, b = (int(colour[i:i + 2], 16) for i in (1, 3, 5))
    lum = 0.3 * r + 0.59 * g + 0.11 * b
    return mix(colour, "#ffffff", 0.35) if lum < 70 else mix(colour, INK, 0.45)


class Defs:
    """Collects <pattern> definitions so each robe can use its own weave."""

    def __init__(self):
        self.items = []
        self.n = 0

    def pattern(self, kind, base, ink, transform=None):
        self.n += 1
        pid = "pt%d" % self.n
        body = '<rect width="12" height="12" fill="%s"/>' % base
        if kind == "hishi":  # small diamond lattice
            body += path("M6 2 L10 6 L6 10 L2 6 Z", "none", ink, 0.9)
        elif kind == "dots":  # scattered roundels
            body += circle(3, 3, 1.6, ink, None) + circle(9, 9, 1.6, ink, None)
        elif kind == "flower":  # four-petal flowers on a grid
            for cx, cy in ((3, 3), (9, 9)):
                for dx, dy in ((1.3, 0), (-1.3, 0), (0, 1.3), (0, -1.3)):
                    body += circle(cx + dx, cy + dy, 1.0, ink, None)
        elif kind == "tatewaku":  # rising wavy lines, a court classic
            body += line("M3 0 C6 3 0 9 3 12", ink, 1.0) + line("M9 0 C12 3 6 9 9 12", ink, 1.0)
        elif kind == "kikko":  # hexagon (tortoise shell)
            body += path("M3 1 L9 1 L12 6 L9 11 L3 11 L0 6 Z", "none", ink, 0.8)
        elif kind == "patch":  # sewn panels of a monk's stole
            body += path("M0 0.5 H12 M0 6.5 H12 M0.5 0 V6.5 M6.5 6.5 V12", "none", ink, 0.9)
        elif kind == "stripe":
            body += '<rect x="0" y="0" width="3" height="12" fill="%s"/>' % ink
        tr = ' patternTransform="%s"' % transform if transform else ""
        self.items.append('<pattern id="%s" width="12" height="12" patternUnits="userSpaceOnUse"%s>%s</pattern>'
                          % (pid, tr, body))
        return "url(#%s)" % pid

    def svg(self):
        return "<defs>%s</defs>" % "".join(self.items)


# --------------------------------------------------------------------------
# Background, floor and the seasonal accents
# --------------------------------------------------------------------------
GROUNDS = ["#f5efdf", "#eef0e4", "#f6eee6", "#f3ecd6", "#edf0ee", "#f4efe1", "#f2ebdf"]
# mat borders: (cloth, figure) pairs
HERI = [("#f3efe4", INK, "diamond"), ("#5b3f6e", "#efe6d2", "flower"), ("#2f4a3a", "#e8dfb8", "diamond"),
        ("#f3efe4", "#2d3d5a", "ring"), ("#6b4a32", "#efe2c4", "ring"), ("#2a2a30", "#e9e3d2", "flower")]


def kasumi(y, x0, x1, colour):
    """A stylised mist band with stepped, rounded ends, as in scroll painting."""
    h = 9
    d = ("M%s %s H%s Q%s %s %s %s Q%s %s %s %s H%s Q%s %s %s %s Q%s %s %s %s Z" % (
        fmt(x0 + 5), fmt(y), fmt(x1 - 5), fmt(x1), fmt(y), fmt(x1), fmt(y + h / 2),
        fmt(x1), fmt(y + h), fmt(x1 - 5), fmt(y + h), fmt(x0 + 5),
        fmt(x0), fmt(y + h), fmt(x0), fmt(y + h / 2), fmt(x0), fmt(y), fmt(x0 + 5), fmt(y)))
    return path(d, colour, None)


def tatami(p):
    items = []
    items.append(path("M4 198 L164 198 L180 240 L-12 240 Z", "#dcd3a2", None))
    for i in range(1, 8):
        y = 198 + i * 4.2
        items.append(line("M-10 %s H178" % fmt(y), "#c9bf8a", 0.6))
    items.append(line("M4 198 L164 198", "#b9ad78", 1.0))
    # front border (heri) with its woven figure
    cloth, fig, kind = p["heri"]
    items.append(path("M-12 228 H180 V240 H-12 Z", cloth, INK, 1.0))
    for i in range(0, 15):
        x = -4 + i * 12 + (6 if p["n"] % 2 else 0)
        if kind == "diamond":
            items.append(path("M%s 231 L%s 234 L%s 237 L%s 234 Z" % (fmt(x), fmt(x + 4), fmt(x), fmt(x - 4)),
                              fig, None))
        elif kind == "ring":
            items.append(circle(x, 234, 2.6, "none", fig, 1.1))
        else:
            for dx, dy in ((1.4, 0), (-1.4, 0), (0, 1.4), (0, -1.4)):
                items.append(circle(x + dx, 234 + dy, 1.1, fig, None))
    return items


def enza():
    """Round straw cushion a monk sits on."""
    it = [ellipse(84, 223, 76, 9, "#cdb27a", INK, 1.2)]
    for r in (60, 44, 28):
        it.append(ellipse(84, 223, r, r * 9 / 76, "none", "#a28a56", 0.7))
    return it


def dais(p):
    """Raised mat with a coloured border, for sovereigns."""
    items = []
    items.append(path("M0 196 L168 196 L180 240 L-12 240 Z", "#d9cf98", None))
    for i in range(1, 7):
        items.append(line("M-10 %s H178" % fmt(196 + i * 4.6), "#c8bd85", 0.6))
    # ungen border: bands of colour with small flowers
    items.append(path("M-12 224 H180 V240 H-12 Z", "#c23f3a", INK, 1.0))
    items.append(path("M-12 227.5 H180 V236.5 H-12 Z", "#2f5c8a", None))
    items.append(path("M-12 230 H180 V234 H-12 Z", "#7fb09a", None))
    for i in range(0, 15):
        x = 2 + i * 12
        items.append(circle(x, 232, 2.6, "#f3e7c0", INK, 0.5))
        items.append(circle(x, 232, 0.9, "#c23f3a", None))
    return items


def blind(p):
    """Rolled-up bamboo blind with tassels along the top, marking a palace."""
    items = []
    items.append(path("M-2 -2 H170 V12 H-2 Z", "#d7c58c", None))
    for i in range(0, 6):
        items.append(line("M-2 %s H170" % fmt(1 + i * 2.2), "#a48f55", 0.6))
    items.append(path("M-2 11 H170 V17 H-2 Z", "#3d5e3f", INK, 1.0))
    for i in range(0, 12):
        x = 6 + i * 14
        items.append(path("M%s 11 L%s 14 L%s 17 L%s 14 Z" % (fmt(x), fmt(x + 3), fmt(x), fmt(x - 3)),
                          "#c9a640", None))
    # tassels (agemaki)
    for x in (24, 144):
        items.append(line("M%s 17 V24" % x, "#b02f2f", 1.4))
        items.append(path("M%s 22 L%s 22 L%s 38 L%s 38 Z" % (x - 2, x + 2, x + 4, x - 4), "#c8383a", INK, 0.8))
    return items


def maple_leaf(x, y, s, rot, colour):
    pts = []
    for k in range(10):
        a = math.radians(-90 + k * 36)
        r = s if k % 2 == 0 else s * 0.42
        if k in (4, 6):
            r = s * 0.8 if k % 2 == 0 else r
        pts.append((x + r * math.cos(a), y + r * math.sin(a)))
    d = "M" + " L".join("%s %s" % (fmt(a), fmt(b)) for a, b in pts) + " Z"
    return group([path(d, colour, INK, 0.7),
                  line("M%s %s L%s %s" % (fmt(x), fmt(y), fmt(x), fmt(y + s * 1.2)), INK, 0.6)],
                 "rotate(%s %s %s)" % (fmt(rot), fmt(x), fmt(y)))


def petal(x, y, s, rot, colour):
    d = "M0 0 C%s %s %s %s 0 %s C%s %s %s %s 0 0 Z" % (
        fmt(s * 0.9), fmt(-s * 0.4), fmt(s * 0.8), fmt(s * 1.1), fmt(s * 1.4),
        fmt(-s * 0.8), fmt(s * 1.1), fmt(-s * 0.9), fmt(-s * 0.4))
    return path(d, colour, "#b46a78", 0.5,
                ' transform="translate(%s %s) rotate(%s)"' % (fmt(x), fmt(y), fmt(rot)))


def blossom(x, y, r, colour, centre="#c9414a"):
    items = []
    for k in range(5):
        a = math.radians(-90 + k * 72)
        items.append(circle(x + r * 0.62 * math.cos(a), y + r * 0.62 * math.sin(a), r * 0.5, colour, "#a85a68", 0.5))
    items.append(circle(x, y, r * 0.28, centre, None))
    return group(items)


def motif(p, rng):
    """Accent in the empty corner the poet faces (upper left before mirroring)."""
    m = p["motif"]
    it = []
    if m == "moon":
        cy = 34 if not p["emperor"] else 48
        it.append(circle(30, cy, 16, "#fbf4d2", "#b79c4f", 1.0))
        if p["n"] % 3 == 0:
            it.append(kasumi(cy + 6, 2, 50, "#e7dcb8"))
    elif m == "dawn":
        it.append(path("M10 40 A22 22 0 0 1 54 40 Z", "#f3c7a6", "#c4875e", 0.9))
        it.append(kasumi(38, 0, 66, "#ead8b6"))
        it.append(kasumi(50, 8, 44, "#eee0c2"))
    elif m == "maple":
        cols = ["#c8402f", "#d8672b", "#b93434", "#e09a30"]
        spots = [(18, 22, 7, 10), (40, 14, 6, -25), (26, 46, 6.5, 30), (12, 72, 5.5, -10),
                 (46, 36, 5, 60), (150, 60, 5, 15)]
        for i, (x, y, s, r) in enumerate(spots):
            it.append(maple_leaf(x, y, s, r + p["n"] * 7, cols[(i + p["n"]) % 4]))
    elif m == "cherry":
        it.append(line("M-2 18 C14 22 26 18 44 8", "#5a4032", 2.2))
        it.append(line("M18 20 C22 28 30 30 38 30", "#5a4032", 1.4))
        for x, y in ((10, 16), (26, 14), (40, 10), (34, 30), (20, 28)):
            it.append(blossom(x, y, 6, "#f8dde2"))
        for i, (x, y) in enumerate(((14, 50), (36, 58), (24, 78), (50, 44), (8, 96), (150, 84))):
            it.append(petal(x, y, 3, i * 57 + p["n"] * 11, "#f6d2da"))
    elif m == "plum":
        it.append(line("M-2 30 L14 22 L22 26 L38 10", "#3e2f28", 2.6))
        it.append(line("M14 22 L16 8", "#3e2f28", 1.8))
        for x, y in ((8, 26), (20, 25), (16, 10), (32, 14), (40, 6)):
            it.append(blossom(x, y, 5.5, "#fbfbf6", "#d9a030"))
    elif m == "snow":
        for i in range(22):
            x = rng.uniform(4, 164)
            y = rng.uniform(4, 120)
            if 52 < x < 124 and y > 8:
                continue
            it.append(circle(x, y, rng.uniform(1.4, 2.4), "#ffffff", "#9aa3b0", 0.6))
    elif m == "frost":
        for x, y in ((12, 14), (30, 8), (46, 22), (20, 36), (40, 44), (10, 60), (150, 30), (130, 12)):
            it.append(line("M%s %s h6 M%s %s v6" % (fmt(x - 3), fmt(y), fmt(x), fmt(y - 3)), "#7f8ea8", 1.0))
        it.append(kasumi(66, 0, 40, "#e4e3e2"))
    elif m == "mountain":
        it.append(path("M-2 74 C10 56 18 40 30 36 C38 40 44 52 58 60 L62 74 Z", "#a7b795", "#6f7f62", 0.9))
        it.append(path("M20 74 C28 62 36 56 44 54 C50 58 54 66 62 74 Z", "#8ea27d", "#6f7f62", 0.9))
        it.append(kasumi(64, -4, 46, "#ece3c6"))
    elif m == "fuji":
        it.append(path("M-4 76 L24 26 C28 22 32 22 36 26 L64 76 Z", "#7f9cb8", "#4f6b86", 0.9))
        it.append(path("M17 38 L24 26 C28 22 32 22 36 26 L43 38 L38 35 L34 40 L30 34 L25 40 L21 35 Z",
                       "#ffffff", "#4f6b86", 0.7))
        it.append(kasumi(64, -4, 60, "#efe6cc"))
    elif m in ("waves", "boat", "rock"):
        it += distant_sea(m)
    elif m == "river":
        it.append(path("M-4 86 C16 80 30 92 52 86 L52 96 C30 102 16 90 -4 96 Z", "#9cc5d3", "#4e7f95", 0.8))
        for y in (88, 92):
            it.append(line("M0 %s C12 %s 24 %s 40 %s" % (y, y - 3, y + 3, y), "#ffffff", 0.8))
        it.append(kasumi(70, 0, 44, "#e9dfbf"))
    elif m == "pine":
        it.append(line("M-2 8 C14 14 20 26 34 30 C40 32 46 30 54 26", "#4c3a2c", 3.0))
        for x, y in ((12, 10), (30, 28), (50, 20), (20, 20)):
            it.append(ellipse(x, y - 2, 10, 5, "#4f7a4a", "#2f4d2e", 0.8))
            for k in range(-3, 4):
                it.append(line("M%s %s l%s -4" % (fmt(x + k * 2.6), fmt(y), fmt(k * 0.6)), "#2f4d2e", 0.6))
    elif m == "reeds":
        for i, x in enumerate((10, 20, 30, 42)):
            top = 50 + (i * 13) % 22
            it.append(line("M%s 200 C%s 150 %s 100 %s %s" % (x, x + 2, x + 4, x + 2, top), "#8a7a4a", 1.2))
            it.append(path("M%s %s c4 4 6 10 4 18 c-3 -4 -5 -10 -4 -18 Z" % (x + 2, top), "#c7aa72", "#8a7a4a", 0.6))
            it.append(line("M%s %s q-8 -6 -12 -16" % (x + 3, top + 40), "#8a9a5a", 1.0))
    elif m == "grass":
        for i in range(7):
            x = 4 + i * 7
            h = 26 + (i * 11) % 20
            it.append(line("M%s 200 Q%s %s %s %s" % (x, x + 6, 200 - h, x + 12, 200 - h - 8), "#7e8f4a", 1.2))
        for x, y in ((10, 170), (24, 162), (36, 176)):
            it.append(blossom(x, y, 3.6, "#c77ba7", "#8a3a6a"))
    elif m == "dew":
        for i in range(6):
            x = 4 + i * 9
            it.append(line("M%s 200 Q%s 170 %s 150" % (x, x + 8, x + 16), "#8b9a56", 1.1))
        for x, y in ((20, 160), (34, 170), (12, 176), (44, 152)):
            it.append(circle(x, y, 2.2, "#eaf6fb", "#6b96aa", 0.6))
        it.append(kasumi(56, 0, 52, "#e8e0c2"))
    elif m == "bamboo":
        for i, x in enumerate((8, 22, 38)):
            for k in range(4):
                y = 110 + k * 22 + i * 5
                it.append(path("M%s %s q9 -6 18 -4 q-9 6 -18 4 Z" % (x, y), "#7da26a", "#3f6a3a", 0.7))
            it.append(line("M%s 200 V100" % (x - 1), "#5f7f4a", 1.1))
    elif m == "chrys":
        for x, y, r in ((18, 150, 7), (34, 164, 6), (12, 176, 5.5)):
            for k in range(12):
                a = math.radians(k * 30)
                it.append(line("M%s %s L%s %s" % (fmt(x), fmt(y), fmt(x + r * math.cos(a)), fmt(y + r * math.sin(a))),
                               "#d9d2bb", 2.4))
            it.append(circle(x, y, 2.0, "#e0b040", None))
            it.append(line("M%s %s Q%s %s %s 200" % (fmt(x), fmt(y + r), fmt(x + 2), fmt(y + 20), fmt(x + 4)),
                           "#5f7a45", 1.1))
        for x, y in ((16, 20), (36, 34), (150, 40)):
            it.append(line("M%s %s h6 M%s %s v6" % (x - 3, y, x, y - 3), "#8d99ae", 0.9))
    elif m == "deer":
        it.append(kasumi(88, -2, 56, "#ece2c4"))
        it += deer(6, 46)
        for x, y, r in ((46, 18, 20), (14, 12, 40)):
            it.append(maple_leaf(x, y, 5, r, "#c8402f"))
    elif m == "plovers":
        it += distant_sea("plain")
        for x, y in ((10, 18), (26, 10), (40, 24), (22, 32)):
            it.append(path("M%s %s q4 -6 8 -2 q4 -4 8 2 q-4 -2 -8 2 q-4 -4 -8 -2 Z" % (x, y), "#fbfaf4", INK, 0.8))
            it.append(circle(x + 8, y + 0.5, 1.1, INK, None))
    elif m == "mist":
        it.append(kasumi(30, -6, 60, "#e8ddbc"))
        it.append(kasumi(48, 8, 44, "#ede3c6"))
        it.append(kasumi(130, 150, 176, "#e8ddbc"))
    elif m == "clouds":
        for cx, cy in ((22, 30), (40, 22)):
            it.append(path("M%s %s c-6 0 -8 -8 -2 -9 c0 -6 8 -7 10 -3 c3 -5 11 -3 10 3 c6 0 6 9 0 9 Z"
                           % (cx - 8, cy + 4), "#fbfbf8", "#9ca7b5", 0.8))
        it.append(kasumi(52, -4, 48, "#e8dfc4"))
    elif m == "vine":
        it.append(line("M-2 60 C14 52 8 36 22 30 C34 24 30 12 46 8", "#6a5a3a", 1.3))
        for x, y in ((8, 54), (18, 36), (30, 26), (40, 12)):
            it.append(path("M%s %s c5 -5 10 -1 8 4 c-2 4 -7 3 -8 -4 Z" % (x, y), "#6f9450", "#3f5f35", 0.6))
        it.append(circle(26, 44, 2.2, "#b23b3b", None))
        it.append(circle(29, 47, 2.0, "#b23b3b", None))
    elif m == "fire":
        it.append(path("M16 70 C8 60 14 50 20 44 C20 52 26 54 26 46 C32 54 34 62 28 70 Z", "#e9863a", "#a0462a", 0.8))
        it.append(path("M19 70 C16 64 19 58 22 55 C23 60 26 62 26 70 Z", "#f6d064", None))
        it.append(line("M12 72 H34", "#5a4032", 2.0))
        for x, y in ((40, 14), (14, 20), (54, 30)):
            it.append(circle(x, y, 1.2, "#b7a870", None))
    elif m == "waterfall":
        it.append(path("M10 -2 H34 V128 H10 Z", "#cfe3ea", "#6a8fa0", 0.8))
        for x in (15, 21, 27):
            it.append(line("M%s 0 V126" % x, "#ffffff", 1.2))
        it.append(path("M2 122 Q22 112 42 122 Q22 132 2 122 Z", "#eaf3f5", "#6a8fa0", 0.8))
    elif m == "rice":
        for i in range(5):
            x = 6 + i * 8
            it.append(line("M%s 200 Q%s 160 %s 140" % (x, x + 2, x + 12), "#9a8a48", 1.1))
            for k in range(4):
                it.append(ellipse(x + 10 + k * 1.2, 143 + k * 4, 1.6, 2.6, "#d9b248", None))
        it.append(path("M4 80 L26 62 L48 80 Z", "#b59a6c", "#6e5a3e", 0.9))
        it.append(path("M8 80 H44 V96 H8 Z", "#d4c39a", "#6e5a3e", 0.9))
    return it


def distant_sea(kind):
    """A patch of sea seen far off, framed by mist bands."""
    it = [path("M-4 44 C16 40 40 42 66 46 L66 86 L-4 86 Z", "#8fb3c8", None)]
    for row in range(5):
        for k in range(7):
            cx = -4 + k * 11 + (5.5 if row % 2 else 0)
            cy = 52 + row * 7
            for r, c in ((6, "#eef4f5"), (4, "#8fb3c8"), (2, "#eef4f5")):
                it.append(path("M%s %s A%s %s 0 0 1 %s %s Z" % (fmt(cx - r), fmt(cy), fmt(r), fmt(r), fmt(cx + r),
                                                                 fmt(cy)), c, "#46728e", 0.45))
    if kind == "boat":
        it.append(path("M14 58 L40 58 L36 64 L18 64 Z", "#8a6040", INK, 0.8))
        it.append(line("M27 58 V44", "#5a4030", 1.0))
        it.append(line("M30 46 L34 52", "#5a4030", 0.8))
    elif kind == "rock":
        it.append(path("M20 66 C22 56 30 52 36 56 C40 54 46 58 46 66 Z", "#6d6a64", INK, 0.8))
    elif kind == "pine":
        it.append(path("M30 60 C36 52 48 52 54 60 Z", "#8a8a70", INK, 0.7))
    it.append(kasumi(38, -6, 60, "#ece3c8"))
    it.append(kasumi(82, 0, 70, "#ece3c8"))
    return it


def deer(x, y):
    c, lc = "#a7713f", INK
    it = []
    it.append(line("M%s %s l-2 16 M%s %s l1 16 M%s %s l-1 16 M%s %s l2 16" % (
        x + 6, y + 18, x + 10, y + 18, x + 26, y + 18, x + 30, y + 18), lc, 1.3))
    it.append(path("M%s %s C%s %s %s %s %s %s C%s %s %s %s %s %s Z" % (
        x + 4, y + 14, x + 6, y + 6, x + 28, y + 6, x + 34, y + 12,
        x + 34, y + 22, x + 6, y + 24, x + 4, y + 14), c, lc, 0.9))
    it.append(path("M%s %s L%s %s L%s %s L%s %s Z" % (x + 6, y + 12, x + 2, y, x + 6, y - 2, x + 12, y + 10),
                   c, lc, 0.9))
    it.append(path("M%s %s l-7 2 l1 -4 Z" % (x + 3, y), c, lc, 0.8))
    it.append(line("M%s %s l-1 -8 l-3 -3 M%s %s l3 -4 M%s %s l4 -6" % (
        x + 4, y - 1, x + 3, y - 8, x + 5, y - 3), "#5a3a20", 1.0))
    for dx, dy in ((12, 12), (18, 11), (24, 13), (16, 16)):
        it.append(circle(x + dx, y + dy, 1.0, "#f1e4c8", None))
    return it


# --------------------------------------------------------------------------
# Heads
# --------------------------------------------------------------------------
FACE = ("M69 57 C67 64 66 70 67 75 C67 79 68 82 70 85 C73 90 77 93 82 93 "
        "C90 93 97 88 99.5 80 C101 73 101 64 100 57 Z")


# the same face closed with a rounded brow, for heads framed by a hood
FACE_ROUND = FACE.replace("M69 57 C", "M100 57 C92 44 77 44 69 57 C")


def face_features(p, kind):
    it = []
    closed = p.get("blind")
    # eyes: thin slits in the old court manner
    if closed:
        it.append(line("M70 73 Q72.5 74 75 73", INK, 1.5))
        it.append(line("M80 73 Q84 74.5 88 73", INK, 1.5))
    else:
        it.append(line("M70 72.2 Q72.5 71 75.2 72.4", INK, 1.8))
        it.append(line("M80 72.2 Q84 70.6 88.4 72.4", INK, 1.8))
        it.append(ellipse(73, 72.6, 1.1, 1.2, INK, None))
        it.append(ellipse(84.6, 72.5, 1.3, 1.3, INK, None))
    if kind == "woman":
        it.append(ellipse(72.5, 62.5, 2.6, 1.4, "#4a4448", None, extra=' opacity="0.8"'))
        it.append(ellipse(86, 61.8, 3.4, 1.6, "#4a4448", None, extra=' opacity="0.8"'))
    else:
        bc = "#e8e4e0" if p["age"] == "old" and kind == "monk" else INK
        it.append(line("M69.6 67 Q72.5 65.2 75.8 66.2", bc, 1.6))
        it.append(line("M79.8 66 Q84 63.6 88.8 65.6", bc, 1.8))
    it.append(line("M76.8 73.5 Q75.6 78.5 73.8 80.2 Q75.6 81.2 77.6 80.2", SKIN_LINE, 1.1))
    lip = "#c0363c" if kind == "woman" else "#b24a44"
    if kind == "woman":
        it.append(ellipse(76.6, 86, 1.9, 1.2, lip, None))
    else:
        it.append(line("M74.8 85.8 Q77.2 86.6 79.8 85.6", lip, 1.7))
    if kind == "woman" or p.get("young"):
        it.append(ellipse(89.5, 79.5, 3.4, 2.0, "#f0b8b0", None, extra=' opacity="0.7"'))
        it.append(ellipse(70.5, 79.5, 1.8, 1.6, "#f0b8b0", None, extra=' opacity="0.6"'))
    if p["age"] == "old":
        it.append(line("M86 78 Q89 81 88 84", SKIN_LINE, 0.7))
        it.append(line("M71 69 Q72.5 69.8 74 69.2", SKIN_LINE, 0.6))
    return it


def beard(p):
    b = p["beard"]
    col = "#d8d6d2" if p["age"] == "old" and p["n"] in (5, 34, 42, 75, 83) else "#2d2a2c"
    ln = "#7a7670" if col != "#2d2a2c" else INK
    it = []
    if b in ("mous", "chin", "full"):
        it.append(path("M72.4 83.8 C74 82 77 82 78 83 C80 82 83 82 85 84 C82 84 79.5 84.6 78 84.4 "
                       "C76.5 84.6 74.5 84.4 72.4 83.8 Z", col, ln, 0.6))
    if b == "chin":
        it.append(path("M76 90 C77 92 78 97 80 99 C81 96 82 92 83 90 Z", col, ln, 0.6))
    if b == "full":
        it.append(path("M69 82 C70 88 74 93 77 101 C79 104 81 104 82 101 C86 96 92 92 97 86 "
                       "C94 90 88 93 82 93 C77 93 72 89 69 82 Z", col, ln, 0.7))
        it.append(path("M75 92 C77 97 79 104 80 106 C82 103 84 98 86 92 Z", col, ln, 0.7))
    return it


def skin_head():
    return [path(FACE, SKIN, INK, LW),
            path("M99 65 C104 64 105.5 71 103.4 76 C102.4 78 100.4 78.4 99.2 77 Z", SKIN, INK, 1.2),
            line("M100.4 68 Q102.4 70 101 74", SKIN_LINE, 0.7)]


def kanmuri(p):
    """Court crown: low black cap, the raised knot behind, and its tail."""
    back, front = [], []
    if p["emperor"]:
        # the sovereign's tail stands straight up
        back.append(path("M94.5 38 C95.4 32 96 26 97 19 C99 17.6 102.6 17.6 104.6 19 C104 26 103.4 32 102.6 38 Z",
                         "#3a3944", INK, 1.2))
        back.append(line("M98.6 36 L100.6 21", "#6a6a7c", 0.8))
    else:
        # a broad stiff tail arching back and down behind the shoulders
        back.append(path("M98 33 C110 29 121 33 125 46 L129.6 112 L122.4 112 L117.6 50 C115.6 43 108 40 100 41 Z",
                         "#3a3944", INK, 1.2))
        back.append(line("M100.6 36 C110 33.4 117.6 36.4 120.8 47 L125.4 110", "#6a6a7c", 0.7))
    if p.get("oikake"):
        # fan-shaped ear guards worn by officers of the guards
        for cx, sx in ((67, -1), (102, 1)):
            d = "M%s 55 C%s 46 %s 52 %s 64 Z" % (cx, cx + sx * 14, cx + sx * 16, cx + sx * 2)
            back.append(path(d, "#3b352e", INK, 0.9))
            back.append(line("M%s 56 L%s 50 M%s 57 L%s 57 M%s 58 L%s 63" % (
                cx, cx + sx * 11, cx, cx + sx * 13, cx, cx + sx * 9), "#7a6a55", 0.6))
    front.append(path("M66.5 59.5 C66 52 67.5 47 71.5 44.6 C75 43 80 42.4 85 42.4 C95 42.4 101.6 47 102.4 59 "
                      "C92 56.6 77 56.8 66.5 59.5 Z", BLACK_CLOTH, INK, LW))
    front.append(line("M67.4 57 C78 54.2 92 54.2 101.8 56.2", "#5c5c6c", 1.0))
    front.append(path("M86 44 C85.6 35 88 29.5 94 29.5 C100 29.5 102.6 35 102.2 46 Z", BLACK_CLOTH, INK, LW))
    front.append(line("M88.6 43 C88.6 36 90.4 32.4 94 32.2", "#5c5c6c", 0.8))
    front.append(line("M70.5 50 C74 46.5 79 45.4 85 45.2", "#5c5c6c", 0.8))
    front.append(line("M83 38.5 L108 36.4", "#9a9aa6", 1.1))  # hairpin through the knot
    return back, front


def eboshi(p):
    """Tall lacquered cap; the bent tip and creases keep it from reading as a hat of cloth."""
    it = [path("M66.6 60 C66.4 47 69.4 34 75 22 C78 15.6 79 11.6 77.4 7.6 C86 5 96 5.6 101.4 9.6 "
               "C104.4 18 104.4 36 102.3 59.5 C92 57 78 57.4 66.6 60 Z", BLACK_CLOTH, INK, LW)]
    it.append(line("M77.4 7.8 C82 11 86 14 88 19", "#5c5c6c", 0.9))
    it.append(line("M74 26 C82 23 92 22.6 102.8 24", "#5c5c6c", 0.9))
    it.append(line("M70 40 C78 37 90 36.4 103 37.6", "#5c5c6c", 0.9))
    it.append(line("M68 53 C78 50.4 91 50 102.6 51.4", "#5c5c6c", 0.8))
    return it


def head_noble(p):
    it = []
    back, front = kanmuri(p) if p["cap"] == "kanmuri" else ([], eboshi(p))
    it += back
    it += skin_head()
    # sidelock under the cap
    it.append(path("M95 57 L101 57 C101.5 61 101 64 99.5 66 C98 62 96.5 59.5 95 57 Z", "#1f1c1e", INK, 0.8))
    it += face_features(p, "noble")
    it += beard(p)
    it += front
    return it


HOOD_WHITE, HOOD_DARK = "#f3f1ea", "#47424f"


def head_monk(p):
    it = []
    hood = p["hood"]
    col = HOOD_WHITE if hood == "white" else HOOD_DARK
    if hood in ("white", "dark"):
        # cowl wrapped round the head and falling onto the shoulders
        it.append(path("M61 70 C58 48 70 35 85 35 C100 35 111 47 108 70 L116 114 C100 120 70 120 54 112 Z",
                       col, INK, LW))
        it.append(line("M106 74 L112 110 M64 80 L60 108", fold_of(col), 0.9))
    it += skin_head() if hood in ("none", "semimaru") else [path(FACE_ROUND, SKIN, INK, LW)]
    if hood == "none":
        # shaved crown, a shade cooler than the face
        it.append(path("M67.6 62 C66 50 73 42.5 84 42.2 C95 42 101.5 49 101 60 L100 62 C96 60 90 59 84 59 "
                       "C78 59 72 60 67.6 62 Z", SKIN, None))
        it.append(path("M71 53 C74 48 79 45.6 84 45.4 C91 45.2 96 48 98 52.4 C94 50.4 89 49.6 84 49.6 "
                       "C78.6 49.6 74.4 50.8 71 53 Z", mix(SKIN, "#a9b8c8", 0.16), None))
        it.append(line("M67.6 62 C66 50 73 42.5 84 42.2 C95 42 101.5 49 100.6 62", INK, LW))
    elif hood in ("white", "dark"):
        it.append(path("M66 64 C64 50 72 41 84 41 C96 41 103.6 50 101.4 64 C101 51 94 45.6 84 45.6 "
                       "C74 45.6 68 51 66 64 Z", col, INK, 1.0))
    elif hood == "semimaru":
        # soft cap of a wandering musician
        it.append(path("M66 60 C64.6 47 72 38 85 37.4 C97 37 104 44 103 60 C94 57 78 57 66 60 Z",
                       "#6a5440", INK, LW))
        it.append(path("M85 37.6 C90 30 98 30 100 36 C96 36 90 37 85 37.6 Z", "#6a5440", INK, 1.0))
        it.append(line("M68 54 C78 51 92 51 102.4 53.4", "#a08a6a", 0.9))
    it += face_features(p, "monk")
    it += beard(p)
    return it


def head_woman(p):
    it = []
    hair = "#1c191c"
    # hair crown with the centre parting
    it += [path(FACE, SKIN, INK, LW)]
    it += face_features(p, "woman")
    it.append(path("M66 84 C62 70 62 54 70 46 C76 40 84 38.5 91 39.5 C103 41 110 52 110 66 C110 76 108 88 104 98 "
                   "C102 86 101 72 100.4 60 C97 53 92 50.5 86 49.6 C80 52 74 54 69.4 58 C68 68 67 76 66 84 Z",
                   hair, INK, LW))
    it.append(line("M86 42 C86.6 45 86.4 47.5 86 49.6", "#4a464c", 0.8))
    if p.get("empress") or p.get("princess"):
        # gilt crown ornament
        it.append(path("M72 46 L76 36 L80 42 L85 32 L90 42 L94 36 L98 46 C90 43 80 43 72 46 Z",
                       "#d9b347", INK, 1.0))
        it.append(circle(85, 38, 1.6, "#c23f3a", None))
    return it


# --------------------------------------------------------------------------
# Hands and the things they hold
# --------------------------------------------------------------------------
def hand(x, y, s=1.0, rot=0):
    d = "M-4 -2.6 C-1 -4.4 3.4 -4 4.6 -1.4 C5.4 0.8 4 3.4 0.6 3.6 C-2.4 3.8 -4.6 2.4 -5 0.4 Z"
    return path(d, SKIN, INK, 1.1, ' transform="translate(%s %s) rotate(%s) scale(%s)"' % (
        fmt(x), fmt(y), fmt(rot), fmt(s)))


# Where the hands come out of the sleeves: (far wrist, near wrist).
POSES = {
    "centre": ((77, 141), (91, 141)),
    "near_up": ((76, 154), (95, 118)),
    "far_up": ((71, 121), (92, 154)),
    "low": ((76, 162), (92, 162)),
    "hidden": ((82, 142), (88, 142)),
}


def pose_for(p):
    h, n = p["hold"], p["n"]
    if h in ("shaku", "beads", "scroll"):
        return "centre" if h != "scroll" or n % 2 else "low"
    if h in ("fan", "openfan", "flower"):
        return "near_up" if (n // 2) % 2 else "far_up"
    if h in ("fanface",):
        return "near_up"
    if h in ("brush", "staff", "biwa"):
        return "far_up"
    if h == "none":
        return "hidden" if p["cat"] == 2 else "low"
    return "centre"


def fan_closed(x, y, rot):
    """A folded court fan of thin slats, tied with coloured cords."""
    return [group([path("M-1.8 0 L1.8 0 L4 -30 L-4 -30 Z", "#ecdcb4", INK, 1.0),
                   line("M0 -2 L0 -29 M-2 -4 L-3 -28 M2 -4 L3 -28", "#b8a47a", 0.5),
                   line("M3.6 -29 C9 -26 10 -16 7 -8", "#c8383a", 1.0),
                   line("M3.6 -29 C10 -30 13 -22 12 -12", "#3f7a5a", 1.0)],
                  "translate(%s %s) rotate(%s)" % (fmt(x), fmt(y), fmt(rot)))]


def fan_open(x, y, rot, r=22):
    return [group([
        path("M0 0 L%s %s A%s %s 0 0 1 %s %s Z" % (fmt(-r * 0.87), fmt(-r * 0.5), r, r, fmt(r * 0.17), fmt(-r)),
             "#f1e6c8", INK, 1.0),
        path("M0 0 L%s %s A%s %s 0 0 1 %s %s Z" % (fmt(-r * 0.65), fmt(-r * 0.37), fmt(r * 0.75), fmt(r * 0.75),
                                                   fmt(r * 0.13), fmt(-r * 0.75)), "#d04a4a", None),
        path("M0 0 L%s %s A%s %s 0 0 1 %s %s Z" % (fmt(-r * 0.4), fmt(-r * 0.23), fmt(r * 0.46), fmt(r * 0.46),
                                                   fmt(r * 0.08), fmt(-r * 0.46)), "#3f7a5a", None),
        circle(-r * 0.3, -r * 0.78, r * 0.14, "#e8c24a", None),
        line("M0 0 L%s %s M0 0 L%s %s M0 0 L%s %s" % (fmt(-r * 0.87), fmt(-r * 0.5), fmt(r * 0.17), fmt(-r),
                                                     fmt(-r * 0.42), fmt(-r * 0.9)), INK, 0.6),
        line("M%s %s C%s %s %s %s %s %s" % (fmt(-r * 0.87), fmt(-r * 0.5), fmt(-r * 1.1), fmt(-r * 0.1),
                                             fmt(-r), fmt(r * 0.4), fmt(-r * 0.7), fmt(r * 0.5)), "#d04a4a", 0.8)],
        "translate(%s %s) rotate(%s)" % (fmt(x), fmt(y), fmt(rot)))]


def held(p, kind, far, near):
    """Hands at the wrists plus whatever they hold."""
    h = p["hold"]
    (fx, fy), (nx, ny) = far, near
    fh = (fx + 3.4, fy + 1.6)
    nh = (nx - 3.4, ny + 1.6)
    up, low = (fh, nh) if fy < ny else (nh, fh)
    it = []
    if h == "shaku":
        mx = (fh[0] + nh[0]) / 2
        it.append(path("M%s 106 C%s 104.6 %s 104.6 %s 106 L%s 160 C%s 161.6 %s 161.6 %s 160 Z" % (
            fmt(mx - 3.2), fmt(mx - 2.2), fmt(mx + 1.2), fmt(mx + 2.2), fmt(mx + 0.6), fmt(mx + 0.2),
            fmt(mx - 2.2), fmt(mx - 2.6)), "#e3d2a6", INK, 1.1))
        it.append(hand(mx - 0.6, 137, 1.1, -10))
        it.append(hand(mx, 144, 1.1, 6))
    elif h == "fan":
        it += fan_closed(up[0] - 1, up[1] - 1, -60 if up is nh else -35)
        it.append(hand(up[0], up[1], 1.1, -30))
        it.append(hand(low[0], low[1], 1.1, 0))
    elif h == "openfan":
        it += fan_open(up[0] - 3, up[1] + 1, -30, 24)
        it.append(hand(up[0], up[1], 1.1, -30))
        it.append(hand(low[0], low[1], 1.1, 0))
    elif h == "scroll":
        mx, my = (fh[0] + nh[0]) / 2, (fh[1] + nh[1]) / 2 - 4
        if fy > 150:  # opened on the lap and read
            it.append(path("M%s %s L%s %s L%s %s L%s %s Z" % (fmt(mx - 20), fmt(my - 6), fmt(mx + 18), fmt(my - 9),
                                                              fmt(mx + 19), fmt(my + 3), fmt(mx - 19), fmt(my + 6)),
                           "#f3ecd6", INK, 1.0))
            for k in range(5):
                xx = mx - 12 + k * 6
                it.append(line("M%s %s L%s %s" % (fmt(xx), fmt(my - 5 - k * 0.4), fmt(xx + 0.3), fmt(my + 2 - k * 0.4)),
                               "#5a5048", 0.6))
            for xx, yy in ((mx - 20, my), (mx + 19, my - 3)):
                it.append(ellipse(xx, yy, 2.4, 6.2, "#c8a448", INK, 0.8))
            it.append(hand(mx - 20, my + 4, 1.1, 10))
            it.append(hand(mx + 18, my + 1, 1.1, -10))
        else:
            it.append(path("M%s %s L%s %s L%s %s L%s %s Z" % (fmt(mx - 14), fmt(my + 4), fmt(mx + 14), fmt(my - 4),
                                                              fmt(mx + 16), fmt(my + 3), fmt(mx - 12), fmt(my + 11)),
                           "#f1ead2", INK, 1.0))
            for xx, yy in ((mx - 13, my + 7.5), (mx + 15, my - 0.5)):
                it.append(ellipse(xx, yy, 2.5, 3.8, "#c8a448", INK, 0.8,
                                  ' transform="rotate(-16 %s %s)"' % (fmt(xx), fmt(yy))))
            it.append(hand(fh[0], fh[1] + 1, 1.1, 0))
            it.append(hand(nh[0], nh[1] - 2, 1.1, -16))
    elif h == "brush":
        # raised brush over a poem card (tanzaku) held low
        card = "#e9d6ee" if kind == "woman" else "#dbe6f0"
        tx, ty = low
        it.append(path("M%s %s L%s %s L%s %s L%s %s Z" % (fmt(tx - 12), fmt(ty - 40), fmt(tx - 2), fmt(ty - 42),
                                                          fmt(tx + 3), fmt(ty + 2), fmt(tx - 7), fmt(ty + 4)),
                       card, INK, 1.0))
        for k in range(3):  # a line of writing and gold flecks
            it.append(line("M%s %s l0.6 5" % (fmt(tx - 7 + k * 0.5), fmt(ty - 34 + k * 8)), "#3a3430", 0.9))
        it.append(circle(tx - 9, ty - 36, 1.0, "#c9a640", None))
        it.append(circle(tx - 3, ty - 8, 1.0, "#c9a640", None))
        bx, by = up
        it.append(line("M%s %s L%s %s" % (fmt(bx + 1), fmt(by + 4), fmt(bx - 7), fmt(by - 20)), "#6a4530", 2.0))
        it.append(path("M%s %s C%s %s %s %s %s %s C%s %s %s %s %s %s Z" % (
            fmt(bx - 8.8), fmt(by - 19.4), fmt(bx - 10.6), fmt(by - 23), fmt(bx - 10.4), fmt(by - 26), fmt(bx - 10.4),
            fmt(by - 28), fmt(bx - 8), fmt(by - 25), fmt(bx - 6), fmt(by - 23), fmt(bx - 5.4), fmt(by - 20.6)),
            INK, INK, 0.6))
        it.append(hand(bx, by, 1.1, -30))
        it.append(hand(tx, ty, 1.1, 10))
    elif h == "flower":
        bx, by = up
        tip = (bx - 18, by - 30)
        it.append(line("M%s %s C%s %s %s %s %s %s" % (fmt(bx), fmt(by), fmt(bx - 4), fmt(by - 12),
                                                      fmt(tip[0] + 6), fmt(tip[1] + 10), fmt(tip[0]), fmt(tip[1])),
                       "#4a3628", 1.5))
        it.append(line("M%s %s l-8 -1" % (fmt(bx - 8), fmt(by - 18)), "#4a3628", 1.0))
        spots = ((tip[0], tip[1]), (bx - 16, by - 19), (bx - 6, by - 22))
        for xx, yy in spots:
            if p["motif"] == "chrys":
                it.append(circle(xx, yy, 3.8, "#f4f0e4", "#a89c7a", 0.6))
                it.append(circle(xx, yy, 1.4, "#e0b040", None))
            else:
                it.append(blossom(xx, yy, 4.6, "#f7d7de"))
        it.append(hand(bx, by, 1.1, -20))
        it.append(hand(low[0], low[1], 1.1, 0))
    elif h == "beads":
        mx, my = (fh[0] + nh[0]) / 2, (fh[1] + nh[1]) / 2
        it.append(hand(mx - 2, my - 4, 1.1, -15))
        it.append(hand(mx + 3, my + 1, 1.1, 15))
        for k in range(14):
            a = math.radians(k * 360 / 14)
            it.append(circle(mx + 6 * math.sin(a), my + 10 + 9 * math.cos(a), 1.4, "#4a2a22", None))
        it.append(path("M%s %s l-2 8 l6 0 l-2 -8 Z" % (fmt(mx - 1), fmt(my + 18)), "#e0c36a", INK, 0.6))
    elif h == "staff":
        # slanted out past the face, through the raised hand, to the floor
        top = (50.0, 62.0)
        k = (212 - top[1]) / (fh[1] - top[1])
        foot = (top[0] + (fh[0] - top[0]) * k, 212)
        d = "M%s %s L%s %s" % (fmt(top[0]), fmt(top[1]), fmt(foot[0]), fmt(foot[1]))
        it.append(line(d, INK, 3.6))
        it.append(line(d, "#7a5434", 2.2))
        it.append(circle(top[0] - 0.6, top[1] - 3, 3.2, "none", "#b09a5a", 1.3))
        it.append(hand(fh[0], fh[1], 1.15, 60))
        it.append(hand(nh[0], nh[1], 1.1, 0))
    elif h == "biwa":
        it.append(group([
            path("M-13 0 C-13 -11 -7 -18 0 -18 C7 -18 13 -11 13 0 C13 13 7 20 0 20 C-7 20 -13 13 -13 0 Z",
                 "#9a5a2a", INK, 1.2),
            path("M-3 -18 L-2.4 -38 L2.4 -38 L3 -18 Z", "#7a4420", INK, 1.0),
            path("M-2.4 -38 L-6 -47 L-2 -49 L2.4 -38 Z", "#5a3018", INK, 0.9),
            path("M-9 7 L9 7 L9 10 L-9 10 Z", "#3a2416", None),
            line("M-1.5 -37 L-1.5 8 M1.5 -37 L1.5 8", "#f0e2c0", 0.5),
            ellipse(-5.5, -4, 2, 3.2, "#3a2416", None), ellipse(5.5, -4, 2, 3.2, "#3a2416", None)],
            "translate(86 150) rotate(-38)"))
        it.append(hand(fh[0], fh[1], 1.1, -30))
        it.append(path("M%s %s l9 -5 l1.4 3 l-9 5 Z" % (fmt(nh[0] + 1), fmt(nh[1] - 2)), "#e8d4a0", INK, 0.7))
        it.append(hand(nh[0], nh[1], 1.1, 10))
    elif h == "fanface":
        it += fan_open(nh[0] - 4, nh[1] - 6, -12, 22)
        it.append(hand(nh[0] - 4, nh[1] - 5, 1.1, -40))
    elif h == "none" and kind != "woman":
        it.append(hand(fh[0], fh[1], 1.1, -5))
        it.append(hand(nh[0], nh[1], 1.1, 10))
    return it


# --------------------------------------------------------------------------
# Bodies (all facing left)
# --------------------------------------------------------------------------
TORSO = "M72 94 C62 98 56 102 52 110 L46 182 L128 182 L120 108 C115 100 106 97 96 94 Z"
LAP = "M10 222 C8 206 20 190 42 184 L124 184 C144 190 157 206 157 222 C120 229 46 229 10 222 Z"



def cuff_layers(colours, top, bottom, near, step=1.7, spread=1.0):
    """Edges of the under-robes showing along a sleeve opening."""
    it = []
    (x0, y0), (x1, y1) = top, bottom
    sign = 1 if near else -1
    for i, c in enumerate(colours):
        o = sign * (len(colours) - i) * step * spread
        o0 = o * (0.5 if spread != 1.0 else 1.0)
        it.append(path("M%s %s L%s %s L%s %s L%s %s Z" % (fmt(x0), fmt(y0), fmt(x0 + o0), fmt(y0), fmt(x1 + o),
                                                          fmt(y1), fmt(x1), fmt(y1)), c, INK, 0.5))
    return it


def body_noble(p, defs):
    it = []
    robe, fold = p["robe"], fold_of(p["robe"])
    robe_fill = defs.pattern(p["pattern"], robe, mix(robe, "#ffffff", 0.22) if fold_of(robe) != robe else robe) \
        if p["pattern"] != "plain" else robe
    if p["dress"] == "sokutai":
        # trailing train behind the seated figure
        it.append(path("M116 198 C134 204 150 206 172 206 L172 222 C150 222 132 220 118 214 Z",
                       p["train"], INK, 1.2))
        it.append(line("M124 208 C140 212 154 213 172 213", fold_of(p["train"]), 0.7))
    lap_col = robe if p["dress"] == "sokutai" else p["hakama"]
    lap_fill = robe_fill if p["dress"] == "sokutai" else defs.pattern(p["hakama_pat"], lap_col,
                                                                      mix(lap_col, "#ffffff", 0.35))
    it.append(path(LAP, lap_fill, INK, LW))
    if p["dress"] == "sokutai":
        it.append(line("M18 214 C50 219 118 219 150 214", fold, 1.0))  # the hem band (ran)
    else:
        it.append(line("M40 196 C46 206 44 216 40 224", fold_of(lap_col), 0.9))
        it.append(line("M128 196 C122 206 124 216 128 224", fold_of(lap_col), 0.9))
    it.append(path(TORSO, robe_fill, INK, LW))
    # collar opening, white under-collar
    it.append(path("M74 94 C78 101 90 101 95 94 C92 92 78 92 74 94 Z", "#f5f2ea", INK, 1.0))
    it.append(path("M72 94 C76 104 92 104 97 94 L98.4 97 C94 108 74 108 70.6 97 Z", robe_fill, INK, 1.2))
    inner = p["inner"]
    (fx, fy), (nx, ny) = POSES[p["pose"]]
    # formal dress has the stiffest, widest sleeves
    sp = {"sokutai": 0, "noshi": 4, "kariginu": 7}[p["dress"]]
    far = "M56 106 C%s 124 %s 160 %s 200 Q46 208 %s 203 L%s %s C%s %s 65 115 56 106 Z" % (
        fmt(46 + sp * 0.3), fmt(36 + sp * 0.6), fmt(25 + sp), fmt(fx - 8), fmt(fx), fmt(fy), fmt(fx - 4), fmt(fy - 12))
    near = "M114 104 C%s 122 %s 160 %s 200 Q128 210 %s 204 L%s %s C%s %s 105 113 114 104 Z" % (
        fmt(128 - sp * 0.3), fmt(142 - sp * 0.6), fmt(152 - sp), fmt(nx + 8), fmt(nx), fmt(ny), fmt(nx + 4),
        fmt(ny - 12))
    it.append(path(far, robe_fill, INK, LW))
    it += cuff_layers(inner, (fx, fy), (fx - 8, 203), False)
    it.append(path(near, robe_fill, INK, LW))
    it += cuff_layers(inner, (nx, ny), (nx + 8, 204), True)
    # creases that keep the big sleeves from reading as flat triangles
    it.append(line("M52 130 C48 150 44 174 42 203", fold, 1.0))
    it.append(line("M119 126 C125 150 131 176 134 206", fold, 1.0))
    it.append(line("M60 150 C58 170 57 188 57 205", fold, 0.8))
    if p["dress"] == "kariginu":
        # sleeve cords of the hunting robe
        for x0, y0, x1, y1 in ((fx - 8, 203, 25 + sp, 200), (nx + 8, 203, 152 - sp, 200)):
            it.append(line("M%s %s Q%s %s %s %s" % (x0, y0 - 2, (x0 + x1) / 2, y0 + 4, x1, y1 - 2),
                           p["cord"], 1.3, ' stroke-dasharray="2 2.4"'))
        it.append(path("M%s %s l-3 6 l3 2 l3 -2 Z" % (fmt(fx - 2), fmt(fy - 16)), p["cord"], INK, 0.5))
    return it


M_LAP = "M14 222 C12 206 24 192 44 186 L124 186 C142 192 156 206 154 222 C120 228 48 228 14 222 Z"
KESA_SHAPE = "M93 95 L110 99 L122 110 L127 136 L104 168 L56 192 L50 166 L78 122 Z"


def body_monk(p, defs):
    it = []
    robe, fold = p["robe"], fold_of(p["robe"])
    it.append(path(M_LAP, robe, INK, LW))
    it.append(line("M40 198 C48 207 46 216 42 224", fold, 0.9))
    it.append(line("M128 198 C120 207 122 216 126 224", fold, 0.9))
    it.append(path(TORSO, robe, INK, LW))
    # crossed collar over a white under-robe
    it.append(path("M74 93 L85 112 L96 93 C90 91 80 91 74 93 Z", "#f5f2ea", INK, 1.0))
    it.append(path("M72 94 L85 116 L99 95 L101 98 L85 124 L69 97 Z", robe, INK, 1.0))
    (fx, fy), (nx, ny) = POSES[p["pose"]]
    m_near = "M112 103 C125 118 134 150 140 197 C129 207 110 207 %s 201 L%s %s C%s %s 104 116 112 103 Z" % (
        fmt(nx + 8), fmt(nx), fmt(ny), fmt(nx + 6), fmt(ny - 15))
    m_far = "M58 104 C48 118 40 150 33 197 C44 207 60 207 %s 201 L%s %s C%s %s 66 116 58 104 Z" % (
        fmt(fx - 6), fmt(fx), fmt(fy), fmt(fx - 6), fmt(fy - 15))
    under = mix(robe, "#f2efe6", 0.55)
    it.append(path(m_near, robe, INK, LW))
    it += cuff_layers([under], (nx, ny), (nx + 8, 201), True, 2.4)
    it.append(line("M119 124 C126 150 131 174 133 202", fold, 1.0))
    if p["kesa"]:
        # patchwork stole over the near shoulder, passing under the far arm
        kd = mix(p["kesa"], INK, 0.42)
        fill = defs.pattern("patch", p["kesa"], kd, transform="rotate(-38)")
        it.append(path(KESA_SHAPE, fill, INK, 1.3))

        it.append(circle(108, 112, 3.2, "none", "#e2c15a", 1.6))
        it.append(circle(108, 112, 3.2, "none", INK, 0.5))
    it.append(path(m_far, robe, INK, LW))
    it += cuff_layers([under], (fx, fy), (fx - 6, 201), False, 2.4)
    it.append(line("M54 128 C49 150 45 174 43 202", fold, 1.0))
    return it


W_ROBE = ("M80 95 C64 100 52 110 45 130 C36 160 22 194 6 224 L162 225 C150 194 138 160 128 130 "
          "C120 110 106 100 90 95 Z")
W_JACKET = ("M80 95 C64 100 52 110 45 130 C37 156 26 186 14 212 L156 213 C144 186 135 158 128 130 "
            "C120 110 106 100 90 95 Z")


def raised_sleeve(p, defs):
    """Sleeve lifted to hide a tearful face, laid over the head."""
    outer = p["robe"]
    fill = defs.pattern(p["pattern"], outer, mix(outer, "#ffffff", 0.3)) if p["pattern"] != "plain" else outer
    it = [path("M67 84 L99 88 L113 104 C119 116 120 132 114 146 C104 157 87 157 79 147 C72 132 67 110 67 84 Z",
               fill, INK, LW)]
    for i, c in enumerate(p["layers"]):
        o = (len(p["layers"]) - i) * 2.0
        it.append(path("M68 83 L99 88 L%s %s L68 %s Z" % (fmt(99 - o * 0.3), fmt(88 + o), fmt(83 + o)), c, INK, 0.5))
    it.append(line("M104 104 C110 118 111 132 106 146", fold_of(outer), 0.9))
    return it


def body_woman(p, defs):
    it = []
    hair = "#1c191c"
    layers = p["layers"]
    # train (mo) and the hair pooled behind on the floor
    it.append(path("M112 200 C130 206 152 206 174 204 L174 232 C150 234 128 230 112 222 Z", "#f4f1e8", INK, 1.2))
    for k in range(4):
        it.append(line("M%s 206 L%s 230" % (126 + k * 12, 128 + k * 12), "#cfc8b8", 0.8))
    # the hair falls down the back, wider than the shoulders, to the floor
    it.append(path("M92 46 C106 48 112 60 113 76 C116 100 126 130 140 160 C150 182 158 200 172 210 L172 218 "
                   "C150 220 130 214 118 204 C108 170 100 130 98 100 Z", hair, INK, LW))
    it.append(line("M112 90 C118 120 130 156 148 190", "#4a464e", 0.8))
    it.append(line("M108 110 C114 140 122 170 136 200", "#4a464e", 0.7))
    # inner robes are each a little longer, so their hems stack under the outer one
    inner = layers[1:]
    for k in range(len(inner) - 1, -1, -1):
        h = 224 + (k + 1) * 1.9
        it.append(path("M%s 222 L%s 223 L%s %s L%s %s Z" % (fmt(5 - k), fmt(163 + k), fmt(163 + k), fmt(h + 1),
                                                            fmt(5 - k), fmt(h)), inner[k], INK, 0.5))
    outer = p["robe"]
    outer_fill = defs.pattern(p["pattern"], outer, mix(outer, "#ffffff", 0.3)) if p["pattern"] != "plain" else outer
    it.append(path(W_ROBE, layers[0], INK, LW))
    it.append(path(W_JACKET, outer_fill, INK, LW))
    # layered collar: each layer a V-band
    cols = [outer] + layers
    for i, c in enumerate(cols):
        o = i * 2.4
        it.append(path("M%s 94 L%s 126 L%s 94 Z" % (fmt(70 + o), fmt(85), fmt(101 - o)), c, INK, 0.6))
    it.append(path("M%s 94 L85 112 L%s 94 Z" % (fmt(70 + len(cols) * 2.4), fmt(101 - len(cols) * 2.4)),
                   "#f7f3ea", INK, 0.6))
    raised = p["hold"] == "sleeve"
    # wide sleeves whose openings fan out from the hands
    (fx, fy), (nx, ny) = POSES[p["pose"]]
    far = "M58 106 C46 124 36 160 28 199 Q44 206 60 202 L%s %s C%s %s 68 116 58 106 Z" % (
        fmt(fx), fmt(fy), fmt(fx - 6), fmt(fy - 14))
    near = "M112 106 C124 124 134 160 142 199 Q126 206 110 202 L%s %s C%s %s 102 116 112 106 Z" % (
        fmt(nx), fmt(ny), fmt(nx + 6), fmt(ny - 14))
    # crimson trousers show between the sleeves
    it.append(path("M58 203 L85 140 L112 203 Z", p["hakama"], INK, 0.8))
    it.append(line("M85 160 L84 203", fold_of(p["hakama"]), 0.8))
    it.append(path(far, outer_fill, INK, LW))
    it += cuff_layers(layers, (fx, fy), (60, 202), False, 2.2, 1.01)
    if not raised:
        it.append(path(near, outer_fill, INK, LW))
        it += cuff_layers(layers, (nx, ny), (110, 202), True, 2.2, 1.01)
    else:
        it.append(path("M112 106 C124 124 134 160 142 199 Q128 206 112 203 C116 170 118 130 112 106 Z",
                       outer_fill, INK, LW))
    fold = fold_of(outer)
    it.append(line("M50 130 C44 154 38 176 36 200", fold, 0.9))
    it.append(line("M120 130 C126 154 132 176 134 200", fold, 0.9))
    # a lock of hair falling over the far shoulder
    it.append(path("M67 70 C64 84 62 100 60 126 L56 150 C62 134 66 110 69 88 Z", hair, INK, 1.0))
    return it


# --------------------------------------------------------------------------
# Choosing a look for each poet
# --------------------------------------------------------------------------
NOBLE_DARK = ["kuro", "kuro", "kuro", "suo", "murasaki", "kon", "kurotsurubami"]
NOBLE_MID = ["hanada", "moegi", "suo", "edo", "koro", "enji", "matsuba", "ai", "kuchiba", "tokusa", "akane", "cha"]
NOBLE_LIGHT = ["shiro", "kihada", "mizu", "wakatake", "fuji", "sakura", "asagi", "kuchiba", "kaki", "kobai"]
HAKAMA = ["murasaki", "fuji", "shiro", "asagi", "edo", "mizu", "usuzumi", "kobai", "kihada"]
MONK_ROBES = ["kuro", "sumi", "nibi", "aonibi", "kurotsurubami", "kon", "usuzumi", "cha", "tsurubami"]
KESA = ["kogane", "kuchiba", "cha", "koro", "kaki", "enji", "tokusa", "yamabuki", "suo"]
# named layer schemes (kasane no irome), outermost first
KASANE = [
    ["kobai", "momo", "sakura", "shiro"],          # plum
    ["akane", "kaki", "yamabuki", "moegi"],        # maple
    ["murasaki", "edo", "fuji", "shiro"],          # wisteria
    ["yamabuki", "kihada", "moegi", "wakatake"],   # kerria
    ["hanada", "asagi", "mizu", "shiro"],          # water
    ["suo", "kurenai", "kobai", "sakura"],         # crimson
    ["matsuba", "moegi", "wakatake", "shiro"],     # pine
    ["kurenai", "yamabuki", "moegi", "hanada"],    # brocade
    ["shion", "fuji", "sakura", "shiro"],          # aster
    ["kuchiba", "kogane", "kihada", "shiro"],      # fallen leaf
]
# one outer jacket per woman, in poem order, so that no two neighbours match
WOMAN_OUTER = ["suo", "kurenai", "hanada", "murasaki", "moegi", "kobai", "kuchiba", "edo", "matsuba", "akane",
               "asagi", "yamabuki", "fuji", "kaki", "tokusa", "kon", "momo", "koro", "shion", "wakatake", "enji"]
PATTERNS = ["plain", "hishi", "dots", "flower", "tatewaku", "kikko"]


EMPERORS = (1, 13, 15, 68, 77, 99, 100)


# hue families, so that neighbours differ in more than shade
FAMILY = {}
for fam, names in (("red", "suo enji akane kurenai kobai momo sakura kaki"),
                   ("yellow", "koro kuchiba yamabuki kihada kogane cha"),
                   ("green", "moegi wakatake matsuba tokusa"),
                   ("blue", "hanada kon ai asagi mizu aonibi"),
                   ("purple", "murasaki edo fuji shion"),
                   ("neutral", "kuro shiro gofun usuzumi nibi sumi tsurubami kurotsurubami")):
    for nm in names.split():
        FAMILY[nm] = fam


def pick(rng, pool, recent):
    """Random pick from a pool that avoids the hue families used just before."""
    options = [c for c in pool if FAMILY[c] not in recent] or pool
    c = rng.choice(options)
    recent.append(FAMILY[c])
    del recent[:-2]
    return c


def choose(p, rng, state):
    """Fix every visual choice for one poet.  `state` carries what was used by
    the previous poets of the same kind so that neighbours differ."""
    n, cat, x = p["n"], p["cat"], p["extra"]
    i = state.setdefault("count%d" % cat, 0)
    state["count%d" % cat] = i + 1
    recent = state.setdefault("recent%d" % cat, [])
    p["facing"] = "left" if n % 2 else "right"
    p["emperor"] = n in EMPERORS
    p["age"] = x.get("age", "mid")
    p["young"] = x.get("young", False)
    p["beard"] = x.get("beard", "none")
    p["tilt"] = [-5, -2, 3, 0, 5, -3, 2][n % 7]
    p["ground"] = GROUNDS[n % len(GROUNDS)]
    for k in ("empress", "princess", "blind", "oikake"):
        if k in x:
            p[k] = x[k]
    if cat == 1:
        if p["emperor"]:
            dress = x.get("dress", "sokutai" if n in (1, 68, 100) else "noshi")
        else:
            dress = x.get("dress", ["sokutai", "noshi", "kariginu"][n % 3])
        p["dress"] = dress
        p["cap"] = "kanmuri" if p["emperor"] else x.get("cap", "eboshi" if dress == "kariginu" else "kanmuri")
        if p["emperor"]:
            pool = ["koro", "kihada", "suo", "murasaki", "shiro", "kuro", "enji"]
        elif dress == "sokutai":
            pool = ["kuro", "kuro", "suo", "murasaki", "kon", "kurotsurubami", "hanada", "enji", "matsuba"]
        elif dress == "noshi":
            pool = NOBLE_MID + ["shiro", "kihada", "fuji", "wakatake"]
        else:
            pool = NOBLE_LIGHT + ["moegi", "asagi"]
        if "robe" in x:
            recent.append(FAMILY[x["robe"]])
            del recent[:-2]
            p["robe"] = COL[x["robe"]]
        else:
            p["robe"] = COL[pick(rng, pool, recent)]
        if dress == "sokutai":
            pats = ["plain", "plain", "hishi", "kikko", "dots"]
        else:
            pats = ["plain", "hishi", "tatewaku", "flower", "dots", "kikko"]
        if p["emperor"]:
            pats = ["kikko", "flower", "hishi", "tatewaku"]
        p["pattern"] = pats[(i * 5 + n) % len(pats)]
        p["hakama"] = COL[HAKAMA[(i * 4) % len(HAKAMA)]]
        if p["hakama"] == p["robe"]:
            p["hakama"] = COL[HAKAMA[(i * 4 + 1) % len(HAKAMA)]]
        p["hakama_pat"] = ["flower", "dots", "hishi", "kikko"][i % 4]
        p["train"] = COL[["shiro", "suo", "shiro", "fuji", "kuro"][i % 5]]
        kas = KASANE[(i * 3) % len(KASANE)]
        p["inner"] = [COL["shiro"], COL[kas[1]]]
        p["cord"] = COL[["kurenai", "hanada", "yamabuki", "murasaki", "moegi"][i % 5]]
        if dress == "sokutai":
            default = ["shaku", "shaku", "fan", "shaku", "openfan"][i % 5]
        else:
            default = \
                ["fan", "shaku", "scroll", "openfan", "none", "fan", "scroll", "shaku"][i % 8]
        p["hold"] = x.get("hold", default)
    elif cat == 2:
        kas = KASANE[(i * 3) % len(KASANE)]
        p["layers"] = [COL[c] for c in kas]
        outer = WOMAN_OUTER[i % len(WOMAN_OUTER)]
        if FAMILY[outer] == FAMILY[kas[0]]:  # jacket must stand off the robes below it
            kas = KASANE[(i * 3 + 1) % len(KASANE)]
            p["layers"] = [COL[c] for c in kas]
        p["robe"] = COL[x.get("robe", outer)]
        p["pattern"] = PATTERNS[1 + i % (len(PATTERNS) - 1)]
        p["hakama"] = "#b5323a" if i % 4 else "#6e2a45"
        p["hold"] = x.get("hold", ["fan", "none", "scroll", "fanface", "openfan", "none"][i % 6])
    else:
        p["robe"] = COL[x.get("robe", MONK_ROBES[(i * 4) % len(MONK_ROBES)])]
        p["kesa"] = None if p.get("blind") else COL[x.get("kesa", KESA[(i * 5) % len(KESA)])]
        p["hood"] = x.get("hood", "none")
        p["hold"] = x.get("hold", "beads")
    p["pose"] = pose_for(p)
    p["girth"] = 1.04 if p["emperor"] else [1.0, 0.95, 1.03, 0.98, 1.01, 0.96][(i * 5 + n) % 6]
    p["heri"] = HERI[(i * 3 + cat) % len(HERI)]
    return p


def compose(p, state):
    rng = random.Random(p["n"] * 7919 + 13)
    choose(p, rng, state)
    defs = Defs()
    scene = [path("M-4 -4 H172 V244 H-4 Z", p["ground"], None)]
    if p["emperor"] or p.get("empress"):
        scene += blind(p)
    scene += motif(p, rng)
    if p["emperor"] or p.get("empress"):
        scene += dais(p)
    else:
        scene += tatami(p)
    cat = p["cat"]
    if cat == 3 and p["n"] % 2:
        scene += enza()
    # the neck goes in first so the collar and a tilted head both sit over it
    body = [path("M75 84 L90 84 L91 101 L75 101 Z", SKIN, INK, 1.0)]
    if cat == 1:
        body += body_noble(p, defs)
        head = head_noble(p)
    elif cat == 2:
        body += body_woman(p, defs)
        head = head_woman(p)
    else:
        body += body_monk(p, defs)
        head = head_monk(p)
    kind = {1: "noble", 2: "woman", 3: "monk"}[cat]
    front = []
    if cat == 2 and p["hold"] == "sleeve":
        head_at = "translate(-3 0) rotate(-6 85 96)"
        front += raised_sleeve(p, defs)
    else:
        head_at = "translate(-3 0) rotate(%s 85 96)" % p["tilt"]
        far, near = POSES[p["pose"]]
        front += held(p, kind, far, near)
    # build differs a little from poet to poet; the head keeps its size
    girth = "translate(84 0) scale(%s 1) translate(-84 0)" % fmt(p["girth"])
    fig = [group(body, girth), group(head, head_at), group(front, girth)]
    scene.append(group(fig))
    body = "".join(scene)
    if p["facing"] == "right":
        body = group([body], "translate(%d 0) scale(-1 1)" % W)
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">%s%s</svg>'
            % (W * 2, H * 2, W, H, defs.svg(), body))


def render(svg_text, out_jpg, work):
    svg = os.path.join(work, "p.svg")
    png = os.path.join(work, "p.png")
    with open(svg, "w", encoding="utf-8") as f:
        f.write(svg_text)
    subprocess.run(["rsvg-convert", "-w", str(OUT_W * 2), "-h", str(OUT_H * 2), "-o", png, svg], check=True)
    subprocess.run(["/usr/bin/convert", png, "-background", "white", "-flatten", "-alpha", "off",
                    "-colorspace", "sRGB", "-filter", "Lanczos", "-resize", "%dx%d!" % (OUT_W, OUT_H),
                    "-type", "TrueColor", "-sampling-factor", "2x2", "-interlace", "None",
                    "-quality", "80", "-strip", "jpeg:" + out_jpg], check=True)


def jpeg_facts(data):
    """Reads the markers of a JPEG: frame type, size, components and which
    application segments it carries.  Enough to prove the files are what the
    screen saver's loader expects, without an image library."""
    if data[:2] != b"\xff\xd8":
        raise ValueError("not a JPEG")
    facts = {"app": []}
    pos = 2
    while pos < len(data):
        if data[pos] != 0xFF:
            raise ValueError("bad marker at %d" % pos)
        marker = data[pos + 1]
        if marker == 0xD9:
            break
        length = int.from_bytes(data[pos + 2:pos + 4], "big")
        seg = data[pos + 4:pos + 2 + length]
        if 0xE0 <= marker <= 0xEF or marker == 0xFE:
            facts["app"].append(marker)
        if marker in (0xC0, 0xC1, 0xC2, 0xC3, 0xC9, 0xCA):
            facts["sof"] = marker
            facts["height"] = int.from_bytes(seg[1:3], "big")
            facts["width"] = int.from_bytes(seg[3:5], "big")
            facts["components"] = seg[5]
        if marker == 0xDA:  # entropy-coded data follows; nothing more to read
            break
        pos += 2 + length
    return facts


def check(out_dir):
    """Returns a list of problems with the written portraits (empty if none)."""
    problems = []
    total = 0
    for n in range(1, 101):
        fn = os.path.join(out_dir, "p%03d.jpg" % n)
        if not os.path.exists(fn):
            problems.append("%s missing" % fn)
            continue
        data = open(fn, "rb").read()
        total += len(data)
        f = jpeg_facts(data)
        if f.get("sof") != 0xC0:
            problems.append("%s is not baseline" % fn)
        if (f.get("width"), f.get("height")) != (OUT_W, OUT_H):
            problems.append("%s is %sx%s" % (fn, f.get("width"), f.get("height")))
        if f.get("components") != 3:
            problems.append("%s is not 24-bit colour" % fn)
        if any(m != 0xE0 for m in f["app"]):
            problems.append("%s carries metadata" % fn)
    return problems, total


def main(argv=None):
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.normpath(os.path.join(here, "..", "..", "assets", "portraits")))
    ap.add_argument("--svg-dir", default=None, help="also keep the SVG sources here")
    ap.add_argument("--only", default=None, help="comma-separated poem numbers")
    ap.add_argument("--check", action="store_true", help="only verify the JPEGs already in --out")
    a = ap.parse_args(argv)
    if a.check:
        problems, total = check(a.out)
        for pr in problems:
            print(pr)
        print("%d problem(s); %d bytes in all" % (len(problems), total))
        return 1 if problems else 0
    for tool in ("rsvg-convert",):
        if not shutil.which(tool):
            sys.exit("missing %s (Debian package librsvg2-bin)" % tool)
    if not os.path.exists("/usr/bin/convert"):
        sys.exit("missing /usr/bin/convert (Debian package imagemagick)")
    only = set(int(s) for s in a.only.split(",")) if a.only else None
    os.makedirs(a.out, exist_ok=True)
    if a.svg_dir:
        os.makedirs(a.svg_dir, exist_ok=True)
    state = {}
    with tempfile.TemporaryDirectory() as work:
        for n, name, cat, mot, extra in POETS:
            p = dict(n=n, name=name, cat=cat, motif=mot, extra=extra)
            # every poet is composed, even when skipped, so choices never
            # depend on which subset is being drawn
            svg = compose(p, state)
            if only and n not in only:
                continue
            if a.svg_dir:
                with open(os.path.join(a.svg_dir, "p%03d.svg" % n), "w", encoding="utf-8") as f:
                    f.write(svg)
            render(svg, os.path.join(a.out, "p%03d.jpg" % n), work)
    return 0


if __name__ == "__main__":
    sys.exit(main())
