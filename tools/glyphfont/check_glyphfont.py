#!/usr/bin/env python3
"""Checks a built glyph font against what the program draws with it.

    check_glyphfont.py Kelvara.ttf

The codes are listed here again, not taken from the generator, so a slip in
its table shows up as a fault.
"""

import sys

from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.recordingPen import RecordingPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont

CODES = (list(range(145, 157)) + [159] + list(range(161, 182)) + list(range(221, 225))
         + [224 + n for n in (2, 3, 5, 6, 8, 9, 11, 12)])
MIRROR = 0xF000


def outline(glyphs, name):
    """The glyph's contours moved to its own left edge, or None if empty."""
    bounds = BoundsPen(glyphs)
    glyphs[name].draw(bounds)
    if bounds.bounds is None:
        return None
    x0, y0, x1, y1 = bounds.bounds
    if x1 <= x0 or y1 <= y0:
        return None
    recording = RecordingPen()
    glyphs[name].draw(TransformPen(recording, (1, 0, 0, 1, -x0, 0)))
    return repr(recording.value)


def faults(font):
    found = []
    cmap = font.getBestCmap()
    wanted = {0x20} | set(CODES) | {MIRROR + c for c in CODES}
    if set(cmap) != wanted:
        found.append("cmap differs: missing %s, extra %s"
                     % (sorted(wanted - set(cmap)), sorted(set(cmap) - wanted)))
    if font["name"].getDebugName(1) != "Kelvara" or font["OS/2"].usWeightClass != 400:
        found.append("the family is not Kelvara Regular")
    glyphs = font.getGlyphSet()
    seen = {}
    for code in CODES:
        name = cmap.get(code)
        if name is None or cmap.get(MIRROR + code) != name:
            found.append("%d and U+%04X are not the same glyph" % (code, MIRROR + code))
            continue
        shape = outline(glyphs, name)
        if shape is None:
            found.append("%d (%s) has no outline" % (code, name))
        elif shape in seen:
            found.append("%d looks the same as %d" % (code, seen[shape]))
        else:
            seen[shape] = code
    return found


def main(argv):
    found = faults(TTFont(argv[1]))
    for fault in found:
        print(fault)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
