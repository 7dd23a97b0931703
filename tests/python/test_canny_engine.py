"""canny_engine against the canny tool, on arrays of any layout, with bad arguments and threads."""
import os
import subprocess
from concurrent.futures import ThreadPoolExecutor

import numpy as np
import pytest

import canny_engine

CANNY = os.environ["CANNY"]


def blocks(seed, height=97, width=131):
    """Dim blocks of 8 x 8 pixels under faint noise: edges both ways, with magnitudes among
    the default thresholds so that each default value counts."""
    rng = np.random.default_rng(seed)
    picture = rng.integers(0, 64, (height // 8 + 1, width // 8 + 1)).repeat(8, 0).repeat(8, 1)
    noise = rng.integers(-2, 3, (height, width))
    return np.clip(picture[:height, :width] + noise, 0, 255).astype(np.uint8)


def tool_edges(folder, picture, settings):
    """What the canny tool makes of `picture` written as a PGM file."""
    path = folder / "picture.pgm"
    path.write_bytes(b"P5 %d %d 255\n" % picture.shape[::-1] + picture.tobytes())
    arguments = [f"--{name}={value}" for name, value in settings.items()]
    out = subprocess.run([CANNY, *arguments, "--format", "pgm", path, "-"],
                         check=True, capture_output=True).stdout
    magic, width, height, top, pixels = out.split(maxsplit=4)
    assert (magic, top) == (b"P5", b"255")
    return np.frombuffer(pixels, dtype=np.uint8).reshape(int(height), int(width))


@pytest.mark.parametrize("settings", [{}, {"t1": 0.5, "t2": 1.5, "sigma": 0.0, "steps": 1},
                                      {"t1": 4.0, "t2": 9.0, "sigma": 1.3, "steps": 2}])
def test_same_bytes_as_the_tool_whatever_the_strides(tmp_path, settings):
    picture = blocks(1)
    views = {"plain": picture, "reversed": picture[::-1, ::-1], "upside_down": picture[::-1],
             "column_major": np.asfortranarray(picture),
             "every_other": np.repeat(picture, 2, axis=1)[:, ::2],
             "transposed": picture.T, "cut": picture[17:80, 31:90], "list": picture.tolist()}
    for name, view in views.items():
        kept = np.array(view, np.uint8)
        edges = canny_engine.detect(view, **settings)
        assert edges.dtype == np.uint8 and edges.flags.c_contiguous, name
        assert np.array_equal(edges, tool_edges(tmp_path, kept, settings)), name
        assert np.array_equal(np.asarray(view), kept), name


def test_bad_arguments_refused():
    wrong_types = [np.zeros((8, 8), t) for t in (np.float32, np.int8, np.uint16, bool)]
    wrong_shapes = [np.zeros(shape, np.uint8) for shape in ((8,), (2, 8, 8), (0, 8), (8, 0))]
    wrong_shapes.append(np.lib.stride_tricks.as_strided(np.zeros(1, np.uint8), (1, 2**31), (0, 0)))
    for image, error in [(i, TypeError) for i in wrong_types + [[[0.0, 255.0]]]] + \
                        [(i, ValueError) for i in wrong_shapes + [[[0, 256]], [[-1, 0]]]]:
        with pytest.raises(error, match="image"):
            canny_engine.detect(image)
    picture = blocks(6)  # steps are whole numbers up to the tool's cap
    assert canny_engine.detect(picture, steps=canny_engine.MAX_STEPS).shape == picture.shape
    for steps, error in [(101, ValueError), (-2**40, ValueError), (2.0, TypeError)]:
        with pytest.raises(error, match="steps|integer"):
            canny_engine.detect(picture, steps=steps)


def test_threads_in_parallel_give_the_same_maps():
    rng = np.random.default_rng(7)
    pictures = [blocks(seed) for seed in (2, 3)]
    pictures += [rng.integers(0, 256, (97 + 31 * i, 64 + 45 * i), dtype=np.uint8) for i in range(6)]
    canny_engine.set_threads(1)  # each picture on one thread, then split over the default count
    try:
        assert canny_engine.threads() == 1
        alone = [canny_engine.detect(p, sigma=1.0) for p in pictures]
    finally:
        canny_engine.set_threads(0)
    with ThreadPoolExecutor(max_workers=4) as pool:
        for _ in range(3):
            together = list(pool.map(lambda p: canny_engine.detect(p, sigma=1.0), pictures))
            assert all(np.array_equal(a, b) for a, b in zip(alone, together))
