#!/usr/bin/env python3
"""Writes the pictures test scene (tests/scenes/pictures): a backdrop drawn at four times its size,
a translucent panel with bitmap-font texts as children, stars placed, scaled, mirrored and cut by a
source offset, a scaled group, a system-font text and a cursor. Only the standard library is used;
the bitmap font is a 5 x 7 pixel face drawn here, doubled, in 16 x 16 cells of a 256 x 256 sheet."""
import math
import os
import struct
import sys
import zlib

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "scenes", "pictures")
DATA = os.path.join(OUT, "data")


def write_png(path, width, height, pixels):
    """pixels: rows of (r, g, b, a) tuples."""
    raw = bytearray()
    previous = bytes(width * 4)
    for row in pixels:
        line = bytes(c for p in row for c in p)
        raw.append(2)  # "up" filter: gradients compress well
        raw.extend((line[i] - previous[i]) & 0xFF for i in range(len(line)))
        previous = line

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def coverage(inside, x, y, n=4):
    """Share of the pixel (x, y) inside a shape, sampled n x n."""
    hits = 0
    for j in range(n):
        for i in range(n):
            hits += inside(x + (i + 0.5) / n, y + (j + 0.5) / n)
    return hits / (n * n)


def backdrop():
    w, h = 256, 192
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            t = y / (h - 1)
            glow = max(0.0, 1.0 - math.hypot(x - 70, y - 50) / 150.0) ** 2
            stripe = 6 if ((x + y) // 12) % 2 == 0 else 0
            r = int(18 + 50 * t + 70 * glow + stripe)
            g = int(22 + 10 * t + 60 * glow + stripe)
            b = int(58 + 30 * t + 90 * glow + stripe)
            row.append((min(r, 255), min(g, 255), min(b, 255), 255))
        rows.append(row)
    write_png(os.path.join(DATA, "backdrop.png"), w, h, rows)


def rounded(x, y, w, h, r):
    cx = min(max(x, r), w - r)
    cy = min(max(y, r), h - r)
    return math.hypot(x - cx, y - cy) <= r and 0 <= x <= w and 0 <= y <= h


def panel():
    w, h = 340, 230
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            outer = coverage(lambda u, v: rounded(u, v, w, h, 14), x, y)
            inner = coverage(lambda u, v: rounded(u - 3, v - 3, w - 6, h - 6, 11), x, y)
            border = outer - inner
            a = border * 255 + inner * 200
            if a <= 0:
                row.append((0, 0, 0, 0))
                continue
            r = (border * 140 + inner * 200 * 12) / a
            g = (border * 170 + inner * 200 * 14) / a
            b = (border * 255 + inner * 200 * 40) / a
            row.append((int(r), int(g), int(b), int(a + 0.5)))
        rows.append(row)
    write_png(os.path.join(DATA, "panel.png"), w, h, rows)


def star():
    size = 64
    points = []
    for k in range(10):
        radius = 30 if k % 2 == 0 else 12
        angle = -math.pi / 2 + k * math.pi / 5
        points.append((32 + radius * math.cos(angle), 33 + radius * math.sin(angle)))

    def inside(x, y):
        hit = False
        for i in range(len(points)):
            (x1, y1), (x2, y2) = points[i], points[i - 1]
            if (y1 > y) != (y2 > y) and x < (x2 - x1) * (y - y1) / (y2 - y1) + x1:
                hit = not hit
        return hit

    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            a = coverage(inside, x, y)
            # Lit from the top left, so a mirrored star shows it.
            t = min(1.0, max(0.0, (x + 2 * y) / (3 * size)))
            row.append((int(255 - 40 * t), int(240 - 150 * t), int(110 - 100 * t), int(a * 255 + 0.5)))
        rows.append(row)
    write_png(os.path.join(DATA, "star.png"), size, size, rows)


def cursor():
    w, h = 16, 22
    shape = [(0, 0), (0, 17), (4.5, 13), (7.5, 20), (10, 19), (7, 12.5), (12.5, 12.5)]

    def inside(x, y, grow=0.0):
        hit = False
        for i in range(len(shape)):
            (x1, y1), (x2, y2) = shape[i], shape[i - 1]
            if (y1 > y) != (y2 > y) and x < (x2 - x1) * (y - y1) / (y2 - y1) + x1:
                hit = not hit
        return hit

    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            body = coverage(lambda u, v: inside(u - 1.5, v - 1.5), x, y)
            edge = coverage(lambda u, v: any(inside(u - 1.5 + dx, v - 1.5 + dy)
                                             for dx in (-1, 0, 1) for dy in (-1, 0, 1)), x, y)
            a = max(body, edge)
            c = int(255 * body / a) if a else 0
            row.append((c, c, c, int(a * 255 + 0.5)))
        rows.append(row)
    write_png(os.path.join(DATA, "cursor.png"), w, h, rows)


GLYPHS = {
    "A": ".###. #...# #...# ##### #...# #...# #...#", "B": "####. #...# #...# ####. #...# #...# ####.",
    "C": ".###. #...# #.... #.... #.... #...# .###.", "D": "####. #...# #...# #...# #...# #...# ####.",
    "E": "##### #.... #.... ####. #.... #.... #####", "F": "##### #.... #.... ####. #.... #.... #....",
    "G": ".###. #...# #.... #.### #...# #...# .####", "H": "#...# #...# #...# ##### #...# #...# #...#",
    "I": ".###. ..#.. ..#.. ..#.. ..#.. ..#.. .###.", "J": "..### ...#. ...#. ...#. ...#. #..#. .##..",
    "K": "#...# #..#. #.#.. ##... #.#.. #..#. #...#", "L": "#.... #.... #.... #.... #.... #.... #####",
    "M": "#...# ##.## #.#.# #.#.# #...# #...# #...#", "N": "#...# #...# ##..# #.#.# #..## #...# #...#",
    "O": ".###. #...# #...# #...# #...# #...# .###.", "P": "####. #...# #...# ####. #.... #.... #....",
    "Q": ".###. #...# #...# #...# #.#.# #..#. .##.#", "R": "####. #...# #...# ####. #.#.. #..#. #...#",
    "S": ".#### #.... #.... .###. ....# ....# ####.", "T": "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..",
    "U": "#...# #...# #...# #...# #...# #...# .###.", "V": "#...# #...# #...# #...# #...# .#.#. ..#..",
    "W": "#...# #...# #...# #.#.# #.#.# #.#.# .#.#.", "X": "#...# #...# .#.#. ..#.. .#.#. #...# #...#",
    "Y": "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#..", "Z": "##### ....# ...#. ..#.. .#... #.... #####",
    "a": "..... ..... .###. ....# .#### #...# .####", "b": "#.... #.... #.##. ##..# #...# #...# ####.",
    "c": "..... ..... .###. #.... #.... #...# .###.", "d": "....# ....# .##.# #..## #...# #...# .####",
    "e": "..... ..... .###. #...# ##### #.... .###.", "f": "..##. .#..# .#... ###.. .#... .#... .#...",
    "g": "..... .#### #...# #...# .#### ....# .###.", "h": "#.... #.... #.##. ##..# #...# #...# #...#",
    "i": "..#.. ..... .##.. ..#.. ..#.. ..#.. .###.", "j": "...#. ..... ..##. ...#. ...#. #..#. .##..",
    "k": "#.... #.... #..#. #.#.. ##... #.#.. #..#.", "l": ".##.. ..#.. ..#.. ..#.. ..#.. ..#.. .###.",
    "m": "..... ..... ##.#. #.#.# #.#.# #...# #...#", "n": "..... ..... #.##. ##..# #...# #...# #...#",
    "o": "..... ..... .###. #...# #...# #...# .###.", "p": "..... ..... ####. #...# ####. #.... #....",
    "q": "..... ..... .##.# #..## .#### ....# ....#", "r": "..... ..... #.##. ##..# #.... #.... #....",
    "s": "..... ..... .###. #.... .###. ....# ####.", "t": ".#... .#... ###.. .#... .#... .#..# ..##.",
    "u": "..... ..... #...# #...# #...# #..## .##.#", "v": "..... ..... #...# #...# #...# .#.#. ..#..",
    "w": "..... ..... #...# #...# #.#.# #.#.# .#.#.", "x": "..... ..... #...# .#.#. ..#.. .#.#. #...#",
    "y": "..... ..... #...# #...# .#### ....# .###.", "z": "..... ..... ##### ...#. ..#.. .#... #####",
    "0": ".###. #...# #..## #.#.# ##..# #...# .###.", "1": "..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###.",
    "2": ".###. #...# ....# ...#. ..#.. .#... #####", "3": "####. ....# ....# .###. ....# ....# ####.",
    "4": "...#. ..##. .#.#. #..#. ##### ...#. ...#.", "5": "##### #.... ####. ....# ....# #...# .###.",
    "6": "..##. .#... #.... ####. #...# #...# .###.", "7": "##### ....# ...#. ..#.. .#... .#... .#...",
    "8": ".###. #...# #...# .###. #...# #...# .###.", "9": ".###. #...# #...# .#### ....# ...#. .##..",
    ".": "..... ..... ..... ..... ..... .##.. .##..", ",": "..... ..... ..... ..... .##.. ..#.. .#...",
    ":": "..... .##.. .##.. ..... .##.. .##.. .....", ";": "..... .##.. .##.. ..... .##.. ..#.. .#...",
    "!": "..#.. ..#.. ..#.. ..#.. ..#.. ..... ..#..", "?": ".###. #...# ....# ...#. ..#.. ..... ..#..",
    "-": "..... ..... ..... ##### ..... ..... .....", "'": "..#.. ..#.. .#... ..... ..... ..... .....",
    '"': ".#.#. .#.#. ..... ..... ..... ..... .....", "(": "...#. ..#.. .#... .#... .#... ..#.. ...#.",
    ")": ".#... ..#.. ...#. ...#. ...#. ..#.. .#...", "/": "....# ...#. ...#. ..#.. .#... .#... #....",
    "+": "..... ..#.. ..#.. ##### ..#.. ..#.. .....", "=": "..... ..... ##### ..... ##### ..... .....",
    "<": "...#. ..#.. .#... #.... .#... ..#.. ...#.", ">": ".#... ..#.. ...#. ....# ...#. ..#.. .#...",
    "*": "..... ..#.. #.#.# .###. #.#.# ..#.. .....", "#": ".#.#. .#.#. ##### .#.#. ##### .#.#. .#.#.",
    "%": "##..# ##..# ...#. ..#.. .#... #..## #..##", "&": ".##.. #..#. #.#.. .#... #.#.# #..#. .##.#",
    "_": "..... ..... ..... ..... ..... ..... #####", "@": ".###. #...# #.### #.#.# #.### #.... .###.",
    "\xe9": "...#. ..#.. .###. #...# ##### #.... .###.",   # e acute (Windows-1252 0xE9)
    "\x95": "..... ..... .###. .###. .###. ..... .....",   # bullet (Windows-1252 0x95)
}


def font_sheet():
    size = 256
    rgba = [[(0, 0, 0, 0)] * size for _ in range(size)]
    for ch, rows in GLYPHS.items():
        code = ord(ch)
        bits = rows.split()
        cols = [c for c in range(5) if any(r[c] == "#" for r in bits)]
        left = cols[0] if cols else 0
        ox, oy = (code % 16) * 16 + 1, (code // 16) * 16 + 1
        # Shadow first (one pixel down and right), then the glyph, doubled.
        for layer in ("shadow", "glyph"):
            for ry, r in enumerate(bits):
                for rx, c in enumerate(r):
                    if c != "#":
                        continue
                    for dy in (0, 1):
                        for dx in (0, 1):
                            x = ox + (rx - left) * 2 + dx
                            y = oy + ry * 2 + dy
                            if layer == "shadow":
                                if rgba[y + 1][x + 1][3] == 0:
                                    rgba[y + 1][x + 1] = (0, 0, 20, 200)
                            else:
                                t = (ry * 2 + dy) / 13
                                rgba[y][x] = (255, int(255 - 35 * t), int(255 - 105 * t), 255)
    write_png(os.path.join(DATA, "font.png"), size, size, rgba)


def texts():
    files = {
        "title.txt": b"QuorvArt pictures",
        "menu.txt": b"\x95 Play the first track\r\n\x95 Show the pictures\r\n"
                    b"\x95 Caf\xe9 settings: long entries wrap at spaces and hyphens - like this one\r\n"
                    b"\x95 Quit",
        "scroll.txt": b"Line 0: top 5 rows cut\nLine 1 starts at 11\n"
                      b"Line 2 ends at 43\nLine 3 is not drawn",
        "label.txt": b"scaled group x1.5",
        "notes.txt": b"System font: Liberation Sans standing in for the face the scene asks for, cell "
                     b"height 12, average width 6. This text is word-wrapped inside its box and clipped "
                     b"to it; its bytes are Windows-1252: caf\xe9, \x93quotes\x94, \x80 20.\r\n"
                     b"A second paragraph begins after the line end and runs on until the box cuts it off "
                     b"somewhere in the middle of a line.",
    }
    for name, body in files.items():
        with open(os.path.join(DATA, name), "wb") as f:
            f.write(body)


SCENE = """<?xml version="1.0" encoding="UTF-8"?>
<!-- The pictures test scene: written by tools/gen/make_pictures_scene.py. The first root item is
     drawn on top, so the backdrop comes last. -->
<scene>
  <item name="notes" image="data\\notes.txt" x="790" y="640" w="420" h="66"/>
  <item name="panel" image="data\\panel.png" x="40" y="40" cx="0" cy="0">
    <item name="title" font="data\\font.png" image="data\\title.txt" x="18" y="14" cx="0" cy="0" w="300" h="20"/>
    <item name="menu" font="data\\font.png" image="data\\menu.txt" x="18" y="44" cx="0" cy="0" w="304" h="120"/>
    <item name="scroll" font="data\\font.png" image="data\\scroll.txt" x="18" y="170" cx="0" cy="0" w="304" h="48" oy="5"/>
  </item>
  <item name="star" image="data\\star.png" x="520" y="110"/>
  <item name="big star" image="data\\star.png" x="650" y="140" sx="2" sy="2"/>
  <item name="mirrored star" image="data\\star.png" x="760" y="110" cx="0" cy="0" sx="-1"/>
  <item name="half star" image="data\\star.png" x="800" y="78" cx="0" cy="0" ox="32"/>
  <item name="group" x="480" y="300" sx="1.5" sy="1.5">
    <item name="group star" image="data\\star.png" x="0" y="0" cx="0" cy="0"/>
    <item name="group label" font="data\\font.png" image="data\\label.txt" x="70" y="24" cx="0" cy="0" w="240" h="20"/>
    <item name="small star" image="data\\star.png" x="80" y="50" cx="0" cy="0" sx="0.5" sy="0.5"/>
  </item>
  <item name="backdrop" image="data\\backdrop.png" x="1024" y="768" sx="4" sy="4"/>
</scene>
"""


def main():
    os.makedirs(DATA, exist_ok=True)
    backdrop()
    panel()
    star()
    cursor()
    font_sheet()
    texts()
    with open(os.path.join(DATA, "QuorvArt.XQD"), "w", newline="\r\n") as f:
        f.write(SCENE)
    with open(os.path.join(OUT, "input.txt"), "w") as f:
        f.write("1 mouse 560 420\n")


if __name__ == "__main__":
    main()
