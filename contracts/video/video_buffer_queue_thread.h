// video_buffer_queue_thread.h - a bounded queue of frames between a media
// thread that produces pixels and the thread that sends them on, with an
// optional delivery thread of its own.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <thread>

#include "contracts/pins/time_stamps.h"
#include "contracts/video/image_buffer.h"
#include "platform/runtime/components_api.h"

namespace fc {

/// Frames in arrival order, at most `Capacity()` of them.
///
/// A producer pushes raw pixels (a decoder's output, valid only during its
/// callback) or whole frames. `Push` copies the pixels into a new frame of
/// the size and format set by `SetFrameFormat`, then waits while the queue
/// is full: the producer is held back until a consumer takes a frame, so a
/// fast reader cannot run ahead of delivery. The wait always ends: it ends
/// when there is room, or when the queue is closed (`Close`, the destructor),
/// so a producer blocked in a stream that stops is released at once.
///
/// Consumers either poll with `Take` (a delivery thread that interleaves
/// several queues) or let the queue run a delivery thread of its own
/// (`StartDelivery`), which passes every frame to a handler in order.
///
/// Every member may be called from any thread, except that the delivery
/// handler must not start or stop delivery itself.
class FC_COMPONENTS_API TFCVideoBufferQueueThread {
public:
  /// A few frames: enough to ride out a slow consumer, little memory.
  static constexpr std::size_t kDefaultCapacity = 8;
  using TDeliver = std::function<void(IFCImageBuffer)>;

  /// A capacity of 0 counts as 1. The queue starts open.
  explicit TFCVideoBufferQueueThread(std::size_t capacity = kDefaultCapacity);
  /// Closes the queue and ends the delivery thread without draining.
  ~TFCVideoBufferQueueThread();
  TFCVideoBufferQueueThread(const TFCVideoBufferQueueThread&) = delete;
  TFCVideoBufferQueueThread& operator=(const TFCVideoBufferQueueThread&) = delete;

  /// The frames that `Push` copies raw pixels into (packed rows, top row
  /// first). Negative sides count as 0.
  void SetFrameFormat(int width, int height, TFCVideoFormat format = vfRGB24);
  int FrameWidth() const;
  int FrameHeight() const;
  TFCVideoFormat FrameFormat() const;

  /// Copies the first frame-size bytes of `pixels` into a new frame stamped
  /// with `stamps` and queues it, waiting while the queue is full. False,
  /// with nothing queued, when the queue is closed (before or during the
  /// wait), when no frame format is set, or when `pixels` holds less than a
  /// frame.
  bool Push(std::span<const std::uint8_t> pixels, const TPMTimeStamps& stamps);
  /// Queues `frame` itself, waiting like Push. False when the queue is
  /// closed or the frame is null.
  bool PushFrame(IFCImageBuffer frame);
  /// Removes and returns the oldest frame, without waiting; null when empty.
  IFCImageBuffer Take();

  /// Refuses pushes from now on and releases every producer waiting for room
  /// (their pushes return false). Queued frames stay, for Take or a
  /// draining StopDelivery.
  void Close();
  /// Accepts pushes again.
  void Open();
  bool IsOpen() const;
  /// Drops the queued frames (releasing producers waiting for room);
  /// returns how many there were.
  std::size_t Clear();

  std::size_t Count() const;
  std::size_t Capacity() const;
  /// A capacity of 0 counts as 1. A smaller capacity keeps frames already
  /// queued; pushes wait until the count is below it.
  void SetCapacity(std::size_t capacity);

  /// Starts a thread that takes every frame as it arrives and passes it to
  /// `deliver`, in order. Restarts a running delivery thread.
  void StartDelivery(TDeliver deliver);
  /// Ends the delivery thread and waits for it. With `drain`, the thread
  /// first delivers queued frames until the queue is empty (close the queue
  /// first so producers cannot keep it busy); otherwise it stops after the
  /// frame it is delivering, and queued frames stay.
  void StopDelivery(bool drain);
  bool IsDelivering() const;

private:
  // Waits for room, then appends (lock held); false when closed meanwhile.
  bool Enqueue(std::unique_lock<std::mutex>& lock, IFCImageBuffer frame);
  void DeliveryLoop();

  mutable std::mutex mutex_;
  std::condition_variable room_;     // signalled when a frame leaves or the queue closes
  std::condition_variable arrived_;  // signalled when a frame arrives or delivery must stop
  std::deque<IFCImageBuffer> frames_;
  std::size_t capacity_;
  bool open_ = true;
  int width_ = 0;
  int height_ = 0;
  TFCVideoFormat format_ = vfRGB24;

  TDeliver deliver_;
  std::thread deliveryThread_;
  bool stopDelivery_ = false;
  bool drainOnStop_ = false;
};

}  // namespace fc
