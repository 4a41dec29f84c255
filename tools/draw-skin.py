#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the window's small images into res/Skin: the program logo and the caption buttons.
Python standard library only; run it after changing a shape or a colour."""
import math
import pathlib
import struct
import zlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
TARGET = ROOT / "res" / "Skin"
ACCENT = (0x3D, 0x8B, 0xFD)
LIGHT = (0xC9, 0xCF, 0xD8)


def png(size, pixels):
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def render(size, shape, color):
    """shape(x, y) in a 0..1 square; 4x4 supersampling gives smooth edges."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            hits = sum(shape((x + (i + 0.5) / 4) / size, (y + (j + 0.5) / 4) / size)
                       for i in range(4) for j in range(4))
            row.append((*color, round(255 * hits / 16)))
        rows.append(row)
    return png(size, rows)


def segment(x0, y0, x1, y1, width):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) <= width / 2
    return inside


def close_shape(x, y):
    return segment(0.36, 0.36, 0.64, 0.64, 0.05)(x, y) or segment(0.64, 0.36, 0.36, 0.64, 0.05)(x, y)


def minimize_shape(x, y):
    return segment(0.35, 0.5, 0.65, 0.5, 0.05)(x, y)


def gear_shape(x, y):
    dx, dy = x - 0.5, y - 0.5
    r = math.hypot(dx, dy)
    angle = math.atan2(dy, dx)
    teeth = 0.205 + 0.045 * (1 if math.cos(8 * angle) > 0.3 else 0)
    return 0.085 <= r <= teeth


def logo_shape(x, y):
    # A rounded square with a "V" cut out of it.
    cx, cy = min(max(x, 0.22), 0.78), min(max(y, 0.22), 0.78)
    if (x - cx) ** 2 + (y - cy) ** 2 > 0.2 ** 2 or not (0.02 <= x <= 0.98 and 0.02 <= y <= 0.98):
        return False
    return not (segment(0.3, 0.3, 0.5, 0.72, 0.11)(x, y) or segment(0.7, 0.3, 0.5, 0.72, 0.11)(x, y))


def main():
    TARGET.mkdir(parents=True, exist_ok=True)
    images = {
        "close.png": render(36, close_shape, LIGHT),
        "minimize.png": render(36, minimize_shape, LIGHT),
        "settings.png": render(36, gear_shape, LIGHT),
        "logo.png": render(64, logo_shape, ACCENT),
    }
    for name, data in images.items():
        (TARGET / name).write_bytes(data)
        print("wrote", (TARGET / name).relative_to(ROOT))


if __name__ == "__main__":
    main()
