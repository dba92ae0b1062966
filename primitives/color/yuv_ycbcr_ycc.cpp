// yuv_ycbcr_ycc.cpp - generic variants of RGB to and from YUV, YCbCr and
// PhotoYCC.
#include "primitives/color/yuv_ycbcr_ycc_kernels.h"

FC_DEFINE_FORMULA_CONVERSION(px, ippiRGBToYUV_8u_C3R, fc::color::YuvFromRgb, fc::color::yuvFromRgb)
FC_DEFINE_FORMULA_CONVERSION(px, ippiYUVToRGB_8u_C3R, fc::color::RgbFromYuv, fc::color::rgbFromYuv)
FC_DEFINE_FORMULA_CONVERSION(px, ippiRGBToYCbCr_8u_C3R, fc::color::YcbcrFromRgb, fc::color::ycbcrFromRgb)
FC_DEFINE_FORMULA_CONVERSION(px, ippiYCbCrToRGB_8u_C3R, fc::color::RgbFromYcbcr, fc::color::rgbFromYcbcr)
FC_DEFINE_FORMULA_CONVERSION(px, ippiRGBToYCC_8u_C3R, fc::color::YccFromRgb, fc::color::yccFromRgb)
FC_DEFINE_FORMULA_CONVERSION(px, ippiYCCToRGB_8u_C3R, fc::color::RgbFromYcc, fc::color::rgbFromYcc)
