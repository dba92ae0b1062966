// video_format.h - pixel formats of frames.
#pragma once

#include "platform/runtime/components_api.h"
#include "platform/runtime/properties.h"

namespace fc {

/// Pixel formats. Every format but vfGray8 reaches a filter component as
/// vfRGB24 (the filter base converts); components that handle grey frames
/// keep them.
///
/// The values are published: start-frame operations, format properties and
/// writers carry them as integers. 0 is three-byte frames, 1 YUY2 frames
/// (what video writers and compressors test for), 2 grey frames; 3, the
/// 32-bit format, is internal to frames and conversions, and a format
/// property that offers a choice of output formats (TFCChangeFormat) reads
/// it back as 0.
enum TFCVideoFormat {
  vfRGB24 = 0,  ///< three bytes per pixel: blue, green, red
  vfYUY2 = 1,   ///< two bytes per pixel: Y0 U Y1 V for each pair of pixels
  vfGray8 = 2,  ///< one byte per pixel: luma
  vfRGB32 = 3,  ///< four bytes per pixel: blue, green, red, unused (0)
};

/// The identifiers of TFCVideoFormat, for published properties.
FC_COMPONENTS_API const TEnumInfo& VideoFormatInfo();

/// Bytes of one pixel in `format` (2 for vfYUY2, whose chroma is shared by
/// pairs of pixels).
inline int BytesPerPixelOf(TFCVideoFormat format) {
  switch (format) {
    case vfRGB32: return 4;
    case vfGray8: return 1;
    case vfYUY2: return 2;
    case vfRGB24: break;
  }
  return 3;
}

/// Bytes of one packed row of `width` pixels (vfYUY2 rows hold whole pairs).
inline int RowBytesOf(TFCVideoFormat format, int width) {
  if (format == vfYUY2) return (width + 1) / 2 * 4;
  return width * BytesPerPixelOf(format);
}

/// True for the values above; other integers arriving in a start-frame
/// operation are not formats.
FC_COMPONENTS_API bool IsVideoFormat(int value);

}  // namespace fc
