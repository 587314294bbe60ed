#!/usr/bin/env python3
"""Draws the demo disk's pictures from scratch (Debian's python3-pil and the Liberation fonts, which
are free); its bitmap-font sheets are made by the font tool, as an author would make them.
Run after a build: /usr/bin/python3 tools/gen/demo_pictures.py demo/data [--font-tool build/quorvart-font]"""
import math
import os
import subprocess
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

SANS = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"
SANS_BOLD = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"


def font_sheet(tool, path, cell, size, face):
    """A 16 x 16 grid of glyph cells (windows-1252 codes), white with alpha, made by quorvart-font."""
    subprocess.run([tool, face, str(size), path, "--cell", "%dx%d" % (cell, cell)], check=True,
                   stdout=subprocess.DEVNULL)


def background(path):
    w, h = 1024, 768
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        for x in range(w):
            t = y / h
            glow = math.exp(-(((x - 700) / 380) ** 2 + ((y - 260) / 300) ** 2))
            r = int(10 + 30 * t + 70 * glow)
            g = int(14 + 20 * t + 40 * glow)
            b = int(40 + 60 * (1 - t) + 90 * glow)
            if x % 64 == 0 or y % 64 == 0:
                r, g, b = r + 12, g + 14, b + 22
            px[x, y] = (min(r, 255), min(g, 255), min(b, 255))
    img.save(path, quality=88)


def logo(path):
    font = ImageFont.truetype(SANS_BOLD, 96)
    w, h = int(font.getlength("QuorvArt")) + 28, 128
    text = Image.new("L", (w, h), 0)
    ImageDraw.Draw(text).text((14, 2), "QuorvArt", font=font, fill=255)
    glow = text.filter(ImageFilter.GaussianBlur(8))
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    img.paste((90, 160, 255, 255), mask=glow)
    fill = Image.new("RGBA", (w, h))
    fd = ImageDraw.Draw(fill)
    for y in range(h):
        t = y / h
        fd.line([(0, y), (w, y)], fill=(int(255 - 60 * t), int(220 - 100 * t), int(120 + 120 * t), 255))
    img.paste(fill, mask=text)
    img.save(path, optimize=True)


def rounded(path, size, fill, outline, radius=12, width=2):
    img = Image.new("RGBA", size, (0, 0, 0, 0))
    ImageDraw.Draw(img).rounded_rectangle([0, 0, size[0] - 1, size[1] - 1], radius, fill=fill,
                                          outline=outline, width=width)
    img.save(path, optimize=True)


def highlight(path, size):
    w, h = size
    img = Image.new("RGBA", size, (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    for i in range(8):
        a = 30 + i * 20
        d.rounded_rectangle([i, i, w - 1 - i, h - 1 - i], 14, outline=(255, 200, 90, min(a, 255)), width=1)
    d.rounded_rectangle([8, 8, w - 9, h - 9], 10, fill=(255, 190, 80, 70))
    img.save(path, optimize=True)


def star(path, size=64):
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    px = img.load()
    c = (size - 1) / 2
    for y in range(size):
        for x in range(size):
            dx, dy = abs(x - c), abs(y - c)
            d = math.hypot(dx, dy)
            core = max(0.0, 1 - d / (size * 0.18))
            rays = max(0.0, 1 - min(dx, dy) / 2.5) * max(0.0, 1 - d / (size / 2))
            a = min(1.0, core + rays * 0.9)
            px[x, y] = (255, 240, 200, int(255 * a))
    img.save(path, optimize=True)


def ball(path, size=48, colour=(90, 200, 255)):
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    px = img.load()
    c = (size - 1) / 2
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - c, y - c) / c
            if d <= 1:
                light = max(0.0, 1 - math.hypot(x - c * 0.6, y - c * 0.6) / (c * 1.4))
                r, g, b = (min(255, int(v * (0.55 + 0.45 * light) + 120 * light ** 4)) for v in colour)
                px[x, y] = (r, g, b, int(255 * min(1.0, (1 - d) * 6)))
    img.save(path, optimize=True)


def cursor(path):
    img = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    arrow = [(1, 1), (1, 24), (7, 18), (12, 29), (16, 27), (11, 17), (19, 17)]
    d.polygon(arrow, fill=(255, 255, 255, 255), outline=(0, 0, 0, 255))
    img.save(path, optimize=True)


def curtain(path):
    Image.new("RGBA", (64, 48), (0, 0, 0, 255)).save(path, optimize=True)


def main():
    args = sys.argv[1:]
    tool = "build/quorvart-font"
    if "--font-tool" in args:
        at = args.index("--font-tool")
        tool = args[at + 1]
        del args[at:at + 2]
    out = args[0] if args else "demo/data"
    pics = os.path.join(out, "pics")
    os.makedirs(pics, exist_ok=True)
    font_sheet(tool, os.path.join(pics, "font16.png"), 16, 13, SANS)
    font_sheet(tool, os.path.join(pics, "font32.png"), 32, 25, SANS_BOLD)
    background(os.path.join(pics, "background.jpg"))
    logo(os.path.join(pics, "logo.png"))
    rounded(os.path.join(pics, "button.png"), (300, 52), (30, 40, 80, 190), (120, 150, 255, 230))
    highlight(os.path.join(pics, "highlight.png"), (300, 52))
    highlight(os.path.join(pics, "highlight_wide.png"), (580, 48))
    rounded(os.path.join(pics, "panel.png"), (620, 560), (8, 12, 30, 215), (110, 140, 240, 255), 18, 3)
    rounded(os.path.join(pics, "chip.png"), (560, 44), (40, 50, 100, 200), (140, 170, 255, 200), 10)
    star(os.path.join(pics, "star.png"))
    ball(os.path.join(pics, "ball.png"))
    ball(os.path.join(pics, "ball2.png"), 48, (255, 120, 160))
    curtain(os.path.join(pics, "curtain.png"))
    cursor(os.path.join(out, "cursor.png"))


if __name__ == "__main__":
    main()
