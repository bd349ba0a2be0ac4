#!/usr/bin/env python3
"""Writes the preview's cursor files (32 x 32, two colours) beside this script.

Each cursor is drawn on a grid: '#' black, '.' white, ' ' transparent; the
hot spot is the 'X' (black). Run it again after changing a picture.
"""
import os
import struct

SIZE = 32


def grid(lines):
    rows = [line.ljust(SIZE)[:SIZE] for line in lines]
    return rows + [" " * SIZE] * (SIZE - len(rows))


def write_cursor(path, rows):
    hot = next((x, y) for y, row in enumerate(rows) for x, c in enumerate(row) if c == "X")
    stride = SIZE // 8
    xor_rows, and_rows = [], []
    for row in rows:
        xor_bits, and_bits = 0, 0
        for x, c in enumerate(row):
            bit = 1 << (SIZE - 1 - x)
            if c == " ":
                and_bits |= bit        # transparent: keep the screen
            elif c == ".":
                xor_bits |= bit        # white
        xor_rows.append(xor_bits.to_bytes(stride, "big"))
        and_rows.append(and_bits.to_bytes(stride, "big"))
    # Bitmaps run bottom-up; the header's height counts both masks.
    image = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 1, 0, 0, 0, 0, 2, 0)
    image += bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image += b"".join(reversed(xor_rows)) + b"".join(reversed(and_rows))
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hot[0], hot[1], len(image), 6 + 16)
    with open(path, "wb") as out:
        out.write(header + entry + image)


CURSORS = {
    # An arrow with a small square: something under it can be picked.
    "pick.cur": [
        "X",
        "##",
        "#.#",
        "#..#",
        "#...#",
        "#....#",
        "#.....#",
        "#......#",
        "#.......#",
        "#....#####",
        "#.#..#",
        "##  #..#",
        "     #..#     ########",
        "      ##      #......#",
        "              #......#",
        "              #......#",
        "              #......#",
        "              #......#",
        "              ########",
    ],
    # A magnifying glass.
    "zoom.cur": [
        "     #####",
        "   ##.....##",
        "  #.........#",
        " #...........#",
        " #.....#.....#",
        "#......#......#",
        "#......#......#",
        "#...#######...#",
        "#......X......#",
        "#......#......#",
        " #.....#.....#",
        " #...........#",
        "  #.........###",
        "   ##.....######",
        "     #####  ######",
        "             ######",
        "              ######",
        "               ####",
    ],
    # Four arrows: the drawing moves with the cursor.
    "pan.cur": [
        "          #",
        "         #.#",
        "        #...#",
        "       #.....#",
        "      ####.####",
        "    #    #.#    #",
        "   ##    #.#    ##",
        "  #.#    #.#    #.#",
        " #..######.######..#",
        "#.........X.........#",
        " #..######.######..#",
        "  #.#    #.#    #.#",
        "   ##    #.#    ##",
        "    #    #.#    #",
        "      ####.####",
        "       #.....#",
        "        #...#",
        "         #.#",
        "          #",
    ],
    # Cross hairs over a window's corner.
    "window.cur": [
        "      #",
        "      #",
        "      #",
        "      #",
        "      #",
        "      #",
        "######X######",
        "      #",
        "      #  # # # # # #",
        "      #",
        "      #  #         #",
        "      #",
        "         #         #",
        "",
        "         #         #",
        "",
        "         # # # # # #",
    ],
}

if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, picture in CURSORS.items():
        write_cursor(os.path.join(here, name), grid(picture))
