#!/usr/bin/python3
"""Build res/font/SegoeUI.ttf, the dialog font Kelvaro registers privately.

The dialogs ask for "Segoe UI" at 8 pt. That face is not on every system
(and never under Wine), so the program carries its own: Open Sans Regular
from Debian's fonts-open-sans package (Apache-2.0), cut down to the
Windows-1252 repertoire and renamed so the dialog templates find it.

Run with Debian's interpreter, which has python3-fonttools:
    /usr/bin/python3 scripts/gen_font.py
The output is byte-for-byte reproducible for a given base font file.
"""

import hashlib
import logging
import os
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

BASE_FONT = "/usr/share/fonts/truetype/open-sans/OpenSans-Regular.ttf"
# fonts-open-sans 1.11-2 (Debian 12); another build still works but gives
# different bytes, so say so instead of failing.
BASE_SHA256 = "e64e508b2aa2880f907e470c4550980ec4c0694d103a43f36150ac3f93189bee"

# The package's copyright file names the licence and points at the full
# text in common-licenses; LICENSE.txt carries both, as Apache-2.0 asks.
LICENSE_SOURCES = ("/usr/share/doc/fonts-open-sans/copyright",
                   "/usr/share/common-licenses/Apache-2.0")

HERE = os.path.dirname(os.path.abspath(__file__))
FONT_DIR = os.path.join(HERE, "..", "res", "font")
OUTPUT = os.path.join(FONT_DIR, "SegoeUI.ttf")
LICENSE_OUTPUT = os.path.join(FONT_DIR, "LICENSE.txt")

FAMILY = "Segoe UI"
STYLE = "Regular"
POSTSCRIPT_NAME = "SegoeUI"
UNIQUE_ID = "Kelvaro: Segoe UI Regular (Open Sans 1.10 subset)"
CHANGE_NOTE = ("Renamed subset of Open Sans made for Kelvaro "
               "(Windows-1252 characters only).")

# 2024-01-01 00:00:00 UTC in the head table's epoch (seconds since 1904),
# so repeated builds are identical.
FIXED_TIMESTAMP = 3786912000

# Line metrics of the face the dialogs were laid out with (units per em
# 2048, like the base font), so text rows get the designed height. Every
# kept glyph lies inside them, so nothing is clipped.
WIN_ASCENT = 2210
WIN_DESCENT = 514

CP1252_LATIN1_CODE_PAGE_BIT = 1 << 0
OS2_FSTYPE_INSTALLABLE = 0


def cp1252Codepoints():
    """Every character Windows-1252 can encode, as Unicode code points."""
    points = set()
    for byte in range(0x20, 0x100):
        try:
            points.add(ord(bytes([byte]).decode("cp1252")))
        except UnicodeDecodeError:
            pass  # the five bytes 1252 leaves undefined
    points.discard(0x7F)
    return sorted(points)


def subsetOptions():
    options = subset.Options()
    options.hinting = False         # the outlines are condensed below
    options.legacy_kern = True      # GDI kerns from 'kern', not from GPOS
    options.name_IDs = ["*"]        # keep copyright, trademark and licence
    options.name_legacy = True      # keep the Mac records too
    options.name_languages = ["*"]
    options.glyph_names = False     # post format 3: smaller, names unused
    options.notdef_outline = True
    options.recalc_timestamp = False
    options.recalc_average_width = True
    # The signature no longer matches, and the base font's GPOS is empty:
    # it kerns only through 'kern'.
    options.drop_tables += ["DSIG", "GPOS"]
    return options


def setName(nameTable, nameId, text):
    """Replace a name on every platform that has the name table records."""
    nameTable.setName(text, nameId, 3, 1, 0x409)
    if any(r.platformID == 1 for r in nameTable.names):
        nameTable.setName(text, nameId, 1, 0, 0)


def appendToName(nameTable, nameId, separator, text):
    for record in nameTable.names:
        if record.nameID == nameId:
            record.string = record.toUnicode() + separator + text


def renameFont(font):
    names = font["name"]
    for nameId, text in ((1, FAMILY), (2, STYLE), (3, UNIQUE_ID), (4, FAMILY),
                         (6, POSTSCRIPT_NAME), (16, FAMILY), (17, STYLE)):
        setName(names, nameId, text)
    appendToName(names, 0, " ", CHANGE_NOTE)
    appendToName(names, 5, "; ", CHANGE_NOTE)


def adjustTables(font):
    os2 = font["OS/2"]
    os2.fsType = OS2_FSTYPE_INSTALLABLE
    os2.ulCodePageRange1 = CP1252_LATIN1_CODE_PAGE_BIT
    os2.ulCodePageRange2 = 0
    os2.usWinAscent = WIN_ASCENT
    os2.usWinDescent = WIN_DESCENT
    hhea = font["hhea"]
    hhea.ascent = WIN_ASCENT
    hhea.descent = -WIN_DESCENT
    hhea.lineGap = 0
    head = font["head"]
    head.created = FIXED_TIMESTAMP
    head.modified = FIXED_TIMESTAMP


# The templates are laid out for a face narrower than the base font: at 8 pt
# its letters would run about a tenth wider than the dialog units allow.
# Condensing every outline and advance by this factor keeps the dialog base
# units where they were (the alphabet's average still rounds to 6 pixels)
# while the words fit the controls they were designed for.
CONDENSE = 0.89


def condense(font):
    def scaled(value):
        return int(round(value * CONDENSE))

    glyphs = font["glyf"]
    for name in font.getGlyphOrder():
        glyph = glyphs[name]
        if glyph.isComposite():
            for component in glyph.components:
                component.x = scaled(component.x)
        elif glyph.numberOfContours > 0:
            glyph.coordinates.scale((CONDENSE, 1.0))
            glyph.coordinates.toInt()
        glyph.recalcBounds(glyphs)
    metrics = font["hmtx"].metrics
    for name, (advance, _) in metrics.items():
        glyph = glyphs[name]
        metrics[name] = (scaled(advance), glyph.xMin if glyph.numberOfContours else 0)
    if "kern" in font:
        for table in font["kern"].kernTables:
            table.kernTable = {pair: scaled(value) for pair, value in table.kernTable.items()}
    # Device metrics were made for the old widths.
    for tag in ("hdmx", "LTSH", "VDMX"):
        if tag in font:
            del font[tag]


def checkFont(font, codepoints):
    if "glyf" not in font or "CFF " in font:
        sys.exit("gen_font: base font is not a TrueType (glyf) font")
    cmap = font.getBestCmap()
    missing = [hex(c) for c in codepoints if c not in cmap]
    if missing:
        sys.exit("gen_font: base font lacks " + ", ".join(missing))
    glyphs = font["glyf"]
    for code in codepoints:
        glyph = glyphs[cmap[code]]
        if glyph.numberOfContours and (glyph.yMax > WIN_ASCENT or
                                       -glyph.yMin > WIN_DESCENT):
            sys.exit("gen_font: U+%04X would be clipped" % code)


def fileSha256(path):
    with open(path, "rb") as stream:
        return hashlib.sha256(stream.read()).hexdigest()


def writeLicense():
    parts = []
    for path in LICENSE_SOURCES:
        with open(path, encoding="utf-8") as stream:
            parts.append("==> %s <==\n\n%s" % (path, stream.read()))
    with open(LICENSE_OUTPUT, "w", encoding="utf-8", newline="\n") as stream:
        stream.write("\n".join(parts))


def main():
    # The base font's full 'kern' subtable overflows its 16-bit length
    # field; fontTools reads it correctly but complains. The subset is small.
    logging.getLogger("fontTools.ttLib.tables._k_e_r_n").setLevel(logging.ERROR)
    if fileSha256(BASE_FONT) != BASE_SHA256:
        print("gen_font: warning: %s is not the expected build; the output "
              "will differ from the committed file" % BASE_FONT)
    codepoints = cp1252Codepoints()
    font = TTFont(BASE_FONT, recalcTimestamp=False)
    subsetter = subset.Subsetter(options=subsetOptions())
    subsetter.populate(unicodes=codepoints)
    subsetter.subset(font)
    checkFont(font, codepoints)
    condense(font)
    renameFont(font)
    adjustTables(font)
    os.makedirs(FONT_DIR, exist_ok=True)
    font.save(OUTPUT, reorderTables=True)
    writeLicense()
    print("gen_font: wrote %s (%d glyphs, %d bytes)" % (
        os.path.normpath(OUTPUT), len(font.getGlyphOrder()),
        os.path.getsize(OUTPUT)))


if __name__ == "__main__":
    main()
