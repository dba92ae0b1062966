// Rate changer: groups, weights, lag, long-run ratios and refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "components/Fcchangerate.h"
#include "platform/runtime/error.h"
#include "tests/components/filter_run.h"

namespace fc {
namespace {

using test::TComponentHarness;

// A frame of which every byte is `value`.
TFCImageBuffer Flat(int value, int width = 2, int height = 2, TFCVideoFormat format = vfRGB24) {
  TFCImageBuffer frame(width, height, format);
  std::fill(frame.Write(), frame.Write() + frame.Size(), static_cast<Ipp8u>(value));
  return frame;
}

struct RateRun {
  TFCChangeRate rate{nullptr};
  TComponentHarness harness;
  RateRun(double from, double to) {
    harness.Feed(*rate.GetInputPin());
    harness.Collect(*rate.GetOutputPin());
    rate.SetFrameRate(to);
    harness.PushStart(2, 2, from);
  }
  std::vector<int> FirstBytes() const {
    std::vector<int> bytes;
    for (const auto& f : harness.Frames()) bytes.push_back(f->Read()[0]);
    return bytes;
  }
};

TEST(ChangeRate, TenToTwentyFiveBlendsWithWeightsLimitedToOne) {
  RateRun run(10, 25);
  EXPECT_EQ(run.rate.Operation(), froUpSample);
  EXPECT_EQ(run.harness.LastStart()->Rate(), 25);
  run.harness.PushFrame(Flat(0));    // no previous frame: sent as it is
  run.harness.PushFrame(Flat(100));  // weights 0.4, 0.8 and 1.2 limited to 1
  EXPECT_EQ(run.FirstBytes(), (std::vector<int>{0, 0, 40, 80, 100}));
  const auto frames = run.harness.Frames();
  for (std::size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i]->TimeCode().frameNumber, static_cast<std::int64_t>(i));
    EXPECT_FALSE(frames[i]->TimeCode().dateTimeAvailable);
    EXPECT_EQ(frames[i]->TimeStamps().begin, static_cast<std::int64_t>(i) * 400000);
  }
}

TEST(ChangeRate, LongRunRatiosMatchTheRates) {
  struct Case {
    double from, to;
    int expected;  // output frames for 1000 input frames
  };
  for (Case c : {Case{10, 25, 2500}, Case{30, 10, 333}, Case{25, 30, 1200}, Case{10, 20, 2000}}) {
    RateRun run(c.from, c.to);
    for (int i = 0; i < 1000; ++i) run.harness.PushFrame(Flat(i % 256));
    const int out = static_cast<int>(run.harness.Frames().size());
    EXPECT_NEAR(out, c.expected, 1) << c.from << " to " << c.to;
    std::printf("%g to %g fps: 1000 frames in, %d out\n", c.from, c.to, out);
  }
}

TEST(ChangeRate, ThirtyToTenSendsOneFrameInThree) {
  RateRun run(30, 10);
  EXPECT_EQ(run.rate.Operation(), froDownSample);
  for (int k = 1; k <= 30; ++k) run.harness.PushFrame(Flat(3 * k));
  // Frames 4, 7 ... 28 leave, each a blend of its predecessor and itself
  // whose weight is limited to 0 ... 1.
  const std::vector<int> out = run.FirstBytes();
  ASSERT_EQ(out.size(), 9u);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const int k = 4 + 3 * static_cast<int>(i);
    EXPECT_GE(out[i], 3 * (k - 1));
    EXPECT_LE(out[i], 3 * k);
  }
}

TEST(ChangeRate, EqualRatesPassFramesAndGreyFramesStayGrey) {
  RateRun same(15, 15);
  same.harness.PushFrame(Flat(7));
  EXPECT_EQ(same.rate.Operation(), froNone);
  EXPECT_EQ(same.FirstBytes(), std::vector<int>{7});

  RateRun grey(10, 20);
  grey.harness.PushFrame(Flat(10, 3, 2, vfGray8));
  grey.harness.PushFrame(Flat(30, 3, 2, vfGray8));
  for (const auto& f : grey.harness.Frames()) EXPECT_EQ(f->Format(), vfGray8);
  EXPECT_EQ(grey.FirstBytes(), (std::vector<int>{10, 10, 20, 30}));
}

TEST(ChangeRate, RefusesRatesOfZeroAndDropsTheRefusedStream) {
  TFCChangeRate rate(nullptr);
  for (double bad : {0.0, -5.0, std::numeric_limits<double>::quiet_NaN()})
    EXPECT_THROW(rate.SetFrameRate(bad), EFCError) << bad;
  EXPECT_EQ(rate.GetFrameRate(), 15.0);

  TComponentHarness harness;
  harness.Feed(*rate.GetInputPin());
  harness.Collect(*rate.GetOutputPin());
  EXPECT_THROW(harness.PushStart(2, 2, 0.4), EFCError);  // rounds to 0 frames per second
  harness.PushFrame(Flat(1));
  EXPECT_TRUE(harness.Frames().empty());
  rate.SetFrameRate(1e6);  // a million work frames per input frame of 640 x 480
  EXPECT_THROW(harness.PushStart(640, 480, 1), EFCError);
  rate.SetFrameRate(15);
  harness.PushStart(2, 2, 5);  // a good stream works again
  harness.PushFrame(Flat(1));
  EXPECT_FALSE(harness.Frames().empty());
}

TEST(ChangeRate, AFrameSizeChangeMidStreamStartsAfresh) {
  RateRun run(10, 25);
  run.harness.PushFrame(Flat(50, 2, 2));
  run.harness.PushFrame(Flat(100, 9, 7));  // larger: work frames are made anew
  run.harness.PushFrame(Flat(0, 9, 7));
  const auto frames = run.harness.Frames();
  ASSERT_EQ(frames.size(), 7u);
  EXPECT_EQ(frames.back()->Width(), 9);
  // The first frame of the new size has nothing to blend with.
  EXPECT_EQ(run.FirstBytes(), (std::vector<int>{50, 50, 100, 100, 100, 60, 20}));
}

TEST(ChangeRate, ResetForgetsThePreviousFrame) {
  RateRun run(10, 20);
  run.harness.PushFrame(Flat(0));
  run.rate.Reset();
  run.harness.PushFrame(Flat(200));
  EXPECT_EQ(run.FirstBytes(), (std::vector<int>{0, 0, 200, 200}));
}

}  // namespace
}  // namespace fc
