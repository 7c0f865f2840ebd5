#!/usr/bin/python3
"""Builds the font subsets embedded in the program, and their licence files.

  YujiSyuku-subset.ttf   brush face, from the unicode-range pieces of the
                         @fontsource/yuji-syuku npm package (weight 400)
  BIZUDMincho-subset.ttf from Debian's fonts-morisawa-bizud-mincho
  LiberationSans-subset.ttf from Debian's fonts-liberation2: the Latin face
                         that the native show and the page draw the English
                         rendering with (Windows has its own)

The Mincho subset holds the full set charset.py collects, the Yuji Syuku
subset its brush set (the poem table plus ASCII and the fixed lists). Run
through make_fonts.sh, which fetches the npm package first.
"""

import argparse
import io
import json
import os
import sys
import tempfile

from fontTools import subset
from fontTools.merge import Merger
from fontTools.ttLib import TTFont

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import charset  # noqa: E402

YUJI_FAMILY = "Yuji Syuku"
MINCHO_FAMILY = "BIZ UDMincho"
MINCHO_TTF = "/usr/share/fonts/truetype/bizud-mincho/BIZUDMincho-Regular.ttf"
MINCHO_COPYRIGHT = "/usr/share/doc/fonts-morisawa-bizud-mincho/copyright"
# Liberation Sans reserves its name (and Arimo's) for the unmodified font, so
# the subset, a modified version, carries a name of its own.
LATIN_FAMILY = "Mirobel Latin"
LATIN_TTF = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"
LATIN_COPYRIGHT = "/usr/share/doc/fonts-liberation2/copyright"
# The English renderings and the poets' names are printable ASCII.
LATIN_POINTS = set(range(0x20, 0x7F))
PIECE_NAME = "yuji-syuku-{key}-400-normal.woff"

# Tables that GDI never reads and that fontTools.merge cannot combine; the
# pieces carry BASE for browsers' baseline alignment only.
YUJI_DROPPED_TABLES = ["BASE"]
# DSIG is a signature over the whole original file, void after subsetting;
# meta only names the scripts of the full font.
MINCHO_DROPPED_TABLES = ["DSIG", "meta"]


def parse_unicode_range(text):
    """'U+20-7e,U+a0' -> set of code points."""
    points = set()
    for part in text.split(","):
        part = part.strip()
        if not part:
            continue
        if not part.upper().startswith("U+"):
            raise ValueError(f"not a unicode range: {part!r}")
        span = part[2:]
        if "-" in span:
            lo, hi = span.split("-", 1)
            points.update(range(int(lo, 16), int(hi, 16) + 1))
        elif "?" in span:
            points.update(range(int(span.replace("?", "0"), 16), int(span.replace("?", "F"), 16) + 1))
        else:
            points.add(int(span, 16))
    return points


def piece_key(name):
    """unicode.json names numbered pieces "[12]"; their files say "12"."""
    return name[1:-1] if name.startswith("[") and name.endswith("]") else name


def assign_pieces(ranges, needed):
    """Maps each chosen piece to the code points it should supply.

    Pieces overlap (ASCII is in several), so each code point goes to exactly
    one piece; otherwise the merge would see the same character twice. The
    greedy choice keeps the number of pieces, and so of merged fonts, small.
    Ties break on the piece name for a reproducible result.
    """
    left = set(needed)
    chosen = {}
    while left:
        best = max(sorted(ranges), key=lambda k: len(ranges[k] & left))
        gain = ranges[best] & left
        if not gain:
            break
        chosen[best] = gain
        left -= gain
    return chosen, left


def subset_options(keep_hinting):
    options = subset.Options()
    options.hinting = keep_hinting
    # Keep every name record: the copyright and licence entries must travel
    # with the font, and the Japanese-language family names let a Japanese
    # system list the face as it would the installed one.
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.name_legacy = True
    options.notdef_outline = True
    options.recalc_timestamp = False
    options.drop_tables = list(options.drop_tables)
    return options


def subset_font(font, codepoints, keep_hinting, drop_tables):
    options = subset_options(keep_hinting)
    options.drop_tables += drop_tables
    subsetter = subset.Subsetter(options=options)
    subsetter.populate(unicodes=sorted(codepoints))
    subsetter.subset(font)
    return font


def cmap_points(font):
    return set(font.getBestCmap())


def save_deterministic(font, path):
    """Writes the font without stamping the build time into head.modified."""
    font.flavor = None
    font.recalcTimestamp = False
    buf = io.BytesIO()
    font.save(buf, reorderTables=True)
    data = buf.getvalue()
    with open(path, "wb") as f:
        f.write(data)
    return len(data)


def family_names(font):
    return {n.toUnicode() for n in font["name"].names if n.nameID in (1, 16)}


def build_yuji(package_dir, codepoints, out_path, log):
    with open(os.path.join(package_dir, "unicode.json"), encoding="utf-8") as f:
        table = json.load(f)
    ranges = {name: parse_unicode_range(text) for name, text in table.items()}
    chosen, uncovered = assign_pieces(ranges, codepoints)
    log(f"Yuji Syuku: {len(chosen)} pieces hold {len(codepoints) - len(uncovered)} characters")

    with tempfile.TemporaryDirectory(prefix="yuji-pieces-") as tmp:
        paths = []
        stamps = None
        missing = set(uncovered)
        for name in sorted(chosen, key=lambda k: (not k.startswith("["), len(k), k)):
            piece = os.path.join(package_dir, "files", PIECE_NAME.format(key=piece_key(name)))
            font = TTFont(piece, recalcTimestamp=False)
            if stamps is None:
                stamps = (font["head"].created, font["head"].modified)
            # unicode.json describes what the piece was cut for; the cmap is
            # what it really holds, and only that can be subset.
            have = chosen[name] & cmap_points(font)
            missing |= chosen[name] - have
            if not have:
                continue
            subset_font(font, have, keep_hinting=False, drop_tables=YUJI_DROPPED_TABLES)
            path = os.path.join(tmp, f"piece-{piece_key(name)}.ttf")
            save_deterministic(font, path)
            paths.append(path)
        if not paths:
            raise SystemExit("no Yuji Syuku piece holds any needed character")
        merged = Merger().merge(paths)
    # The merge keeps the first piece's tables for OS/2 and name, which were
    # cut from one font and so agree. It stamps head with the current time,
    # which would make every run differ; the source's dates are restored.
    merged["head"].created, merged["head"].modified = stamps
    os2 = merged["OS/2"]
    points = cmap_points(merged)
    os2.usFirstCharIndex = min(min(points), 0xFFFF)
    os2.usLastCharIndex = min(max(points), 0xFFFF)
    os2.recalcUnicodeRanges(merged)
    size = save_deterministic(merged, out_path)
    return size, missing


def build_subset(ttf_path, codepoints, out_path, keep_hinting):
    font = TTFont(ttf_path, recalcTimestamp=False)
    missing = set(codepoints) - cmap_points(font)
    subset_font(font, set(codepoints) - missing, keep_hinting, MINCHO_DROPPED_TABLES)
    size = save_deterministic(font, out_path)
    return size, missing


def rename_family(path, family):
    """Gives the font at path a family name of its own (regular style)."""
    font = TTFont(path, recalcTimestamp=False)
    names = font["name"]
    for record in list(names.names):
        if record.nameID in (16, 17, 21, 22):
            names.removeNames(nameID=record.nameID)
    for name_id, text in ((1, family), (2, "Regular"), (3, family + " Regular"), (4, family),
                          (6, family.replace(" ", "") + "-Regular")):
        names.setName(text, name_id, 3, 1, 0x409)
        names.setName(text, name_id, 1, 0, 0)
    return save_deterministic(font, path)


def debian_copyright_field(copyright_path):
    """The Copyright field of a Debian copyright file's first Files paragraph."""
    lines, inside = [], False
    with open(copyright_path, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip("\n")
            if inside and line.startswith(" "):
                lines.append(line.strip())
            elif inside:
                break
            elif line.startswith("Copyright:"):
                inside = True
                first = line[len("Copyright:"):].strip()
                if first:
                    lines.append(first)
    if not lines:
        raise SystemExit(f"no Copyright field in {copyright_path}")
    return "\n".join(lines)


def debian_licence_text(copyright_path, stanza="SIL-1.1"):
    """The body of a 'License:' stanza of a Debian copyright file, unfolded."""
    # The short name also heads the Files paragraph's licence field, with no
    # text under it; the stand-alone paragraph is the one with indented lines.
    lines = []
    inside = False
    with open(copyright_path, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip("\n")
            if not inside:
                inside = line.strip() == f"License: {stanza}"
                continue
            if not line.startswith(" "):
                if lines:
                    break
                inside = False
                continue
            body = line[1:]
            lines.append("" if body.strip() == "." else body)
    if not lines:
        raise SystemExit(f"no 'License: {stanza}' text in {copyright_path}")
    while lines and not lines[-1]:
        lines.pop()
    return "\n".join(lines) + "\n"


def font_copyright(path):
    font = TTFont(path, lazy=True)
    for record in font["name"].names:
        if record.nameID == 0 and record.platformID == 3 and record.langID == 0x409:
            return record.toUnicode()
    raise SystemExit(f"{path} has no English copyright record")


def latin_notice(copyright_path):
    """Liberation's notice as Debian records it, with the reserved names that
    the font's own name table leaves out. The licence under it is the same
    OFL 1.1 text as the Mincho's: Debian's copy for Liberation has lost its
    dashes to question marks."""
    return (debian_copyright_field(copyright_path) + "\n\nThe embedded subset is a modified version of "
            "Liberation Sans and is named Mirobel Latin, as the reserved font names ask.")


def write_text(path, text):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", default=charset.default_root())
    parser.add_argument("--package-dir", required=True,
                        help="unpacked @fontsource/yuji-syuku (holds unicode.json)")
    parser.add_argument("--mincho", default=MINCHO_TTF)
    parser.add_argument("--mincho-copyright", default=MINCHO_COPYRIGHT)
    parser.add_argument("--latin", default=LATIN_TTF)
    parser.add_argument("--latin-copyright", default=LATIN_COPYRIGHT)
    parser.add_argument("--out-dir", help="default: ROOT/assets/fonts")
    parser.add_argument("--no-mincho-hinting", action="store_true",
                        help="drop the Mincho TrueType instructions (smaller, blurrier at 9-12 px)")
    args = parser.parse_args(argv)

    out_dir = args.out_dir or os.path.join(args.root, "assets", "fonts")
    os.makedirs(out_dir, exist_ok=True)

    def log(message):
        print(message, file=sys.stderr)

    points = {ord(c) for c in charset.charset(args.root)}
    brush_points = {ord(c) for c in charset.brush_charset(args.root)}
    log(f"{len(points)} characters in all, {len(brush_points)} drawn with the brush face")

    yuji_out = os.path.join(out_dir, "YujiSyuku-subset.ttf")
    size, yuji_missing = build_yuji(args.package_dir, brush_points, yuji_out, log)
    log(f"wrote {yuji_out}: {size} bytes")

    mincho_out = os.path.join(out_dir, "BIZUDMincho-subset.ttf")
    size, mincho_missing = build_subset(args.mincho, points, mincho_out, not args.no_mincho_hinting)
    log(f"wrote {mincho_out}: {size} bytes")

    latin_out = os.path.join(out_dir, "LiberationSans-subset.ttf")
    size, latin_missing = build_subset(args.latin, LATIN_POINTS, latin_out, True)
    size = rename_family(latin_out, LATIN_FAMILY)
    log(f"wrote {latin_out}: {size} bytes")

    with open(os.path.join(args.package_dir, "LICENSE"), encoding="utf-8") as f:
        write_text(os.path.join(out_dir, "YujiSyuku-OFL.txt"), f.read())
    write_text(os.path.join(out_dir, "BIZUDMincho-OFL.txt"),
               font_copyright(args.mincho) + "\n\n" + debian_licence_text(args.mincho_copyright))
    write_text(os.path.join(out_dir, "LiberationSans-OFL.txt"),
               latin_notice(args.latin_copyright) + "\n\n" + debian_licence_text(args.mincho_copyright))

    for family, out, missing in ((YUJI_FAMILY, yuji_out, yuji_missing),
                                 (MINCHO_FAMILY, mincho_out, mincho_missing),
                                 (LATIN_FAMILY, latin_out, latin_missing)):
        names = family_names(TTFont(out, lazy=True))
        if family not in names:
            raise SystemExit(f"{out}: family name {family!r} lost (has {sorted(names)})")
        if missing:
            listing = " ".join(f"U+{p:04X}({chr(p)})" for p in sorted(missing))
            log(f"{family} lacks {len(missing)} characters: {listing}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
