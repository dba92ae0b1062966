// color_conversion_variants.h - defines the variants <FC_COLOR_ISA>_<entry>
// of all sixteen colour conversions by compiling the generic kernels for the
// instruction set FC_COLOR_TARGET. Included once by each variant's source in
// dispatch/variants/<tag>/, which defines both macros first:
//   #define FC_COLOR_ISA t7
//   #define FC_COLOR_TARGET "avx2"
// Off x86 it defines nothing, and the variant symbols forward to px.
#if defined(__x86_64__) || defined(__i386__)

// Everything the kernels include that is not theirs comes in before the
// instruction set changes, so no library code is compiled for it.
#include <math.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "dispatch/primitives.h"

#define FC_COLOR_PRAGMA(...) _Pragma(#__VA_ARGS__)
#if defined(__clang__)
#define FC_COLOR_TARGET_BEGIN(instructions) \
  FC_COLOR_PRAGMA(clang attribute push(__attribute__((target(instructions))), apply_to = function))
#define FC_COLOR_TARGET_END() FC_COLOR_PRAGMA(clang attribute pop)
#else
#define FC_COLOR_TARGET_BEGIN(instructions) \
  FC_COLOR_PRAGMA(GCC push_options) FC_COLOR_PRAGMA(GCC target(instructions))
#define FC_COLOR_TARGET_END() FC_COLOR_PRAGMA(GCC pop_options)
#endif

FC_COLOR_TARGET_BEGIN(FC_COLOR_TARGET)

#include "primitives/color/hsv_hls_kernels.h"
#include "primitives/color/lab_kernels.h"
#include "primitives/color/luv_kernels.h"
#include "primitives/color/xyz_kernels.h"
#include "primitives/color/yuv_ycbcr_ycc_kernels.h"

FC_DEFINE_CONVERSION(FC_COLOR_ISA, ippiRGBToYUV_8u_C3R, fc::color::yuvFromRgb)
FC_DEFINE_CONVERSION(FC_COLOR_ISA, ippiYUVToRGB_8u_C3R, fc::color::rgbFromYuv)
FC_DEFINE_CONVERSION(FC_COLOR_ISA, ippiRGBToYCbCr_8u_C3R, fc::color::ycbcrFromRgb)
FC_DEFINE_CONVERSION(FC_COLOR_ISA, ippiYCbCrToRGB_8u_C3R, fc::color::rgbFromYcbcr)
FC_DEFINE_CONVERSION(FC_COLOR_ISA, ippiRGBToYCC_8u_C3R, fc::color::yccFromRgb)
FC_DEFINE_CONVERSION(FC_COLOR_ISA, ippiYCCToRGB_8u_C3R, fc::color::rgbFromYcc)
FC_DEFINE_CONVERSION(FC_COLOR_ISA, ippiRGBToXYZ_8u_C3R, fc::color::xyzFromRgb)
FC_DEFINE_CONVERSION(FC_COLOR_ISA, ippiXYZToRGB_8u_C3R, fc::color::rgbFromXyz)
FC_DEFINE_CONVERSION(FC_COLOR_ISA, ippiRGBToHSV_8u_C3R, fc::color::hsvFromRgb)
FC_DEFINE_CONVERSION(FC_COLOR_ISA, ippiHSVToRGB_8u_C3R, fc::color::rgbFromHsv)
FC_DEFINE_CONVERSION(FC_COLOR_ISA, ippiRGBToHLS_8u_C3R, fc::color::hlsFromRgb)
FC_DEFINE_CONVERSION(FC_COLOR_ISA, ippiHLSToRGB_8u_C3R, fc::color::rgbFromHls)
FC_DEFINE_CONVERSION(FC_COLOR_ISA, ippiRGBToLUV_8u_C3R, fc::color::luvFromRgb)
FC_DEFINE_CONVERSION(FC_COLOR_ISA, ippiLUVToRGB_8u_C3R, fc::color::rgbFromLuv)
FC_DEFINE_CONVERSION(FC_COLOR_ISA, ippiBGRToLab_8u_C3R, fc::color::labFromBgr)
FC_DEFINE_CONVERSION(FC_COLOR_ISA, ippiLabToBGR_8u_C3R, fc::color::bgrFromLab)

FC_COLOR_TARGET_END()

#endif
