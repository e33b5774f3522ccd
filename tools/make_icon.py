#!/usr/bin/python3
"""Draws Vintrel's program icon and writes it as a Windows .ico file.

The artwork is a three-wire measurement: a short length of threaded rod seen
from the side, with one wire in the top groove and two in the bottom grooves.
It is drawn at 256, 48, 32 and 16 px and stored at 4, 8 and 32 bits per pixel
(PNG at 256 px, DIB otherwise), twelve images in all. The output depends only
on this file, so every run writes the same bytes.

Usage: make_icon.py OUTPUT.ico [--preview DIR]
  --preview DIR  also write PNG previews of every image (enlarged) to DIR.
"""

import argparse
import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------- colours
# The ground: near-black, so the square reads as solid on a light desktop too.
GROUND = (10, 10, 10)
# The ink of the line drawing: a saturated magenta.
INK = (255, 18, 255)

# ---------------------------------------------------------------- artwork
# The drawing is laid out on a 16 x 16 design grid (one unit is one pixel at
# 16 px; y runs down). Every size is an exact multiple of 16, so a line
# placed on the grid lands on the same pixel phase at 32, 48 and 256 px.
DESIGN_GRID = 16.0
# Thread pitch in design units: room for three crests across the rod.
PITCH = 6.0
# Heights of the rod's top crests and roots, and of its bottom crests and
# roots: a thread two units deep on a rod seven units across still reads as
# a rod, and leaves room above and below for the wires.
TOP_CREST_Y, TOP_ROOT_Y = 4.5, 6.5
BOTTOM_CREST_Y, BOTTOM_ROOT_Y = 11.5, 9.5
# A top crest half a pitch left of the centre line, so the top groove (and
# the single wire) is on the centre line; the bottom profile is half a pitch
# out of phase, as on a real single-start screw, so its grooves flank the
# centre and take the other two wires.
FIRST_TOP_CREST_X = 5.0
FIRST_BOTTOM_CREST_X = 2.0
# Radius of the wires' circles (of their centre lines).
WIRE_RADIUS = 1.7

# Brightness of each part of the drawing as a fraction of the full ink: the
# wires are the subject and take the full ink; the rod's outline is a step
# down and the crest lines across it two steps, so the wires stay distinct
# where they sit in the grooves.
WIRE_TONE = 1.0
OUTLINE_TONE = 0.7
CREST_TONE = 0.45

# Stroke width in pixels at each size drawn from the geometry: one design
# unit is 2 px at 32, so 2 px strokes fall on whole pixels there.
STROKE_WIDTH = {256: 10.0, 48: 2.5, 32: 2.0}

# At 16 px a scaled drawing blurs into a blot, so that size is drawn pixel by
# pixel: the same rod, crest lines and wires, on the same grid. W wire,
# o outline, c crest line, . ground.
HAND_DRAWN_16 = (
    '................',
    '.......WW.......',
    '......W..W......',
    '......W..W......',
    '....oo.WW.oo....',
    'o..o.co..o.co..o',
    '.oo..c.oo..c.oo.',
    'c.....c.....c...',
    'c.....c.....c...',
    '.c..oo.c..oo.c..',
    'oc.o..oc.o..oc.o',
    '.oo.WW.oo.WW.oo.',
    '...W..W..W..W...',
    '...W..W..W..W...',
    '....WW....WW....',
    '................',
)
HAND_DRAWN_TONES = {'.': 0.0, 'W': WIRE_TONE, 'o': OUTLINE_TONE, 'c': CREST_TONE}


def thread_outline(crest_y, root_y, first_crest_x):
    """Zigzag profile of one side of the rod as a list of points, crest and
    root in turn, running out past both sides of the picture."""
    points = []
    for k in range(-2, 4):
        crest_x = first_crest_x + k * PITCH
        points.append((crest_x, crest_y))
        points.append((crest_x + PITCH / 2, root_y))
    return points


def wire_centres(stroke):
    """Centres of the three wires for strokes `stroke` design units wide: one
    in the top groove on the centre line, two in the bottom grooves beside
    it, each circle resting on both flanks of its groove. The centre lies on
    the groove's axis at the height where its distance to either flank is
    the radius plus one stroke (half of the circle's, half of the flank's)."""
    half_pitch = PITCH / 2
    depth = TOP_ROOT_Y - TOP_CREST_Y
    lift = (WIRE_RADIUS + stroke) * math.hypot(half_pitch, depth) / half_pitch
    top_groove_x = FIRST_TOP_CREST_X + half_pitch
    bottom_groove_x = FIRST_BOTTOM_CREST_X + half_pitch
    return ((top_groove_x, TOP_ROOT_Y - lift),
            (bottom_groove_x, BOTTOM_ROOT_Y + lift),
            (bottom_groove_x + PITCH, BOTTOM_ROOT_Y + lift))


def drawing(stroke):
    """The drawing in design units for strokes `stroke` units wide: a list of
    (tone, kind, parameters), kind 'seg' for a straight stroke (ax, ay, bx,
    by) and 'ring' for a circle (cx, cy, r)."""
    parts = []
    for outline in (thread_outline(TOP_CREST_Y, TOP_ROOT_Y, FIRST_TOP_CREST_X),
                    thread_outline(BOTTOM_CREST_Y, BOTTOM_ROOT_Y, FIRST_BOTTOM_CREST_X)):
        for (ax, ay), (bx, by) in zip(outline, outline[1:]):
            parts.append((OUTLINE_TONE, 'seg', (ax, ay, bx, by)))
    # The crests seen across the rod: each top crest runs to the bottom crest
    # half a pitch further on, which is how the helix looks from the side.
    for k in (-1, 0, 1):
        x = FIRST_TOP_CREST_X + k * PITCH
        parts.append((CREST_TONE, 'seg', (x, TOP_CREST_Y, x + PITCH / 2, BOTTOM_CREST_Y)))
    for cx, cy in wire_centres(stroke):
        parts.append((WIRE_TONE, 'ring', (cx, cy, WIRE_RADIUS)))
    return parts


# ---------------------------------------------------------------- rendering
def segment_distance(px, py, ax, ay, bx, by):
    """Distance from point p to the segment a-b."""
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = min(1.0, max(0.0, t))
    ex, ey = px - (ax + t * dx), py - (ay + t * dy)
    return math.sqrt(ex * ex + ey * ey)


def ink_map(size):
    """Ink (0 to 1) of every pixel, row by row from the top. Each stroke's
    coverage comes from the distance of the pixel centre to its centre line,
    with a one-pixel ramp across the edge for anti-aliasing; where strokes
    meet, the brighter one wins."""
    if size == len(HAND_DRAWN_16):
        return [HAND_DRAWN_TONES[ch] for row in HAND_DRAWN_16 for ch in row]
    scale = size / DESIGN_GRID
    half = STROKE_WIDTH[size] / 2
    reach = half + 1.0
    ink = [0.0] * (size * size)
    for tone, kind, params in drawing(STROKE_WIDTH[size] / scale):
        p = tuple(v * scale for v in params)
        if kind == 'seg':
            ax, ay, bx, by = p
            x0, x1, y0, y1 = min(ax, bx), max(ax, bx), min(ay, by), max(ay, by)
        else:
            cx, cy, r = p
            x0, x1, y0, y1 = cx - r, cx + r, cy - r, cy + r
        for y in range(max(0, int(math.floor(y0 - reach))), min(size, int(math.ceil(y1 + reach)))):
            py = y + 0.5
            for x in range(max(0, int(math.floor(x0 - reach))), min(size, int(math.ceil(x1 + reach)))):
                px = x + 0.5
                if kind == 'seg':
                    d = segment_distance(px, py, *p)
                else:
                    d = abs(math.hypot(px - cx, py - cy) - r)
                c = tone * min(1.0, max(0.0, half + 0.5 - d))
                if c > ink[y * size + x]:
                    ink[y * size + x] = c
    return ink


def srgb_to_linear(c):
    """One 8-bit sRGB channel as linear light in 0..1."""
    v = c / 255.0
    return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4


def linear_to_srgb(v):
    """Linear light in 0..1 as an 8-bit sRGB channel."""
    s = v * 12.92 if v <= 0.0031308 else 1.055 * v ** (1 / 2.4) - 0.055
    return int(round(s * 255.0))


def ink_blend(ink):
    """Colour of a pixel that is the given fraction ink over the ground; the
    mix is made in linear light so that thin lines keep their brightness."""
    return tuple(linear_to_srgb(srgb_to_linear(g) + ink * (srgb_to_linear(i) - srgb_to_linear(g)))
                 for g, i in zip(GROUND, INK))


def graded_palette(entries):
    """A palette of graded magentas: entry 0 is the ground, the last is the
    full ink, and those between are even steps of ink."""
    return [ink_blend(k / (entries - 1)) for k in range(entries)]


def nearest_level(ink, entries):
    """Index of the palette entry of `entries` graded steps nearest to ink."""
    return int(math.floor(ink * (entries - 1) + 0.5))


# ---------------------------------------------------------------- encoders
# The eight bytes that open every PNG stream.
PNG_SIGNATURE = b'\x89PNG\r\n\x1a\n'
# Deflate effort: the highest, since the streams are made once per build.
ZLIB_LEVEL = 9
# Size of a BITMAPINFOHEADER, the header of every DIB image.
BITMAPINFOHEADER_SIZE = 40
# DIB compression: uncompressed rows.
BI_RGB = 0
# Alpha of every pixel: the icon is an opaque square.
OPAQUE = 255


def png_chunk(kind, data):
    """One PNG chunk: length, type, data and the CRC over type and data."""
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))


def png_bytes(width, height, pixels):
    """A PNG of RGB pixels stored as RGBA, all opaque: IHDR, one IDAT and IEND
    only. Every line uses filter 0 (None): on flat line art over a plain
    ground deflate's own repeat matching beats the prediction filters, which
    made these streams a quarter to a half larger when tried."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for r, g, b in pixels[y * width:(y + 1) * width]:
            raw += bytes((r, g, b, OPAQUE))
    # IHDR: width, height, bit depth 8, colour type 6 (RGBA), deflate,
    # standard filtering, no interlace.
    ihdr = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    return (PNG_SIGNATURE + png_chunk(b'IHDR', ihdr)
            + png_chunk(b'IDAT', zlib.compress(bytes(raw), ZLIB_LEVEL))
            + png_chunk(b'IEND', b''))


def dib_bytes(size, bits, pixels, palette):
    """An icon image in DIB form: BITMAPINFOHEADER (height doubled: colour
    image, then mask), the palette as blue, green, red, 0, the colour rows
    bottom row first, then the AND mask with every bit clear (opaque). Rows
    of both are filled up to whole 32-bit words. `pixels` are palette
    indices at 4 and 8 bits, RGB triples at 32."""
    header = struct.pack('<IiiHHIIiiII', BITMAPINFOHEADER_SIZE, size, 2 * size, 1, bits,
                         BI_RGB, 0, 0, 0, 0, 0)
    colours = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    stride = (size * bits + 31) // 32 * 4
    rows = bytearray()
    for y in reversed(range(size)):
        line = pixels[y * size:(y + 1) * size]
        if bits == 4:
            row = bytes((line[x] << 4) | line[x + 1] for x in range(0, size, 2))
        elif bits == 8:
            row = bytes(line)
        else:
            row = b''.join(bytes((b, g, r, OPAQUE)) for r, g, b in line)
        rows += row + bytes(stride - len(row))
    mask_stride = (size + 31) // 32 * 4
    return header + colours + bytes(rows) + bytes(mask_stride * size)


# ---------------------------------------------------------------- the icon
# The group's order: the four sizes at 4 bits, then at 8, then at 32.
SIZES = (256, 48, 32, 16)
DEPTHS = (4, 8, 32)
# Sizes stored as PNG rather than DIB.
PNG_SIZES = (256,)


def icon_images():
    """The twelve images in the group's order, each as
    (size, bits, colour count byte, encoded bytes, RGB pixels)."""
    ink_at = {size: ink_map(size) for size in SIZES}
    images = []
    for bits in DEPTHS:
        if bits <= 8:
            # Palette images: every pixel takes the nearest graded step.
            entries = 1 << bits
            palette = graded_palette(entries)
            indices = {size: [nearest_level(v, entries) for v in ink_at[size]] for size in SIZES}
            rgb_at = {size: [palette[i] for i in indices[size]] for size in SIZES}
        else:
            palette = []
            indices = rgb_at = {size: [ink_blend(v) for v in ink_at[size]] for size in SIZES}
        # The group's colour count byte: the palette's size below 8 bits, else 0.
        colour_count = len(palette) if bits < 8 else 0
        for size in SIZES:
            if size in PNG_SIZES:
                data = png_bytes(size, size, rgb_at[size])
            else:
                data = dib_bytes(size, bits, indices[size], palette)
            images.append((size, bits, colour_count, data, rgb_at[size]))
    return images


def ico_bytes(images):
    """The .ico file: ICONDIR, one 16-byte ICONDIRENTRY per image, then the
    image data in the same order."""
    head = struct.pack('<HHH', 0, 1, len(images))
    offset = len(head) + 16 * len(images)
    entries = bytearray()
    body = bytearray()
    for size, bits, colour_count, data, _ in images:
        side = size if size < 256 else 0  # a byte; 0 stands for 256
        entries += struct.pack('<BBBBHHII', side, side, colour_count, 0, 1, bits, len(data), offset)
        body += data
        offset += len(data)
    return head + bytes(entries) + bytes(body)


def write_previews(images, directory):
    """PNG previews for review: each image enlarged to about 256 px with square
    pixels, and a sheet of every image at its own size on a light and on a
    dark backdrop."""
    os.makedirs(directory, exist_ok=True)
    for size, bits, _, _, rgb in images:
        zoom = max(1, 256 // size)
        side = size * zoom
        big = [rgb[(y // zoom) * size + x // zoom] for y in range(side) for x in range(side)]
        with open(os.path.join(directory, 'icon-%d-%dbit.png' % (size, bits)), 'wb') as f:
            f.write(png_bytes(side, side, big))
    margin = 8
    width = margin + sum(s + margin for s in SIZES)
    height = len(DEPTHS) * (256 + margin) + margin
    for backdrop_name, backdrop in (('light', (235, 235, 235)), ('dark', (40, 60, 90))):
        sheet = [backdrop] * (width * height)
        y = margin
        for bits in DEPTHS:
            x = margin
            for size, b, _, _, rgb in images:
                if b != bits:
                    continue
                for row in range(size):
                    start = (y + row) * width + x
                    sheet[start:start + size] = rgb[row * size:(row + 1) * size]
                x += size + margin
            y += 256 + margin
        with open(os.path.join(directory, 'sheet-%s.png' % backdrop_name), 'wb') as f:
            f.write(png_bytes(width, height, sheet))


def main(argv):
    parser = argparse.ArgumentParser(description='Draws the Vintrel program icon.')
    parser.add_argument('output', help='the .ico file to write')
    parser.add_argument('--preview', metavar='DIR', help='also write PNG previews to DIR')
    args = parser.parse_args(argv)
    images = icon_images()
    data = ico_bytes(images)
    # Write beside the target, then rename, so an interrupted run leaves no
    # half-written icon for the resource compiler.
    temp = args.output + '.part'
    with open(temp, 'wb') as f:
        f.write(data)
    os.replace(temp, args.output)
    if args.preview:
        write_previews(images, args.preview)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
