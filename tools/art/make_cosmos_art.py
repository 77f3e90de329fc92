#!/usr/bin/env python3
"""Writes the pictures of the star view as SVG files under resources/cosmos/.

  Sp<n>.svg       ten bright stars and planets (n = 0..9), shown as more words
                  leave stage 1
  Gal<n>.svg      seven galaxies (n = 0..6), one of them shown once a thousand
                  words have
  Sample<n>.svg   four sample skies (n = 1..4) for the explanation window,
                  after 90, 200, 360 and 700 days

Everything is drawn from gradients, circles and spiral arms computed here with
a fixed pseudo-random sequence, so every run writes the same bytes.

  python3 tools/art/make_cosmos_art.py [output folder, default resources/cosmos/]
  python3 tools/art/make_cosmos_art.py --check   (the shipped files are what this script makes)
"""
import filecmp
import math
import os
import sys
import tempfile

SKY_W, SKY_H = 1024, 768


class Draw:
    """A small linear congruential generator: the same numbers everywhere."""

    def __init__(self, seed):
        self.state = seed & 0x7FFFFFFF

    def unit(self):
        self.state = (1103515245 * self.state + 12345) & 0x7FFFFFFF
        return self.state / 0x80000000

    def between(self, lo, hi):
        return lo + (hi - lo) * self.unit()


def svg(width, height, body, title):
    return (f'<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            f'width="{width}" height="{height}" viewBox="0 0 {width} {height}">\n'
            f'<title>{title}</title>\n{body}</svg>\n')


def radial(ident, stops):
    parts = "".join(f'<stop offset="{o}" stop-color="{c}" stop-opacity="{a}"/>' for o, c, a in stops)
    return f'<radialGradient id="{ident}" cx="0.5" cy="0.5" r="0.5">{parts}</radialGradient>\n'


def bright_star(n, draw):
    size = 48
    hue = [("#FFFFFF", "#BFD8FF"), ("#FFF6D8", "#FFC36B"), ("#FFFFFF", "#FFB0B0"), ("#F0FFFF", "#8FE3FF"),
           ("#FFFFF0", "#FFF08A")][n % 5]
    body = "<defs>" + radial("g", [(0, hue[0], 1), (0.18, hue[1], 0.9), (1, hue[1], 0)]) + "</defs>\n"
    body += f'<circle cx="24" cy="24" r="24" fill="url(#g)"/>\n'
    rays = 4 + 2 * (n % 3)
    for k in range(rays):
        angle = math.pi * k / rays + draw.between(0, 0.2)
        dx, dy = 23 * math.cos(angle), 23 * math.sin(angle)
        body += (f'<path d="M{24 - dx:.1f},{24 - dy:.1f} L{24 + dx:.1f},{24 + dy:.1f}" stroke="{hue[0]}" '
                 f'stroke-width="{1.2 if k % 2 else 0.7}" stroke-opacity="0.8"/>\n')
    return svg(size, size, body, f"Bright star {n}")


def planet(n, draw):
    size = 56
    colours = [("#F4D3A0", "#A8743A"), ("#BFE3F5", "#3E7FB3"), ("#E8B7A3", "#8E3B2A"), ("#D9E7B8", "#5E7D33"),
               ("#E6D6F5", "#6B4C93")][n % 5]
    body = "<defs>" + radial("p", [(0, colours[0], 1), (1, colours[1], 1)])
    body += '<radialGradient id="shade" cx="0.35" cy="0.35" r="0.75"><stop offset="0.5" stop-color="#000" stop-opacity="0"/>'
    body += '<stop offset="1" stop-color="#000" stop-opacity="0.7"/></radialGradient></defs>\n'
    body += '<circle cx="28" cy="28" r="17" fill="url(#p)"/>\n'
    for k in range(3):
        y = 20 + 8 * k + draw.between(-2, 2)
        body += (f'<path d="M12,{y:.1f} Q28,{y + draw.between(-3, 3):.1f} 44,{y:.1f}" stroke="{colours[1]}" '
                 f'stroke-width="2" stroke-opacity="0.35" fill="none"/>\n')
    body += '<circle cx="28" cy="28" r="17" fill="url(#shade)"/>\n'
    if n % 2 == 1:
        body += (f'<ellipse cx="28" cy="28" rx="27" ry="6" fill="none" stroke="{colours[0]}" '
                 f'stroke-width="2.5" stroke-opacity="0.8" transform="rotate(-18 28 28)"/>\n')
    return svg(size, size, body, f"Planet {n}")


def galaxy(n, draw):
    size = 256
    tints = ["#CFE0FF", "#FFE6C7", "#E8D0FF", "#C9FFF0", "#FFD0D8", "#F5F5D0", "#D0E8FF"]
    tint = tints[n]
    arms = 2 + n % 3
    body = "<defs>" + radial("core", [(0, "#FFFFFF", 1), (0.25, tint, 0.8), (1, tint, 0)]) + "</defs>\n"
    body += f'<g transform="rotate({draw.between(0, 180):.1f} 128 128) scale(1 {0.55 + 0.08 * (n % 4):.2f}) translate(0 {128 * (0.45 - 0.08 * (n % 4)):.1f})">\n'
    for arm in range(arms):
        base = 2 * math.pi * arm / arms
        for i in range(140):
            t = i / 140
            angle = base + 3.4 * t
            radius = 10 + 110 * t
            x = 128 + radius * math.cos(angle) + draw.between(-6, 6) * t
            y = 128 + radius * math.sin(angle) + draw.between(-6, 6) * t
            r = 0.6 + 1.6 * (1 - t) * draw.unit()
            body += f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{r:.2f}" fill="{tint}" fill-opacity="{0.35 + 0.6 * (1 - t):.2f}"/>\n'
    body += '<circle cx="128" cy="128" r="46" fill="url(#core)"/>\n</g>\n'
    return svg(size, size, body, f"Galaxy {n}")


def sample(n, draw):
    # Skies after 90, 200, 360 and 700 days: more stars, and brighter.
    stars = [400, 1100, 2200, 3000][n - 1]
    brightness = [0.35, 0.5, 0.65, 0.8][n - 1]
    body = f'<rect width="{SKY_W}" height="{SKY_H}" fill="#000"/>\n'
    for _ in range(stars):
        x, y = draw.between(0, SKY_W), draw.between(0, SKY_H)
        v = min(255, int(255 * brightness * (0.3 + draw.unit())))
        red = min(255, v + int(40 * draw.unit() * (1 - brightness)))
        green = min(255, v + int(30 * draw.unit() * brightness))
        body += f'<rect x="{x:.0f}" y="{y:.0f}" width="1.6" height="1.6" fill="#{red:02X}{green:02X}{v:02X}"/>\n'
    return svg(SKY_W, SKY_H, body, f"Sample sky {n}")


def files():
    draw = Draw(20261210)
    out = {}
    for n in range(10):
        out[f"Sp{n}.svg"] = planet(n, draw) if n in (6, 7) else bright_star(n, draw)
    for n in range(7):
        out[f"Gal{n}.svg"] = galaxy(n, draw)
    for n in range(1, 5):
        out[f"Sample{n}.svg"] = sample(n, draw)
    return out


def write(folder):
    os.makedirs(folder, exist_ok=True)
    for name, text in files().items():
        with open(os.path.join(folder, name), "w", encoding="utf-8", newline="\n") as f:
            f.write(text)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    shipped = os.path.join(here, "..", "..", "resources", "cosmos")
    if len(sys.argv) > 1 and sys.argv[1] == "--check":
        with tempfile.TemporaryDirectory() as tmp:
            write(tmp)
            names = sorted(files())
            match, mismatch, errors = filecmp.cmpfiles(tmp, shipped, names, shallow=False)
            if mismatch or errors:
                print("differs from the script:", " ".join(mismatch + errors))
                return 1
        return 0
    write(sys.argv[1] if len(sys.argv) > 1 else shipped)
    return 0


if __name__ == "__main__":
    sys.exit(main())
