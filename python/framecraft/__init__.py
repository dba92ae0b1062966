"""Framecraft: image primitives on NumPy arrays and video pipelines.

Images are ``uint8`` arrays of shape ``(H, W, 3)`` (three interleaved
channels) or ``(H, W)`` (one channel); a slice of a larger array is a region
of it in place. Every function returns a new array, or writes into ``out=``.
A primitive's error status raises :class:`PrimitiveError`; a warning status
is issued as a :class:`PrimitiveWarning`. The GIL is released while a
primitive runs.
"""

import contextlib as _contextlib

from ._errors import Error, PrimitiveError, PrimitiveWarning
from ._framecraft import *  # noqa: F401,F403  (the primitives)
from ._framecraft import _force_variant, cpu_code, forced_variant


@_contextlib.contextmanager
def variant(tag):
    """Runs the primitives called inside the block on this thread through one
    code variant: ``"px"`` (generic), ``"a6"``, ``"w7"`` or ``"t7"``. An entry
    without that variant runs ``px``, as its binding does on such a
    processor. A variant this processor cannot run raises ValueError."""
    previous = _force_variant(tag)
    try:
        yield
    finally:
        _force_variant(previous)
