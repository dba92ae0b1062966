// The combine and the colour key: operations, panes, missing and grey
// inputs, size changes, colour ranges.
#include <gtest/gtest.h>

#include <functional>

#include "components/Fccombine.h"
#include "components/Fctransparentcolor.h"
#include "tests/components/filter_run.h"
#include "tests/components/multi_input_support.h"

namespace fc {
namespace {

using test::BytesOf;
using test::TMultiRun;

// A frame of three-byte pixels whose byte i is f(i).
TFCImageBuffer FrameOf(int width, int height, const std::function<int(int)>& f) {
  TFCImageBuffer frame(width, height);
  Ipp8u* bytes = frame.Write();
  for (int i = 0; i < static_cast<int>(frame.Size()); ++i) bytes[i] = static_cast<Ipp8u>(f(i));
  return frame;
}

// Starts both inputs with the frames' sizes and sends one frame on each;
// the last output frame.
TFCImageBuffer CombineOnce(TFCCommonCombine& combine, const TFCImageBuffer& a, const TFCImageBuffer& b) {
  TMultiRun run(combine);
  run[0].PushStart(a.Width(), a.Height(), 30, a.Format());
  run[1].PushStart(b.Width(), b.Height(), 30, b.Format());
  run[0].PushFrame(a);
  run[1].PushFrame(b);
  const auto frames = run.Output().Frames();
  EXPECT_EQ(frames.size(), 1u);
  return frames.empty() ? TFCImageBuffer() : *frames.back();
}

int DivideRounded(int a, int b) {  // b / a, ties to even
  if (a == 0) return b > 0 ? 255 : 0;
  const int q = b / a, r = b % a;
  return 2 * r > a || (2 * r == a && q % 2 == 1) ? q + 1 : q;
}

TEST(Combine, EachOperationWorksPerByteWithSaturation) {
  // 64 x 64 pixels: many pairs of byte values, zeros and division ties among them.
  const TFCImageBuffer a = FrameOf(64, 64, [](int i) { return i % 256; });
  const TFCImageBuffer b = FrameOf(64, 64, [](int i) { return (i / 256 * 37 + i * 7 + 3) % 256; });
  const std::function<int(int, int)> expected[] = {
      [](int x, int y) { return std::min(x + y, 255); },
      [](int x, int y) { return std::max(y - x, 0); },  // the second minus the first
      [](int x, int y) { return std::min(x * y, 255); },
      [](int x, int y) { return DivideRounded(x, y); },
      [](int x, int y) { return x | y; },
      [](int x, int y) { return x & y; },
      [](int x, int y) { return x ^ y; },
      [](int x, int y) { return std::abs(x - y); },
      [](int, int y) { return y; },
  };
  for (int op = coAdd; op <= coCopy; ++op) {
    TFCCombine combine(nullptr);
    combine.SetCombineOperation(static_cast<TFCCombineOperation>(op));
    const TFCImageBuffer out = CombineOnce(combine, a, b);
    ASSERT_EQ(out.Size(), a.Size());
    for (std::size_t i = 0; i < out.Size(); ++i)
      ASSERT_EQ(out.Read()[i], expected[op](a.Read()[i], b.Read()[i])) << "operation " << op << " byte " << i;
  }
}

TEST(Combine, PanesTakeTheirContentFromTheRightPlaces) {
  TFCCombine combine(nullptr);
  SetPropertyText(combine, "Offset.Horizontal", "1");
  SetPropertyText(combine, "Offset.Vertical", "1");
  SetPropertyText(combine, "BackgroundColor", "255");  // red
  const TFCImageBuffer a = FrameOf(4, 2, [](int) { return 10; });
  const TFCImageBuffer b = FrameOf(4, 2, [](int i) { return i; });
  const TFCImageBuffer out = CombineOnce(combine, a, b);
  ASSERT_EQ(out.Width(), 5);
  ASSERT_EQ(out.Height(), 3);
  auto pixel = [&](const TFCImageBuffer& f, int x, int y, int c) { return f.Read()[(y * f.Width() + x) * 3 + c]; };
  EXPECT_EQ(pixel(out, 0, 0, 0), pixel(b, 0, 0, 0));       // image 2 alone
  EXPECT_EQ(pixel(out, 2, 1, 1), pixel(b, 2, 1, 1) + 10);  // both: image 2 at (2, 1), image 1 at (1, 0)
  EXPECT_EQ(pixel(out, 4, 2, 2), 10);                      // image 1 alone
  EXPECT_EQ(pixel(out, 4, 0, 2), 255);                     // no image: background red ...
  EXPECT_EQ(pixel(out, 4, 0, 0), 0);                       // ... in blue, green, red order
}

TEST(Combine, AMissingInputIsReplacedByTheBackground) {
  TFCCombine combine(nullptr);
  combine.SetCombineOperation(coCopy);  // the overlap shows image 2
  combine.SetBackgroundColor(0x00FF00);
  TMultiRun run(combine);
  run[0].PushStart(3, 2);
  run[1].PushStart(3, 2);
  run[1].PushStop();
  run[0].PushFrame(FrameOf(3, 2, [](int) { return 7; }));
  const auto frames = run.Output().Frames();
  ASSERT_EQ(frames.size(), 1u);
  for (int p = 0; p < 6; ++p) {
    EXPECT_EQ(frames[0]->Read()[p * 3 + 0], 0);
    EXPECT_EQ(frames[0]->Read()[p * 3 + 1], 255);
  }
}

TEST(Combine, AnOperationOutsideTheEnumerationLeavesTheBackground) {
  TFCCombine combine(nullptr);
  combine.SetCombineOperation(static_cast<TFCCombineOperation>(42));
  combine.SetBackgroundColor(0x010203);
  const TFCImageBuffer out = CombineOnce(combine, FrameOf(2, 2, [](int) { return 9; }),
                                         FrameOf(2, 2, [](int) { return 9; }));
  EXPECT_EQ(BytesOf(out), (std::vector<Ipp8u>{1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3}));  // 0x00BBGGRR
}

TEST(Combine, GreyInputsAreTakenAsColourFrames) {
  TFCCombine combine(nullptr);
  TFCImageBuffer grey(4, 3, vfGray8);
  for (std::size_t i = 0; i < grey.Size(); ++i) grey.Write()[i] = static_cast<Ipp8u>(40 + i);
  const TFCImageBuffer out = CombineOnce(combine, grey, FrameOf(4, 3, [](int) { return 1; }));
  ASSERT_EQ(out.Format(), vfRGB24);
  for (int p = 0; p < 12; ++p)
    for (int c = 0; c < 3; ++c) ASSERT_EQ(out.Read()[p * 3 + c], 41 + p);
}

TEST(Combine, KeepsTheOutputSizeOfTheStartWhenFramesChangeSize) {
  for (TFCCombineSizeMode mode : {smIntersect, smWrappingRect, smCustom}) {
    TFCCombine combine(nullptr);
    combine.GetFrameSize()->SetSizeMode(mode);
    SetPropertyText(combine, "Offset.Horizontal", "2");
    TMultiRun run(combine);
    run[0].PushStart(8, 6);
    run[1].PushStart(8, 6);
    const TPMStartFrameOperation* start = run.Output().LastStart();
    ASSERT_NE(start, nullptr);
    const int width = start->Width(), height = start->Height();
    EXPECT_EQ(width, mode == smIntersect ? 6 : mode == smWrappingRect ? 10 : 240);
    for (IppiSize size : {IppiSize{8, 6}, IppiSize{20, 3}, IppiSize{3, 11}}) {
      run[0].PushFrame(FrameOf(size.width, size.height, [](int i) { return i; }));
      run[1].PushFrame(FrameOf(size.width + 1, size.height, [](int i) { return i; }));
    }
    const auto frames = run.Output().Frames();
    ASSERT_EQ(frames.size(), 3u);
    for (const auto& frame : frames) {
      EXPECT_EQ(frame->Width(), width);
      EXPECT_EQ(frame->Height(), height);
    }
  }
}

TEST(Combine, RefusesSizesAndOffsetsBeyondTheFrameBudget) {
  TFCCombine combine(nullptr);
  combine.SetName("Combine1");
  for (const char* path : {"FrameSize.Width", "FrameSize.Height", "Offset.Horizontal", "Offset.Vertical"}) {
    try {
      SetPropertyText(combine, path, path[0] == 'O' ? "-2147483648" : "4000000000");
      ADD_FAILURE() << path << " accepted";
    } catch (const EFCError& error) {
      EXPECT_NE(std::string(error.what()).find(std::string("Combine1.") + path), std::string::npos) << error.what();
    }
  }
  EXPECT_EQ(combine.GetOffset()->GetHorizontal(), 0);
}

TEST(TransparentColor, KeysTheForegroundByItsColourRanges) {
  TFCTransparentColor key(nullptr);
  TFCColorRange& green = key.GetTransparentColors()->Add();  // 0x008000, 5 each
  EXPECT_EQ(green.DisplayName(), "clGreen 5:5:5");
  // Foreground pixels (blue, green, red): inside, at the edge, just outside.
  const std::vector<Ipp8u> fore = {0, 128, 0, 5, 133, 5, 0, 134, 0, 6, 128, 0};
  TFCImageBuffer a(4, 1);
  std::copy(fore.begin(), fore.end(), a.Write());
  const TFCImageBuffer b = FrameOf(4, 1, [](int) { return 200; });
  const TFCImageBuffer out = CombineOnce(key, a, b);
  EXPECT_EQ(BytesOf(out), (std::vector<Ipp8u>{200, 200, 200, 200, 200, 200, 0, 134, 0, 6, 128, 0}));

  // Disabled, the foreground passes unchanged.
  key.SetEnabled(false);
  EXPECT_FALSE(key.GetEnablePin()->Value());
  EXPECT_EQ(BytesOf(CombineOnce(key, a, b)), fore);
}

TEST(TransparentColor, RangesClampAndEachToleranceAppliesToItsOwnPart) {
  TFCTransparentColor key(nullptr);
  TFCColorRange& range = key.GetTransparentColors()->Add();
  range.SetColor(0x6400FA);  // red 250, green 0, blue 100
  range.SetToleranceRed(10);
  range.SetToleranceGreen(0);
  range.SetToleranceBlue(20);
  EXPECT_EQ(range.DisplayName(), "$006400FA 10:0:20");
  auto pixel = [](int red, int green, int blue) {
    return static_cast<std::uint32_t>(blue | green << 8 | red << 16);
  };
  EXPECT_TRUE(range.InRage(pixel(255, 0, 100)));  // the upper red bound is 255
  EXPECT_TRUE(range.InRage(pixel(240, 0, 120)));
  EXPECT_FALSE(range.InRage(pixel(239, 0, 100)));
  EXPECT_FALSE(range.InRage(pixel(250, 0, 121)));
  EXPECT_FALSE(range.InRage(pixel(250, 1, 100)));
  range.SetToleranceGreen(-1);  // an empty range
  EXPECT_FALSE(range.InRage(pixel(250, 0, 100)));
  EXPECT_FALSE(key.GetTransparentColors()->InRage(pixel(250, 0, 100)));
  key.GetTransparentColors()->Add().SetColor(0);
  EXPECT_TRUE(key.GetTransparentColors()->InRage(pixel(5, 5, 5)));
}

}  // namespace
}  // namespace fc
