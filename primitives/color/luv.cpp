// luv.cpp - generic variants of RGB to and from CIE LUV.
#include "primitives/color/luv_kernels.h"

FC_DEFINE_CONVERSION(px, ippiRGBToLUV_8u_C3R, fc::color::luvFromRgb)
FC_DEFINE_CONVERSION(px, ippiLUVToRGB_8u_C3R, fc::color::rgbFromLuv)
