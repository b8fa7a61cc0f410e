#!/usr/bin/env python3
"""Draw the faces of the question buttons and of the question-type tabs.

The buttons carry their number ("1" .. "20" in practice, "1" .. "95" on the exam's
answer sheet) and the tabs their type name as captions drawn by the program in black,
so every face keeps a light middle.  Up faces are raised, down faces (the question on
show, the selected tab) look pressed.  Written as 24-bit Windows bitmaps into
assets/pic/ (or the folder given as the first argument):

  kvatup.bmp     question not answered (or button not used by the paper), up
  kvatdw.bmp     question not answered, down; the exam's pressed face
  kvatover.bmp   exam: question answered, up (a navy corner mark)
  kvatyes.bmp    answer right, up (green)
  kvatno.bmp     answer wrong or missing, up (red)
  kvatdw_r.bmp   answer right, down
  kvatdw_w.bmp   answer wrong or missing, down
  kvattxup.bmp   question-type tab, up
  kvattxdw.bmp   question-type tab, down (selected)

The program stretches a face over the whole button, so the drawings avoid detail that
would suffer from scaling.
"""

import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from raster import Canvas, bbox, mix, sdf_polygon, sdf_round_rect  # noqa: E402
from palette import (BLUE, BLUE_LIGHT, CREAM, CREAM_DARK, GOLD, GREEN,  # noqa: E402
                     GREEN_LIGHT, GREY, NAVY, NAVY_LIGHT, PAPER, RED, RED_LIGHT, WHITE)

BUTTON_SIZE = (28, 24)   # the practice board: 5 x 4 buttons in 140 x 112
TAB_SIZE = (68, 26)      # the type board: 2 columns in 140 pixels

# the panel colour around the faces (the windows' light panels)
SURROUND = (236, 233, 224)


def face(size, top, bottom, border, pressed, border_width=1.0, corner=None, underline=None):
    w, h = size
    c = Canvas(w, h, SURROUND)
    body = sdf_round_rect(0.5, 0.5, w - 0.5, h - 0.5, 3.5)

    def paint(x, y):
        return mix(top, bottom, (y - 1) / (h - 2))
    c.shape(body, (0, 0, w, h), paint)
    if pressed:
        # inset shadow along the top and left edges
        for y in range(1, 4):
            for x in range(1, w - 1):
                c.blend(x, y, NAVY, 0.16 / y)
        for x in range(1, 3):
            for y in range(1, h - 1):
                c.blend(x, y, NAVY, 0.10 / x)
    else:
        # raised: a bright line inside the top edge, a soft shade at the bottom
        for x in range(2, w - 2):
            c.blend(x, 1, WHITE, 0.8)
            c.blend(x, h - 3, NAVY, 0.08)
    if corner is not None:
        tri = [(w - 9.5, 1.0), (w - 1.0, 1.0), (w - 1.0, 9.5)]
        c.shape(sdf_polygon(tri), bbox(tri), corner, 0.95)
    if underline is not None:
        bar = sdf_round_rect(6, h - 5, w - 6, h - 3, 1.0)
        c.shape(bar, (5, h - 6, w - 5, h - 2), underline)
    edge = sdf_round_rect(0.5 + border_width / 2, 0.5 + border_width / 2,
                          w - 0.5 - border_width / 2, h - 0.5 - border_width / 2, 3.5)
    c.outline(edge, (0, 0, w, h), border, border_width)
    return c


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "assets", "pic")
    os.makedirs(out, exist_ok=True)

    answered = mix(BLUE_LIGHT, PAPER, 0.15)
    faces = {
        "kvatup.bmp": face(BUTTON_SIZE, PAPER, CREAM, GREY, False),
        "kvatdw.bmp": face(BUTTON_SIZE, mix(BLUE_LIGHT, NAVY_LIGHT, 0.25), BLUE_LIGHT,
                           BLUE, True, 2.0),
        "kvatover.bmp": face(BUTTON_SIZE, WHITE, answered, NAVY_LIGHT, False, 1.0,
                             corner=NAVY),
        "kvatyes.bmp": face(BUTTON_SIZE, WHITE, GREEN_LIGHT, GREEN, False, 1.0,
                            corner=GREEN),
        "kvatno.bmp": face(BUTTON_SIZE, WHITE, RED_LIGHT, RED, False, 1.0, corner=RED),
        "kvatdw_r.bmp": face(BUTTON_SIZE, mix(GREEN_LIGHT, GREEN, 0.35), GREEN_LIGHT,
                             GREEN, True, 2.0, corner=GREEN),
        "kvatdw_w.bmp": face(BUTTON_SIZE, mix(RED_LIGHT, RED, 0.30), RED_LIGHT,
                             RED, True, 2.0, corner=RED),
        "kvattxup.bmp": face(TAB_SIZE, PAPER, CREAM_DARK, GREY, False),
        "kvattxdw.bmp": face(TAB_SIZE, mix(BLUE_LIGHT, NAVY_LIGHT, 0.2), CREAM,
                             NAVY, True, 2.0, underline=GOLD),
    }
    for name, canvas in faces.items():
        path = os.path.join(out, name)
        canvas.save_bmp(path)
        print("wrote", path)


if __name__ == "__main__":
    main()
