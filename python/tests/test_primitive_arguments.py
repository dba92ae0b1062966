"""Arrays as regions, the errors and warnings of every argument path, code
variants, the GIL, and reference counts and memory over many calls."""

import sys
import threading
import warnings

import numpy as np
import pytest

import framecraft as fc
from conftest import random_image, traced_growth


def test_slices_of_larger_arrays_are_regions_in_place(rng, image):
    big = np.full((60, 80, 3), 77, np.uint8)
    region = big[10:34, 20:57]
    assert fc.gamma_inv(image, out=region) is region
    np.testing.assert_array_equal(region, fc.gamma_inv(image))
    untouched = np.ones(big.shape[:2], bool)
    untouched[10:34, 20:57] = False
    assert (big[untouched] == 77).all()

    # A source region with its neighbours in the larger array.
    source = random_image(rng, 40, 50)
    np.testing.assert_array_equal(fc.filter_lowpass(source[5:30, 8:40], border="none"),
                                  fc.filter_lowpass(source[5:30, 8:40].copy(), border="none"))


def test_sources_in_any_layout_are_read_correctly(image):
    flipped = image[::-1]
    np.testing.assert_array_equal(fc.rgb_to_yuv(flipped), fc.rgb_to_yuv(flipped.copy()))
    columns = image[:, ::2]
    np.testing.assert_array_equal(fc.gamma_fwd(columns), fc.gamma_fwd(columns.copy()))
    fortran = np.asfortranarray(image)
    np.testing.assert_array_equal(fc.filter_sharpen(fortran), fc.filter_sharpen(image))


def test_overlapping_destination_reads_the_source_before_it_is_written(image):
    expected = fc.filter_gauss(image, border="none")
    work = image.copy()
    fc.filter_gauss(work, border="none", out=work[1:-1, 1:-1])
    np.testing.assert_array_equal(work[1:-1, 1:-1], expected)


def test_wrong_arrays_raise_before_any_call(image, grey):
    with pytest.raises(TypeError, match="uint8"):
        fc.gamma_fwd(image.astype(np.float32))
    with pytest.raises(TypeError, match="ndarray"):
        fc.gamma_fwd([[1, 2, 3]])
    with pytest.raises(ValueError, match=r"\(H, W, 3\)"):
        fc.rgb_to_hsv(grey)
    with pytest.raises(ValueError, match="shape"):
        fc.resize(np.zeros((4, 4, 4), np.uint8), (2, 2))
    with pytest.raises(ValueError, match="shape"):
        fc.gamma_fwd(image, out=np.zeros((3, 3, 3), np.uint8))
    read_only = np.zeros_like(image)
    read_only.flags.writeable = False
    with pytest.raises(ValueError, match="read-only"):
        fc.gamma_fwd(image, out=read_only)
    with pytest.raises(ValueError, match="packed"):
        fc.gamma_fwd(image[:, :10], out=np.zeros((24, 20, 3), np.uint8)[:, ::2])
    with pytest.raises(ValueError, match="dst_roi"):
        fc.rotate(image, 10, dst_roi=(30, 0, 10, 10))
    with pytest.raises(ValueError, match="border"):
        fc.filter_median(image, 3, border="wrap")
    with pytest.raises(ValueError, match="interpolation"):
        fc.resize(image, (4, 4), interpolation="bicubic")
    before = image.copy()
    out = np.full_like(image, 5)
    with pytest.raises(TypeError):
        fc.gamma_fwd(image.astype(np.int16), out=out)
    assert (out == 5).all() and (image == before).all()


@pytest.mark.parametrize("call, name, status", [
    (lambda img: fc.gamma_fwd(img[:0]), "ippStsSizeErr", -6),
    (lambda img: fc.filter_median(img, (2, 3)), "ippStsMaskSizeErr", -33),
    (lambda img: fc.filter_box(img, (3, 3), anchor=(3, 0)), "ippStsAnchorErr", -34),
    (lambda img: fc.resize(img, (4, 4), interpolation=3), "ippStsInterpolationErr", -22),
    (lambda img: fc.resize(img, fx=0.0, fy=1.0), "ippStsResizeFactorErr", -23),
    (lambda img: fc.threshold_lt_val_gt_val(img, 101, 0, 100, 255), "ippStsThresholdErr", -18),
    (lambda img: fc.erode(img, np.zeros((3, 3), np.uint8)), "ippStsZeroMaskValuesErr", -59),
    (lambda img: fc.histogram_even(img[..., 0], 1), "ippStsHistoNofLevelsErr", -107),
    (lambda img: fc.get_perspective_transform((0, 0, 10, 10), [[0, 0], [0, 0], [0, 0], [0, 0]]), "ippStsQuadErr",
     -58),
])
def test_error_statuses_raise_primitive_error_and_write_nothing(image, call, name, status):
    with pytest.raises(fc.PrimitiveError) as raised:
        call(image)
    assert (raised.value.name, raised.value.status) == (name, status)
    assert name in str(raised.value)


def test_warning_statuses_are_warnings(image):
    with pytest.warns(fc.PrimitiveWarning, match="ippStsWrongIntersectROI") as caught:
        result = fc.resize(image, (8, 8), src_roi=(37, 0, 4, 4))
    assert caught[0].message.status == 29
    assert (result == 0).all()
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        with pytest.raises(fc.PrimitiveWarning):
            fc.resize(image, (8, 8), src_roi=(37, 0, 4, 4))


def test_variants_give_the_same_bytes_and_are_forced_per_thread(image):
    results = {}
    for tag in ("px", "a6", "w7", "t7"):
        try:
            with fc.variant(tag):
                assert fc.forced_variant() == tag
                results[tag] = (fc.resize(image, (50, 31), interpolation="cubic"), fc.filter_median(image, 5),
                                fc.rgb_to_luv(image), fc.rotate(image, 33))
        except ValueError:
            assert tag in ("w7", "t7")  # a processor without SSE4.1 or AVX2
    assert fc.forced_variant() == "bound"
    for tag, outputs in results.items():
        for output, reference in zip(outputs, results["px"]):
            np.testing.assert_array_equal(output, reference, err_msg=tag)
    with pytest.raises(ValueError, match="variant"):
        with fc.variant("sse"):
            pass

    seen = []
    with fc.variant("px"):
        thread = threading.Thread(target=lambda: seen.append(fc.forced_variant()))
        thread.start()
        thread.join()
    assert seen == ["bound"]


def test_the_gil_is_released_while_a_primitive_runs(rng):
    big = random_image(rng, 400, 400)
    done = threading.Event()

    def work():
        fc.filter_median(big, (31, 31))
        done.set()

    worker = threading.Thread(target=work)
    worker.start()
    spins = 0
    while not done.is_set():
        spins += 1
    worker.join()
    assert spins > 1000


def test_reference_counts_and_memory_are_stable_over_many_calls(image):
    out = np.zeros((12, 16, 3), np.uint8)
    refs = sys.getrefcount(image), sys.getrefcount(out)

    def calls():
        fc.resize(image, (16, 12))
        fc.resize(image, (16, 12), out=out)
        fc.filter_median(image, 3)
        try:
            fc.gamma_fwd(image[:0])
        except fc.PrimitiveError:
            pass

    assert traced_growth(calls, 10_000) < 64 * 1024
    assert (sys.getrefcount(image), sys.getrefcount(out)) == refs
