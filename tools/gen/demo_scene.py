#!/usr/bin/env python3
"""Writes the demo disk's scene document. The scene is regular (six menu entries, five music
entries, each with the same scripts), so it is generated rather than typed; the result is an
ordinary scene document that an author can read and copy from.
Run: /usr/bin/python3 tools/gen/demo_scene.py demo/data"""
import os
import sys
from xml.sax.saxutils import quoteattr

P = "data\\pics\\"
T = "data\\text\\"
SFX = "data\\sfx\\"
TRACKS = ["01 Quorv Theme.mod", "02 Night Drive.mod", "03 Ambient Tide.ogg", "04 Pluck Parade.mp3"]


def item(indent, children=None, **attrs):
    text = " " * indent + "<item"
    for k, v in attrs.items():
        text += " %s=%s" % (k.rstrip("_"), quoteattr(str(v)))
    if not children:
        return text + "/>\n"
    return text + ">\n" + "".join(children) + " " * indent + "</item>\n"


def label(indent, name, font, textfile, x, y, w, h, **extra):
    return item(indent, font=P + font, image=T + textfile, name=name, x=x, y=y, cx=0, cy=0, w=w, h=h, **extra)


def selectors(indent, prefix, count, ys, x, picture, submit):
    """Keyboard selection: one visible highlight per entry; the visible one takes the keys."""
    out = []
    for i in range(1, count + 1):
        nxt = i % count + 1
        prv = (i - 2) % count + 1
        out.append(item(indent, name="%s%d" % (prefix, i), image=P + picture, x=x, y=ys[i - 1], cx=0, cy=0,
                        show=1 if i == 1 else 0,
                        onDown="Hide %s%d;Activate %s%d;PlaySfx %stick.wav" % (prefix, i, prefix, nxt, SFX),
                        onUp="Hide %s%d;Activate %s%d;PlaySfx %stick.wav" % (prefix, i, prefix, prv, SFX),
                        onSubmit=submit[i - 1]))
    return out


def select_only(prefix, count, i):
    return ";".join("Hide %s%d" % (prefix, k) for k in range(1, count + 1)) + ";Activate %s%d" % (prefix, i)


def home():
    entries = ["m1.txt", "m2.txt", "m3.txt", "m4.txt", "m5.txt", "m6.txt"]
    ys = [200 + 78 * i for i in range(6)]
    pages = ["read", "notes", "anim", "music", "about"]
    submit = ["PlaySfx %sselect.wav;ActivateSingle %s" % (SFX, p) for p in pages]
    submit.append("PlaySfx %sback.wav;Activate curtain;Change curtain ca =0;"
                  "SetTimer bye 0.02 25 Change curtain ca +10 0 255;SetTimerEnd bye ExitApp" % SFX)
    kids = [item(4, image=P + "logo.png", name="logo", x=40, y=30, cx=0, cy=0),
            item(4, [label(6, "welcome", "font16.png", "welcome.txt", 28, 24, 560, 512)],
                 image=P + "panel.png", name="welcomePanel", x=380, y=180, cx=0, cy=0)]
    for i, (entry, y) in enumerate(zip(entries, ys), 1):
        kids.append(item(4, [label(6, "label%d" % i, "font32.png", entry, 22, 10, 270, 34)],
                         image=P + "button.png", name="b%d" % i, x=40, y=y, cx=0, cy=0,
                         onHoverOn=select_only("s", 6, i) + ";PlaySfx %stick.wav" % SFX))
    kids += selectors(4, "s", 6, ys, 40, "highlight.png", submit)
    # No onActivate here: the selectors' onActivate, which they do not handle, would reach it.
    return item(2, kids, name="home", x=-380, w=1024, h=768, cx=0, cy=0,
                onEscapeUp="PlaySfx %sback.wav" % SFX)


def page(name, title, children, **scripts):
    kids = [item(4, image=P + "panel.png", x=202, y=150, cx=0, cy=0),
            label(4, name + "Title", "font32.png", title, 232, 168, 560, 40)] + children
    return item(2, kids, name=name, show=0, w=1024, h=768, cx=0, cy=0,
                onEscape="ActivateSingle home;ResetTimer homeIn", **scripts)


def read_page():
    text = label(4, "readText", "font16.png", "readme.txt", 232, 220, 560, 432,
                 onDown="Change readText oy +16 0 640", onUp="Change readText oy -16 0 640",
                 onPgDn="Change readText oy +416 0 640", onPgUp="Change readText oy -416 0 640")
    hint = label(4, "readHint", "font16.png", "hint_read.txt", 232, 670, 560, 20)
    return page("read", "t_read.txt", [text, hint])


def notes_page():
    notes = item(4, image=T + "notes.txt", name="notesText", x=232, y=220, cx=0, cy=0, w=560, h=430)
    hint = label(4, "notesHint", "font16.png", "hint_back.txt", 232, 670, 560, 20)
    return page("notes", "t_notes.txt", [notes, hint])


def anim_page():
    ball = item(4, image=P + "ball.png", name="ball", x=-60, y=330, cx=0, cy=0)
    glow = item(4, image=P + "ball2.png", name="glow", x=480, y=460, cx=0, cy=0)
    pulse = item(4, image=P + "star.png", name="pulse", x=660, y=300, cx=0, cy=0)
    hint = label(4, "animHint", "font16.png", "hint_anim.txt", 232, 670, 560, 20)
    return page("anim", "t_anim.txt", [ball, glow, pulse, hint],
                onActivate="Change ball x =-60;SetTimer slide 0.016 26 Change ball x +20 -60 480;"
                           "Change glow ca =0;SetTimer fade 0.03 25 Change glow ca +10 0 255;"
                           "SetTimer pulse 0.03 2000000000 Change pulse ca -12;SetTimerInit pulse Change pulse ca =255",
                onHide="KillTimer pulse",
                onLeft="Change ball x -20 0 760", onRight="Change ball x +20 0 760")


def music_page():
    ys = [226 + 56 * i for i in range(5)]
    kids = []
    for i, y in enumerate(ys, 1):
        kids.append(item(4, [label(6, "trLabel%d" % i, "font16.png", "tr%d.txt" % i, 20, 14, 520, 20)],
                         image=P + "chip.png", name="c%d" % i, x=232, y=y, cx=0, cy=0,
                         onHoverOn=select_only("ms", 5, i) + ";Change c%d cb =90" % i,
                         onHoverOff="Change c%d cb =255" % i))
    submit = ["PlayTrack .\\data\\Quorv Part\\%s;PlaySfx %sselect.wav" % (t, SFX) for t in TRACKS]
    submit.append("PauseTrack;PlaySfx %sselect.wav" % SFX)
    kids += selectors(4, "ms", 5, [y - 2 for y in ys], 222, "highlight_wide.png", submit)
    kids.append(label(4, "musicHint", "font16.png", "hint_music.txt", 232, 670, 560, 20))
    return page("music", "t_music.txt", kids)


def about_page():
    text = label(4, "aboutText", "font16.png", "about.txt", 232, 220, 560, 432)
    return page("about", "t_about.txt", [text],
                onSubmit="Change aboutTitle cb =0;Change aboutTitle cg =160",
                onSubmitUp="Change aboutTitle cb =255;Change aboutTitle cg =255")


def scene():
    screens = item(1, [home(), read_page(), notes_page(), anim_page(), music_page(), about_page()],
                   name="screens", w=1024, h=768, cx=0, cy=0)
    stars = [item(2, image=P + "star.png", name="star1", x=-64, y=120, cx=0, cy=0),
             item(2, image=P + "star.png", name="star2", x=1088, y=610, cx=0, cy=0),
             item(2, image=P + "star.png", name="star3", x=300, y=700, cx=0, cy=0)]
    sky = item(1, stars, name="sky", w=1024, h=768, cx=0, cy=0)
    # Load-time work sits on an item without children: an onLoad that a child does not handle passes
    # to its parent, so a parent's onLoad would run once for every such child.
    boot = item(1, name="boot",
                onLoad="PlaySfx %stick.wav;PlaySfx %sselect.wav;PlaySfx %sback.wav;"
                       "SetTimer homeIn 0.016 18 Change home x +20 -380 0;"
                       "SetTimerInit homeIn Change home x =-380;"
                       "SetTimer drift 0.03 2000000000 Change star1 x +3|Change star2 x -2|Change star3 x +1;"
                       "SetTimer wrap 12 2000000000 Change star1 x =-64|Change star2 x =1088|Change star3 x =-64"
                       % (SFX, SFX, SFX))
    curtain = item(1, image=P + "curtain.png", name="curtain", show=0, cx=0, cy=0, sx=16, sy=16)
    background = item(1, image=P + "background.jpg", name="background", cx=0, cy=0)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            "<!-- The QuorvArt demo disk. Written by tools/gen/demo_scene.py. -->\n"
            "<disk>\n" + curtain + screens + sky + background + boot + "</disk>\n")


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "demo/data"
    with open(os.path.join(out, "QuorvArt.XQD"), "w", encoding="utf-8") as f:
        f.write(scene())


if __name__ == "__main__":
    main()
