"""The colours shared by the menu, the dialogs and the button faces.

A sober exam-book look: deep navy covers, warm paper, a gold rule; green and red only
where a verdict is shown.
"""

from raster import hex_rgb

NAVY = hex_rgb("#1d3557")
NAVY_LIGHT = hex_rgb("#2f5282")
NAVY_DARK = hex_rgb("#11233d")
GOLD = hex_rgb("#c8a45a")
GOLD_LIGHT = hex_rgb("#e6cf94")
PAPER = hex_rgb("#fbf8f1")
CREAM = hex_rgb("#f3ecdc")
CREAM_DARK = hex_rgb("#e4d8bd")
RULE = hex_rgb("#e9e0cb")
INK = hex_rgb("#243247")
GREY = hex_rgb("#8a8f98")
GREY_LIGHT = hex_rgb("#d9dce1")
BLUE = hex_rgb("#2f6db5")
BLUE_LIGHT = hex_rgb("#dce8f6")
GREEN = hex_rgb("#2e8b57")
GREEN_LIGHT = hex_rgb("#d6eedf")
RED = hex_rgb("#c0392b")
RED_LIGHT = hex_rgb("#f6d9d5")
AMBER = hex_rgb("#e0a21b")
AMBER_LIGHT = hex_rgb("#f7d36b")
WHITE = (255, 255, 255)
