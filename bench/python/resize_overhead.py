#!/usr/bin/env python3
"""Time per call of framecraft.resize from Python beside cv2.resize on the
same arrays (when OpenCV's Python module is installed), for a small image,
where the binding's own work dominates, and a 1920x1080 frame.

    PYTHONPATH=build/python python3 bench/python/resize_overhead.py
"""

import timeit

import numpy as np

import framecraft

try:
    import cv2
except ImportError:
    cv2 = None


def per_call_us(call, seconds=1.0):
    count, elapsed = timeit.Timer(call).autorange()
    repeats = max(1, int(seconds / elapsed))
    best = min(timeit.Timer(call).repeat(repeat=repeats, number=count))
    return best / count * 1e6


def main():
    rng = np.random.default_rng(1)
    cases = [((64, 64), (32, 32)), ((1920, 1080), (960, 540)), ((1920, 1080), (1280, 720))]
    print(f"{'source':>10} {'target':>9} {'framecraft':>11} {'with out=':>10} {'cv2':>9}  (us per call, linear, 3 channels)")
    for (w, h), (tw, th) in cases:
        src = rng.integers(0, 256, (h, w, 3), dtype=np.uint8)
        out = np.empty((th, tw, 3), np.uint8)
        fc_new = per_call_us(lambda: framecraft.resize(src, (tw, th)))
        fc_out = per_call_us(lambda: framecraft.resize(src, (tw, th), out=out))
        peer = per_call_us(lambda: cv2.resize(src, (tw, th), interpolation=cv2.INTER_LINEAR)) if cv2 else float("nan")
        print(f"{w}x{h:<5} {tw}x{th:<4} {fc_new:11.1f} {fc_out:10.1f} {peer:9.1f}")
    # The binding alone: a call the primitive refuses at once.
    tiny = np.zeros((1, 1, 3), np.uint8)

    def refused():
        try:
            framecraft.resize(tiny, (1, 1), interpolation=3)
        except framecraft.PrimitiveError:
            pass

    print(f"argument checks, call and status of a refused 1x1 resize: {per_call_us(refused):.1f} us "
          f"(exception included)")
    print(f"1x1 resize that succeeds: {per_call_us(lambda: framecraft.resize(tiny, (1, 1))):.1f} us")


if __name__ == "__main__":
    main()
