#!/usr/bin/env python3
"""Makes the spectral colour strip resources/resc0001.uo from the CIE 1931
colour-matching functions in resources/cie1931_2deg_5nm.csv.

The strip is a 24-bit BMP picture, 2590 x 8 pixels, every row the same:
column x is the colour of the wavelength 400 + x * 400 / 2590 nm. The program
reads the top row as its spectrum colour table (entry 2590, black, stands for
wavelengths outside 400..800 nm and is not in the picture).

Each colour is made as follows:
  1. x_bar, y_bar, z_bar interpolated linearly between the table's rows;
     0 outside the table (below 380 nm, above 780 nm), so the strip is black
     from 780 nm on;
  2. XYZ to linear sRGB with the standard matrix (IEC 61966-2-1, D65);
  3. negative channels (colours outside the sRGB gamut) clipped to 0: the
     hues stay saturated instead of being washed out with white;
  4. one global scale for all colours, chosen so that the brightest spectral
     colour's largest channel would be EXPOSURE (4): every colour at least a
     quarter as bright as the brightest one reaches full brightness, so the
     middle of the strip shows pure hues at full strength while the ends
     (violet below about 430 nm, deep red above about 660 nm) fade to black
     as the eye's sensitivity does. A colour whose largest channel exceeds 1
     after the scale is divided by that channel, which keeps its hue;
  5. the sRGB transfer curve, then 8 bits per channel, halves to even.

Python 3 standard library only; run from anywhere:
  python3 scripts/make_spectrum_strip.py [--csv FILE] [--out FILE]
"""

import argparse
import bisect
import csv
import pathlib
import struct

WIDTH = 2590  # entries of the colour table before the black one
HEIGHT = 8
FIRST_NM = 400.0
SPAN_NM = 400.0
EXPOSURE = 4.0

# XYZ to linear sRGB (IEC 61966-2-1).
XYZ_TO_SRGB = (
    (3.2406, -1.5372, -0.4986),
    (-0.9689, 1.8758, 0.0415),
    (0.0557, -0.2040, 1.0570),
)


def read_cmf(path):
    """Rows (wavelength, x_bar, y_bar, z_bar), rising wavelengths; lines
    starting with '#' and the column-name line are skipped."""
    rows = []
    with open(path, newline="", encoding="utf-8") as f:
        for fields in csv.reader(line for line in f if not line.startswith("#")):
            if not fields or not fields[0].strip():
                continue
            try:
                rows.append(tuple(float(v) for v in fields[:4]))
            except ValueError:
                continue  # the column names
    rows.sort()
    if len(rows) < 2:
        raise SystemExit(f"{path}: fewer than two rows of colour-matching functions")
    return rows


def xyz_at(rows, nm):
    """Linear interpolation in the table; 0 outside it."""
    waves = [r[0] for r in rows]
    if nm < waves[0] or nm > waves[-1]:
        return (0.0, 0.0, 0.0)
    i = bisect.bisect_right(waves, nm) - 1
    if i >= len(rows) - 1:
        return rows[-1][1:]
    (w0, *a), (w1, *b) = rows[i], rows[i + 1]
    t = (nm - w0) / (w1 - w0)
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def linear_srgb(xyz):
    return [max(0.0, sum(m * v for m, v in zip(row, xyz))) for row in XYZ_TO_SRGB]


def encode(v):
    """sRGB transfer curve, then a byte."""
    v = min(max(v, 0.0), 1.0)
    e = 12.92 * v if v <= 0.0031308 else 1.055 * v ** (1 / 2.4) - 0.055
    return min(max(round(e * 255), 0), 255)


def strip_colours(rows):
    linear = [linear_srgb(xyz_at(rows, FIRST_NM + x * SPAN_NM / WIDTH)) for x in range(WIDTH)]
    peak = max(max(c) for c in linear)
    scale = EXPOSURE / peak
    colours = []
    for c in linear:
        s = [v * scale for v in c]
        top = max(s)
        if top > 1.0:
            s = [v / top for v in s]
        colours.append(tuple(encode(v) for v in s))  # (r, g, b)
    return colours


def bmp_24(colours, height):
    """A bottom-up 24-bit BMP whose rows all hold `colours` (r, g, b)."""
    width = len(colours)
    row = bytearray()
    for r, g, b in colours:
        row += bytes((b, g, r))
    row += b"\0" * (-len(row) % 4)  # rows padded to 4 bytes
    pixels = bytes(row) * height
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--csv", default=root / "resources" / "cie1931_2deg_5nm.csv")
    parser.add_argument("--out", default=root / "resources" / "resc0001.uo")
    args = parser.parse_args()
    colours = strip_colours(read_cmf(args.csv))
    pathlib.Path(args.out).write_bytes(bmp_24(colours, HEIGHT))
    print(f"wrote {args.out}: {len(colours)} x {HEIGHT} pixels")


if __name__ == "__main__":
    main()
