// The matrix filter base gives PerformFilter a bordered source, so the whole
// region is filtered up to the frame's edges.
#include <gtest/gtest.h>

#include <algorithm>

#include "contracts/video/matrix_filter.h"
#include "platform/runtime/resource_budget.h"
#include "tests/support/component_harness.h"

namespace fc {
namespace {

using test::TComponentHarness;

// A minimum filter over the mask, written the way the rank primitives read
// their source: the window of dst(x, y) starts at src(x - anchor.x, y - anchor.y).
class TMinFilter : public TFCCommonROIMatrixFilterIntermidiate {
public:
  using TFCCommonROIMatrixFilterIntermidiate::TFCCommonROIMatrixFilterIntermidiate;
  ~TMinFilter() override { RetirePins(); }
  int changedCalls = 0;
  int lastFormat = -1;
  bool keepGrey = false;
  bool byWindow = false;
  int filterCalls = 0;
  int narrowestCall = 1 << 30;  // pixels across the narrowest call
  bool failEveryCall = false;

protected:
  void SetVideoFormat(TFCImageBuffer& b) override {
    if (!(keepGrey && b.Format() == vfGray8)) TFCCommonROIMatrixFilterIntermidiate::SetVideoFormat(b);
  }
  void Changed() override { ++changedCalls; }
  bool FiltersByWindow(IppiSize) const override { return byWindow; }
  void PerformFilter(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi, IppiSize mask,
                     IppiPoint anchor, int format) override {
    ++filterCalls;
    narrowestCall = std::min(narrowestCall, roi.width);
    if (failEveryCall) return ReportFailure("Test", ippStsSizeErr);
    lastFormat = format;
    const int bpp = format == vfGray8 ? 1 : 3;
    for (int y = 0; y < roi.height; ++y)
      for (int x = 0; x < roi.width; ++x)
        for (int c = 0; c < bpp; ++c) {
          int m = 255;
          for (int j = 0; j < mask.height; ++j)
            for (int i = 0; i < mask.width; ++i)
              m = std::min<int>(m, src[(y - anchor.y + j) * srcStep + (x - anchor.x + i) * bpp + c]);
          dst[y * dstStep + x * bpp + c] = static_cast<Ipp8u>(m);
        }
  }
};

// The same minimum over the whole frame, edges repeated, inside `roi` only.
TFCImageBuffer Reference(const TFCImageBuffer& in, TFCImageRect roi, IppiSize mask, IppiPoint anchor) {
  TFCImageBuffer out(in);
  Ipp8u* o = out.Modify();
  const int bpp = in.BytesPerPixel();
  for (int y = roi.y; y < roi.y + roi.height; ++y)
    for (int x = roi.x; x < roi.x + roi.width; ++x)
      for (int c = 0; c < bpp; ++c) {
        int m = 255;
        for (int j = 0; j < mask.height; ++j)
          for (int i = 0; i < mask.width; ++i) {
            const int sx = std::clamp(x - anchor.x + i, 0, in.Width() - 1);
            const int sy = std::clamp(y - anchor.y + j, 0, in.Height() - 1);
            m = std::min<int>(m, in.Read()[(sy * in.Width() + sx) * bpp + c]);
          }
        o[(y * in.Width() + x) * bpp + c] = static_cast<Ipp8u>(m);
      }
  return out;
}

TFCImageBuffer RandomFrame(int w, int h, TFCVideoFormat format, unsigned seed) {
  TFCImageBuffer f(w, h, format);
  Ipp8u* p = f.Write();
  for (std::size_t i = 0; i < f.Size(); ++i) p[i] = static_cast<Ipp8u>((i * 2654435761u + seed) >> 7);
  return f;
}

std::vector<Ipp8u> Bytes(const TFCImageBuffer& f) { return {f.Read(), f.Read() + f.Size()}; }

struct MatrixFixture : ::testing::Test {
  TMinFilter filter{nullptr};
  TComponentHarness harness;
  void SetUp() override {
    harness.Feed(*filter.GetInputPin());
    harness.Collect(*filter.GetOutputPin());
  }
  // Filters `region` with a mask of `mask` placed at `anchor`.
  void Place(TFCImageRect region, IppiSize mask, IppiPoint anchor) {
    SetPropertyText(filter, "Region.Enabled", "True");
    SetPropertyText(filter, "Region.X", std::to_string(region.x));
    SetPropertyText(filter, "Region.Y", std::to_string(region.y));
    SetPropertyText(filter, "Region.Width", std::to_string(region.width));
    SetPropertyText(filter, "Region.Height", std::to_string(region.height));
    filter.GetMaskSize()->SetWidth(static_cast<std::uint16_t>(mask.width));
    filter.GetMaskSize()->SetHeight(static_cast<std::uint16_t>(mask.height));
    filter.GetAnchor()->SetX(static_cast<std::uint16_t>(anchor.x));
    filter.GetAnchor()->SetY(static_cast<std::uint16_t>(anchor.y));
  }
  TFCImageBuffer Run(const TFCImageBuffer& in) {
    harness.ClearReceived();
    harness.PushFrame(in);
    return *harness.Frames().at(0);
  }
};

TEST_F(MatrixFixture, FiltersTheWholeFrameUpToItsEdgesForEveryMaskAndAnchor) {
  struct Case {
    int maskW, maskH, anchorX, anchorY;
  };
  for (Case k : {Case{3, 3, 1, 1}, Case{1, 1, 0, 0}, Case{5, 2, 4, 0}, Case{2, 5, 0, 3}, Case{7, 7, 3, 3}}) {
    filter.GetMaskSize()->SetWidth(static_cast<std::uint16_t>(k.maskW));
    filter.GetMaskSize()->SetHeight(static_cast<std::uint16_t>(k.maskH));
    filter.GetAnchor()->SetX(static_cast<std::uint16_t>(k.anchorX));
    filter.GetAnchor()->SetY(static_cast<std::uint16_t>(k.anchorY));
    const TFCImageBuffer in = RandomFrame(9, 6, vfRGB24, 1);
    EXPECT_EQ(Bytes(Run(in)), Bytes(Reference(in, {0, 0, 9, 6}, {k.maskW, k.maskH}, {k.anchorX, k.anchorY})))
        << k.maskW << "x" << k.maskH << " at " << k.anchorX << "," << k.anchorY;
  }
}

// A whole-frame result goes to pixels of its own, never copied from the
// input first and never written into the frame the sender still holds; frames
// one after another reuse pooled pixels without their old bytes showing.
TEST_F(MatrixFixture, WholeFrameResultsLeaveTheSentFrameAlone) {
  for (unsigned seed : {5u, 6u, 7u}) {
    const TFCImageBuffer in = RandomFrame(9, 6, vfRGB24, seed);
    const std::vector<Ipp8u> sent = Bytes(in);
    const TFCImageBuffer out = Run(in);
    EXPECT_EQ(Bytes(in), sent);
    EXPECT_EQ(Bytes(out), Bytes(Reference(in, {0, 0, 9, 6}, {3, 3}, {1, 1})));
  }
}

// A filter by window is run on the inner part straight from the frame and on
// the strips along the frame's edges from bordered copies: the same bytes as
// one bordered copy, for regions at the edges, inside and covering frames
// too small to have an inner part.
TEST_F(MatrixFixture, FilteringByPiecesGivesTheBytesOfOneBorderedCopy) {
  filter.byWindow = true;
  struct Case {
    TFCImageRect region;
    IppiSize mask;
    IppiPoint anchor;
  };
  const Case cases[] = {{{0, 0, 12, 9}, {3, 3}, {1, 1}}, {{0, 0, 12, 9}, {5, 2}, {4, 0}},
                        {{3, 2, 5, 4}, {3, 3}, {1, 1}},  {{1, 0, 11, 3}, {2, 5}, {0, 3}},
                        {{0, 0, 12, 9}, {13, 1}, {6, 0}}, {{5, 4, 7, 5}, {7, 7}, {3, 3}}};
  const TFCImageBuffer in = RandomFrame(12, 9, vfRGB24, 4);
  for (const Case& c : cases) {
    Place(c.region, c.mask, c.anchor);
    EXPECT_EQ(Bytes(Run(in)), Bytes(Reference(in, c.region, c.mask, c.anchor)))
        << c.mask.width << "x" << c.mask.height << " region at " << c.region.x << "," << c.region.y;
  }
  filter.filterCalls = 0;
  SetPropertyText(filter, "Region.Enabled", "False");
  filter.GetMaskSize()->SetWidth(3);
  filter.GetMaskSize()->SetHeight(3);
  filter.GetAnchor()->SetX(1);
  filter.GetAnchor()->SetY(1);
  Run(in);
  EXPECT_EQ(filter.filterCalls, 4);  // the inner part, the strips above and below, both side strips at once
}

// The strips left and right of the inner part go through one call, their
// rows cut into chunks laid side by side: frames of one chunk, of several
// with a shorter last one, and regions with a side strip on one side only
// give the bytes of one bordered copy.
TEST_F(MatrixFixture, TallSideStripsFilteredInOneCallGiveTheBytesOfOneBorderedCopy) {
  filter.byWindow = true;
  struct Case {
    int width, height;
    TFCImageRect region;
    IppiSize mask;
    IppiPoint anchor;
  };
  const Case cases[] = {{40, 30, {0, 0, 40, 30}, {5, 5}, {2, 2}},     {40, 151, {0, 0, 40, 151}, {5, 5}, {2, 2}},
                        {37, 97, {0, 0, 37, 97}, {3, 7}, {0, 6}},     {45, 120, {0, 5, 30, 100}, {4, 3}, {1, 1}},
                        {45, 120, {9, 0, 36, 120}, {6, 2}, {2, 1}},   {33, 300, {0, 0, 33, 300}, {1, 1}, {0, 0}}};
  for (const Case& c : cases) {
    Place(c.region, c.mask, c.anchor);
    filter.filterCalls = 0;
    const TFCImageBuffer in = RandomFrame(c.width, c.height, vfRGB24, 8);
    EXPECT_EQ(Bytes(Run(in)), Bytes(Reference(in, c.region, c.mask, c.anchor)))
        << c.width << "x" << c.height << " mask " << c.mask.width << "x" << c.mask.height;
    EXPECT_LE(filter.filterCalls, 4) << c.width << "x" << c.height;
  }
}

// Strips beside the inner part are at least 32 bytes across where the frame
// is wide enough, so vector kernels never get the few columns a mask
// overhangs alone; the bytes stay those of one bordered copy.
TEST_F(MatrixFixture, SideStripsOfWideFramesAreWideEnoughForVectorKernels) {
  filter.byWindow = true;
  struct Case {
    TFCVideoFormat format;
    int width;
    IppiSize mask;
    IppiPoint anchor;
  };
  for (const Case& c : {Case{vfRGB24, 48, {5, 5}, {2, 2}}, Case{vfRGB24, 48, {4, 3}, {3, 1}},
                        Case{vfGray8, 120, {5, 3}, {1, 1}}}) {
    filter.keepGrey = c.format == vfGray8;
    filter.GetMaskSize()->SetWidth(static_cast<std::uint16_t>(c.mask.width));
    filter.GetMaskSize()->SetHeight(static_cast<std::uint16_t>(c.mask.height));
    filter.GetAnchor()->SetX(static_cast<std::uint16_t>(c.anchor.x));
    filter.GetAnchor()->SetY(static_cast<std::uint16_t>(c.anchor.y));
    filter.filterCalls = 0;
    filter.narrowestCall = 1 << 30;
    const TFCImageBuffer in = RandomFrame(c.width, 7, c.format, 9);
    EXPECT_EQ(Bytes(Run(in)), Bytes(Reference(in, {0, 0, c.width, 7}, c.mask, c.anchor))) << c.width;
    EXPECT_EQ(filter.filterCalls, 4) << c.width;  // the inner part, above, below and the sides
    EXPECT_GE(filter.narrowestCall * in.BytesPerPixel(), 32) << c.width;
  }
}

TEST_F(MatrixFixture, AFailedPieceFailsTheFrameOnce) {
  filter.byWindow = true;
  filter.failEveryCall = true;
  harness.PushFrame(RandomFrame(12, 9, vfRGB24, 4));
  EXPECT_TRUE(harness.Frames().empty());
  EXPECT_EQ(filter.filterCalls, 1);
  EXPECT_EQ(filter.ErrorCount(), 1);
}

TEST_F(MatrixFixture, FiltersOnlyTheRegionAndReadsRealNeighboursAroundIt) {
  SetPropertyText(filter, "Region.Enabled", "True");
  SetPropertyText(filter, "Region.X", "2");
  SetPropertyText(filter, "Region.Y", "1");
  SetPropertyText(filter, "Region.Width", "4");
  SetPropertyText(filter, "Region.Height", "20");  // clipped to the frame
  const TFCImageBuffer in = RandomFrame(8, 5, vfRGB24, 7);
  EXPECT_EQ(Bytes(Run(in)), Bytes(Reference(in, {2, 1, 4, 4}, {3, 3}, {1, 1})));
}

TEST_F(MatrixFixture, GreyFramesKeptByTheComponentAreFilteredAsOneChannel) {
  filter.keepGrey = true;
  const TFCImageBuffer in = RandomFrame(7, 4, vfGray8, 3);
  const TFCImageBuffer out = Run(in);
  EXPECT_EQ(filter.lastFormat, vfGray8);
  EXPECT_EQ(Bytes(out), Bytes(Reference(in, {0, 0, 7, 4}, {3, 3}, {1, 1})));
}

TEST_F(MatrixFixture, ChangedRunsBeforeTheFirstFrameAndOnEveryMaskChange) {
  EXPECT_EQ(filter.changedCalls, 0);
  harness.PushStart(4, 4);
  EXPECT_EQ(filter.changedCalls, 1);
  SetPropertyText(filter, "MaskSize.Width", "5");
  SetPropertyText(filter, "MaskSize.Width", "5");  // unchanged: no call
  SetPropertyText(filter, "MaskSize.Height", "4");
  EXPECT_EQ(filter.changedCalls, 3);

  TMinFilter unstarted(nullptr);
  TComponentHarness h;
  h.Feed(*unstarted.GetInputPin());
  h.PushFrame(RandomFrame(3, 3, vfRGB24, 0));  // a frame without a start
  EXPECT_EQ(unstarted.changedCalls, 1);
}

TEST_F(MatrixFixture, MasksAndAnchorsThePrimitivesWouldRefuseDropTheFrameAndAreReported) {
  std::vector<std::string> reported;
  filter.SetName("Min1");
  filter.SetOnError([&](const TFCFailure& failure) { reported.push_back(failure.Message()); });
  const TFCImageBuffer in = RandomFrame(6, 5, vfRGB24, 11);
  filter.GetAnchor()->SetX(9);
  harness.PushFrame(in);
  filter.GetAnchor()->SetX(1);
  filter.GetMaskSize()->SetWidth(0);
  harness.PushFrame(in);
  harness.PushFrame(in);  // the same cause again: counted, not reported again
  EXPECT_TRUE(harness.Frames().empty());
  EXPECT_EQ(filter.ErrorCount(), 3);
  EXPECT_EQ(reported, (std::vector<std::string>{"Min1: Anchor failed with ippStsAnchorErr",
                                                "Min1: MaskSize failed with ippStsMaskSizeErr"}));
}

TEST_F(MatrixFixture, ABorderedSourceAboveTheBudgetIsRefusedAtTheStartAndDroppedPerFrame) {
  filter.SetName("Min1");
  SetPropertyText(filter, "MaskSize.Width", "1000");
  SetPropertyText(filter, "MaskSize.Height", "1000");
  SetMaxBufferBytes(1 << 20);
  EXPECT_THROW(
      {
        try {
          harness.PushStart(32, 24);
        } catch (const EFCError& error) {
          EXPECT_NE(std::string(error.what()).find("Min1.MaskSize: "), std::string::npos) << error.what();
          throw;
        }
      },
      EFCError);
  harness.PushFrame(RandomFrame(32, 24, vfRGB24, 1));
  SetMaxBufferBytes(0);
  EXPECT_TRUE(harness.Frames().empty());
  EXPECT_EQ(filter.ErrorCount(), 1);
  EXPECT_THROW(SetPropertyText(filter, "MaskSize.Width", "16385"), EFCError);
}

}  // namespace
}  // namespace fc
