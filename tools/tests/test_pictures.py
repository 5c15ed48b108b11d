#!/usr/bin/env python3
"""The main window's pictures in ui/assets/: their formats, read byte by byte."""

import os
import struct
import unittest

ASSETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "ui", "assets")


def read(name):
    with open(os.path.join(ASSETS, name), "rb") as f:
        return f.read()


def jpeg_segments(data):
    """[(marker, payload)] up to the start of scan, then ("SOS", None) and ("EOI", None) if it ends so."""
    if data[:2] != b"\xff\xd8":
        raise ValueError("no SOI")
    segments = []
    i = 2
    while i < len(data):
        if data[i] != 0xFF:
            raise ValueError(f"no marker at {i}")
        marker = data[i + 1]
        length = struct.unpack(">H", data[i + 2:i + 4])[0]
        segments.append((marker, data[i + 4:i + 2 + length]))
        if marker == 0xDA:
            break
        i += 2 + length
    if data[-2:] == b"\xff\xd9":
        segments.append(("EOI", None))
    return segments


class Background(unittest.TestCase):
    def test_baseline_jpeg_640_square(self):
        data = read("background.jpg")
        segments = jpeg_segments(data)
        frames = [(m, p) for m, p in segments if isinstance(m, int) and 0xC0 <= m <= 0xCF and m not in (0xC4, 0xC8, 0xCC)]
        self.assertEqual([m for m, _ in frames], [0xC0], "one baseline frame, not progressive")
        precision, height, width, components = struct.unpack(">BHHB", frames[0][1][:6])
        self.assertEqual((precision, width, height, components), (8, 640, 640, 3))
        self.assertEqual(segments[-1][0], "EOI")

    def test_about_57_kilobytes(self):
        self.assertTrue(50_000 <= len(read("background.jpg")) <= 65_000, len(read("background.jpg")))


class Icon(unittest.TestCase):
    def setUp(self):
        self.data = read("icon.ico")

    def test_one_64_pixel_32_bit_bmp_image(self):
        self.assertEqual(len(self.data), 16958)
        self.assertEqual(struct.unpack("<HHH", self.data[:6]), (0, 1, 1))
        width, height, colours, reserved, planes, bits, size, offset = struct.unpack("<BBBBHHII", self.data[6:22])
        self.assertEqual((width, height, colours, reserved, planes, bits, size, offset),
                         (64, 64, 0, 0, 1, 32, 16936, 22))
        header = struct.unpack("<IiiHHIIiiII", self.data[22:62])
        self.assertEqual(header[:6], (40, 64, 128, 1, 32, 0), "BITMAPINFOHEADER, height twice the image's")

    def test_and_mask_marks_exactly_the_transparent_pixels(self):
        pixels = self.data[62:62 + 64 * 64 * 4]
        mask = self.data[62 + 64 * 64 * 4:]
        self.assertEqual(len(mask), 64 * 8)
        transparent = opaque = 0
        for y in range(64):
            for x in range(64):
                alpha = pixels[(y * 64 + x) * 4 + 3]
                bit = (mask[y * 8 + x // 8] >> (7 - x % 8)) & 1
                self.assertEqual(bit, 1 if alpha == 0 else 0, (x, y))
                transparent += alpha == 0
                opaque += alpha == 255
        self.assertGreater(transparent, 0, "rounded corners are transparent")
        self.assertGreater(opaque, 64 * 64 // 2)
        corner = pixels[3]
        centre = pixels[(32 * 64 + 32) * 4 + 3]
        self.assertEqual((corner, centre), (0, 255))


if __name__ == "__main__":
    unittest.main()
