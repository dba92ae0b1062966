import tracemalloc

import numpy as np
import pytest

from c_interface import CInterface


@pytest.fixture(scope="session")
def c():
    return CInterface()


@pytest.fixture
def rng():
    return np.random.default_rng(7)


def random_image(rng, height, width, channels=3):
    shape = (height, width, channels) if channels == 3 else (height, width)
    return rng.integers(0, 256, shape, dtype=np.uint8)


@pytest.fixture
def image(rng):
    return random_image(rng, 24, 37)


@pytest.fixture
def grey(rng):
    return random_image(rng, 24, 37, channels=1)


def traced_growth(step, times):
    """Bytes of Python-visible memory (NumPy buffers included) still held
    after calling step `times` times, past one warm-up call."""
    step()
    tracemalloc.start()
    before = tracemalloc.get_traced_memory()[0]
    for _ in range(times):
        step()
    growth = tracemalloc.get_traced_memory()[0] - before
    tracemalloc.stop()
    return growth
