#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the window's images: into res/Skin the program logo, the caption buttons (close,
minimise, settings, updater, version window) and the glyphs
of the lighting panels (check boxes, option marks, colour swatch states, the menu chevron); into
res/PadKorv/<model>/Skin the picture of each mouse pad with its lit edge; into res/Home/LightShow
the home page's picture of the devices (connected, kept in step, none).
Python standard library only; run it after changing a shape or a colour."""
import colorsys
import math
import pathlib
import struct
import zlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
TARGET = ROOT / "res" / "Skin"
ACCENT = (0x3D, 0x8B, 0xFD)
ACCENT_HOT = (0x5A, 0x9D, 0xFF)
LIGHT = (0xC9, 0xCF, 0xD8)
MUTED = (0x8A, 0x91, 0x9C)
DIM = (0x4A, 0x50, 0x5A)
CARD = (0x1F, 0x23, 0x2A)
WHITE = (0xFF, 0xFF, 0xFF)


def png(size, pixels, height=None):
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size if height is None else height, 8, 6, 0, 0, 0)
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


def update_shape(x, y):
    """A circular arrow: a ring open at the top right, its head pointing into the gap."""
    dx, dy = x - 0.5, y - 0.5
    r = math.hypot(dx, dy)
    angle = math.degrees(math.atan2(dy, dx))
    if 0.17 <= r <= 0.22 and not -75 < angle < -25:
        return True
    end = math.radians(-75)
    px, py = 0.5 + 0.195 * math.cos(end), 0.5 + 0.195 * math.sin(end)
    tx, ty = -math.sin(end), math.cos(end)   # the clockwise direction of the ring there
    nx, ny = math.cos(end), math.sin(end)    # outwards
    corners = [(px + tx * 0.11, py + ty * 0.11), (px + nx * 0.085, py + ny * 0.085),
               (px - nx * 0.085, py - ny * 0.085)]

    def side(a, b):
        return (b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0])
    signs = [side(corners[i], corners[(i + 1) % 3]) for i in range(3)]
    return all(v >= 0 for v in signs) or all(v <= 0 for v in signs)


def version_shape(x, y):
    """An "i" in a ring: the version window."""
    r = math.hypot(x - 0.5, y - 0.5)
    return (0.19 <= r <= 0.235 or math.hypot(x - 0.5, y - 0.395) <= 0.032
            or segment(0.5, 0.47, 0.5, 0.61, 0.056)(x, y))


def logo_shape(x, y):
    # A rounded square with a "V" cut out of it.
    cx, cy = min(max(x, 0.22), 0.78), min(max(y, 0.22), 0.78)
    if (x - cx) ** 2 + (y - cy) ** 2 > 0.2 ** 2 or not (0.02 <= x <= 0.98 and 0.02 <= y <= 0.98):
        return False
    return not (segment(0.3, 0.3, 0.5, 0.72, 0.11)(x, y) or segment(0.7, 0.3, 0.5, 0.72, 0.11)(x, y))


# Larger pictures are painted in layers on a canvas; each layer is a signed distance (pixels,
# negative inside) whose edge pixel is covered by half, so edges are smooth without supersampling.

class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]  # premultiplied

    def paint(self, distance, colour, alpha=1.0, box=None):
        """colour is an (r, g, b) or a function (x, y) -> (r, g, b); alpha a number or a
        function (x, y, distance) -> 0..1 that replaces the edge coverage."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        for y in range(max(0, int(y0)), min(self.height, int(math.ceil(y1)))):
            for x in range(max(0, int(x0)), min(self.width, int(math.ceil(x1)))):
                px, py = x + 0.5, y + 0.5
                d = distance(px, py)
                a = alpha(px, py, d) if callable(alpha) else alpha * min(1.0, max(0.0, 0.5 - d))
                if a <= 0:
                    continue
                r, g, b = colour(px, py) if callable(colour) else colour
                cell = self.pixels[y * self.width + x]
                keep = 1 - a
                cell[0] = r / 255 * a + cell[0] * keep
                cell[1] = g / 255 * a + cell[1] * keep
                cell[2] = b / 255 * a + cell[2] * keep
                cell[3] = a + cell[3] * keep

    def encode(self):
        rows = []
        for y in range(self.height):
            row = []
            for cell in self.pixels[y * self.width:(y + 1) * self.width]:
                a = cell[3]
                if a <= 0:
                    row.append((0, 0, 0, 0))
                    continue
                row.append(tuple(round(min(1.0, c / a) * 255) for c in cell[:3]) + (round(a * 255),))
            rows.append(row)
        return png(self.width, rows, self.height)


def rounded_box(cx, cy, half_w, half_h, radius):
    def distance(x, y):
        qx, qy = abs(x - cx) - half_w + radius, abs(y - cy) - half_h + radius
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return distance


def circle(cx, cy, radius):
    return lambda x, y: math.hypot(x - cx, y - cy) - radius


def ring(distance, width):
    """The band of `width` pixels centred on the outline of a shape."""
    return lambda x, y: abs(distance(x, y)) - width / 2


def inside_band(distance, width):
    """The band of `width` pixels just inside the outline of a shape."""
    return lambda x, y: abs(distance(x, y) + width / 2) - width / 2


def stroke(x0, y0, x1, y1, width):
    def distance(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) - width / 2
    return distance


def union(*shapes):
    return lambda x, y: min(shape(x, y) for shape in shapes)


def hue(turn, saturation=0.85, value=1.0):
    r, g, b = colorsys.hsv_to_rgb(turn % 1.0, saturation, value)
    return round(r * 255), round(g * 255), round(b * 255)


# Glyphs of the lighting panels, 18 x 18: the check box of a colour slot and of the symmetry
# switch, the mark that picks the single colour.

GLYPH = 18


def check_glyph(checked, colour):
    canvas = Canvas(GLYPH, GLYPH)
    box = rounded_box(9, 9, 7.5, 7.5, 3.5)
    if checked:
        canvas.paint(box, colour)
        canvas.paint(union(stroke(5.2, 9.4, 7.9, 12.1, 2.0), stroke(7.9, 12.1, 13, 6.2, 2.0)), WHITE)
    else:
        canvas.paint(inside_band(box, 1.6), colour)
    return canvas.encode()


def radio_glyph(selected, colour):
    canvas = Canvas(GLYPH, GLYPH)
    outline = circle(9, 9, 7.5)
    if selected:
        canvas.paint(outline, colour)
        canvas.paint(circle(9, 9, 3.2), WHITE)
    else:
        canvas.paint(inside_band(outline, 1.6), colour)
    return canvas.encode()


# States of a colour swatch (a button whose background is the slot's colour), drawn over that
# colour at the swatch's size. A light ring with a dark hairline inside shows on any colour.

SWATCH = (50, 30)
SWATCH_ROUND = 6


def swatch_ring(light_alpha, shade):
    width, height = SWATCH
    canvas = Canvas(width, height)
    outline = rounded_box(width / 2, height / 2, width / 2, height / 2, SWATCH_ROUND)
    if shade:
        canvas.paint(outline, (0, 0, 0), shade)
    canvas.paint(inside_band(outline, 2.0), WHITE, light_alpha)
    inner = rounded_box(width / 2, height / 2, width / 2 - 2, height / 2 - 2, SWATCH_ROUND - 2)
    canvas.paint(inside_band(inner, 1.0), (0x1B, 0x1E, 0x24), 0.7)
    return canvas.encode()


def swatch_disabled():
    """A slot switched off: its colour dimmed under the card's colour and hatched."""
    width, height = SWATCH
    canvas = Canvas(width, height)
    outline = rounded_box(width / 2, height / 2, width / 2, height / 2, SWATCH_ROUND)
    canvas.paint(outline, CARD, 0.78)

    def hatch(x, y):
        along = (x + y) % 8
        return min(along, 8 - along) - 0.7
    canvas.paint(lambda x, y: max(outline(x, y), hatch(x, y)), MUTED, 0.35)
    return canvas.encode()


def chevron():
    canvas = Canvas(12, 12)
    canvas.paint(union(stroke(2.5, 4.5, 6, 8, 1.6), stroke(6, 8, 9.5, 4.5, 1.6)), LIGHT)
    return canvas.encode()


# The mouse pads, seen from above on their card of the pad page: a dark cloth with the LED
# strip along its edge, lit in a running rainbow, each LED a bright dot, the glow spilling onto
# the card. The card is PAD_CARD pixels; the picture is the card's background.

PAD_CARD = (300, 373)


def perimeter_points(cx, cy, half_w, half_h, radius, count):
    """`count` points spread evenly along a rounded rectangle's outline, clockwise from the
    middle of the top edge."""
    straight_w, straight_h = 2 * (half_w - radius), 2 * (half_h - radius)
    arc = math.pi * radius / 2
    pieces = [("line", straight_w / 2, (cx, cy - half_h), (1, 0)),
              ("arc", arc, (cx + half_w - radius, cy - half_h + radius), -math.pi / 2),
              ("line", straight_h, (cx + half_w, cy - half_h + radius), (0, 1)),
              ("arc", arc, (cx + half_w - radius, cy + half_h - radius), 0.0),
              ("line", straight_w, (cx + half_w - radius, cy + half_h), (-1, 0)),
              ("arc", arc, (cx - half_w + radius, cy + half_h - radius), math.pi / 2),
              ("line", straight_h, (cx - half_w, cy + half_h - radius), (0, -1)),
              ("arc", arc, (cx - half_w + radius, cy - half_h + radius), math.pi),
              ("line", straight_w / 2, (cx - half_w + radius, cy - half_h), (1, 0))]
    total = sum(piece[1] for piece in pieces)
    points = []
    for index in range(count):
        left = (index + 0.5) * total / count
        for kind, length, start, way in pieces:
            if left > length:
                left -= length
                continue
            if kind == "line":
                points.append((start[0] + way[0] * left, start[1] + way[1] * left))
            else:
                angle = way + left / radius
                points.append((start[0] + radius * math.cos(angle), start[1] + radius * math.sin(angle)))
            break
    return points


def draw_pad(cloth_size, leds, stand=False):
    width, height = PAD_CARD
    canvas = Canvas(width, height)
    cloth_w, cloth_h = cloth_size
    cx, cy = width / 2, height / 2 + (14 if stand else 0)
    radius = 14
    cloth = rounded_box(cx, cy, cloth_w / 2, cloth_h / 2, radius)

    def strip_colour(x, y):
        return hue(math.atan2(y - cy, (x - cx) * cloth_h / cloth_w) / (2 * math.pi) + 0.62)

    # The glow on the card and a soft shadow under the cloth.
    canvas.paint(cloth, strip_colour, lambda x, y, d: 0.42 * math.exp(-d / 9) if d > 0 else 0)
    below = rounded_box(cx, cy + 6, cloth_w / 2, cloth_h / 2, radius)
    canvas.paint(below, (0, 0, 0), lambda x, y, d: 0.5 * max(0.0, 1 - (d + 3) / 14) ** 2)
    # The cloth: a little lighter towards the top, with a fine weave.
    def cloth_colour(x, y):
        shade = 0x2A - round(10 * (y - (cy - cloth_h / 2)) / cloth_h)
        weave = 2 if (int(x) + int(y)) % 4 == 0 else 0
        return shade + weave, shade + 2 + weave, shade + 8 + weave
    canvas.paint(cloth, cloth_colour)
    # The strip: a lit band along the edge, its LEDs as bright dots.
    canvas.paint(inside_band(cloth, 5), strip_colour)
    canvas.paint(inside_band(cloth, 1), WHITE, 0.25)
    points = perimeter_points(cx, cy, cloth_w / 2 - 2.5, cloth_h / 2 - 2.5, radius - 2.5, leds)
    for x, y in points:
        canvas.paint(circle(x, y, 4.5), strip_colour, lambda px, py, d: 0.5 * max(0.0, min(1.0, 0.5 - d)),
                     box=(x - 6, y - 6, x + 6, y + 6))
        canvas.paint(circle(x, y, 2.1), WHITE, box=(x - 3, y - 3, x + 3, y + 3))
    # The controller at the top edge with its cable leaving the picture.
    box_y = cy - cloth_h / 2 + 2
    canvas.paint(stroke(cx, box_y, cx, 0, 3), (0x3A, 0x40, 0x4C))
    canvas.paint(rounded_box(cx, box_y, 17, 6, 3), (0x15, 0x18, 0x1D))
    canvas.paint(inside_band(rounded_box(cx, box_y, 17, 6, 3), 1), (0x3A, 0x40, 0x4C))
    canvas.paint(circle(cx, box_y, 2), ACCENT_HOT)
    # A faint mark of the brand in the cloth's lower right corner.
    mark = 22
    mx, my = cx + cloth_w / 2 - 20 - mark, cy + cloth_h / 2 - 20 - mark
    canvas.paint(lambda x, y: 0.5 - logo_shape((x - mx) / mark, (y - my) / mark) if
                 0 <= x - mx < mark and 0 <= y - my < mark else 1, (0x3A, 0x40, 0x4C), 0.8,
                 box=(mx, my, mx + mark, my + mark))
    if stand:
        draw_headset_stand(canvas, cx + cloth_w / 2 - 40, cy - cloth_h / 2 + 4)
    return canvas.encode()


def draw_headset_stand(canvas, x, y):
    """Seen from above on the pad's top right corner: the base, its post, and a headset hung
    on it (headband across, an ear cup at each end)."""
    base = rounded_box(x, y, 30, 24, 10)
    canvas.paint(base, (0, 0, 0), lambda px, py, d: 0.4 * math.exp(-d / 4) if d > 0 else 0)
    canvas.paint(base, (0x3A, 0x40, 0x4C))
    canvas.paint(inside_band(base, 1), (0x5A, 0x61, 0x6C))
    canvas.paint(circle(x, y, 6), (0x5A, 0x61, 0x6C))
    band = stroke(x - 22, y + 2, x + 22, y + 2, 8)
    canvas.paint(band, (0x15, 0x18, 0x1D))
    for side in (-1, 1):
        cup = rounded_box(x + side * 27, y + 2, 7, 15, 6)
        canvas.paint(cup, (0x15, 0x18, 0x1D))
        canvas.paint(inside_band(cup, 1.5), (0x3A, 0x40, 0x4C))
    canvas.paint(circle(x, y + 2, 2.2), ACCENT_HOT)


# The home page's picture of the devices a shared effect reaches, seen from above: a keyboard, a
# pad and a mouse on it. "_1": connected, each lit in its own colour; "_2": kept in step, one
# rainbow running across all three; "_NULL": no device, outlines only.

DESK = (280, 307)
GLOW = 9


def draw_desk(state):
    width, height = DESK
    canvas = Canvas(width, height)
    lit = state != "null"

    def light(x, y):
        return hue(x / width * 0.9 + y / height * 0.15 + 0.55)

    def own(colour):
        return lambda x, y: colour

    keyboard = rounded_box(140, 74, 122, 46, 10)
    pad = rounded_box(140, 214, 126, 70, 14)
    # The shapes' own boxes, for the glow around them.
    mouse = union(rounded_box(196, 214, 19, 30, 18), circle(196, 196, 19))
    colours = {"keyboard": own(hue(0.95)), "pad": own(hue(0.42)), "mouse": own(hue(0.6))}
    if state == "step":
        colours = {name: light for name in colours}
    body = (0x15, 0x18, 0x1D)
    edge = (0x3A, 0x40, 0x4C) if lit else DIM
    for name, shape, box in (("keyboard", keyboard, (18, 28, 262, 120)),
                             ("pad", pad, (14, 144, 266, 284))):
        if lit:
            # The glow fades out to nothing within GLOW pixels, inside the picture's edge.
            canvas.paint(shape, colours[name],
                         lambda x, y, d: 0.45 * max(0.0, math.exp(-d / 6) - math.exp(-GLOW / 6))
                         if d > 0 else 0,
                         box=(box[0] - GLOW, box[1] - GLOW, box[2] + GLOW, box[3] + GLOW))
            canvas.paint(shape, body)
            canvas.paint(inside_band(shape, 3), colours[name])
        else:
            canvas.paint(inside_band(shape, 1.5), edge)
    # The keys: five rows, the last one with the space bar.
    for row in range(5):
        y = 44 + row * 15
        keys = [(24 + col * 17, 13) for col in range(14)] if row < 4 else \
            [(24, 13), (41, 13), (58, 13), (75, 110), (189, 13), (206, 13), (223, 13), (240, 13)]
        for x, w in keys:
            key = rounded_box(x + w / 2 - 3, y + 6, w / 2, 6, 2.5)
            if lit:
                canvas.paint(key, (0x2A, 0x2F, 0x38), box=(x - 4, y - 1, x + w + 1, y + 13))
                canvas.paint(inside_band(key, 1), colours["keyboard"], 0.55, box=(x - 4, y - 1, x + w + 1, y + 13))
            else:
                canvas.paint(inside_band(key, 1), DIM, 0.6, box=(x - 4, y - 1, x + w + 1, y + 13))
    # The mouse on the pad, with its lit wheel and logo.
    if lit:
        canvas.paint(mouse, (0, 0, 0), lambda x, y, d: 0.5 * max(0.0, 1 - d / 8) ** 2 if d > 0 else 0,
                     box=(166, 160, 226, 256))
        canvas.paint(mouse, (0x22, 0x26, 0x2E), box=(170, 170, 222, 250))
        canvas.paint(inside_band(mouse, 2), colours["mouse"], box=(170, 170, 222, 250))
        canvas.paint(stroke(196, 180, 196, 198, 5), colours["mouse"])
        canvas.paint(circle(196, 228, 4), colours["mouse"])
    else:
        canvas.paint(inside_band(mouse, 1.5), edge, box=(170, 170, 222, 250))
        canvas.paint(stroke(196, 180, 196, 198, 1.5), edge)
    return canvas.encode()
# Icons of the macro item list, 25 x 25: the item's kind and its press, release or direction.
def any_of(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def arrow(x0, y0, x1, y1, width=0.09, head=0.22):
    """A line from (x0, y0) to (x1, y1) with a head at its end."""
    length = math.hypot(x1 - x0, y1 - y0)
    ux, uy = (x1 - x0) / length, (y1 - y0) / length
    left = (x1 - head * (ux * 0.7 - uy * 0.7), y1 - head * (uy * 0.7 + ux * 0.7))
    right = (x1 - head * (ux * 0.7 + uy * 0.7), y1 - head * (uy * 0.7 - ux * 0.7))
    return any_of(segment(x0, y0, x1, y1, width), segment(x1, y1, *left, width),
                  segment(x1, y1, *right, width))


def keyboard_shape(x, y):
    body = rounded_box(0.5, 0.52, 0.42, 0.27, 0.06)
    if 0.0 < -body(x, y) < 0.07:
        return True
    keys = [(0.26 + 0.16 * i, 0.42) for i in range(4)] + [(0.26 + 0.16 * i, 0.56) for i in range(4)]
    if any(abs(x - kx) < 0.045 and abs(y - ky) < 0.04 for kx, ky in keys):
        return True
    return abs(x - 0.5) < 0.22 and abs(y - 0.68) < 0.035


def mouse_shape(x, y):
    body = rounded_box(0.5, 0.52, 0.24, 0.36, 0.22)
    d = body(x, y)
    return (-0.07 < d < 0.0) or (abs(x - 0.5) < 0.035 and 0.18 < y < 0.42) or (
        abs(y - 0.42) < 0.035 and abs(x - 0.5) < 0.24 and d < 0)


def move_shape(x, y):
    return any_of(arrow(0.5, 0.5, 0.5, 0.1), arrow(0.5, 0.5, 0.5, 0.9), arrow(0.5, 0.5, 0.1, 0.5),
                  arrow(0.5, 0.5, 0.9, 0.5))(x, y)


def macro_icons():
    icons = {
        "KB2.png": render(25, keyboard_shape, LIGHT),
        "mouse.png": render(25, mouse_shape, LIGHT),
        "move.png": render(25, move_shape, LIGHT),
        "KeyDown.png": render(25, arrow(0.5, 0.15, 0.5, 0.85, 0.12, 0.3), (0x35, 0xD4, 0x6A)),
        "KeyUp.png": render(25, arrow(0.5, 0.85, 0.5, 0.15, 0.12, 0.3), (0xFF, 0x8A, 0x1F)),
        # Pointer moves 3..6: left and down, left and up, right and down, right and up.
        "1.png": render(25, arrow(0.8, 0.2, 0.2, 0.8, 0.12, 0.3), ACCENT_HOT),
        "2.png": render(25, arrow(0.8, 0.8, 0.2, 0.2, 0.12, 0.3), ACCENT_HOT),
        "3.png": render(25, arrow(0.2, 0.2, 0.8, 0.8, 0.12, 0.3), ACCENT_HOT),
        "4.png": render(25, arrow(0.2, 0.8, 0.8, 0.2, 0.12, 0.3), ACCENT_HOT),
    }
    return {ROOT / "res" / "MacroKorv" / "png" / name: data for name, data in icons.items()}


def main():
    TARGET.mkdir(parents=True, exist_ok=True)
    images = {
        "close.png": render(36, close_shape, LIGHT),
        "minimize.png": render(36, minimize_shape, LIGHT),
        "settings.png": render(36, gear_shape, LIGHT),
        "update.png": render(36, update_shape, LIGHT),
        "version.png": render(36, version_shape, LIGHT),
        "logo.png": render(64, logo_shape, ACCENT),
        "check_off.png": check_glyph(False, MUTED),
        "check_off_hot.png": check_glyph(False, LIGHT),
        "check_on.png": check_glyph(True, ACCENT),
        "check_on_hot.png": check_glyph(True, ACCENT_HOT),
        "radio_off.png": radio_glyph(False, MUTED),
        "radio_off_hot.png": radio_glyph(False, LIGHT),
        "radio_on.png": radio_glyph(True, ACCENT),
        "radio_on_hot.png": radio_glyph(True, ACCENT_HOT),
        "radio_disabled.png": radio_glyph(False, DIM),
        "swatch_hot.png": swatch_ring(0.9, 0),
        "swatch_pushed.png": swatch_ring(0.6, 0.25),
        "swatch_disabled.png": swatch_disabled(),
        "chevron_down.png": chevron(),
    }
    pads = {
        # A desk pad of 800 x 380 mm with 14 LEDs along its edge.
        ROOT / "res" / "PadKorv" / "PadA" / "Skin" / "pad.png": lambda: draw_pad((268, 128), 14),
        # The extended pad, 900 x 500 mm, with 20 LEDs and a headset stand.
        ROOT / "res" / "PadKorv" / "PadB" / "Skin" / "pad.png": lambda: draw_pad((276, 152), 20, True),
    }
    show = ROOT / "res" / "Home" / "LightShow"
    for state, suffix in (("own", "_1"), ("step", "_2"), ("null", "_NULL")):
        pads[show / ("PublicLed" + suffix + ".png")] = (lambda state=state: draw_desk(state))
    outputs = {TARGET / name: data for name, data in images.items()}
    for path, draw in pads.items():
        outputs[path] = draw()
    outputs.update(macro_icons())
    for path, data in outputs.items():
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        print("wrote", path.relative_to(ROOT))


if __name__ == "__main__":
    main()
