#!/usr/bin/env python3
"""Whether the tiles on a screenshot show, pixel for pixel, the cells that
`orvu-icons-cli cells` draws: each of the first N tiles' cell must appear
exactly inside the rectangle the list gives for its picture.

    screen_cells.py SCREENSHOT.png TILES.txt CELLS.txt N

TILES.txt is `window_probe tiles` output (a count, then per tile its index,
caption and picture rectangle on the screen); CELLS.txt one line of
`orvu-icons-cli cells [--size S]` (path, count, cells in hex separated by
'|'). Prints one line per tile and exits 1 when any differs.
"""
import sys

from PIL import Image


def cells_of(line):
    fields = line.rstrip("\n").split("\t")
    cells = []
    for cell in fields[2].split("|") if len(fields) > 2 and fields[2] else []:
        if cell == "null":
            cells.append(None)
            continue
        pixels = [tuple(int(cell[i + k:i + k + 2], 16) for k in (0, 2, 4))
                  for i in range(0, len(cell), 6)]
        cells.append(pixels)
    return cells


def found_at(screen, pixels, side, rect):
    left, top, right, bottom = rect
    for y in range(top, bottom - side + 1):
        for x in range(left, right - side + 1):
            if all(screen.getpixel((x + i % side, y + i // side))[:3] == pixels[i]
                   for i in range(side * side)):
                return x, y
    return None


def main():
    screenshot, tiles_file, cells_file, count = sys.argv[1:5]
    screen = Image.open(screenshot).convert("RGB")
    with open(tiles_file, encoding="utf-8") as tiles:
        rows = [line.rstrip("\n").split("\t") for line in tiles][1:]
    with open(cells_file, encoding="utf-8") as cells:
        expected = cells_of(cells.readline())
    failures = 0
    for row in rows[:int(count)]:
        index = int(row[0])
        rect = tuple(int(v) for v in row[2].split())
        pixels = expected[index]
        side = int(len(pixels) ** 0.5) if pixels else 0
        at = found_at(screen, pixels, side, rect) if pixels else None
        print(f"tile {index + 1} ({row[1]}): " + (f"cell at {at[0]},{at[1]}" if at else "DIFFERS"))
        failures += at is None
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
