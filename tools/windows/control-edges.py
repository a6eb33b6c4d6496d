#!/usr/bin/env python3
"""Where the controls' edges are in a picture of the window.

  control-edges.py SHOT.rgb WIDTH HEIGHT < facts

SHOT.rgb is the window's picture as raw 8-bit RGB; the facts are the lines of
tools/window-facts. For each box's left edge (on its middle row) and top edge
(on its middle column), the picture is read from 4 px outside the box inwards:
the first pixel that differs from the outside must be the facts' edge. Prints
one "NAME left|top X" for every edge found elsewhere, nothing when all agree.
Only edges with a plain outside are read: the panel, or the white inside of
the grid box to the left (whose border lies under its neighbour). So labels
(no border), the button faces (rounded), Text6 (Text5's border shows beside
it), the top of grid rows 1 to 7 (the row above shows its border) and the top
of Text14 (the caption of Label10 stands over it) are left out.
"""
import re
import sys

REACH = 4


def main():
    shot, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    data = open(shot, "rb").read()
    if len(data) != 3 * width * height:
        sys.exit(f"{shot}: {len(data)} bytes, not {width}x{height} RGB")

    def pixel(x, y):
        at = 3 * (y * width + x)
        return data[at:at + 3]

    def first_change(points):
        outside = pixel(*points[0])
        for i, p in enumerate(points):
            if pixel(*p) != outside:
                return i
        return None

    wrong = []
    for line in sys.stdin:
        f = line.rstrip("\n").split("\t")
        if f[0] != "control" or f[1].startswith(("Label", "Command")):
            continue
        name = f[1]
        left, top, _, _, cx, cy = map(int, f[2:8])
        grid = re.fullmatch(r"Text([1-7])\(([0-7])\)", name)
        if not name.startswith("Text6("):
            i = first_change([(x, cy) for x in range(left - REACH, left + REACH + 1)])
            if i != REACH:
                wrong.append(f"{name} left {'?' if i is None else left - REACH + i}")
        if (grid is None or grid.group(2) == "0") and name != "Text14":
            i = first_change([(cx, y) for y in range(top - REACH, top + REACH + 1)])
            if i != REACH:
                wrong.append(f"{name} top {'?' if i is None else top - REACH + i}")
    print(", ".join(wrong))


if __name__ == "__main__":
    main()
