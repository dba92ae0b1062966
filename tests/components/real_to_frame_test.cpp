// Real samples collected into grey frames: frame filling, the byte of a
// sample, stream start and its refusals, master-pump pacing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "components/Fcrealtoframe.h"
#include "platform/runtime/error.h"
#include "tests/support/component_harness.h"
#include "tests/support/real_harness.h"

namespace fc {
namespace {

class RealToFrameTest : public ::testing::Test {
protected:
  RealToFrameTest() {
    feeder.output.Connect(*toFrame.GetInputPin());
    harness.Collect(*toFrame.GetOutputPin());
  }

  TFCRealToFrame toFrame{nullptr};
  test::TRealFeeder feeder;
  test::TComponentHarness harness;
};

TEST_F(RealToFrameTest, DefaultFramesTake43200SamplesAndKeepTheRemainderForTheNext) {
  feeder.output.SendStartSampleRate(43200.0 * 30);
  const TPMStartFrameOperation* start = harness.LastStart();
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(start->Width(), 240);
  EXPECT_EQ(start->Height(), 180);
  EXPECT_EQ(start->Rate(), 30.0);
  EXPECT_EQ(start->PixelFormat(), vfGray8);

  std::vector<double> samples(100000);
  for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<double>(i % 251);
  feeder.PushSamples(samples);
  auto frames = harness.Frames();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[1]->Read()[0], 43200 % 251);

  // 13,600 samples wait in the third frame: 29,600 more complete it.
  feeder.PushSamples(std::vector<double>(29599, 1.0));
  EXPECT_EQ(harness.Frames().size(), 2u);
  feeder.PushSamples({1.0});
  frames = harness.Frames();
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[2]->Read()[0], 86400 % 251);
  EXPECT_EQ(frames[2]->Read()[13599], 99999 % 251);
  EXPECT_EQ(frames[2]->Read()[13600], 1);
}

TEST_F(RealToFrameTest, SamplesBecomeTheLowByteOfTheirRoundedValue) {
  toFrame.SetWidth(15);
  toFrame.SetHight(1);
  feeder.output.SendStartSampleRate(15);
  const double inf = std::numeric_limits<double>::infinity();
  feeder.PushSamples({300.0, 256.0, -1.0, 2.5, 3.5, 254.6, -0.4, std::nan(""), inf, -inf, 1e300, -1e300,
                      9223372036854775807.0, -9223372036854775808.0, 65535.5});
  auto frames = harness.Frames();
  ASSERT_EQ(frames.size(), 1u);
  const Ipp8u* b = frames[0]->Read();
  EXPECT_EQ(std::vector<int>(b, b + 15),
            (std::vector<int>{44, 0, 255, 2, 4, 255, 0, 0, 255, 0, 255, 0, 255, 0, 0}));
}

TEST_F(RealToFrameTest, SinglesAndRealsFillFramesAndSentFramesStayAsTheyWere) {
  toFrame.SetWidth(2);
  toFrame.SetHight(1);
  feeder.output.SendStartSampleRate(2);
  feeder.output.SendSingle(7.0f);
  feeder.output.SendReal(8.0);
  feeder.PushSamples({9.0, 10.0});
  auto frames = harness.Frames();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0]->Read()[0], 7);
  EXPECT_EQ(frames[0]->Read()[1], 8);
  EXPECT_EQ(frames[1]->Read()[0], 9);
}

TEST_F(RealToFrameTest, ZeroSizeIsRefusedAtStartAndSamplesWithoutAStreamAreCounted) {
  feeder.PushSamples(std::vector<double>(50, 1.0));
  EXPECT_EQ(toFrame.DroppedSamples(), 50u);

  toFrame.SetName("ToFrame1");
  toFrame.SetHight(0);
  try {
    feeder.output.SendStartSampleRate(1000);
    FAIL() << "a zero height must be refused";
  } catch (const EFCError& error) {
    EXPECT_NE(std::string(error.what()).find("ToFrame1.Hight"), std::string::npos) << error.what();
  }
  feeder.output.SendReal(1.0);
  EXPECT_EQ(toFrame.DroppedSamples(), 51u);
  EXPECT_THROW(toFrame.SetWidth(1u << 20), EFCError);
  EXPECT_TRUE(harness.Frames().empty());

  // Size changes take effect at the next start.
  toFrame.SetHight(2);
  toFrame.SetWidth(1);
  feeder.output.SendStartSampleRate(1000);
  toFrame.SetWidth(100);
  feeder.PushSamples({1.0, 2.0});
  ASSERT_EQ(harness.Frames().size(), 1u);
  EXPECT_EQ(harness.Frames()[0]->Width(), 1);

  feeder.output.SendStop();
  feeder.PushSamples({1.0});
  EXPECT_EQ(toFrame.DroppedSamples(), 52u);
  EXPECT_EQ(harness.Names().back(), "stop");
}

TEST_F(RealToFrameTest, MasterPumpsTakeOwedFramesBeforeAskingUpstream) {
  toFrame.SetWidth(4);
  toFrame.SetHight(1);
  feeder.output.SendStartSampleRate(4);
  std::vector<std::vector<double>> answers{std::vector<double>(8, 1.0)};
  feeder.onRequest = [&](const TPMOperation& request) {
    ASSERT_TRUE(request->Is<TPMMasterPumpOperation>());
    if (answers.empty()) return;
    auto next = answers.front();
    answers.erase(answers.begin());
    feeder.PushSamples(next);
  };
  auto pump = [&] { return harness.downstream.Request(MakeOperation<TPMMasterPumpOperation>(&harness)); };

  pump();  // just started: goes upstream, which answers with two frames
  EXPECT_EQ(feeder.Requests(), 1);
  EXPECT_EQ(harness.Frames().size(), 2u);
  pump();  // both frames of that block are owed: no request
  pump();
  EXPECT_EQ(feeder.Requests(), 1);
  // Nothing owed: upstream again, asked until its halves complete a frame.
  answers = {std::vector<double>(2, 3.0), std::vector<double>(2, 4.0)};
  pump();
  EXPECT_EQ(feeder.Requests(), 3);
  ASSERT_EQ(harness.Frames().size(), 3u);
  EXPECT_EQ(harness.Frames()[2]->Read()[3], 4);
}

}  // namespace
}  // namespace fc
