#!/usr/bin/python3
"""Collects every character the program can draw, for the embedded font subsets.

The full set, which the Mincho subset holds, is the union of:
  * the characters of every wide literal (L"...", LR"d(...)d", L'x') in the
    C++ sources under src/, because all drawn text goes through wide strings;
  * the help text, kept as Shift-JIS bytes in assets/help and decoded with
    code page 932 as the program decodes it;
  * printable ASCII, since numbers, names and user-entered text can show any;
  * a fixed list of window texts and punctuation that later code may draw
    before any literal in src/ holds them.

The brush set, which the Yuji Syuku subset holds, reads only the poem table
(the brush face draws nothing else) plus the same ASCII and fixed lists.
Brush glyphs average about 700 bytes each, so giving that face the long
modern-Japanese comments as well would add about 350 KB (648 KB in all,
over the 600 KB budget) for text it never draws.
"""

import argparse
import os
import sys
import unicodedata

SOURCE_SUFFIXES = (".cpp", ".h", ".inc", ".hpp", ".cc", ".cxx", ".hh")

# The sources whose wide literals the brush face draws: the card writes the
# verses and the poet's name, one character at a time, from the poem table.
BRUSH_SOURCES = ("src/core/poems/PoemRecords.inc",)

# Texts the program keeps as Shift-JIS assets rather than literals; the help
# window draws them in the Mincho face.
SHIFT_JIS_ASSETS = ("assets/help/MirobelHelp.txt",)

# Texts kept in the fonts even before any source file uses them: the window
# texts of dialogs still being written, the face names the program asks for
# (so they can be shown), and the punctuation used around poems and comments.
EXTRA_TEXTS = (
    "０１２３４５６７８９",
    "「」、。・（）！？ー～",
    "ＭＳ Ｐゴシック",
    "ＭＳ 明朝",
    "通釈上の句下の句作者選択決定終了解説範囲順序音楽速度遅速ランダム",
    "昇順降順更新ヘルプ使い方百人一首ソフト紹介バージョン",
    "①②③④■　",
)

PRINTABLE_ASCII = "".join(chr(c) for c in range(0x20, 0x7F))

_SIMPLE_ESCAPES = {
    "n": "\n", "t": "\t", "r": "\r", "v": "\v", "b": "\b", "f": "\f",
    "a": "\a", "\\": "\\", "'": "'", '"': '"', "?": "?",
}

_STRING_PREFIXES = {"L", "u8", "u", "U", "R", "LR", "u8R", "uR", "UR"}
_CHAR_PREFIXES = {"L", "u8", "u", "U"}


class LiteralError(ValueError):
    pass


def decode_escapes(body, where="literal"):
    """Turns the inside of a non-raw literal into the characters it stands for."""
    out = []
    i = 0
    n = len(body)
    while i < n:
        c = body[i]
        if c != "\\":
            out.append(c)
            i += 1
            continue
        if i + 1 >= n:
            raise LiteralError(f"{where}: lone backslash at end")
        e = body[i + 1]
        if e == "\n":  # line splice: the two characters vanish
            i += 2
        elif e == "\r" and body[i + 2:i + 3] == "\n":
            i += 3
        elif e in _SIMPLE_ESCAPES:
            out.append(_SIMPLE_ESCAPES[e])
            i += 2
        elif e in "01234567":
            j = i + 1
            while j < n and j < i + 4 and body[j] in "01234567":
                j += 1
            out.append(chr(int(body[i + 1:j], 8)))
            i = j
        elif e == "x":
            j = i + 2
            while j < n and body[j] in "0123456789abcdefABCDEF":
                j += 1
            if j == i + 2:
                raise LiteralError(f"{where}: \\x without hex digits")
            out.append(chr(int(body[i + 2:j], 16)))
            i = j
        elif e in "uU":
            width = 4 if e == "u" else 8
            digits = body[i + 2:i + 2 + width]
            if len(digits) != width or any(d not in "0123456789abcdefABCDEF" for d in digits):
                raise LiteralError(f"{where}: bad \\{e} escape")
            out.append(chr(int(digits, 16)))
            i += 2 + width
        else:
            raise LiteralError(f"{where}: unknown escape \\{e}")
    return "".join(out)


def _skip_quoted(text, i, quote):
    """Returns the index just past the closing quote of a literal opening at i."""
    j = i + 1
    n = len(text)
    while j < n:
        c = text[j]
        if c == "\\":
            j += 2
            continue
        if c == quote:
            return j + 1
        if c == "\n":
            break
        j += 1
    line = text.count("\n", 0, i) + 1
    raise LiteralError(f"unterminated literal on line {line}")


def _raw_literal(text, i):
    """For a raw literal whose opening quote is at i, returns (body, end)."""
    line = text.count("\n", 0, i) + 1
    open_paren = text.find("(", i + 1)
    delim = text[i + 1:open_paren] if open_paren >= 0 else ""
    if open_paren < 0 or len(delim) > 16 or any(c in delim for c in ' )\\\t\v\f\n"'):
        raise LiteralError(f"bad raw literal delimiter on line {line}")
    closing = ")" + delim + '"'
    close = text.find(closing, open_paren + 1)
    if close < 0:
        raise LiteralError(f"unterminated raw literal on line {line}")
    return text[open_paren + 1:close], close + len(closing)


def tokens(text):
    """Yields (kind, prefix, value) for each token that is not space or comment.

    kind is "string", "char" or "other"; value is the decoded literal text
    (for "other", the token's first character only). A small lexer rather
    than a regular expression, because apostrophes in comments and digit
    separators (1'000) would otherwise open phantom character literals and
    swallow real strings.
    """
    i = 0
    n = len(text)
    while i < n:
        c = text[i]
        if c.isspace():
            i += 1
        elif text.startswith("//", i):
            while i < n and text[i] != "\n":
                # a backslash before the newline carries the comment on
                if text[i] == "\\" and text[i + 1:i + 2] == "\n":
                    i += 1
                i += 1
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            i = n if end < 0 else end + 2
        elif c.isalpha() or c == "_":
            j = i + 1
            while j < n and (text[j].isalnum() or text[j] == "_"):
                j += 1
            word, nxt = text[i:j], text[j:j + 1]
            if nxt == '"' and word in _STRING_PREFIXES:
                if word.endswith("R"):
                    body, i = _raw_literal(text, j)
                    yield "string", word, body
                else:
                    i = _skip_quoted(text, j, '"')
                    yield "string", word, decode_escapes(text[j + 1:i - 1], f'{word}"..."')
            elif nxt == "'" and word in _CHAR_PREFIXES:
                i = _skip_quoted(text, j, "'")
                yield "char", word, decode_escapes(text[j + 1:i - 1], f"{word}'...'")
            else:
                i = j
                yield "other", "", word[0]
        elif c.isdigit() or (c == "." and text[i + 1:i + 2].isdigit()):
            j = i + 1
            while j < n:
                d = text[j]
                if d in "eEpP" and text[j + 1:j + 2] in ("+", "-"):
                    j += 2
                elif d.isalnum() or d in "._'":
                    j += 1
                else:
                    break
            i = j
            yield "other", "", c
        elif c in "\"'":
            end = _skip_quoted(text, i, c)
            kind = "string" if c == '"' else "char"
            yield kind, "", decode_escapes(text[i + 1:end - 1], f"{c}...{c}")
            i = end
        else:
            i += 1
            yield "other", "", c


def wide_text(text):
    """Returns the characters of all wide literals in one source text.

    Adjacent string literals join into one, and the join is wide when any
    piece is, so a plain "..." written next to an L"..." counts as well.
    """
    out = []
    run = []

    def close_run():
        if any(prefix.startswith("L") for prefix, _ in run):
            out.extend(value for _, value in run)
        run.clear()

    for kind, prefix, value in tokens(text):
        if kind == "string":
            run.append((prefix, value))
            continue
        close_run()
        if kind == "char" and prefix == "L":
            out.append(value)
    close_run()
    return "".join(out)


def source_files(src_dir):
    for dirpath, dirnames, filenames in os.walk(src_dir):
        dirnames.sort()
        for name in sorted(filenames):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.join(dirpath, name)


def needs_glyph(ch):
    """Control and format characters are never drawn as glyphs."""
    return unicodedata.category(ch) not in ("Cc", "Cf")


def collect(root, only=None):
    """Returns {character: first place it was seen} for the tree at root.

    only, if given, names the source files (relative to root) to read
    instead of everything under src/; a missing one is an error, so that a
    moved poem table cannot silently empty the brush set.
    """
    seen = {}

    def add(text, where):
        for ch in text:
            if needs_glyph(ch):
                seen.setdefault(ch, where)

    src_dir = os.path.join(root, "src")
    if not os.path.isdir(src_dir):
        raise FileNotFoundError(f"no src/ folder under {root}")
    if only is None:
        paths = list(source_files(src_dir))
    else:
        paths = [os.path.join(root, rel) for rel in only]
        for path in paths:
            if not os.path.isfile(path):
                raise FileNotFoundError(f"{path} not found; update BRUSH_SOURCES in {__file__}")
    for path in paths:
        rel = os.path.relpath(path, root)
        with open(path, encoding="utf-8") as f:
            text = f.read()
        try:
            add(wide_text(text), rel)
        except LiteralError as e:
            raise LiteralError(f"{rel}: {e}") from None
    if only is None:
        for rel in SHIFT_JIS_ASSETS:
            path = os.path.join(root, rel)
            if not os.path.isfile(path):
                raise FileNotFoundError(f"{path} not found; update SHIFT_JIS_ASSETS in {__file__}")
            with open(path, "rb") as f:
                add(f.read().decode("cp932"), rel)
    add(PRINTABLE_ASCII, "printable ASCII")
    for extra in EXTRA_TEXTS:
        add(extra, "fixed window texts")
    return seen


def charset(root):
    """The sorted string of characters the Mincho subset must hold."""
    return "".join(sorted(collect(root)))


def brush_charset(root):
    """The sorted string of characters the Yuji Syuku subset must hold."""
    return "".join(sorted(collect(root, BRUSH_SOURCES)))


def default_root():
    return os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", default=default_root(), help="project root (holds src/)")
    parser.add_argument("--out", help="write the characters here (UTF-8) instead of stdout")
    parser.add_argument("--codepoints", action="store_true",
                        help="one U+XXXX per line with where it first appears")
    parser.add_argument("--brush", action="store_true",
                        help="only the characters the brush face draws")
    args = parser.parse_args(argv)
    seen = collect(args.root, BRUSH_SOURCES if args.brush else None)
    chars = sorted(seen)
    if args.codepoints:
        text = "".join(f"U+{ord(c):04X} {c} {seen[c]}\n" for c in chars)
    else:
        text = "".join(chars) + "\n"
    if args.out:
        with open(args.out, "w", encoding="utf-8") as f:
            f.write(text)
        print(f"{len(chars)} characters written to {args.out}", file=sys.stderr)
    else:
        sys.stdout.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
