// color_conversion_variants.h - defines the variants <FC_VARIANT_TAG>_<entry>
// of all sixteen colour conversions by compiling the generic kernels for the
// variant's instruction set. Included once by each color_conversions_<tag>.cpp.
#pragma once

// Everything the kernels include that is not theirs comes in before the
// instruction set changes, so no library code is compiled for it.
#include <math.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "dispatch/primitives.h"
#include "primitives/variant.h"

FC_VARIANT_TARGET_BEGIN()

#include "primitives/color/hsv_hls_kernels.h"
#include "primitives/color/lab_kernels.h"
#include "primitives/color/luv_kernels.h"
#include "primitives/color/xyz_kernels.h"
#include "primitives/color/yuv_ycbcr_ycc_kernels.h"

// A variant may bring faster steps of its own for the per-pixel formulas,
// written with its instructions.
#if defined(FC_COLOR_FORMULA_STEPS)
#include FC_COLOR_FORMULA_STEPS
#endif

FC_DEFINE_FORMULA_CONVERSION(FC_VARIANT_TAG, ippiRGBToYUV_8u_C3R, fc::color::YuvFromRgb, fc::color::yuvFromRgb)
FC_DEFINE_FORMULA_CONVERSION(FC_VARIANT_TAG, ippiYUVToRGB_8u_C3R, fc::color::RgbFromYuv, fc::color::rgbFromYuv)
FC_DEFINE_FORMULA_CONVERSION(FC_VARIANT_TAG, ippiRGBToYCbCr_8u_C3R, fc::color::YcbcrFromRgb, fc::color::ycbcrFromRgb)
FC_DEFINE_FORMULA_CONVERSION(FC_VARIANT_TAG, ippiYCbCrToRGB_8u_C3R, fc::color::RgbFromYcbcr, fc::color::rgbFromYcbcr)
FC_DEFINE_FORMULA_CONVERSION(FC_VARIANT_TAG, ippiRGBToYCC_8u_C3R, fc::color::YccFromRgb, fc::color::yccFromRgb)
FC_DEFINE_FORMULA_CONVERSION(FC_VARIANT_TAG, ippiYCCToRGB_8u_C3R, fc::color::RgbFromYcc, fc::color::rgbFromYcc)
FC_DEFINE_CONVERSION(FC_VARIANT_TAG, ippiRGBToXYZ_8u_C3R, fc::color::xyzFromRgb)
FC_DEFINE_CONVERSION(FC_VARIANT_TAG, ippiXYZToRGB_8u_C3R, fc::color::rgbFromXyz)
FC_DEFINE_CONVERSION(FC_VARIANT_TAG, ippiRGBToHSV_8u_C3R, fc::color::hsvFromRgb)
FC_DEFINE_CONVERSION(FC_VARIANT_TAG, ippiHSVToRGB_8u_C3R, fc::color::rgbFromHsv)
FC_DEFINE_CONVERSION(FC_VARIANT_TAG, ippiRGBToHLS_8u_C3R, fc::color::hlsFromRgb)
FC_DEFINE_CONVERSION(FC_VARIANT_TAG, ippiHLSToRGB_8u_C3R, fc::color::rgbFromHls)
FC_DEFINE_CONVERSION(FC_VARIANT_TAG, ippiRGBToLUV_8u_C3R, fc::color::luvFromRgb)
FC_DEFINE_CONVERSION(FC_VARIANT_TAG, ippiLUVToRGB_8u_C3R, fc::color::rgbFromLuv)
FC_DEFINE_CONVERSION(FC_VARIANT_TAG, ippiBGRToLab_8u_C3R, fc::color::labFromBgr)
FC_DEFINE_CONVERSION(FC_VARIANT_TAG, ippiLabToBGR_8u_C3R, fc::color::bgrFromLab)

FC_VARIANT_TARGET_END()
