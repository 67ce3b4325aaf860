#!/usr/bin/env python3
"""Draws the tag tree's five 16-colour bitmaps and writes them as 4-bit BMPs.

Run it from anywhere: `python3 resources/draw_bitmaps.py [OUTDIR]` (default:
this script's folder). The output is deterministic, so a redraw that changes
no picture changes no byte. Edit the pictures below and run it again.

HTML0 is one 16 x 16 picture. The other four are 32 x 32: the image list
cuts a bitmap into 16 x 16 images by its width alone, so the two pictures in
the top half become two consecutive images (the tree uses the first) and the
empty bottom half never reaches the list.
"""
import os
import struct
import sys

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# One character per pixel. The list has no mask, so the background is drawn
# in the tree's window colour, white.
INK = {
    "#": 0,   # black outline
    "m": 1,   # maroon
    "o": 3,   # olive
    "n": 4,   # navy
    "t": 6,   # teal
    "s": 7,   # silver
    "g": 8,   # grey
    "r": 9,   # red
    "y": 11,  # yellow
    "b": 12,  # blue
    "a": 14,  # aqua
    ".": 15,  # white background
}

HOUSE = [
    "................",
    ".......##.......",
    "......#rr#..##..",
    ".....#rrrr#.##..",
    "....#rrrrrr###..",
    "...#rrrrrrrr#...",
    "..#rrrrrrrrrr#..",
    ".##############.",
    "..#ssssssssss#..",
    "..#sbbss####s#..",
    "..#sbbss#oo#s#..",
    "..#sssss#oo#s#..",
    "..#sbbss#oo#s#..",
    "..#sssss#oo#s#..",
    "..############..",
    "................",
]

FOLDER_CLOSED = [
    "................",
    "................",
    "..#####.........",
    ".#yyyyy#........",
    "#yyyyyyy######..",
    "#ssssssssssss#..",
    "#syyyyyyyyyyyo#.",
    "#syyyyyyyyyyyo#.",
    "#syyyyyyyyyyyo#.",
    "#syyyyyyyyyyyo#.",
    "#syyyyyyyyyyyo#.",
    "#syyyyyyyyyyyo#.",
    "#ooooooooooooo#.",
    ".##############.",
    "................",
    "................",
]

FOLDER_OPEN = [
    "................",
    "................",
    "..#####.........",
    ".#yyyyy#........",
    "#yyyyyyy#####...",
    "#ysssssssssy#...",
    "#ys##########...",
    "#y#yyyyyyyyyy#..",
    "#y#yyyyyyyyyyy#.",
    "##yyyyyyyyyyyy#.",
    "#yyyyyyyyyyyyo#.",
    "#yyyyyyyyyyyo#..",
    "#ooooooooooo#...",
    ".###########....",
    "................",
    "................",
]

TAG = [
    "................",
    "................",
    "....#########...",
    "...#aaaaaaaaa#..",
    "..#aaaaaaaaaaa#.",
    ".#aa##aaaaaaaa#.",
    "#aaa#.#aaaaaaa#.",
    "#aaa#.#attttta#.",
    ".#aa##aaaaaaaa#.",
    "..#aaaaattttta#.",
    "...#aaaaaaaaaa#.",
    "....##########..",
    "................",
    "................",
    "................",
    "................",
]


def recolour(picture, mapping):
    return ["".join(mapping.get(c, c) for c in row) for row in picture]


def greyed(picture):
    """The second picture of a pair: the same shape, drawn disabled."""
    return recolour(picture, {"y": "s", "o": "g", "a": "s", "t": "g", "r": "g", "b": "g"})


HIGHLIGHT = {"a": "y", "t": "r"}
TAG_HIGHLIGHTED = recolour(TAG, HIGHLIGHT)

BLANK = ["." * 16] * 16


def pair(picture):
    """A 32 x 32 sheet: the picture and its greyed twin on top, blank below."""
    second = greyed(picture)
    top = [a + b for a, b in zip(picture, second)]
    return top + [a + b for a, b in zip(BLANK, BLANK)]


BITMAPS = [
    ("html0.bmp", HOUSE),
    ("htmlp.bmp", pair(FOLDER_CLOSED)),
    ("htmlsp.bmp", pair(FOLDER_OPEN)),
    ("htmlc.bmp", pair(TAG)),
    ("htmlsc.bmp", pair(TAG_HIGHLIGHTED)),
]


def encode_bmp(rows):
    height = len(rows)
    width = len(rows[0])
    for row in rows:
        if len(row) != width:
            raise ValueError("ragged picture row: %r" % row)
    stride = ((width + 7) // 8) * 4  # 4 bits a pixel, rows padded to 4 bytes
    pixels = bytearray()
    for row in reversed(rows):  # BMP rows run bottom-up
        line = bytearray(stride)
        for x, c in enumerate(row):
            index = INK[c]
            line[x // 2] |= index << 4 if x % 2 == 0 else index
        pixels += line
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels),
                       2835, 2835, 16, 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + bytes(pixels)


def main():
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for name, rows in BITMAPS:
        with open(os.path.join(outdir, name), "wb") as out:
            out.write(encode_bmp(rows))


if __name__ == "__main__":
    main()
