// Box, fixed-kernel and Wiener filter components in a running stream.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <vector>

#include "components/Fcboxfilter.h"
#include "components/Fcfixedfilter.h"
#include "components/Fcwienerfilter.h"
#include "contracts/video/wiener_filter.h"
#include "components/Fcmorphfilter.h"
#include "dispatch/primitives.h"
#include "package/catalogue.h"
#include "package/framecraft_package.h"
#include "tests/components/filter_run.h"

namespace fc {
namespace {

using test::BytesOf;
using test::TFilterRun;

TFCImageBuffer RandomFrame(int width, int height, TFCVideoFormat format = vfRGB24, unsigned seed = 7) {
  TFCImageBuffer frame(width, height, format);
  std::mt19937 random(seed);
  Ipp8u* bytes = frame.Write();
  for (std::size_t i = 0; i < frame.Size(); ++i) bytes[i] = static_cast<Ipp8u>(random());
  return frame;
}

// A frame whose region at (x, y) has gone through `filter` with the frame's
// own pixels around it, the rest as it came.
template <class Filter>
TFCImageBuffer FilteredInside(const TFCImageBuffer& in, TFCImageRect area, Filter&& filter) {
  TFCImageBuffer out = in;
  const int bpp = in.BytesPerPixel(), step = in.Step();
  const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(area.y) * step + area.x * bpp;
  EXPECT_EQ(filter(in.Read() + offset, step, out.Modify() + offset, step, IppiSize{area.width, area.height}),
            ippStsNoErr);
  return out;
}

void SetRegion(TFCCommonROIFilter& filter, TFCImageRect region) {
  TFCRectRegion& r = *filter.GetRegion();
  r.SetX(static_cast<std::uint16_t>(region.x));
  r.SetY(static_cast<std::uint16_t>(region.y));
  r.SetWidth(static_cast<std::uint16_t>(region.width));
  r.SetHeight(static_cast<std::uint16_t>(region.height));
  r.SetEnabled(true);
}

// Each filter mode and the primitive it calls.
struct BoxModeCase {
  const char* mode;
  decltype(ippiFilterBox_8u_C3R)* entry;
};
const BoxModeCase kBoxModes[] = {{"bfmAverage", &ippiFilterBox_8u_C3R},
                                 {"bfmMin", &ippiFilterMin_8u_C3R},
                                 {"bfmMax", &ippiFilterMax_8u_C3R},
                                 {"bfmMedian", &ippiFilterMedian_8u_C3R}};

TEST(BoxFilter, EachModeCallsItsPrimitiveOnTheRegion) {
  TFCBoxFilter box(nullptr);
  TFilterRun run(box);
  const TFCImageBuffer in = RandomFrame(23, 17);
  const TFCImageRect region{4, 3, 12, 9};
  SetRegion(box, region);
  box.GetMaskSize()->SetWidth(5);
  box.GetAnchor()->SetX(2);
  const IppiSize mask{5, 3};
  const IppiPoint anchor{2, 1};
  for (const BoxModeCase& c : kBoxModes) {
    SetPropertyText(box, "FilterMode", c.mode);
    const TFCImageBuffer expected = FilteredInside(in, region, [&](auto... args) {
      return fc_entry(*c.entry)(args..., mask, anchor);
    });
    EXPECT_EQ(BytesOf(run.RunOne(in)), BytesOf(expected)) << c.mode;
  }
}

// The frame inside the border a mask placed at `anchor` reads around it
// (anchor.x columns on the left, mask.width - 1 - anchor.x on the right, rows
// alike), the border repeating the frame's edge pixels.
TFCImageBuffer EdgeRepeated(const TFCImageBuffer& in, IppiSize mask, IppiPoint anchor) {
  TFCImageBuffer out(in.Width() + mask.width - 1, in.Height() + mask.height - 1, in.Format());
  const int bpp = in.BytesPerPixel();
  Ipp8u* o = out.Write();
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) {
      const int sx = std::clamp(x - anchor.x, 0, in.Width() - 1), sy = std::clamp(y - anchor.y, 0, in.Height() - 1);
      std::memcpy(o + y * out.Step() + x * bpp, in.Read() + sy * in.Step() + sx * bpp, bpp);
    }
  return out;
}

// The whole frame filtered by one call of `call` (the primitive's arguments
// up to the size) on its edge-repeated copy.
template <class Call>
TFCImageBuffer FilteredFromBorderedCopy(const TFCImageBuffer& in, IppiSize mask, IppiPoint anchor, Call&& call) {
  const TFCImageBuffer bordered = EdgeRepeated(in, mask, anchor);
  TFCImageBuffer out(in.Width(), in.Height(), in.Format());
  const std::ptrdiff_t origin = static_cast<std::ptrdiff_t>(anchor.y) * bordered.Step() + anchor.x * in.BytesPerPixel();
  EXPECT_EQ(call(bordered.Read() + origin, bordered.Step(), out.Write(), out.Step(), in.SizeRecord()), ippStsNoErr);
  return out;
}

// Frames wide enough to be filtered in pieces (an inner part and edge strips
// wide enough for the vector kernels) give the bytes of one call on the
// whole frame with its edges repeated.
TEST(BoxFilter, WholeWideFramesGiveTheBytesOfOneCallOnTheEdgeRepeatedFrame) {
  TFCBoxFilter box(nullptr);
  TFilterRun run(box);
  box.GetMaskSize()->SetWidth(5);
  box.GetMaskSize()->SetHeight(5);
  box.GetAnchor()->SetX(2);
  box.GetAnchor()->SetY(2);
  const TFCImageBuffer in = RandomFrame(67, 21);
  const TFCImageBuffer bordered = EdgeRepeated(in, {5, 5}, {2, 2});
  for (const BoxModeCase& c : kBoxModes) {
    SetPropertyText(box, "FilterMode", c.mode);
    TFCImageBuffer expected(in.Width(), in.Height());
    ASSERT_EQ(fc_entry(*c.entry)(bordered.Read() + 2 * bordered.Step() + 2 * 3, bordered.Step(), expected.Write(),
                                 expected.Step(), in.SizeRecord(), IppiSize{5, 5}, IppiPoint{2, 2}),
              ippStsNoErr);
    EXPECT_EQ(BytesOf(run.RunOne(in)), BytesOf(expected)) << c.mode;
  }
}

// Masks with centred and off-centre anchors, and frame sizes from narrower
// or shorter than the mask (filtered from one bordered copy) to tall frames
// whose side strips are filtered in several chunks of rows.
struct MaskPlacement {
  IppiSize mask;
  IppiPoint anchor;
};
const MaskPlacement kPlacements[] = {{{5, 5}, {2, 2}}, {{7, 3}, {6, 0}}, {{3, 5}, {0, 4}}};
const IppiSize kOddSizes[] = {{3, 41}, {53, 2}, {1, 1}, {67, 21}, {45, 203}};

void Place(TFCCommonROIMatrixFilterIntermidiate& filter, const MaskPlacement& placement) {
  filter.GetMaskSize()->SetWidth(static_cast<std::uint16_t>(placement.mask.width));
  filter.GetMaskSize()->SetHeight(static_cast<std::uint16_t>(placement.mask.height));
  filter.GetAnchor()->SetX(static_cast<std::uint16_t>(placement.anchor.x));
  filter.GetAnchor()->SetY(static_cast<std::uint16_t>(placement.anchor.y));
}

TEST(BoxFilter, WholeFramesOfOddSizesGiveTheBytesOfOneCallOnTheEdgeRepeatedFrame) {
  TFCBoxFilter box(nullptr);
  TFilterRun run(box);
  for (const MaskPlacement& placement : kPlacements) {
    Place(box, placement);
    for (const IppiSize size : kOddSizes) {
      const TFCImageBuffer in = RandomFrame(size.width, size.height, vfRGB24, 11);
      for (const BoxModeCase& c : kBoxModes) {
        SetPropertyText(box, "FilterMode", c.mode);
        const TFCImageBuffer expected =
            FilteredFromBorderedCopy(in, placement.mask, placement.anchor, [&](auto... args) {
              return fc_entry(*c.entry)(args..., placement.mask, placement.anchor);
            });
        EXPECT_EQ(BytesOf(run.RunOne(in)), BytesOf(expected))
            << c.mode << " " << size.width << "x" << size.height << " mask " << placement.mask.width << "x"
            << placement.mask.height;
      }
    }
  }
}

// The same for erosion and dilation of colour and grey frames, with an
// element of scattered cells.
TEST(MorphFilter, WholeFramesOfOddSizesGiveTheBytesOfOneCallOnTheEdgeRepeatedFrame) {
  TFCMorphFilter morph(nullptr);
  TFilterRun run(morph);
  morph.GetMorphShape()->SetShapeType(stCustom);
  for (const MaskPlacement& placement : kPlacements) {
    Place(morph, placement);
    std::vector<Ipp8u> element;
    for (int y = 0; y < placement.mask.height; ++y)
      for (int x = 0; x < placement.mask.width; ++x) {
        const bool cell = (x * 7 + y * 3) % 4 != 1;
        morph.GetMorphShape()->SetItem(x, y, cell);
        element.push_back(cell ? 1 : 0);
      }
    for (const TFCMorphType type : {mtErode, mtDilate})
      for (const TFCVideoFormat format : {vfRGB24, vfGray8})
        for (const IppiSize size : kOddSizes) {
          morph.SetMorphType(type);
          const TFCImageBuffer in = RandomFrame(size.width, size.height, format, 13);
          const auto entry = format == vfGray8
                                 ? (type == mtErode ? fc_entry(ippiErode_8u_C1R) : fc_entry(ippiDilate_8u_C1R))
                                 : (type == mtErode ? fc_entry(ippiErode_8u_C3R) : fc_entry(ippiDilate_8u_C3R));
          const TFCImageBuffer expected =
              FilteredFromBorderedCopy(in, placement.mask, placement.anchor, [&](auto... args) {
                return entry(args..., element.data(), placement.mask, placement.anchor);
              });
          EXPECT_EQ(BytesOf(run.RunOne(in)), BytesOf(expected))
              << (type == mtErode ? "erode " : "dilate ") << size.width << "x" << size.height << " format "
              << format << " mask " << placement.mask.width << "x" << placement.mask.height;
        }
  }
}

TEST(BoxFilter, MasksThePrimitivesRefuseDropTheFrameAndNameTheEntryAndStatus) {
  TFCBoxFilter box(nullptr);
  box.SetName("Box1");
  std::vector<std::string> reported;
  box.SetOnError([&](const TFCFailure& failure) { reported.push_back(failure.Message()); });
  TFilterRun run(box);
  box.SetFilterMode(bfmMedian);
  box.GetMaskSize()->SetWidth(4);
  const TFCImageBuffer in = RandomFrame(9, 8);
  EXPECT_TRUE(run.Run({in, in}).empty());
  box.GetMaskSize()->SetWidth(0);
  EXPECT_TRUE(run.Run({in}).empty());
  EXPECT_EQ(box.ErrorCount(), 3);
  EXPECT_EQ(reported, (std::vector<std::string>{"Box1: ippiFilterMedian_8u_C3R failed with ippStsMaskSizeErr",
                                                "Box1: MaskSize failed with ippStsMaskSizeErr"}));
}

// The fixed filter's types in order, each with its primitive: `plain` for the
// types without a mask size, `masked` for those that take one.
struct FixedType {
  const char* name;
  decltype(ippiFilterSobelHoriz_8u_C3R)* plain;
  decltype(ippiFilterGauss_8u_C3R)* masked;
};
const FixedType kFixedTypes[] = {
    {"ftPrewittHoriz", &ippiFilterPrewittHoriz_8u_C3R, nullptr},
    {"ftPrewittVert", &ippiFilterPrewittVert_8u_C3R, nullptr},
    {"ftSobelHoriz", &ippiFilterSobelHoriz_8u_C3R, nullptr},
    {"ftSobelVert", &ippiFilterSobelVert_8u_C3R, nullptr},
    {"ftRobertsDown", &ippiFilterRobertsDown_8u_C3R, nullptr},
    {"ftRobertsUp", &ippiFilterRobertsUp_8u_C3R, nullptr},
    {"ftLaplace", nullptr, &ippiFilterLaplace_8u_C3R},
    {"ftGauss", nullptr, &ippiFilterGauss_8u_C3R},
    {"ftHipass", nullptr, &ippiFilterHipass_8u_C3R},
    {"ftLowpass", nullptr, &ippiFilterLowpass_8u_C3R},
    {"ftSharpen", &ippiFilterSharpen_8u_C3R, nullptr},
    {"ftMedianCross", nullptr, &ippiFilterMedianCross_8u_C3R},
    {"ftMedianColor", nullptr, &ippiFilterMedianColor_8u_C3R},
};

// Every type on a 100 x 80 frame with both mask sizes: the area shrunk by the
// margin of the mask in use, filtered by the type's own primitive. With the
// 5 x 5 mask the thirteen results all differ, so a type wired to another
// type's primitive shows.
TEST(FixedFilter, EveryTypeFiltersTheFrameShrunkByTheMarginOfItsMask) {
  const TFCImageBuffer in = RandomFrame(100, 80);
  for (const TFCFixedMaskSize mask : {fms3x3, fms5x5}) {
    const int code = mask == fms5x5 ? ippMskSize5x5 : ippMskSize3x3;
    std::set<std::vector<Ipp8u>> distinct;
    for (const FixedType& type : kFixedTypes) {
      TFCFixedFilter fixed(nullptr);
      TFilterRun run(fixed);
      SetPropertyText(fixed, "FilterType", type.name);
      fixed.SetMaskSize(mask);
      const bool fiveByFive = type.masked && mask == fms5x5;
      const TFCImageRect area = fiveByFive ? TFCImageRect{3, 3, 95, 75} : TFCImageRect{2, 2, 97, 77};
      const TFCImageBuffer expected = FilteredInside(in, area, [&](auto... args) {
        return type.masked ? fc_entry(*type.masked)(args..., code) : fc_entry(*type.plain)(args...);
      });
      const std::vector<Ipp8u> out = BytesOf(run.RunOne(in));
      EXPECT_EQ(out, BytesOf(expected)) << type.name << " mask " << code;
      distinct.insert(out);
    }
    if (mask == fms5x5) {
      EXPECT_EQ(distinct.size(), std::size(kFixedTypes));
    }
  }
}

TEST(FixedFilter, TheRegionMovesTheAreaAndATooSmallRegionPassesTheInput) {
  TFCFixedFilter fixed(nullptr);
  TFilterRun run(fixed);
  fixed.SetFilterType(ftSharpen);
  SetRegion(fixed, {10, 20, 30, 200});
  const TFCImageBuffer in = RandomFrame(64, 48);
  const TFCImageRect area = fixed.FilteredArea(in.SizeRecord());
  EXPECT_EQ((std::array{area.x, area.y, area.width, area.height}), (std::array{12, 22, 27, 25}));
  const TFCImageBuffer expected = FilteredInside(in, area, [](auto... args) {
    return fc_entry(ippiFilterSharpen_8u_C3R)(args...);
  });
  EXPECT_EQ(BytesOf(run.RunOne(in)), BytesOf(expected));

  SetRegion(fixed, {10, 20, 3, 30});
  EXPECT_EQ(BytesOf(run.RunOne(in)), BytesOf(in));
}

TEST(WienerFilter, FiltersGreyAndColourFramesAndFreesItsScratchAtTheStop) {
  TFCWienerFilter wiener(nullptr);
  TFilterRun run(wiener);
  SetRegion(wiener, {2, 2, 15, 10});
  SetPropertyText(wiener, "NoiseLevels.Level1", "0.01");
  SetPropertyText(wiener, "NoiseLevels.Level3", "0.25");
  const float noise[3] = {0.01f, 0.0f, 0.25f};
  for (TFCVideoFormat format : {vfRGB24, vfGray8}) {
    const TFCImageBuffer in = RandomFrame(19, 14, format);
    int size = 0;
    ASSERT_EQ(ippiFilterWienerGetBufferSize({15, 10}, {3, 3}, 3, &size), ippStsNoErr);
    std::vector<Ipp8u> scratch(static_cast<std::size_t>(size));
    const TFCImageBuffer expected = FilteredInside(in, {2, 2, 15, 10}, [&](auto... args) {
      return format == vfGray8 ? ippiFilterWiener_8u_C1R(args..., {3, 3}, {1, 1}, noise, scratch.data())
                               : ippiFilterWiener_8u_C3R(args..., {3, 3}, {1, 1}, noise, scratch.data());
    });
    const TFCImageBuffer out = run.RunOne(in);
    EXPECT_EQ(out.Format(), format);
    EXPECT_EQ(BytesOf(out), BytesOf(expected));
    EXPECT_EQ(wiener.ScratchSize(), 0);  // the run ends with a stop
  }
}

TEST(FilterComponents, AreRegisteredAndStoreNothingWhenNew) {
  package::Register();
  for (const TClassInfo* info : {&TFCBoxFilter::StaticClassInfo(), &TFCFixedFilter::StaticClassInfo(),
                                 &TFCMorphFilter::StaticClassInfo(), &TFCWienerFilter::StaticClassInfo()}) {
    EXPECT_EQ(PackageCatalogue().FindClass(info->Name()), info);
    const std::unique_ptr<TComponent> component = info->Create(nullptr);
    EXPECT_EQ(PropertiesDifferingFromDefault(*component), std::vector<std::string>{}) << info->Name();
  }
}

}  // namespace
}  // namespace fc
