#!/usr/bin/env python3
"""Draws Lumisera's pictures: the eight backgrounds, the privacy cover, the tip and folder
pictures, the application icon and the bundled symbol icons, into resources/.

Python's standard library works out every shape and shades the stones pixel by pixel;
ImageMagick's `convert` (Debian package imagemagick) blurs, composites and writes the files.
Every random choice comes from a fixed seed, so a second run gives the same pictures:
    python3 scripts/draw-pictures.py            # everything
    python3 scripts/draw-pictures.py darkZen    # only the named jobs (see main)

The symbols must match the table in src/ui/common/Symbols.cpp, and new files must be added to
resources/*.qrc.
"""
import math
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
RES = os.path.join(ROOT, "resources")
W, H = 1600, 1000
TMP = None  # a scratch folder for the layers, removed at the end


# ---------------------------------------------------------------------------------------------
# Plumbing


def convert(*args):
    args = [str(a) for a in args]
    # MVG reads "#" as the start of a comment, so colours in drawings are quoted.
    # Its polyline also fails with some stroke settings, so polylines become paths.
    # Round caps without round joins close open paths, so they always come together.
    def mvg(text):
        text = re.sub(r"#([0-9a-fA-F]{6})\b", r'"#\1"', text)
        if "stroke-linecap round" in text and "stroke-linejoin" not in text:
            text = text.replace("stroke-linecap round", "stroke-linecap round stroke-linejoin round")
        return re.sub(r"polyline ((?:-?[\d.]+,-?[\d.]+ ?)+)",
                      lambda m: "path 'M " + " L ".join(m.group(1).split()) + "' ", text)

    args = [mvg(a) if i and args[i - 1] == "-draw" else a for i, a in enumerate(args)]
    subprocess.run(["convert", *args], check=True)


def scratch(name):
    return os.path.join(TMP, name)


def write_png(path, width, height, rgba):
    """rgba: a bytearray of width * height * 4 bytes."""
    stride = width * 4
    rows = b"".join(b"\0" + bytes(rgba[y * stride:(y + 1) * stride]) for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(rows, 6)) + chunk(b"IEND", b""))


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def hexrgb(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def rgba(colour, alpha=1.0):
    r, g, b = (round(c) for c in colour[:3])
    return "rgba(%d,%d,%d,%.3f)" % (r, g, b, alpha)


def smooth(t):
    return t * t * (3 - 2 * t)


def stops(t, points):
    """Colour at t along [(t0, colour), (t1, colour), ...]."""
    if t <= points[0][0]:
        return points[0][1]
    for (t0, c0), (t1, c1) in zip(points, points[1:]):
        if t <= t1:
            return mix(c0, c1, smooth((t - t0) / (t1 - t0)))
    return points[-1][1]


class ValueNoise:
    """Smooth random field on a grid of `cell` pixels."""

    def __init__(self, seed, width, height, cell):
        rng = random.Random(seed)
        self.cell = cell
        self.cols = int(width / cell) + 3
        rows = int(height / cell) + 3
        self.grid = [[rng.uniform(-1, 1) for _ in range(self.cols)] for _ in range(rows)]

    def __call__(self, x, y):
        fx, fy = x / self.cell, y / self.cell
        ix, iy = int(fx), int(fy)
        tx, ty = smooth(fx - ix), smooth(fy - iy)
        g = self.grid
        top = g[iy][ix] + (g[iy][ix + 1] - g[iy][ix]) * tx
        bottom = g[iy + 1][ix] + (g[iy + 1][ix + 1] - g[iy + 1][ix]) * tx
        return top + (bottom - top) * ty


def field(name, width, height, colour_at):
    """A small picture from colour_at(u, v) with u, v in [0, 1]; scaled up later."""
    data = bytearray(width * height * 4)
    for y in range(height):
        for x in range(width):
            c = colour_at(x / (width - 1), y / (height - 1))
            i = (y * width + x) * 4
            data[i:i + 4] = bytes((round(clamp(c[0], 0, 255)), round(clamp(c[1], 0, 255)),
                                   round(clamp(c[2], 0, 255)), 255))
    path = scratch(name + ".png")
    write_png(path, width, height, data)
    return path


def glow(u, v, cx, cy, radius, aspect=1.0):
    d2 = ((u - cx) * aspect) ** 2 + (v - cy) ** 2
    return math.exp(-d2 / (radius * radius))


# ---------------------------------------------------------------------------------------------
# Stones and flowers, shaded pixel by pixel


def normalise(v):
    n = math.sqrt(sum(c * c for c in v))
    return tuple(c / n for c in v)


class Stone:
    """A smooth pebble: an ellipsoid with a slightly irregular outline.

    rx, ry: half width and half height of the outline in pixels; rz: half depth (small for
    stones seen from above). light: where the light comes from (x right, y down, z to the eye).
    """

    def __init__(self, rx, ry, colour, seed, rz=None, light=(-0.45, -0.8, 0.5), ambient=0.42,
                 shine=0.16, mottle=0.06, band=None):
        self.rx, self.ry = rx, ry
        self.rz = rz if rz is not None else rx * 0.8
        self.colour = hexrgb(colour) if isinstance(colour, str) else colour
        self.light = normalise(light)
        self.half = normalise((self.light[0], self.light[1], self.light[2] + 1))
        self.ambient, self.shine, self.mottle = ambient, shine, mottle
        self.band = band  # (offset, width, colour) of a pale quartz vein, or None
        rng = random.Random(seed)
        self.wobble = [(k, rng.uniform(0.012, 0.035) / (k * 0.5), rng.uniform(0, 2 * math.pi))
                       for k in (2, 3, 5)]
        self.tilt = rng.uniform(-0.25, 0.25)
        self.seed = seed

    def outline(self, theta):
        return 1 + sum(a * math.sin(k * theta + p) for k, a, p in self.wobble)

    def sprite(self, name):
        """Writes the stone to a PNG; returns (path, left, top) relative to the stone's centre."""
        margin = 3
        half_w = int(self.rx * 1.1) + margin
        half_h = int(self.ry * 1.1) + margin
        width, height = 2 * half_w, 2 * half_h
        coarse = ValueNoise(self.seed, width, height, max(8.0, min(self.rx, self.ry) / 3))
        fine = ValueNoise(self.seed + 1, width, height, 3.0)
        lx, ly, lz = self.light
        hx, hy, hz = self.half
        data = bytearray(width * height * 4)
        base = self.colour
        for y in range(height):
            dy = y + 0.5 - half_h
            for x in range(width):
                dx = x + 0.5 - half_w
                u, v = dx / self.rx, dy / self.ry
                r = math.hypot(u, v)
                f = self.outline(math.atan2(v, u))
                d = r / f
                if d > 1.08:
                    continue
                grad = math.hypot(u / self.rx, v / self.ry) / max(r * f, 1e-6)
                alpha = clamp((1 - d) / max(grad, 1e-6) + 0.5)
                if alpha <= 0:
                    continue
                dd = min(d, 0.999)
                w = math.sqrt(1 - dd * dd)
                nx, ny, nz = u / f / self.rx, (v / f + self.tilt * u * 0.3) / self.ry, w / self.rz
                n = math.sqrt(nx * nx + ny * ny + nz * nz)
                nx, ny, nz = nx / n, ny / n, nz / n
                diffuse = max(0.0, nx * lx + ny * ly + nz * lz)
                specular = max(0.0, nx * hx + ny * hy + nz * hz) ** 28
                shade = self.ambient + (1 - self.ambient) * diffuse
                shade *= 0.72 + 0.28 * w ** 0.35
                texture = 1 + self.mottle * coarse(x, y) + 0.035 * fine(x, y)
                colour = base
                if self.band:
                    offset, width_b, band_colour = self.band
                    t = abs(v - offset - 0.35 * u * u + 0.15 * u)
                    if t < width_b:
                        colour = mix(base, band_colour, smooth(clamp((width_b - t) / (width_b * 0.5))))
                i = (y * width + x) * 4
                for c in range(3):
                    data[i + c] = round(clamp(colour[c] * shade * texture + 255 * self.shine * specular, 0, 255))
                data[i + 3] = round(alpha * 255)
        path = scratch(name + ".png")
        write_png(path, width, height, data)
        return path, -half_w, -half_h


def place(path_and_offset, cx, cy):
    path, left, top = path_and_offset
    return [path, "-geometry", "%+d%+d" % (round(cx + left), round(cy + top)), "-composite"]


def stack(stones, base_x, base_y, overlap=0.2, drift=None, rng=None):
    """Positions for stones piled from base_y upwards; returns [(stone, cx, cy)]."""
    placed = []
    y = base_y
    for i, stone in enumerate(stones):
        cy = y - stone.ry
        dx = (drift[i] if drift else 0) + (rng.uniform(-6, 6) if rng else 0)
        placed.append((stone, base_x + dx, cy))
        y = cy - stone.ry * (1 - 2 * overlap)
    return placed


def layer(size, *draws, blur=None, opacity=None):
    """A transparent layer with MVG drawings, as convert arguments in parentheses."""
    # Blurring mixes the colour of transparent pixels into the edges: make it the drawing's own.
    first = re.search(r"(?:fill|stroke) (rgba?\(([\d.]+),([\d.]+),([\d.]+)|#[0-9a-fA-F]{6}|white)", " ".join(
        d for d in draws if isinstance(d, str)))
    clear = "black"
    if first:
        value = first.group(1)
        colour = (255, 255, 255) if value == "white" else hexrgb(value) if value.startswith("#") else (
            float(first.group(2)), float(first.group(3)), float(first.group(4)))
        clear = rgba(colour, 1)
    args = ["(", "-size", "%dx%d" % size, "xc:none"]
    for d in draws:
        args += d if isinstance(d, list) else ["-draw", d]
    if blur:
        args += ["-background", clear, "-alpha", "background", "-channel", "RGBA", "-blur", "0x%g" % blur,
                 "+channel"]
    if opacity is not None:
        args += ["-channel", "A", "-evaluate", "multiply", "%g" % opacity, "+channel"]
    return args + [")", "-compose", "Over", "-composite"]


def ellipse(cx, cy, rx, ry, colour):
    return "fill %s ellipse %.1f,%.1f %.1f,%.1f 0,360" % (colour, cx, cy, rx, ry)


def shadows(placed, colour="rgba(40,32,24,0.55)", dx=18, dy=6, spread=1.0, squash=0.35):
    return [ellipse(cx + dx, cy + s.ry * 0.8 + dy, s.rx * spread, s.ry * squash + 6, colour)
            for s, cx, cy in placed]


def polyline(points):
    return " ".join("%.1f,%.1f" % p for p in points)


def finish(out, grain=0.2, quality=84):
    return ["-seed", "7", "-attenuate", "%g" % grain, "+noise", "Gaussian",
            "-sampling-factor", "4:2:0", "-strip", "-quality", quality, out]


def flower(cx, cy, radius, petal, centre, angle=0.0, petals=5):
    """A five-petalled blossom in MVG."""
    draws = []
    for k in range(petals):
        a = angle + k * 360 / petals
        draws.append("push graphic-context translate %.1f,%.1f rotate %.1f "
                     "fill %s ellipse %.1f,0 %.1f,%.1f 0,360 pop graphic-context"
                     % (cx, cy, a, petal, radius * 0.55, radius * 0.55, radius * 0.36))
    draws.append("fill %s circle %.1f,%.1f %.1f,%.1f" % (centre, cx, cy, cx + radius * 0.2, cy))
    return draws


# ---------------------------------------------------------------------------------------------
# The eight backgrounds


def out_background(name):
    return os.path.join(RES, "backgrounds", name + ".jpg")


def ridge(seed, y0, amplitude, roughness):
    noise = ValueNoise(seed, W + 200, 10, 180)
    noise2 = ValueNoise(seed + 5, W + 200, 10, 55)
    pts = [(x, y0 + amplitude * noise(x + 20, 2) + roughness * noise2(x + 20, 2))
           for x in range(-20, W + 41, 20)]
    return "polygon " + polyline(pts + [(W + 40, H + 10), (-20, H + 10)])


def draw_background():
    """Misty hills at dawn over a still lake, a small cairn on the shore."""
    sky = [(0.0, hexrgb("#b9c6dc")), (0.35, hexrgb("#dcd5e2")), (0.56, hexrgb("#f6dccb")),
           (1.0, hexrgb("#f2e4d6"))]

    def colour(u, v):
        c = stops(v, sky)
        g = glow(u, v, 0.66, 0.5, 0.22, 1.4)
        return mix(c, hexrgb("#fff4e2"), 0.85 * g)

    bg = field("bg-sky", 320, 200, colour)
    hills = [("#c7c3d4", 430, 60, 14, 2.5), ("#aeb0c6", 500, 55, 12, 1.5), ("#8f98b2", 560, 45, 10, 0.8)]
    args = [bg, "-resize", "%dx%d!" % (W, H)]
    for i, (c, y0, amp, rough, blur) in enumerate(hills):
        args += layer((W, H), "fill " + c + " " + ridge(11 + i, y0, amp, rough), blur=blur, opacity=0.92)
    # The lake mirrors the sky, darker, with faint ripple lines.
    water = field("bg-water", 320, 60,
                  lambda u, v: mix(mix(hexrgb("#c9c9da"), hexrgb("#aeb6c9"), v),
                                   hexrgb("#f8e8da"), 0.6 * glow(u, 0, 0.66, 0, 0.12, 1.0)))
    args += ["(", water, "-resize", "%dx%d!" % (W, 400), ")", "-geometry", "+0+600",
             "-compose", "Over", "-composite"]
    rng = random.Random(3)
    ripples = []
    for _ in range(70):
        y = rng.uniform(615, 990)
        x = rng.uniform(-100, W)
        length = rng.uniform(60, 260) * (0.6 + (y - 600) / 400)
        ripples.append("stroke rgba(255,250,240,%.2f) stroke-width %.1f fill none line %.0f,%.0f %.0f,%.0f"
                       % (rng.uniform(0.15, 0.35), 1 + (y - 600) / 250, x, y, x + length, y))
    args += layer((W, H), *ripples, blur=1.2)
    # A flat rock in the shallows at the lower left, with a small cairn on it.
    rock = Stone(270, 56, "#8b8378", 20, rz=190, ambient=0.5, mottle=0.1)
    args += layer((W, H), ellipse(350, 918, 300, 34, "rgba(70,72,90,0.45)"), blur=10)
    args += place(rock.sprite("bg-rock"), 330, 900)
    rng = random.Random(8)
    stones = [Stone(92, 34, "#6f6a64", 21), Stone(70, 28, "#857d72", 22), Stone(52, 24, "#625f5b", 23),
              Stone(34, 18, "#958a7d", 24)]
    placed = stack(stones, 300, 872, overlap=0.14, rng=rng)
    args += layer((W, H), *shadows(placed[:1], dx=30, dy=-4, spread=1.2, colour="rgba(40,32,24,0.45)"),
                  blur=8)
    for i, (s, cx, cy) in enumerate(placed):
        args += place(s.sprite("bg-stone%d" % i), cx, cy)
    convert(*args, *finish(out_background("background")))


def raked_circles(cx, cy, r0, r1, spacing, dark, light):
    draws = []
    r = r0
    while r < r1:
        draws.append("stroke %s stroke-width 5 fill none circle %.1f,%.1f %.1f,%.1f"
                     % (dark, cx + 2, cy + 2, cx + 2 + r, cy + 2))
        draws.append("stroke %s stroke-width 3 fill none circle %.1f,%.1f %.1f,%.1f"
                     % (light, cx - 2, cy - 2, cx - 2 + r, cy - 2))
        r += spacing
    return draws


def sand(name, tint_top, tint_bottom, seed):
    noise = ValueNoise(seed, 320, 200, 40)
    return field(name, 320, 200, lambda u, v: tuple(
        c * (1 + 0.025 * noise(u * 319, v * 199)) * (1 - 0.12 * ((u - 0.5) ** 2 + (v - 0.5) ** 2))
        for c in mix(hexrgb(tint_top), hexrgb(tint_bottom), v)))


def draw_stones_in_ring():
    """Seen from above: a ring of pebbles in raked sand."""
    bg = sand("ring-sand", "#ece4d6", "#e2d7c5", 31)
    cx, cy = 980, 520
    args = [bg, "-resize", "%dx%d!" % (W, H)]
    args += layer((W, H), *raked_circles(cx, cy, 262, 1250, 26, "rgba(130,110,80,0.22)",
                                          "rgba(255,255,255,0.45)"), blur=1.6)
    rng = random.Random(5)
    colours = ["#7e7a74", "#8c857b", "#6d6a66", "#968e84", "#77736c", "#857d72", "#6b6761", "#918a80",
               "#7a756e", "#8a8276", "#736f69"]
    count = 11
    placed = []
    for k in range(count):
        a = 2 * math.pi * k / count + rng.uniform(-0.08, 0.08)
        r = 178 + rng.uniform(-6, 6)
        size = rng.uniform(40, 52)
        s = Stone(size * rng.uniform(1.05, 1.3), size, colours[k], 40 + k, rz=size * 0.45,
                  light=(-0.5, -0.55, 0.7), ambient=0.5)
        placed.append((s, cx + r * math.cos(a), cy + r * math.sin(a)))
    centre = Stone(74, 62, "#5f5c59", 60, rz=36, light=(-0.5, -0.55, 0.7), ambient=0.5,
                   band=(0.1, 0.12, hexrgb("#d8d2c8")))
    placed.append((centre, cx, cy))
    args += layer((W, H), *[ellipse(x + 12, y + 14, s.rx * 1.02, s.ry * 1.02, "rgba(60,45,30,0.35)")
                            for s, x, y in placed], blur=7)
    for i, (s, x, y) in enumerate(placed):
        args += place(s.sprite("ring-stone%d" % i), x, y)
    convert(*args, *finish(out_background("stonesInRing"), grain=0.35))


def draw_tall_stack():
    """A tall cairn standing in still water, mirrored below."""
    horizon = 640
    sky = [(0.0, hexrgb("#c8cbe0")), (0.4, hexrgb("#e2dbe6")), (0.64, hexrgb("#f4e5da")),
           (1.0, hexrgb("#f4e5da"))]
    bg = field("mirror-sky", 320, 200, lambda u, v: mix(stops(v, sky), hexrgb("#fff6ea"),
                                                        0.5 * glow(u, v, 0.5, 0.64, 0.2, 0.8)))
    water = field("mirror-water", 320, 80, lambda u, v: mix(
        mix(hexrgb("#e6dbd8"), hexrgb("#b7bdd0"), smooth(v)), hexrgb("#f6ece4"),
        0.45 * glow(u, v, 0.5, 0.0, 0.18, 0.8)))
    rng = random.Random(12)
    palette = ["#6e6862", "#8a8077", "#5f5d5b", "#978c80", "#74706a", "#8f867c", "#67625d", "#a0958a",
               "#7d7770"]
    sizes = [(150, 48), (128, 44), (112, 40), (96, 37), (80, 33), (66, 29), (54, 25), (42, 21), (30, 17)]
    stones = [Stone(rx, ry, palette[i], 100 + i, band=(0.0, 0.1, hexrgb("#dcd6cc")) if i == 3 else None)
              for i, (rx, ry) in enumerate(sizes)]
    drift = [0, 8, -6, 10, -4, 6, -8, 2, 4]
    placed = stack(stones, 800, horizon + 6, overlap=0.1, drift=drift)
    cairn = ["-size", "%dx%d" % (W, H), "xc:none"]
    for i, (s, cx, cy) in enumerate(placed):
        cairn += place(s.sprite("mirror-stone%d" % i), cx, cy)
    cairn_path = scratch("mirror-cairn.png")
    convert(*cairn, cairn_path)
    args = [bg, "-resize", "%dx%d!" % (W, H)]
    args += layer((W, H), "fill #b4b4c8 " + ridge(71, horizon - 24, 14, 6), blur=3, opacity=0.7)
    args += ["(", water, "-resize", "%dx%d!" % (W, H - horizon), ")", "-geometry", "+0+%d" % horizon,
             "-compose", "Over", "-composite"]
    # The mirror image: flipped about the waterline, faded, softened, slightly stretched ripples.
    args += ["(", cairn_path, "-flip", "-crop", "%dx%d+0+%d" % (W, H - horizon, H - horizon - 13),
             "+repage", "-channel", "RGBA", "-blur", "0x2.5", "+channel", "-fill", "#aab3c8", "-colorize",
             "25", "-channel", "A", "-evaluate", "multiply", "0.45", "+channel", ")", "-geometry",
             "+0+%d" % horizon, "-compose", "Over", "-composite"]
    ripples = []
    for _ in range(90):
        y = rng.uniform(horizon + 8, H)
        x = rng.uniform(300, 1300)
        length = rng.uniform(40, 220)
        ripples.append("stroke rgba(250,245,240,%.2f) stroke-width %.1f fill none line %.0f,%.0f %.0f,%.0f"
                       % (rng.uniform(0.2, 0.45), 1 + (y - horizon) / 200, x, y, x + length, y))
    args += layer((W, H), *ripples, blur=1.0)
    args += ["(", cairn_path, ")", "-compose", "Over", "-composite"]
    args += layer((W, H), ellipse(800, horizon + 6, 170, 7, "rgba(255,255,255,0.35)"), blur=4)
    convert(*args, *finish(out_background("tallStack")))


def draw_zen_stones():
    """Stones stacked where the sea meets the sand."""
    sky = [(0.0, hexrgb("#bcd0d6")), (0.42, hexrgb("#e4e6e0")), (0.43, hexrgb("#a9c3c6")),
           (0.6, hexrgb("#c6d6d2")), (0.64, hexrgb("#e3ddcf")), (1.0, hexrgb("#d9cbb3"))]
    bg = field("edge-bg", 320, 200, lambda u, v: mix(stops(v, sky), hexrgb("#fbf6ec"),
                                                    0.35 * glow(u, v, 0.3, 0.3, 0.25, 0.8)))
    args = [bg, "-resize", "%dx%d!" % (W, H)]
    rng = random.Random(44)
    waves = []
    for k in range(5):
        y = 440 + k * 36
        pts = [(x, y + 4 * math.sin(x / 90 + k)) for x in range(-20, W + 40, 20)]
        waves.append("stroke rgba(255,255,255,%.2f) stroke-width %.1f fill none polyline %s"
                     % (0.25 + 0.08 * k, 1.5 + 0.6 * k, polyline(pts)))
    args += layer((W, H), *waves, blur=1.5)
    # Foam and the darker wet sand along the water's edge.
    edge = [(x, 628 + 14 * math.sin(x / 160) + 6 * math.sin(x / 47)) for x in range(-20, W + 40, 20)]
    wet = "fill rgba(150,140,120,0.35) path 'M -20,600 L %s L %d,600 Z'" % (
        " L ".join("%.1f,%.1f" % (x, y + 30) for x, y in edge), W + 40)
    foam = "stroke rgba(255,255,255,0.85) stroke-width 6 fill none polyline " + polyline(edge)
    args += layer((W, H), wet, blur=10)
    args += layer((W, H), foam, blur=2.5)
    stones = [Stone(130, 46, "#77726b", 201), Stone(100, 40, "#8b8378", 202),
              Stone(74, 32, "#5f5c59", 203, band=(-0.1, 0.1, hexrgb("#e2ddd3"))), Stone(48, 24, "#9b9083", 204)]
    placed = stack(stones, 1130, 840, overlap=0.12, drift=[0, -10, 6, -2])
    loose = [(Stone(44, 22, "#6d6862", 210), 940, 870), (Stone(30, 16, "#948a7e", 211), 1330, 880)]
    args += layer((W, H), *shadows(placed[:1] + loose, dx=40, dy=2, spread=1.25), blur=9)
    for i, (s, x, y) in enumerate(placed + loose):
        args += place(s.sprite("edge-stone%d" % i), x, y)
    convert(*args, *finish(out_background("zenStones"), grain=0.3))


def draw_zen_stones_with_flowers():
    """A small cairn under a branch of blossom, petals drifting down."""
    wall = [(0.0, hexrgb("#efdfe0")), (0.66, hexrgb("#f6ece6")), (0.67, hexrgb("#e6d5c8")),
            (1.0, hexrgb("#dcc7b6"))]
    bg = field("flower-bg", 320, 200, lambda u, v: mix(stops(v, wall), hexrgb("#fffaf4"),
                                                      0.45 * glow(u, v, 0.45, 0.45, 0.3, 0.7)))
    args = [bg, "-resize", "%dx%d!" % (W, H)]
    args += layer((W, H), "fill none stroke rgba(255,255,255,0.6) stroke-width 3 line 0,668 1600,668", blur=1.5)
    # The branch, thick at the top right corner and tapering to the left.
    rng = random.Random(77)
    branch = [(1640, 40), (1480, 120), (1340, 150), (1210, 215), (1080, 240), (980, 300)]
    twigs = [((1340, 150), (1290, 80)), ((1210, 215), (1190, 300)), ((1480, 120), (1450, 220))]
    draws = []
    for i in range(len(branch) - 1):
        width = 22 - i * 3.5
        draws.append("stroke #6b4f45 stroke-width %.1f stroke-linecap round line %d,%d %d,%d"
                     % (width, *branch[i], *branch[i + 1]))
    for a, b in twigs:
        draws.append("stroke #6b4f45 stroke-width 6 stroke-linecap round line %d,%d %d,%d" % (*a, *b))
    args += layer((W, H), *draws, blur=0.8)
    blossoms = []
    spots = [(1400, 110), (1300, 160), (1250, 90), (1180, 225), (1100, 250), (1015, 285), (1450, 215),
             (1190, 300), (1520, 70), (1360, 190), (1060, 215)]
    for x, y in spots:
        r = rng.uniform(22, 32)
        blossoms += flower(x, y, r, rgba(mix(hexrgb("#f4b9c9"), hexrgb("#fde7ee"), rng.random())),
                           "#d9788f", angle=rng.uniform(0, 72))
    args += layer((W, H), *blossoms, blur=0.7)
    petals = []
    for _ in range(16):
        x, y = rng.uniform(700, 1400), rng.uniform(330, 640)
        petals.append("push graphic-context translate %.0f,%.0f rotate %.0f fill %s ellipse 0,0 %.1f,%.1f 0,360 "
                      "pop graphic-context" % (x, y, rng.uniform(0, 180), rgba(hexrgb("#f3b6c6"), 0.85),
                                               rng.uniform(7, 11), rng.uniform(4, 6)))
    args += layer((W, H), *petals, blur=1.2)
    stones = [Stone(120, 44, "#7c766f", 301), Stone(92, 38, "#948a7f", 302), Stone(66, 30, "#67635f", 303),
              Stone(42, 22, "#a0968a", 304)]
    placed = stack(stones, 620, 800, overlap=0.12, drift=[0, 8, -4, 4])
    args += layer((W, H), *shadows(placed[:1], dx=36, dy=2, spread=1.25), blur=9)
    for i, (s, x, y) in enumerate(placed):
        args += place(s.sprite("flower-stone%d" % i), x, y)
    ground = flower(790, 812, 30, "#f6c3d0", "#d9788f", angle=10) + flower(845, 826, 24, "#fbe2ea", "#d9788f",
                                                                            angle=40)
    ground += ["push graphic-context translate 880,806 rotate -20 fill #8fae7e ellipse 0,0 36,11 0,360 "
               "pop graphic-context"]
    args += layer((W, H), ellipse(820, 832, 80, 10, "rgba(90,60,50,0.25)"), blur=6)
    args += layer((W, H), *ground, blur=0.6)
    convert(*args, *finish(out_background("zenStonesWithFlowers"), grain=0.25))


def draw_triplets():
    """Three round stones side by side on raked sand."""
    wall = [(0.0, hexrgb("#e4e2dd")), (0.6, hexrgb("#efebe4")), (0.61, hexrgb("#ddd2c0")),
            (1.0, hexrgb("#cfc1aa"))]
    bg = field("trip-bg", 320, 200, lambda u, v: mix(stops(v, wall), hexrgb("#fbf8f2"),
                                                    0.4 * glow(u, v, 0.5, 0.5, 0.3, 0.7)))
    args = [bg, "-resize", "%dx%d!" % (W, H)]
    lines = []
    y, gap = 630, 10
    while y < H + 20:
        pts = [(x, y + 1.5 * math.sin(x / 120 + y)) for x in range(-20, W + 40, 20)]
        lines.append("stroke rgba(120,100,75,0.22) stroke-width %.1f fill none polyline %s"
                     % (1 + gap / 12, polyline([(x, yy + gap / 5) for x, yy in pts])))
        lines.append("stroke rgba(255,255,255,0.5) stroke-width %.1f fill none polyline %s"
                     % (0.8 + gap / 16, polyline(pts)))
        y += gap
        gap *= 1.12
    args += layer((W, H), *lines, blur=1.0)
    trio = [(Stone(150, 104, "#6c6965", 401, rz=110), 560, 690),
            (Stone(122, 88, "#8d8479", 402, rz=90, band=(0.05, 0.09, hexrgb("#e4dfd6"))), 820, 712),
            (Stone(98, 72, "#5b5955", 403, rz=74), 1030, 730)]
    args += layer((W, H), *[ellipse(x + 40, y + s.ry * 0.82, s.rx * 1.15, s.ry * 0.3, "rgba(60,45,30,0.5)")
                            for s, x, y in trio], blur=12)
    for i, (s, x, y) in enumerate(trio):
        args += place(s.sprite("trip-stone%d" % i), x, y)
    convert(*args, *finish(out_background("triplets"), grain=0.3))


def draw_dark_zen():
    """Night: a cairn by the water under a hazy moon."""
    horizon = 660
    sky = [(0.0, hexrgb("#141a26")), (0.5, hexrgb("#222b3b")), (0.66, hexrgb("#2b3445")),
           (1.0, hexrgb("#2b3445"))]
    bg = field("dark-sky", 320, 200, lambda u, v: mix(stops(v, sky), hexrgb("#8f9bb3"),
                                                     0.45 * glow(u, v, 0.76, 0.2, 0.16, 1.4)))
    water = field("dark-water", 320, 70, lambda u, v: mix(mix(hexrgb("#1f2734"), hexrgb("#10141c"), v),
                                                          hexrgb("#5d6880"), 0.5 * glow(u, v, 0.76, 0, 0.1, 2.5)))
    args = [bg, "-resize", "%dx%d!" % (W, H)]
    args += layer((W, H), "fill rgba(235,238,245,0.95) circle 1216,200 1264,200", blur=2)
    args += layer((W, H), "fill rgba(200,210,230,0.25) circle 1216,200 1330,200", blur=40)
    rng = random.Random(90)
    stars = ["fill rgba(230,235,250,%.2f) circle %.0f,%.0f %.1f,%.0f" % (rng.uniform(0.3, 0.8), x, y,
                                                                      x + rng.uniform(0.8, 1.8), y)
             for x, y in ((rng.uniform(0, W), rng.uniform(0, 420)) for _ in range(60))]
    args += layer((W, H), *stars, blur=0.5)
    args += layer((W, H), "fill #1a202b " + ridge(93, horizon - 30, 20, 8), blur=2)
    args += ["(", water, "-resize", "%dx%d!" % (W, H - horizon), ")", "-geometry", "+0+%d" % horizon,
             "-compose", "Over", "-composite"]
    glints = []
    for _ in range(80):
        y = rng.uniform(horizon + 6, H)
        spread = 30 + (y - horizon) * 0.35
        x = 1216 + rng.uniform(-spread, spread)
        length = rng.uniform(20, 90)
        glints.append("stroke rgba(210,220,240,%.2f) stroke-width %.1f fill none line %.0f,%.0f %.0f,%.0f"
                      % (rng.uniform(0.2, 0.55), 1 + (y - horizon) / 180, x - length / 2, y, x + length / 2, y))
    args += layer((W, H), *glints, blur=1.2)
    light = (0.6, -0.55, 0.45)
    stones = [Stone(128, 44, "#3f444d", 501, light=light, ambient=0.28, shine=0.25),
              Stone(100, 38, "#4a4e56", 502, light=light, ambient=0.28, shine=0.25),
              Stone(76, 32, "#383c44", 503, light=light, ambient=0.28, shine=0.25),
              Stone(54, 26, "#50535a", 504, light=light, ambient=0.28, shine=0.25),
              Stone(34, 18, "#42464e", 505, light=light, ambient=0.28, shine=0.25)]
    placed = stack(stones, 520, horizon + 178, overlap=0.12, drift=[0, 6, -4, 6, 0])
    rock = Stone(300, 60, "#2f3540", 500, rz=210, light=light, ambient=0.3, shine=0.12, mottle=0.1)
    args += place(rock.sprite("dark-rock"), 540, horizon + 210)
    for i, (s, x, y) in enumerate(placed):
        args += place(s.sprite("dark-stone%d" % i), x, y)
    convert(*args, *finish(out_background("darkZen"), grain=0.25))


def draw_life_in_sand():
    """A dry garden from above: raked lines flowing round three rocks."""
    bg = sand("life-sand", "#eee6d8", "#e4dac8", 61)
    args = [bg, "-resize", "%dx%d!" % (W, H)]
    rocks = [(430, 380, 92, 70, "#817a70", 601), (1090, 640, 120, 86, "#736d66", 602),
             (1320, 300, 58, 46, "#8d857a", 603)]
    rings = []
    zones = []
    spacing = 24
    for cx, cy, rx, ry, _, _ in rocks:
        count = 6
        for k in range(count):
            grow = 26 + k * spacing
            rings.append((cx, cy, rx + grow, ry + grow))
        zones.append((cx, cy, rx + 26 + count * spacing - spacing / 2, ry + 26 + count * spacing - spacing / 2))
    dark, light = "rgba(130,110,80,0.24)", "rgba(255,255,255,0.5)"
    draws = []
    for cx, cy, rx, ry in rings:
        # A groove: its shaded side below right, its lit rim above left.
        for colour, width, shift in ((dark, 5, 2), (light, 3, -2)):
            draws.append("stroke %s stroke-width %d fill none ellipse %.1f,%.1f %.1f,%.1f 0,360"
                         % (colour, width, cx + shift, cy + shift, rx, ry))

    def outside(x, y):
        return all(((x - zx) / zrx) ** 2 + ((y - zy) / zry) ** 2 > 1 for zx, zy, zrx, zry in zones)

    y = -10
    while y < H + 30:
        segment = []
        for x in range(-20, W + 41, 8):
            py = y + 6 * math.sin(x / 230 + y / 300)
            if outside(x, py):
                segment.append((x, py))
            elif segment:
                if len(segment) > 1:
                    draws += line_pair(segment, dark, light)
                segment = []
        if len(segment) > 1:
            draws += line_pair(segment, dark, light)
        y += spacing
    args += layer((W, H), *draws, blur=1.5)
    placed = []
    for i, (cx, cy, rx, ry, colour, seed) in enumerate(rocks):
        placed.append((Stone(rx, ry, colour, seed, rz=ry * 0.9, light=(-0.5, -0.55, 0.7), ambient=0.45,
                             mottle=0.12), cx, cy))
    args += layer((W, H), *[ellipse(x + 16, y + 18, s.rx, s.ry, "rgba(60,45,30,0.4)") for s, x, y in placed],
                  blur=10)
    for i, (s, x, y) in enumerate(placed):
        args += place(s.sprite("life-rock%d" % i), x, y)
    # Moss on the rocks' shaded sides.
    moss = []
    rng = random.Random(66)
    for s, x, y in placed:
        for _ in range(16):
            a = rng.uniform(0.3, 1.5)
            d = rng.uniform(0.55, 0.88)
            moss.append(ellipse(x + s.rx * d * math.cos(a), y + s.ry * d * math.sin(a), rng.uniform(5, 12),
                                rng.uniform(4, 9), rgba(hexrgb("#7f9466"), 0.3)))
    args += layer((W, H), *moss, blur=4)
    convert(*args, *finish(out_background("lifeInSand"), grain=0.35))


def line_pair(points, dark, light):
    return ["stroke %s stroke-width 5 fill none polyline %s" % (dark, polyline([(x + 2, y + 2) for x, y in points])),
            "stroke %s stroke-width 3 fill none polyline %s" % (light, polyline([(x - 2, y - 2) for x, y in points]))]


# ---------------------------------------------------------------------------------------------
# Pictures


def out_picture(name):
    return os.path.join(RES, "pictures", name + ".png")


def draw_sorry_closed():
    """The cover over vault content: a closed eye resting on a soft dusk gradient."""
    size = (1000, 800)
    bg = field("sorry-bg", 250, 200, lambda u, v: mix(
        mix(hexrgb("#cfd6e4"), hexrgb("#e8dfe6"), v), hexrgb("#f7f1ee"), 0.6 * glow(u, v, 0.5, 0.48, 0.35)))
    lid = "stroke #7d8799 stroke-width 14 stroke-linecap round fill none path 'M 330,390 Q 500,520 670,390'"
    lashes = []
    for t in (0.15, 0.32, 0.5, 0.68, 0.85):
        # Points on the lid curve and its outward normal.
        x = (1 - t) ** 2 * 330 + 2 * (1 - t) * t * 500 + t * t * 670
        y = (1 - t) ** 2 * 390 + 2 * (1 - t) * t * 520 + t * t * 390
        dx = 2 * (1 - t) * (500 - 330) + 2 * t * (670 - 500)
        dy = 2 * (1 - t) * (520 - 390) + 2 * t * (390 - 520)
        n = math.hypot(dx, dy)
        nx, ny = -dy / n, dx / n
        lashes.append("stroke #7d8799 stroke-width 11 stroke-linecap round line %.0f,%.0f %.0f,%.0f"
                      % (x + nx * 10, y + ny * 10, x + nx * 50, y + ny * 50))
    convert(bg, "-resize", "%dx%d!" % size,
            *layer(size, "fill rgba(255,255,255,0.35) ellipse 500,430 260,170 0,360", blur=40),
            *layer(size, lid, *lashes, blur=0.8),
            "-strip", "-define", "png:compression-level=9", "PNG24:" + out_picture("sorryClosed"))


def draw_tip_icon():
    """A lightbulb for help tips."""
    s = 256
    bulb = ("fill #f6c945 stroke #d9a521 stroke-width 8 path 'M 128,28 C 70,28 44,72 44,108 "
            "C 44,144 70,162 84,184 L 172,184 C 186,162 212,144 212,108 C 212,72 186,28 128,28 Z'")
    shine = "fill rgba(255,255,255,0.7) path 'M 88,70 C 100,56 116,52 126,52 C 110,60 98,74 94,96 Z'"
    base = ["fill #8d95a3 roundrectangle 86,190 170,212 8,8", "fill #7a8290 roundrectangle 92,216 164,236 8,8",
            "fill #6a717e roundrectangle 108,238 148,250 6,6"]
    filament = ("stroke #b9821a stroke-width 7 fill none stroke-linecap round "
                "polyline 104,150 116,124 128,150 140,124 152,150")
    convert("-size", "%dx%d" % (s, s), "xc:none", "-draw", bulb, "-draw", shine, "-draw", filament,
            *sum((["-draw", b] for b in base), []), "-resize", "64x64", "-strip",
            "PNG32:" + out_picture("tipIcon"))


def folder_shape(x0, y0, x1, y1, colour, tab=None):
    tab = tab or colour
    w = x1 - x0
    back = ("fill %s path 'M %d,%d Q %d,%d %d,%d L %d,%d L %d,%d L %d,%d Q %d,%d %d,%d L %d,%d Z'"
            % (tab, x0, y0 + 22, x0, y0, x0 + 16, y0, x0 + w * 0.36, y0, x0 + w * 0.44, y0 + 16,
               x1 - 14, y0 + 16, x1, y0 + 16, x1, y0 + 32, x1, y1 - 30))
    front = "fill %s roundrectangle %d,%d %d,%d 14,14" % (colour, x0, y0 + 34, x1, y1)
    return [back, front]


def draw_folder_pictures():
    """The tile pictures: a folder, a file, and the button that adds a folder."""
    s = 256
    folder = folder_shape(28, 48, 228, 212, "#8fb3de", "#6f97c8")
    folder.append("fill rgba(255,255,255,0.25) roundrectangle 28,82 228,96 6,6")
    convert("-size", "%dx%d" % (s, s), "xc:none", *sum((["-draw", d] for d in folder), []),
            "-resize", "128x128", "-strip", "PNG32:" + out_picture("folder"))
    page = ["fill #c3c9d3 path 'M 58,20 L 160,20 L 204,64 L 204,236 L 58,236 Z'",
            "fill #f4f5f7 path 'M 64,26 L 156,26 L 198,68 L 198,230 L 64,230 Z'",
            "fill #cfd4dc path 'M 156,26 L 198,68 L 156,68 Z'"]
    for i, width in enumerate((100, 84, 110, 70, 96, 60)):
        page.append("fill #9aa3b1 roundrectangle 84,%d %d,%d 3,3" % (96 + i * 20, 84 + width, 104 + i * 20))
    convert("-size", "%dx%d" % (s, s), "xc:none", *sum((["-draw", d] for d in page), []),
            "-resize", "128x128", "-strip", "PNG32:" + out_picture("contentIcon"))
    plus = folder_shape(28, 48, 228, 212, "#9cc7a4", "#7bae86")
    plus += ["stroke white stroke-width 18 stroke-linecap round line 128,104 128,184",
             "stroke white stroke-width 18 stroke-linecap round line 88,144 168,144"]
    convert("-size", "%dx%d" % (s, s), "xc:none", *sum((["-draw", d] for d in plus), []),
            "-resize", "128x128", "-strip", "PNG32:" + out_picture("newFolder"))


def draw_app_icon():
    """A sunrise inside a rounded square with an opening quotation mark above it."""
    s = 512
    sky = field("icon-sky", 128, 128, lambda u, v: mix(stops(v, [(0.0, hexrgb("#5c6fa6")), (0.5, hexrgb("#b99ab8")),
                                                                (0.8, hexrgb("#f3b59a")), (1.0, hexrgb("#f8cfa4"))]),
                                                       hexrgb("#ffe9c4"), 0.7 * glow(u, v, 0.5, 0.78, 0.25)))
    mask = scratch("icon-mask.png")
    convert("-size", "%dx%d" % (s, s), "xc:black", "-fill", "white", "-draw", "roundrectangle 24,24 488,488 104,104",
            mask)
    art = [sky, "-resize", "%dx%d!" % (s, s)]
    art += layer((s, s), "fill rgba(255,240,200,0.9) circle 256,400 256,300", blur=3)
    art += layer((s, s), "fill rgba(255,250,235,0.5) circle 256,400 256,270", blur=30)
    art += layer((s, s), "fill #6f7aa0 path 'M 0,420 C 120,400 180,412 256,418 C 340,424 420,404 512,414 L 512,512 "
                         "L 0,512 Z'", "fill #56608a path 'M 0,452 C 150,440 330,456 512,444 L 512,512 L 0,512 Z'",
                  blur=1)

    def quote(cx, cy):
        return ("fill white path 'M %d,%d C %d,%d %d,%d %d,%d L %d,%d C %d,%d %d,%d %d,%d Z' circle %d,%d %d,%d"
                % (cx - 40, cy + 4, cx - 46, cy - 60, cx - 8, cy - 108, cx + 40, cy - 124,
                   cx + 46, cy - 104, cx + 8, cy - 90, cx - 14, cy - 56, cx + 2, cy - 30,
                   cx, cy, cx + 42, cy))

    art += layer((s, s), quote(196, 240), quote(316, 240), blur=0.6)
    art += [mask, "-alpha", "off", "-compose", "CopyOpacity", "-composite"]
    big = scratch("icon-512.png")
    convert(*art, big)
    for size in (256, 128, 48):
        convert(big, "-resize", "%dx%d" % (size, size), "-strip",
                "PNG32:" + os.path.join(RES, "icons", "%d" % size, "com.morvenda.Lumisera.png"))


# ---------------------------------------------------------------------------------------------
# Symbols: drawn at 192 px with strokes of 14, then reduced to 48 px.

GREY = "#7f8896"
BLUE = "#3b82d6"
AMBER = "#e0a526"
GREEN = "#3aa35b"
RED = "#d9534f"
STROKE = "stroke %s stroke-width 14 stroke-linecap round stroke-linejoin round fill none " % GREY


def arc_path(cx, cy, r, a0, a1):
    """An arc from angle a0 to a1 (degrees, counter-clockwise, y up) as an MVG path."""
    p0 = (cx + r * math.cos(math.radians(a0)), cy - r * math.sin(math.radians(a0)))
    p1 = (cx + r * math.cos(math.radians(a1)), cy - r * math.sin(math.radians(a1)))
    large = 1 if abs(a1 - a0) > 180 else 0
    sweep = 0 if a1 > a0 else 1
    return "M %.1f,%.1f A %.1f,%.1f 0 %d,%d %.1f,%.1f" % (p0[0], p0[1], r, r, large, sweep, p1[0], p1[1])


def gear_path(cx, cy, outer, inner, hole, teeth=8):
    pts = []
    for k in range(teeth):
        base = 2 * math.pi * k / teeth
        for frac, r in ((-0.27, inner), (-0.16, outer), (0.16, outer), (0.27, inner)):
            a = base + frac * 2 * math.pi / teeth
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    ring = "M " + " L ".join("%.1f,%.1f" % p for p in pts) + " Z"
    circle = "M %.1f,%.1f A %.1f,%.1f 0 1,0 %.1f,%.1f A %.1f,%.1f 0 1,0 %.1f,%.1f Z" % (
        cx - hole, cy, hole, hole, cx + hole, cy, hole, hole, cx - hole, cy)
    return ring + " " + circle


def folder_glyph():
    return ("fill %s path 'M 16,58 Q 16,40 34,40 L 70,40 Q 78,40 84,48 L 90,56 L 158,56 Q 176,56 176,74 "
            "L 176,148 Q 176,166 158,166 L 34,166 Q 16,166 16,148 Z'" % GREY)


def badge_cut(cx=150, cy=148, r=44):
    return ("cut", "fill white circle %d,%d %d,%d" % (cx, cy, cx + r, cy))


SYMBOLS = {
    "x.circle": [STROKE + "circle 96,96 96,22", STROKE + "line 68,68 124,124", STROKE + "line 124,68 68,124"],
    "xmark.circle.fill": [
        "fill %s circle 96,96 96,14" % GREY,
        ("cut", "stroke white stroke-width 16 stroke-linecap round line 68,68 124,124 line 124,68 68,124")],
    "info.circle": [STROKE.replace(GREY, BLUE) + "circle 96,96 96,22", "fill %s circle 96,60 96,49" % BLUE,
                    STROKE.replace(GREY, BLUE) + "line 96,90 96,138"],
    "checkmark.circle.fill": [
        "fill %s circle 96,96 96,14" % BLUE,
        ("cut", "stroke white stroke-width 16 stroke-linecap round stroke-linejoin round fill none "
                "polyline 58,100 84,126 134,70")],
    "photo": [STROKE + "roundrectangle 22,38 170,154 16,16", "fill %s circle 130,76 130,62" % GREY,
              "fill %s stroke %s stroke-width 6 stroke-linejoin round polygon 38,140 78,92 104,120 124,102 156,140"
              % (GREY, GREY)],
    "photo.stack": [
        STROKE + "path 'M 46,50 L 46,40 Q 46,26 60,26 L 162,26 Q 176,26 176,40 L 176,118 Q 176,132 162,132 L 154,132'",
        ("cut", "fill white roundrectangle 4,48 164,182 20,20"),
        STROKE + "roundrectangle 18,64 154,168 16,16", "fill %s circle 118,98 118,86" % GREY,
        "fill %s stroke %s stroke-width 6 stroke-linejoin round polygon 32,156 68,114 92,138 110,122 140,156"
        % (GREY, GREY)],
    "lock.trianglebadge.exclamationmark": [
        "fill %s roundrectangle 20,84 128,170 14,14" % GREY,
        STROKE + "path 'M 44,84 L 44,62 A 30,30 0 0,1 104,62 L 104,84'",
        ("cut", "fill white stroke white stroke-width 16 stroke-linejoin round polygon 146,84 188,164 104,164"),
        "fill %s stroke %s stroke-width 12 stroke-linejoin round polygon 146,96 180,160 112,160" % (AMBER, AMBER),
        "stroke #3a3a3a stroke-width 10 stroke-linecap round line 146,114 146,136",
        "fill #3a3a3a circle 146,151 146,145"],
    "touchid": [STROKE.replace("14", "10") + "path '%s'" % arc_path(96, 100, r, a0, a1)
                for r, a0, a1 in ((76, 160, 20), (58, 195, -15), (40, 215, -35), (22, 180, -60))] + [
        STROKE.replace("14", "10") + "path 'M 38,112 Q 40,150 60,170'",
        STROKE.replace("14", "10") + "path 'M 74,112 Q 76,146 100,170'",
        STROKE.replace("14", "10") + "path 'M 96,100 Q 100,140 134,160'",
        STROKE.replace("14", "10") + "path 'M 154,112 Q 152,132 146,144'"],
    "faceid": [STROKE + "polyline 22,60 22,22 60,22", STROKE + "polyline 132,22 170,22 170,60",
               STROKE + "polyline 22,132 22,170 60,170", STROKE + "polyline 170,132 170,170 132,170",
               STROKE + "line 66,66 66,84", STROKE + "line 126,66 126,84", STROKE + "polyline 98,68 98,108 88,108",
               STROKE + "path 'M 64,128 Q 96,152 128,128'"],
    "opticid": [STROKE + "path 'M 18,96 Q 96,18 174,96 Q 96,174 18,96 Z'", "fill %s circle 96,96 96,70" % GREY,
                ("cut", "fill white circle 108,86 108,78")],
    "gear": ["fill %s fill-rule evenodd path '%s'" % (GREY, gear_path(96, 96, 84, 64, 26))],
    "cup.and.heat.waves": [
        "fill %s path 'M 28,92 L 132,92 L 132,128 Q 132,168 92,168 L 68,168 Q 28,168 28,128 Z'" % AMBER,
        STROKE.replace(GREY, AMBER) + "path 'M 132,102 Q 168,100 164,128 Q 160,148 132,146'",
        STROKE.replace(GREY, AMBER).replace("14", "10") + "path 'M 56,76 Q 46,60 56,46 Q 66,32 56,18'",
        STROKE.replace(GREY, AMBER).replace("14", "10") + "path 'M 82,76 Q 72,60 82,46 Q 92,32 82,18'",
        STROKE.replace(GREY, AMBER).replace("14", "10") + "path 'M 108,76 Q 98,60 108,46 Q 118,32 108,18'",
        STROKE.replace(GREY, AMBER).replace("14", "10") + "line 22,182 142,182"],
    "trophy": [
        "fill %s path 'M 54,26 L 138,26 L 138,84 Q 138,126 96,126 Q 54,126 54,84 Z'" % AMBER,
        STROKE.replace(GREY, AMBER).replace("14", "11") + "path 'M 56,42 L 30,42 Q 26,86 62,98'",
        STROKE.replace(GREY, AMBER).replace("14", "11") + "path 'M 136,42 L 162,42 Q 166,86 130,98'",
        "fill %s rectangle 86,124 106,150" % AMBER, "fill %s roundrectangle 58,148 134,170 8,8" % AMBER],
    "ellipsis": ["fill %s circle %d,96 %d,82" % (GREY, x, x) for x in (40, 96, 152)],
    "arrowtriangle.left.fill": [
        "fill %s stroke %s stroke-width 18 stroke-linejoin round polygon 136,34 136,158 42,96" % (GREY, GREY)],
    "arrowtriangle.right.fill": [
        "fill %s stroke %s stroke-width 18 stroke-linejoin round polygon 56,34 56,158 150,96" % (GREY, GREY)],
    "arrowshape.turn.up.right": [
        "fill %s stroke %s stroke-width 12 stroke-linejoin round polygon 176,80 120,30 120,130" % (GREY, GREY),
        STROKE.replace("14", "30") + "path 'M 124,80 L 92,80 Q 30,80 30,150 L 30,158'"],
    "square.and.arrow.up": [STROKE + "polyline 70,76 42,76 42,174 150,174 150,76 122,76",
                            STROKE + "line 96,22 96,118", STROKE + "polyline 64,52 96,20 128,52"],
    "square.and.arrow.down": [STROKE + "polyline 70,76 42,76 42,174 150,174 150,76 122,76",
                              STROKE + "line 96,16 96,120", STROKE + "polyline 64,90 96,122 128,90"],
    "filemenu.and.selection": [
        STROKE + "roundrectangle 18,22 158,138 14,14",
        STROKE.replace("14", "12") + "line 44,56 132,56", STROKE.replace("14", "12") + "line 44,82 112,82",
        STROKE.replace("14", "12") + "line 44,108 96,108",
        ("cut", "fill white stroke white stroke-width 24 stroke-linejoin round "
                "polygon 118,104 178,150 148,154 164,184 150,190 136,160 114,180"),
        "fill %s stroke %s stroke-width 6 stroke-linejoin round polygon 118,104 178,150 148,154 164,184 150,190 "
        "136,160 114,180" % (GREY, GREY)],
    "arrow.clockwise": [STROKE + "path '%s'" % arc_path(96, 106, 66, 50, -250),
                        "fill %s stroke %s stroke-width 8 stroke-linejoin round polygon 82,14 82,70 118,42"
                        % (GREY, GREY)],
    "folder.badge.plus": [folder_glyph(), badge_cut(), "fill %s circle 150,148 150,112" % GREEN,
                          ("cut", "stroke white stroke-width 10 stroke-linecap round line 150,130 150,166 "
                                  "line 132,148 168,148")],
    "folder.badge.minus": [folder_glyph(), badge_cut(), "fill %s circle 150,148 150,112" % RED,
                           ("cut", "stroke white stroke-width 10 stroke-linecap round line 132,148 168,148")],
    "folder.badge.gearshape": [folder_glyph(), badge_cut(),
                               "fill %s fill-rule evenodd path '%s'" % (GREY, gear_path(150, 148, 38, 29, 12))],
    "trash": [STROKE + "line 30,48 162,48", STROKE + "polyline 72,46 72,26 120,26 120,46",
              STROKE + "path 'M 46,60 L 56,164 Q 58,176 70,176 L 122,176 Q 134,176 136,164 L 146,60'",
              STROKE.replace("14", "10") + "line 78,84 80,150", STROKE.replace("14", "10") + "line 114,84 112,150",
              STROKE.replace("14", "10") + "line 96,84 96,150"],
    "camera": ["fill %s roundrectangle 64,36 128,70 10,10" % GREY, "fill %s roundrectangle 14,54 178,164 20,20" % GREY,
               ("cut", "fill white circle 96,110 96,72"), "fill %s circle 96,110 96,86" % GREY,
               ("cut", "fill white circle 150,80 150,72")],
}


def draw_symbol(name, parts):
    args = ["-size", "192x192", "xc:none"]
    for part in parts:
        mode, mvg = part if isinstance(part, tuple) else ("over", part)
        args += ["(", "-size", "192x192", "xc:none", "-draw", mvg, ")",
                 "-compose", "DstOut" if mode == "cut" else "Over", "-composite"]
    convert(*args, "-resize", "48x48", "-strip", "PNG32:" + os.path.join(RES, "symbols", name + ".png"))


# ---------------------------------------------------------------------------------------------


def main():
    global TMP
    version = subprocess.run(["convert", "-version"], capture_output=True, text=True).stdout \
        if shutil.which("convert") else ""
    if "ImageMagick" not in version:
        sys.exit("draw-pictures: ImageMagick's convert is missing (apt-get install imagemagick)")
    only = set(sys.argv[1:])
    for sub in ("backgrounds", "pictures", "symbols", "icons/256", "icons/128", "icons/48"):
        os.makedirs(os.path.join(RES, sub), exist_ok=True)
    jobs = {
        "background": draw_background, "stonesInRing": draw_stones_in_ring, "tallStack": draw_tall_stack,
        "zenStones": draw_zen_stones, "zenStonesWithFlowers": draw_zen_stones_with_flowers,
        "triplets": draw_triplets, "darkZen": draw_dark_zen, "lifeInSand": draw_life_in_sand,
        "sorryClosed": draw_sorry_closed, "tipIcon": draw_tip_icon, "folders": draw_folder_pictures,
        "icon": draw_app_icon,
        "symbols": lambda: [draw_symbol(n, p) for n, p in SYMBOLS.items()],
    }
    unknown = only - set(jobs)
    if unknown:
        sys.exit("draw-pictures: no such job: " + ", ".join(sorted(unknown)))
    with tempfile.TemporaryDirectory(prefix="lumisera-draw-") as tmp:
        TMP = tmp
        for name, job in jobs.items():
            if not only or name in only:
                print("drawing", name)
                job()


if __name__ == "__main__":
    main()
