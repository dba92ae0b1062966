#!/usr/bin/env python3
"""Loads the demo form, changes a property, pulls 10 frames into NumPy and
saves the last one: as PNG with Pillow when it is installed, else as a plain
PPM picture.

    python3 examples/python/pipeline.py [form] [output-file-without-extension]
"""

import pathlib
import sys

import numpy as np

import framecraft


def save(frame, stem):
    """Writes a frame (grey, or blue-green-red) and returns the file name."""
    rgb = np.repeat(frame[..., None], 3, axis=2) if frame.ndim == 2 else frame[..., ::-1]
    try:
        from PIL import Image
    except ImportError:
        name = f"{stem}.ppm"
        with open(name, "wb") as out:
            out.write(b"P6\n%d %d\n255\n" % (rgb.shape[1], rgb.shape[0]))
            out.write(np.ascontiguousarray(rgb).tobytes())
        return name
    name = f"{stem}.png"
    Image.fromarray(np.ascontiguousarray(rgb)).save(name)
    return name


def main():
    here = pathlib.Path(__file__).resolve().parent
    form = sys.argv[1] if len(sys.argv) > 1 else str(here.parent / "demo.fcf")
    stem = sys.argv[2] if len(sys.argv) > 2 else "pipeline-frame"

    pipeline = framecraft.Pipeline.load(form)
    pipeline["Noise1.High"] = 64  # stronger noise than the form asks for
    print("components:", " > ".join(pipeline.components))

    frames = [frame for frame in pipeline.frames("Grey1.OutputPin", count=10)]
    print(f"{len(frames)} frames of shape {frames[0].shape}, mean level {np.mean(frames):.1f}")
    print("saved", save(frames[-1], stem))


if __name__ == "__main__":
    main()
