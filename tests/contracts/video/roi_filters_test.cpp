// The region rule and the size filter base.
#include <gtest/gtest.h>

#include "contracts/video/roi_filters.h"
#include "platform/runtime/error.h"
#include "tests/support/component_harness.h"

namespace fc {
namespace {

using test::CountingFrame;
using test::TComponentHarness;

// Writes 0 over the clipped region of Out, as in-place region filters do.
class TRegionBlanker : public TFCCommonROIFilter {
public:
  using TFCCommonROIFilter::TFCCommonROIFilter;
  ~TRegionBlanker() override { RetirePins(); }

protected:
  void FilterInternalOperation(const TFCImageBuffer& in, IFCImageBuffer& out) override {
    IppiSize size = in.SizeRecord();
    Ipp8u* p = ReclaculateRoiAndOffsetI(size, *out, out->Modify());
    for (int y = 0; y < size.height; ++y)
      std::fill_n(p + static_cast<std::ptrdiff_t>(y) * out->Step(), size.width * out->BytesPerPixel(), 0);
  }
};

// Enables the region of `filter` at (x, y) with the given size, through the
// published properties.
void SetRegion(TFCCommonROIFilter& filter, int x, int y, int width, int height) {
  const std::pair<const char*, int> values[] = {{"X", x}, {"Y", y}, {"Width", width}, {"Height", height}};
  SetPropertyText(filter, "Region.Enabled", "True");
  for (auto [name, value] : values) SetPropertyText(filter, std::string("Region.") + name, std::to_string(value));
}

TEST(RegionRule, ClipsTheRegionToTheFrame) {
  TRegionBlanker f(nullptr);
  TFCRectRegion& r = *f.GetRegion();
  auto clip = [&](int x, int y, int w, int h, IppiSize frame) {
    r.SetX(static_cast<std::uint16_t>(x));
    r.SetY(static_cast<std::uint16_t>(y));
    r.SetWidth(static_cast<std::uint16_t>(w));
    r.SetHeight(static_cast<std::uint16_t>(h));
    const TFCImageRect c = r.Clip(frame);
    return std::vector<int>{c.x, c.y, c.width, c.height};
  };
  EXPECT_EQ(clip(10, 10, 50, 50, {320, 240}), (std::vector<int>{0, 0, 320, 240}));  // disabled: all
  r.SetEnabled(true);
  EXPECT_EQ(clip(10, 20, 50, 60, {320, 240}), (std::vector<int>{10, 20, 50, 60}));
  EXPECT_EQ(clip(300, 200, 50, 60, {320, 240}), (std::vector<int>{300, 200, 20, 40}));
  EXPECT_EQ(clip(400, 500, 50, 60, {320, 240}), (std::vector<int>{319, 239, 1, 1}));  // origin pulled in
  EXPECT_EQ(clip(5, 5, 0, 10, {320, 240}), (std::vector<int>{5, 5, 0, 10}));
  EXPECT_EQ(clip(5, 5, 10, 10, {0, 0}), (std::vector<int>{0, 0, 0, 0}));  // empty frame, no negative origin
}

TEST(RegionRule, SettingARegionCopiesItsValuesUnderTheOwnersLock) {
  TRegionBlanker a(nullptr), b(nullptr);
  SetRegion(a, 7, 8, 9, 10);
  TFCRectRegion* owned = b.GetRegion();
  b.SetRegion(*a.GetRegion());
  EXPECT_EQ(b.GetRegion(), owned);  // assigned into, not replaced
  EXPECT_TRUE(owned->GetEnabled());
  EXPECT_EQ(owned->GetX(), 7);
  EXPECT_EQ(owned->GetHeight(), 10);
  EXPECT_TRUE(owned->Lock().SharesLockWith(b));
}

TEST(SubObjects, WienerNoiseLevelsAssignAsAWholeAndStartAtZero) {
  TRegionBlanker owner(nullptr);
  TFCWienerNoiseLevels a(&owner, "NoiseLevels", owner), b(&owner, "NoiseLevels", owner);
  EXPECT_TRUE(PropertiesDifferingFromDefault(a).empty());
  SetPropertyText(a, "Level2", "0.25");
  a.SetLevel3(0.5f);
  b.Assign(a);
  EXPECT_EQ(b.Get(), (std::array<float, 3>{0.0f, 0.25f, 0.5f}));
}

TEST(RegionRule, InPlaceFiltersWorkInsideTheRegionOnly) {
  TRegionBlanker f(nullptr);
  TComponentHarness h;
  h.Feed(*f.GetInputPin());
  h.Collect(*f.GetOutputPin());
  SetRegion(f, 3, 1, 100, 1);  // the width is clipped to the frame
  h.PushFrame(CountingFrame(5, 3, vfRGB24, 1));  // no byte is 0
  const auto out = h.Frames().at(0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      const bool inside = y == 1 && x >= 3;
      EXPECT_EQ(out->Read()[(y * 5 + x) * 3] == 0, inside) << x << "," << y;
    }
}

class TSizeProbe : public TFCCommonROISizeFilter {
public:
  using TFCCommonROISizeFilter::TFCCommonROISizeFilter;
  ~TSizeProbe() override { RetirePins(); }
  IppiSize clipped{};
  std::ptrdiff_t pointerMoved = -1;
  TFCImageRect sourceRoi{};

protected:
  void FilterInternalOperation(const TFCImageBuffer& in, IFCImageBuffer& out) override {
    out->SetSize(GetOutputSize()->Get().width, GetOutputSize()->Get().height);
    clipped = in.SizeRecord();
    Ipp8u* start = out->Write();
    pointerMoved = ReclaculateRoiAndOffsetI(clipped, *out, start) - start;
    sourceRoi = SourceRoi(in.SizeRecord());
  }
};

TEST(SizeFilter, AnnouncesItsOutputSizeAndWritesFromTheOutputOrigin) {
  TSizeProbe f(nullptr);
  TComponentHarness h;
  h.Feed(*f.GetInputPin());
  h.Collect(*f.GetOutputPin());
  SetPropertyText(f, "OutputSize.Width", "16");
  SetPropertyText(f, "OutputSize.Height", "12");
  SetRegion(f, 2, 4, 50, 3);
  h.PushStart(10, 8);
  EXPECT_EQ(h.LastStart()->Width(), 16);
  EXPECT_EQ(h.LastStart()->Height(), 12);
  h.PushFrame(CountingFrame(10, 8));
  EXPECT_EQ(h.Frames().at(0)->Width(), 16);
  EXPECT_EQ(f.clipped.width, 8);
  EXPECT_EQ(f.clipped.height, 3);
  EXPECT_EQ(f.pointerMoved, 0);
  EXPECT_EQ(std::vector<int>({f.sourceRoi.x, f.sourceRoi.y, f.sourceRoi.width, f.sourceRoi.height}),
            std::vector<int>({2, 4, 8, 3}));
}

TEST(SizeFilter, InterpolationOrdinalsAndPublishedDefaults) {
  TSizeProbe f(nullptr);
  EXPECT_EQ(f.GetInterpolation(), ifLinear);
  const std::vector<std::string> names{"ifNearest", "ifLinear", "ifCubic", "ifSuper", "ifLanczos"};
  for (int n = 0; n < 5; ++n) {
    SetPropertyText(f, "Interpolation", names[n]);
    EXPECT_EQ(f.InterpolationOrdinal(), n);
    const int flags[] = {IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC, IPPI_INTER_SUPER, IPPI_INTER_LANCZOS};
    EXPECT_EQ(1 << f.InterpolationOrdinal(), flags[n]);
  }
  TSizeProbe fresh(nullptr);
  EXPECT_TRUE(PropertiesDifferingFromDefault(fresh).empty());
  std::vector<std::string> props;
  for (const TPropertyInfo* p : fresh.ClassInfo().Properties()) props.push_back(p->Name());
  EXPECT_EQ(props, (std::vector<std::string>{"InputPin", "OutputPin", "EnablePin", "Enabled", "Region",
                                             "OutputSize", "Interpolation"}));
  EXPECT_THROW(SetPropertyText(fresh, "OutputSize.Width", "3000000000"), EFCError);
}

}  // namespace
}  // namespace fc
