#!/usr/bin/env python3
"""Draws Quorvel's icons: the application icon (a key cap with a lightning bolt) and its paused
picture for the notification area, the About box's 128-pixel product picture and the small
button pictures. Pure Python, no libraries: every shape is sampled 4 x 4 times per pixel and
blended over the picture, and the result is written as 32-bit icons with alpha, the images from
32 pixels up compressed as PNG (as Windows reads them since Vista). Every icon has an image from
16 to 256 pixels, so that Windows picks one drawn for the size it shows at any scaling. Run it
from anywhere; it writes beside itself and into ../../about/res."""

import math
import os
import struct
import zlib

# The sizes of every icon: 100 % to 300 % of the small (16) and large (32) sizes, the shell's 48,
# 64, 96 and 256, and the About box's 128-pixel picture at 150 % and 200 %.
SIZES = [16, 20, 24, 32, 40, 48, 64, 96, 128, 192, 256]
# Larger images go into the icon as PNG.
PNG_FROM = 32

SAMPLES = 4


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def fill(self, inside, colour):
        """Blends colour (r, g, b, a in 0..1, or a function of (x, y) in 0..1 units) wherever
        inside(x, y) holds; coordinates are in 0..1 of the picture's side."""
        n = self.size
        step = 1.0 / SAMPLES
        for py in range(n):
            for px in range(n):
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        x = (px + (sx + 0.5) * step) / n
                        y = (py + (sy + 0.5) * step) / n
                        if inside(x, y):
                            hits += 1
                if not hits:
                    continue
                cx, cy = (px + 0.5) / n, (py + 0.5) / n
                r, g, b, a = colour(cx, cy) if callable(colour) else colour
                a *= hits / (SAMPLES * SAMPLES)
                dr, dg, db, da = self.px[py][px]
                oa = a + da * (1 - a)
                if oa > 0:
                    mix = lambda s, d: (s * a + d * da * (1 - a)) / oa
                    self.px[py][px] = (mix(r, dr), mix(g, dg), mix(b, db), oa)

    def rgba_rows_top_down(self):
        out = bytearray()
        for row in self.px:
            out += b"\0"  # PNG row filter: none
            for r, g, b, a in row:
                out += bytes(round(max(0, min(1, v)) * 255) for v in (r, g, b, a))
        return bytes(out)

    def bgra_rows_bottom_up(self):
        out = bytearray()
        for row in reversed(self.px):
            for r, g, b, a in row:
                out += bytes(round(max(0, min(1, v)) * 255) for v in (b, g, r, a))
        return bytes(out)


def rounded_rect(x0, y0, x1, y1, radius):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def capsule(ax, ay, bx, by, width):
    def inside(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= (width / 2) ** 2
    return inside


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def either(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def vertical(top, bottom):
    return lambda x, y: tuple(t + (b - t) * y for t, b in zip(top, bottom))


def rgb(hex_colour, alpha=1.0):
    return tuple(int(hex_colour[i:i + 2], 16) / 255 for i in (0, 2, 4)) + (alpha,)


# Pictures -----------------------------------------------------------------------------------

BLUE_KEY = ("1d3557", "5b8dd6", "2c5aa0", "7aa7e8", "4273bd", "102a4c", "fff3a0", "f4b400")
GREY_KEY = ("3c4148", "a3a9b1", "6d747d", "c3c8ce", "868d96", "2a2e33", "eceff2", "b9bec4")


def application(c, colours=BLUE_KEY):
    # A key cap seen from above: a darker rim, a lighter top, and a bolt for "hotkey".
    rim, side_top, side_bottom, top_top, top_bottom, shadow, bolt_top, bolt_bottom = colours
    c.fill(rounded_rect(0.04, 0.06, 0.96, 0.98, 0.18), rgb(rim))
    c.fill(rounded_rect(0.04, 0.02, 0.96, 0.90, 0.18), vertical(rgb(side_top), rgb(side_bottom)))
    c.fill(rounded_rect(0.14, 0.10, 0.86, 0.76, 0.12), vertical(rgb(top_top), rgb(top_bottom)))
    bolt = [(0.58, 0.12), (0.30, 0.50), (0.47, 0.50), (0.38, 0.86), (0.72, 0.40),
            (0.54, 0.40), (0.64, 0.12)]
    c.fill(polygon([(x + 0.02, y + 0.02) for x, y in bolt]), rgb(shadow, 0.55))
    c.fill(polygon(bolt), vertical(rgb(bolt_top), rgb(bolt_bottom)))


def paused(c):
    # The key cap greyed, with a pause sign in a round badge at its lower right.
    application(c, GREY_KEY)
    c.fill(circle(0.70, 0.70, 0.30), rgb("ffffff"))
    c.fill(circle(0.70, 0.70, 0.25), vertical(rgb("f59e0b"), rgb("c2410c")))
    for x in (0.62, 0.78):
        c.fill(rounded_rect(x - 0.045, 0.58, x + 0.045, 0.82, 0.02), rgb("ffffff"))


def add(c):
    c.fill(circle(0.5, 0.5, 0.46), vertical(rgb("5fcf6a"), rgb("218c3a")))
    c.fill(either(capsule(0.5, 0.26, 0.5, 0.74, 0.16), capsule(0.26, 0.5, 0.74, 0.5, 0.16)),
           rgb("ffffff"))


def edit(c):
    c.fill(capsule(0.22, 0.78, 0.78, 0.22, 0.26), rgb("7a4e12"))
    c.fill(capsule(0.26, 0.74, 0.76, 0.24, 0.18), rgb("f2c14e"))
    c.fill(capsule(0.72, 0.28, 0.84, 0.16, 0.24), rgb("e06666"))
    c.fill(polygon([(0.06, 0.94), (0.14, 0.66), (0.34, 0.86)]), rgb("3a3a3a"))


def cross(c, x0, y0, x1, y1, width):
    c.fill(either(capsule(x0, y0, x1, y1, width), capsule(x0, y1, x1, y0, width)),
           vertical(rgb("f26d6d"), rgb("b31b1b")))


def delete(c):
    cross(c, 0.18, 0.18, 0.82, 0.82, 0.2)


def delete_all(c):
    for top in (0.06, 0.32, 0.58):
        c.fill(rounded_rect(0.04, top, 0.70, top + 0.16, 0.04), rgb("7f8c9a"))
    cross(c, 0.46, 0.46, 0.94, 0.94, 0.16)


def arrow(c, down):
    shape = [(0.36, 0.08), (0.64, 0.08), (0.64, 0.50), (0.86, 0.50), (0.5, 0.92), (0.14, 0.50),
             (0.36, 0.50)]
    if not down:
        shape = [(x, 1 - y) for x, y in shape]
    c.fill(polygon(shape), vertical(rgb("6fa8f5"), rgb("1f5fbf")))


def save(c):
    c.fill(rounded_rect(0.06, 0.06, 0.94, 0.94, 0.08), rgb("2c5aa0"))
    c.fill(rounded_rect(0.22, 0.06, 0.78, 0.40, 0.03), rgb("e8eef7"))
    c.fill(rounded_rect(0.60, 0.12, 0.70, 0.34, 0.02), rgb("2c5aa0"))
    c.fill(rounded_rect(0.18, 0.56, 0.82, 0.94, 0.03), rgb("1d3557"))


def ok(c):
    c.fill(either(capsule(0.12, 0.54, 0.40, 0.82, 0.2), capsule(0.40, 0.82, 0.88, 0.22, 0.2)),
           vertical(rgb("5fcf6a"), rgb("218c3a")))


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png_image(canvas):
    size = canvas.size
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(canvas.rgba_rows_top_down(), 9)) +
            png_chunk(b"IEND", b""))


def bitmap_image(canvas):
    size = canvas.size
    pixels = canvas.bgra_rows_bottom_up()
    mask = bytes(((size + 31) // 32) * 4 * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def write_icon(path, draw, sizes=SIZES):
    images = []
    for size in sizes:
        canvas = Canvas(size)
        draw(canvas)
        images.append((size, png_image(canvas) if size >= PNG_FROM else bitmap_image(canvas)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    about = os.path.join(here, "..", "..", "about", "res")
    write_icon(os.path.join(here, "quorvel.ico"), application)
    write_icon(os.path.join(here, "quorvel_paused.ico"), paused)
    write_icon(os.path.join(about, "product.ico"), application)
    write_icon(os.path.join(about, "ok.ico"), ok)
    for name, draw in [("add", add), ("edit", edit), ("delete", delete),
                       ("delete_all", delete_all), ("move_down", lambda c: arrow(c, True)),
                       ("move_up", lambda c: arrow(c, False)), ("save", save)]:
        write_icon(os.path.join(here, name + ".ico"), draw)


if __name__ == "__main__":
    main()
