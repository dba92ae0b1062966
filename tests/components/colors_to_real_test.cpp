// Frames to real samples, line by line or frame by frame, and back to frames.
#include <gtest/gtest.h>

#include <vector>

#include "components/Fccolorstoreal.h"
#include "components/Fcrealtoframe.h"
#include "platform/runtime/resource_budget.h"
#include "tests/support/component_harness.h"
#include "tests/support/real_channels.h"

namespace fc {
namespace {

std::vector<double> Bytes(const TFCImageBuffer& frame, std::size_t first, std::size_t count, std::size_t stride) {
  std::vector<double> samples;
  for (std::size_t i = 0; i < count; ++i) samples.push_back(frame.Read()[first + i * stride]);
  return samples;
}

class ColorsToRealTest : public ::testing::Test {
protected:
  ColorsToRealTest() : channels(*toReal.GetOutputPins()) { harness.Feed(*toReal.GetInputPin()); }

  TFCColorsToReal toReal{nullptr};
  test::TRealChannels channels;
  test::TComponentHarness harness;
};

TEST_F(ColorsToRealTest, LineScanSendsARowPerBlockAndFrameScanTheWholeFrame) {
  const TFCImageBuffer frame = test::CountingFrame(320, 240, vfRGB24, 3);
  harness.PushStart(320, 240, 25);
  harness.PushFrame(frame);
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(channels[c].First<TPMStartSampleRateOperation>()->SampleRate(), 320.0 * 240 * 25);
    ASSERT_EQ(channels[c].Blocks().size(), 240u);
    // Pin 0 is red: byte 2 of each blue-green-red pixel.
    EXPECT_EQ(channels[c].Samples(239), Bytes(frame, 239 * 960 + 2 - c, 320, 3)) << c;
  }
  toReal.SetScanMode(smFrame);
  harness.PushFrame(frame);
  for (int c = 0; c < 3; ++c) {
    ASSERT_EQ(channels[c].Blocks().size(), 241u);
    EXPECT_EQ(channels[c].Samples(240), Bytes(frame, 2 - c, 76800, 3)) << c;
  }
  harness.PushStop();
  EXPECT_EQ(channels[2].Names().back(), "stop");
}

TEST_F(ColorsToRealTest, GreyFramesGiveGreyOnItsChannelsAndNeutralChroma) {
  const TFCImageBuffer grey = test::CountingFrame(12, 3, vfGray8, 100);
  toReal.SetColorMode(cmYUV);
  EXPECT_EQ(toReal.GetOutputPins()->GetPin(1)->Name(), "ChrominanceU");
  harness.PushFrame(grey);
  ASSERT_EQ(channels[0].Blocks().size(), 3u);
  EXPECT_EQ(channels[0].Samples(2), Bytes(grey, 24, 12, 1));
  EXPECT_EQ(channels[1].Samples(2), std::vector<double>(12, 128.0));
  EXPECT_EQ(channels[2].Samples(0), std::vector<double>(12, 128.0));

  toReal.SetColorMode(cmHSV);
  toReal.SetScanMode(smFrame);
  harness.PushFrame(grey);
  EXPECT_EQ(channels[0].Samples(3), std::vector<double>(36, 0.0));
  EXPECT_EQ(channels[2].Samples(3), Bytes(grey, 0, 36, 1));
}

TEST_F(ColorsToRealTest, FrameBlocksBeyondTheMemoryBudgetAreReportedAndNotSent) {
  SetMaxBufferBytes(100000);
  toReal.SetScanMode(smFrame);
  harness.PushFrame(test::CountingFrame(320, 240));  // 76,800 samples of 8 bytes
  SetMaxBufferBytes(0);
  EXPECT_TRUE(channels[0].Blocks().empty());
  EXPECT_EQ(toReal.ErrorCount(), 1);
  harness.PushFrame(test::CountingFrame(320, 240));
  EXPECT_EQ(channels[0].Blocks().size(), 1u);
}

TEST(ColorsToRealRoundTrip, SamplesOfAGreyFrameComeBackAsTheSameFrame) {
  TFCColorsToReal toReal(nullptr);
  TFCRealToFrame toFrame(nullptr);
  toFrame.SetWidth(24);
  toFrame.SetHight(10);
  toFrame.Set_FramePerSec(15);
  toReal.GetOutputPins()->GetPin(0)->Connect(*toFrame.GetInputPin());
  test::TComponentHarness harness;
  harness.Feed(*toReal.GetInputPin());
  harness.Collect(*toFrame.GetOutputPin());

  // The start-sample-rate the converter announces starts the frame maker.
  harness.PushStart(24, 10, 15, vfGray8);
  const TFCImageBuffer grey = test::CountingFrame(24, 10, vfGray8, 7);
  harness.PushFrame(grey);
  harness.PushFrame(grey);
  const auto frames = harness.Frames();
  ASSERT_EQ(frames.size(), 2u);
  for (const auto& frame : frames)
    EXPECT_EQ(std::vector<Ipp8u>(frame->Read(), frame->Read() + frame->Size()),
              std::vector<Ipp8u>(grey.Read(), grey.Read() + grey.Size()));
  EXPECT_EQ(harness.LastStart()->Rate(), 15.0);
}

}  // namespace
}  // namespace fc
