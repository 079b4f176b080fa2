#!/usr/bin/env python3
"""Builds Kelvara.ttf, the program's glyph font, from DejaVu Sans.

    make_glyphfont.py OUTPUT.ttf [DejaVuSans.ttf]

Each glyph sits at a code 145..236 and again at U+F000 + code: the program
draws through the mirror, since 145..159 are C1 controls and 173 the soft
hyphen, which text shaping may drop. The output depends only on the source
font, so the same DejaVu Sans gives the same bytes.
"""

import calendar
import math
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.recordingPen import RecordingPen
from fontTools.pens.reverseContourPen import ReverseContourPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
UPEM = 2048  # DejaVu's, so its outlines copy unscaled
ADVANCE = 1836  # DejaVu's width for its astronomical signs
ASCENT, DESCENT = 1901, 483  # DejaVu's, so lines keep the height of its text
MIRROR = 0xF000
STROKE = 150  # line weight of our own outlines, near DejaVu's planet signs
LETTER_SCALE = 0.6  # Asc, Dsc, MC, IC: letters shrunk to fit one square
DIGIT_SCALE = 0.8  # house numbers: two digits fit one square
# Fixed build date in the head table (seconds since 1904), never the clock's.
STAMP = calendar.timegm((2026, 12, 1, 0, 0, 0)) + 2082844800

SIGNS = ("aries", "taurus", "gemini", "cancer", "leo", "virgo", "libra",
         "scorpio", "sagittarius", "capricorn", "aquarius", "pisces")


# --- own outlines: filled parts run clockwise, holes counter-clockwise ---

def arc(pen, cx, cy, r, a0, a1):
    """Continues the contour along a circle from angle a0 to a1 (degrees)."""
    steps = max(1, math.ceil(abs(a1 - a0) / 45))
    da = math.radians(a1 - a0) / steps
    for i in range(steps):
        mid = math.radians(a0) + da * (i + 0.5)
        end = math.radians(a0) + da * (i + 1)
        k = r / math.cos(da / 2)
        pen.qCurveTo((round(cx + k * math.cos(mid)), round(cy + k * math.sin(mid))),
                     (round(cx + r * math.cos(end)), round(cy + r * math.sin(end))))


def circle(pen, cx, cy, r):
    pen.moveTo((cx, cy + r))
    arc(pen, cx, cy, r, 90, -270)
    pen.closePath()


def ring(pen, cx, cy, r):
    """A circle drawn with a line of STROKE, r its outer radius."""
    circle(pen, cx, cy, r)
    circle(ReverseContourPen(pen), cx, cy, r - STROKE)


def rect(pen, x0, y0, x1, y1):
    pen.moveTo((x0, y0))
    pen.lineTo((x0, y1))
    pen.lineTo((x1, y1))
    pen.lineTo((x1, y0))
    pen.closePath()


def bowl(pen, cx, cy, r1, d, r2):
    """A crescent with its horns up: the circle (cx, cy, r1) less the circle
    of radius r2 whose centre is d higher."""
    y = (d * d + r1 * r1 - r2 * r2) / (2 * d)  # height of the horns over cy
    x = math.sqrt(r1 * r1 - y * y)
    a1 = math.degrees(math.atan2(y, x))
    a2 = math.degrees(math.atan2(y - d, x))
    pen.moveTo((round(cx + x), round(cy + y)))
    arc(pen, cx, cy, r1, a1, -180 - a1)
    arc(pen, cx, cy + d, r2, 180 - a2, 360 + a2)
    pen.closePath()


def draw_proserpina(pen):
    # Proserpina: a small ring on a stem with a crossbar, standing in a bowl.
    ring(pen, 0, 1240, 260)
    rect(pen, -STROKE // 2, 60, STROKE // 2, 980 + STROKE // 2)
    rect(pen, -280, 720, 280, 720 + STROKE)
    bowl(pen, 0, 360, 360, 130, 330)


def draw_selena(pen):
    # Selena, the White Moon: a hollow crescent, horns up, over a small cross.
    line = STROKE * 2 // 3
    bowl(pen, 0, 900, 600, 320, 560)
    bowl(ReverseContourPen(pen), 0, 900, 600 - line, 320, 560 + line)
    rect(pen, -STROKE // 2, -250, STROKE // 2, 300 + line // 2)
    rect(pen, -260, 40, 260, 40 + STROKE)


def draw_second_lot(pen):
    # The second lot: a ring whose upright and level spokes stop short of a centre dot.
    r, cy = 671, 643  # the size and place of DejaVu's circled times, its companion
    ring(pen, 0, cy, r)
    gap = 190
    inner = r - STROKE // 2
    half = STROKE // 2
    rect(pen, -half, cy + gap, half, cy + inner)
    rect(pen, -half, cy - inner, half, cy - gap)
    rect(pen, -inner, cy - half, -gap, cy + half)
    rect(pen, gap, cy - half, inner, cy + half)
    circle(pen, 0, cy, 100)


# --- glyph sources: each draws into a pen given the source glyph set ---

def from_char(code_point):
    def draw(src, pen):
        src.glyphs[src.cmap[code_point]].draw(pen)
    draw.code_point = code_point
    return draw


def from_text(text, scale):
    """DejaVu's letters side by side, a fixed gap between their outlines."""
    def draw(src, pen):
        x = 0
        for ch in text:
            glyph = src.glyphs[src.cmap[ord(ch)]]
            bounds = BoundsPen(src.glyphs)
            glyph.draw(bounds)
            x0, _, x1, _ = bounds.bounds
            glyph.draw(TransformPen(pen, (scale, 0, 0, scale, x - x0 * scale, 0)))
            x += (x1 - x0 + 110) * scale
    return draw


def own(outline):
    return lambda src, pen: outline(pen)


def glyph_table():
    """(code, glyph name, source) for every glyph the program draws."""
    table = [(145 + i, name, from_char(0x2648 + i)) for i, name in enumerate(SIGNS)]
    table += [
        (159, "sun", from_char(0x2609)),
        (161, "moon", from_char(0x263D)),
        (162, "mercury", from_char(0x263F)),
        (163, "venus", from_char(0x2640)),
        (164, "mars", from_char(0x2642)),
        (165, "jupiter", from_char(0x2643)),
        (166, "saturn", from_char(0x2644)),
        (167, "uranus", from_char(0x2645)),
        (168, "neptune", from_char(0x2646)),
        (169, "pluto", from_char(0x2647)),
        (170, "chiron", from_char(0x26B7)),
        (171, "proserpina", own(draw_proserpina)),
        (172, "north_node", from_char(0x260A)),
        (173, "south_node", from_char(0x260B)),
        (174, "selena", own(draw_selena)),
        (175, "lilith", from_char(0x26B8)),
        (176, "fortune", from_char(0x2297)),
        (177, "second_lot", own(draw_second_lot)),
        (178, "ceres", from_char(0x26B3)),
        (179, "pallas", from_char(0x26B4)),
        (180, "juno", from_char(0x26B5)),
        (181, "vesta", from_char(0x26B6)),
        (221, "asc", from_text("Asc", LETTER_SCALE)),
        (222, "dsc", from_text("Dsc", LETTER_SCALE)),
        (223, "mc", from_text("MC", LETTER_SCALE)),
        (224, "ic", from_text("IC", LETTER_SCALE)),
    ]
    table += [(224 + n, "house%d" % n, from_text(str(n), DIGIT_SCALE))
              for n in (2, 3, 5, 6, 8, 9, 11, 12)]
    return table


# --- assembly ---

class Source:
    def __init__(self, path):
        font = TTFont(path)
        self.cmap = font.getBestCmap()
        self.glyphs = font.getGlyphSet()


def centred(draw, src):
    """The glyph as a TrueType outline, centred on an advance no narrower
    than ADVANCE; returns (glyph, advance, left side bearing)."""
    recording = RecordingPen()
    draw(src, recording)
    bounds = BoundsPen(None)
    recording.replay(bounds)
    x0, _, x1, _ = bounds.bounds
    advance = max(ADVANCE, round(x1 - x0) + 200)
    dx = round((advance - (x1 - x0)) / 2 - x0)
    pen = TTGlyphPen(None)
    recording.replay(TransformPen(pen, (1, 0, 0, 1, dx, 0)))
    glyph = pen.glyph()
    glyph.recalcBounds(None)
    return glyph, advance, glyph.xMin


def notdef():
    pen = TTGlyphPen(None)
    rect(pen, 100, 0, 1100, 1500)
    rect(ReverseContourPen(pen), 200, 100, 1000, 1400)
    return pen.glyph()


def check_sources(src, table):
    """A DejaVu without one of the signs stops the build rather than leave a gap."""
    wanted = [getattr(draw, "code_point", None) for _, _, draw in table]
    missing = ["U+%04X" % c for c in wanted if c is not None and c not in src.cmap]
    if missing:
        sys.exit("the source font lacks " + ", ".join(missing))


def build(source_path):
    src = Source(source_path)
    table = glyph_table()
    check_sources(src, table)
    glyphs = {".notdef": notdef(), "space": TTGlyphPen(None).glyph()}
    metrics = {".notdef": (1200, 100), "space": (ADVANCE // 2, 0)}
    cmap = {0x20: "space"}
    for code, name, draw in table:
        glyph, advance, lsb = centred(draw, src)
        glyphs[name] = glyph
        metrics[name] = (advance, lsb)
        cmap[code] = cmap[MIRROR + code] = name
    return assemble([".notdef", "space"] + [name for _, name, _ in table],
                    glyphs, metrics, cmap)


def assemble(order, glyphs, metrics, cmap):
    fb = FontBuilder(UPEM, isTTF=True)
    fb.updateHead(created=STAMP, modified=STAMP)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyphs)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ASCENT, descent=-DESCENT)
    fb.setupNameTable({
        "copyright": "Glyphs from DejaVu Sans: Copyright (c) 2003 by Bitstream, Inc. "
                     "All Rights Reserved. Bitstream Vera is a trademark of Bitstream, Inc. "
                     "DejaVu changes are in public domain.",
        "familyName": "Kelvara",
        "styleName": "Regular",
        "uniqueFontIdentifier": "Kelvara Regular 1.000",
        "fullName": "Kelvara Regular",
        "version": "Version 1.000",
        "psName": "Kelvara-Regular",
        "licenseDescription": "Bitstream Vera Fonts licence, see the README beside this file.",
    })
    fb.setupOS2(version=4, usWeightClass=400, fsType=0, achVendID="NONE",
                fsSelection=0x40, sTypoAscender=ASCENT, sTypoDescender=-DESCENT,
                sTypoLineGap=0, usWinAscent=ASCENT, usWinDescent=DESCENT,
                ulCodePageRange1=1, usDefaultChar=0, usBreakChar=0x20)
    fb.setupPost(underlinePosition=-130, underlineThickness=90)
    return fb.font


def main(argv):
    if len(argv) not in (2, 3):
        sys.exit("usage: make_glyphfont.py OUTPUT.ttf [DejaVuSans.ttf]")
    font = build(argv[2] if len(argv) == 3 else DEJAVU)
    font.save(argv[1])


if __name__ == "__main__":
    main(sys.argv)
