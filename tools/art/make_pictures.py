#!/usr/bin/env python3
"""Draw the dialog pictures, the about-window logo and the window background texture.

Writes into assets/pic/ (or the folder given as the first argument):

  dlg_title.png    787 x 25   dark title strip of the message dialog (white italic title on it)
  dlg_back.png     787 x 110  soft paper background of the message dialog
  dlg_notice.png   32 x 32    notice icon (page 0 of the dialog's picture area)
  dlg_warning.png  32 x 32    warning icon (page 1)
  dlg_error.png    32 x 32    error icon (page 2)
  logo.png         128 x 128  logo of the about window
  bg_window.png    256 x 256  seamless paper texture for window backgrounds

Standard library only; the output is the same on every run.
"""

import math
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from raster import (Canvas, Noise, bbox, mix, sdf_circle, sdf_polygon,  # noqa: E402
                    sdf_round_rect, sdf_segment, sdf_subtract, sdf_union)
from palette import (AMBER, AMBER_LIGHT, BLUE, CREAM, CREAM_DARK, GOLD,  # noqa: E402
                     GOLD_LIGHT, INK, NAVY, NAVY_DARK, NAVY_LIGHT, PAPER, RED, RULE, WHITE)

TRANSPARENT = (255, 255, 255)


def title_strip(path):
    w, h = 787, 25
    c = Canvas(w, h, NAVY)

    def paint(x, y):
        t = y / (h - 1)
        base = mix(NAVY_LIGHT, NAVY_DARK, t)
        # a faint lighter sheen towards the right end, away from the title text
        sheen = max(0.0, (x - 420) / 367.0) ** 2 * 0.22
        return mix(base, GOLD_LIGHT, sheen * (1 - t)), 1.0
    c.fill_function(paint)
    for x in range(w):
        c.blend(x, 0, WHITE, 0.18)          # top highlight
        c.blend(x, h - 2, GOLD, 0.55)       # gold rule
        c.blend(x, h - 1, NAVY_DARK, 1.0)
    # three small gold lozenges at the right end, an ornament of the book's covers
    for i, cx in enumerate((745.0, 757.0, 769.0)):
        pts = [(cx, 7.5), (cx + 4, 11.5), (cx, 15.5), (cx - 4, 11.5)]
        c.shape(sdf_polygon(pts), bbox(pts), GOLD_LIGHT if i == 1 else GOLD, 0.9)
    c.save_png(path)


def dialog_back(path):
    w, h = 787, 110
    c = Canvas(w, h, PAPER)
    noise = Noise(seed=7, size=64)

    def paint(x, y):
        t = y / (h - 1)
        base = mix(PAPER, CREAM, t * 0.9)
        n = noise.at(x / 9.0, y / 9.0) - 0.5
        return mix(base, CREAM_DARK, 0.10 + n * 0.12), 1.0
    c.fill_function(paint)
    # faint ruled lines, like an exercise book, below the title strip
    for y in range(33, h, 19):
        for x in range(w):
            c.blend(x, y, RULE, 0.7)
    # a large, very light seal at the right: concentric rings
    ring_a = sdf_circle(715, 66, 40)
    ring_b = sdf_circle(715, 66, 32)
    c.outline(ring_a, (670, 20, 760, 110), GOLD, 2.0, 0.18)
    c.outline(ring_b, (680, 30, 750, 100), GOLD, 1.0, 0.14)
    star = star_points(715, 66, 17, 7, 5)
    c.shape(sdf_polygon(star), bbox(star), GOLD, 0.12)
    # border
    for x in range(w):
        c.blend(x, h - 1, CREAM_DARK, 1.0)
    for y in range(h):
        c.blend(0, y, CREAM_DARK, 1.0)
        c.blend(w - 1, y, CREAM_DARK, 1.0)
    c.save_png(path)


def star_points(cx, cy, r_out, r_in, n):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = -math.pi / 2 + i * math.pi / n
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def radial(cx, cy, r, inner, outer):
    def paint(x, y):
        t = math.hypot(x - cx + r * 0.35, y - cy + r * 0.35) / (r * 1.6)
        return mix(inner, outer, t)
    return paint


def icon_notice(path):
    c = Canvas(32, 32, TRANSPARENT, alpha=0.0)
    disc = sdf_circle(16, 16, 14.5)
    c.shape(sdf_circle(16.8, 17.2, 14.5), (1, 2, 32, 32), NAVY_DARK, 0.25)   # soft shadow
    c.shape(disc, (1, 1, 31, 31), radial(16, 16, 14.5, (120, 170, 230), BLUE))
    c.outline(disc, (1, 1, 31, 31), NAVY, 1.0, 0.8)
    c.shape(sdf_circle(16, 9.5, 2.3), (13, 7, 19, 12), WHITE)
    c.shape(sdf_round_rect(14.1, 13.2, 17.9, 24.5, 1.4), (13, 12, 19, 25), WHITE)
    c.save_png(path, with_alpha=True)


def icon_warning(path):
    c = Canvas(32, 32, TRANSPARENT, alpha=0.0)
    tri = [(16, 2.5), (30.5, 28.5), (1.5, 28.5)]
    body = lambda x, y: sdf_polygon(tri)(x, y) - 1.2   # rounded corners
    shadow = [(p[0] + 0.8, p[1] + 1.0) for p in tri]
    c.shape(lambda x, y: sdf_polygon(shadow)(x, y) - 1.2, bbox(shadow, 2), NAVY_DARK, 0.25)

    def paint(x, y):
        return mix(AMBER_LIGHT, AMBER, (y - 2) / 27.0)
    c.shape(body, bbox(tri, 2), paint)
    c.outline(body, bbox(tri, 2), (150, 100, 10), 1.0, 0.8)
    c.shape(sdf_segment(16, 11, 16, 19.5, 1.8), (13, 9, 19, 22), INK)
    c.shape(sdf_circle(16, 24, 1.9), (13, 21, 19, 27), INK)
    c.save_png(path, with_alpha=True)


def icon_error(path):
    c = Canvas(32, 32, TRANSPARENT, alpha=0.0)
    disc = sdf_circle(16, 16, 14.5)
    c.shape(sdf_circle(16.8, 17.2, 14.5), (1, 2, 32, 32), NAVY_DARK, 0.25)
    c.shape(disc, (1, 1, 31, 31), radial(16, 16, 14.5, (236, 120, 105), RED))
    c.outline(disc, (1, 1, 31, 31), (120, 30, 20), 1.0, 0.8)
    cross = sdf_union(sdf_segment(11, 11, 21, 21, 1.9), sdf_segment(21, 11, 11, 21, 1.9))
    c.shape(cross, (8, 8, 24, 24), WHITE)
    c.save_png(path, with_alpha=True)


def logo(path):
    s = 128
    c = Canvas(s, s, TRANSPARENT, alpha=0.0)
    tile = sdf_round_rect(4, 4, 124, 124, 22)
    c.shape(sdf_round_rect(6, 8, 126, 127, 22), (4, 6, 128, 128), NAVY_DARK, 0.3)

    def tile_paint(x, y):
        return mix(NAVY_LIGHT, NAVY_DARK, (x * 0.35 + y) / 170.0)
    c.shape(tile, (4, 4, 124, 124), tile_paint)
    c.outline(sdf_round_rect(9, 9, 119, 119, 18), (9, 9, 119, 119), GOLD, 1.4, 0.8)

    # the open book
    left = [(22, 84), (62, 92), (62, 112), (22, 104)]
    right = [(66, 92), (106, 84), (106, 104), (66, 112)]
    left_page = [(24, 80), (63, 88), (63, 108), (24, 100)]
    right_page = [(65, 88), (104, 80), (104, 100), (65, 108)]
    c.shape(sdf_polygon(left), bbox(left), GOLD)
    c.shape(sdf_polygon(right), bbox(right), GOLD)
    c.shape(sdf_polygon(left_page), bbox(left_page), PAPER)
    c.shape(sdf_polygon(right_page), bbox(right_page), CREAM)
    for k in range(3):
        y = 90 + 5 * k
        c.shape(sdf_segment(30, y, 57, y + 5.5, 0.6), (28, y - 2, 59, y + 8), CREAM_DARK)
        c.shape(sdf_segment(71, y + 5.5, 98, y, 0.6), (69, y - 2, 100, y + 8), CREAM_DARK)
    c.shape(sdf_segment(64, 88, 64, 110, 0.9), (62, 86, 66, 112), GOLD)

    # a rising line of evaluated figures above the book, ending in an upward arrow
    pts = [(26, 66), (44, 56), (60, 61), (78, 42), (98, 30)]
    for a, b in zip(pts, pts[1:]):
        c.shape(sdf_segment(a[0], a[1], b[0], b[1], 2.3), bbox([a, b], 3), GOLD_LIGHT)
    head = [(104, 25), (101, 38), (91, 29)]
    c.shape(sdf_polygon(head), bbox(head), GOLD_LIGHT)
    for p in pts[:-1]:
        c.shape(sdf_circle(p[0], p[1], 4.2), bbox([p], 5), GOLD_LIGHT)
        c.shape(sdf_circle(p[0], p[1], 2.2), bbox([p], 3), NAVY)
    # small bars behind the line
    for i, (x, h) in enumerate(((30, 10), (46, 18), (62, 14), (78, 26))):
        bar = sdf_round_rect(x - 4, 76 - h, x + 4, 76, 1.5)
        c.shape(bar, (x - 5, 75 - h, x + 5, 77), WHITE, 0.16)
    c.save_png(path, with_alpha=True)


def window_texture(path):
    s = 256
    c = Canvas(s, s, PAPER)
    fine = Noise(seed=11, size=64)
    coarse = Noise(seed=23, size=16)
    fibres = Noise(seed=31, size=8, size_y=128)   # long in x, fine in y

    def paint(x, y):
        # every noise tiles with the picture: 256 = 64 * 4 = 16 * 16 = 8 * 32 = 128 * 2
        n1 = fine.at(x / 4.0, y / 4.0) - 0.5
        n2 = coarse.at(x / 16.0, y / 16.0) - 0.5
        fibre = fibres.at(x / 32.0, y / 2.0) - 0.5   # faint horizontal fibres
        t = 0.18 + n1 * 0.10 + n2 * 0.16 + fibre * 0.08
        return mix(PAPER, CREAM_DARK, t), 1.0
    c.fill_function(paint)
    c.save_png(path)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "assets", "pic")
    os.makedirs(out, exist_ok=True)
    jobs = [
        ("dlg_title.png", title_strip),
        ("dlg_back.png", dialog_back),
        ("dlg_notice.png", icon_notice),
        ("dlg_warning.png", icon_warning),
        ("dlg_error.png", icon_error),
        ("logo.png", logo),
        ("bg_window.png", window_texture),
    ]
    for name, draw in jobs:
        draw(os.path.join(out, name))
        print("wrote", os.path.join(out, name))


if __name__ == "__main__":
    main()
