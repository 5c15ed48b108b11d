#!/usr/bin/env python3
"""Draws the main window's pictures into ui/assets/:

    background.jpg  640 x 640 baseline JPEG, a dark forest at night (about 57 KB)
    icon.ico        one 64 x 64 32-bit image in the BMP form (16,958 bytes)

    make_pictures.py [--out FOLDER]

The shapes come from fixed seeds; ImageMagick's convert renders them (see mvg.py), and
this script writes the icon's container itself, so its layout is exactly the one above.
"""

import argparse
import math
import os
import random
import struct
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from mvg import CONVERT, FONT, Drawing  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BACKGROUND_SIZE = 640
BACKGROUND_TARGET_BYTES = 57000
ICON_SIZE = 64


def pine(d, x, base, height, colour, rng):
    """A pine tree: a trunk and four stacked, slightly ragged tiers."""
    width = height * 0.42
    d.rect(x - width * 0.05, base - height * 0.12, x + width * 0.05, base, "#0a0d0c")
    for tier in range(4):
        top = base - height * (1.0 - tier * 0.2)
        bottom = base - height * (0.45 - tier * 0.12)
        half = width * (0.28 + tier * 0.09)
        wobble = rng.uniform(-0.05, 0.05) * half
        d.polygon([(x, top), (x + half + wobble, bottom), (x + half * 0.35, bottom - height * 0.03),
                   (x - half * 0.35, bottom - height * 0.03), (x - half - wobble, bottom)], colour)


def background_drawing():
    rng = random.Random("background")
    n = BACKGROUND_SIZE
    d = Drawing(n, n, "gradient:#16283a-#030807")
    for _ in range(140):  # stars, fainter towards the horizon
        x, y = rng.uniform(0, n), rng.uniform(0, n * 0.45)
        alpha = int(255 * rng.uniform(0.25, 0.9) * (1 - y / (n * 0.5)))
        d.circle(round(x, 1), round(y, 1), rng.choice([0.6, 0.8, 1.1]), f"#ffffff{alpha:02x}")
    for radius, alpha in [(90, 0x10), (60, 0x18), (42, 0x26)]:  # the moon's halo
        d.circle(470, 120, radius, f"#dfe8d0{alpha:02x}")
    d.circle(470, 120, 30, "#eef2df")
    for cx, cy, r in [(461, 112, 6), (479, 128, 4), (476, 106, 3)]:  # craters
        d.circle(cx, cy, r, "#d3d9c2")
    # Distant ridges, then rows of pines from the far (misty, bluish) to the near (black).
    for i, (height, colour) in enumerate([(0.56, "#1b2f3a"), (0.62, "#142630")]):
        points = [(0, n)]
        for step in range(0, n + 40, 40):
            points.append((step, n * (height + 0.05 * math.sin(step / 70.0 + i * 2) +
                                      rng.uniform(-0.015, 0.015))))
        points.append((n, n))
        d.polygon(points, colour)
    rows = [(0.66, 70, "#17303a", 34), (0.72, 100, "#112631", 26), (0.80, 150, "#0c1c22", 18),
            (0.90, 230, "#07120f", 11), (1.02, 360, "#030806", 6)]
    for k, (base, height, colour, count) in enumerate(rows):
        for i in range(count):
            x = (i + rng.uniform(0.1, 0.9)) * n / count
            pine(d, round(x, 1), base * n, height * rng.uniform(0.8, 1.2), colour, rng)
        if k == 3:  # the forest floor in front of the far rows
            d.rect(0, round(base * n - 6), n, n, "#050b09")
        if k < 3:  # mist between the rows
            for _ in range(6):
                d.ellipse(round(rng.uniform(0, n)), round(base * n + 8), round(rng.uniform(90, 200)),
                          round(rng.uniform(8, 18)), "#8fb3b822")
    return d


def write_background(path):
    d = background_drawing()
    # A little grain, so the gradients do not band, then a soft blur; JPEG quality is chosen
    # to come nearest the target size.
    source = d.render("png", extra=["-seed", "1", "-attenuate", "0.5", "+noise", "Gaussian", "-blur", "0x0.6"])
    best = None
    for quality in range(60, 96):
        data = subprocess.run([CONVERT, "png:-", "-strip", "-interlace", "none", "-sampling-factor",
                               "2x2,1x1,1x1", "-quality", str(quality), "jpeg:-"],
                              input=source, check=True, stdout=subprocess.PIPE).stdout
        if best is None or abs(len(data) - BACKGROUND_TARGET_BYTES) < abs(len(best[1]) - BACKGROUND_TARGET_BYTES):
            best = (quality, data)
    with open(path, "wb") as f:
        f.write(best[1])
    return best


def icon_pixels():
    """RGBA bytes, top row first, of the 64 x 64 icon (drawn at 256 x 256 and scaled down)."""
    s = 256
    d = Drawing(s, s, "none")
    d.rect(8, 8, 248, 248, "#0f3b2a", "#7fd1a0", 6, radius=48)
    rng = random.Random("icon")
    for x, h in [(46, 70), (84, 96), (200, 84), (224, 62)]:
        pine(d, x, 236, h, "#1f6b47", rng)
    d.text(44, 190, "汉", 176, "#ffe08a")
    d.raw("stroke '#ffe08a' stroke-width 7")
    d.raw("text 44,190 '汉'")
    command = [CONVERT, "-background", "none", "-size", f"{s}x{s}", "xc:none", "-draw", "\n".join(d.ops),
               "-resize", f"{ICON_SIZE}x{ICON_SIZE}", "-depth", "8", "rgba:-"]
    data = subprocess.run(command, check=True, stdout=subprocess.PIPE).stdout
    assert len(data) == ICON_SIZE * ICON_SIZE * 4, len(data)
    return data


def ico_bytes(rgba, size=ICON_SIZE):
    """An ICO with one 32-bit image: BITMAPINFOHEADER, BGRA rows bottom-up, then the AND mask."""
    rows = [rgba[y * size * 4:(y + 1) * size * 4] for y in range(size)]
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = row[4 * x:4 * x + 4]
            xor += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(REPO, "ui", "assets"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    quality, jpeg = write_background(os.path.join(args.out, "background.jpg"))
    print(f"background.jpg: {len(jpeg)} bytes at quality {quality}")
    ico = ico_bytes(icon_pixels())
    with open(os.path.join(args.out, "icon.ico"), "wb") as f:
        f.write(ico)
    print(f"icon.ico: {len(ico)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
