// The frame queue between a producing media thread and delivery: copies,
// back-pressure, release of a blocked producer, the delivery thread. Run
// under ThreadSanitizer too (ctest label "threading").
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "contracts/video/video_buffer_queue_thread.h"

namespace fc {
namespace {

using namespace std::chrono_literals;

std::vector<std::uint8_t> PixelsOf(int width, int height, std::uint8_t seed) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 3);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(seed + i);
  return pixels;
}

TPMTimeStamps At(std::int64_t begin) { return {begin, begin + 400'000, true}; }

// True when `pending` finishes within a generous bound for a loaded machine.
template <class T> bool FinishesSoon(std::future<T>& pending) {
  return pending.wait_for(10s) == std::future_status::ready;
}
// True when `pending` is still waiting after a short while.
template <class T> bool StillWaiting(std::future<T>& pending) {
  return pending.wait_for(50ms) == std::future_status::timeout;
}

TEST(VideoBufferQueue, PushCopiesThePixelsIntoAFrameWithItsTimes) {
  TFCVideoBufferQueueThread queue;
  std::vector<std::uint8_t> pixels = PixelsOf(5, 3, 7);
  EXPECT_FALSE(queue.Push(pixels, At(0))) << "no frame format yet";

  queue.SetFrameFormat(5, 3);
  pixels.push_back(99);  // bytes beyond a frame are ignored
  ASSERT_TRUE(queue.Push(pixels, At(0)));
  pixels.assign(pixels.size(), 0);  // the producer reuses its buffer at once
  IFCImageBuffer frame = queue.Take();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->Width(), 5);
  EXPECT_EQ(frame->Height(), 3);
  EXPECT_EQ(frame->Format(), vfRGB24);
  const std::vector<std::uint8_t> expected = PixelsOf(5, 3, 7);
  EXPECT_EQ(std::vector<std::uint8_t>(frame->Read(), frame->Read() + frame->Size()), expected);
  EXPECT_EQ(frame->TimeStamps(), At(0));
  EXPECT_EQ(queue.Take(), nullptr);
}

TEST(VideoBufferQueue, RefusesPixelsShorterThanAFrame) {
  TFCVideoBufferQueueThread queue;
  queue.SetFrameFormat(4, 4);
  std::vector<std::uint8_t> pixels = PixelsOf(4, 4, 0);
  pixels.pop_back();
  EXPECT_FALSE(queue.Push(pixels, At(0)));
  EXPECT_EQ(queue.Count(), 0u);
}

TEST(VideoBufferQueue, AFullQueueHoldsTheProducerUntilAFrameIsTaken) {
  TFCVideoBufferQueueThread queue(2);
  queue.SetFrameFormat(2, 2);
  const std::vector<std::uint8_t> pixels = PixelsOf(2, 2, 0);
  ASSERT_TRUE(queue.Push(pixels, At(0)));
  ASSERT_TRUE(queue.Push(pixels, At(1)));
  auto third = std::async(std::launch::async, [&] { return queue.Push(pixels, At(2)); });
  EXPECT_TRUE(StillWaiting(third));
  EXPECT_EQ(queue.Take()->TimeStamps(), At(0));
  ASSERT_TRUE(FinishesSoon(third));
  EXPECT_TRUE(third.get());
  EXPECT_EQ(queue.Take()->TimeStamps(), At(1));
  EXPECT_EQ(queue.Take()->TimeStamps(), At(2));
}

TEST(VideoBufferQueue, ClosingReleasesABlockedProducerAndRefusesMore) {
  TFCVideoBufferQueueThread queue(1);
  queue.SetFrameFormat(2, 2);
  const std::vector<std::uint8_t> pixels = PixelsOf(2, 2, 0);
  ASSERT_TRUE(queue.Push(pixels, At(0)));
  auto blocked = std::async(std::launch::async, [&] { return queue.Push(pixels, At(1)); });
  EXPECT_TRUE(StillWaiting(blocked));
  queue.Close();
  ASSERT_TRUE(FinishesSoon(blocked));
  EXPECT_FALSE(blocked.get());
  EXPECT_FALSE(queue.PushFrame(MakeImageBuffer(2, 2)));
  EXPECT_EQ(queue.Count(), 1u) << "closing keeps what was queued";

  queue.Open();
  queue.Clear();
  EXPECT_TRUE(queue.Push(pixels, At(2)));
}

TEST(VideoBufferQueue, ClearReleasesABlockedProducer) {
  TFCVideoBufferQueueThread queue(1);
  ASSERT_TRUE(queue.PushFrame(MakeImageBuffer(2, 2)));
  auto blocked = std::async(std::launch::async, [&] { return queue.PushFrame(MakeImageBuffer(2, 2)); });
  EXPECT_TRUE(StillWaiting(blocked));
  EXPECT_EQ(queue.Clear(), 1u);
  ASSERT_TRUE(FinishesSoon(blocked));
  EXPECT_TRUE(blocked.get());
}

TEST(VideoBufferQueue, TheDeliveryThreadPassesEveryFrameInOrder) {
  TFCVideoBufferQueueThread queue(3);
  std::mutex mutex;
  std::vector<std::int64_t> delivered;
  queue.StartDelivery([&](IFCImageBuffer frame) {
    std::lock_guard guard(mutex);
    delivered.push_back(frame->TimeStamps().begin);
  });
  std::thread producer([&] {
    for (int i = 0; i < 200; ++i) {
      IFCImageBuffer frame = MakeImageBuffer(2, 2);
      frame->SetTimeStamps(At(i));
      ASSERT_TRUE(queue.PushFrame(frame));
    }
  });
  producer.join();
  queue.Close();
  queue.StopDelivery(true);
  EXPECT_FALSE(queue.IsDelivering());
  ASSERT_EQ(delivered.size(), 200u);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(delivered[i], i);
}

TEST(VideoBufferQueue, StoppingWithoutDrainLeavesQueuedFrames) {
  TFCVideoBufferQueueThread queue(8);
  std::promise<void> entered;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<int> delivered{0};
  queue.StartDelivery([&](IFCImageBuffer) {
    if (delivered++ == 0) {
      entered.set_value();
      released.wait();
    }
  });
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(queue.PushFrame(MakeImageBuffer(2, 2)));
  entered.get_future().wait();  // the first frame is in the handler
  auto stopping = std::async(std::launch::async, [&] { queue.StopDelivery(false); });
  EXPECT_TRUE(StillWaiting(stopping)) << "stop waits for the frame in delivery";
  release.set_value();
  ASSERT_TRUE(FinishesSoon(stopping));
  EXPECT_EQ(delivered, 1);
  EXPECT_EQ(queue.Count(), 3u);
}

TEST(VideoBufferQueue, DestructionEndsADeliveryThreadThatWaitsForFrames) {
  std::atomic<int> delivered{0};
  {
    TFCVideoBufferQueueThread queue;
    queue.StartDelivery([&](IFCImageBuffer) { ++delivered; });
    ASSERT_TRUE(queue.PushFrame(MakeImageBuffer(2, 2)));
    while (queue.Count() != 0) std::this_thread::yield();
  }
  EXPECT_EQ(delivered, 1);
}

}  // namespace
}  // namespace fc
