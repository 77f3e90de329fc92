#!/usr/bin/env python3
"""Writes the skins' pictures as SVG files under resources/skins/.

  resources/skins/Skin_<name>.svg        the picture behind the main window of each of
                                         the nine skins, a 240 x 240 tile that repeats
                                         without seams, each with a pattern of its own

The colours of each skin come from resources/skins/skins.json. Random patterns come
from fixed seeds, so the output is the same on every run.

  python3 tools/art/make_skin_art.py [output folder, default resources/]
  python3 tools/art/make_skin_art.py --check   (the shipped files are what this script makes)
"""
import json
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import artwork_files  # noqa: E402

TILE = 240

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def skins():
    with open(os.path.join(ROOT, "resources", "skins", "skins.json"), encoding="utf-8") as f:
        return json.load(f)["skins"]


def svg(width, height, body, title):
    return (f'<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            f'width="{width}" height="{height}" viewBox="0 0 {width} {height}">\n'
            f'<title>{title}</title>\n{body}</svg>\n')


def gradient(ident, stops, vertical=True):
    x2, y2 = ("0", "1") if vertical else ("1", "0")
    s = "".join(f'<stop offset="{o}" stop-color="{c}"/>' for o, c in stops)
    return f'<linearGradient id="{ident}" x1="0" y1="0" x2="{x2}" y2="{y2}">{s}</linearGradient>\n'


def f2(v):
    return f"{v:.1f}".rstrip("0").rstrip(".")


def wrapped(x, y, reach, draw):
    """Draws an element and its copies across the tile's edges, so the tile repeats."""
    out = []
    for dx in (-TILE, 0, TILE):
        for dy in (-TILE, 0, TILE):
            if -reach <= x + dx <= TILE + reach and -reach <= y + dy <= TILE + reach:
                out.append(draw(x + dx, y + dy))
    return "".join(out)


def rect(colour):
    return f'<rect width="{TILE}" height="{TILE}" fill="{colour}"/>\n'


# --- the nine backgrounds ----------------------------------------------------

def back_athena(s):
    # Fine diagonal weave in lavender, with a faint olive-branch sprig.
    body = rect(s["window"])
    for i in range(-TILE, TILE, 8):
        body += f'<path d="M{i} 0 L{i + TILE} {TILE}" stroke="#8E8AB0" stroke-opacity="0.10" stroke-width="1"/>\n'
        body += f'<path d="M{i + TILE} 0 L{i} {TILE}" stroke="#FFFFFF" stroke-opacity="0.22" stroke-width="1"/>\n'
    leaf = ('<g transform="translate({x} {y}) rotate(-30)" fill="#8E8AB0" fill-opacity="0.14">'
            '<path d="M0 0 C20 -4 40 -4 60 0" stroke="#8E8AB0" stroke-opacity="0.18" fill="none"/>'
            '<ellipse cx="12" cy="-5" rx="7" ry="3"/><ellipse cx="28" cy="5" rx="7" ry="3"/>'
            '<ellipse cx="44" cy="-5" rx="7" ry="3"/></g>\n')
    body += wrapped(150, 170, 70, lambda x, y: leaf.format(x=f2(x), y=f2(y)))
    return body


def back_tritogeneia(s):
    # Blue gauze: threads of uneven spacing both ways.
    rnd = random.Random(2)
    body = rect(s["window"])
    pos = 0
    while pos < TILE:
        w = rnd.choice((1, 1, 2))
        o = rnd.choice((0.10, 0.16, 0.22))
        body += f'<rect x="0" y="{pos}" width="{TILE}" height="{w}" fill="#4F7FB8" fill-opacity="{o}"/>\n'
        body += f'<rect x="{pos}" y="0" width="{w}" height="{TILE}" fill="#FFFFFF" fill-opacity="{o + 0.1:.2f}"/>\n'
        pos += rnd.choice((5, 6, 8))
    return body


def back_zeus(s):
    # Ice candy: glossy vertical bands and a thin golden zig-zag.
    body = gradient("ice", [(0, "#FFFFFF"), (0.5, s["window"]), (1, "#C9D6E3")], vertical=False)
    body += rect(s["window"])
    for x in range(0, TILE, 40):
        body += f'<rect x="{x}" y="0" width="40" height="{TILE}" fill="url(#ice)" fill-opacity="0.55"/>\n'
    body += ('<path d="M0 60 L40 40 L80 70 L120 30 L160 65 L200 35 L240 60" fill="none" '
             'stroke="#C9A23A" stroke-opacity="0.28" stroke-width="2"/>\n')
    body += ('<path d="M0 180 L40 160 L80 190 L120 150 L160 185 L200 155 L240 180" fill="none" '
             'stroke="#C9A23A" stroke-opacity="0.18" stroke-width="1.5"/>\n')
    return body


def back_metis(s):
    # Plain warm paper with faint ruled lines and fibres.
    rnd = random.Random(4)
    body = rect(s["window"])
    for y in range(12, TILE, 24):
        body += f'<rect x="0" y="{y}" width="{TILE}" height="1" fill="#8A8270" fill-opacity="0.10"/>\n'
    for _ in range(40):
        x, y = rnd.uniform(0, TILE), rnd.uniform(0, TILE)
        a = rnd.uniform(-10, 10)
        body += wrapped(x, y, 12, lambda px, py: (
            f'<path d="M{f2(px)} {f2(py)} l10 {f2(a / 4)}" stroke="#6A6456" stroke-opacity="0.12"/>\n'))
    return body


def back_hephaestus(s):
    # Grey plastic: moulded studs in a grid, lit from the top left.
    body = gradient("stud", [(0, "#E6E8EC"), (1, "#8E939B")])
    body += rect(s["window"])
    for y in range(15, TILE, 30):
        for x in range(15, TILE, 30):
            body += (f'<circle cx="{x}" cy="{y}" r="6" fill="url(#stud)" fill-opacity="0.55"/>'
                     f'<circle cx="{x}" cy="{y}" r="6" fill="none" stroke="#5A6270" stroke-opacity="0.25"/>\n')
    return body


def back_nike(s):
    # Brushed metal: many thin horizontal strokes of varying light.
    rnd = random.Random(6)
    body = rect(s["window"])
    for y in range(TILE):
        light = rnd.random()
        colour = "#FFFFFF" if light > 0.5 else "#6B6B5E"
        body += f'<rect x="0" y="{y}" width="{TILE}" height="1" fill="{colour}" fill-opacity="{abs(light - 0.5) * 0.35:.3f}"/>\n'
    return body


def back_aegean(s):
    # Sand with speckles and the marks of small waves.
    rnd = random.Random(7)
    body = rect(s["window"])
    for _ in range(420):
        x, y = rnd.uniform(0, TILE), rnd.uniform(0, TILE)
        r = rnd.choice((0.6, 0.8, 1.0, 1.3))
        colour = rnd.choice(("#B08A52", "#8A6B3E", "#FFFFFF"))
        body += wrapped(x, y, 2, lambda px, py: (
            f'<circle cx="{f2(px)}" cy="{f2(py)}" r="{r}" fill="{colour}" fill-opacity="0.35"/>\n'))
    for y in (50, 130, 210):
        body += (f'<path d="M0 {y} q30 -8 60 0 t60 0 t60 0 t60 0" fill="none" '
                 f'stroke="#2F6E9E" stroke-opacity="0.12" stroke-width="2"/>\n')
    return body


def back_olive(s):
    # Olive leaves scattered over green.
    rnd = random.Random(8)
    body = rect(s["window"])
    for _ in range(26):
        x, y = rnd.uniform(0, TILE), rnd.uniform(0, TILE)
        a = rnd.uniform(0, 180)
        tone = rnd.choice(("#5F8A3A", "#4A6E2C", "#8DB060"))
        body += wrapped(x, y, 22, lambda px, py: (
            f'<path transform="translate({f2(px)} {f2(py)}) rotate({f2(a)})" d="M-18 0 Q0 -9 18 0 Q0 9 -18 0 Z" '
            f'fill="{tone}" fill-opacity="0.22"/>\n'))
    return body


def back_eos(s):
    # Topaz: facets of warm light.
    rnd = random.Random(9)
    body = rect(s["window"])
    step = 40
    for gy in range(0, TILE, step):
        for gx in range(0, TILE, step):
            for tri in ((0, 0, step, 0, 0, step), (step, 0, step, step, 0, step)):
                colour = rnd.choice(("#FFFFFF", "#C0702E", "#E9B77C"))
                o = rnd.choice((0.06, 0.12, 0.18))
                pts = " ".join(f"{gx + tri[i]},{gy + tri[i + 1]}" for i in range(0, 6, 2))
                body += f'<polygon points="{pts}" fill="{colour}" fill-opacity="{o}"/>\n'
    return body


BACKS = {
    "Athena": back_athena, "Tritogeneia": back_tritogeneia, "Zeus": back_zeus, "Metis": back_metis,
    "Hephaestus": back_hephaestus, "Nike": back_nike, "Aegean": back_aegean, "Olive": back_olive,
    "Eos": back_eos,
}

def artwork():
    files = {}
    for s in skins():
        files[f"skins/{s['back']}.svg"] = svg(TILE, TILE, BACKS[s["name"]](s), s["back"])
    return files


if __name__ == "__main__":
    sys.exit(artwork_files.run(artwork, "resources/skins/"))
