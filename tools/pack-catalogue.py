#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds res/Home/Icons/Ndevice.zip: tools/catalogue/Ndevice.json plus a drawn card image pair
(normal, hover) for every image the catalogue names. Run it after editing the catalogue."""
import json
import pathlib
import struct
import zipfile
import zlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
SOURCE = ROOT / "tools" / "catalogue" / "Ndevice.json"
TARGET = ROOT / "res" / "Home" / "Icons" / "Ndevice.zip"
SIZE = 100


def png(pixels):
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in pixels)
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def coverage(shape, x, y):
    # 4x4 supersampling for smooth edges.
    hits = sum(shape(x + (i + 0.5) / 4, y + (j + 0.5) / 4) for i in range(4) for j in range(4))
    return hits / 16


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return x0 <= x <= x1 and y0 <= y <= y1 and (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


KEY = 6.5
KEY_HEIGHT = 6
KEY_GAP = 2.5


def key_row(widths, y0):
    # Keys centred in the frame, each drawn whole: a row never ends in a cut-off key.
    total = sum(widths) + KEY_GAP * (len(widths) - 1)
    left = 50 - total / 2
    spans = []
    for width in widths:
        spans.append((left, left + width))
        left += width + KEY_GAP
    return y0, spans


def glyph(kind):
    if kind == 1:  # mouse: a rounded body with a wheel and a button split
        body = rounded(32, 18, 68, 84, 17)
        return lambda x, y: body(x, y) and not (abs(x - 50) < 1.2 and y < 44) and not (
            47 <= x <= 53 and 28 <= y <= 38)
    if kind == 2:  # keyboard: a frame with three rows of whole keys, the last with a space bar
        frame = rounded(12, 32, 88, 70, 5)
        rows = [key_row([KEY] * 7, 38), key_row([KEY] * 6, 48),
                key_row([KEY, KEY, 24.5, KEY, KEY], 58)]
        def keys(x, y):
            for y0, spans in rows:
                if y0 <= y <= y0 + KEY_HEIGHT:
                    return any(left <= x <= right for left, right in spans)
            return False
        return lambda x, y: frame(x, y) and not keys(x, y)
    pad = rounded(14, 26, 86, 74, 9)  # pad: a wide mat with a light strip
    return lambda x, y: pad(x, y) and not (18 <= x <= 82 and 66 <= y <= 69)


def card(kind, hot, hue):
    shape = glyph(kind)
    outline = rounded(2, 2, 98, 98, 12)
    inner = rounded(4, 4, 96, 96, 10)
    pixels = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            a_card = coverage(outline, x, y)
            a_inner = coverage(inner, x, y)
            a_glyph = coverage(shape, x, y)
            base = (34, 37, 46) if not hot else (44, 48, 60)
            edge = hue if hot else (70, 74, 88)
            px = [edge[i] * (1 - a_inner) + base[i] * a_inner for i in range(3)]
            px = [px[i] * (1 - a_glyph) + hue[i] * a_glyph for i in range(3)]
            row.append((int(px[0]), int(px[1]), int(px[2]), int(255 * a_card)))
        pixels.append(row)
    return png(pixels)


HUES = {1: (64, 170, 255), 2: (120, 220, 120), 3: (255, 150, 60)}


def main():
    catalogue = json.loads(SOURCE.read_text(encoding="utf-8"))
    images = {}
    for entry in catalogue["NDevice"]:
        kind = entry.get("DevType", 1)
        images[entry["NormalImage"]] = card(kind, False, HUES.get(kind, HUES[1]))
        images[entry["HotImage"]] = card(kind, True, HUES.get(kind, HUES[1]))
        images[entry["PushedImage"]] = card(kind, True, HUES.get(kind, HUES[1]))
    TARGET.parent.mkdir(parents=True, exist_ok=True)
    with zipfile.ZipFile(TARGET, "w", zipfile.ZIP_DEFLATED) as archive:
        for name in sorted(images):
            archive.writestr(zipfile.ZipInfo(name, (2026, 1, 1, 0, 0, 0)), images[name], zipfile.ZIP_DEFLATED)
        archive.writestr(zipfile.ZipInfo("Ndevice.json", (2026, 1, 1, 0, 0, 0)),
                         SOURCE.read_bytes(), zipfile.ZIP_DEFLATED)
    print(f"wrote {TARGET} with {len(images)} images")


if __name__ == "__main__":
    main()
