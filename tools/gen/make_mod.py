#!/usr/bin/env python3
"""Writes a small four-channel tracker module ("M.K." layout): a looped sine tone held for a number
of rows per order, so its length is orders x rows x speed x 20 ms (at the default tempo).

    make_mod.py OUT.mod [--orders N] [--rows R] [--speed S] [--period P] [--title TEXT] [--busy]

--busy strikes a new note on all four channels on every row instead (a heavier song to mix).

The layout: a 20-byte title, 31 sample headers of 30 bytes (22-byte name, length in 16-bit words
big-endian, finetune, volume, loop start and loop length in words), the song length, the restart
byte, a 128-byte order table, the tag "M.K.", patterns of 64 rows x 4 channels x 4 bytes, then the
signed 8-bit sample data.
"""
import argparse
import math
import struct
import sys


def note(sample=0, period=0, effect=0, parameter=0):
    return bytes([(sample & 0xF0) | ((period >> 8) & 0x0F), period & 0xFF,
                  ((sample & 0x0F) << 4) | (effect & 0x0F), parameter & 0xFF])


SCALE = [428, 381, 339, 320, 285, 254, 226, 214]


def tone_song(orders, rows, speed, period, title, busy=False):
    tone = bytes(round(100 * math.sin(2 * math.pi * i / 32)) & 0xFF for i in range(128))
    out = bytearray(title.encode("latin-1")[:20].ljust(20, b"\0"))
    for i in range(31):
        if i == 0:  # the tone, looped whole
            out += b"sine".ljust(22, b"\0") + struct.pack(">HBBHH", len(tone) // 2, 0, 64, 0, len(tone) // 2)
        else:
            out += bytes(22) + struct.pack(">HBBHH", 0, 0, 0, 0, 1)
    out += bytes([orders, 127]) + bytes(range(orders)).ljust(128, b"\0") + b"M.K."
    for _ in range(orders):
        for row in range(64):
            cells = [note(), note(), note(), note()]
            if busy and row < rows:
                cells = [note(1, SCALE[(row + 3 * c) % len(SCALE)] * (c % 2 + 1)) for c in range(4)]
            if row == 0:
                cells[0] = note(1, period, 0xF, speed)
            if row == rows - 1 and rows < 64:
                cells[1] = note(0, 0, 0xD, 0)  # break to the next order
            out += b"".join(cells)
    out += tone
    return bytes(out)


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("out")
    p.add_argument("--orders", type=int, default=2)
    p.add_argument("--rows", type=int, default=16)
    p.add_argument("--speed", type=int, default=6)
    p.add_argument("--period", type=int, default=428)
    p.add_argument("--title", default="tone")
    p.add_argument("--busy", action="store_true")
    a = p.parse_args()
    if not (1 <= a.orders <= 64 and 1 <= a.rows <= 64 and 1 <= a.speed <= 31 and 113 <= a.period <= 856):
        sys.exit("make_mod.py: orders 1-64, rows 1-64, speed 1-31, period 113-856")
    with open(a.out, "wb") as f:
        f.write(tone_song(a.orders, a.rows, a.speed, a.period, a.title, a.busy))


if __name__ == "__main__":
    main()
