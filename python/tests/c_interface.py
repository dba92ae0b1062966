"""The published C interface of libframecraft.so through ctypes: the
reference the module's results are compared with."""

import ctypes
import os

import numpy as np


class IppiSize(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int)]


class IppiPoint(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int)]


class Rect(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int)]


u8p = ctypes.POINTER(ctypes.c_uint8)
c_int = ctypes.c_int
c_double = ctypes.c_double

TWO_IMAGE = (u8p, c_int, u8p, c_int, IppiSize)
GEOMETRIC = (u8p, IppiSize, c_int, Rect, u8p, c_int, Rect)


class CInterface:
    """Calls entries through their published variables, as a C program does."""

    def __init__(self, path=None):
        self.lib = ctypes.CDLL(path or os.environ["FRAMECRAFT_LIBRARY"])

    def entry(self, name, *argtypes):
        address = ctypes.c_void_p.in_dll(self.lib, name).value
        return ctypes.CFUNCTYPE(ctypes.c_int, *argtypes)(address)

    def variant(self, tag, name, *argtypes):
        function = getattr(self.lib, f"{tag}_{name}")
        function.restype = ctypes.c_int
        function.argtypes = argtypes
        return function


def ptr(array):
    return array.ctypes.data_as(u8p)


def step(array):
    return array.strides[0]


def size(array):
    return IppiSize(array.shape[1], array.shape[0])


def whole(array):
    return Rect(0, 0, array.shape[1], array.shape[0])


def region(array, x, y, width, height):
    """The pointer to pixel (x, y) of a packed array, for a region of it."""
    channels = array.shape[2] if array.ndim == 3 else 1
    offset = y * array.strides[0] + x * channels
    return ctypes.cast(array.ctypes.data + offset, u8p), IppiSize(width, height)


def like(array, shape=None):
    return np.zeros(shape or array.shape, np.uint8)
