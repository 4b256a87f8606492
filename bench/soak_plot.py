#!/usr/bin/env python3
"""Draws the soak run's CSV as a PNG: resident memory, CPU and per-draw latency
against the minutes of the run, one panel each. Standard library only: the PNG is
written by hand (zlib + struct) and the labels use a small built-in pixel font.

usage: soak_plot.py SOAK.CSV OUT.PNG
"""

import csv
import math
import struct
import sys
import zlib

# 5x7 pixel glyphs, one string of 7 rows of 5 columns per character.
FONT = {
    "0": " ### #   ##  ### # ###  ##   # ### ",
    "1": "  #   ##    #    #    #    #   ### ",
    "2": " ### #   #    #   #   #   #   #####",
    "3": "#####   #   #     #     ##   # ### ",
    "4": "   #   ##  # # #  # #####   #    # ",
    "5": "######    ####     #    ##   # ### ",
    "6": "  ##  #   #    #### #   ##   # ### ",
    "7": "#####    #   #   #   #    #    #   ",
    "8": " ### #   ##   # ### #   ##   # ### ",
    "9": " ### #   ##   # ####    #   #  ##  ",
    ".": "                          ##   ##  ",
    "%": "##   ##  #   #   #   #   #  ##   ##",
    "-": "               #####               ",
    "/": "    #   #    #   #   #    #   #    ",
    "(": "   #   #   #    #    #     #     # ",
    ")": " #     #     #    #    #   #   #   ",
    ":": "      ##   ##        ##   ##       ",
    ",": "                     ##   ##  #    ",
    " ": "                                   ",
    "A": " ### #   ##   #######   ##   ##   #",
    "B": "#### #   ##   ##### #   ##   ##### ",
    "C": " ### #   ##    #    #    #   # ### ",
    "D": "#### #   ##   ##   ##   ##   ##### ",
    "E": "######    #    #### #    #    #####",
    "F": "######    #    #### #    #    #    ",
    "G": " ### #   ##    # ####   ##   # ####",
    "H": "#   ##   ##   #######   ##   ##   #",
    "I": " ###   #    #    #    #    #   ### ",
    "K": "#   ##  # # #  ##   # #  #  # #   #",
    "L": "#    #    #    #    #    #    #####",
    "M": "#   ### ### # ##   ##   ##   ##   #",
    "N": "#   ##   ###  ## # ##  ###   ##   #",
    "O": " ### #   ##   ##   ##   ##   # ### ",
    "P": "#### #   ##   ##### #    #    #    ",
    "R": "#### #   ##   ##### # #  #  # #   #",
    "S": " #####    #     ###     #    ##### ",
    "T": "#####  #    #    #    #    #    #  ",
    "U": "#   ##   ##   ##   ##   ##   # ### ",
    "V": "#   ##   ##   ##   ##   # # #   #  ",
    "W": "#   ##   ##   ## # ## # ## # # # # ",
    "X": "#   ##   # # #   #   # # #   ##   #",
    "Y": "#   ##   # # #   #    #    #    #  ",
}

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
GREY = (215, 215, 215)
COLOURS = [(200, 30, 30), (30, 90, 200), (20, 140, 60)]


class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [bytearray(bytes(WHITE) * width) for _ in range(height)]

    def dot(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][3 * x:3 * x + 3] = bytes(colour)

    def line(self, x0, y0, x1, y1, colour, thick=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            for dx in range(thick):
                for dy in range(thick):
                    self.dot(x + dx, y + dy, colour)

    def text(self, x, y, words, colour=BLACK, scale=2):
        for ch in words.upper():
            glyph = FONT.get(ch, FONT[" "])
            for row in range(7):
                for col in range(5):
                    if glyph[row * 5 + col] == "#":
                        for dx in range(scale):
                            for dy in range(scale):
                                self.dot(x + col * scale + dx, y + row * scale + dy, colour)
            x += 6 * scale

    def png(self):
        raw = b"".join(b"\x00" + bytes(row) for row in self.pixels)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
                + chunk(b"IEND", b""))


def label(value):
    if value == int(value):
        return str(int(value))
    return ("%.2f" % value).rstrip("0").rstrip(".")


def nice_top(value):
    """A round upper bound for an axis."""
    if value <= 0:
        return 1.0
    magnitude = 10 ** (len(str(int(value))) - 1) if value >= 1 else 0.1
    for step in (1, 2, 2.5, 5, 10):
        top = step * magnitude
        if top >= value:
            return top
    return 10 * magnitude


def panel(canvas, top, title, xs, series, bottom_axis, zero_based=True):
    """One panel: series = [(name, values)], drawn against xs (minutes). Without
    zero_based the axis spans the values' own whole-number range, so growth shows."""
    left, right, height = 110, canvas.width - 30, 190
    canvas.text(left, top - 26, title)
    values = [v for _, vs in series for v in vs if v is not None]
    if zero_based or not values:
        lo = 0.0
        hi = nice_top(max(values) * 1.1 if values else 1.0)
    else:
        lo = float(math.floor(min(values)) - 1)
        hi = float(math.ceil(max(values)) + 1)
    x_hi = max(xs) if xs and max(xs) > 0 else 1
    for i in range(6):
        y = top + height - round(height * i / 5)
        canvas.line(left, y, right, y, GREY)
        tick = label(lo + (hi - lo) * i / 5)
        canvas.text(left - 10 - 12 * len(tick), y - 7, tick)
    canvas.line(left, top, left, top + height, BLACK)
    canvas.line(left, top + height, right, top + height, BLACK)
    for m in range(0, int(x_hi) + 1, max(1, int(x_hi) // 10)):
        x = left + round((right - left) * m / x_hi)
        canvas.line(x, top + height, x, top + height + 5, BLACK)
        if bottom_axis:
            canvas.text(x - 6 * len(str(m)), top + height + 10, str(m))
    legend_x = right - 260
    for k, (name, vs) in enumerate(series):
        colour = COLOURS[k % len(COLOURS)]
        points = [(left + round((right - left) * x / x_hi), top + height - round(height * (v - lo) / (hi - lo)))
                  for x, v in zip(xs, vs) if v is not None]
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            canvas.line(x0, y0, x1, y1, colour, thick=2)
        for x, y in points:
            for dx in range(-2, 3):
                for dy in range(-2, 3):
                    canvas.dot(x + dx, y + dy, colour)
        if len(series) > 1:
            canvas.line(legend_x, top - 19 + 16 * k, legend_x + 20, top - 19 + 16 * k, colour, thick=3)
            canvas.text(legend_x + 28, top - 25 + 16 * k, name, colour)


def number(text):
    return float(text) if text not in ("", None) else None


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], newline="") as f:
        rows = list(csv.DictReader(f))
    xs = [float(r["minute"]) for r in rows]
    canvas = Canvas(1000, 860)
    panel(canvas, 50, "PROGRAM RESIDENT MEMORY (MB)", xs,
          [("RSS", [number(r["program_rss_kb"]) / 1024 for r in rows])], False, zero_based=False)
    panel(canvas, 320, "PROGRAM CPU (% OF ONE CORE, PER MINUTE)", xs,
          [("CPU", [number(r["program_cpu_pct"]) for r in rows])], False)
    panel(canvas, 590, "PER-DRAW LATENCY (MS)", xs,
          [("MEAN", [number(r["latency_mean_ms"]) for r in rows]),
           ("MAX", [number(r["latency_max_ms"]) for r in rows])], True)
    canvas.text(440, 835, "MINUTES")
    with open(sys.argv[2], "wb") as f:
        f.write(canvas.png())


if __name__ == "__main__":
    main()
