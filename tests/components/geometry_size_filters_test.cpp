// What the resize, rotate, shear and warp components have in common: their
// published properties, and frames with nothing to map.
#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "components/Fcresize.h"
#include "components/Fcrotate.h"
#include "components/Fcshear.h"
#include "components/Fcwarp.h"
#include "tests/components/filter_run.h"
#include "tests/components/geometry_mapping.h"

namespace fc {
namespace {

using test::NoiseFrame;
using test::SetOutputSize;
using test::TFilterRun;

// "Name Type default|starts value (identifiers)" for each property a class
// adds, as a new component holds it.
std::vector<std::string> Listing(const TClassInfo& info) {
  const std::unique_ptr<TComponent> component = info.Create(nullptr);
  std::vector<std::string> lines;
  for (const TPropertyInfo& p : info.OwnProperties()) {
    std::string line = p.Name() + " " + p.TypeName();
    if (p.IsScalar()) line += p.HasDefault() ? " default " + p.DefaultText() : " starts " + p.GetText(*component);
    if (p.Enum())
      for (const std::string& id : p.Enum()->Identifiers()) line += " " + id;
    lines.push_back(line);
  }
  return lines;
}

using Lines = std::vector<std::string>;

TEST(GeometryProperties, EachClassPublishesItsPropertiesWithTheirStartValues) {
  EXPECT_EQ(Listing(TFCResize::StaticClassInfo()), Lines{});
  EXPECT_EQ(Listing(TFCRotate::StaticClassInfo()), (Lines{"Angle Double starts 0", "SmoothEdge Boolean starts False"}));
  EXPECT_EQ(Listing(TFCShear::StaticClassInfo()),
            (Lines{"SmoothEdge Boolean starts False", "XShear Integer starts 0", "YShear Integer starts 0"}));
  EXPECT_EQ(Listing(TFCWarp::StaticClassInfo()),
            (Lines{"SmoothEdge Boolean starts False", "InverseTransform Boolean starts False",
                   "LeftTopOffset TFCOffset", "RightTopOffset TFCOffset", "LeftBottomOffset TFCOffset",
                   "RightBottomOffset TFCOffset", "WarpType TFCWarpType starts wtBilinear wtBilinear wtPerspective"}));
  EXPECT_EQ(TFCOffset::StaticClassInfo().OwnProperties().size(), 2u);
  for (const char* name : {"X", "Y"}) {
    const TPropertyInfo* p = TFCOffset::StaticClassInfo().FindProperty(name);
    ASSERT_NE(p, nullptr) << name;
    EXPECT_EQ(p->TypeName(), "Integer");
    EXPECT_EQ(p->DefaultText(), "0");
  }
  for (const TClassInfo* info : {&TFCResize::StaticClassInfo(), &TFCRotate::StaticClassInfo(),
                                 &TFCShear::StaticClassInfo(), &TFCWarp::StaticClassInfo()}) {
    EXPECT_EQ(info->Parent(), &TFCCommonROISizeFilter::StaticClassInfo()) << info->Name();
    EXPECT_EQ(info->FindProperty("Interpolation")->DefaultText(), "ifLinear") << info->Name();
  }
}

TEST(GeometryProperties, OffsetsAreReachedAsDottedPropertiesOfTheWarp) {
  TFCWarp warp(nullptr);
  SetPropertyText(warp, "LeftBottomOffset.Y", "-7");
  EXPECT_EQ(warp.GetLeftBottomOffset()->GetY(), -7);
  EXPECT_EQ(PropertiesDifferingFromDefault(warp), std::vector<std::string>{"LeftBottomOffset.Y"});
}

// Each size filter, made fresh, for the cases below.
std::vector<std::unique_ptr<TFCCommonROISizeFilter>> SizeFilters() {
  std::vector<std::unique_ptr<TFCCommonROISizeFilter>> filters;
  filters.push_back(std::make_unique<TFCResize>(nullptr));
  filters.push_back(std::make_unique<TFCRotate>(nullptr));
  filters.push_back(std::make_unique<TFCShear>(nullptr));
  filters.push_back(std::make_unique<TFCWarp>(nullptr));
  return filters;
}

TEST(GeometryFrames, FramesWithNothingToMapGiveBlackOutputs) {
  struct Case {
    const char* name;
    int inWidth, inHeight, outWidth, outHeight;
  } cases[] = {{"empty input", 0, 0, 6, 4}, {"empty output", 5, 3, 0, 0}, {"output without rows", 5, 3, 6, 0}};
  for (TFCVideoFormat format : {vfRGB24, vfGray8})
    for (const Case& c : cases)
      for (const auto& filter : SizeFilters()) {
        TFilterRun run(*filter);
        SetOutputSize(*filter, c.outWidth, c.outHeight);
        const TFCImageBuffer out = run.RunOne(NoiseFrame(c.inWidth, c.inHeight, format));
        const std::string what = filter->ClassInfo().Name() + ": " + c.name;
        EXPECT_EQ(out.Width(), c.outWidth) << what;
        EXPECT_EQ(out.Height(), c.outHeight) << what;
        EXPECT_EQ(out.Format(), format) << what;
        EXPECT_EQ(test::LitPixels(out), 0) << what;
      }
}

TEST(GeometryFrames, UnusableAnglesAndInterpolationsLeaveTheOutputBlack) {
  TFCRotate rotate(nullptr);
  TFilterRun run(rotate);
  SetOutputSize(rotate, 12, 9);
  const TFCImageBuffer in = NoiseFrame(12, 9, vfRGB24);
  for (double angle : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    rotate.SetAngle(angle);
    EXPECT_EQ(test::LitPixels(run.RunOne(in)), 0) << angle;
  }
  // Lanczos is for scaling only; a quarter turn moves pixels without it.
  rotate.SetInterpolation(ifLanczos);
  rotate.SetAngle(45);
  EXPECT_EQ(test::LitPixels(run.RunOne(in)), 0);
  rotate.SetAngle(90);
  EXPECT_GT(test::LitPixels(run.RunOne(in)), 0);
}

}  // namespace
}  // namespace fc
