#!/usr/bin/python3
"""Writes the picture reader's seeds: small valid files of every kind it reads.

Usage: make-picture-seeds.py FOLDER (fuzz/corpus/pictures). BMP and Netpbm
files are written byte by byte here, so that every layout is there (RLE,
top-down, 1 to 32 bits); the rest by ImageMagick's convert (Debian's
imagemagick) from a picture made here.
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

W, H = 16, 12
CONVERT = "/usr/bin/convert"


def gray(x, y):
    """A ramp with a bright square: edges for the detector, runs for RLE."""
    return 220 if 4 <= x < 10 and 3 <= y < 8 else x * 12 + y * 4


def rgb(x, y):
    return (gray(x, y), x * 15, 255 - y * 20)


def index(x, y, colours):
    return (x // 4 + y // 3 + (3 if 4 <= x < 10 and 3 <= y < 8 else 0)) % colours


def bmp(pixel_rows, bits, palette=(), compression=0, top_down=False, masks=b""):
    """A BMP with a 40-byte info header; pixel_rows are already encoded, top row first."""
    rows = pixel_rows if top_down or compression else pixel_rows[::-1]
    data = b"".join(rows)
    colours = b"".join(struct.pack("<BBBx", b, g, r) for r, g, b in palette)
    offset = 14 + 40 + len(masks) + len(colours)
    info = struct.pack("<IiiHHIIiiII", 40, W, -H if top_down else H, 1, bits, compression,
                       len(data), 2835, 2835, len(palette), 0)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + info + masks + \
        colours + data


def padded(row):
    return row + b"\0" * (-len(row) % 4)


def packed(values, bits):
    """Palette indices packed most significant first, rows padded to 4 bytes."""
    out, acc, n = bytearray(), 0, 0
    for v in values:
        acc, n = acc << bits | v, n + bits
        if n == 8:
            out.append(acc)
            acc, n = 0, 0
    if n:
        out.append(acc << (8 - n))
    return bytes(out)


def rle(values, four_bits):
    """One row in runs (RLE8, or RLE4 with its two alternating nibbles), then end of line."""
    out, x = bytearray(), 0
    while x < len(values):
        run = 1
        while x + run < len(values) and values[x + run] == values[x] and run < 255:
            run += 1
        out += bytes([run, values[x] * 17 if four_bits else values[x]])
        x += run
    return bytes(out) + b"\0\0"


def bmps():
    gray_palette = [(v, v, v) for v in range(256)]
    ramp16 = [(v * 17, 255 - v * 17, v * 8) for v in range(16)]
    idx16 = [[index(x, y, 16) for x in range(W)] for y in range(H)]
    grays = [[gray(x, y) for x in range(W)] for y in range(H)]
    files = {
        "bmp-1bit.bmp": bmp([padded(packed([index(x, y, 2) for x in range(W)], 1))
                             for y in range(H)], 1, [(0, 0, 0), (255, 255, 255)]),
        "bmp-4bit.bmp": bmp([padded(packed(r, 4)) for r in idx16], 4, ramp16),
        "bmp-8bit.bmp": bmp([padded(bytes(r)) for r in grays], 8, gray_palette),
        "bmp-24bit.bmp": bmp([padded(b"".join(bytes(rgb(x, y)[::-1]) for x in range(W)))
                              for y in range(H)], 24),
        "bmp-32bit.bmp": bmp([b"".join(bytes(rgb(x, y)[::-1]) + b"\0" for x in range(W))
                              for y in range(H)], 32),
        "bmp-32bit-bitfields.bmp": bmp(
            [b"".join(struct.pack("<I", 0xff000000 | r << 16 | g << 8 | b)
                      for r, g, b in (rgb(x, y) for x in range(W))) for y in range(H)],
            32, compression=3, masks=struct.pack("<III", 0xff0000, 0xff00, 0xff)),
        "bmp-24bit-top-down.bmp": bmp([padded(b"".join(bytes(rgb(x, y)[::-1]) for x in range(W)))
                                       for y in range(H)], 24, top_down=True),
        "bmp-8bit-top-down.bmp": bmp([padded(bytes(r)) for r in grays], 8, gray_palette,
                                     top_down=True),
    }
    # RLE rows run bottom-up, each ended by 0 0; the bitmap by 0 1.
    files["bmp-rle8.bmp"] = bmp([rle(r, False) for r in grays[::-1]] + [b"\0\1"], 8,
                                gray_palette, compression=1)
    files["bmp-rle4.bmp"] = bmp([rle(r, True) for r in idx16[::-1]] + [b"\0\1"], 4, ramp16,
                                compression=2)
    # RLE lets a picture end early: the rows not given are left to the reader.
    files["bmp-rle8-early-end.bmp"] = bmp([rle(r, False) for r in grays[::-1][:5]] + [b"\0\1"],
                                          8, gray_palette, compression=1)
    return files


def netpbms():
    grays = [gray(x, y) for y in range(H) for x in range(W)]
    bits = [[1 if gray(x, y) > 128 else 0 for x in range(W)] for y in range(H)]
    colours = [c for y in range(H) for x in range(W) for c in rgb(x, y)]
    head = lambda magic, maxval: f"{magic}\n# seed\n{W} {H}\n{maxval}\n".encode()
    plain = lambda values: "\n".join(" ".join(map(str, values[i:i + 16]))
                                     for i in range(0, len(values), 16)).encode() + b"\n"
    return {
        "pbm-plain.pbm": f"P1\n{W} {H}\n".encode() + plain(sum(bits, [])),
        "pgm-plain.pgm": head("P2", 255) + plain(grays),
        "ppm-plain.ppm": head("P3", 255) + plain(colours),
        "pbm-raw.pbm": f"P4\n{W} {H}\n".encode() + b"".join(packed(r, 1) for r in bits),
        "pgm-raw.pgm": head("P5", 255) + bytes(grays),
        "pgm-raw-16bit.pgm": head("P5", 1000) + b"".join(struct.pack(">H", v * 4) for v in grays),
        "pgm-raw-maxval-15.pgm": head("P5", 15) + bytes(v // 17 for v in grays),
        "ppm-raw.ppm": head("P6", 255) + bytes(colours),
    }


def png_with_palette():
    """A palette PNG with transparency, written here: convert picks its own colour types."""
    chunk = lambda kind, data: struct.pack(">I", len(data)) + kind + data + \
        struct.pack(">I", zlib.crc32(kind + data))
    palette = [(v * 17, 255 - v * 17, v * 8) for v in range(16)]
    rows = b"".join(b"\0" + packed([index(x, y, 16) for x in range(W)], 4) for y in range(H))
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 4, 3, 0, 0, 0)) + \
        chunk(b"PLTE", bytes(sum(map(list, palette), []))) + \
        chunk(b"tRNS", bytes(255 - v * 8 for v in range(16))) + \
        chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")


# Name (after convert's format prefix, if any), then convert's options.
CONVERTED = [
    ("png-gray.png", ["-alpha", "off", "-colorspace", "Gray", "-depth", "8", "-define", "png:color-type=0"]),
    ("png-gray-16bit.png", ["-alpha", "off", "-colorspace", "Gray", "-depth", "16", "-define", "png:color-type=0"]),
    ("png-rgb.png", ["-alpha", "off", "-depth", "8", "-define", "png:color-type=2"]),
    ("PNG48:png-rgb-16bit.png", ["-alpha", "off", "-depth", "16"]),
    ("png-rgba.png", ["-depth", "8", "-define", "png:color-type=6"]),
    ("png-interlaced.png", ["-alpha", "off", "-interlace", "PNG", "-define", "png:color-type=2"]),
    ("jpeg-gray.jpg", ["-alpha", "off", "-colorspace", "Gray", "-quality", "80"]),
    ("jpeg-colour.jpg", ["-alpha", "off", "-quality", "80"]),
    ("jpeg-progressive.jpg", ["-alpha", "off", "-interlace", "JPEG", "-quality", "80"]),
    ("gif.gif", ["-alpha", "off", "-colors", "32"]),
    ("gif-transparent.gif", ["-colors", "16"]),
    ("tiff-gray.tif", ["-alpha", "off", "-colorspace", "Gray", "-compress", "None"]),
    ("tiff-rgb-lzw.tif", ["-alpha", "off", "-compress", "LZW"]),
    ("tiff-rgba.tif", ["-compress", "Zip"]),
    ("webp-lossy.webp", ["-alpha", "off", "-quality", "80"]),
    ("webp-lossless.webp", ["-define", "webp:lossless=true"]),
]


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    files = {**bmps(), **netpbms(), "png-palette.png": png_with_palette()}
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    with tempfile.TemporaryDirectory() as scratch:
        source = os.path.join(scratch, "source.pam")
        alpha = lambda x, y: 255 if x < 12 else 60
        with open(source, "wb") as f:
            f.write(f"P7\nWIDTH {W}\nHEIGHT {H}\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n"
                    .encode())
            f.write(bytes(c for y in range(H) for x in range(W) for c in rgb(x, y) + (alpha(x, y),)))
        for entry, options in CONVERTED:
            prefix, _, name = entry.rpartition(":")
            prefix += ":" if prefix else ""
            # No dates or other metadata, so that the files come out the same each time.
            subprocess.run([CONVERT, source, "-strip", *options, prefix + os.path.join(folder, name)],
                           check=True)


if __name__ == "__main__":
    main()
