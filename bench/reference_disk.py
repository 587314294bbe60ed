#!/usr/bin/env python3
"""Writes the reference disk of the frame benchmarks: one full-screen picture, 50 sprites of
128 x 128 (10 at half alpha, 10 scaled 1.5) and one text item of 2,000 glyphs from a bitmap font
sheet of 16 x 16 cells. Timers move every sprite and scroll the text in every frame, so that every
frame draws everything anew. Standard library only (the pictures are written as plain PNG files).

Run: python3 bench/reference_disk.py OUT_DIR      (OUT_DIR gets data/ with the scene in it)"""
import math
import os
import struct
import sys
import zlib

SPRITES = 50
TEXT_LINES = 48  # more lines than the box shows, so scrolling keeps it full
LETTERS = 49  # per line, plus the line end: 40 shown lines of 50 glyphs are 2,000 glyph draws
SHOWN_LINES = 40
CELL = 16
GLYPH = 10  # glyph width in pixels


def png(path, width, height, pixel):
    """Writes a 32-bit RGBA PNG; pixel(x, y) gives (r, g, b, a)."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # no filter
        for x in range(width):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(bytes(rows), 6)))
        f.write(chunk(b"IEND", b""))


def background(x, y):
    return (x // 4, y // 3, 0x40, 255)


def ball(x, y):
    # Opaque inside, a soft edge, transparent corners.
    d = math.hypot(x - 63.5, y - 63.5)
    return (0xE0, 0xA0, 0x40, int(min(max((64.0 - d) * 64.0, 0.0), 255.0)))


def font(x, y):
    # Every cell holds a glyph GLYPH pixels wide (its last column opaque, so it measures so), with
    # transparent gaps inside; row 0 (the control codes: line ends among them) is blank.
    cx, cy = x % CELL, y % CELL
    if y < CELL or cx >= GLYPH or cy >= 14:
        return (0, 0, 0, 0)
    return (255, 255, 255, 255) if (cx + cy) % 3 != 0 or cx == GLYPH - 1 else (0, 0, 0, 0)


def cursor(x, y):
    return (255, 255, 255, 255) if x <= y < 16 and x < 12 else (0, 0, 0, 0)


def sprite_place(i):
    """Start position and scale of sprite i; its picture covers [x, x + 128 * scale)."""
    scale = 1.5 if i % 5 == 1 else 1.0
    return (i * 97) % 560, (i * 61) % 440, scale


def scene():
    items = []
    # Front to back: the text, the sprites, the picture under everything.
    items.append('<item name="text" font="data\\font.png" image="data\\text.txt" x="380" y="64" cx="0" cy="0"'
                 ' w="600" h="%d"/>' % (SHOWN_LINES * CELL))
    for i in range(SPRITES):
        x, y, scale = sprite_place(i)
        extra = ' sx="1.5" sy="1.5"' if scale != 1.0 else ""
        items.append('<item name="b%d" image="data\\ball.png" x="%d" y="%d" cx="0" cy="0"%s/>' % (i, x, y, extra))
    # The timers: every frame (period 0 ticks once per pass) each sprite moves 2 right and 1 down and
    # the text scrolls by a pixel; every 1.6 s the sprites go back to where they started (about 100
    # frames, so no sprite leaves the screen), and every 0.25 s the text (before its scroll passes a
    # whole line).
    move = "|".join("Change b%d x +2|Change b%d y +1" % (i, i) for i in range(SPRITES))
    back = "|".join("Change b%d x =%d|Change b%d y =%d" % (i, sprite_place(i)[0], i, sprite_place(i)[1])
                    for i in range(SPRITES))
    load = ["Change b%d ca =128" % i for i in range(SPRITES) if i % 5 == 2]
    load.append("SetTimer move 0 2000000000 %s|Change text oy +1" % move)
    load.append("SetTimer back 1.6 2000000000 %s" % back)
    load.append("SetTimer scroll 0.25 2000000000 Change text oy =0")
    items.append('<item name="back" image="data\\back.png" cx="0" cy="0" onLoad="%s"/>' % ";".join(load))
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<!-- The frame benchmarks\' reference disk. Written by '
            'bench/reference_disk.py. -->\n<disk>\n' + "".join(" %s\n" % it for it in items) + "</disk>\n")


def main():
    if len(sys.argv) != 2 or sys.argv[1].startswith("-"):
        sys.exit(__doc__)
    data = os.path.join(sys.argv[1], "data")
    os.makedirs(data, exist_ok=True)
    png(os.path.join(data, "back.png"), 1024, 768, background)
    png(os.path.join(data, "ball.png"), 128, 128, ball)
    png(os.path.join(data, "font.png"), 16 * CELL, 16 * CELL, font)
    png(os.path.join(data, "cursor.png"), 32, 32, cursor)
    lines = ["".join(chr(ord("A") + (line + i) % 26) for i in range(LETTERS)) for line in range(TEXT_LINES)]
    with open(os.path.join(data, "text.txt"), "wb") as f:
        f.write("".join(line + "\n" for line in lines).encode("ascii"))
    with open(os.path.join(data, "QuorvArt.XQD"), "w", encoding="utf-8") as f:
        f.write(scene())


if __name__ == "__main__":
    main()
