#!/usr/bin/env python3
"""Draws the library's icons and writes them as .ico files.

Every icon holds four images: 32 by 32 and 16 by 16 with 16 colours (the standard VGA palette,
for displays of few colours), then 32 by 32 and 16 by 16 in 32-bit colour with alpha. Each
picture is drawn once from shapes on a 16-unit grid, so that edges on whole units fall on pixel
edges at both sizes, and outlines are one pixel wide at either size.

Shapes are signed distance functions (negative inside); a pixel's colour is the average of 4 by 4
samples. Only exactly rounded arithmetic (+, -, *, /, sqrt) is used, so the output is the same
byte for byte on every machine.

    make_icons.py            writes the icons beside this script
    make_icons.py --check    exits with 1 if a checked-in icon differs from what it would write
"""

import os
import struct
import sys

SAMPLES = 4

# The 16 colours of the VGA palette, in its usual order.
VGA = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


def rgb(value):
    return ((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF)


# --- Shapes: functions from a point (x, y) in grid units to a signed distance in units.


def rect(x0, y0, x1, y1):
    return lambda x, y: max(x0 - x, x - x1, y0 - y, y - y1)


def circle(cx, cy, r):
    return lambda x, y: ((x - cx) * (x - cx) + (y - cy) * (y - cy)) ** 0.5 - r


def polygon(points):
    """A convex polygon whose points run clockwise on screen (y grows downwards)."""
    edges = []
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        length = ((bx - ax) * (bx - ax) + (by - ay) * (by - ay)) ** 0.5
        # Outward normal of a clockwise edge with y downwards.
        edges.append((ax, ay, (by - ay) / length, (ax - bx) / length))
    return lambda x, y: max((x - ax) * nx + (y - ay) * ny for ax, ay, nx, ny in edges)


def segment(ax, ay, bx, by, half_width):
    """A stroke with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def distance(x, y):
        t = ((x - ax) * dx + (y - ay) * dy) / length2
        t = min(1.0, max(0.0, t))
        px, py = ax + t * dx - x, ay + t * dy - y
        return (px * px + py * py) ** 0.5 - half_width

    return distance


def ring(cx, cy, r, half_width):
    return lambda x, y: abs(((x - cx) * (x - cx) + (y - cy) * (y - cy)) ** 0.5 - r) - half_width


def union(*shapes):
    return lambda x, y: min(shape(x, y) for shape in shapes)


def intersection(*shapes):
    return lambda x, y: max(shape(x, y) for shape in shapes)


def minus(shape, cut):
    return lambda x, y: max(shape(x, y), -cut(x, y))


# --- Drawing


class Canvas:
    """Premultiplied RGBA pixels, rows from the top."""

    def __init__(self, size):
        self.size = size
        self.scale = size / 16
        self.pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def draw(self, shape, fill, outline=None):
        """Fills the shape; with an outline colour, its outermost pixel is drawn in that colour."""
        stroke = 1 / self.scale
        for py in range(self.size):
            for px in range(self.size):
                r = g = b = a = 0.0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        x = (px + (sx + 0.5) / SAMPLES) / self.scale
                        y = (py + (sy + 0.5) / SAMPLES) / self.scale
                        d = shape(x, y)
                        if d >= 0:
                            continue
                        colour = outline if outline is not None and d > -stroke else fill
                        r += colour[0]
                        g += colour[1]
                        b += colour[2]
                        a += 255
                if a == 0:
                    continue
                n = SAMPLES * SAMPLES * 255
                layer = (r / n, g / n, b / n, a / n)
                below = self.pixels[py][px]
                keep = 1 - layer[3]
                self.pixels[py][px] = tuple(layer[i] + below[i] * keep for i in range(4))

    def straight(self):
        """8-bit straight (not premultiplied) RGBA, rows from the top; transparent pixels black."""
        rows = []
        for row in self.pixels:
            out = []
            for r, g, b, a in row:
                alpha = int(a * 255 + 0.5)
                if alpha == 0:
                    out.append((0, 0, 0, 0))
                else:
                    out.append(tuple(min(255, int(c / a * 255 + 0.5)) for c in (r, g, b)) + (alpha,))
            rows.append(out)
        return rows


# --- The pictures

FOLDER_BACK, FOLDER_FRONT, FOLDER_EDGE = rgb(0xD09C18), rgb(0xFFD75A), rgb(0x8C6410)
PAPER, PAPER_FOLD, PAPER_EDGE = rgb(0xFFFFFF), rgb(0xD8D8D8), rgb(0x707070)
WHITE, BLACK = rgb(0xFFFFFF), rgb(0x000000)


def draw_folder(c):
    c.draw(union(rect(1, 2, 7, 6), rect(1, 4, 15, 14)), FOLDER_BACK, FOLDER_EDGE)
    c.draw(rect(1, 6, 15, 14), FOLDER_FRONT, FOLDER_EDGE)


def draw_page(c):
    c.draw(polygon([(3, 1), (10, 1), (13, 4), (13, 15), (3, 15)]), PAPER, PAPER_EDGE)
    c.draw(polygon([(10, 1), (13, 4), (10, 4)]), PAPER_FOLD, PAPER_EDGE)


def draw_error(c):
    c.draw(circle(8, 8, 7), rgb(0xD92020), rgb(0x7A0000))
    c.draw(union(segment(5.5, 5.5, 10.5, 10.5, 1.1), segment(10.5, 5.5, 5.5, 10.5, 1.1)), WHITE)


def draw_warning(c):
    c.draw(polygon([(8, 1), (15, 14.5), (1, 14.5)]), rgb(0xFFD500), rgb(0x8C6E00))
    c.draw(union(segment(8, 6, 8, 9.5, 0.9), circle(8, 12, 1)), BLACK)


def draw_information(c):
    c.draw(circle(8, 8, 7), rgb(0x1C4CE0), rgb(0x0A2F78))
    c.draw(union(circle(8, 4.5, 1.2), rect(7, 7, 9, 12.5)), WHITE)


def draw_question(c):
    c.draw(circle(8, 8, 7), rgb(0x1E8C50), rgb(0x0A4A28))
    hook = minus(ring(8, 6, 2.5, 1), rect(0, 6, 8, 16))
    c.draw(union(hook, rect(7, 8, 9, 10)), WHITE)
    c.draw(circle(8, 12.5, 1.1), WHITE)


def draw_script(c):
    draw_page(c)
    ink = rgb(0x203C90)
    for y, x0, x1 in [(6, 5, 10), (8, 6.5, 11), (10, 6.5, 10), (12, 5, 9)]:
        c.draw(rect(x0, y, x1, y + 1), ink)


def draw_open_folder(c):
    c.draw(union(rect(1, 2, 7, 6), rect(1, 4, 13, 14)), FOLDER_BACK, FOLDER_EDGE)
    c.draw(polygon([(4, 7), (16, 7), (13, 14), (1, 14)]), FOLDER_FRONT, FOLDER_EDGE)


def draw_drive(c):
    c.draw(rect(1, 5, 15, 12), rgb(0xC8C8C8), rgb(0x505050))
    c.draw(rect(1, 9, 15, 12), rgb(0x969696), rgb(0x505050))
    c.draw(circle(12.5, 10.5, 0.9), rgb(0x20E020))


def draw_package(c):
    edge = rgb(0x5A3C14)
    c.draw(polygon([(2, 5), (5, 2), (15, 2), (12, 5)]), rgb(0xD8AA6A), edge)
    c.draw(polygon([(12, 5), (15, 2), (15, 12), (12, 15)]), rgb(0x8C5A28), edge)
    c.draw(rect(2, 5, 12, 15), rgb(0xB47C3C), edge)
    c.draw(rect(6, 5, 8, 15), rgb(0xF0E0B0))


def draw_window(c):
    edge = rgb(0x102C70)
    c.draw(rect(1, 2, 15, 14), WHITE, edge)
    c.draw(rect(1, 2, 15, 5), rgb(0x2050D8), edge)
    c.draw(rect(11.5, 3, 13.5, 4), WHITE)


ICONS = [
    (30336, "folder", draw_folder),
    (30337, "file", draw_page),
    (30355, "error", draw_error),
    (31264, "warning", draw_warning),
    (31265, "information", draw_information),
    (31266, "question", draw_question),
    (31267, "script", draw_script),
    (31268, "folder_open", draw_open_folder),
    (31269, "drive", draw_drive),
    (31270, "package", draw_package),
    (31271, "window", draw_window),
]

# --- The .ico format: ICONDIR, one 16-byte entry per image, then each image as a DIB whose
# height counts the colour rows and the AND-mask rows.


def and_mask(pixels, transparent):
    size = len(pixels)
    stride = (size + 31) // 32 * 4
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, pixel in enumerate(row):
            if transparent(pixel):
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def info_header(size, bits, image_bytes):
    return struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0, image_bytes, 0, 0, 0, 0)


def image_32(pixels):
    size = len(pixels)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for r, g, b, a in row)
    mask = and_mask(pixels, lambda p: p[3] == 0)
    return info_header(size, 32, len(colour) + len(mask)) + colour + mask


def nearest_vga(r, g, b):
    distances = [(r - vr) ** 2 + (g - vg) ** 2 + (b - vb) ** 2 for vr, vg, vb in VGA]
    return distances.index(min(distances))


def opaque(pixel):
    """Whether a pixel stays visible in a 16-colour image, which has no partial transparency."""
    return pixel[3] >= 128


def image_4(pixels):
    size = len(pixels)
    stride = (size * 4 + 31) // 32 * 4
    colour = bytearray()
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, p in enumerate(row):
            index = nearest_vga(*p[:3]) if opaque(p) else 0
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        colour += line
    mask = and_mask(pixels, lambda p: not opaque(p))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in VGA)
    return info_header(size, 4, len(colour) + len(mask)) + table + bytes(colour) + mask


def ico(draw):
    pictures = {}
    for size in (32, 16):
        canvas = Canvas(size)
        draw(canvas)
        pictures[size] = canvas.straight()
    images = [(32, 4, image_4(pictures[32])), (16, 4, image_4(pictures[16])),
              (32, 32, image_32(pictures[32])), (16, 32, image_32(pictures[16]))]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        colours = 16 if bits == 4 else 0
        out += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


def main(argv):
    check = argv[1:] == ["--check"]
    if argv[1:] and not check:
        sys.exit(__doc__)
    folder = os.path.dirname(os.path.abspath(__file__))
    differs = []
    for _, name, draw in ICONS:
        path = os.path.join(folder, name + ".ico")
        data = ico(draw)
        if check:
            with open(path, "rb") as f:
                if f.read() != data:
                    differs.append(path)
        else:
            with open(path, "wb") as f:
                f.write(data)
    for path in differs:
        print("differs: " + path)
    return 1 if differs else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
