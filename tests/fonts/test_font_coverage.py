#!/usr/bin/python3
"""Checks that the committed font subsets can draw everything the sources draw.

Run: /usr/bin/python3 tests/fonts/test_font_coverage.py --root /path/to/repo

The character sets are recomputed from src/ on every run, so a new literal
whose characters the subsets lack fails here until tools/fonts/make_fonts.sh
is rerun.
"""

import argparse
import os
import sys
import unicodedata
import unittest

from fontTools.ttLib import TTFont

_parser = argparse.ArgumentParser(add_help=False)
_parser.add_argument("--root", default=os.path.normpath(
    os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")))
_args, _rest = _parser.parse_known_args()
ROOT = os.path.abspath(_args.root)
sys.argv = [sys.argv[0]] + _rest

# The checked tree may be read-only or shared; leave no __pycache__ in it.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(ROOT, "tools", "fonts"))
import charset  # noqa: E402

FONT_DIR = os.path.join(ROOT, "assets", "fonts")
SIZE_LIMIT = 600 * 1024
# GDI picks a face for a SHIFTJIS_CHARSET request only among fonts that
# claim the JIS code page (bit 17 of ulCodePageRange1).
JIS_CODE_PAGE_BIT = 1 << 17

FACES = {
    "yuji": {
        "file": "YujiSyuku-subset.ttf",
        "licence": "YujiSyuku-OFL.txt",
        "family": "Yuji Syuku",
        "chars": lambda: charset.collect(ROOT, charset.BRUSH_SOURCES),
    },
    "mincho": {
        "file": "BIZUDMincho-subset.ttf",
        "licence": "BIZUDMincho-OFL.txt",
        "family": "BIZ UDMincho",
        "chars": lambda: charset.collect(ROOT),
    },
    # The native show and the page draw the English rendering in it; Windows
    # asks for its own Latin face.
    "latin": {
        "file": "LiberationSans-subset.ttf",
        "licence": "LiberationSans-OFL.txt",
        "family": "Mirobel Latin",
        "chars": lambda: english_renderings(),
        "japanese": False,
    },
}


def english_renderings():
    rel = "src/core/poems/EnglishRenderings.inc"
    with open(os.path.join(ROOT, rel), encoding="utf-8") as f:
        return {c: rel for c in charset.wide_text(f.read()) if charset.needs_glyph(c)}


def describe(chars_with_places, limit=60):
    lines = [f"  U+{ord(c):04X} {c!s:2} {unicodedata.name(c, '?')}  (from {where})"
             for c, where in sorted(chars_with_places.items())]
    if len(lines) > limit:
        lines = lines[:limit] + [f"  ... and {len(lines) - limit} more"]
    return "\n".join(lines)


def is_space(ch):
    return unicodedata.category(ch) == "Zs"


class FaceChecks:
    """Shared checks; each subclass names one embedded face."""

    face = None
    _cache = {}

    @classmethod
    def setUpClass(cls):
        info = FACES[cls.face]
        cls.path = os.path.join(FONT_DIR, info["file"])
        cls.info = info
        if not os.path.isfile(cls.path):
            raise AssertionError(f"{cls.path} is missing; run tools/fonts/make_fonts.sh")
        cls.font = TTFont(cls.path)
        cls.cmap = cls.font.getBestCmap()
        cls.needed = info["chars"]()

    def test_every_drawn_character_is_mapped(self):
        missing = {c: w for c, w in self.needed.items() if ord(c) not in self.cmap}
        if missing:
            self.fail(f"{self.info['file']} lacks {len(missing)} of {len(self.needed)} "
                      f"characters; rerun tools/fonts/make_fonts.sh:\n{describe(missing)}")

    def test_mapped_characters_have_something_to_draw(self):
        # A cmap entry that leads to an empty glyph draws nothing yet stops
        # any fallback, which is worse than a missing entry. Spaces (U+0020,
        # U+3000) have no outline by design but must still move the pen.
        glyf = self.font["glyf"]
        hmtx = self.font["hmtx"]
        blank = {}
        for c, where in self.needed.items():
            name = self.cmap.get(ord(c))
            if name is None:
                continue
            if is_space(c):
                if hmtx[name][0] <= 0:
                    blank[c] = where + ", zero advance"
            elif glyf[name].numberOfContours == 0:
                blank[c] = where + ", empty outline"
        if blank:
            self.fail(f"{self.info['file']} has glyphs that draw nothing:\n{describe(blank)}")

    def test_family_name_is_the_one_the_program_asks_for(self):
        names = {n.toUnicode() for n in self.font["name"].names
                 if n.nameID in (1, 16) and n.platformID == 3}
        self.assertIn(self.info["family"], names,
                      f"{self.info['file']}: Windows family names are {sorted(names)}")

    def test_claims_the_japanese_code_page(self):
        if not self.info.get("japanese", True):
            self.skipTest("a Latin face")
        self.assertTrue(self.font["OS/2"].ulCodePageRange1 & JIS_CODE_PAGE_BIT,
                        f"{self.info['file']}: OS/2 code page bit 17 (JIS) is clear")

    def test_file_is_small_enough_to_embed(self):
        size = os.path.getsize(self.path)
        self.assertLess(size, SIZE_LIMIT, f"{self.info['file']} is {size} bytes")

    def test_licence_travels_with_the_font(self):
        path = os.path.join(FONT_DIR, self.info["licence"])
        self.assertTrue(os.path.isfile(path), f"{path} is missing")
        with open(path, encoding="utf-8") as f:
            text = f.read()
        self.assertIn("SIL OPEN FONT LICENSE Version 1.1", text)
        self.assertIn("Copyright", text.split("SIL OPEN FONT LICENSE")[0],
                      "the copyright notice must precede the licence text")


class YujiSyukuSubset(FaceChecks, unittest.TestCase):
    face = "yuji"


class BIZUDMinchoSubset(FaceChecks, unittest.TestCase):
    face = "mincho"


class LiberationSansSubset(FaceChecks, unittest.TestCase):
    face = "latin"

    def test_holds_the_english_renderings(self):
        self.assertGreater(len(self.needed), 40)  # the letters and marks, not an empty parse


class CollectedCharacters(unittest.TestCase):
    """The character set from the real tree, before any font is opened."""

    def test_tree_yields_the_fixed_lists_and_source_text(self):
        seen = charset.collect(ROOT)
        for extra in charset.EXTRA_TEXTS + (charset.PRINTABLE_ASCII,):
            self.assertFalse(set(extra) - set(seen), extra)
        from_sources = [c for c, where in seen.items() if where.startswith("src")]
        self.assertTrue(any(ord(c) > 0x7F for c in from_sources),
                        "no Japanese text found under src/: is the lexer skipping literals?")

    def test_help_text_counts_decoded_as_shift_jis(self):
        # The help text is bytes, not a literal: its characters reach the
        # Mincho set only through the cp932 decoding the window also uses.
        seen = charset.collect(ROOT)
        for rel in charset.SHIFT_JIS_ASSETS:
            with open(os.path.join(ROOT, rel), "rb") as f:
                text = f.read().decode("cp932")
            missing = {c for c in text if charset.needs_glyph(c)} - set(seen)
            self.assertFalse(missing, f"{rel}: {sorted(missing)}")
            self.assertIn(rel, seen.values(), f"no character is credited to {rel}")

    def test_brush_set_is_inside_the_full_set(self):
        self.assertLessEqual(set(charset.brush_charset(ROOT)), set(charset.charset(ROOT)))

    def test_missing_brush_source_is_an_error(self):
        with self.assertRaises(FileNotFoundError):
            charset.collect(ROOT, ("src/no/such/table.inc",))


class WideLiteralLexing(unittest.TestCase):
    """charset.wide_text on small sources: what counts, and what must not."""

    def wide(self, text):
        return charset.wide_text(text)

    def test_escapes_decode_to_the_characters_they_name(self):
        self.assertEqual(self.wide(r'L"a\r\n\\\"\t\x41\u3042\101\'\?"'),
                         'a\r\n\\"\tAあA\'?')
        self.assertEqual(self.wide(r'L"\U0001F600"'), "\U0001F600")
        self.assertEqual(self.wide('L"ab\\\ncd"'), "abcd")
        with self.assertRaises(charset.LiteralError):
            self.wide(r'L"\q"')
        with self.assertRaises(charset.LiteralError):
            self.wide(r'L"\u30"')

    def test_raw_literals_keep_backslashes_and_quotes(self):
        self.assertEqual(self.wide('LR"(C:\\dir "q")"'), 'C:\\dir "q"')
        self.assertEqual(self.wide('LR"xy(a)"b)xy"'), 'a)"b')
        self.assertEqual(self.wide('LR"(\nline\n)"'), "\nline\n")
        with self.assertRaises(charset.LiteralError):
            self.wide('LR"(never closed"')

    def test_only_wide_literals_count(self):
        src = 'f("narrow"); g(u8"utf8"); h(u"sixteen"); k(U"wide32"); m(L"和");'
        self.assertEqual(self.wide(src), "和")
        self.assertEqual(self.wide("Lx = 1; LL\"no\"; xL\"no\";"), "")

    def test_comments_and_apostrophes_do_not_hide_or_invent_literals(self):
        src = ("// it's L\"注釈\" only\n"
               "/* don't L\"注\" */ int n = 1'000'000; auto s = L\"本文\";\n"
               "char q = '\"'; auto t = L\"後\";")
        self.assertEqual(self.wide(src), "本文後")

    def test_adjacent_pieces_join_the_wide_literal(self):
        self.assertEqual(self.wide('auto s = L"上" "下" /* c */ "中";'), "上下中")
        self.assertEqual(self.wide('auto s = "前" L"後";'), "前後")
        self.assertEqual(self.wide('f("狭", L"広");'), "広")

    def test_wide_character_literals_count(self):
        self.assertEqual(self.wide("c == L'ー' || c == 'x'"), "ー")

    def test_unterminated_literal_names_its_line(self):
        with self.assertRaisesRegex(charset.LiteralError, "line 2"):
            self.wide('int a;\nauto s = L"open\n";')

    def test_controls_never_need_glyphs_but_spaces_do(self):
        self.assertFalse(charset.needs_glyph("\r"))
        self.assertFalse(charset.needs_glyph("\ufeff"))
        self.assertTrue(charset.needs_glyph(" "))
        self.assertTrue(charset.needs_glyph("\u3000"))


if __name__ == "__main__":
    unittest.main(verbosity=2)
