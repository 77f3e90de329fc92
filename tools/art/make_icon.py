#!/usr/bin/env python3
"""Draws the program's icon for the desktop menu: a stack of word cards under a
night sky, a gold star and a falling-then-rising memory curve on the front card.

  packaging/icons/org.tessarion.Tessarion.svg         the scalable icon
  packaging/icons/org.tessarion.Tessarion-<n>.png     n = 16 32 48 64 128 256

The PNG files are rasterised by this script itself (supersampled shapes, no
image library), so the output depends on nothing but this script.

  python3 tools/art/make_icon.py [output folder, default packaging/icons/]
  python3 tools/art/make_icon.py --check   (the shipped files are what this script makes)
"""
import filecmp
import math
import os
import struct
import sys
import tempfile
import zlib

NAME = "org.tessarion.Tessarion"
SIZES = (16, 32, 48, 64, 128, 256)
VIEW = 256.0            # the drawing is laid out on a 256 x 256 grid

SKY_TOP = (0x3F, 0x74, 0xC6)
SKY_BOTTOM = (0x2E, 0x28, 0x40)
CARD_BACK = (0xC9, 0xC2, 0xDC)
CARD_FRONT = (0xFB, 0xFA, 0xF6)
CURVE = (0xD6, 0x3B, 0x3B)
STAR = (0xE3, 0x94, 0x19)
LINE = (0x9A, 0x92, 0xB0)


def hexcolour(c):
    return "#%02X%02X%02X" % c


def star_points(cx, cy, outer, inner):
    pts = []
    for k in range(10):
        r = outer if k % 2 == 0 else inner
        a = -math.pi / 2 + k * math.pi / 5
        pts.append((round(cx + r * math.cos(a), 2), round(cy + r * math.sin(a), 2)))
    return pts


# The curve: memory fades fast after a lesson, a review lifts it again, and
# then it fades more slowly.
def forgetting_curve():
    pts = []
    for k in range(8):
        x = 64 + k * 7
        pts.append((x, round(104 + 70 * (1 - math.exp(-(x - 64) / 16)), 2)))
    for k in range(9):
        x = 113 + k * 8
        pts.append((x, round(104 + 44 * (1 - math.exp(-(x - 113) / 40)), 2)))
    return pts


CURVE_POINTS = forgetting_curve()
CURVE_WIDTH = 9.0
STAR_POINTS = star_points(178, 64, 34, 14)

# Shapes in painting order: (kind, parameters, colour).
SHAPES = [
    ("sky", (0, 0, 256, 256, 44), None),
    ("rect", (58, 46, 200, 200, 16), CARD_BACK),       # the card behind, shifted
    ("rect", (40, 68, 184, 222, 16), CARD_FRONT),      # the front card
    ("line", ([(62, 198), (162, 198)], 6.0), LINE),    # a line of text below the curve
    ("line", (CURVE_POINTS, CURVE_WIDTH), CURVE),
    ("poly", (STAR_POINTS,), STAR),
]


# --- SVG -----------------------------------------------------------------------
def svg():
    body = [f'<defs><linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{hexcolour(SKY_TOP)}"/>'
            f'<stop offset="1" stop-color="{hexcolour(SKY_BOTTOM)}"/></linearGradient></defs>']
    for kind, p, colour in SHAPES:
        if kind == "sky":
            x0, y0, x1, y1, r = p
            body.append(f'<rect x="{x0}" y="{y0}" width="{x1 - x0}" height="{y1 - y0}" rx="{r}" fill="url(#sky)"/>')
        elif kind == "rect":
            x0, y0, x1, y1, r = p
            body.append(f'<rect x="{x0}" y="{y0}" width="{x1 - x0}" height="{y1 - y0}" rx="{r}" '
                        f'fill="{hexcolour(colour)}"/>')
        elif kind == "line":
            pts, w = p
            d = " ".join(f"{x},{y}" for x, y in pts)
            body.append(f'<polyline points="{d}" fill="none" stroke="{hexcolour(colour)}" stroke-width="{w}" '
                        f'stroke-linecap="round" stroke-linejoin="round"/>')
        elif kind == "poly":
            d = " ".join(f"{x},{y}" for x, y in p[0])
            body.append(f'<polygon points="{d}" fill="{hexcolour(colour)}"/>')
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">\n'
            '<title>Tessarion</title>\n' + "\n".join(body) + "\n</svg>\n")


# --- rasteriser ----------------------------------------------------------------
def inside_rounded(x, y, x0, y0, x1, y1, r):
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def near_polyline(x, y, pts, half):
    for (ax, ay), (bx, by) in zip(pts, pts[1:]):
        dx, dy = bx - ax, by - ay
        t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
        t = min(1.0, max(0.0, t))
        if (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= half * half:
            return True
    return False


def inside_polygon(x, y, pts):
    inside = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def covers(kind, p, x, y):
    if kind in ("sky", "rect"):
        return inside_rounded(x, y, *p)
    if kind == "line":
        return near_polyline(x, y, p[0], p[1] / 2)
    return inside_polygon(x, y, p[0])


def bounds(kind, p):
    if kind in ("sky", "rect"):
        return p[0], p[1], p[2], p[3]
    pts = p[0]
    pad = p[1] / 2 if kind == "line" else 0
    return (min(x for x, _ in pts) - pad, min(y for _, y in pts) - pad,
            max(x for x, _ in pts) + pad, max(y for _, y in pts) + pad)


def raster(size):
    n = 4 if size <= 64 else 2           # samples per pixel side
    scale = VIEW / size
    rgba = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]
    offsets = [((i + 0.5) / n, (j + 0.5) / n) for j in range(n) for i in range(n)]
    for kind, p, colour in SHAPES:
        bx0, by0, bx1, by1 = bounds(kind, p)
        px0, py0 = max(0, int(bx0 / scale)), max(0, int(by0 / scale))
        px1, py1 = min(size, int(bx1 / scale) + 1), min(size, int(by1 / scale) + 1)
        for py in range(py0, py1):
            for px in range(px0, px1):
                hit = 0
                for ox, oy in offsets:
                    if covers(kind, p, (px + ox) * scale, (py + oy) * scale):
                        hit += 1
                if not hit:
                    continue
                a = hit / (n * n)
                if kind == "sky":
                    t = (py + 0.5) / size
                    c = tuple(SKY_TOP[k] + (SKY_BOTTOM[k] - SKY_TOP[k]) * t for k in range(3))
                else:
                    c = colour
                dst = rgba[py * size + px]
                out_a = a + dst[3] * (1 - a)
                for k in range(3):
                    dst[k] = (c[k] * a + dst[k] * dst[3] * (1 - a)) / out_a
                dst[3] = out_a
    return rgba


def png(size):
    rgba = raster(size)
    rows = bytearray()
    for y in range(size):
        rows.append(0)
        for x in range(size):
            r, g, b, a = rgba[y * size + x]
            rows += bytes((round(r), round(g), round(b), round(a * 255)))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def write(folder):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, NAME + ".svg"), "w", encoding="utf-8", newline="\n") as f:
        f.write(svg())
    for size in SIZES:
        with open(os.path.join(folder, f"{NAME}-{size}.png"), "wb") as f:
            f.write(png(size))


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
    shipped = os.path.join(root, "packaging", "icons")
    if len(sys.argv) > 1 and sys.argv[1] == "--check":
        with tempfile.TemporaryDirectory() as tmp:
            write(tmp)
            names = sorted(os.listdir(tmp))
            _, mismatch, errors = filecmp.cmpfiles(tmp, shipped, names, shallow=False)
            if mismatch or errors:
                print("differs from what tools/art/make_icon.py makes:", *(mismatch + errors))
                return 1
        return 0
    write(sys.argv[1] if len(sys.argv) > 1 else shipped)
    return 0


if __name__ == "__main__":
    sys.exit(main())
