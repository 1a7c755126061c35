#!/usr/bin/env python3
"""Draws the pictures at the top of the welcome, scan, finished and scan-choice pages.

Each picture is drawn as a PPM and turned into a JPEG by ImageMagick's convert:
pg1.jpg (welcome: a broom and sparkles), pg2.jpg (scan: a magnifier over a disk),
pg4.jpg (finished: a tick), pg5.jpg (scan choice: three option bars).
Usage: make_page_pictures.py OUTPUT_FOLDER
"""
import math
import os
import subprocess
import sys

WIDTH = 136
HEIGHT = 56
SCALE = 3  # supersampling for smooth edges


def background(x, y):
    # a soft fade from light blue at the left to white at the right, with a thin frame
    t = x / WIDTH
    r = int(200 + 50 * t)
    g = int(220 + 33 * t)
    b = 250
    if x < 1 or y < 1 or x >= WIDTH - 1 or y >= HEIGHT - 1:
        return (120, 150, 200)
    return (r, g, b)


def in_circle(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_ring(x, y, cx, cy, r, w):
    d = math.hypot(x - cx, y - cy)
    return r - w <= d <= r


def near_segment(x, y, x0, y0, x1, y1, w):
    dx, dy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= w


def in_rect(x, y, left, top, right, bottom):
    return left <= x < right and top <= y < bottom


def sparkle(x, y, cx, cy, size):
    return abs(x - cx) + abs(y - cy) * 3 <= size or abs(x - cx) * 3 + abs(y - cy) <= size


def welcome(x, y):
    if near_segment(x, y, 92, 6, 60, 38, 2.2):
        return (150, 90, 40)  # handle
    if 44 <= x <= 76 and 36 <= y <= 50 and (x - 44) + (50 - y) * 0.6 >= 0 and (76 - x) + (50 - y) * 0.6 >= 0:
        return (240, 200, 60) if (x // 3) % 2 else (220, 175, 40)  # bristles
    for cx, cy, s in ((22, 16, 7), (112, 34, 6), (30, 42, 4), (120, 12, 4)):
        if sparkle(x, y, cx, cy, s):
            return (255, 255, 255) if s > 5 else (250, 230, 120)
    return None


def scan(x, y):
    if in_rect(x, y, 18, 30, 78, 46):
        if in_rect(x, y, 66, 36, 72, 40):
            return (60, 220, 90)  # disk light
        return (110, 120, 140) if y < 33 else (150, 160, 180)  # disk body
    if in_ring(x, y, 84, 22, 15, 4):
        return (40, 70, 140)  # lens rim
    if in_circle(x, y, 84, 22, 11):
        return (215, 235, 255)  # glass
    if near_segment(x, y, 95, 33, 110, 48, 3.2):
        return (40, 70, 140)  # handle
    return None


def finished(x, y):
    if near_segment(x, y, 48, 28, 62, 42, 4.5) or near_segment(x, y, 62, 42, 88, 12, 4.5):
        return (40, 160, 70)
    if in_ring(x, y, 68, 28, 25, 2):
        return (90, 180, 110)
    return None


def choice(x, y):
    for row, colour in enumerate(((60, 110, 200), (70, 150, 120), (200, 130, 60))):
        top = 8 + row * 15
        if in_rect(x, y, 24, top, 36, top + 11):
            return colour
        if in_rect(x, y, 42, top + 3, 112 - row * 14, top + 8):
            return (130, 150, 190)
    return None


def render(shape):
    rows = []
    for y in range(HEIGHT):
        row = bytearray()
        for x in range(WIDTH):
            total = [0, 0, 0]
            for sy in range(SCALE):
                for sx in range(SCALE):
                    px = x + (sx + 0.5) / SCALE
                    py = y + (sy + 0.5) / SCALE
                    colour = shape(px, py) or background(x, y)
                    for i in range(3):
                        total[i] += colour[i]
            row += bytes(c // (SCALE * SCALE) for c in total)
        rows.append(bytes(row))
    return b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT) + b"".join(rows)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    for name, shape in (("pg1", welcome), ("pg2", scan), ("pg4", finished), ("pg5", choice)):
        ppm = os.path.join(folder, name + ".ppm")
        with open(ppm, "wb") as f:
            f.write(render(shape))
        subprocess.run(["convert", ppm, "-strip", "-quality", "92", os.path.join(folder, name + ".jpg")], check=True)
        os.remove(ppm)


if __name__ == "__main__":
    main(sys.argv[1])
