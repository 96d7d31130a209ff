#!/usr/bin/env python3
"""Makes the installer's icon, setup.ico: a box with an arrow going into it,
at 16 x 16 and 32 x 32 pixels, each in 16 and in 256 colours (palette
images with an AND mask, which every Windows version shows). Draws with the
shapes and the renderer of desktop/app/res/make_pictures.py. The build uses the
committed file; run this only after changing the drawing:

    python3 inst/app/res/make_setup_icon.py
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "..", "desktop", "app", "res"))
import make_pictures as mp  # noqa: E402

BOX = (196, 140, 30, 255)
BOX_LIGHT = (246, 200, 80, 255)
BOX_EDGE = (128, 80, 0, 255)
ARROW = (40, 100, 200, 255)


def setup_box():
    front = [(4, 16), (28, 16), (28, 30), (4, 30)]
    lid_left = [(4, 16), (1, 11), (12, 11), (15, 16)]
    lid_right = [(28, 16), (31, 11), (20, 11), (17, 16)]
    return [mp.polygon(front, BOX_LIGHT), mp.stroke(front, 1.6, BOX_EDGE, closed=True),
            mp.polygon(lid_left, BOX), mp.stroke(lid_left, 1.4, BOX_EDGE, closed=True),
            mp.polygon(lid_right, BOX), mp.stroke(lid_right, 1.4, BOX_EDGE, closed=True),
            mp.stroke([(16, 1), (16, 14)], 5.0, ARROW),
            mp.polygon([(8.5, 11), (23.5, 11), (16, 21)], ARROW)]


VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def palette_256():
    levels = [0, 51, 102, 153, 204, 255]
    cube = [(r, g, b) for r in levels for g in levels for b in levels]
    greys = [(v, v, v) for v in range(8, 248, 10)][:24]
    return VGA + cube + greys


def nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: sum((colour[k] - palette[i][k]) ** 2 for k in range(3)))


def palette_image(pixels, bits, palette):
    """An icon image: header, palette, bottom-up index rows, then the AND mask."""
    height, width = len(pixels), len(pixels[0])
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0, 0, 0, 0,
                         len(palette), 0)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    stride = ((width * bits + 31) // 32) * 4
    rows = b""
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, p in enumerate(row):
            index = nearest(p, palette) if p[3] >= 128 else 0
            if bits == 8:
                line[x] = index
            else:
                line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        rows += bytes(line)
    mask_stride = ((width + 31) // 32) * 4
    mask = b""
    for row in reversed(pixels):
        line = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(line)
    return header + colours + rows + mask


def main():
    images = []
    for bits, palette in ((4, VGA), (8, palette_256())):
        for size in (16, 32):
            pixels = mp.render(setup_box(), size, size)
            images.append((size, bits, palette_image(pixels, bits, palette)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, blob in images:
        out += struct.pack("<BBBBHHII", size, size, 16 if bits == 4 else 0, 0, 1, bits,
                           len(blob), offset)
        offset += len(blob)
    with open(os.path.join(HERE, "setup.ico"), "wb") as f:
        f.write(out + b"".join(blob for _, _, blob in images))


if __name__ == "__main__":
    main()
