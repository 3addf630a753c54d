#!/usr/bin/env python3
"""Draws the four placeholder pictures of vault items into resources/placeholders/.

Standard library only, so that the pictures can be remade anywhere:
    python3 scripts/draw-placeholders.py
"""
import os
import struct
import zlib

SIZE = 128
OUT = os.path.join(os.path.dirname(__file__), "..", "resources", "placeholders")


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def blend(self, x, y, colour):
        if not (0 <= x < self.size and 0 <= y < self.size):
            return
        r, g, b, a = colour
        br, bg, bb, ba = self.pixels[y][x]
        alpha = a / 255 + ba / 255 * (1 - a / 255)
        if alpha == 0:
            return
        mix = lambda top, bottom: round((top * a / 255 + bottom * ba / 255 * (1 - a / 255)) / alpha)
        self.pixels[y][x] = (mix(r, br), mix(g, bg), mix(b, bb), round(alpha * 255))

    def fill(self, inside, colour):
        # Four samples per pixel give soft edges.
        for y in range(self.size):
            for x in range(self.size):
                hits = sum(inside(x + dx, y + dy) for dx in (0.25, 0.75) for dy in (0.25, 0.75))
                if hits:
                    self.blend(x, y, colour[:3] + (colour[3] * hits // 4,))

    def png(self):
        rows = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in self.pixels)
        chunk = lambda kind, data: (struct.pack(">I", len(data)) + kind + data +
                                    struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
        header = struct.pack(">IIBBBBB", self.size, self.size, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def rect(x0, y0, x1, y1, radius=0):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def triangle(a, b, c):
    def side(p, q, x, y):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
    def inside(x, y):
        s = (side(a, b, x, y), side(b, c, x, y), side(c, a, x, y))
        return all(v >= 0 for v in s) or all(v <= 0 for v in s)
    return inside


def document(canvas, paper=(245, 246, 248, 255), edge=(160, 166, 176, 255)):
    body = rect(26, 12, 102, 116, 6)
    fold = triangle((80, 12), (102, 34), (80, 34))
    canvas.fill(body, edge)
    canvas.fill(lambda x, y: rect(29, 15, 99, 113, 4)(x, y) and not (x > 77 and y < 37), paper)
    canvas.fill(lambda x, y: x > 77 and y < 37 and not triangle((80, 12), (102, 34), (102, 12))(x, y)
                and rect(26, 12, 102, 116, 6)(x, y), (0, 0, 0, 0))
    canvas.fill(fold, (205, 209, 216, 255))


def unknown():
    canvas = Canvas(SIZE)
    document(canvas)
    grey = (150, 156, 166, 255)
    canvas.fill(lambda x, y: 14 ** 2 <= (x - 64) ** 2 + (y - 58) ** 2 <= 20 ** 2 and not (y > 58 and x < 64), grey)
    canvas.fill(rect(60, 70, 68, 84, 2), grey)
    canvas.fill(circle(64, 96, 5), grey)
    return canvas


def image():
    canvas = Canvas(SIZE)
    canvas.fill(rect(10, 22, 118, 106, 10), (120, 170, 220, 255))
    canvas.fill(circle(88, 46, 10), (255, 214, 92, 255))
    canvas.fill(triangle((16, 100), (52, 50), (88, 100)), (70, 140, 90, 255))
    canvas.fill(triangle((56, 100), (84, 66), (112, 100)), (90, 160, 110, 255))
    return canvas


def pdf():
    canvas = Canvas(SIZE)
    document(canvas)
    canvas.fill(rect(18, 64, 110, 92, 4), (212, 60, 52, 255))
    white = (255, 255, 255, 255)
    # The letters P, D and F as blocks.
    canvas.fill(lambda x, y: rect(30, 69, 34, 87)(x, y) or rect(30, 69, 44, 73)(x, y)
                or rect(40, 69, 44, 80)(x, y) or rect(30, 76, 44, 80)(x, y), white)
    canvas.fill(lambda x, y: rect(54, 69, 58, 87)(x, y) or rect(54, 69, 66, 73)(x, y)
                or rect(54, 83, 66, 87)(x, y) or rect(66, 72, 70, 84)(x, y), white)
    canvas.fill(lambda x, y: rect(80, 69, 84, 87)(x, y) or rect(80, 69, 96, 73)(x, y)
                or rect(80, 76, 92, 80)(x, y), white)
    return canvas


def content():
    canvas = Canvas(SIZE)
    document(canvas)
    for row, width in enumerate((56, 48, 56, 40, 52, 30)):
        top = 44 + row * 11
        canvas.fill(rect(38, top, 38 + width, top + 4, 2), (120, 128, 140, 255))
    return canvas


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, draw in (("unknowPlaceholder", unknown), ("imagePlaceholder", image),
                       ("placeholderPDF", pdf), ("contentPlaceholder", content)):
        with open(os.path.join(OUT, name + ".png"), "wb") as out:
            out.write(draw().png())


if __name__ == "__main__":
    main()
