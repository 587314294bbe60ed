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
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import modgen  # noqa: E402

SCALE = [428, 381, 339, 320, 285, 254, 226, 214]


def tone_song(path, orders, rows, speed, period, title, busy=False):
    tone = modgen.Sample("sine", [round(100 * math.sin(2 * math.pi * i / 32)) for i in range(128)], 64, 0, 128)
    patterns = []
    for _ in range(orders):
        p = modgen.Pattern()
        if busy:
            for row in range(rows):
                for c in range(4):
                    p.cell(row, c, 1, SCALE[(row + 3 * c) % len(SCALE)] * (c % 2 + 1))
        p.cell(0, 0, 1, period, 0xF, speed)
        if rows < 64:
            p.cell(rows - 1, 1, 0, 0, 0xD, 0)  # break to the next order
        patterns.append(p)
    modgen.write_module(path, title, [tone], patterns, list(range(orders)))


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
    tone_song(a.out, a.orders, a.rows, a.speed, a.period, a.title, a.busy)


if __name__ == "__main__":
    main()
