#!/usr/bin/env python3
"""Draw the program's icon for the desktop: the about window's logo (a navy tile with a gold
rule, an open book and a rising line of figures) as a freedesktop hicolor icon theme folder.

Writes into assets/icons/hicolor/ (or the folder given as the first argument):

  <N>x<N>/apps/tarnwick.png   for N = 16, 24, 32, 48, 64, 128, 256 (RGBA)
  scalable/apps/tarnwick.svg  the full drawing on a 128 x 128 view box (SVG 1.2 Tiny)

Every size is drawn for its own pixels rather than scaled down from a large one: the ruled
lines on the pages are left out below 64, the rings on the line and the bars behind it below
48, the shadow and the gold rule below 32; strokes keep at least the width of a pixel, and at
16 and 24 the book and the line grow to fill the tile.  Standard library only; the output is
the same on every run.
"""

import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from raster import (Canvas, bbox, mix, sdf_circle, sdf_polygon,  # noqa: E402
                    sdf_round_rect, sdf_segment)
from palette import (CREAM, CREAM_DARK, GOLD, GOLD_LIGHT, NAVY, NAVY_DARK,  # noqa: E402
                     NAVY_LIGHT, PAPER, WHITE)

SIZES = (16, 24, 32, 48, 64, 128, 256)
NAME = "tarnwick"
TRANSPARENT = (255, 255, 255)

# The drawing in a 128-unit design space. FULL is the logo's geometry; SMALL is the bolder
# variant for 16 and 24 pixels, where the book and the line take more of the tile.
FULL = {
    "tile": (4, 4, 124, 124, 22),
    "rule": (9, 9, 119, 119, 18),
    "left": [(22, 84), (62, 92), (62, 112), (22, 104)],
    "right": [(66, 92), (106, 84), (106, 104), (66, 112)],
    "left_page": [(24, 80), (63, 88), (63, 108), (24, 100)],
    "right_page": [(65, 88), (104, 80), (104, 100), (65, 108)],
    "spine": (64, 88, 64, 110),
    "line": [(26, 66), (44, 56), (60, 61), (78, 42), (98, 30)],
    "line_width": 2.3,
    "head": [(104, 25), (101, 38), (91, 29)],
}
SMALL = {
    "tile": (2, 2, 126, 126, 24),
    "rule": (10, 10, 118, 118, 16),
    "left": [(14, 78), (62, 88), (62, 116), (14, 106)],
    "right": [(66, 88), (114, 78), (114, 106), (66, 116)],
    "left_page": [(18, 72), (63, 82), (63, 110), (18, 100)],
    "right_page": [(65, 82), (110, 72), (110, 100), (65, 110)],
    "spine": (64, 82, 64, 112),
    "line": [(22, 58), (46, 44), (64, 50), (92, 26)],
    "line_width": 6.0,
    "head": [(108, 12), (104, 34), (86, 18)],
}
BARS = ((30, 10), (46, 18), (62, 14), (78, 26))


def design(n):
    return SMALL if n <= 24 else FULL


def draw_png(n, path):
    g = design(n)
    s = n / 128.0

    def pt(p):
        return (p[0] * s, p[1] * s)

    def pts(ps):
        return [pt(p) for p in ps]

    def box(x0, y0, x1, y1):
        return (x0 * s, y0 * s, x1 * s, y1 * s)

    c = Canvas(n, n, TRANSPARENT, alpha=0.0)
    x0, y0, x1, y1, r = g["tile"]
    if n >= 32:   # a soft shadow below the tile
        c.shape(sdf_round_rect((x0 + 2) * s, (y0 + 4) * s, (x1 + 2) * s, min(128, y1 + 3) * s,
                               r * s), box(x0, y0 + 2, 128, 128), NAVY_DARK, 0.3)

    def tile_paint(x, y):
        return mix(NAVY_LIGHT, NAVY_DARK, (x * 0.35 + y) / (170.0 * s))
    c.shape(sdf_round_rect(x0 * s, y0 * s, x1 * s, y1 * s, r * s), box(x0, y0, x1, y1),
            tile_paint)
    if n >= 32:   # too fine for the smallest sizes
        rx0, ry0, rx1, ry1, rr = g["rule"]
        c.outline(sdf_round_rect(rx0 * s, ry0 * s, rx1 * s, ry1 * s, rr * s),
                  box(rx0, ry0, rx1, ry1), GOLD, max(1.4 * s, 0.8), 0.8)

    # the open book: gold covers, paper pages, a gold spine
    for cover in ("left", "right"):
        c.shape(sdf_polygon(pts(g[cover])), bbox(pts(g[cover])), GOLD)
    c.shape(sdf_polygon(pts(g["left_page"])), bbox(pts(g["left_page"])), PAPER)
    c.shape(sdf_polygon(pts(g["right_page"])), bbox(pts(g["right_page"])), CREAM)
    if n >= 64:   # ruled lines on the pages
        for k in range(3):
            y = 90 + 5 * k
            for a, b in (((30, y), (57, y + 5.5)), ((71, y + 5.5), (98, y))):
                pa, pb = pt(a), pt(b)
                c.shape(sdf_segment(pa[0], pa[1], pb[0], pb[1], max(0.6 * s, 0.35)),
                        bbox([pa, pb], 2), CREAM_DARK)
    sx0, sy0, sx1, sy1 = g["spine"]
    a, b = pt((sx0, sy0)), pt((sx1, sy1))
    c.shape(sdf_segment(a[0], a[1], b[0], b[1], max(0.9 * s, 0.45)), bbox([a, b], 2), GOLD)

    # faint bars behind the line, the line of figures and its arrow head
    if n >= 48:
        for x, h in BARS:
            c.shape(sdf_round_rect((x - 4) * s, (76 - h) * s, (x + 4) * s, 76 * s, 1.5 * s),
                    box(x - 5, 75 - h, x + 5, 77), WHITE, 0.16)
    line = pts(g["line"])
    half = max(g["line_width"] * s, 0.75)
    for a, b in zip(line, line[1:]):
        c.shape(sdf_segment(a[0], a[1], b[0], b[1], half), bbox([a, b], half + 1), GOLD_LIGHT)
    head = pts(g["head"])
    c.shape(sdf_polygon(head), bbox(head), GOLD_LIGHT)
    if n >= 48:   # the evaluated figures as rings on the line
        for p in line[:-1]:
            c.shape(sdf_circle(p[0], p[1], 4.2 * s), bbox([p], 5 * s + 1), GOLD_LIGHT)
            c.shape(sdf_circle(p[0], p[1], 2.2 * s), bbox([p], 3 * s + 1), NAVY)
    c.save_png(path, with_alpha=True)


def hex_colour(rgb):
    return "#%02x%02x%02x" % tuple(int(round(v)) for v in rgb)


def points_attr(ps):
    return " ".join(f"{x:g},{y:g}" for x, y in ps)


def svg_text():
    g = FULL
    x0, y0, x1, y1, r = g["tile"]
    rx0, ry0, rx1, ry1, rr = g["rule"]
    out = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
        'width="128" height="128" viewBox="0 0 128 128">',
        '<title>Tarnwick</title>',
        '<defs>',
        '  <linearGradient id="tile" gradientUnits="userSpaceOnUse" x1="0" y1="0" x2="53" y2="151">',
        f'    <stop offset="0" stop-color="{hex_colour(NAVY_LIGHT)}"/>',
        f'    <stop offset="1" stop-color="{hex_colour(NAVY_DARK)}"/>',
        '  </linearGradient>',
        '</defs>',
        f'<rect x="{x0 + 2}" y="{y0 + 4}" width="{x1 - x0}" height="{min(128, y1 + 3) - y0 - 4}" '
        f'rx="{r}" ry="{r}" fill="{hex_colour(NAVY_DARK)}" fill-opacity="0.3"/>',
        f'<rect x="{x0}" y="{y0}" width="{x1 - x0}" height="{y1 - y0}" rx="{r}" ry="{r}" '
        'fill="url(#tile)"/>',
        f'<rect x="{rx0}" y="{ry0}" width="{rx1 - rx0}" height="{ry1 - ry0}" rx="{rr}" ry="{rr}" '
        f'fill="none" stroke="{hex_colour(GOLD)}" stroke-width="1.4" stroke-opacity="0.8"/>',
    ]
    for cover in ("left", "right"):
        out.append(f'<polygon points="{points_attr(g[cover])}" fill="{hex_colour(GOLD)}"/>')
    out.append(f'<polygon points="{points_attr(g["left_page"])}" fill="{hex_colour(PAPER)}"/>')
    out.append(f'<polygon points="{points_attr(g["right_page"])}" fill="{hex_colour(CREAM)}"/>')
    for k in range(3):
        y = 90 + 5 * k
        for a, b in (((30, y), (57, y + 5.5)), ((71, y + 5.5), (98, y))):
            out.append(f'<line x1="{a[0]:g}" y1="{a[1]:g}" x2="{b[0]:g}" y2="{b[1]:g}" '
                       f'stroke="{hex_colour(CREAM_DARK)}" stroke-width="1.2" '
                       'stroke-linecap="round"/>')
    sx0, sy0, sx1, sy1 = g["spine"]
    out.append(f'<line x1="{sx0}" y1="{sy0}" x2="{sx1}" y2="{sy1}" stroke="{hex_colour(GOLD)}" '
               'stroke-width="1.8" stroke-linecap="round"/>')
    for x, h in BARS:
        out.append(f'<rect x="{x - 4}" y="{76 - h}" width="8" height="{h}" rx="1.5" ry="1.5" '
                   'fill="#ffffff" fill-opacity="0.16"/>')
    out.append(f'<polyline points="{points_attr(g["line"])}" fill="none" '
               f'stroke="{hex_colour(GOLD_LIGHT)}" stroke-width="{2 * g["line_width"]:g}" '
               'stroke-linecap="round" stroke-linejoin="round"/>')
    out.append(f'<polygon points="{points_attr(g["head"])}" fill="{hex_colour(GOLD_LIGHT)}"/>')
    for x, y in g["line"][:-1]:
        out.append(f'<circle cx="{x}" cy="{y}" r="4.2" fill="{hex_colour(GOLD_LIGHT)}"/>')
        out.append(f'<circle cx="{x}" cy="{y}" r="2.2" fill="{hex_colour(NAVY)}"/>')
    out.append('</svg>')
    return "\n".join(out) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "assets",
                                                             "icons", "hicolor")
    for n in SIZES:
        folder = os.path.join(out, f"{n}x{n}", "apps")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, NAME + ".png")
        draw_png(n, path)
        print("wrote", path)
    folder = os.path.join(out, "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, NAME + ".svg")
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(svg_text())
    print("wrote", path)


if __name__ == "__main__":
    main()
