#!/usr/bin/env python3
"""Writes large scene documents for timing `quorvart-run DISK --check`, one shape per disk:

  nested N      N items, each inside the one before (indented one more space a level)
  siblings N    N root items side by side, each with a name, a script and a lookup
  attributes N  one item with N attributes of its own names (unknown to the checker)
  pages N       N items as pages of buttons with labels, hover, lookups and timers (the author's case)
  statements N  one item whose onLoad script is N statements

Run: python3 bench/scale_disk.py SHAPE N OUT_DIR     (OUT_DIR gets data/QuorvArt.XQD)
Standard library only."""
import os
import sys


def nested(n, out):
    out.append("<disk>\n")
    for i in range(n):
        out.append(" " * (i % 50 + 1) + f'<item name="n{i}" x="1" onSubmit="Activate n{i + 1}">\n')
    for i in reversed(range(n)):
        out.append(" " * (i % 50 + 1) + "</item>\n")
    out.append("</disk>\n")


def siblings(n, out):
    out.append("<disk>\n")
    for i in range(n):
        out.append(f' <item name="s{i}" x="{i % 1000}" y="3" onSubmit="Hide s{(i + 1) % n};Change s{i} x +1"/>\n')
    out.append("</disk>\n")


def attributes(n, out):
    out.append('<disk>\n <item name="a" x="1"')
    for i in range(n):
        out.append(f' a{i}="{i}"')
    out.append("/>\n</disk>\n")


def pages(n, out):
    out.append("<disk>\n")
    per = 100
    count = max(1, n // per)
    for p in range(count):
        page = f"p{p}"
        out.append(f' <item name="{page}" w="1024" h="768" show="{1 if p == 0 else 0}" '
                   f'onEscape="ActivateSingle p0" onActivate="SetTimer t{p} 0.02 10 Change {page} x +1 0 100|'
                   f'Change {page} ca -5 0 255;SetTimerEnd t{p} Change {page} x =0">\n')
        for b in range(per // 2 - 1):
            button = f"{page}b{b}"
            out.append(f'  <item name="{button}" x="{40 + (b % 7) * 130}" y="{40 + (b // 7) * 90}" w="120" h="80" '
                       f'onHoverOn="Change {button} cb =90" onHoverOff="Change {button} cb =255" '
                       f'onSubmit="ActivateSingle p{(p + 1) % count};ResetTimer t{p}" '
                       f'onDown="Hide {button};Activate {page}b{(b + 1) % (per // 2 - 1)}">\n')
            out.append('   <item x="10" y="10" w="100" h="20"/>\n')
            out.append("  </item>\n")
        out.append(f'  <item name="{page}hint" x="40" y="700" w="400" h="20"/>\n')
        out.append(" </item>\n")
    out.append("</disk>\n")


def statements(n, out):
    out.append('<disk>\n <item name="a" onLoad="')
    out.append(";".join(f"Change a x ={i % 100}" for i in range(n)))
    out.append('"/>\n</disk>\n')


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    shape, n, folder = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    shapes = {"nested": nested, "siblings": siblings, "attributes": attributes, "pages": pages,
              "statements": statements}
    if shape not in shapes:
        sys.exit(__doc__)
    out = ['<?xml version="1.0" encoding="UTF-8"?>\n']
    shapes[shape](n, out)
    os.makedirs(os.path.join(folder, "data"), exist_ok=True)
    with open(os.path.join(folder, "data", "QuorvArt.XQD"), "w", encoding="utf-8") as f:
        f.write("".join(out))


main()
