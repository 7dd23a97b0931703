# The compiled edge detector; canny_engine's functions check and convert what they hand it.
import numpy as np
import numpy.typing as npt

version: str
defaults: tuple[float, float, float, int]

def detect(image: npt.NDArray[np.uint8], t1: float, t2: float, sigma: float,
           steps: int) -> npt.NDArray[np.uint8]: ...
def release_memory() -> None: ...
def set_threads(count: int) -> None: ...
