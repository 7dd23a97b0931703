"""canny_engine against the canny tool, on real pictures, with bad arrays and threads."""
import os
import struct
import subprocess
import zlib
from concurrent.futures import ThreadPoolExecutor

import numpy as np
import pytest

import canny_engine

CANNY = os.environ["CANNY"]
GRAY_PICTURES = [os.path.join(os.environ["SOURCE_DIR"], p) for p in
                 ("resources/pictures/firstPic.png", "tests/tools/data/coins.png")]
SETTINGS = [{}, {"t1": 0.5, "t2": 1.5, "sigma": 0.0, "steps": 1},
            {"t1": 4.0, "t2": 9.0, "sigma": 1.3, "steps": 2}]


def read_gray_png(path):
    """The pixels of an 8-bit gray, non-interlaced PNG, as the sample gray pictures are."""
    data, at, idat = open(path, "rb").read(), 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", data[at + 8:at + 21])
            assert (depth, colour, interlace) == (8, 0, 0)
        idat += data[at + 8:at + 8 + length] if kind == b"IDAT" else b""
        at += 12 + length
    raw, rows, up = zlib.decompress(idat), [], [0] * (width + 1)
    for y in range(height):
        kind, row = raw[y * (width + 1)], [0] + list(raw[y * (width + 1) + 1:(y + 1) * (width + 1)])
        for x in range(1, width + 1):  # row[0] and up[0] stand for the pixels left of the picture
            a, b, c = row[x - 1], up[x], up[x - 1]
            pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
            paeth = a if pa <= pb and pa <= pc else b if pb <= pc else c
            row[x] = (row[x] + (0, a, b, (a + b) // 2, paeth)[kind]) & 255
        rows.append(row[1:])
        up = row
    return np.array(rows, dtype=np.uint8)


def tool_edges(picture_file, settings):
    arguments = [f"--{name}={value}" for name, value in settings.items()]
    out = subprocess.run([CANNY, *arguments, "--format", "pgm", picture_file, "-"],
                         check=True, capture_output=True).stdout
    magic, width, height, top, pixels = out.split(maxsplit=4)
    assert (magic, top) == (b"P5", b"255")
    return np.frombuffer(pixels, dtype=np.uint8).reshape(int(height), int(width))


@pytest.mark.parametrize("settings", SETTINGS)
@pytest.mark.parametrize("picture", GRAY_PICTURES)
def test_same_bytes_as_the_tool(picture, settings):
    image = read_gray_png(picture)
    kept = image.copy()
    edges = canny_engine.detect(image, **settings)
    assert edges.dtype == np.uint8 and edges.flags.c_contiguous
    assert np.array_equal(edges, tool_edges(picture, settings))
    assert np.array_equal(image, kept)


def test_any_strides_read_as_the_picture_they_show(tmp_path):
    picture = read_gray_png(GRAY_PICTURES[1])
    wide = np.zeros((picture.shape[0], picture.shape[1] * 2), dtype=np.uint8)
    wide[:, ::2] = picture
    views = {"reversed": picture[::-1, ::-1], "column_major": np.asfortranarray(picture),
             "every_other": wide[:, ::2], "transposed": picture.T, "cut": picture[17:200, 31:90]}
    for name, view in views.items():
        kept = view.copy()
        header = b"P5 %d %d 255\n" % (view.shape[1], view.shape[0])
        (tmp_path / f"{name}.pgm").write_bytes(header + view.tobytes())
        edges = canny_engine.detect(view, t1=1.0, t2=3.0)
        assert np.array_equal(edges, tool_edges(tmp_path / f"{name}.pgm", {"t1": 1, "t2": 3})), name
        assert np.array_equal(view, kept), name


def test_bad_arrays_refused():
    wrong_types = [np.zeros((8, 8), t) for t in (np.float32, np.int8, np.uint16, bool)]
    wrong_shapes = [np.zeros(shape, np.uint8) for shape in ((8,), (2, 8, 8), (0, 8), (8, 0))]
    for image, error in [(i, TypeError) for i in wrong_types + [[[0, 255], [255, 0]]]] + \
                        [(i, ValueError) for i in wrong_shapes]:
        with pytest.raises(error, match="image"):
            canny_engine.detect(image)


def test_threads_in_parallel_give_the_same_maps():
    rng = np.random.default_rng(7)
    pictures = [read_gray_png(p) for p in GRAY_PICTURES]
    pictures += [rng.integers(0, 256, (97 + 31 * i, 64 + 45 * i), dtype=np.uint8) for i in range(6)]
    alone = [canny_engine.detect(p, sigma=1.0) for p in pictures]
    with ThreadPoolExecutor(max_workers=4) as pool:
        for _ in range(3):
            together = list(pool.map(lambda p: canny_engine.detect(p, sigma=1.0), pictures))
            assert all(np.array_equal(a, b) for a, b in zip(alone, together))
