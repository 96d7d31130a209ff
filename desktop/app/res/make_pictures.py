#!/usr/bin/env python3
"""Makes the desktop program's pictures from simple drawings.

Every picture is a list of shapes in a square design grid (DESIGN units on a
side); each is rendered with 8 x 8 samples a pixel, so the same drawing gives
clean 16, 32 and 48 pixel images with soft edges. The hand cursor is pixel art.
Writes .ico and .cur files (32-bit colour with alpha, plus the AND mask that
older systems use) beside this script. Needs nothing beyond Python itself;
the build uses the committed files, so run this only after changing a drawing:

    python3 desktop/app/res/make_pictures.py
"""
import math
import os
import struct

DESIGN = 32.0
SAMPLES = 8

# Colours, RGBA.
INK = (40, 52, 72, 255)
PAPER = (255, 255, 255, 255)
LINE = (150, 160, 175, 255)
ENVELOPE = (255, 244, 200, 255)
ENVELOPE_EDGE = (47, 92, 143, 255)
FOLDER = (246, 200, 80, 255)
FOLDER_DARK = (196, 140, 30, 255)
GREEN = (40, 160, 60, 255)
RED = (210, 40, 40, 255)
BLUE = (40, 100, 200, 255)
GEAR = (110, 120, 135, 255)
WHITE = (255, 255, 255, 255)


# ---- shapes ---------------------------------------------------------------
# Each shape answers, for a point in design units, whether it covers it.

def rect(x0, y0, x1, y1, colour):
    return ("fill", colour, lambda x, y: x0 <= x <= x1 and y0 <= y <= y1)


def polygon(points, colour):
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            if (ay > y) != (by > y):
                cx = ax + (y - ay) * (bx - ax) / (by - ay)
                if x < cx:
                    hit = not hit
        return hit
    return ("fill", colour, inside)


def _segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length))
    px, py = ax + t * dx - x, ay + t * dy - y
    return math.sqrt(px * px + py * py)


def stroke(points, width, colour, closed=False):
    segments = list(zip(points, points[1:] + (points[:1] if closed else [])))
    half = width / 2.0

    def covers(x, y):
        return any(_segment_distance(x, y, a[0], a[1], b[0], b[1]) <= half for a, b in segments)
    return ("fill", colour, covers)


def circle(cx, cy, r, colour):
    return ("fill", colour, lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r)


def box(x0, y0, x1, y1, fill, edge, width=1.2):
    """A filled rectangle with an outline."""
    corners = [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]
    return [rect(x0, y0, x1, y1, fill), stroke(corners, width, edge, closed=True)]


def arc(cx, cy, r, start, end, steps=16):
    return [(cx + r * math.cos(math.radians(start + (end - start) * i / steps)),
             cy + r * math.sin(math.radians(start + (end - start) * i / steps)))
            for i in range(steps + 1)]


# ---- drawings (design grid 32 x 32) -----------------------------------------

def document(x0=5, y0=2, x1=23, y1=28, lines=True):
    fold = 6
    outline = [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]
    shapes = [polygon(outline, PAPER), stroke(outline, 1.6, INK, closed=True),
              stroke([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], 1.4, INK)]
    if lines:
        for y in range(int(y0 + 9), int(y1 - 2), 4):
            shapes.append(stroke([(x0 + 3.5, y), (x1 - 3.5, y)], 1.6, LINE))
    return shapes


def folder(x0=2, y0=7, x1=30, y1=27):
    tab = [(x0, y0 + 3), (x0, y0), (x0 + 10, y0), (x0 + 13, y0 + 3)]
    body = [(x0, y0 + 3), (x1, y0 + 3), (x1, y1), (x0, y1)]
    return [polygon(tab + [(x0 + 13, y0 + 5), (x0, y0 + 5)], FOLDER_DARK),
            polygon(body, FOLDER), stroke(body, 1.6, FOLDER_DARK, closed=True),
            stroke(tab, 1.6, FOLDER_DARK)]


def envelope(x0, y0, x1, y1):
    mid = (x0 + x1) / 2.0
    return box(x0, y0, x1, y1, ENVELOPE, ENVELOPE_EDGE, 1.8) + [
        stroke([(x0, y0), (mid, y0 + (y1 - y0) * 0.55), (x1, y0)], 1.8, ENVELOPE_EDGE)]


def plus(cx, cy, size=6.5, colour=GREEN):
    return [circle(cx, cy, size + 1.5, WHITE),
            stroke([(cx - size, cy), (cx + size, cy)], 4.2, colour),
            stroke([(cx, cy - size), (cx, cy + size)], 4.2, colour)]


def arrow_right(x0, y, x1, colour=GREEN):
    head = 7
    return [stroke([(x0, y), (x1 - head + 1, y)], 4.5, colour),
            polygon([(x1 - head, y - head), (x1, y), (x1 - head, y + head)], colour)]


def quillbox():
    return document(3, 1, 20, 24) + envelope(10, 14, 30, 29)


def new_file():
    return document(3, 1, 21, 29) + plus(23, 23)


def new_folder():
    return folder(1, 4, 27, 26) + plus(23, 23)


def delete():
    return [stroke([(7, 7), (25, 25)], 5.5, RED), stroke([(25, 7), (7, 25)], 5.5, RED)]


def help_mark():
    return [circle(16, 16, 14.5, BLUE),
            stroke(arc(16, 12, 5.5, 190, 360) + [(21.5, 12.5), (16, 17), (16, 20)], 3.6, WHITE),
            circle(16, 25, 2.4, WHITE)]


def start():
    return envelope(2, 5, 24, 21) + arrow_right(12, 24, 31)


def gear():
    shapes = []
    for i in range(8):
        a = math.radians(i * 45)
        ca, sa = math.cos(a), math.sin(a)
        tooth = [(-3.2, 10), (3.2, 10), (3.2, 15), (-3.2, 15)]
        shapes.append(polygon([(16 + px * ca - py * sa, 16 + px * sa + py * ca) for px, py in tooth], GEAR))
    shapes += [circle(16, 16, 11, GEAR), circle(16, 16, 4.5, WHITE)]
    return shapes


# The hand cursor, 32 x 32; hot spot at the finger tip.
HAND = """
.....XX..........
....X..X.........
....X..X.........
....X..X.........
....X..X.........
....X..XXX.......
....X..X..XXX....
....X..X..X..XX..
.XX.X..X..X..X.X.
X..XX........X..X
X...X...........X
.X..............X
..X.............X
..X............X.
...X...........X.
...X..........X..
....X.........X..
....X.........X..
....XXXXXXXXXXX..
"""
HAND_HOTSPOT = (5, 0)


def hand_pixels():
    rows = [r for r in HAND.strip("\n").split("\n")]
    pixels = [[(0, 0, 0, 0)] * 32 for _ in range(32)]
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch == "X":
                pixels[y][x] = (0, 0, 0, 255)
    # Fill the hand's inside white: every transparent pixel enclosed by the
    # outline on both sides of its row and below the finger tip.
    for y, row in enumerate(rows):
        xs = [x for x, ch in enumerate(row) if ch == "X"]
        if len(xs) < 2:
            continue
        for x in range(xs[0] + 1, xs[-1]):
            if row[x] != "X" and _enclosed(rows, x, y):
                pixels[y][x] = (255, 255, 255, 255)
    return pixels


def _enclosed(rows, x, y):
    up = any(rows[j][x] == "X" for j in range(0, y) if x < len(rows[j]))
    down = any(rows[j][x] == "X" for j in range(y + 1, len(rows)) if x < len(rows[j]))
    return up and down


# ---- rendering --------------------------------------------------------------

def render(shapes, width, height):
    sx = DESIGN / width
    sy = DESIGN / height
    step = 1.0 / SAMPLES
    out = []
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for j in range(SAMPLES):
                for i in range(SAMPLES):
                    x = (px + (i + 0.5) * step) * sx
                    y = (py + (j + 0.5) * step) * sy
                    colour = None
                    for _, c, covers in shapes:
                        if covers(x, y):
                            colour = c
                    if colour:
                        a = colour[3] / 255.0
                        acc[0] += colour[0] * a
                        acc[1] += colour[1] * a
                        acc[2] += colour[2] * a
                        acc[3] += a
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if alpha <= 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(round(acc[k] / acc[3])) for k in range(3)) +
                           (int(round(alpha * 255)),))
        out.append(row)
    return out


# ---- file formats -----------------------------------------------------------

def dib(pixels):
    """A 32-bit icon image: header, bottom-up BGRA rows, then the AND mask."""
    height = len(pixels)
    width = len(pixels[0])
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(pixels) for p in row)
    stride = ((width + 31) // 32) * 4
    mask = b""
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + colour + mask


def icon_file(images, kind=1, hotspot=(0, 0)):
    """An .ico (kind 1) or .cur (kind 2) file holding the given images."""
    data = [dib(p) for p in images]
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for pixels, blob in zip(images, data):
        w, h = len(pixels[0]), len(pixels)
        if kind == 1:
            planes, bits = 1, 32
        else:
            planes, bits = hotspot
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, planes, bits, len(blob), offset)
        offset += len(blob)
    return out + b"".join(data)


# The sizes each picture is drawn at: its size at 96 dots per inch, then at
# 120, 144 and 192, as the program asks for them on such screens.
DPIS = (96, 120, 144, 192)


def scaled(width, height):
    return [((width * dpi + 48) // 96, (height * dpi + 48) // 96) for dpi in DPIS]


PICTURES = {
    # name: (drawing, sizes as (width, height))
    "quillbox": (quillbox, sorted(set(scaled(16, 16) + scaled(32, 32) + scaled(48, 48)))),
    "newfile": (new_file, scaled(16, 16)),
    "newfolder": (new_folder, scaled(16, 16)),
    "delete": (delete, scaled(16, 16)),
    "help": (help_mark, scaled(16, 16)),
    "start": (start, scaled(32, 32)),
    "source": (lambda: document(5, 1, 26, 30), scaled(16, 16)),
    "destination": (folder, scaled(17, 15)),
    "options": (gear, scaled(16, 16)),
    "listfile": (lambda: document(5, 1, 26, 30), scaled(16, 16)),
    "listfolder": (folder, scaled(16, 16)),
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, (drawing, sizes) in sorted(PICTURES.items()):
        images = [render(drawing(), w, h) for w, h in sizes]
        with open(os.path.join(here, name + ".ico"), "wb") as f:
            f.write(icon_file(images))
    with open(os.path.join(here, "handpoint.cur"), "wb") as f:
        f.write(icon_file([hand_pixels()], kind=2, hotspot=HAND_HOTSPOT))


if __name__ == "__main__":
    main()
