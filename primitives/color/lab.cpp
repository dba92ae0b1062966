// lab.cpp - generic variants of BGR to and from CIE Lab.
#include "primitives/color/lab_kernels.h"

FC_DEFINE_CONVERSION(px, ippiBGRToLab_8u_C3R, fc::color::labFromBgr)
FC_DEFINE_CONVERSION(px, ippiLabToBGR_8u_C3R, fc::color::bgrFromLab)
