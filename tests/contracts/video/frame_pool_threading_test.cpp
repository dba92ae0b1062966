// Recycled frame memory under threads: frames fanned out to two sinks that
// read them on threads of their own, while the stream keeps taking blocks
// from the pool. A block reaching a stage while another still reads it shows
// as changed bytes here, and as a race under ThreadSanitizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "contracts/video/common_filter.h"
#include "contracts/video/frame_pool.h"
#include "tests/support/component_harness.h"

namespace fc {
namespace {

using test::TComponentHarness;

// Overwrites every byte of its output with the input's first byte plus one.
class TStampPlusOne : public TFCCommonFilter {
public:
  using TFCCommonFilter::TFCCommonFilter;
  ~TStampPlusOne() override { RetirePins(); }

protected:
  void FilterInternalOperation(const TFCImageBuffer& In, IFCImageBuffer& Out) override {
    const Ipp8u value = static_cast<Ipp8u>(In.Read()[0] + 1);
    std::fill_n(Out->Overwrite(), Out->Size(), value);
  }
};

// A sink that hands each frame to a thread of its own, which checks that
// every byte holds the frame's value, twice, and then lets the frame go.
class TThreadedChecker : public TComponent, public IPMPinDispatcher {
public:
  TThreadedChecker() : TComponent(nullptr), input(this, *this, "Input"), worker_([this] { Work(); }) {}
  ~TThreadedChecker() override {
    Finish();
    input.Retire();
  }

  void Finish() {
    {
      std::lock_guard guard(mutex_);
      finished_ = true;
    }
    ready_.notify_all();
    if (worker_.joinable()) worker_.join();
  }
  int Checked() const { return checked_; }
  int Torn() const { return torn_; }

  bool SinkDispatch(TPMSinkPin&, const TPMOperation& operation) override {
    if (auto frame = FrameOf(operation)) {
      std::lock_guard guard(mutex_);
      queue_.push_back(std::move(frame));
      ready_.notify_one();
    }
    return true;
  }
  bool SourceDispatch(TPMSourcePin&, const TPMOperation&) override { return true; }

  TFCPMImageSinkPin input;

private:
  void Work() {
    for (;;) {
      std::shared_ptr<const TFCImageBuffer> frame;
      {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return finished_ || !queue_.empty(); });
        if (queue_.empty()) return;
        frame = std::move(queue_.front());
        queue_.pop_front();
      }
      const Ipp8u* bytes = frame->Read();
      const Ipp8u value = bytes[0];
      for (int pass = 0; pass < 2; ++pass)
        if (!std::all_of(bytes, bytes + frame->Size(), [&](Ipp8u b) { return b == value; })) ++torn_;
      ++checked_;
    }
  }

  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::shared_ptr<const TFCImageBuffer>> queue_;
  bool finished_ = false;
  int checked_ = 0, torn_ = 0;  // the worker's own; read after Finish
  std::thread worker_;
};

TEST(FramePoolThreading, ARecycledBlockNeverReachesAStageWhileAnotherReadsIt) {
  TStampPlusOne filter(nullptr);
  TComponentHarness harness;
  TThreadedChecker left, right;
  harness.Feed(*filter.GetInputPin());
  filter.GetOutputPin()->Connect(left.input);
  filter.GetOutputPin()->Connect(right.input);
  constexpr int kFrames = 300;
  ASSERT_TRUE(harness.PushStart(32, 24));
  for (int i = 0; i < kFrames; ++i) {
    TFCImageBuffer frame(32, 24);
    std::fill_n(frame.Overwrite(), frame.Size(), static_cast<Ipp8u>(i));
    harness.PushFrame(frame);
  }
  left.Finish();
  right.Finish();
  EXPECT_EQ(left.Checked(), kFrames);
  EXPECT_EQ(right.Checked(), kFrames);
  EXPECT_EQ(left.Torn() + right.Torn(), 0);
  EXPECT_GT(TFCFramePool::Instance().Statistics().reuses, 0u);
}

// A new frame owes black: frames sharing it may fill it from several threads
// at once, and every one of them sees black.
TEST(FramePoolThreading, SharedNewFramesAreFilledBlackOnceForAllReaders) {
  for (int round = 0; round < 200; ++round) {
    {
      TFCImageBuffer dirty(40, 30);
      std::fill_n(dirty.Overwrite(), dirty.Size(), Ipp8u{0xCD});
    }
    const TFCImageBuffer fresh(40, 30);  // a recycled block, black still owed
    int blackSeen[2] = {0, 0};
    auto reader = [&](int slot) {
      const TFCImageBuffer mine(fresh);
      const Ipp8u* bytes = mine.Read();
      blackSeen[slot] = std::all_of(bytes, bytes + mine.Size(), [](Ipp8u b) { return b == 0; });
    };
    std::thread a(reader, 0), b(reader, 1);
    a.join();
    b.join();
    ASSERT_TRUE(blackSeen[0] && blackSeen[1]) << "round " << round;
  }
}

}  // namespace
}  // namespace fc
