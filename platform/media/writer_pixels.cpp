#include "platform/media/writer_pixels.h"

#include <cstring>

extern "C" {
#include <libswscale/swscale.h>
}

namespace fc::media {

namespace {
// More than the widest vector store of libswscale's packed writers.
constexpr std::size_t kRowOverrun = 64;
}  // namespace

AVPixelFormat PixelFormatOf(TFCVideoFormat format) {
  switch (format) {
    case vfYUY2: return AV_PIX_FMT_YUYV422;
    case vfGray8: return AV_PIX_FMT_GRAY8;
    case vfRGB32: return AV_PIX_FMT_BGR0;
    case vfRGB24: break;
  }
  return AV_PIX_FMT_BGR24;
}

TPixelConverter::~TPixelConverter() { sws_freeContext(context_); }

bool TPixelConverter::Prepare(int width, int height, AVPixelFormat from, AVPixelFormat to) {
  // Exact rounding and full chroma interpolation: the same picture in, the
  // same bytes out, and lossless where the two formats allow it.
  const int flags = SWS_POINT | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT | SWS_FULL_CHR_H_INP | SWS_BITEXACT;
  context_ = sws_getCachedContext(context_, width, height, from, width, height, to, flags, nullptr, nullptr, nullptr);
  return context_ != nullptr;
}

bool TPixelConverter::ToFrame(const std::uint8_t* pixels, int step, AVPixelFormat format, AVFrame& to) {
  if (!Prepare(to.width, to.height, format, static_cast<AVPixelFormat>(to.format))) return false;
  const std::uint8_t* const planes[4] = {pixels, nullptr, nullptr, nullptr};
  const int steps[4] = {step, 0, 0, 0};
  return sws_scale(context_, planes, steps, 0, to.height, to.data, to.linesize) == to.height;
}

bool TPixelConverter::FromFrame(const AVFrame& from, AVPixelFormat format, std::uint8_t* pixels, int step) {
  if (!Prepare(from.width, from.height, static_cast<AVPixelFormat>(from.format), format)) return false;
  const std::size_t bytes = static_cast<std::size_t>(step) * static_cast<std::size_t>(from.height);
  rows_.resize(bytes + kRowOverrun);
  std::uint8_t* const planes[4] = {rows_.data(), nullptr, nullptr, nullptr};
  const int steps[4] = {step, 0, 0, 0};
  if (sws_scale(context_, from.data, from.linesize, 0, from.height, planes, steps) != from.height) return false;
  std::memcpy(pixels, rows_.data(), bytes);
  return true;
}

}  // namespace fc::media
