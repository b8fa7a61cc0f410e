"""A small anti-aliased raster canvas for the program's artwork.

Standard library only.  Shapes are drawn from signed distance functions, so their edges
are smooth without supersampling; colours are blended in straight RGBA.  The canvas can
be written as PNG (zlib) or as an uncompressed 24-bit Windows bitmap.
"""

import math
import struct
import zlib


def hex_rgb(text):
    """'#1f3a5f' -> (31, 58, 95)."""
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def mix(c1, c2, t):
    """Linear blend of two RGB triples, t in 0..1."""
    t = max(0.0, min(1.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def smooth(t):
    t = max(0.0, min(1.0, t))
    return t * t * (3 - 2 * t)


class Canvas:
    def __init__(self, width, height, background=(255, 255, 255), alpha=1.0):
        self.w = width
        self.h = height
        r, g, b = background
        self.px = [[float(r), float(g), float(b), float(alpha)] for _ in range(width * height)]

    # -- pixel access -------------------------------------------------------------------
    def blend(self, x, y, rgb, a):
        """Paint colour rgb with opacity a (0..1) over pixel (x, y)."""
        if a <= 0.0 or x < 0 or y < 0 or x >= self.w or y >= self.h:
            return
        a = min(a, 1.0)
        p = self.px[y * self.w + x]
        da = p[3]
        oa = a + da * (1.0 - a)
        if oa <= 0.0:
            return
        for i in range(3):
            p[i] = (rgb[i] * a + p[i] * da * (1.0 - a)) / oa
        p[3] = oa

    def get(self, x, y):
        return self.px[y * self.w + x]

    # -- fills --------------------------------------------------------------------------
    def fill_function(self, fn, box=None):
        """fn(x, y) -> (rgb, alpha) or None, evaluated at pixel centres inside box."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        for y in range(y0, y1):
            for x in range(x0, x1):
                r = fn(x + 0.5, y + 0.5)
                if r is not None:
                    self.blend(x, y, r[0], r[1])

    def shape(self, sdf, box, paint, opacity=1.0):
        """Fill the region sdf(x, y) < 0.  paint is an RGB triple or a function of (x, y)."""
        def fn(x, y):
            d = sdf(x, y)
            cov = max(0.0, min(1.0, 0.5 - d))
            if cov <= 0.0:
                return None
            colour = paint(x, y) if callable(paint) else paint
            return colour, cov * opacity
        self.fill_function(fn, (box[0] - 1, box[1] - 1, box[2] + 1, box[3] + 1))

    def outline(self, sdf, box, rgb, width=1.0, opacity=1.0):
        """Stroke the edge of sdf with the given width (centred on the edge)."""
        half = width / 2.0
        self.shape(lambda x, y: abs(sdf(x, y)) - half, (box[0] - width, box[1] - width,
                                                        box[2] + width, box[3] + width),
                   rgb, opacity)

    # -- output -------------------------------------------------------------------------
    def _rgb_rows(self, flatten_on=(255, 255, 255)):
        rows = []
        for y in range(self.h):
            row = bytearray()
            for x in range(self.w):
                p = self.px[y * self.w + x]
                a = p[3]
                for i in range(3):
                    v = p[i] * a + flatten_on[i] * (1.0 - a)
                    row.append(max(0, min(255, int(round(v)))))
            rows.append(bytes(row))
        return rows

    def save_png(self, path, with_alpha=False):
        raw = bytearray()
        for y in range(self.h):
            raw.append(0)
            for x in range(self.w):
                p = self.px[y * self.w + x]
                if with_alpha:
                    raw.extend(max(0, min(255, int(round(p[i])))) for i in range(3))
                    raw.append(max(0, min(255, int(round(p[3] * 255)))))
                else:
                    a = p[3]
                    raw.extend(max(0, min(255, int(round(p[i] * a + 255 * (1 - a)))))
                               for i in range(3))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        colour_type = 6 if with_alpha else 2
        header = struct.pack(">IIBBBBB", self.w, self.h, 8, colour_type, 0, 0, 0)
        png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
               + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
        with open(path, "wb") as f:
            f.write(png)

    def save_bmp(self, path):
        """Uncompressed 24-bit bottom-up bitmap, rows padded to four bytes."""
        rows = self._rgb_rows()
        stride = (self.w * 3 + 3) & ~3
        pixels = bytearray()
        for row in reversed(rows):
            line = bytearray()
            for x in range(self.w):
                r, g, b = row[3 * x], row[3 * x + 1], row[3 * x + 2]
                line.extend((b, g, r))
            line.extend(b"\0" * (stride - len(line)))
            pixels.extend(line)
        size = 14 + 40 + len(pixels)
        header = struct.pack("<2sIHHI", b"BM", size, 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(pixels),
                           3780, 3780, 0, 0)
        with open(path, "wb") as f:
            f.write(header + info + bytes(pixels))


# -- signed distance functions -----------------------------------------------------------

def sdf_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sdf_round_rect(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - radius, (y1 - y0) / 2.0 - radius

    def f(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        inside = min(max(qx, qy), 0.0)
        return outside + inside - radius
    return f


def sdf_segment(ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9

    def f(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        return math.hypot(x - (ax + t * dx), y - (ay + t * dy)) - half_width
    return f


def sdf_polygon(points):
    """Exact signed distance to a simple polygon (negative inside)."""
    n = len(points)

    def f(x, y):
        d = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / ((ex * ex + ey * ey) or 1e-9)))
            d = min(d, math.hypot(wx - ex * t, wy - ey * t))
            if (ay > y) != (by > y):
                xc = ax + (y - ay) * (bx - ax) / (by - ay)
                if x < xc:
                    inside = not inside
        return -d if inside else d
    return f


def sdf_union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def sdf_subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def bbox(points, pad=0.0):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad)


class Noise:
    """Deterministic value noise (a fixed linear congruential generator) on a grid of
    size x size_y cells; at() tiles with those periods."""

    def __init__(self, seed=1, size=64, size_y=None):
        self.sx = size
        self.sy = size_y or size
        state = seed & 0x7FFFFFFF
        self.values = []
        for _ in range(self.sx * self.sy):
            state = (state * 1103515245 + 12345) & 0x7FFFFFFF
            self.values.append(state / 0x7FFFFFFF)

    def at(self, x, y):
        """Smoothly interpolated noise in 0..1."""
        sx, sy = self.sx, self.sy
        xi, yi = int(math.floor(x)), int(math.floor(y))
        fx, fy = smooth(x - xi), smooth(y - yi)
        v = self.values

        def g(ix, iy):
            return v[(iy % sy) * sx + (ix % sx)]
        top = g(xi, yi) + (g(xi + 1, yi) - g(xi, yi)) * fx
        bottom = g(xi, yi + 1) + (g(xi + 1, yi + 1) - g(xi, yi + 1)) * fx
        return top + (bottom - top) * fy
