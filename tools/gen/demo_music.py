#!/usr/bin/env python3
"""Composes the demo disk's music and sound effects from scratch: two tracker modules, an Ogg and an
MP3 track synthesised here and encoded with Debian's oggenc and lame, and three short effects.
Run: /usr/bin/python3 tools/gen/demo_music.py demo/data"""
import math
import os
import random
import struct
import subprocess
import sys
import tempfile
import wave

sys.path.insert(0, os.path.dirname(__file__))
import modgen  # noqa: E402

RATE = 44100


def chord_song(path):
    """"Quorv Theme": C - Am - F - G, bass, arpeggio, melody and drums, four patterns."""
    samples = [modgen.looped("bass saw", "saw", 32, 90), modgen.looped("lead square", "square", 32, 60, 40),
               modgen.looped("melody tri", "triangle", 16, 110, 56), modgen.kick(),
               modgen.noise("snare", 3000, 700), modgen.noise("hat", 600, 90, 60, 3)]
    roots = ["C-1", "A-1", "F-1", "G-1"]
    arps = [["C-2", "E-2", "G-2", "C-3"], ["A-1", "C-2", "E-2", "A-2"], ["F-1", "A-1", "C-2", "F-2"],
            ["G-1", "B-1", "D-2", "G-2"]]
    melody = [["E-3", None, "D-3", "C-3", None, "D-3", "E-3", None], ["C-3", None, "B-2", "A-2", None, "C-3", "E-3", None],
              ["A-2", None, "C-3", "F-3", None, "E-3", "C-3", None], ["D-3", None, "B-2", "G-2", None, "B-2", "D-3", None]]
    patterns = []
    for variant in range(4):
        p = modgen.Pattern()
        for bar in range(4):
            base = bar * 16
            for step in range(0, 16, 4):
                p.note(base + step, 0, roots[bar], 1)
            for step in range(16):
                p.note(base + step, 1, arps[bar][step % 4], 2)
            if variant >= 1:
                for i, n in enumerate(melody[bar]):
                    if n:
                        p.note(base + i * 2, 2, n, 3)
            for step in range(0, 16, 8):
                p.note(base + step, 3, "C-2", 4)
                p.note(base + step + 4, 3, "C-2", 5)
            if variant >= 2:
                for step in range(2, 16, 4):
                    p.note(base + step, 3, "C-3", 6)
        p.effect(0, 3, 0xF, 6)
        patterns.append(p)
    modgen.write_module(path, "Quorv Theme", samples, patterns, [0, 1, 2, 3])


def night_song(path):
    """"Night Drive": a slower minor groove, three patterns."""
    samples = [modgen.looped("bass tri", "triangle", 32, 120), modgen.looped("pad sine", "sine", 32, 80, 36),
               modgen.looped("lead saw", "saw", 16, 70, 44), modgen.kick(), modgen.noise("hat", 500, 80, 50, 5)]
    roots = ["D-1", "A#1", "F-1", "C-1"]
    pads = [["D-2", "F-2", "A-2"], ["A#1", "D-2", "F-2"], ["F-1", "A-1", "C-2"], ["C-2", "E-2", "G-2"]]
    lead = ["A-2", "C-3", "D-3", "F-3", "E-3", "D-3", "C-3", "A-2"]
    patterns = []
    for variant in range(3):
        p = modgen.Pattern()
        for bar in range(4):
            base = bar * 16
            for step in (0, 6, 8, 14):
                p.note(base + step, 0, roots[bar], 1)
            for i, n in enumerate(pads[bar]):
                p.note(base + i * 4, 1, n, 2)
            if variant >= 1:
                for i in range(4):
                    p.note(base + i * 4 + 2, 2, lead[(bar * 2 + i) % len(lead)], 3)
            for step in range(0, 16, 4):
                p.note(base + step, 3, "C-2" if step % 8 == 0 else "C-3", 4 if step % 8 == 0 else 5)
        p.effect(0, 3, 0xF, 7)
        patterns.append(p)
    modgen.write_module(path, "Night Drive", samples, patterns, [0, 1, 2, 1])


def write_wav(path, frames, channels=2, rate=RATE):
    with wave.open(path, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<" + "h" * channels, *[max(-32767, min(32767, int(v * 32767))) for v in f])
                               for f in frames))


def note_hz(semitones_from_a4):
    return 440.0 * 2 ** (semitones_from_a4 / 12)


def ambient(seconds=24):
    """Slow chords of detuned sines with a breathing swell."""
    chords = [[-21, -14, -9, -5], [-24, -17, -12, -8], [-19, -12, -7, -3], [-22, -15, -10, -5]]
    frames = []
    for i in range(int(seconds * RATE)):
        t = i / RATE
        chord = chords[int(t / (seconds / 4)) % 4]
        swell = 0.5 - 0.5 * math.cos(2 * math.pi * t / 6)
        left = right = 0.0
        for k, n in enumerate(chord):
            f = note_hz(n)
            left += math.sin(2 * math.pi * f * t + k) * (0.12 + 0.05 * swell)
            right += math.sin(2 * math.pi * f * 1.003 * t) * (0.12 + 0.05 * (1 - swell))
        fade = min(1.0, t / 1.5, (seconds - t) / 1.5)
        frames.append((left * fade, right * fade))
    return frames


def plucks(seconds=18):
    """A plucked-string arpeggio (Karplus-Strong), alternating left and right."""
    rnd = random.Random(11)
    out = [[0.0, 0.0] for _ in range(int(seconds * RATE))]
    pattern = [0, 4, 7, 12, 7, 4, 2, 5, 9, 14, 9, 5]
    step = 0.25
    for k in range(int(seconds / step) - 2):
        f = note_hz(-9 + pattern[k % len(pattern)] + (5 if (k // 24) % 2 else 0))
        n = int(RATE / f)
        buf = [rnd.uniform(-1, 1) for _ in range(n)]
        start = int(k * step * RATE)
        pan = 0.3 if k % 2 else 0.7
        for j in range(int(RATE * 0.9)):
            if start + j >= len(out):
                break
            v = buf[j % n]
            buf[j % n] = 0.996 * 0.5 * (v + buf[(j + 1) % n])
            out[start + j][0] += v * 0.3 * (1 - pan)
            out[start + j][1] += v * 0.3 * pan
    return [tuple(f) for f in out]


def effect(path, tones, length=0.09, rate=22050):
    frames = []
    for i in range(int(length * rate)):
        t = i / rate
        f = tones[min(len(tones) - 1, int(t / length * len(tones)))]
        env = min(1.0, t / 0.004) * math.exp(-t / (length / 3))
        frames.append((0.5 * env * math.sin(2 * math.pi * f * t),))
    write_wav(path, frames, 1, rate)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "demo/data"
    music = os.path.join(out, "Quorv Part")
    sfx = os.path.join(out, "sfx")
    os.makedirs(music, exist_ok=True)
    os.makedirs(sfx, exist_ok=True)
    chord_song(os.path.join(music, "01 Quorv Theme.mod"))
    night_song(os.path.join(music, "02 Night Drive.mod"))
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "ambient.wav")
        write_wav(wav, ambient())
        subprocess.run(["oggenc", "-Q", "-q", "1", "-o", os.path.join(music, "03 Ambient Tide.ogg"), wav], check=True)
        wav = os.path.join(tmp, "plucks.wav")
        write_wav(wav, plucks())
        subprocess.run(["lame", "--quiet", "-V", "9", wav, os.path.join(music, "04 Pluck Parade.mp3")], check=True)
    effect(os.path.join(sfx, "tick.wav"), [1320], 0.05)
    effect(os.path.join(sfx, "select.wav"), [660, 990], 0.14)
    effect(os.path.join(sfx, "back.wav"), [880, 587], 0.14)


if __name__ == "__main__":
    main()
