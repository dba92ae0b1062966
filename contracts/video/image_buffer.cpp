#include "contracts/video/image_buffer.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "contracts/video/frame_pool.h"
#include "contracts/video/pixel_conversions.h"

namespace fc {

namespace {

void FillBlack(Ipp8u* bytes, std::size_t size, TFCVideoFormat format) {
  if (format != vfYUY2) {
    std::memset(bytes, 0, size);
    return;
  }
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    bytes[i] = 16;
    bytes[i + 1] = 128;
  }
}

}  // namespace

// Pixels shared by frames, in a block of the frame pool. The count is
// released with acquire-release order and read with acquire order, so a frame
// that finds itself the only holder sees every access of the holders that
// left.
//
// A new frame is black, but its bytes are filled only when someone looks at
// them: a frame that is overwritten whole (Overwrite) is never filled. The
// fill is claimed by one thread; others wait for it, so frames sharing a
// store may read it from several threads.
struct TFCImageBuffer::Store {
  enum : int { kReady, kBlackPending, kFilling };

  Store(std::size_t byteCount, TFCVideoFormat format, bool black)
      : size(byteCount), bytes(TFCFramePool::Instance().Acquire(byteCount)), format(format),
        state(black ? kBlackPending : kReady) {}
  ~Store() { TFCFramePool::Instance().Release(bytes, size); }
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  // The bytes, black if they were still owed.
  Ipp8u* Pixels() {
    if (state.load(std::memory_order_acquire) != kReady) FillOwedBlack();
    return bytes;
  }
  // The bytes of an unshared store about to be overwritten whole: no fill.
  // Builds with assertions fill a new store with a pattern instead, so a
  // caller that leaves bytes unwritten shows in tests rather than passing
  // on whatever the pool's block held (often black by chance).
  Ipp8u* PixelsToOverwrite() {
#ifndef NDEBUG
    if (state.load(std::memory_order_relaxed) == kBlackPending) std::memset(bytes, kUnwrittenPattern, size);
#endif
    state.store(kReady, std::memory_order_relaxed);
    return bytes;
  }
  static constexpr int kUnwrittenPattern = 0xA5;

  std::atomic<int> holders{1};
  const std::size_t size;
  Ipp8u* const bytes;
  const TFCVideoFormat format;
  std::atomic<int> state;

private:
  void FillOwedBlack() {
    int expected = kBlackPending;
    if (state.compare_exchange_strong(expected, kFilling, std::memory_order_acquire)) {
      FillBlack(bytes, size, format);
      state.store(kReady, std::memory_order_release);
      return;
    }
    while (state.load(std::memory_order_acquire) != kReady) std::this_thread::yield();
  }
};

namespace {

using RowConversion = void (*)(const Ipp8u*, Ipp8u*, int);

RowConversion ToBgr24(TFCVideoFormat from) {
  switch (from) {
    case vfRGB32: return pixels::Bgr32ToBgr24;
    case vfGray8: return pixels::Gray8ToBgr24;
    case vfYUY2: return pixels::Yuy2ToBgr24;
    case vfRGB24: break;
  }
  return nullptr;
}

RowConversion FromBgr24(TFCVideoFormat to) {
  switch (to) {
    case vfRGB32: return pixels::Bgr24ToBgr32;
    case vfGray8: return pixels::Bgr24ToGray8;
    case vfYUY2: return pixels::Bgr24ToYuy2;
    case vfRGB24: break;
  }
  return nullptr;
}

}  // namespace

// Every byte of the result is written by the row conversion.
TFCImageBuffer TFCImageBuffer::Converted(TFCVideoFormat to, RowConversion convert) const {
  TFCImageBuffer result;
  result.width_ = width_;
  result.height_ = height_;
  result.format_ = to;
  result.timeStamps_ = timeStamps_;
  result.timeCode_ = timeCode_;
  result.Allocate(false);
  if (result.Size() == 0) return result;
  const Ipp8u* src = Read();
  Ipp8u* dst = result.Overwrite();
  const int srcStep = Step(), dstStep = result.Step();
  for (int y = 0; y < height_; ++y, src += srcStep, dst += dstStep) convert(src, dst, width_);
  return result;
}

TFCImageBuffer::TFCImageBuffer(int width, int height, TFCVideoFormat format)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), format_(format) {
  Allocate(true);
}

TFCImageBuffer::TFCImageBuffer(const TFCImageBuffer& other)
    : IPMDataBuffer(), width_(other.width_), height_(other.height_), format_(other.format_),
      store_(other.store_), timeStamps_(other.timeStamps_), timeCode_(other.timeCode_) {
  if (store_) store_->holders.fetch_add(1, std::memory_order_relaxed);
}

TFCImageBuffer& TFCImageBuffer::operator=(const TFCImageBuffer& other) {
  timeStamps_ = other.timeStamps_;
  timeCode_ = other.timeCode_;
  if (store_ == other.store_) {
    width_ = other.width_;
    height_ = other.height_;
    format_ = other.format_;
    return *this;
  }
  Release();
  width_ = other.width_;
  height_ = other.height_;
  format_ = other.format_;
  store_ = other.store_;
  if (store_) store_->holders.fetch_add(1, std::memory_order_relaxed);
  return *this;
}

TFCImageBuffer::~TFCImageBuffer() { Release(); }

void TFCImageBuffer::Release() {
  if (store_ && store_->holders.fetch_sub(1, std::memory_order_acq_rel) == 1) delete store_;
  store_ = nullptr;
}

void TFCImageBuffer::Allocate(bool black) {
  Release();
  const std::size_t size = Size();
  if (size == 0) return;
  store_ = new Store(size, format_, black);
}

bool TFCImageBuffer::IsShared() const {
  return store_ && store_->holders.load(std::memory_order_acquire) > 1;
}

void TFCImageBuffer::Detach(bool keepPixels) {
  if (!IsShared()) return;
  Store* shared = store_;
  store_ = nullptr;  // so Allocate leaves the shared pixels alone
  Allocate(!keepPixels);
  if (keepPixels && store_) std::memcpy(store_->PixelsToOverwrite(), shared->Pixels(), Size());
  // The other holders may have left meanwhile: then the pixels are ours to free.
  if (shared->holders.fetch_sub(1, std::memory_order_acq_rel) == 1) delete shared;
}

const Ipp8u* TFCImageBuffer::Read() const { return store_ ? store_->Pixels() : nullptr; }

Ipp8u* TFCImageBuffer::Write() {
  Detach(false);
  return store_ ? store_->Pixels() : nullptr;
}

Ipp8u* TFCImageBuffer::Overwrite() {
  Detach(false);
  return store_ ? store_->PixelsToOverwrite() : nullptr;
}

Ipp8u* TFCImageBuffer::Modify() {
  Detach(true);
  return store_ ? store_->Pixels() : nullptr;
}

void TFCImageBuffer::LoadFromBitmap(const TFCBitmapView& bitmap) {
  TFCVideoFormat format = vfRGB24;
  if (bitmap.bitsPerPixel == 8)
    format = vfGray8;
  else if (bitmap.bitsPerPixel == 32)
    format = vfRGB32;
  const bool usable = bitmap.pixels && bitmap.width >= 0 && bitmap.height >= 0 &&
                      (bitmap.bitsPerPixel == 8 || bitmap.bitsPerPixel == 24 || bitmap.bitsPerPixel == 32) &&
                      bitmap.stride >= RowBytesOf(format, bitmap.width);
  *this = usable ? TFCImageBuffer(bitmap.width, bitmap.height, format) : TFCImageBuffer();
  if (!usable || Size() == 0) return;
  Ipp8u* dst = Overwrite();
  for (int y = 0; y < height_; ++y) {
    const int row = bitmap.bottomUp ? height_ - 1 - y : y;
    std::memcpy(dst + static_cast<std::size_t>(y) * Step(),
                bitmap.pixels + static_cast<std::size_t>(row) * bitmap.stride, Step());
  }
}

void TFCImageBuffer::ConvertTo(TFCVideoFormat format) {
  if (format == format_ || !IsVideoFormat(format)) return;
  if (format_ != vfRGB24) *this = Converted(vfRGB24, ToBgr24(format_));
  if (format != vfRGB24) *this = Converted(format, FromBgr24(format));
}

void TFCImageBuffer::SetSize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  Allocate(true);
}

void TFCImageBuffer::Clear() {
  Ipp8u* bytes = Overwrite();
  if (bytes) FillBlack(bytes, Size(), format_);
}

IFCImageBuffer MakeImageBuffer(int width, int height, TFCVideoFormat format) {
  return std::make_shared<TFCImageBuffer>(width, height, format);
}

}  // namespace fc
