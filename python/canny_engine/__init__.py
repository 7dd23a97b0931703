"""Exact Canny edge detection for 8-bit gray NumPy arrays.

detect(image) returns the edge map of a 2-D uint8 array: 255 on edge pixels, 0 elsewhere, byte
for byte what the canny command-line tool and the Canny Demo application give for the same
picture and values. detect is a plain function of this module, so it pickles: process pools and
distributed engines (multiprocessing, concurrent.futures, Dask) map it as it is.
"""
from __future__ import annotations

import operator

import numpy as np
import numpy.typing as npt

from . import _core

__all__ = ["MAX_STEPS", "detect", "release_memory", "set_threads", "threads"]
__version__: str = _core.version

# Smoothing costs about 4 x steps multiply-adds a pixel; the canny tool stops at the same number.
MAX_STEPS = 100

_T1, _T2, _SIGMA, _STEPS = _core.defaults


def detect(image: npt.ArrayLike, t1: float = _T1, t2: float = _T2, sigma: float = _SIGMA,
           steps: int = _STEPS) -> npt.NDArray[np.uint8]:
    """Returns the Canny edge map of a 2-D 8-bit gray picture.

    image  a numpy.uint8 array of any strides (rows are y, columns x), or anything numpy.asarray
           makes one of (a nested list of whole numbers 0 to 255 included). It is never changed.
    t1     low threshold: gradient magnitudes below it are never edges. A step of one gray
           level between flat areas has magnitude 0.5.
    t2     high threshold: a magnitude of at least t2 starts an edge, which is then followed
           through neighbouring pixels whose magnitude is above t1.
    sigma  smoothing width of the recursive Gaussian; 0 smooths not at all.
    steps  number of smoothing passes, a whole number up to MAX_STEPS.

    The result is a new C-contiguous uint8 array of the image's shape, 255 on edge pixels and 0
    elsewhere. The values reach the detector as 32-bit floats and a 32-bit integer, as the
    application's sliders give them. The interpreter lock is released while the detector works,
    so threads working on different pictures run in parallel, and Ctrl-C stops a call at once.

    Raises TypeError for an array that is not uint8 (floats are never rounded silently) or steps
    that are not whole, ValueError for an image that is not 2-D, is empty or has a side longer
    than 2**31 - 1 and for steps above MAX_STEPS, and MemoryError when the detector's working
    memory cannot be had.
    """
    steps = operator.index(steps)
    if steps > MAX_STEPS:
        raise ValueError(f"steps must be at most {MAX_STEPS}, not {steps}")
    if steps < -2**31:
        raise ValueError(f"steps must be at least -2**31, not {steps}")
    return _core.detect(_gray_array(image), t1, t2, sigma, steps)


def _gray_array(image: npt.ArrayLike) -> npt.NDArray[np.generic]:
    """image as a NumPy array; nested lists of whole numbers from 0 to 255 become uint8."""
    array = np.asarray(image)
    if isinstance(image, (list, tuple)) and array.dtype.kind in "iu" and array.size:
        if array.min() < 0 or array.max() > 255:
            raise ValueError("image values must lie between 0 and 255")
        array = array.astype(np.uint8)
    return array


def release_memory() -> None:
    """Frees the working memory the detectors keep between calls (about four bytes a pixel of
    the largest picture each has seen, one detector for each call that ran at the same time);
    calls running at that moment keep theirs. The next call takes memory anew."""
    _core.release_memory()


def set_threads(count: int) -> None:
    """Sets how many threads one call splits a picture over, for the whole process; 0 returns to
    the default, the CPUs this process may run on (its affinity and cgroup quota respected).
    Lower it where several processes or threads detect at once. Edge maps do not change."""
    _core.set_threads(operator.index(count))


def threads() -> int:
    """How many threads one call splits a picture over now."""
    return _core.threads()
