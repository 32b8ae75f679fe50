#!/usr/bin/env python3
"""Writes the texture pictures shipped in the "bmbrush" folder.

Each is a seamless 64 x 64 tile (the noise wraps around at the edges) saved as
a 24-bit BMP file. Run from the repository root:

    python3 scripts/make_textures.py [output-folder]

The output is deterministic, so the committed files can be regenerated.
"""
import math
import os
import random
import struct
import sys

SIZE = 64


def write_bmp(path, pixels):
    """pixels: rows top to bottom of (r, g, b) tuples."""
    height = len(pixels)
    width = len(pixels[0])
    row_bytes = (width * 3 + 3) & ~3
    image_size = row_bytes * height
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + image_size, 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, image_size, 3780, 3780, 0, 0)
    rows = []
    for row in reversed(pixels):  # BMP rows run bottom up
        data = bytearray()
        for r, g, b in row:
            data += bytes((b, g, r))
        data += b"\0" * (row_bytes - width * 3)
        rows.append(bytes(data))
    with open(path, "wb") as f:
        f.write(header + info + b"".join(rows))


class TileNoise:
    """Value noise on a lattice that wraps, so that tiles join without seams."""

    def __init__(self, seed, cells_x, cells_y):
        rng = random.Random(seed)
        self.cx, self.cy = cells_x, cells_y
        self.grid = [[rng.random() for _ in range(cells_x)] for _ in range(cells_y)]

    def at(self, x, y):
        fx = x / SIZE * self.cx
        fy = y / SIZE * self.cy
        x0, y0 = int(fx), int(fy)
        tx, ty = fx - x0, fy - y0
        tx, ty = tx * tx * (3 - 2 * tx), ty * ty * (3 - 2 * ty)
        g = self.grid
        a = g[y0 % self.cy][x0 % self.cx]
        b = g[y0 % self.cy][(x0 + 1) % self.cx]
        c = g[(y0 + 1) % self.cy][x0 % self.cx]
        d = g[(y0 + 1) % self.cy][(x0 + 1) % self.cx]
        return (a * (1 - tx) + b * tx) * (1 - ty) + (c * (1 - tx) + d * tx) * ty


def fractal(seed, octaves, stretch_x=1, stretch_y=1):
    layers = [TileNoise(seed + i, max(1, (4 << i) // stretch_x), max(1, (4 << i) // stretch_y))
              for i in range(octaves)]

    def value(x, y):
        total, weight, w = 0.0, 0.0, 1.0
        for layer in layers:
            total += layer.at(x, y) * w
            weight += w
            w *= 0.5
        return total / weight
    return value


def mix(c1, c2, t):
    t = min(1.0, max(0.0, t))
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(c1, c2))


def image(shade):
    return [[shade(x, y) for x in range(SIZE)] for y in range(SIZE)]


def paper():
    grain = fractal(11, 4)
    fine = random.Random(12)
    return image(lambda x, y: mix((232, 226, 210), (250, 247, 238), grain(x, y) * 0.8 + fine.random() * 0.2))


def linen():
    slub = fractal(21, 3)

    def shade(x, y):
        warp = 0.5 + 0.5 * math.cos(x * math.pi / 2)   # a thread every 4 pixels
        weft = 0.5 + 0.5 * math.cos(y * math.pi / 2)
        t = 0.35 * warp + 0.35 * weft + 0.3 * slub(x, y)
        return mix((196, 184, 158), (236, 228, 208), t)
    return image(shade)


def wood():
    turbulence = fractal(31, 3, stretch_x=1, stretch_y=4)

    def shade(x, y):
        rings = math.sin(2 * math.pi * (y / SIZE * 5 + 0.6 * turbulence(x, y)))
        t = 0.5 + 0.5 * rings
        return mix((112, 66, 32), (176, 118, 66), t ** 0.7)
    return image(shade)


def marble():
    turbulence = fractal(41, 4)

    def shade(x, y):
        v = abs(math.sin(2 * math.pi * ((x + y) / SIZE * 2 + 1.4 * turbulence(x, y))))
        return mix((120, 124, 132), (244, 244, 240), v ** 0.35)
    return image(shade)


def brushed_metal():
    streaks = fractal(51, 4, stretch_x=4, stretch_y=1)
    fine = random.Random(52)

    def shade(x, y):
        return mix((150, 154, 160), (214, 218, 224), streaks(x, y) * 0.85 + fine.random() * 0.15)
    return image(shade)


TEXTURES = {
    "paper.bmp": paper,
    "linen.bmp": linen,
    "wood.bmp": wood,
    "marble.bmp": marble,
    "brushed-metal.bmp": brushed_metal,
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join("resources", "bmbrush")
    os.makedirs(out, exist_ok=True)
    for name, make in TEXTURES.items():
        write_bmp(os.path.join(out, name), make())
        print(os.path.join(out, name))


if __name__ == "__main__":
    main()
