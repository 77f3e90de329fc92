#!/usr/bin/env python3
"""Writes the pictures of the word panel below the question as SVG files.

  resources/zodiac/<Name>.svg   the level's sign (32 x 32): BigDipper for level 0,
                                Aries ... Pisces for levels 1 to 12, SouthernCross
                                for a word kept out of the questions
  resources/flags/Flag<k>.svg   the tree's language icons (16 x 16): 0 the learner's
                                own files, 2 English, 3 Italian, 4 French, 5 German,
                                6 Spanish, 7 Russian, 8 Portuguese
  resources/stages/Stage<s><suffix>.svg        the curve graph's stage backgrounds
  resources/stages/Stage<s><suffix>_hint.svg   what a stage means (stages 1 and 2)
                                (800 x 175, suffixes _A, _B and _C of the skins)

The graph's geometry is fixed by the panel: the time axis starts at x = 73, full
retention lies at y = 48 and the plot is 700 x 100 pixels, one pixel per percent
of retention, 1600 questions or 800 days over its width.

  python3 tools/art/make_panel_art.py [resources folder, default resources/]
  python3 tools/art/make_panel_art.py --check   (the shipped files are what this script makes)
"""
import filecmp
import os
import sys
import tempfile

# ---- the curve graph's geometry -------------------------------------------------------
GRAPH_W, GRAPH_H = 800, 175
X0, Y0 = 73, 48                 # left end of the time axis, full retention
PLOT_W, PLOT_H = 697, 100       # the plot's frame ends at x = 770; the panel trims to it
RIGHT = X0 + PLOT_W
PIXELS_PER_UNIT = 700.0         # 1600 questions or 800 days over 700 pixels
JP_FONT = "IPAexGothic, Noto Sans CJK JP, sans-serif"
LATIN_FONT = "DejaVu Sans, sans-serif"

# Plot colours by skin suffix: the plot's paper, its grid, the text.
PALETTES = {
    "_A": {"paper": "#FFFFFF", "plot": "#F7F8FD", "grid": "#DCE0F0", "mark": "#B9BFDC", "text": "#6A6A88",
           "band": "#EEF1FB"},
    "_B": {"paper": "#FFFFFF", "plot": "#A7AE9E", "grid": "#BCC2B4", "mark": "#8C9384", "text": "#5C6155",
           "band": "#B2B9A9"},
    "_C": {"paper": "#FFFFFF", "plot": "#8D929C", "grid": "#A2A7B0", "mark": "#767B85", "text": "#555963",
           "band": "#979CA6"},
}

# The displayed retention curve of a level: step j goes right by a + j*c and down by
# b - j*c while that is positive (the same table the panel draws with).
CURVES = {3: (1.7, 0.9, 0.007), 8: (3.4, 0.9, 0.006)}


def svg(width, height, body, title):
    return (f'<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            f'width="{width}" height="{height}" viewBox="0 0 {width} {height}">\n'
            f'<title>{title}</title>\n{body}</svg>\n')


def text(x, y, s, size, colour, anchor="start", family=LATIN_FONT, weight="normal"):
    return (f'<text x="{x}" y="{y}" font-family="{family}" font-size="{size}" font-weight="{weight}" '
            f'fill="{colour}" text-anchor="{anchor}">{s}</text>\n')


# ---- zodiac signs ----------------------------------------------------------------------
# Each sign: its stars (x, y, brightness 1..3) and the lines between them (indices).
SIGNS = {
    "BigDipper": ([(4, 9, 2), (9, 10, 2), (13, 13, 2), (17, 15, 2), (18, 22, 2), (26, 23, 2), (27, 15, 2)],
                  [(0, 1), (1, 2), (2, 3), (3, 4), (4, 5), (5, 6), (6, 3)]),
    "Aries": ([(5, 13, 1), (13, 10, 3), (20, 12, 2), (25, 20, 1)], [(0, 1), (1, 2), (2, 3)]),
    "Taurus": ([(4, 6, 2), (11, 13, 1), (15, 18, 3), (20, 14, 1), (27, 5, 2), (18, 25, 1)],
               [(0, 1), (1, 2), (2, 3), (3, 4), (2, 5)]),
    "Gemini": ([(9, 5, 3), (9, 15, 1), (8, 26, 1), (19, 4, 3), (20, 15, 1), (22, 26, 1)],
               [(0, 1), (1, 2), (3, 4), (4, 5), (1, 4)]),
    "Cancer": ([(12, 5, 1), (21, 7, 1), (16, 16, 2), (9, 27, 2), (25, 25, 1)],
               [(0, 2), (1, 2), (2, 3), (2, 4)]),
    "Leo": ([(7, 10, 1), (10, 5, 2), (15, 6, 1), (14, 11, 2), (10, 14, 1), (11, 20, 3), (21, 23, 1),
             (27, 21, 2), (22, 15, 1)],
            [(0, 1), (1, 2), (2, 3), (3, 4), (4, 5), (5, 6), (6, 7), (7, 8), (8, 3)]),
    "Virgo": ([(4, 8, 1), (10, 12, 1), (15, 13, 2), (21, 10, 1), (27, 8, 1), (14, 20, 1), (18, 27, 3),
               (8, 19, 1)],
              [(0, 1), (1, 2), (2, 3), (3, 4), (2, 5), (5, 6), (1, 7)]),
    "Libra": ([(16, 5, 2), (9, 13, 2), (23, 12, 2), (8, 24, 1), (24, 23, 1)],
              [(0, 1), (1, 2), (2, 0), (1, 3), (2, 4)]),
    "Scorpio": ([(25, 4, 1), (27, 9, 1), (23, 11, 1), (19, 14, 3), (16, 18, 1), (15, 23, 1), (12, 27, 1),
                 (7, 27, 1), (5, 22, 2)],
                [(0, 2), (1, 2), (2, 3), (3, 4), (4, 5), (5, 6), (6, 7), (7, 8)]),
    "Sagittarius": ([(7, 15, 1), (12, 11, 2), (17, 13, 1), (22, 10, 2), (26, 16, 1), (20, 21, 2), (13, 21, 1),
                     (8, 25, 1)],
                    [(0, 1), (1, 2), (2, 3), (3, 4), (4, 5), (5, 6), (6, 0), (2, 5), (6, 7)]),
    "Capricorn": ([(5, 7, 2), (10, 14, 1), (17, 22, 1), (22, 20, 2), (27, 12, 1), (26, 7, 2), (16, 10, 1)],
                  [(0, 1), (1, 2), (2, 3), (3, 4), (4, 5), (5, 6), (6, 0)]),
    "Aquarius": ([(5, 8, 1), (11, 11, 2), (16, 8, 1), (22, 13, 2), (19, 19, 1), (26, 24, 1), (12, 18, 1),
                  (8, 26, 1)],
                 [(0, 1), (1, 2), (2, 3), (3, 4), (4, 5), (1, 6), (6, 7)]),
    "Pisces": ([(5, 4, 1), (8, 10, 1), (11, 17, 1), (15, 27, 2), (20, 21, 1), (23, 16, 1), (21, 12, 1),
                (25, 10, 1), (28, 14, 1), (26, 18, 1)],
               [(0, 1), (1, 2), (2, 3), (3, 4), (4, 5), (5, 6), (6, 7), (7, 8), (8, 9), (9, 5)]),
    "SouthernCross": ([(16, 4, 3), (16, 27, 3), (7, 15, 2), (25, 13, 2), (21, 19, 1)],
                      [(0, 1), (2, 3)]),
}
# The sky behind a sign tells the stage: level 0, stage 1, stage 2, kept out.
SKIES = {
    "BigDipper": ("#3A4658", "#161C26"),
    "SouthernCross": ("#4A3A3E", "#1C1517"),
}
STAGE1_SKY = ("#2F4F8F", "#101A36")
STAGE2_SKY = ("#5A3F8F", "#1D1236")
STAGE1_SIGNS = ["Aries", "Taurus", "Gemini", "Cancer", "Leo"]


def sign(name):
    stars, lines = SIGNS[name]
    inner, outer = SKIES.get(name, STAGE1_SKY if name in STAGE1_SIGNS else STAGE2_SKY)
    body = ('<defs><radialGradient id="sky" cx="0.5" cy="0.45" r="0.7">'
            f'<stop offset="0" stop-color="{inner}"/><stop offset="1" stop-color="{outer}"/>'
            '</radialGradient></defs>\n')
    body += '<rect x="0.5" y="0.5" width="31" height="31" rx="5" fill="url(#sky)" stroke="#0A0E18"/>\n'
    # A few faint background stars, the same in every sign but shifted by its name.
    seed = sum(ord(c) for c in name)
    for k in range(6):
        x = 3 + (seed * (k + 3) * 7) % 26
        y = 3 + (seed * (k + 5) * 11) % 26
        body += f'<circle cx="{x}" cy="{y}" r="0.45" fill="#C8D2F0" fill-opacity="0.45"/>\n'
    for a, b in lines:
        (x1, y1, _), (x2, y2, _) = stars[a], stars[b]
        body += (f'<line x1="{x1}" y1="{y1}" x2="{x2}" y2="{y2}" stroke="#9FB8F0" stroke-width="0.8" '
                 f'stroke-opacity="0.75"/>\n')
    for x, y, bright in stars:
        r = {1: 1.0, 2: 1.35, 3: 1.8}[bright]
        body += f'<circle cx="{x}" cy="{y}" r="{r + 1.2}" fill="#FFF6D0" fill-opacity="0.22"/>\n'
        body += f'<circle cx="{x}" cy="{y}" r="{r}" fill="#FFFBEA"/>\n'
    return svg(32, 32, body, name)


# ---- language flags --------------------------------------------------------------------
def flag(kind):
    x, y, w, h = 1, 3, 14, 10

    def stripes(colours, vertical):
        out = ""
        n = len(colours)
        for i, c in enumerate(colours):
            if vertical:
                out += f'<rect x="{x + w * i / n:.3f}" y="{y}" width="{w / n:.3f}" height="{h}" fill="{c}"/>\n'
            else:
                out += f'<rect x="{x}" y="{y + h * i / n:.3f}" width="{w}" height="{h / n:.3f}" fill="{c}"/>\n'
        return out

    frame = f'<rect x="{x - 0.5}" y="{y - 0.5}" width="{w + 1}" height="{h + 1}" fill="none" stroke="#7A7A7A"/>\n'
    if kind == 0:
        # The learner's own list: a notebook page.
        body = '<rect x="3.5" y="1.5" width="10" height="13" fill="#FFFFFF" stroke="#7A7A7A"/>\n'
        body += '<rect x="3.5" y="1.5" width="2" height="13" fill="#E8B0B0" stroke="none"/>\n'
        for ly in (5, 8, 11):
            body += f'<line x1="6.5" y1="{ly}.5" x2="12" y2="{ly}.5" stroke="#8FA8D8"/>\n'
        return svg(16, 16, body, "User file")
    if kind == 2:
        body = f'<rect x="{x}" y="{y}" width="{w}" height="{h}" fill="#2B3F8C"/>\n'
        body += f'<path d="M{x},{y} L{x + w},{y + h} M{x + w},{y} L{x},{y + h}" stroke="#FFFFFF" stroke-width="2.4"/>\n'
        body += f'<path d="M{x},{y} L{x + w},{y + h} M{x + w},{y} L{x},{y + h}" stroke="#C8283C" stroke-width="0.9"/>\n'
        body += f'<rect x="{x}" y="{y + 3.5}" width="{w}" height="3" fill="#FFFFFF"/>\n'
        body += f'<rect x="{x + 5.5}" y="{y}" width="3" height="{h}" fill="#FFFFFF"/>\n'
        body += f'<rect x="{x}" y="{y + 4.2}" width="{w}" height="1.6" fill="#C8283C"/>\n'
        body += f'<rect x="{x + 6.2}" y="{y}" width="1.6" height="{h}" fill="#C8283C"/>\n'
        return svg(16, 16, body + frame, "English")
    if kind == 3:
        return svg(16, 16, stripes(["#1E9A4B", "#FFFFFF", "#D2313A"], True) + frame, "Italian")
    if kind == 4:
        return svg(16, 16, stripes(["#2B4FA8", "#FFFFFF", "#D83A3A"], True) + frame, "French")
    if kind == 5:
        return svg(16, 16, stripes(["#202020", "#D22A2A", "#F2C230"], False) + frame, "German")
    if kind == 6:
        body = stripes(["#C8283C", "#F6C530", "#F6C530", "#C8283C"], False)
        return svg(16, 16, body + frame, "Spanish")
    if kind == 7:
        return svg(16, 16, stripes(["#FFFFFF", "#2B4FA8", "#D2313A"], False) + frame, "Russian")
    if kind == 8:
        body = f'<rect x="{x}" y="{y}" width="{w * 0.4:.1f}" height="{h}" fill="#1E7A3C"/>\n'
        body += f'<rect x="{x + w * 0.4:.1f}" y="{y}" width="{w * 0.6:.1f}" height="{h}" fill="#D2313A"/>\n'
        body += f'<circle cx="{x + w * 0.4:.1f}" cy="{y + h / 2}" r="2.4" fill="#F2C230" stroke="#A07818" stroke-width="0.5"/>\n'
        return svg(16, 16, body + frame, "Portuguese")
    raise ValueError(kind)


FLAG_KINDS = [0, 2, 3, 4, 5, 6, 7, 8]


# ---- stage backgrounds and hints ---------------------------------------------------------
def frame_and_grid(p, stage):
    body = f'<rect x="0" y="0" width="{GRAPH_W}" height="{GRAPH_H}" fill="{p["paper"]}"/>\n'
    body += f'<rect x="{X0}" y="{Y0}" width="{PLOT_W}" height="{PLOT_H}" fill="{p["plot"]}"/>\n'
    if stage in (1, 2):
        # Between 80 % and 40 %: the word is due, and (stage 2) given up below.
        body += f'<rect x="{X0}" y="{Y0 + 20}" width="{PLOT_W}" height="40" fill="{p["band"]}"/>\n'
        for k in range(1, 8):
            gx = X0 + round(PIXELS_PER_UNIT * k / 8)
            body += (f'<line x1="{gx}" y1="{Y0}" x2="{gx}" y2="{Y0 + PLOT_H}" stroke="{p["grid"]}" '
                     f'stroke-width="1"/>\n')
        for pct, dash in ((80, "4,3"), (40, "4,3")):
            gy = Y0 + (100 - pct)
            body += (f'<line x1="{X0}" y1="{gy}.5" x2="{RIGHT}" y2="{gy}.5" stroke="{p["mark"]}" '
                     f'stroke-width="1" stroke-dasharray="{dash}"/>\n')
        for pct in (100, 80, 40, 0):
            body += text(X0 - 6, Y0 + (100 - pct) + 4, f"{pct}%", 10, p["text"], "end")
        unit, step = ("出題数", 400) if stage == 1 else ("日数", 200)
        for k in range(5):
            tx = X0 + round(PIXELS_PER_UNIT * k / 4)
            body += (f'<line x1="{tx}" y1="{Y0 + PLOT_H}" x2="{tx}" y2="{Y0 + PLOT_H + 4}" '
                     f'stroke="{p["text"]}" stroke-width="1"/>\n')
            body += text(tx, Y0 + PLOT_H + 16, str(k * step), 10, p["text"], "middle")
        body += text(8, GRAPH_H - 7, "横軸：" + unit, 10, p["text"], family=JP_FONT)
    body += (f'<rect x="{X0 - 0.5}" y="{Y0 - 0.5}" width="{PLOT_W + 1}" height="{PLOT_H + 1}" fill="none" '
             f'stroke="{p["mark"]}" stroke-width="1"/>\n')
    body += text(8, 22, f"Stage {stage}", 13, p["text"], weight="bold")
    return body


def stage_background(stage, suffix):
    p = PALETTES[suffix]
    body = frame_and_grid(p, stage)
    if stage == 3:
        # The heading above and its note below the band where the window
        # writes its own stage-3 hint (from x 222, y 86 to 104 of the picture).
        body += text(X0 + 12, Y0 + 28, "Stage 3", 28, p["mark"], weight="bold")
        body += text(X0 + 12, Y0 + 86, "360〜520 日ごとの確認", 12, p["text"], family=JP_FONT)
    return svg(GRAPH_W, GRAPH_H, body, f"Stage {stage} background {suffix}")


def model_curve(level, to_x, to_y):
    a, b, c = CURVES[level]
    x = y = 0.0
    points = [(X0, Y0)]
    j = 1
    while x < to_x and y < to_y:
        y += max(b - j * c, 0.0)
        x += a + j * c
        points.append((X0 + x, Y0 + y))
        j += 1
    return points


def stage_hint(stage, suffix):
    p = PALETTES[suffix]
    body = frame_and_grid(p, stage)
    level = 3 if stage == 1 else 8
    # Stage 2 ends where the word starts over.
    points = model_curve(level, PLOT_W - 10, 100 if stage == 1 else 60)
    path = " ".join(f"{'M' if i == 0 else 'L'}{x:.1f},{y:.1f}" for i, (x, y) in enumerate(points))
    body += f'<path d="{path}" fill="none" stroke="{p["text"]}" stroke-width="1.6" stroke-opacity="0.8"/>\n'
    # Where the model curve crosses 80 % (asked again) and 40 % (starts over).
    marks = [(80, "ここで再出題")] + ([(40, "ここでやり直し")] if stage == 2 else [])
    for pct, caption in marks:
        gy = Y0 + (100 - pct)
        gx = next((x for x, y in points if y >= gy), points[-1][0])
        body += f'<circle cx="{gx:.1f}" cy="{gy}" r="3.5" fill="#F46F6F"/>\n'
        body += text(round(gx) + 8, gy - 5, caption, 11, p["text"], family=JP_FONT)
    lines = {
        1: ["Stage 1（習熟レベル 1〜5）：忘却を出題数で測ります。",
            "記憶が 80% まで下がる頃に再出題されます。"],
        2: ["Stage 2（習熟レベル 6〜12）：忘却を日数で測ります。",
            "80% で再出題、40% を下回るとレベル 0 からやり直しです。"],
    }[stage]
    for k, line in enumerate(lines):
        body += text(X0 + PLOT_W - 8, Y0 + 76 + 16 * k, line, 12, p["text"], "end", JP_FONT)
    return svg(GRAPH_W, GRAPH_H, body, f"Stage {stage} hint {suffix}")


def files():
    out = {}
    for name in SIGNS:
        out[os.path.join("zodiac", name + ".svg")] = sign(name)
    for kind in FLAG_KINDS:
        out[os.path.join("flags", f"Flag{kind}.svg")] = flag(kind)
    for suffix in PALETTES:
        for stage in (1, 2, 3):
            out[os.path.join("stages", f"Stage{stage}{suffix}.svg")] = stage_background(stage, suffix)
        for stage in (1, 2):
            out[os.path.join("stages", f"Stage{stage}{suffix}_hint.svg")] = stage_hint(stage, suffix)
    return out


def write(folder):
    for name, content in files().items():
        path = os.path.join(folder, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(content)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    shipped = os.path.join(here, "..", "..", "resources")
    if len(sys.argv) > 1 and sys.argv[1] == "--check":
        with tempfile.TemporaryDirectory() as tmp:
            write(tmp)
            names = sorted(files())
            match, mismatch, errors = filecmp.cmpfiles(tmp, shipped, names, shallow=False)
            if mismatch or errors:
                print("differs from the script:", " ".join(mismatch + errors))
                return 1
            # Nothing in the panel's folders that the script does not make.
            for sub in ("zodiac", "flags", "stages"):
                extra = set(os.listdir(os.path.join(shipped, sub))) - {
                    os.path.basename(n) for n in names if os.path.dirname(n) == sub}
                if extra:
                    print("not made by the script:", " ".join(sorted(extra)))
                    return 1
        return 0
    write(sys.argv[1] if len(sys.argv) > 1 else shipped)
    return 0


if __name__ == "__main__":
    sys.exit(main())
