// image_buffer.h - frames: reference-counted, copy-on-write pixel buffers.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

#include "contracts/pins/operations.h"
#include "contracts/pins/time_stamps.h"
#include "contracts/video/video_format.h"
#include "dispatch/Fcimagedefs.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Pixels of a picture in memory, to load a frame from: rows of `stride`
/// bytes, 8, 24 or 32 bits per pixel in blue, green, red (unused) order,
/// top row first unless `bottomUp`.
struct FC_COMPONENTS_API TFCBitmapView {
  const Ipp8u* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
  int bitsPerPixel = 24;
  bool bottomUp = false;
};

/// The time code of a frame: its number in the stream and whether it carries
/// a date and time of day (components that make frames of their own, such
/// as a rate changer, number them and mark the date-time not available).
struct FC_COMPONENTS_API TFCTimeCode {
  std::int64_t frameNumber = 0;
  bool dateTimeAvailable = false;

  bool operator==(const TFCTimeCode&) const = default;
};

/// A frame: width x height pixels of one format, rows packed without padding
/// (a pixel's offset is (y * width + x) * bytes per pixel).
///
/// Copies share the pixels: copying a frame (copy constructor, assignment,
/// `Copy`) costs nothing, `Read` never copies, and `Write` or `Modify` first
/// detach a frame whose pixels are shared, so a frame sent to several sinks
/// is never changed under them. The time stamps and time code travel with
/// the pixels: every copy and conversion keeps them. `Modify` keeps the pixels when it detaches;
/// `Write` does not (a detached frame from Write starts black). A new frame,
/// or one resized, is black. One frame object is used by one thread at a
/// time; frames sharing pixels may live on different threads.
///
/// The pixels live in blocks of the frame pool (frame_pool.h), so a stream of
/// frames of one size reuses memory instead of allocating it. Black is
/// filled in only when the pixels are first read or written in part: a
/// frame that `Overwrite` fills whole is never filled first.
class FC_COMPONENTS_API TFCImageBuffer : public IPMDataBuffer {
public:
  TFCImageBuffer() : TFCImageBuffer(0, 0, vfRGB24) {}
  TFCImageBuffer(int width, int height, TFCVideoFormat format = vfRGB24);
  TFCImageBuffer(const TFCImageBuffer& other);
  TFCImageBuffer& operator=(const TFCImageBuffer& other);
  ~TFCImageBuffer() override;

  /// Takes the size, format and pixels of `source` (shared until written).
  void Copy(const TFCImageBuffer& source) { *this = source; }
  /// The pixels for reading.
  const Ipp8u* Read() const;
  /// The pixels for overwriting: unshared, contents not kept if shared.
  Ipp8u* Write();
  /// The pixels for a caller that writes every byte of the frame before
  /// anyone reads it: unshared, contents unspecified (neither kept nor made
  /// black), so nothing is copied or filled. Use Write for a partial write.
  Ipp8u* Overwrite();
  /// The pixels for changing in place: unshared, contents kept.
  Ipp8u* Modify();
  /// Takes the size and pixels of a bitmap; the format becomes vfGray8,
  /// vfRGB24 or vfRGB32 by its bits per pixel. A view without pixels, with a
  /// negative size, an unsupported depth or a stride shorter than a row
  /// leaves an empty frame.
  void LoadFromBitmap(const TFCBitmapView& bitmap);
  int Width() const { return width_; }
  int Height() const { return height_; }
  /// Converts the pixels to `format` (pixel_conversions.h); a value that is
  /// no TFCVideoFormat changes nothing.
  void ConvertTo(TFCVideoFormat format);
  TFCVideoFormat Format() const { return format_; }
  /// Step / bytes per pixel: the width, or the width rounded up to a whole
  /// pair of pixels for vfYUY2.
  int PixelsPerRow() const { return Step() / BytesPerPixel(); }
  int BytesPerPixel() const { return BytesPerPixelOf(format_); }
  /// Bytes of all pixels.
  std::size_t Size() const { return static_cast<std::size_t>(Step()) * static_cast<std::size_t>(height_); }
  /// Bytes per row.
  int Step() const { return RowBytesOf(format_, width_); }
  /// Changes the size, keeping the format; the pixels become black. A
  /// negative size counts as 0.
  void SetSize(int width, int height);
  /// Makes every pixel black (all bytes 0; in vfYUY2, luma 16, chroma 128).
  void Clear();

  IppiSize SizeRecord() const { return {width_, height_}; }
  const TPMTimeStamps& TimeStamps() const { return timeStamps_; }
  void SetTimeStamps(const TPMTimeStamps& stamps) { timeStamps_ = stamps; }
  const TFCTimeCode& TimeCode() const { return timeCode_; }
  void SetTimeCode(const TFCTimeCode& code) { timeCode_ = code; }
  /// True while another frame shares the pixels (a write would copy).
  bool IsShared() const;

private:
  struct Store;
  using RowConversion = void (*)(const Ipp8u*, Ipp8u*, int);
  void Release();
  void Allocate(bool black);
  TFCImageBuffer Converted(TFCVideoFormat to, RowConversion convert) const;
  void Detach(bool keepPixels);

  int width_ = 0;
  int height_ = 0;
  TFCVideoFormat format_ = vfRGB24;
  Store* store_ = nullptr;
  TPMTimeStamps timeStamps_;
  TFCTimeCode timeCode_;
};

/// Frames as they are passed between components.
using IFCImageBuffer = std::shared_ptr<TFCImageBuffer>;

/// A new black frame.
FC_COMPONENTS_API IFCImageBuffer MakeImageBuffer(int width, int height, TFCVideoFormat format = vfRGB24);

}  // namespace fc
