// hsv_hls.cpp - generic variants of RGB to and from HSV and HLS.
#include "primitives/color/hsv_hls_kernels.h"

FC_DEFINE_CONVERSION(px, ippiRGBToHSV_8u_C3R, fc::color::hsvFromRgb)
FC_DEFINE_CONVERSION(px, ippiHSVToRGB_8u_C3R, fc::color::rgbFromHsv)
FC_DEFINE_CONVERSION(px, ippiRGBToHLS_8u_C3R, fc::color::hlsFromRgb)
FC_DEFINE_CONVERSION(px, ippiHLSToRGB_8u_C3R, fc::color::rgbFromHls)
