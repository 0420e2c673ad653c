#!/usr/bin/python3
"""Regenerate Kelvaro's icons and cursor from the SVG artwork in res/art/.

    /usr/bin/python3 scripts/gen_icons.py            write res/icons/*.ico, res/cursors/smart.cur
    /usr/bin/python3 scripts/gen_icons.py --check    only compare with the files on disk
    /usr/bin/python3 scripts/gen_icons.py --sheet out.png   also draw a contact sheet

Artwork layout:
    res/art/parts.svg            palette (gradients, CSS classes) and shared shapes;
                                 its <defs> are merged into every picture before rendering
    res/art/icons/NAME.svg       the picture on a 32 px grid
    res/art/icons/NAME-SIZE.svg  the picture redrawn on that size's pixel grid
                                 (NAME-16.svg, NAME-24.svg, app-48.svg)
    Each size is rendered from the drawing on the smallest grid at least as
    large as that size, or from the 32 px drawing when there is none.
    res/art/cursors/NAME.svg     cursors, 32 px grid

Every size is rendered from vector art at that size, so small sizes stay crisp.
Icons are stored as classic 32-bit BGRA DIBs with an AND mask (no PNG
entries), which every Windows version and resource compiler reads. The
output depends only on the artwork and the rsvg-convert version.
"""

import argparse
import io
import shutil
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

try:
    from PIL import Image, ImageDraw
except ImportError:
    sys.exit("gen_icons: PIL is missing. Install the Debian package python3-pil "
             "(apt-get install -y python3-pil) and run this script with /usr/bin/python3.")

ROOT = Path(__file__).resolve().parent.parent
ART = ROOT / "res" / "art"
ICON_DIR = ROOT / "res" / "icons"
CURSOR_DIR = ROOT / "res" / "cursors"

# Icons are shown at 16 or 32 px on a 96 DPI screen and at 125 %, 150 % and
# 200 % of that on scaled screens; each of those sizes gets an image of its
# own, so that the system never has to stretch one.
SMALL_SIZES = (32, 24, 20, 16)
LARGE_SIZES = (64, 48, 40, 32, 24, 20, 16)

# Shown at 32 px somewhere (buttons, captions, dialog pictures).
LARGE_ICONS = {
    "app", "ready", "running", "time_up", "close", "ok", "cancel", "advanced",
    "developer", "names", "sounds", "open_files", "options", "paused",
}

# Resource order of res/Kelvaro.rc.
ICONS = [
    "app", "ready", "running", "time_up", "about", "ok", "cancel", "sounds",
    "developer", "close", "open_files", "menu", "options", "save", "play",
    "stop", "try", "advanced", "fill", "empty", "names", "shortcut", "exit",
    "reset", "rename", "paused", "pause", "repeat",
]

# name -> (sizes, hot spot x, hot spot y at 32 px); the system picks the
# image for its cursor size, which grows with the display scale.
CURSORS = {"smart": ((64, 48, 40, 32), 0, 0)}

SVG_NS = "http://www.w3.org/2000/svg"
XLINK_NS = "http://www.w3.org/1999/xlink"
ET.register_namespace("", SVG_NS)
ET.register_namespace("xlink", XLINK_NS)

# Edge pixels fainter than this are treated as fully transparent, so the AND
# mask and the alpha channel agree on what is background.
ALPHA_CUTOFF = 8


def fail(message):
    sys.exit("gen_icons: " + message)


def needTool(name, package):
    if shutil.which(name) is None:
        fail(f"'{name}' not found. Install the Debian package {package} "
             f"(apt-get install -y {package}).")


def sharedDefs():
    tree = ET.parse(ART / "parts.svg")
    defs = tree.getroot().find(f"{{{SVG_NS}}}defs")
    if defs is None:
        fail("res/art/parts.svg has no <defs>")
    return defs


def idsIn(element):
    return {e.get("id") for e in element.iter() if e.get("id")}


def mergedSvg(path, defs):
    """The picture at path with the shared <defs> put in front of its content."""
    root = ET.parse(path).getroot()
    clash = idsIn(root) & idsIn(defs)
    if clash:
        fail(f"{path.relative_to(ROOT)} redefines shared ids: {', '.join(sorted(clash))}")
    root.insert(0, defs)
    return ET.tostring(root, encoding="utf-8")


def render(path, size, defs):
    """RGBA image of the SVG at path rendered at size x size pixels."""
    result = subprocess.run(
        ["rsvg-convert", "--format=png", f"--width={size}", f"--height={size}"],
        input=mergedSvg(path, defs), capture_output=True)
    if result.returncode != 0:
        fail(f"rsvg-convert failed on {path.relative_to(ROOT)}: "
             + result.stderr.decode(errors="replace").strip())
    image = Image.open(io.BytesIO(result.stdout)).convert("RGBA")
    if image.size != (size, size):
        fail(f"{path.relative_to(ROOT)} rendered as {image.size}, expected {size}x{size}")
    return image


def sourceFor(name, size):
    """The drawing on the smallest grid at least as large as size (a
    dedicated one, or the 32 px one); the 32 px one above that."""
    grids = sorted(int(path.stem.rsplit("-", 1)[1])
                   for path in (ART / "icons").glob(f"{name}-*.svg")) + [32]
    fitting = [grid for grid in sorted(set(grids)) if grid >= size]
    grid = fitting[0] if fitting else 32
    return ART / "icons" / (f"{name}.svg" if grid == 32 else f"{name}-{grid}.svg")


def dibEntry(image):
    """BITMAPINFOHEADER + bottom-up BGRA rows + bottom-up 1-bit AND mask."""
    width, height = image.size
    rgba = image.tobytes()
    maskStride = (width + 31) // 32 * 4
    colour = bytearray()
    mask = bytearray()
    for y in range(height - 1, -1, -1):
        maskRow = bytearray(maskStride)
        for x in range(width):
            i = (y * width + x) * 4
            r, g, b, a = rgba[i:i + 4]
            if a < ALPHA_CUTOFF:
                # Black under a set mask bit leaves the screen untouched on
                # systems that draw with the masks instead of the alpha.
                r = g = b = a = 0
                maskRow[x >> 3] |= 0x80 >> (x & 7)
            colour += bytes((b, g, r, a))
        mask += maskRow
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def container(images, kind, hotSpots=None):
    """ICO (kind 1) or CUR (kind 2, one hot spot per image) file holding the
    images, largest first."""
    entries = [dibEntry(image) for image in images]
    out = bytearray(struct.pack("<HHH", 0, kind, len(entries)))
    offset = 6 + 16 * len(entries)
    for index, (image, data) in enumerate(zip(images, entries)):
        width, height = image.size
        if kind == 1:
            planes, bits = 1, 32
        else:
            planes, bits = hotSpots[index]  # a cursor keeps its hot spot here
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0,
                           planes, bits, len(data), offset)
        offset += len(data)
    for data in entries:
        out += data
    return bytes(out)


def buildAll(defs):
    """{output path: file bytes} for every icon and cursor, plus the images."""
    files = {}
    images = {}
    for name in ICONS:
        sizes = LARGE_SIZES if name in LARGE_ICONS else SMALL_SIZES
        rendered = [render(sourceFor(name, size), size, defs) for size in sizes]
        images[name] = rendered
        files[ICON_DIR / f"{name}.ico"] = container(rendered, 1)
    for name, (sizes, hotX, hotY) in CURSORS.items():
        rendered = [render(ART / "cursors" / f"{name}.svg", size, defs) for size in sizes]
        images["cursor:" + name] = rendered
        hotSpots = [(hotX * size // 32, hotY * size // 32) for size in sizes]
        files[CURSOR_DIR / f"{name}.cur"] = container(rendered, 2, hotSpots)
    return files, images


def checkFiles(files):
    stale = [path for path, data in files.items()
             if not path.exists() or path.read_bytes() != data]
    for path in stale:
        print(f"out of date: {path.relative_to(ROOT)}")
    return not stale


def writeFiles(files):
    for path, data in files.items():
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
    total = sum(len(data) for data in files.values())
    print(f"wrote {len(files)} files, {total} bytes")


def contactSheet(images, out):
    """Every picture at all its sizes on light grey, its smallest image
    magnified to 64 px, and its 32 px and smallest images on white."""
    cellWidth, cellHeight, columns = 400, 76, 2
    names = list(images)
    rows = (len(names) + columns - 1) // columns
    sheet = Image.new("RGB", (cellWidth * columns, cellHeight * rows), (255, 255, 255))
    draw = ImageDraw.Draw(sheet)
    for index, name in enumerate(names):
        left = (index % columns) * cellWidth
        top = (index // columns) * cellHeight
        pictures = images[name]
        small = pictures[-1]
        draw.rectangle([left, top, left + 310, top + cellHeight - 3], fill=(240, 240, 240))
        draw.text((left + 4, top + 2), name, fill=(0, 0, 0))
        x = left + 4
        for image in pictures:
            sheet.paste(image, (x, top + 18), image)
            x += image.size[0] + 6
        zoom = 64 // small.size[0]
        big = small.resize((small.size[0] * zoom, small.size[1] * zoom), Image.NEAREST)
        sheet.paste(big, (left + 160, top + 6), big)
        large = next(image for image in pictures if image.size[0] == 32)
        sheet.paste(large, (left + 232, top + 18), large)
        x = left + 318
        for image in (large, small):
            sheet.paste(image, (x, top + 18), image)
            x += image.size[0] + 6
    sheet.save(out)
    print(f"contact sheet: {out}")


def main():
    parser = argparse.ArgumentParser(description="Regenerate Kelvaro's icons and cursor.")
    parser.add_argument("--check", action="store_true",
                        help="compare with the files on disk instead of writing them")
    parser.add_argument("--sheet", metavar="PNG", help="also write a contact sheet")
    args = parser.parse_args()

    needTool("rsvg-convert", "librsvg2-bin")
    files, images = buildAll(sharedDefs())
    if args.check:
        if not checkFiles(files):
            sys.exit(1)
        print("icons and cursors are up to date")
    else:
        writeFiles(files)
    if args.sheet:
        contactSheet(images, args.sheet)


if __name__ == "__main__":
    main()
