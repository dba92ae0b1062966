// writer_pixels.h - internal to the media layers: frames of our formats in
// and out of FFmpeg's frames, converted with libswscale.
#pragma once

#include <cstdint>
#include <vector>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
}

#include "contracts/video/video_format.h"

struct SwsContext;

namespace fc::media {

/// FFmpeg's pixel format of frames of `format`: vfRGB24 BGR24, vfYUY2
/// YUYV422, vfGray8 GRAY8, vfRGB32 BGR0.
AVPixelFormat PixelFormatOf(TFCVideoFormat format);

/// Converts pictures between packed frames of ours and FFmpeg's frames. The
/// conversion context is made at the first call and kept while the sizes and
/// formats stay; conversions between formats of the same colour model
/// (packed to planar red-green-blue, reordered channels) are exact.
class TPixelConverter {
public:
  TPixelConverter() = default;
  TPixelConverter(const TPixelConverter&) = delete;
  TPixelConverter& operator=(const TPixelConverter&) = delete;
  ~TPixelConverter();

  /// Fills `to` (allocated, with its size and format set) from packed rows.
  bool ToFrame(const std::uint8_t* pixels, int step, AVPixelFormat format, AVFrame& to);
  /// Writes `from` as packed rows of `format` and the frame's size: `step`
  /// x height bytes at `pixels`, never more.
  bool FromFrame(const AVFrame& from, AVPixelFormat format, std::uint8_t* pixels, int step);

private:
  bool Prepare(int width, int height, AVPixelFormat from, AVPixelFormat to);

  SwsContext* context_ = nullptr;
  // libswscale's vector writers may run a few bytes past the end of a row;
  // FromFrame writes into this padded copy first.
  std::vector<std::uint8_t> rows_;
};

}  // namespace fc::media
