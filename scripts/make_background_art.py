#!/usr/bin/env python3
"""Writes the background art shipped in the "bg" folder.

Each piece is a card-shaped picture (3.5 x 2 inches at 200 pixels an inch),
pale enough that text printed over it stays easy to read, saved as PNG.
Run from the repository root:

    python3 scripts/make_background_art.py [output-folder]

The output is deterministic, so the committed files can be regenerated.
"""
import math
import os
import struct
import sys
import zlib

WIDTH, HEIGHT = 700, 400


def write_png(path, pixel):
    """pixel(x, y) -> (r, g, b) in 0..255."""
    raw = bytearray()
    for y in range(HEIGHT):
        raw.append(0)  # no filter
        for x in range(WIDTH):
            raw += bytes(max(0, min(255, int(round(c)))) for c in pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", header))
        f.write(chunk(b"pHYs", struct.pack(">IIB", 7874, 7874, 1)))  # 200 dpi
        f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(chunk(b"IEND", b""))


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def smooth(edge0, edge1, v):
    t = max(0.0, min(1.0, (v - edge0) / (edge1 - edge0)))
    return t * t * (3 - 2 * t)


def ocean_wave(x, y):
    """White above, two soft blue waves along the bottom."""
    u = x / WIDTH
    white, pale, deep = (255, 255, 255), (214, 232, 246), (120, 170, 214)
    wave1 = 0.78 + 0.06 * math.sin(u * math.pi * 2.2 + 0.6)
    wave2 = 0.86 + 0.04 * math.sin(u * math.pi * 3.1 + 2.0)
    v = y / HEIGHT
    colour = mix(white, pale, smooth(wave1 - 0.01, wave1 + 0.01, v))
    return mix(colour, deep, 0.55 * smooth(wave2 - 0.01, wave2 + 0.01, v))


def green_corner(x, y):
    """A leaf-green arc sweeping over the top-right corner."""
    dx, dy = (x - WIDTH) / HEIGHT, y / HEIGHT
    r = math.hypot(dx, dy)
    base = mix((255, 255, 255), (244, 249, 240), y / HEIGHT)
    band = smooth(0.50, 0.52, r) * (1 - smooth(0.60, 0.62, r))
    inner = 1 - smooth(0.40, 0.42, r)
    colour = mix(base, (196, 226, 170), inner * 0.8)
    return mix(colour, (96, 160, 72), band * 0.75)


def warm_band(x, y):
    """A warm gradient band down the left edge with a thin gold rule."""
    u = x / WIDTH
    cream = (253, 250, 243)
    band = mix((236, 190, 140), (250, 226, 196), y / HEIGHT)
    colour = mix(band, cream, smooth(0.17, 0.19, u))
    rule = 1 - smooth(0.0, 0.004, abs(u - 0.215))
    return mix(colour, (190, 150, 60), rule)


def slate_lines(x, y):
    """Pale grey with fine diagonal lines, darker towards the bottom."""
    base = mix((250, 250, 252), (226, 230, 236), y / HEIGHT)
    stripe = (x + y) % 24
    line = 1 - smooth(0.0, 1.5, abs(stripe - 12))
    return mix(base, (196, 202, 212), line * 0.5)


PIECES = {
    "ocean-wave.png": ocean_wave,
    "green-corner.png": green_corner,
    "warm-band.png": warm_band,
    "slate-lines.png": slate_lines,
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join("resources", "bg")
    os.makedirs(out, exist_ok=True)
    for name, pixel in PIECES.items():
        write_png(os.path.join(out, name), pixel)


if __name__ == "__main__":
    main()
