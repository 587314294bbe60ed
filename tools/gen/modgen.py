#!/usr/bin/env python3
"""Writes four-channel tracker modules (the "M.K." format): samples are made from code, patterns
from note lists. Used by the demo's music generator and by tests that need a small valid module."""
import math
import random
import struct

# Amiga periods, finetune 0, octaves 1 to 3, C to B.
PERIODS = [856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
           428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
           214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113]
NOTE_NAMES = ["C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"]


def period(note):
    """A note such as "C-2" or "F#1" as its period."""
    return PERIODS[NOTE_NAMES.index(note[:2]) + 12 * (int(note[2]) - 1)]


class Sample:
    def __init__(self, name, data, volume=64, loop_start=0, loop_length=0):
        self.name, self.volume = name, volume
        self.data = bytes((int(max(-128, min(127, v))) & 0xFF) for v in data)
        if len(self.data) % 2:
            self.data += b"\0"
        self.loop_start, self.loop_length = loop_start, loop_length

    def header(self):
        loop_len = self.loop_length // 2 if self.loop_length else 1
        return struct.pack(">22sHBBHH", self.name.encode("latin-1")[:22], len(self.data) // 2, 0,
                           self.volume, self.loop_start // 2, loop_len)


def cycle(kind, length=32, amplitude=100):
    out = []
    for i in range(length):
        t = i / length
        if kind == "square":
            v = amplitude if t < 0.5 else -amplitude
        elif kind == "saw":
            v = amplitude * (2 * t - 1)
        elif kind == "triangle":
            v = amplitude * (4 * abs(t - 0.5) - 1)
        else:
            v = amplitude * math.sin(2 * math.pi * t)
        out.append(v)
    return out


def looped(name, kind, length=32, amplitude=100, volume=64):
    data = cycle(kind, length, amplitude) * 8
    return Sample(name, data, volume, 0, len(data))


def kick(length=2400):
    data, phase = [], 0.0
    for i in range(length):
        f = 180 * math.exp(-i / 500) + 40
        phase += 2 * math.pi * f / 8287
        data.append(120 * math.sin(phase) * math.exp(-i / 1200))
    return Sample("kick", data)


def noise(name, length, decay, amplitude=90, seed=7):
    rnd = random.Random(seed)
    return Sample(name, [amplitude * rnd.uniform(-1, 1) * math.exp(-i / decay) for i in range(length)], 48)


class Pattern:
    def __init__(self):
        self.rows = [[(0, 0, 0, 0)] * 4 for _ in range(64)]

    def note(self, row, channel, note, sample, effect=0, param=0):
        self.cell(row, channel, sample, period(note) if note else 0, effect, param)

    def cell(self, row, channel, sample, per, effect=0, param=0):
        """A note given by its raw period (0 = none)."""
        self.rows[row][channel] = (sample, per, effect, param)

    def effect(self, row, channel, effect, param):
        s, p, _, _ = self.rows[row][channel]
        self.rows[row][channel] = (s, p, effect, param)

    def data(self):
        out = bytearray()
        for row in self.rows:
            for sample, per, effect, param in row:
                out += bytes([(sample & 0xF0) | (per >> 8), per & 0xFF, ((sample & 0x0F) << 4) | effect, param])
        return bytes(out)


def write_module(path, title, samples, patterns, order):
    samples = list(samples)[:31]
    out = bytearray(title.encode("latin-1")[:20].ljust(20, b"\0"))
    for s in samples:
        out += s.header()
    for _ in range(31 - len(samples)):
        out += struct.pack(">22sHBBHH", b"", 0, 0, 0, 0, 1)
    out += bytes([len(order), 127])
    out += bytes(order).ljust(128, b"\0")
    out += b"M.K."
    for p in patterns:
        out += p.data()
    for s in samples:
        out += s.data
    with open(path, "wb") as f:
        f.write(out)


def tiny_module(path, rows=16):
    """A valid module of one short pattern: a square wave note, then an early end (pattern break)."""
    square = looped("square", "square")
    p = Pattern()
    p.note(0, 0, "C-2", 1)
    p.effect(0, 0, 0xF, 6)
    p.effect(rows - 1, 0, 0xD, 0)
    write_module(path, "tiny", [square], [p], [0])
