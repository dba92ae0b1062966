// pixel_conversions.h - row conversions between the frame formats.
//
// Every format converts to and from vfRGB24; the frame goes through it for
// other pairs. Grey is the luma 0.299 R + 0.587 G + 0.114 B rounded to
// nearest; grey to colour repeats the byte. YUY2 uses the studio-range
// ITU-R BT.601 equations in 8-bit fixed point, the chroma of a pair being the
// mean of the pair's two pixels.
#pragma once

#include "dispatch/Fcimagedefs.h"
#include "platform/runtime/components_api.h"

namespace fc::pixels {

FC_COMPONENTS_API void Bgr24ToGray8(const Ipp8u* src, Ipp8u* dst, int width);
FC_COMPONENTS_API void Gray8ToBgr24(const Ipp8u* src, Ipp8u* dst, int width);
FC_COMPONENTS_API void Bgr24ToBgr32(const Ipp8u* src, Ipp8u* dst, int width);
FC_COMPONENTS_API void Bgr32ToBgr24(const Ipp8u* src, Ipp8u* dst, int width);
/// A row of `width` pixels; an odd last pixel is paired with itself.
FC_COMPONENTS_API void Bgr24ToYuy2(const Ipp8u* src, Ipp8u* dst, int width);
FC_COMPONENTS_API void Yuy2ToBgr24(const Ipp8u* src, Ipp8u* dst, int width);

}  // namespace fc::pixels
