#!/usr/bin/env python3
"""Draws the program's pictures and writes them into this folder.

    background.bmp   441 x 361, 24-bit uncompressed BMP: the skin behind both windows
    app.ico          the application icon, six images:
                       16, 32, 48 px in 16 colours (4 bpp, standard VGA palette, AND mask)
                       16, 32 px in true colour (32 bpp with alpha)
                       48 px in 256 colours (8 bpp)
    icons/hicolor/<n>x<n>/apps/orvu-icons.png   the same icon for desktop menus
    about.jpg        100 x 130 progressive JPEG, the picture of the about window

Needs only Python 3 and, for the JPEG, libjpeg's `cjpeg` (or ImageMagick's
`convert` when `cjpeg` is missing). Everything is drawn from code below, so a
run gives the same files again; the outputs are committed, so a build never
runs this script.

    python3 resources/make-assets.py            # rewrite every file
    python3 resources/make-assets.py --out DIR  # write into DIR instead
"""

import argparse
import math
import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = pathlib.Path(__file__).resolve().parent

# --------------------------------------------------------------------------
# Small drawing kit: an RGBA canvas with float channels in 0..1 (straight
# alpha), shapes that answer "is this point inside", and paints that give the
# colour at a point. Edges are smoothed by sampling each pixel on a grid.
# --------------------------------------------------------------------------


def rgb(r, g, b, a=1.0):
    return (r / 255.0, g / 255.0, b / 255.0, a)


def mix(first, second, t):
    t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
    return tuple(first[i] + (second[i] - first[i]) * t for i in range(4))


class Canvas:
    def __init__(self, width, height, fill=(0.0, 0.0, 0.0, 0.0)):
        self.width = width
        self.height = height
        self.px = [list(fill) for _ in range(width * height)]

    def blend(self, x, y, colour, coverage=1.0):
        sa = colour[3] * coverage
        if sa <= 0.0:
            return
        d = self.px[y * self.width + x]
        da = d[3]
        oa = sa + da * (1.0 - sa)
        if oa <= 0.0:
            return
        for i in range(3):
            d[i] = (colour[i] * sa + d[i] * da * (1.0 - sa)) / oa
        d[3] = oa

    def fill(self, shape, paint, samples=4, hard=False):
        """Paints `shape`, anti-aliased; with hard=True a pixel is painted
        fully when at least half of it is covered, and not at all otherwise."""
        x0, y0, x1, y1 = shape.bounds()
        x0 = max(0, int(math.floor(x0)))
        y0 = max(0, int(math.floor(y0)))
        x1 = min(self.width, int(math.ceil(x1)))
        y1 = min(self.height, int(math.ceil(y1)))
        offsets = [(i + 0.5) / samples for i in range(samples)]
        total = samples * samples
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = 0
                for oy in offsets:
                    for ox in offsets:
                        if shape.contains(x + ox, y + oy):
                            hits += 1
                if hard:
                    hits = total if 2 * hits >= total else 0
                if hits:
                    self.blend(x, y, paint(x + 0.5, y + 0.5), hits / total)

    def rgba8(self, x, y):
        p = self.px[y * self.width + x]
        return tuple(max(0, min(255, int(round(c * 255.0)))) for c in p)


class Rect:
    """Axis-aligned rectangle [x0, x1) x [y0, y1), optionally with round corners."""

    def __init__(self, x0, y0, x1, y1, radius=0.0):
        self.x0, self.y0, self.x1, self.y1, self.r = x0, y0, x1, y1, radius

    def bounds(self):
        return self.x0, self.y0, self.x1, self.y1

    def contains(self, x, y):
        if not (self.x0 <= x < self.x1 and self.y0 <= y < self.y1):
            return False
        r = self.r
        if r <= 0.0:
            return True
        cx = min(max(x, self.x0 + r), self.x1 - r)
        cy = min(max(y, self.y0 + r), self.y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


class Ellipse:
    def __init__(self, cx, cy, rx, ry=None):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, rx if ry is None else ry

    def bounds(self):
        return self.cx - self.rx, self.cy - self.ry, self.cx + self.rx, self.cy + self.ry

    def contains(self, x, y):
        return ((x - self.cx) / self.rx) ** 2 + ((y - self.cy) / self.ry) ** 2 <= 1.0


class Polygon:
    def __init__(self, points):
        self.pts = points

    def bounds(self):
        xs = [p[0] for p in self.pts]
        ys = [p[1] for p in self.pts]
        return min(xs), min(ys), max(xs), max(ys)

    def contains(self, x, y):
        inside = False
        n = len(self.pts)
        for i in range(n):
            xa, ya = self.pts[i]
            xb, yb = self.pts[(i + 1) % n]
            if (ya > y) != (yb > y):
                if x < xa + (y - ya) * (xb - xa) / (yb - ya):
                    inside = not inside
        return inside


class Clip:
    """The part of `shape` that lies inside `window`."""

    def __init__(self, shape, window):
        self.shape, self.window = shape, window

    def bounds(self):
        a, b = self.shape.bounds(), self.window.bounds()
        return max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3])

    def contains(self, x, y):
        return self.window.contains(x, y) and self.shape.contains(x, y)


def rotated_square(cx, cy, half, degrees):
    a = math.radians(degrees)
    ca, sa = math.cos(a), math.sin(a)
    pts = []
    for dx, dy in ((-half, -half), (half, -half), (half, half), (-half, half)):
        pts.append((cx + dx * ca - dy * sa, cy + dx * sa + dy * ca))
    return Polygon(pts)


def solid(colour):
    return lambda x, y: colour


def vgrad(y0, top, y1, bottom):
    return lambda x, y: mix(top, bottom, (y - y0) / (y1 - y0) if y1 != y0 else 0.0)


def dgrad(x0, y0, start, x1, y1, end):
    """Linear gradient along the line from (x0, y0) to (x1, y1)."""
    dx, dy = x1 - x0, y1 - y0
    n = dx * dx + dy * dy
    return lambda x, y: mix(start, end, ((x - x0) * dx + (y - y0) * dy) / n)


# Bayer 4 x 4 threshold matrix, used to break up banding in long, slow gradients.
BAYER4 = ((0, 8, 2, 10), (12, 4, 14, 6), (3, 11, 1, 9), (15, 7, 13, 5))


def dither_byte(value, x, y):
    """value in 0..255 as a float; ordered rounding to an integer byte."""
    threshold = (BAYER4[y & 3][x & 3] + 0.5) / 16.0
    base = math.floor(value)
    out = base + (1 if value - base > threshold else 0)
    return max(0, min(255, int(out)))


# --------------------------------------------------------------------------
# File writers.
# --------------------------------------------------------------------------


def write_bmp24(path, width, height, pixel):
    """24-bit BI_RGB bitmap, BITMAPINFOHEADER, rows stored bottom-up.
    pixel(x, y) -> (r, g, b) bytes, y = 0 at the top."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - width * 3)
        rows.append(bytes(row))
    image = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(image), 0, 0, 14 + len(info))
    path.write_bytes(header + info + image)


def png_bytes(width, height, rgba):
    """rgba(x, y) -> (r, g, b, a) bytes. 8-bit RGBA PNG, no filtering."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw += bytes(rgba(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def and_mask(size, transparent):
    """1-bpp AND mask, bottom-up, rows padded to 32 bits; 1 = transparent."""
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(stride)
        for x in range(size):
            if transparent(x, y):
                row[x >> 3] |= 0x80 >> (x & 7)
        out += row
    return bytes(out)


def dib_header(size, bpp, colours_used, image_bytes):
    # An icon's DIB header states twice the height: XOR bitmap plus AND mask.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, image_bytes, 0, 0, colours_used, 0)


def ico_entry_indexed(size, bpp, palette, index):
    """palette: list of (r, g, b); index(x, y) -> palette index or None (transparent)."""
    pixels_per_byte = 8 // bpp
    stride = ((size * bpp + 31) // 32) * 4
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(stride)
        for x in range(size):
            i = index(x, y)
            i = 0 if i is None else i
            shift = (pixels_per_byte - 1 - x % pixels_per_byte) * bpp
            row[x // pixels_per_byte] |= i << shift
        xor += row
    mask = and_mask(size, lambda x, y: index(x, y) is None)
    colours = 1 << bpp
    pal = bytearray()
    for r, g, b in palette + [(0, 0, 0)] * (colours - len(palette)):
        pal += bytes((b, g, r, 0))
    data = dib_header(size, bpp, colours, len(xor) + len(mask)) + bytes(pal) + bytes(xor) + mask
    return size, bpp, (colours if bpp < 8 else 0), data


def ico_entry_rgba(size, rgba):
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b, a = rgba(x, y)
            xor += bytes((b, g, r, a))
    mask = and_mask(size, lambda x, y: rgba(x, y)[3] == 0)
    data = dib_header(size, 32, 0, len(xor) + len(mask)) + bytes(xor) + mask
    return size, 32, 0, data


def write_ico(path, entries):
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    blobs = []
    for size, bpp, colour_count, data in entries:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count % 256, 0, 1, bpp,
                           len(data), offset)
        offset += len(data)
        blobs.append(data)
    path.write_bytes(out + b"".join(blobs))


# --------------------------------------------------------------------------
# background.bmp: the window skin.
#
# Both windows draw it unscaled at their top-left; the main window is
# 425 x 362, the about window 338 x 194, so the skin is built from horizontal
# bands that look right at either width:
#   rows   0..36   indigo title zone, with a soft gloss over rows 9..20; the
#                  title band outline (8, 8, 409 x 25), white title text at
#                  (16, 16) and the title buttons sit here
#   row   37       thin light rule, row 38 a dark one
#   rows  39..338  light periwinkle body with faint diagonal hatching; the main
#                  window covers most of it with its source panel and icon list,
#                  the about window shows black text on it
#   row  339       light rule, then rows 340..360 a deep status zone for the
#                  white status line at (24, 344)
# --------------------------------------------------------------------------

BG_WIDTH, BG_HEIGHT = 441, 361
TITLE_END, BODY_START, STATUS_START = 37, 39, 339


def background_pixel(x, y):
    if y < TITLE_END:
        c = mix(rgb(44, 48, 128), rgb(80, 88, 190), y / (TITLE_END - 1))
        if 9 <= y <= 20:  # gloss on the upper half of the title band
            t = 1.0 - (y - 9) / 12.0
            c = mix(c, rgb(255, 255, 255), 0.10 * t + 0.04)
        elif y == 8 or y == 33:
            c = mix(c, rgb(24, 26, 80), 0.35)
    elif y == TITLE_END:
        c = rgb(168, 178, 244)
    elif y == TITLE_END + 1:
        c = rgb(58, 64, 150)
    elif y < STATUS_START:
        t = (y - BODY_START) / (STATUS_START - 1 - BODY_START)
        c = mix(rgb(200, 208, 246), rgb(172, 182, 234), t)
        if (x + y) % 6 == 0:  # hatching, barely there
            c = mix(c, rgb(255, 255, 255), 0.10)
    elif y == STATUS_START:
        c = rgb(58, 64, 150)
    else:
        c = mix(rgb(84, 92, 196), rgb(40, 44, 120), (y - STATUS_START - 1) / (BG_HEIGHT - STATUS_START - 2))
        if y == STATUS_START + 1:
            c = mix(c, rgb(255, 255, 255), 0.25)
    return tuple(dither_byte(c[i] * 255.0, x, y) for i in range(3))


# --------------------------------------------------------------------------
# The application icon: a program window holding a grid of icon tiles, and one
# picture tile pulled out of it, larger, over its lower-right corner.
# Every shape carries a true-colour paint and a colour of the 16-colour VGA
# palette for the 4-bpp images, which are drawn with hard edges.
# --------------------------------------------------------------------------

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)


class Part:
    def __init__(self, shape, paint, vga, soft_only=False):
        self.shape, self.paint, self.vga, self.soft_only = shape, paint, vga, soft_only


def icon_layout(size):
    """Integer pixel layout for one icon size: 16 and 32 are drawn by hand,
    larger sizes scale the 32-pixel layout."""
    if size == 16:
        return dict(win=(0, 1, 12, 13), bar=2, radius=1.0,
                    tiles=[(2, 5, 5, 8, 'red'), (6, 5, 9, 8, 'blue'), (2, 9, 5, 12, 'green')],
                    pic=(6, 6, 16, 16), pic_border=0, sun=(13.0, 9.0, 1.1),
                    hills=[(8.5, 17.0, 6.0, 4.6), (16.0, 17.5, 5.0, 5.5)], shadow=1, bar_mark=None)
    k = size / 32.0

    def s(v):
        return int(round(v * k))

    def hill(cx, cy, top, rx=None):
        # an ellipse whose crest lies on a pixel edge, so hard-edged copies stay smooth
        ry = cy - top
        return cx, cy, (4.0 / 3.0) * ry if rx is None else rx, ry

    return dict(win=(s(1), s(2), s(25), s(26)), bar=s(7), radius=2.0 * k,
                tiles=[(s(4), s(10), s(10), s(16), 'red'), (s(12), s(10), s(18), s(16), 'blue'),
                       (s(4), s(18), s(10), s(24), 'green')],
                pic=(s(14), s(14), s(31), s(31)), pic_border=s(2), sun=(s(24.75), s(19.75), 2.1 * k),
                hills=[hill(19.0 * k, 31.0 * k, s(25)), hill(29.0 * k, 32.0 * k, s(24.5), 7.0 * k)],
                shadow=max(1, s(1)), bar_mark=(s(4), s(4), s(12), s(5)))


TILE_COLOURS = {
    'red': (rgb(255, 128, 104), rgb(208, 48, 40), RED),
    'blue': (rgb(96, 196, 255), rgb(24, 110, 214), TEAL),
    'green': (rgb(132, 224, 96), rgb(40, 150, 60), LIME),
}


def icon_parts(size):
    L = icon_layout(size)
    parts = []
    wx0, wy0, wx1, wy1 = L['win']
    r = L['radius']
    one = max(1, size // 32)  # outline width
    shadow = L['shadow']
    # soft drop shadow behind the window
    parts.append(Part(Rect(wx0 + shadow, wy0 + shadow, wx1 + shadow, wy1 + shadow, r),
                      solid(rgb(10, 14, 50, 0.28)), None, soft_only=True))
    # window: dark outline, blue title bar, light client area
    parts.append(Part(Rect(wx0, wy0, wx1, wy1, r), solid(rgb(28, 36, 96)), NAVY))
    bar_bottom = wy0 + one + L['bar']
    parts.append(Part(Rect(wx0 + one, wy0 + one, wx1 - one, bar_bottom, max(0.0, r - one)),
                      vgrad(wy0, rgb(110, 150, 255), bar_bottom, rgb(44, 82, 214)), BLUE))
    parts.append(Part(Rect(wx0 + one, bar_bottom, wx1 - one, wy1 - one, max(0.0, r - one)),
                      vgrad(bar_bottom, rgb(255, 255, 255), wy1, rgb(226, 232, 250)), WHITE))
    # square off the client area's upper corners, where it meets the title bar
    parts.append(Part(Rect(wx0 + one, bar_bottom, wx1 - one, bar_bottom + max(1.0, r - one)),
                      vgrad(bar_bottom, rgb(255, 255, 255), wy1, rgb(226, 232, 250)), WHITE))
    if L['bar_mark']:
        mx0, my0, mx1, my1 = L['bar_mark']
        parts.append(Part(Rect(wx0 + mx0, wy0 + my0, wx0 + mx1, wy0 + my1), solid(rgb(214, 226, 255)), WHITE))
    # the grid of icon tiles
    for tx0, ty0, tx1, ty1, name in L['tiles']:
        light, dark, vga = TILE_COLOURS[name]
        parts.append(Part(Rect(tx0, ty0, tx1, ty1, 0.6 * r),
                          dgrad(tx0, ty0, light, tx1, ty1, dark), vga))
    # the pulled-out picture: shadow, dark outline, white mat, sky, sun, hills
    px0, py0, px1, py1 = L['pic']
    parts.append(Part(Rect(px0 - shadow, py0 - shadow, px1 + shadow, py1 + shadow, r + shadow),
                      solid(rgb(10, 14, 50, 0.30)), None, soft_only=True))
    parts.append(Part(Rect(px0, py0, px1, py1, r * 0.75), solid(rgb(36, 36, 60)), BLACK))
    b = L['pic_border']
    if b:
        parts.append(Part(Rect(px0 + one, py0 + one, px1 - one, py1 - one), solid(rgb(255, 255, 255)), WHITE))
    inner = Rect(px0 + one + b, py0 + one + b, px1 - one - b, py1 - one - b)
    parts.append(Part(inner, vgrad(inner.y0, rgb(70, 140, 250), inner.y1, rgb(190, 226, 255)), AQUA))
    sx, sy, sr = L['sun']
    parts.append(Part(Clip(Ellipse(sx, sy, sr), inner), solid(rgb(255, 214, 64)), YELLOW))
    for i, (hx, hy, hrx, hry) in enumerate(L['hills']):
        paint = vgrad(hy - hry, rgb(120, 210, 90) if i == 0 else rgb(70, 170, 70),
                      hy, rgb(30, 120, 50))
        parts.append(Part(Clip(Ellipse(hx, hy, hrx, hry), inner), paint, GREEN if i else LIME))
    return parts


def render_icon(size, mode):
    """mode 'soft': anti-aliased RGBA; 'hard': true colour, hard edges, no
    shadows (for the 256-colour image); 'vga': hard edges, VGA indices."""
    canvas = Canvas(size, size)
    for part in icon_parts(size):
        if part.soft_only and mode != 'soft':
            continue
        if mode == 'vga':
            colour = rgb(*VGA[part.vga])
            canvas.fill(part.shape, solid(colour), hard=True)
        else:
            canvas.fill(part.shape, part.paint, hard=(mode != 'soft'))
    return canvas


def median_cut(colours, limit):
    """Reduces a list of distinct (r, g, b) to at most `limit` colours and
    returns (palette, mapping)."""
    boxes = [list(colours)]
    while len(boxes) < limit:
        boxes.sort(key=lambda bx: max(max(c[i] for c in bx) - min(c[i] for c in bx) for i in range(3)))
        widest = boxes.pop()
        if len(widest) < 2:
            boxes.append(widest)
            break
        axis = max(range(3), key=lambda i: max(c[i] for c in widest) - min(c[i] for c in widest))
        widest.sort(key=lambda c: c[axis])
        half = len(widest) // 2
        boxes += [widest[:half], widest[half:]]
    palette, mapping = [], {}
    for bx in boxes:
        avg = tuple(int(round(sum(c[i] for c in bx) / len(bx))) for i in range(3))
        for c in bx:
            mapping[c] = len(palette)
        palette.append(avg)
    return palette, mapping


def icon_entry_16_colours(size):
    canvas = render_icon(size, 'vga')
    lookup = {VGA[i]: i for i in range(16)}

    def index(x, y):
        r, g, b, a = canvas.rgba8(x, y)
        return None if a < 128 else lookup[(r, g, b)]

    return ico_entry_indexed(size, 4, VGA, index)


def icon_entry_256_colours(size):
    canvas = render_icon(size, 'hard')
    used = sorted({canvas.rgba8(x, y)[:3] for y in range(size) for x in range(size)
                   if canvas.rgba8(x, y)[3] >= 128})
    if len(used) <= 255:
        palette, mapping = used, {c: i for i, c in enumerate(used)}
    else:
        palette, mapping = median_cut(used, 255)
    palette = [(0, 0, 0)] + palette  # index 0: black behind the transparent pixels

    def index(x, y):
        p = canvas.rgba8(x, y)
        return None if p[3] < 128 else mapping[p[:3]] + 1

    return ico_entry_indexed(size, 8, palette, index)


def icon_entry_true_colour(size):
    canvas = render_icon(size, 'soft')
    return ico_entry_rgba(size, canvas.rgba8)


# --------------------------------------------------------------------------
# about.jpg: dusk over a field of icon tiles, with a few tiles rising out of
# it towards a warm glow; abstract, in the skin's indigo and periwinkle.
# --------------------------------------------------------------------------

ABOUT_WIDTH, ABOUT_HEIGHT = 100, 130


def lcg_noise(seed):
    state = [seed & 0xFFFFFFFF]

    def next_value():
        state[0] = (state[0] * 1664525 + 1013904223) & 0xFFFFFFFF
        return (state[0] >> 8) / float(1 << 24) - 0.5

    return next_value


def draw_about():
    w, h = ABOUT_WIDTH, ABOUT_HEIGHT
    canvas = Canvas(w, h)
    glow_x, glow_y = 64.0, 38.0
    for y in range(h):
        for x in range(w):
            c = mix(rgb(22, 24, 74), rgb(118, 120, 228), (y / (h - 1)) ** 0.9)
            d = math.hypot(x - glow_x, (y - glow_y) * 1.1)
            c = mix(c, rgb(255, 196, 140), 0.85 * math.exp(-(d / 26.0) ** 2))
            c = mix(c, rgb(255, 244, 220), 0.9 * math.exp(-(d / 7.0) ** 2))
            canvas.blend(x, y, c)
    # the field: rows of tiles shrinking towards the horizon
    horizon = 84.0
    rows = [(124.0, 14.0), (108.0, 10.5), (96.0, 7.5), (88.5, 5.2)]
    palette = [rgb(255, 122, 96), rgb(96, 196, 255), rgb(132, 224, 96), rgb(255, 214, 64),
               rgb(206, 140, 255), rgb(240, 244, 255)]
    k = 0
    for row, (cy, size) in enumerate(rows):
        gap = size * 0.45
        step = size + gap
        first = 50.0 - step * math.floor(60.0 / step) - (row % 2) * step / 2.0
        x = first
        while x < w + size:
            colour = palette[(k * 7 + row * 3) % len(palette)]
            k += 1
            depth = 1.0 - row / len(rows)
            fill = mix(rgb(60, 64, 160), colour, 0.25 + 0.6 * depth)
            half = size / 2.0
            canvas.fill(Rect(x - half + 1.0, cy - half * 0.62 + 1.2, x + half + 1.0, cy + half * 0.62 + 1.2, size * 0.18),
                        solid(rgb(10, 10, 40, 0.45)))
            canvas.fill(Rect(x - half, cy - half * 0.62, x + half, cy + half * 0.62, size * 0.18),
                        vgrad(cy - half * 0.62, mix(fill, rgb(255, 255, 255, 1.0), 0.3), cy + half * 0.62, fill))
            x += step
    # haze over the horizon
    for y in range(int(horizon) - 6, int(horizon) + 8):
        for x in range(w):
            t = 1.0 - abs(y - horizon) / 8.0
            canvas.blend(x, y, rgb(200, 190, 255, 0.35 * t))
    # tiles rising towards the glow, turning as they go
    risers = [(38.0, 70.0, 6.0, 12.0, rgb(96, 196, 255)), (54.0, 60.0, 5.0, -18.0, rgb(255, 122, 96)),
              (30.0, 50.0, 4.2, 28.0, rgb(132, 224, 96)), (48.0, 40.0, 3.4, -35.0, rgb(255, 214, 64)),
              (70.0, 52.0, 3.8, 40.0, rgb(206, 140, 255)), (40.0, 28.0, 2.6, 55.0, rgb(240, 244, 255)),
              (58.0, 20.0, 2.0, -60.0, rgb(96, 196, 255))]
    for cx, cy, half, angle, colour in risers:
        canvas.fill(rotated_square(cx + 1.2, cy + 1.6, half, angle), solid(rgb(10, 10, 40, 0.35)))
        canvas.fill(rotated_square(cx, cy, half, angle),
                    dgrad(cx - half, cy - half, mix(colour, rgb(255, 255, 255), 0.45), cx + half, cy + half, colour))
        canvas.fill(rotated_square(cx, cy, half * 0.45, angle), solid(rgb(255, 255, 255, 0.35)))
    # a faint trail of sparks from the field up to the glow
    noise = lcg_noise(2002)
    for i in range(26):
        t = i / 25.0
        sx = 42.0 + (glow_x - 42.0) * t + noise() * 14.0 * (1.0 - t)
        sy = 88.0 + (glow_y - 88.0) * t + noise() * 6.0
        canvas.fill(Ellipse(sx, sy, 0.7 + 0.5 * (1.0 - t)), solid(rgb(255, 240, 210, 0.55)))
    # fine grain, so the picture does not look flat
    out = []
    for y in range(h):
        row = []
        for x in range(w):
            r, g, b, _ = canvas.px[y * w + x]
            n = noise() * 7.0
            row.append(tuple(max(0, min(255, int(round(v * 255.0 + n)))) for v in (r, g, b)))
        out.append(row)
    return out


def write_progressive_jpeg(path, pixels, quality):
    h, w = len(pixels), len(pixels[0])
    ppm = b"P6\n%d %d\n255\n" % (w, h) + b"".join(bytes(c) for row in pixels for c in row)
    with tempfile.TemporaryDirectory() as tmp:
        src = pathlib.Path(tmp) / "about.ppm"
        src.write_bytes(ppm)
        if shutil.which("cjpeg"):
            cmd = ["cjpeg", "-quality", str(quality), "-progressive", "-optimize",
                   "-sample", "1x1", "-outfile", str(path), str(src)]
        elif shutil.which("convert"):
            cmd = ["convert", str(src), "-strip", "-quality", str(quality), "-interlace", "JPEG",
                   "-sampling-factor", "1x1", str(path)]
        else:
            sys.exit("make-assets: needs cjpeg (libjpeg-turbo-progs) or convert (imagemagick) for about.jpg")
        subprocess.run(cmd, check=True)


# --------------------------------------------------------------------------

ICON_PNG_SIZES = (16, 32, 48, 64, 128)
ABOUT_QUALITY = 94  # gives a file of about 8 KB


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=pathlib.Path, default=HERE, help="output folder (default: beside this script)")
    args = parser.parse_args()
    out = args.out
    out.mkdir(parents=True, exist_ok=True)

    write_bmp24(out / "background.bmp", BG_WIDTH, BG_HEIGHT, background_pixel)

    write_ico(out / "app.ico", [
        icon_entry_16_colours(16), icon_entry_16_colours(32), icon_entry_16_colours(48),
        icon_entry_true_colour(16), icon_entry_true_colour(32), icon_entry_256_colours(48),
    ])
    for size in ICON_PNG_SIZES:
        folder = out / "icons" / "hicolor" / f"{size}x{size}" / "apps"
        folder.mkdir(parents=True, exist_ok=True)
        canvas = render_icon(size, 'soft')
        (folder / "orvu-icons.png").write_bytes(png_bytes(size, size, canvas.rgba8))

    write_progressive_jpeg(out / "about.jpg", draw_about(), ABOUT_QUALITY)


if __name__ == "__main__":
    main()
