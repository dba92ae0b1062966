// xyz.cpp - generic variants of RGB to and from CIE XYZ.
#include "primitives/color/xyz_kernels.h"

FC_DEFINE_CONVERSION(px, ippiRGBToXYZ_8u_C3R, fc::color::xyzFromRgb)
FC_DEFINE_CONVERSION(px, ippiXYZToRGB_8u_C3R, fc::color::rgbFromXyz)
