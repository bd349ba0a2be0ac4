#!/usr/bin/env python3
"""Writes the definition editor's zoom icons (16 x 16, 32 bits) beside this script.

Each icon is drawn on a grid: '#' black, '.' white, 'o' blue, ' ' transparent.
Run it again after changing a picture.
"""
import os
import struct

SIZE = 16
COLOURS = {"#": (0, 0, 0), ".": (255, 255, 255), "o": (40, 90, 200)}


def grid(lines):
    rows = [line.ljust(SIZE)[:SIZE] for line in lines]
    return rows + [" " * SIZE] * (SIZE - len(rows))


def write_icon(path, rows):
    pixels, mask = b"", b""
    # Bitmaps run bottom-up; the header's height counts the colour and the mask.
    for row in reversed(rows):
        bits = 0
        for x, c in enumerate(row):
            if c == " ":
                pixels += bytes([0, 0, 0, 0])
                bits |= 1 << (SIZE - 1 - x)
            else:
                r, g, b = COLOURS[c]
                pixels += bytes([b, g, r, 255])
        mask += bits.to_bytes(SIZE // 8, "big") + b"\0\0"  # rows padded to 32 bits
    image = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image += pixels + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, "wb") as out:
        out.write(header + entry + image)


GLASS = [
    "   #####",
    "  #.....#",
    " #.......#",
    "#.........#",
    "#.........#",
    "#.........#",
    "#.........#",
    "#.........#",
    " #.......#",
    "  #.....##",
    "   ########",
    "         ####",
    "          ####",
    "           ####",
    "            ###",
]


def with_sign(plus):
    rows = [list(r.ljust(SIZE)) for r in GLASS]
    for x in range(3, 8):
        rows[5][x] = "o"
    if plus:
        for y in range(3, 8):
            rows[y][5] = "o"
    return ["".join(r) for r in rows]


ICONS = {
    "zoom_in.ico": with_sign(True),
    "zoom_out.ico": with_sign(False),
    # A frame with the four corners pulled out: the whole product.
    "zoom_extents.ico": [
        "####        ####",
        "#oo#        #oo#",
        "#o#          #o#",
        "##  ########  ##",
        "    #......#",
        "    #......#",
        "    #......#",
        "    #......#",
        "    #......#",
        "    #......#",
        "    #......#",
        "    ########",
        "##            ##",
        "#o#          #o#",
        "#oo#        #oo#",
        "####        ####",
    ],
}

if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, picture in ICONS.items():
        write_icon(os.path.join(here, name), grid(picture))
