"""Each family of primitives through the module against the same call
through the C interface: equal bytes."""

import ctypes

import numpy as np
import pytest

import framecraft as fc
from c_interface import (GEOMETRIC, TWO_IMAGE, IppiPoint, IppiSize, Rect, c_double, c_int, like, ptr, region,
                         size, step, u8p, whole)
from conftest import random_image

INTERPOLATIONS = {"nearest": 1, "linear": 2, "cubic": 4, "lanczos": 16}


@pytest.mark.parametrize("channels", [3, 1])
@pytest.mark.parametrize("interpolation", sorted(INTERPOLATIONS))
def test_resize_matches_c(c, rng, channels, interpolation):
    src = random_image(rng, 23, 31, channels)
    suffix = "C3R" if channels == 3 else "C1R"
    entry = c.entry(f"ippiResize_8u_{suffix}", u8p, IppiSize, c_int, Rect, u8p, c_int, IppiSize, c_double, c_double,
                    c_int)
    expected = like(src, (40, 50, 3) if channels == 3 else (40, 50))
    assert entry(ptr(src), size(src), step(src), whole(src), ptr(expected), step(expected), IppiSize(50, 40),
                 50 / 31, 40 / 23, INTERPOLATIONS[interpolation]) == 0
    np.testing.assert_array_equal(fc.resize(src, (50, 40), interpolation=interpolation), expected)


def test_resize_by_factors_and_source_rectangle(c, image):
    entry = c.entry("ippiResize_8u_C3R", u8p, IppiSize, c_int, Rect, u8p, c_int, IppiSize, c_double, c_double, c_int)
    expected = like(image, (5, 6, 3))
    assert entry(ptr(image), size(image), step(image), Rect(4, 3, 12, 10), ptr(expected), step(expected),
                 IppiSize(6, 5), 0.5, 0.5, 8) == 0
    result = fc.resize(image, fx=0.5, fy=0.5, interpolation="super", src_roi=(4, 3, 12, 10))
    np.testing.assert_array_equal(result, expected)


def test_rotate_shear_and_warps_match_c(c, image):
    geometric = [
        ("ippiRotate_8u_C3R", (c_double, c_double, c_double, c_int), (25.0, 3.0, -2.0, 4),
         lambda: fc.rotate(image, 25.0, shift=(3.0, -2.0), interpolation="cubic")),
        ("ippiShear_8u_C3R", (c_double, c_double, c_double, c_double, c_int), (0.2, 0.1, -2.0, 1.0, 2),
         lambda: fc.shear(image, (0.2, 0.1), shift=(-2.0, 1.0))),
    ]
    for name, extra_types, extra, call in geometric:
        expected = like(image)
        assert c.entry(name, *GEOMETRIC, *extra_types)(ptr(image), size(image), step(image), whole(image),
                                                       ptr(expected), step(expected), whole(expected), *extra) == 0
        np.testing.assert_array_equal(call(), expected, err_msg=name)

    quad = [[2.0, 1.0], [30.0, 3.0], [34.0, 22.0], [1.0, 20.0]]
    coeffs = fc.get_perspective_transform((0, 0, 37, 24), quad)
    matrix = (ctypes.c_double * 9)(*coeffs.ravel())
    expected = like(image)
    entry = c.entry("ippiWarpPerspective_8u_C3R", *GEOMETRIC, ctypes.c_void_p, c_int)
    assert entry(ptr(image), size(image), step(image), whole(image), ptr(expected), step(expected), whole(expected),
                 ctypes.cast(matrix, ctypes.c_void_p), 2) == 0
    np.testing.assert_array_equal(fc.warp_perspective(image, coeffs), expected)


def test_rotate_about_a_centre_uses_the_rotate_shift(image):
    x_shift, y_shift = fc.get_rotate_shift(18.0, 12.0, 90.0)
    assert (x_shift, y_shift) == (6.0, 30.0)
    np.testing.assert_array_equal(fc.rotate(image, 90.0, center=(18.0, 12.0)),
                                  fc.rotate(image, 90.0, shift=(x_shift, y_shift)))


def test_filters_match_c_on_the_inside_of_the_source(c, image):
    inside_ptr, inside_size = region(image, 2, 2, 33, 20)
    cases = [
        ("ippiFilterMedian_8u_C3R", (IppiSize, IppiPoint), (IppiSize(5, 5), IppiPoint(2, 2)),
         lambda **kw: fc.filter_median(image[0:24, 0:37], (5, 5), **kw)),
        ("ippiFilterGauss_8u_C3R", (c_int,), (55,), lambda **kw: fc.filter_gauss(image, 5, **kw)),
        ("ippiFilterMedianColor_8u_C3R", (c_int,), (55,), lambda **kw: fc.filter_median_color(image, 5, **kw)),
    ]
    for name, extra_types, extra, call in cases:
        expected = like(image, (20, 33, 3))
        assert c.entry(name, *TWO_IMAGE, *extra_types)(inside_ptr, step(image), ptr(expected), step(expected),
                                                       inside_size, *extra) == 0
        np.testing.assert_array_equal(call(border="none"), expected, err_msg=name)


def test_roberts_filters_read_only_their_own_border(c, image):
    # Down reads up and left, Up reads up and right: the results keep the
    # columns on the other side.
    expected = like(image, (23, 36, 3))
    inside_ptr, inside_size = region(image, 1, 1, 36, 23)
    c.entry("ippiFilterRobertsDown_8u_C3R", *TWO_IMAGE)(inside_ptr, step(image), ptr(expected), step(expected),
                                                       inside_size)
    np.testing.assert_array_equal(fc.filter_roberts_down(image, border="none"), expected)
    assert fc.filter_roberts_up(image, border="none").shape == (23, 36, 3)


def test_replicated_border_equals_filtering_a_padded_copy(image):
    padded = np.pad(image, ((1, 1), (1, 1), (0, 0)), mode="edge")
    np.testing.assert_array_equal(fc.filter_sobel_horiz(image), fc.filter_sobel_horiz(padded, border="none"))
    padded = np.pad(image, ((0, 2), (1, 3), (0, 0)), mode="edge")
    np.testing.assert_array_equal(fc.filter_max(image, (5, 3), anchor=(1, 0)),
                                  fc.filter_max(padded, (5, 3), anchor=(1, 0), border="none"))


@pytest.mark.parametrize("channels", [3, 1])
def test_morphology_matches_c(c, rng, channels):
    src = random_image(rng, 20, 17, channels)
    mask = np.array([[0, 1, 0], [1, 1, 1], [0, 1, 1]], np.uint8)
    suffix = "C3R" if channels == 3 else "C1R"
    entry = c.entry(f"ippiErode_8u_{suffix}", *TWO_IMAGE, u8p, IppiSize, IppiPoint)
    inside_ptr, inside_size = region(src, 1, 1, 15, 18)
    expected = like(src, (18, 15, 3) if channels == 3 else (18, 15))
    assert entry(inside_ptr, step(src), ptr(expected), step(expected), inside_size, ptr(mask), IppiSize(3, 3),
                 IppiPoint(1, 1)) == 0
    np.testing.assert_array_equal(fc.erode(src, mask, border="none"), expected)
    state = fc.MorphologyState(15, mask)
    assert state.allocated
    state.free()
    assert not state.allocated


CONVERSIONS = ["rgb_to_hls", "rgb_to_hsv", "rgb_to_luv", "rgb_to_xyz", "rgb_to_ycc", "rgb_to_ycbcr", "rgb_to_yuv",
               "bgr_to_lab", "hls_to_rgb", "hsv_to_rgb", "luv_to_rgb", "xyz_to_rgb", "ycc_to_rgb", "ycbcr_to_rgb",
               "yuv_to_rgb", "lab_to_bgr"]


def entry_name(conversion):
    source, target = conversion.split("_to_")
    spelled = {"rgb": "RGB", "bgr": "BGR", "hls": "HLS", "hsv": "HSV", "luv": "LUV", "xyz": "XYZ", "ycc": "YCC",
               "ycbcr": "YCbCr", "yuv": "YUV", "lab": "Lab"}
    return f"ippi{spelled[source]}To{spelled[target]}_8u_C3R"


def test_every_colour_conversion_matches_c(c, image):
    for conversion in CONVERSIONS:
        expected = like(image)
        assert c.entry(entry_name(conversion), *TWO_IMAGE)(ptr(image), step(image), ptr(expected), step(expected),
                                                           size(image)) == 0
        np.testing.assert_array_equal(getattr(fc, conversion)(image), expected, err_msg=conversion)


def test_point_operations_match_c(c, image):
    expected = like(image)
    c.entry("ippiGammaFwd_8u_C3R", *TWO_IMAGE)(ptr(image), step(image), ptr(expected), step(expected), size(image))
    np.testing.assert_array_equal(fc.gamma_fwd(image), expected)
    in_place = image.copy()
    assert fc.gamma_fwd(in_place, out=in_place) is in_place
    np.testing.assert_array_equal(in_place, expected)

    twist = np.array([[0.5, 0.25, 0, 3], [0, 1, 0, -7.5], [0.1, 0.2, 0.3, 0]], np.float32)
    expected = like(image)
    c.entry("ippiColorTwist32f_8u_C3R", *TWO_IMAGE, ctypes.c_void_p)(
        ptr(image), step(image), ptr(expected), step(expected), size(image), twist.ctypes.data)
    np.testing.assert_array_equal(fc.color_twist(image, twist), expected)

    triples = [(ctypes.c_uint8 * 3)(*t) for t in ((50, 60, 70), (0, 1, 2), (200, 190, 180), (255, 254, 253))]
    expected = like(image)
    c.entry("ippiThreshold_LTValGTVal_8u_C3R", *TWO_IMAGE, *(ctypes.c_void_p,) * 4)(
        ptr(image), step(image), ptr(expected), step(expected), size(image), *map(ctypes.addressof, triples))
    np.testing.assert_array_equal(
        fc.threshold_lt_val_gt_val(image, (50, 60, 70), (0, 1, 2), (200, 190, 180), (255, 254, 253)), expected)


def test_histogram_noise_and_generators(c, image, grey):
    hist, levels = fc.histogram_even(grey, 5, lower=0, upper=256)
    assert list(levels) == [0, 64, 128, 192, 256]
    assert list(hist) == [np.count_nonzero((grey >= a) & (grey < a + 64)) for a in (0, 64, 128, 192)]
    hists, _ = fc.histogram_even(image, (3, 5, 9))
    assert [len(h) for h in hists] == [2, 4, 8]

    seed = ctypes.c_uint(5)
    expected = image.copy()
    c.entry("ippiAddRandUniform_Direct_8u_C3IR", u8p, c_int, IppiSize, ctypes.c_uint8, ctypes.c_uint8,
            ctypes.POINTER(ctypes.c_uint))(ptr(expected), step(expected), size(expected), 0, 40, ctypes.byref(seed))
    noisy, next_seed = fc.add_rand_uniform(image, 0, 40, seed=5)
    np.testing.assert_array_equal(noisy, expected)
    assert next_seed == seed.value

    jaehne = like(image)
    c.entry("ippiImageJaehne_8u_C3R", u8p, c_int, IppiSize)(ptr(jaehne), step(jaehne), size(jaehne))
    np.testing.assert_array_equal(fc.image_jaehne((37, 24)), jaehne)
    np.testing.assert_array_equal(fc.copy_to_planes(image), np.moveaxis(image, 2, 0))
    assert (fc.fill(grey, 9) == 9).all()
