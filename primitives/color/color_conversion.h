// color_conversion.h - what the colour-space conversions share: the argument
// checks, the walk over rows of interleaved three-byte pixels, and the
// rounding and limiting of results. Internal to the library.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dispatch/primitives.h"

namespace fc::color {

/// Offset added before truncating a floating-point result; it rounds to
/// nearest with ties (and a hair above them) going down.
inline constexpr float kRoundDown = 0.499999f;

/// Converts one pixel: reads three bytes at `in`, writes three at `out`.
using PixelConversion = void (*)(const Ipp8u* in, Ipp8u* out);

/// Checks the arguments and calls `convertPixel(in, out)` for every pixel of
/// the region, rows top to bottom. Null pointers give ippStsNullPtrErr before
/// the size is looked at; a width or height below 1 gives ippStsSizeErr.
/// Steps are taken as given: each row starts srcStep (dstStep) bytes after
/// the previous one. A pixel function reads all three bytes before it writes,
/// so source and destination may be the same image.
template <PixelConversion convertPixel>
IppStatus convertImage(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize) {
  if (pSrc == nullptr || pDst == nullptr) return ippStsNullPtrErr;
  if (roiSize.width < 1 || roiSize.height < 1) return ippStsSizeErr;
  for (int y = 0; y < roiSize.height; ++y) {
    const Ipp8u* in = pSrc + static_cast<std::ptrdiff_t>(y) * srcStep;
    Ipp8u* out = pDst + static_cast<std::ptrdiff_t>(y) * dstStep;
    for (int x = 0; x < roiSize.width; ++x, in += 3, out += 3) convertPixel(in, out);
  }
  return ippStsNoErr;
}

/// Writes three channel values as one pixel.
inline void storePixel(Ipp8u* out, int c0, int c1, int c2) {
  out[0] = static_cast<Ipp8u>(c0);
  out[1] = static_cast<Ipp8u>(c1);
  out[2] = static_cast<Ipp8u>(c2);
}

/// x limited to 0..255.
inline int clampByte(std::int32_t x) { return x < 0 ? 0 : (x > 255 ? 255 : x); }

/// trunc(x) limited to 0..255. Values beyond any integer range, infinities
/// included, saturate like any other large value; NaN gives 0. Also used
/// where the arithmetic keeps results within 0..255: there the limit changes
/// nothing and keeps the float-to-integer conversion defined.
inline int truncLimited(float x) {
  if (!(x > 0.0f)) return 0;
  if (x >= 255.0f) return 255;
  return static_cast<int>(x);
}

}  // namespace fc::color

/// Defines px_<name>, the generic variant of a conversion entry, as
/// `pixelFn` over the region; the entry's declaration checks the signature.
#define FC_DEFINE_PX_CONVERSION(name, pixelFn)                                       \
  extern "C" FC_API IppStatus px_##name FC_TWO_IMAGE_PARAMS() {                       \
    return ::fc::color::convertImage<pixelFn>(pSrc, srcStep, pDst, dstStep, roiSize); \
  }
