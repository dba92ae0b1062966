// video_buffer_queue_thread.cpp - the bounded frame queue and its delivery
// thread.
#include "contracts/video/video_buffer_queue_thread.h"

#include <algorithm>
#include <cstring>

namespace fc {

TFCVideoBufferQueueThread::TFCVideoBufferQueueThread(std::size_t capacity)
    : capacity_(std::max<std::size_t>(capacity, 1)) {}

TFCVideoBufferQueueThread::~TFCVideoBufferQueueThread() {
  Close();
  StopDelivery(false);
}

void TFCVideoBufferQueueThread::SetFrameFormat(int width, int height, TFCVideoFormat format) {
  std::lock_guard guard(mutex_);
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  format_ = format;
}

int TFCVideoBufferQueueThread::FrameWidth() const {
  std::lock_guard guard(mutex_);
  return width_;
}

int TFCVideoBufferQueueThread::FrameHeight() const {
  std::lock_guard guard(mutex_);
  return height_;
}

TFCVideoFormat TFCVideoBufferQueueThread::FrameFormat() const {
  std::lock_guard guard(mutex_);
  return format_;
}

bool TFCVideoBufferQueueThread::Push(std::span<const std::uint8_t> pixels, const TPMTimeStamps& stamps) {
  std::unique_lock lock(mutex_);
  if (!open_ || width_ == 0 || height_ == 0) return false;
  const int width = width_, height = height_;
  const TFCVideoFormat format = format_;
  // Copy outside the lock: a frame may be megabytes, and consumers must not
  // wait for it. The caller's pixels are needed only until the copy is made.
  lock.unlock();
  IFCImageBuffer frame = MakeImageBuffer(width, height, format);
  if (pixels.size() < frame->Size()) return false;
  std::memcpy(frame->Overwrite(), pixels.data(), frame->Size());
  frame->SetTimeStamps(stamps);
  lock.lock();
  return Enqueue(lock, std::move(frame));
}

bool TFCVideoBufferQueueThread::PushFrame(IFCImageBuffer frame) {
  if (!frame) return false;
  std::unique_lock lock(mutex_);
  return Enqueue(lock, std::move(frame));
}

bool TFCVideoBufferQueueThread::Enqueue(std::unique_lock<std::mutex>& lock, IFCImageBuffer frame) {
  room_.wait(lock, [this] { return !open_ || frames_.size() < capacity_; });
  if (!open_) return false;
  frames_.push_back(std::move(frame));
  arrived_.notify_one();
  return true;
}

IFCImageBuffer TFCVideoBufferQueueThread::Take() {
  std::lock_guard guard(mutex_);
  if (frames_.empty()) return nullptr;
  IFCImageBuffer frame = std::move(frames_.front());
  frames_.pop_front();
  room_.notify_all();
  return frame;
}

void TFCVideoBufferQueueThread::Close() {
  std::lock_guard guard(mutex_);
  open_ = false;
  room_.notify_all();
}

void TFCVideoBufferQueueThread::Open() {
  std::lock_guard guard(mutex_);
  open_ = true;
}

bool TFCVideoBufferQueueThread::IsOpen() const {
  std::lock_guard guard(mutex_);
  return open_;
}

std::size_t TFCVideoBufferQueueThread::Clear() {
  std::lock_guard guard(mutex_);
  const std::size_t count = frames_.size();
  frames_.clear();
  room_.notify_all();
  return count;
}

std::size_t TFCVideoBufferQueueThread::Count() const {
  std::lock_guard guard(mutex_);
  return frames_.size();
}

std::size_t TFCVideoBufferQueueThread::Capacity() const {
  std::lock_guard guard(mutex_);
  return capacity_;
}

void TFCVideoBufferQueueThread::SetCapacity(std::size_t capacity) {
  std::lock_guard guard(mutex_);
  capacity_ = std::max<std::size_t>(capacity, 1);
  room_.notify_all();
}

void TFCVideoBufferQueueThread::StartDelivery(TDeliver deliver) {
  StopDelivery(false);
  std::lock_guard guard(mutex_);
  deliver_ = std::move(deliver);
  stopDelivery_ = false;
  drainOnStop_ = false;
  deliveryThread_ = std::thread([this] { DeliveryLoop(); });
}

void TFCVideoBufferQueueThread::StopDelivery(bool drain) {
  std::thread finishing;
  {
    std::lock_guard guard(mutex_);
    if (!deliveryThread_.joinable()) return;
    stopDelivery_ = true;
    drainOnStop_ = drain;
    arrived_.notify_all();
    finishing = std::move(deliveryThread_);
  }
  finishing.join();
  std::lock_guard guard(mutex_);
  deliver_ = nullptr;
}

bool TFCVideoBufferQueueThread::IsDelivering() const {
  std::lock_guard guard(mutex_);
  return deliveryThread_.joinable();
}

void TFCVideoBufferQueueThread::DeliveryLoop() {
  std::unique_lock lock(mutex_);
  const TDeliver deliver = deliver_;
  for (;;) {
    arrived_.wait(lock, [this] { return stopDelivery_ || !frames_.empty(); });
    if (stopDelivery_ && (!drainOnStop_ || frames_.empty())) return;
    IFCImageBuffer frame = std::move(frames_.front());
    frames_.pop_front();
    room_.notify_all();
    lock.unlock();
    deliver(std::move(frame));
    lock.lock();
  }
}

}  // namespace fc
