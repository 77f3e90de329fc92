#!/usr/bin/env python3
"""Writes the etymology window's pictures as SVG files under resources/etymology/.

  EtymBG_Vase.svg              the background (800 x 600): a warm parchment with a
                               faint amphora on the right and a Greek key band below
  Etym_Athena_Rich.svg         the goddess in colour (102 x 216), screen types 1 and 2
  Etym_Athena_Simple.svg       the goddess in line art on parchment (150 x 240), type 3
  Etym_Athena_SimpleWhite.svg  the same in greys for the white background, type 4

Everything is drawn from shapes; the output depends on nothing but this script.

  python3 tools/art/make_etymology_art.py [output folder, default resources/etymology/]
  python3 tools/art/make_etymology_art.py --check   (the shipped files are what this script makes)
"""
import os
import sys

from shipped_art import run

PARCHMENT_LIGHT = "#FBF6EC"
PARCHMENT = "#F3E7D1"
PARCHMENT_DARK = "#E6D2B0"
TERRACOTTA = "#C9774A"
TERRACOTTA_DARK = "#9A5232"
BLACK_FIGURE = "#3A2A24"
GOLD = "#C9A24A"
OLIVE = "#7C8A4A"
SKIN = "#E8C4A0"
PEPLOS = "#F4F1EA"
PEPLOS_SHADE = "#D9D2C4"
HELMET = "#B08A3E"
CREST = "#A4402E"


def svg(width, height, body):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">\n{body}</svg>\n')


def meander(x0, y, width, unit, colour, stroke):
    """A Greek key band: one continuous path of square hooks."""
    d = []
    x = x0
    while x + 4 * unit <= x0 + width:
        d.append(f"M{x},{y + 3 * unit} L{x},{y} L{x + 3 * unit},{y} L{x + 3 * unit},{y + 2 * unit} "
                 f"L{x + unit},{y + 2 * unit} L{x + unit},{y + unit} L{x + 2 * unit},{y + unit}")
        d.append(f"M{x},{y + 3 * unit} L{x + 4 * unit},{y + 3 * unit}")
        x += 4 * unit
    return (f'<path d="{" ".join(d)}" fill="none" stroke="{colour}" stroke-width="{stroke}" '
            f'stroke-linecap="square" stroke-linejoin="miter"/>\n')


def amphora(cx, top, scale, fill, opacity):
    """An amphora outline: neck, shoulders, belly and foot, with two handles."""
    s = scale
    body = (f"M{cx - 22 * s},{top} L{cx + 22 * s},{top} L{cx + 18 * s},{top + 14 * s} "
            f"C{cx + 16 * s},{top + 40 * s} {cx + 70 * s},{top + 60 * s} {cx + 74 * s},{top + 130 * s} "
            f"C{cx + 78 * s},{top + 200 * s} {cx + 40 * s},{top + 250 * s} {cx + 18 * s},{top + 280 * s} "
            f"L{cx + 30 * s},{top + 300 * s} L{cx - 30 * s},{top + 300 * s} L{cx - 18 * s},{top + 280 * s} "
            f"C{cx - 40 * s},{top + 250 * s} {cx - 78 * s},{top + 200 * s} {cx - 74 * s},{top + 130 * s} "
            f"C{cx - 70 * s},{top + 60 * s} {cx - 16 * s},{top + 40 * s} {cx - 18 * s},{top + 14 * s} Z")
    handles = (f"M{cx + 16 * s},{top + 22 * s} C{cx + 60 * s},{top + 10 * s} {cx + 70 * s},{top + 40 * s} "
               f"{cx + 52 * s},{top + 66 * s} "
               f"M{cx - 16 * s},{top + 22 * s} C{cx - 60 * s},{top + 10 * s} {cx - 70 * s},{top + 40 * s} "
               f"{cx - 52 * s},{top + 66 * s}")
    band = f"M{cx - 70 * s},{top + 150 * s} L{cx + 70 * s},{top + 150 * s}"
    return (f'<g opacity="{opacity}">\n'
            f'<path d="{body}" fill="{fill}"/>\n'
            f'<path d="{handles}" fill="none" stroke="{fill}" stroke-width="{7 * s}" stroke-linecap="round"/>\n'
            f'<path d="{band}" stroke="{PARCHMENT_LIGHT}" stroke-width="{3 * s}" opacity="0.5"/>\n'
            f'</g>\n')


def background():
    body = (
        '<defs>\n'
        f'<radialGradient id="paper" cx="0.32" cy="0.3" r="0.9">'
        f'<stop offset="0" stop-color="{PARCHMENT_LIGHT}"/><stop offset="0.65" stop-color="{PARCHMENT}"/>'
        f'<stop offset="1" stop-color="{PARCHMENT_DARK}"/></radialGradient>\n'
        '</defs>\n'
        '<rect width="800" height="600" fill="url(#paper)"/>\n'
        + amphora(560, 150, 1.05, TERRACOTTA, 0.13)
        + f'<rect x="0" y="578" width="800" height="22" fill="{TERRACOTTA}" opacity="0.18"/>\n'
        + meander(4, 581, 792, 4, TERRACOTTA_DARK, 1.6).replace('stroke-width', 'opacity="0.45" stroke-width')
    )
    return svg(800, 600, body)


def athena(width, height, palette, line_only):
    """The goddess standing in profile, facing left: crested helmet, peplos,
    a round shield at her side and a spear upright behind her."""
    ink = palette["ink"]
    fill = (lambda colour: "none") if line_only else (lambda colour: colour)
    sw = 1.6 if line_only else 1.2
    sx = width / 102.0
    sy = height / 216.0

    def p(x, y):
        return f"{x * sx:.1f},{y * sy:.1f}"

    parts = []
    # spear
    parts.append(f'<path d="M{p(84, 4)} L{p(84, 214)}" stroke="{palette["spear"]}" stroke-width="{2.2 * sx:.1f}"/>')
    parts.append(f'<path d="M{p(84, 0)} L{p(80, 14)} L{p(88, 14)} Z" fill="{palette["metal"] if not line_only else "none"}" '
                 f'stroke="{ink}" stroke-width="{sw}"/>')
    # peplos (long dress) with folds
    dress = (f"M{p(40, 60)} C{p(30, 90)} {p(26, 150)} {p(20, 212)} L{p(76, 212)} "
             f"C{p(72, 160)} {p(70, 100)} {p(62, 60)} Z")
    parts.append(f'<path d="{dress}" fill="{fill(palette["dress"])}" stroke="{ink}" stroke-width="{sw}"/>')
    for x0, x1 in ((36, 30), (44, 42), (52, 54), (60, 66)):
        parts.append(f'<path d="M{p(x0, 96)} C{p(x0 - 2, 140)} {p(x1, 170)} {p(x1, 210)}" fill="none" '
                     f'stroke="{palette["fold"]}" stroke-width="{sw}"/>')
    # aegis (cape over the shoulders)
    parts.append(f'<path d="M{p(36, 58)} C{p(42, 72)} {p(60, 74)} {p(66, 58)} L{p(62, 52)} L{p(40, 52)} Z" '
                 f'fill="{fill(palette["aegis"])}" stroke="{ink}" stroke-width="{sw}"/>')
    # arm raised to the spear
    parts.append(f'<path d="M{p(62, 60)} C{p(72, 56)} {p(78, 46)} {p(82, 40)}" fill="none" '
                 f'stroke="{palette["skin_line"]}" stroke-width="{4.2 * sx:.1f}" stroke-linecap="round"/>')
    # neck and head in profile, facing left
    parts.append(f'<path d="M{p(45, 50)} L{p(47, 36)} L{p(55, 36)} L{p(57, 50)} Z" fill="{fill(palette["skin"])}" '
                 f'stroke="{ink}" stroke-width="{sw}"/>')
    parts.append(f'<ellipse cx="{50 * sx:.1f}" cy="{29 * sy:.1f}" rx="{8 * sx:.1f}" ry="{9.5 * sy:.1f}" '
                 f'fill="{fill(palette["skin"])}" stroke="{ink}" stroke-width="{sw}"/>')
    parts.append(f'<path d="M{p(42.6, 27)} L{p(39.5, 31.5)} L{p(42.5, 32.5)}" fill="{fill(palette["skin"])}" '
                 f'stroke="{ink}" stroke-width="{sw}" stroke-linejoin="round"/>')
    parts.append(f'<circle cx="{45.5 * sx:.1f}" cy="{28 * sy:.1f}" r="{0.9 * sx:.1f}" fill="{ink}"/>')
    # helmet with its neck guard, and the crest over it
    parts.append(f'<path d="M{p(41, 26)} C{p(40, 14)} {p(60, 12)} {p(60, 24)} L{p(60, 36)} L{p(55, 34)} '
                 f'L{p(54, 25)} Z" fill="{fill(palette["helmet"])}" stroke="{ink}" stroke-width="{sw}" '
                 f'stroke-linejoin="round"/>')
    parts.append(f'<path d="M{p(42, 17)} C{p(44, 3)} {p(68, 2)} {p(74, 22)} C{p(66, 13)} {p(56, 10)} {p(42, 17)} Z" '
                 f'fill="{fill(palette["crest"])}" stroke="{ink}" stroke-width="{sw}"/>')
    # shield with a rim and a small owl-eye boss
    parts.append(f'<ellipse cx="{26 * sx:.1f}" cy="{120 * sy:.1f}" rx="{24 * sx:.1f}" ry="{30 * sy:.1f}" '
                 f'fill="{fill(palette["shield"])}" stroke="{ink}" stroke-width="{sw * 1.2:.1f}"/>')
    parts.append(f'<ellipse cx="{26 * sx:.1f}" cy="{120 * sy:.1f}" rx="{18 * sx:.1f}" ry="{23 * sy:.1f}" '
                 f'fill="none" stroke="{palette["rim"]}" stroke-width="{sw}"/>')
    parts.append(f'<circle cx="{26 * sx:.1f}" cy="{120 * sy:.1f}" r="{5 * sx:.1f}" '
                 f'fill="{fill(palette["metal"])}" stroke="{ink}" stroke-width="{sw}"/>')
    return svg(width, height, "\n".join(parts) + "\n")


RICH = {"ink": BLACK_FIGURE, "spear": "#6B4A2E", "metal": GOLD, "dress": PEPLOS, "fold": PEPLOS_SHADE,
        "aegis": OLIVE, "skin": SKIN, "skin_line": "#D8AF88", "helmet": HELMET, "crest": CREST,
        "shield": TERRACOTTA, "rim": GOLD}
SIMPLE = {"ink": "#8A6A55", "spear": "#8A6A55", "metal": "#8A6A55", "dress": "none", "fold": "#B99A84",
          "aegis": "none", "skin": "none", "skin_line": "#8A6A55", "helmet": "none", "crest": "none",
          "shield": "none", "rim": "#B99A84"}
SIMPLE_WHITE = {"ink": "#8C8C8C", "spear": "#8C8C8C", "metal": "#8C8C8C", "dress": "none", "fold": "#BDBDBD",
                "aegis": "none", "skin": "none", "skin_line": "#8C8C8C", "helmet": "none", "crest": "none",
                "shield": "none", "rim": "#BDBDBD"}


def pictures():
    return {
        "EtymBG_Vase.svg": background(),
        "Etym_Athena_Rich.svg": athena(102, 216, RICH, False),
        "Etym_Athena_Simple.svg": athena(150, 240, SIMPLE, True),
        "Etym_Athena_SimpleWhite.svg": athena(150, 240, SIMPLE_WHITE, True),
    }


def write(folder):
    os.makedirs(folder, exist_ok=True)
    for name, text in pictures().items():
        with open(os.path.join(folder, name), "w", encoding="utf-8", newline="\n") as f:
            f.write(text)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    shipped = os.path.join(here, "..", "..", "resources", "etymology")
    return run(pictures(), write, shipped, "tools/art/make_etymology_art.py")


if __name__ == "__main__":
    sys.exit(main())
