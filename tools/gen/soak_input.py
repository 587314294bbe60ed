#!/usr/bin/env python3
"""Writes random input for quorvart-run from a fixed seed: keys pressed and released, mouse moves,
clicks and double clicks, the wheel, and the joystick pushed about and let go, spread over the run.

    soak_input.py --frames N [--seed S] > input.txt

The same seed always gives the same file. It never closes the window.
"""
import argparse
import random

KEYS = ["Enter", "Esc", "PageUp", "PageDown", "Left", "Up", "Right", "Down"]


def actions(frames, rng):
    out = []
    frame = 1
    while True:
        frame += rng.randint(3, 90)
        if frame >= frames:
            break
        kind = rng.choices(["key", "mouse", "click", "dblclick", "wheel", "joy"],
                           weights=[40, 22, 15, 5, 6, 12])[0]
        if kind == "key":
            key = rng.choice(KEYS)
            out.append((frame, f"key down {key}"))
            out.append((frame + rng.randint(1, 8), f"key up {key}"))
        elif kind == "mouse":
            # A short glide of a few steps towards a random point.
            x, y = rng.randint(0, 1023), rng.randint(0, 767)
            for step in range(rng.randint(1, 6)):
                out.append((frame + step, f"mouse {x} {y}"))
                x = min(1023, max(0, x + rng.randint(-60, 60)))
                y = min(767, max(0, y + rng.randint(-60, 60)))
        elif kind == "click":
            button = rng.choice(["left", "left", "right"])
            out.append((frame, f"button {button} down"))
            out.append((frame + rng.randint(1, 5), f"button {button} up"))
        elif kind == "dblclick":
            out.append((frame, f"dblclick {rng.choice(['left', 'right'])}"))
        elif kind == "wheel":
            out.append((frame, f"wheel {rng.choice([-240, -120, 120, 240])}"))
        else:
            x = rng.choice([0, 8000, 32767, 57000, 65535])
            y = rng.choice([0, 8000, 32767, 57000, 65535])
            out.append((frame, f"joy {x} {y} {rng.choice([0, 0, 1, 2, 3])}"))
            out.append((frame + rng.randint(5, 40), "joy 32767 32767 0"))
    out = [a for a in out if a[0] < frames]
    out.sort(key=lambda a: a[0])  # stable: a frame's actions keep their order
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--frames", type=int, required=True)
    parser.add_argument("--seed", type=int, default=20261207)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    for frame, action in actions(args.frames, rng):
        print(frame, action)


if __name__ == "__main__":
    main()
