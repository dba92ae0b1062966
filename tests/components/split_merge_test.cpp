// The colour split and the colour merge, alone and back to back.
#include <gtest/gtest.h>

#include "components/Fccolormerge.h"
#include "components/Fccolorsplit.h"
#include "tests/components/filter_run.h"
#include "tests/components/multi_input_support.h"

namespace fc {
namespace {

using test::BytesOf;
using test::CountingFrame;
using test::TComponentHarness;
using test::TMultiRun;

// A split with a harness on its input and one on each output.
struct TSplitRun {
  explicit TSplitRun(TFCColorSplit& split) {
    input.Feed(*split.GetInputPin());
    for (int i = 0; i < 3; ++i) outputs[i].Collect(split.OutputPin(i));
  }
  void Push(const TFCImageBuffer& frame) {
    input.PushStart(frame.Width(), frame.Height(), 25, frame.Format());
    input.PushFrame(frame);
    input.PushStop();
  }
  std::vector<Ipp8u> Plane(int i) const { return BytesOf(*outputs[i].Frames().at(0)); }

  TComponentHarness input;
  TComponentHarness outputs[3];
};

TFCImageBuffer Grey(int width, int height, int first) { return CountingFrame(width, height, vfGray8, first); }

TEST(ColorSplit, SendsTheChannelsAsPlanesInsideAStreamOnEachPin) {
  TFCColorSplit split(nullptr);
  TSplitRun run(split);
  const TFCImageBuffer frame = CountingFrame(5, 3);
  run.Push(frame);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(run.outputs[i].Names(), (std::vector<std::string>{"start-frame", "supplied-buffer", "stop"}));
    const TPMStartFrameOperation* start = run.outputs[i].LastStart();
    EXPECT_EQ(start->Width(), 5);
    EXPECT_EQ(start->Height(), 3);
    EXPECT_EQ(start->Rate(), 25);
    EXPECT_EQ(start->PixelFormat(), vfGray8);
    // Pin 0 is red: frame byte 2 of each pixel.
    const std::vector<Ipp8u> plane = run.Plane(i);
    ASSERT_EQ(plane.size(), 15u);
    for (int p = 0; p < 15; ++p) EXPECT_EQ(plane[p], frame.Read()[p * 3 + 2 - i]);
  }
}

TEST(ColorSplit, GreyFramesFillTheChannelsTheirModeGives) {
  const TFCImageBuffer grey = Grey(4, 2, 60);
  const std::vector<Ipp8u> same = BytesOf(grey), zero(8, 0), half(8, 128);
  struct Case {
    TFCColorMode mode;
    std::vector<Ipp8u> planes[3];
  };
  for (const Case& c : {Case{cmRGB, {same, same, same}}, Case{cmHLS, {zero, same, zero}},
                        Case{cmHSV, {zero, zero, same}}, Case{cmYUV, {same, half, half}}}) {
    TFCColorSplit split(nullptr);
    split.SetColorMode(c.mode);
    TSplitRun run(split);
    run.Push(grey);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(run.Plane(i), c.planes[i]) << "mode " << c.mode << " pin " << i;
  }
  // Other modes take the grey frame as a grey colour frame.
  for (TFCColorMode mode : {cmLUV, cmXYZ, cmYCbCr, cmYCC, cmLab}) {
    TFCColorSplit fromGrey(nullptr), fromColour(nullptr);
    fromGrey.SetColorMode(mode);
    fromColour.SetColorMode(mode);
    TSplitRun greyRun(fromGrey), colourRun(fromColour);
    TFCImageBuffer colour = grey;
    colour.ConvertTo(vfRGB24);
    greyRun.Push(grey);
    colourRun.Push(colour);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(greyRun.Plane(i), colourRun.Plane(i)) << "mode " << mode;
  }
}

TEST(ColorSplitMerge, RenameTheirPinsAfterTheColourMode) {
  TFCColorSplit split(nullptr);
  TFCColorMerge merge(nullptr);
  EXPECT_EQ(split.OutputPin(2).Name(), "Blu");
  EXPECT_EQ(merge.Input(2).Name(), "Blu");
  SetPropertyText(split, "ColorMode", "cmHSV");
  SetPropertyText(merge, "ColorMode", "cmLab");
  EXPECT_EQ(split.OutputPin(0).Name(), "Hue");
  EXPECT_EQ(split.OutputPin(2).Name(), "Value");
  EXPECT_EQ(merge.Input(0).Name(), "L*");
  EXPECT_EQ(merge.Input(1).Name(), "a*");
}

TEST(ColorMerge, PlacesEachPlaneAtItsOffsetOverTheBackground) {
  TFCColorMerge merge(nullptr);
  merge.SetBackgroundColor(0x302010);  // red 0x10, green 0x20, blue 0x30
  merge.GetChannels()->GetChannel2()->SetX(16);
  TMultiRun run(merge);
  for (int i = 0; i < 3; ++i) run[i].PushStart(4, 2, 30, vfGray8);
  for (int i = 0; i < 3; ++i) run[i].PushFrame(Grey(4, 2, 100 * i));
  const auto frames = run.Output().Frames();
  ASSERT_EQ(frames.size(), 1u);
  const TFCImageBuffer& out = *frames[0];
  ASSERT_EQ(out.Width(), 20);  // 16 wider than the planes
  ASSERT_EQ(out.Height(), 2);
  EXPECT_EQ(run.Output().LastStart()->Width(), 20);
  auto at = [&](int x, int y, int c) { return out.Read()[(y * 20 + x) * 3 + c]; };
  // cmRGB: channel 0 (red) ends in byte 2, channel 2 (blue) in byte 0.
  EXPECT_EQ(at(1, 1, 2), 5);          // red plane at 0, pixel 5
  EXPECT_EQ(at(1, 1, 0), 205);        // blue plane at 0
  EXPECT_EQ(at(17, 1, 1), 105);       // green plane at x 16
  EXPECT_EQ(at(1, 1, 1), 0x20);       // green not reached: the background's green
  EXPECT_EQ(at(17, 1, 2), 0x10);      // red not reached: the background's red
}

TEST(ColorMerge, PlanesLargerThanAnnouncedAndMovedOffsetsStayInsideTheFrame) {
  TFCColorMerge merge(nullptr);
  TMultiRun run(merge);
  for (int i = 0; i < 3; ++i) run[i].PushStart(4, 4, 30, vfGray8);
  for (int i = 0; i < 3; ++i) run[i].PushFrame(Grey(10, 9, i));
  merge.GetChannels()->GetChannel1()->SetX(1000);
  merge.GetChannels()->GetChannel3()->SetY(7);
  for (int i = 0; i < 3; ++i) run[i].PushFrame(Grey(10, 9, i));
  const auto frames = run.Output().Frames();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0]->Width(), 10);
  EXPECT_EQ(frames[0]->Height(), 9);
  EXPECT_EQ(run.Output().LastStart()->Width(), 10);  // announced again
  EXPECT_EQ(frames[1]->Width(), 10);
}

TEST(ColorMerge, WaitsForEveryRunningChannelAndStopsOnce) {
  TFCColorMerge merge(nullptr);
  TMultiRun run(merge);
  for (int i = 0; i < 3; ++i) run[i].PushStart(2, 2, 30, vfGray8);
  run[0].PushFrame(Grey(2, 2, 1));
  run[0].PushFrame(Grey(2, 2, 50));  // the same channel twice in a round: ignored
  run[1].PushFrame(Grey(2, 2, 2));
  EXPECT_TRUE(run.Output().Frames().empty());
  run[2].PushFrame(Grey(2, 2, 3));
  ASSERT_EQ(run.Output().Frames().size(), 1u);
  EXPECT_EQ(run.Output().Frames()[0]->Read()[2], 1);
  for (int i = 0; i < 3; ++i) run[i].PushStop();
  run[0].PushFrame(Grey(2, 2, 1));
  EXPECT_EQ(run.Output().Names(), (std::vector<std::string>{"start-frame", "supplied-buffer", "stop"}));
}

TEST(ColorSplitMerge, BackToBackGiveTheFrameBack) {
  for (TFCColorMode mode : {cmRGB, cmHSV, cmYCbCr}) {
    TFCColorSplit split(nullptr);
    TFCColorMerge merge(nullptr);
    split.SetColorMode(mode);
    merge.SetColorMode(mode);
    for (int i = 0; i < 3; ++i) split.OutputPin(i).Connect(merge.Input(i));
    TComponentHarness harness;
    harness.Feed(*split.GetInputPin());
    harness.Collect(*merge.GetOutputPin());
    TFCImageBuffer frame(16, 8);
    for (std::size_t i = 0; i < frame.Size(); ++i) frame.Write()[i] = static_cast<Ipp8u>(i * 37 % 200 + 20);
    harness.PushStart(16, 8);
    harness.PushFrame(frame);
    harness.PushStop();
    EXPECT_EQ(harness.Names(), (std::vector<std::string>{"start-frame", "supplied-buffer", "stop"}));
    ASSERT_EQ(harness.Frames().size(), 1u);
    const TFCImageBuffer& out = *harness.Frames()[0];
    ASSERT_EQ(out.Size(), frame.Size());
    const int tolerance = mode == cmRGB ? 0 : 3;
    for (std::size_t i = 0; i < out.Size(); ++i)
      ASSERT_LE(std::abs(out.Read()[i] - frame.Read()[i]), tolerance) << "mode " << mode << " byte " << i;
  }
}

}  // namespace
}  // namespace fc
