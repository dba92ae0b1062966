// yuv_ycbcr_ycc.cpp - RGB to and from YUV, YCbCr and PhotoYCC, in 32-bit
// fixed-point arithmetic. ">>" on a negative value is an arithmetic shift
// (division rounded toward minus infinity), which the results depend on.
#include "dispatch/primitives.h"
#include "primitives/color/color_conversion.h"

namespace fc::color {
namespace {

// Luma and scaled colour differences, scale 2^16.
void yuvFromRgb(const Ipp8u* in, Ipp8u* out) {
  const std::int32_t r = in[0], g = in[1], b = in[2];
  const std::int32_t s = 19595 * r + 38470 * g + 7471 * b;
  const std::int32_t dB = (65536 * b - s + 32767) >> 16;
  const std::int32_t dR = (65536 * r - s + 32767) >> 16;
  // U stays within 16..239 for every input; V needs the limit.
  storePixel(out, s >> 16, ((32244 * dB) >> 16) + 128, clampByte(((57475 * dR) >> 16) + 128));
}

void rgbFromYuv(const Ipp8u* in, Ipp8u* out) {
  const std::int32_t y = 65536 * in[0], u = in[1] - 128, v = in[2] - 128;
  storePixel(out, clampByte((y + 74711 * v) >> 16), clampByte((y - 25821 * u - 38076 * v) >> 16),
             clampByte((y + 133169 * u) >> 16));
}

// Studio-range luma 16..235 and chroma 16..240, scale 2^16. The offsets are
// 16.5 * 2^16 and -127.5 * 2^16; chroma is stored as its low byte.
void ycbcrFromRgb(const Ipp8u* in, Ipp8u* out) {
  const std::int32_t r = in[0], g = in[1], b = in[2];
  storePixel(out, (16843 * r + 33030 * g + 6423 * b + 1081344) >> 16,
             (-9699 * r - 19071 * g + 28770 * b - 8355840) >> 16,
             (28770 * r - 24117 * g - 4653 * b - 8355840) >> 16);
}

void rgbFromYcbcr(const Ipp8u* in, Ipp8u* out) {
  const std::int32_t y = 76284 * in[0] - 1220544, cb = in[1] - 128, cr = in[2] - 128;
  storePixel(out, clampByte((y + 104595 * cr) >> 16), clampByte((y - 25690 * cb - 53281 * cr) >> 16),
             clampByte((y + 132186 * cb) >> 16));
}

// PhotoYCC: luma at scale 2^14 reduced to 2^4, then scaled to the YCC
// ranges (Y 0..181, C1 57..254, C2 41..232), so no limit is needed.
void yccFromRgb(const Ipp8u* in, Ipp8u* out) {
  const std::int32_t r = in[0], g = in[1], b = in[2];
  const std::int32_t s = 4898 * r + 9617 * g + 1867 * b;
  const std::int32_t y = s >> 10;
  const std::int32_t dB = (16384 * b - s) >> 10;
  const std::int32_t dR = (16384 * r - s) >> 10;
  storePixel(out, (2921 * y) >> 16, ((1789 * dB) >> 16) + 156, ((2178 * dR) >> 16) + 137);
}

void rgbFromYcc(const Ipp8u* in, Ipp8u* out) {
  const std::int32_t a = 5564 * in[0];
  const std::int32_t c1 = 9084 * in[1] - 1417104;
  const std::int32_t c2 = 7460 * in[2] - 1022020;
  storePixel(out, clampByte((a + c2) >> 12), clampByte((16 * a - 794 * (c1 >> 8) - 2084 * (c2 >> 8)) >> 16),
             clampByte((a + c1) >> 12));
}

}  // namespace
}  // namespace fc::color

FC_DEFINE_PX_CONVERSION(ippiRGBToYUV_8u_C3R, fc::color::yuvFromRgb)
FC_DEFINE_PX_CONVERSION(ippiYUVToRGB_8u_C3R, fc::color::rgbFromYuv)
FC_DEFINE_PX_CONVERSION(ippiRGBToYCbCr_8u_C3R, fc::color::ycbcrFromRgb)
FC_DEFINE_PX_CONVERSION(ippiYCbCrToRGB_8u_C3R, fc::color::rgbFromYcbcr)
FC_DEFINE_PX_CONVERSION(ippiRGBToYCC_8u_C3R, fc::color::yccFromRgb)
FC_DEFINE_PX_CONVERSION(ippiYCCToRGB_8u_C3R, fc::color::rgbFromYcc)
