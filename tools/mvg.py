"""A small drawing list rendered by ImageMagick's convert (MVG draw primitives).

The picture scripts describe shapes and text here and get the encoded image back. The
renderer is /usr/bin/convert from Debian's imagemagick package; the Chinese text uses the
WenQuanYi Zen Hei font from fonts-wqy-zenhei.
"""

import os
import subprocess

CONVERT = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"
FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
# Chunks that carry the time of writing: left out so that a second run gives the same bytes.
PNG_REPRODUCIBLE = ["-define", "png:exclude-chunks=date,time,tIME,zTXt,tEXt,iTXt", "-strip"]


def quote(text):
    return "'" + text.replace("\\", "\\\\").replace("'", "\\'") + "'"


class Drawing:
    def __init__(self, width, height, background="white"):
        """background: a colour, or any convert image source such as "gradient:#123-#000"."""
        self.width = width
        self.height = height
        self.background = background if ":" in background else "xc:" + background
        self.ops = []

    def raw(self, op):
        self.ops.append(op)

    def style(self, fill="none", stroke="none", width=1):
        self.ops.append(f"fill {quote(fill)} stroke {quote(stroke)} stroke-width {width}")

    def rect(self, x0, y0, x1, y1, fill, stroke="none", width=1, radius=0):
        self.style(fill, stroke, width)
        if radius:
            self.ops.append(f"roundrectangle {x0},{y0} {x1},{y1} {radius},{radius}")
        else:
            self.ops.append(f"rectangle {x0},{y0} {x1},{y1}")

    def line(self, x0, y0, x1, y1, stroke, width=1):
        self.style("none", stroke, width)
        self.ops.append(f"line {x0},{y0} {x1},{y1}")

    def polygon(self, points, fill, stroke="none", width=1):
        self.style(fill, stroke, width)
        self.ops.append("polygon " + " ".join(f"{x:.1f},{y:.1f}" for x, y in points))

    def circle(self, cx, cy, r, fill, stroke="none", width=1):
        self.style(fill, stroke, width)
        self.ops.append(f"circle {cx},{cy} {cx + r},{cy}")

    def ellipse(self, cx, cy, rx, ry, fill):
        self.style(fill)
        self.ops.append(f"ellipse {cx},{cy} {rx},{ry} 0,360")

    def text(self, x, y, text, size=16, fill="#202020", weight=None):
        self.ops.append(f"font {quote(FONT)} font-size {size} stroke 'none' fill {quote(fill)}")
        if weight:
            self.ops.append(f"font-weight {weight}")
        self.ops.append(f"text {x},{y} {quote(text)}")

    def arrow(self, x0, y0, x1, y1, color, width=4, head=14):
        """A line from (x0, y0) with an arrow head at (x1, y1)."""
        import math
        angle = math.atan2(y1 - y0, x1 - x0)
        bx = x1 - head * math.cos(angle)
        by = y1 - head * math.sin(angle)
        self.line(x0, y0, bx, by, color, width)
        left = (bx + head * 0.6 * math.sin(angle), by - head * 0.6 * math.cos(angle))
        right = (bx - head * 0.6 * math.sin(angle), by + head * 0.6 * math.cos(angle))
        self.polygon([(x1, y1), left, right], color)

    def render(self, output_format="png", extra=()):
        """The encoded picture's bytes (convert writes it to standard output)."""
        command = [CONVERT, "-size", f"{self.width}x{self.height}", self.background,
                   "-draw", "\n".join(self.ops), "-depth", "8", *extra]
        if output_format == "png":
            command += PNG_REPRODUCIBLE + ["png24:-"]
        else:
            command += [f"{output_format}:-"]
        return subprocess.run(command, check=True, stdout=subprocess.PIPE).stdout
