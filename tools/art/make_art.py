#!/usr/bin/env python3
"""Writes the program's own artwork as SVG files under resources/.

  resources/buttons/Option<n>_<State>.svg  the option buttons 1, 2, 3 in their
                                           neutral, correct and wrong states (42 x 39)
  resources/signals/Signal_<name>.svg      the signal button's pictures (42 x 38):
                                           Start1..Start4 before the first question,
                                           Q for a question left waiting, O correct, X wrong
  resources/legend/Hanrei.svg              the pronunciation-symbol legend

Everything is drawn from shapes (digits, marks and symbols are paths), except the
legend, whose texts use the two fonts the program installs anyway: Charis SIL (the
pronunciation glyphs are drawn from it) and IPAexGothic (Japanese).

  python3 tools/art/make_art.py [output folder, default resources/]
  python3 tools/art/make_art.py --check   (the shipped files are what this script makes)

The output depends on nothing but this script, so it is the same on every run.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import artwork_files  # noqa: E402

# --- colours -----------------------------------------------------------------
INK = "#63587A"            # the Athena skin's text colour
INK_DARK = "#2E2840"
GREEN = "#2E9E4B"
GREEN_DARK = "#1D6A33"
RED = "#D63B3B"
RED_DARK = "#7E2424"
AMBER = "#E39419"
BLUE = "#3F74C6"

BUTTON_W, BUTTON_H = 42, 39
SIGNAL_W, SIGNAL_H = 42, 38

SYMBOL_FONT = "Charis SIL"
TEXT_FONT = "IPAexGothic"


def svg(width, height, body, title):
    return (f'<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            f'width="{width}" height="{height}" viewBox="0 0 {width} {height}">\n'
            f'<title>{title}</title>\n{body}</svg>\n')


def gradient(ident, top, bottom):
    return (f'<linearGradient id="{ident}" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/>'
            f'</linearGradient>\n')


def stroke(d, colour, width, extra=""):
    return (f'<path d="{d}" fill="none" stroke="{colour}" stroke-width="{width}" '
            f'stroke-linecap="round" stroke-linejoin="round"{extra}/>\n')


# --- option buttons ----------------------------------------------------------
# Digits as strokes in a 12 x 18 box (origin top left).
DIGITS = {
    1: ["M3.2,4.4 L7.4,1 L7.4,18", "M3.6,18 L11,18"],
    2: ["M1,5.2 C1,2 3.4,0 6.2,0 C9,0 11.2,2 11.2,4.8 C11.2,8.2 8.2,10.6 1,18 L11.6,18"],
    3: ["M1,3.2 C2.2,1.1 4,0 6.2,0 C9,0 10.8,1.9 10.8,4.4 C10.8,7 8.8,8.6 5.6,8.6",
        "M5.6,8.6 C9.2,8.6 11.4,10.6 11.4,13.3 C11.4,16.2 9.1,18 6.1,18 C3.7,18 1.9,17 0.8,15.2"],
}
BUTTON_STATES = {
    # state: face top, face bottom, border, digit colour
    "Neutral": ("#FCFCFD", "#D6D4DE", "#8C85A0", INK),
    "Correct": ("#F1FBF2", "#B3E2BC", "#3E9B55", GREEN_DARK),
    "Wrong": ("#FEF2F2", "#EFB9B9", "#C24E4E", RED_DARK),
}


def digit(n, colour, width, cx, cy):
    x, y = cx - 6, cy - 9
    paths = "".join(stroke(d, colour, width) for d in DIGITS[n])
    return f'<g transform="translate({x},{y})">\n{paths}</g>\n'


def option_button(n, state):
    top, bottom, border, ink = BUTTON_STATES[state]
    cx, cy = BUTTON_W / 2, BUTTON_H / 2
    body = "<defs>\n" + gradient("face", top, bottom) + "</defs>\n"
    body += (f'<rect x="1.5" y="1.5" width="39" height="36" rx="6" ry="6" fill="url(#face)" '
             f'stroke="{border}" stroke-width="1"/>\n')
    body += '<rect x="3" y="2.6" width="36" height="15" rx="5" ry="5" fill="#FFFFFF" fill-opacity="0.45"/>\n'
    if state == "Correct":
        # the circle of a right answer around the number
        body += f'<circle cx="{cx}" cy="{cy}" r="14" fill="#FFFFFF" fill-opacity="0.55"/>\n'
        body += f'<circle cx="{cx}" cy="{cy}" r="14" fill="none" stroke="{GREEN}" stroke-width="3.2"/>\n'
    elif state == "Wrong":
        # the cross of a wrong answer behind the number
        body += stroke("M10,8 L32,31 M32,8 L10,31", RED, 4.6, ' stroke-opacity="0.8"')
        body += digit(n, "#FFFFFF", 6.4, cx, cy)
    body += digit(n, ink, 3.1, cx, cy)
    return svg(BUTTON_W, BUTTON_H, body, f"option {n}, {state.lower()}")


# --- signals -----------------------------------------------------------------
def shadowed(shape):
    """The shape once as a soft shadow a little below right, then itself."""
    return f'<g transform="translate(1,1.3)" opacity="0.2">\n{shape(True)}</g>\n{shape(False)}'


def signal_o():
    def shape(shadow):
        c = "#000000" if shadow else GREEN
        out = f'<circle cx="21" cy="19" r="13" fill="none" stroke="{c}" stroke-width="5.4"/>\n'
        if not shadow:
            out += ('<circle cx="21" cy="19" r="14.6" fill="none" stroke="#9BE0AA" stroke-width="1" '
                    'stroke-opacity="0.8"/>\n')
        return out
    return svg(SIGNAL_W, SIGNAL_H, shadowed(shape), "correct")


def signal_x():
    def shape(shadow):
        c = "#000000" if shadow else RED
        out = stroke("M10.5,8 L31.5,30 M31.5,8 L10.5,30", c, 6.2)
        if not shadow:
            out += stroke("M11.5,8.4 L30.6,28.4 M30.5,8.4 L11.4,28.4", "#F59A9A", 1.2, ' stroke-opacity="0.7"')
        return out
    return svg(SIGNAL_W, SIGNAL_H, shadowed(shape), "wrong")


def signal_q():
    def shape(shadow):
        if shadow:
            return '<circle cx="21" cy="19" r="16" fill="#000000"/>\n'
        out = "<defs>\n" + gradient("plate", "#FFF6E2", "#FAD99A") + "</defs>\n"
        out += f'<circle cx="21" cy="19" r="16" fill="url(#plate)" stroke="{AMBER}" stroke-width="1.6"/>\n'
        out += stroke("M15.4,13.4 C15.4,9.8 18,7.6 21.2,7.6 C24.6,7.6 27,9.8 27,12.8 "
                      "C27,16.2 23.9,17.1 22.2,19 C21.4,19.9 21.2,20.8 21.2,23.2", "#B86E0A", 3.8)
        out += '<circle cx="21.2" cy="28.8" r="2.4" fill="#B86E0A"/>\n'
        return out
    return svg(SIGNAL_W, SIGNAL_H, shadowed(shape), "question waiting")


def signal_start1():
    """A play sign: the run starts with a key."""
    def shape(shadow):
        if shadow:
            return '<circle cx="21" cy="19" r="15" fill="#000000"/>\n'
        out = "<defs>\n" + gradient("ball", "#8DB8F0", BLUE) + "</defs>\n"
        out += '<circle cx="21" cy="19" r="15" fill="url(#ball)" stroke="#2F5C9F" stroke-width="1"/>\n'
        out += '<path d="M17,11.6 L28.6,19 L17,26.4 Z" fill="#FFFFFF" stroke="#FFFFFF" stroke-width="1.6" stroke-linejoin="round"/>\n'
        return out
    return svg(SIGNAL_W, SIGNAL_H, shadowed(shape), "start: play")


def signal_start2():
    """A signal light turned green."""
    def shape(shadow):
        if shadow:
            return '<rect x="3.5" y="10" width="35" height="18" rx="9" ry="9" fill="#000000"/>\n'
        out = "<defs>\n" + gradient("housing", "#6A6778", "#3C3A47") + "</defs>\n"
        out += '<rect x="3.5" y="10" width="35" height="18" rx="9" ry="9" fill="url(#housing)" stroke="#2B2933" stroke-width="1"/>\n'
        out += '<circle cx="12.5" cy="19" r="5" fill="#7D5656"/>\n'
        out += '<circle cx="21" cy="19" r="5" fill="#7F7352"/>\n'
        out += '<circle cx="29.5" cy="19" r="7" fill="#4BE07A" fill-opacity="0.3"/>\n'
        out += '<circle cx="29.5" cy="19" r="5" fill="#3DD46C" stroke="#C9F7D6" stroke-width="1"/>\n'
        out += '<circle cx="28" cy="17.4" r="1.5" fill="#FFFFFF" fill-opacity="0.8"/>\n'
        return out
    return svg(SIGNAL_W, SIGNAL_H, shadowed(shape), "start: green light")


def signal_start3():
    """A chequered starting flag."""
    left, top, cell_w, cell_h, cols, rows = 13, 7, 5.5, 5, 4, 3

    def shape(shadow):
        if shadow:
            return (f'<rect x="{left}" y="{top}" width="{cols * cell_w}" height="{rows * cell_h}" fill="#000000"/>\n'
                    + stroke("M11,5 L11,34", "#000000", 2.6))
        out = f'<rect x="{left}" y="{top}" width="{cols * cell_w}" height="{rows * cell_h}" fill="#FFFFFF"/>\n'
        for r in range(rows):
            for c in range(cols):
                if (r + c) % 2 == 0:
                    out += (f'<rect x="{left + c * cell_w}" y="{top + r * cell_h}" '
                            f'width="{cell_w}" height="{cell_h}" fill="{INK_DARK}"/>\n')
        out += (f'<rect x="{left}" y="{top}" width="{cols * cell_w}" height="{rows * cell_h}" fill="none" '
                f'stroke="{INK_DARK}" stroke-width="1"/>\n')
        out += stroke("M11,5 L11,34", "#8A8496", 2.6)
        out += '<circle cx="11" cy="4.4" r="2.1" fill="#C9A227"/>\n'
        return out
    return svg(SIGNAL_W, SIGNAL_H, shadowed(shape), "start: flag")


def signal_start4():
    """A key cap with the return arrow: press a key."""
    def shape(shadow):
        if shadow:
            return '<rect x="7" y="6" width="28" height="26" rx="5" ry="5" fill="#000000"/>\n'
        out = "<defs>\n" + gradient("cap", "#FFFFFF", "#CFCCD9") + "</defs>\n"
        out += f'<rect x="7" y="6" width="28" height="26" rx="5" ry="5" fill="url(#cap)" stroke="{INK}" stroke-width="1.2"/>\n'
        out += '<rect x="10" y="8" width="22" height="19" rx="3.5" ry="3.5" fill="#F8F8FB" stroke="#DAD8E2" stroke-width="0.8"/>\n'
        out += stroke("M27,12 L27,18.5 L15.5,18.5", INK, 2.3)
        out += stroke("M18.8,15 L15.2,18.5 L18.8,22", INK, 2.3)
        return out
    return svg(SIGNAL_W, SIGNAL_H, shadowed(shape), "start: key")


# --- pronunciation legend ----------------------------------------------------
LEGEND_W = 800
ROW_H = 25
TALL_ROW_H = 36
COLUMN_W = 382
MARGIN = 12
TITLE_H = 40
GLYPH_COL = 52
EXAMPLE_COL = 128


def esc(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def text(x, y, s, size, colour, family=TEXT_FONT, anchor="start", weight="normal", style="normal"):
    return (f'<text x="{x}" y="{y}" font-family="{family}" font-size="{size}" fill="{colour}" '
            f'text-anchor="{anchor}" font-weight="{weight}" font-style="{style}">{esc(s)}</text>\n')


# Symbol shapes beyond plain font text, drawn like the on-screen glyphs.
def sym_text(s):
    return lambda cx, base: text(cx, base, s, 20, INK_DARK, SYMBOL_FONT, "middle")


def sym_stacked(top, bottom):
    """Two letters above each other; their row is taller so both stay legible."""
    def draw(cx, base):
        out = text(cx, base + 10, bottom, 19, INK_DARK, SYMBOL_FONT, "middle")
        out += text(cx, base - 5, top, 19, INK_DARK, SYMBOL_FONT, "middle")
        return out
    draw.tall = True
    return draw


def sym_boxed(labels):
    def draw(cx, base):
        out, widths = "", [7 + 6 * len(s) for s in labels]
        x = cx - (sum(widths) + 3 * (len(labels) - 1)) / 2
        for s, w in zip(labels, widths):
            out += (f'<rect x="{x}" y="{base - 12}" width="{w}" height="14" fill="none" '
                    f'stroke="{INK_DARK}" stroke-width="1"/>\n')
            out += text(x + w / 2, base - 1, s, 11, INK_DARK, SYMBOL_FONT, "middle")
            x += w + 3
        return out
    return draw


def sym_lowered(s):
    """A sign that sits high in its font, brought down to the row's middle."""
    return lambda cx, base: text(cx, base + 7, s, 20, INK_DARK, SYMBOL_FONT, "middle")


def sym_raised(s):
    return lambda cx, base: text(cx, base - 6, s, 16, INK_DARK, SYMBOL_FONT, "middle")


def sym_curled_x(cx, base):
    left, top, right = cx - 5, base - 10, cx + 4
    return (stroke(f"M{left},{base} L{right},{top}", INK_DARK, 1.7)
            + stroke(f"M{left},{top} L{right - 1},{base - 0.6} C{right + 0.8},{base + 1.8} {right + 2.6},{base + 3} "
                     f"{right + 1.3},{base + 3.9} C{right},{base + 4.5} {right - 1.5},{base + 3} {right - 0.3},{base + 1.2}",
                     INK_DARK, 1.7))


# (symbol drawer, example word, its pronunciation, explanation)
VOWELS = [
    (sym_text("ɑ"), "hot", "hɑ́t", "口を大きく開けた「ア」"),
    (sym_text("ʌ"), "cup", "kʌ́p", "短くはっきりした「ア」"),
    (sym_text("æ"), "cat", "kǽt", "「ア」と「エ」の中間の音"),
    (sym_text("ə"), "about", "əbáut", "弱くあいまいな「ア」"),
    (sym_text("ɚ"), "teacher", "tíːʧɚ", "舌先を丸めた弱い「アー」"),
    (sym_text("ɛ"), "bed", "bɛ́d", "はっきりした「エ」"),
    (sym_text("ɪ"), "sit", "sɪ́t", "「イ」と「エ」の間の短い「イ」"),
    (sym_text("ɔ"), "law", "lɔ́ː", "口を丸めて突き出す「オ」"),
    (sym_text("ʊ"), "book", "bʊ́k", "唇をゆるめた短い「ウ」"),
    (sym_text("œ"), "", "", "唇を丸めた「エ」（仏語由来の語）"),
    (sym_stacked("ɔ", "ɑ"), "hot", "", "上は主に英、下は主に米の発音"),
]
CONSONANTS = [
    (sym_text("θ"), "think", "θɪ́ŋk", "舌先を歯で軽くはさむ「ス」"),
    (sym_text("ð"), "this", "ðɪ́s", "舌先を歯で軽くはさむ「ズ」"),
    (sym_text("ʃ"), "she", "ʃíː", "息を強く出す「シュ」"),
    (sym_text("ʒ"), "vision", "vɪ́ʒən", "舌を歯ぐきにつけない「ジュ」"),
    (sym_text("ŋ"), "sing", "sɪ́ŋ", "鼻に抜ける「ング」（グは弱い）"),
    (sym_text("ʧ"), "church", "ʧɚ́ːʧ", "「チュ」"),
    (sym_text("ʤ"), "judge", "ʤʌ́ʤ", "「ヂュ」"),
    (sym_lowered("ʷ"), "", "", "唇を丸めて前の音につなぐ"),
    (sym_curled_x, "loch", "", "のどの奥で息をこする「ハ」"),
]
MARKS = [
    (sym_text("á"), "", "", "いちばん強く発音する所（第1強勢）"),
    (sym_text("à"), "", "", "次に強く発音する所（第2強勢）"),
    (sym_text("ː"), "", "", "前の音を長くのばす（iː は「イー」）"),
    (sym_text("(ː)"), "", "", "のばしてものばさなくてもよい"),
    (sym_text("(ə)"), "", "", "かっこ内の音は略してもよい"),
    (sym_text("(t)"), "", "", "(j) (h) も同じく略してもよい"),
    (sym_stacked("ı", "ə"), "", "", "ə と ɪ のどちらでもよい"),
    (sym_stacked("s", "z"), "", "", "s と z のどちらでもよい"),
    (sym_raised("ə"), "", "", "ごく弱い ə（発音しないことも多い）"),
    (sym_text("-"), "", "", "前の発音と同じ部分を略した印"),
    (sym_boxed(["n", "v"]), "", "", "品詞で発音が違うときの品詞"),
    (None, "", "", "n 名詞・v 動詞・a 形容詞・adv 副詞"),
    (None, "", "", "p 過去形・過去分詞"),
]


def legend_section(x, y, heading, rows):
    out = f'<rect x="{x}" y="{y}" width="{COLUMN_W}" height="{ROW_H}" fill="#E3E0EA"/>\n'
    out += text(x + 8, y + 17, heading, 13, INK, weight="bold")
    y += ROW_H
    with_examples = any(word or pron for _, word, pron, _ in rows)
    note_x = x + GLYPH_COL + (EXAMPLE_COL if with_examples else 4)
    for i, (symbol, word, pron, note) in enumerate(rows):
        height = TALL_ROW_H if getattr(symbol, "tall", False) else ROW_H
        if i % 2 == 1:
            out += f'<rect x="{x}" y="{y}" width="{COLUMN_W}" height="{height}" fill="#F0EFF4"/>\n'
        base = y + 17 + (height - ROW_H) / 2
        if symbol:
            out += symbol(x + GLYPH_COL / 2, base)
        if word:
            out += text(x + GLYPH_COL + 4, base, word, 14, "#4A4458", SYMBOL_FONT, style="italic")
        if pron:
            out += text(x + GLYPH_COL + 56, base, pron, 14, INK_DARK, SYMBOL_FONT)
        out += text(note_x, base - 1, note, 12.5, "#38334A")
        y += height
    return out, y


def legend():
    left_x, right_x = MARGIN, LEGEND_W - MARGIN - COLUMN_W
    body_top = TITLE_H + 10
    parts, y1 = legend_section(left_x, body_top, "母音", VOWELS)
    more, y1 = legend_section(left_x, y1 + 8, "子音", CONSONANTS)
    parts += more
    more, y2 = legend_section(right_x, body_top, "記号", MARKS)
    parts += more
    foot_y = max(y1, y2) + 8
    height = foot_y + 36
    body = "<defs>\n" + gradient("band", "#7A6F93", INK) + "</defs>\n"
    body += f'<rect x="0" y="0" width="{LEGEND_W}" height="{height}" fill="#F8F8FA"/>\n'
    body += f'<rect x="0" y="0" width="{LEGEND_W}" height="{TITLE_H}" fill="url(#band)"/>\n'
    body += text(MARGIN + 4, 27, "発音記号の見かた", 18, "#FFFFFF", weight="bold")
    body += text(LEGEND_W - MARGIN - 4, 26, "例：語　発音", 12.5, "#E6E2F0", anchor="end")
    body += parts
    body += f'<line x1="{MARGIN}" y1="{foot_y}" x2="{LEGEND_W - MARGIN}" y2="{foot_y}" stroke="#C9C5D4" stroke-width="1"/>\n'
    body += text(MARGIN + 4, foot_y + 22,
                 "カタカナは目安です。音声で確かめましょう。　クリックまたは Esc キーで閉じます。", 12.5, INK)
    body += (f'<rect x="0.5" y="0.5" width="{LEGEND_W - 1}" height="{height - 1}" fill="none" '
             f'stroke="{INK}" stroke-width="1"/>\n')
    return svg(LEGEND_W, height, body, "pronunciation symbols")


# --- output ------------------------------------------------------------------
def artwork():
    files = {}
    for n in (1, 2, 3):
        for state in BUTTON_STATES:
            files[f"buttons/Option{n}_{state}.svg"] = option_button(n, state)
    files["signals/Signal_Start1.svg"] = signal_start1()
    files["signals/Signal_Start2.svg"] = signal_start2()
    files["signals/Signal_Start3.svg"] = signal_start3()
    files["signals/Signal_Start4.svg"] = signal_start4()
    files["signals/Signal_Q.svg"] = signal_q()
    files["signals/Signal_O.svg"] = signal_o()
    files["signals/Signal_X.svg"] = signal_x()
    files["legend/Hanrei.svg"] = legend()
    return files


if __name__ == "__main__":
    sys.exit(artwork_files.run(artwork, "resources/"))
