// The warp component in a running stream, on three-byte and grey frames,
// with both transformations and both directions.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "components/Fcwarp.h"
#include "tests/components/filter_run.h"
#include "tests/components/geometry_mapping.h"

namespace fc {
namespace {

using test::Inside;
using test::MapsPixels;
using test::NoiseFrame;
using test::SetOutputSize;
using test::TFilterRun;

using TWarpParam = std::tuple<TFCVideoFormat, TFCWarpType, bool>;

class WarpPlacement : public ::testing::TestWithParam<TWarpParam> {
protected:
  void SetUp() override {
    warp.SetWarpType(std::get<1>(GetParam()));
    warp.SetInverseTransform(std::get<2>(GetParam()));
  }
  bool Inverse() const { return std::get<2>(GetParam()); }

  TFCWarp warp{nullptr};
  TFilterRun run{warp};
  const TFCImageBuffer in = NoiseFrame(9, 7, std::get<0>(GetParam()));
};

TEST_P(WarpPlacement, ZeroOffsetsCentreTheFrameUnchanged) {
  // Differences 5 and 3 place the frame at (2, 1). The inverse direction
  // uses the same map from the output back into the input.
  SetOutputSize(warp, 14, 10);
  const TFCImageBuffer out = run.RunOne(in);
  const int dx = Inverse() ? -2 : 2, dy = Inverse() ? -1 : 1;
  EXPECT_TRUE(MapsPixels(out, in, [&](int x, int y) { return Inside(in.SizeRecord(), x - dx, y - dy); }));
}

TEST_P(WarpPlacement, ZeroOffsetsCentreTheRegion) {
  // The region (3, 2) 5 x 4 in an output of 9 x 8 goes to (2, 2).
  SetOutputSize(warp, 9, 8);
  test::SetRegion(warp, 3, 2, 5, 4);
  const TFCImageBuffer out = run.RunOne(in);
  const int dx = Inverse() ? -1 : 1;
  EXPECT_TRUE(MapsPixels(out, in, [&](int x, int y) -> std::optional<IppiPoint> {
    const int sx = x + dx;
    if (sx < 3 || sx > 7 || y < 2 || y > 5) return std::nullopt;
    return IppiPoint{sx, y};
  }));
}

std::string PlacementName(const TWarpParam& param) {
  const auto [format, type, inverse] = param;
  return std::string(format == vfGray8 ? "Gray" : "Rgb") + (type == wtBilinear ? "Bilinear" : "Perspective") +
         (inverse ? "Inverse" : "");
}

INSTANTIATE_TEST_SUITE_P(All, WarpPlacement,
                         ::testing::Combine(::testing::Values(vfRGB24, vfGray8),
                                            ::testing::Values(wtBilinear, wtPerspective), ::testing::Bool()),
                         [](const auto& info) { return PlacementName(info.param); });

// A corner of the frame: its offset, where it lies in the input, and where
// it lands in an output of 15 x 11 (the frame centred at (3, 2)).
struct TCorner {
  const char* name;
  TFCOffset* (TFCWarp::*offset)();
  IppiPoint source, placed;
};

const TCorner kCorners[] = {
    {"LeftTop", &TFCWarp::GetLeftTopOffset, {0, 0}, {3, 2}},
    {"RightTop", &TFCWarp::GetRightTopOffset, {8, 0}, {11, 2}},
    {"RightBottom", &TFCWarp::GetRightBottomOffset, {8, 6}, {11, 8}},
    {"LeftBottom", &TFCWarp::GetLeftBottomOffset, {0, 6}, {3, 8}},
};

class WarpCorners : public ::testing::TestWithParam<std::tuple<TFCWarpType, TCorner>> {};

TEST_P(WarpCorners, EachOffsetMovesItsOwnCorner) {
  const auto [type, moved] = GetParam();
  TFCWarp warp(nullptr);
  TFilterRun run(warp);
  warp.SetWarpType(type);
  warp.SetInterpolation(ifNearest);
  SetOutputSize(warp, 15, 11);
  // Outward by two pixels each way.
  const int dx = moved.placed.x < 7 ? -2 : 2, dy = moved.placed.y < 5 ? -2 : 2;
  (warp.*moved.offset)()->SetX(dx);
  (warp.*moved.offset)()->SetY(dy);
  const TFCImageBuffer in = NoiseFrame(9, 7, vfGray8);
  const TFCImageBuffer out = run.RunOne(in);

  auto pixel = [](const TFCImageBuffer& f, IppiPoint p) { return f.Read()[p.y * f.Step() + p.x]; };
  for (const TCorner& corner : kCorners) {
    const bool isMoved = corner.offset == moved.offset;
    // Just outside the unmoved corner: lit only where the picture was
    // pulled out.
    const int ox = corner.placed.x < 7 ? -1 : 1, oy = corner.placed.y < 5 ? -1 : 1;
    EXPECT_EQ(pixel(out, {corner.placed.x + ox, corner.placed.y + oy}) != 0, isMoved) << corner.name;
    // The bilinear map takes corner pixels exactly onto corner pixels (the
    // perspective map may land a rounding error outside the region there).
    if (type == wtBilinear) {
      const IppiPoint at{corner.placed.x + (isMoved ? dx : 0), corner.placed.y + (isMoved ? dy : 0)};
      EXPECT_EQ(pixel(out, at), pixel(in, corner.source)) << corner.name;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(All, WarpCorners,
                         ::testing::Combine(::testing::Values(wtBilinear, wtPerspective),
                                            ::testing::ValuesIn(kCorners)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param) == wtBilinear ? "Bilinear" : "Perspective") +
                                  std::get<1>(info.param).name;
                         });

class WarpTypes : public ::testing::TestWithParam<TFCWarpType> {
protected:
  void SetUp() override {
    warp.SetWarpType(GetParam());
    SetOutputSize(warp, 30, 20);
  }
  TFCWarp warp{nullptr};
  TFilterRun run{warp};
  const TFCImageBuffer in = NoiseFrame(24, 16, vfRGB24);
};

TEST_P(WarpTypes, SmoothEdgeBlendsOnlyPixelsOutsideThePicture) {
  warp.GetRightTopOffset()->SetX(3);
  warp.GetLeftBottomOffset()->SetY(-2);
  const TFCImageBuffer sharp = run.RunOne(in);
  warp.SetSmoothEdge(true);
  const TFCImageBuffer smooth = run.RunOne(in);
  EXPECT_TRUE(test::BlendsOnlyOutsideThePicture(sharp, smooth));
}

TEST_P(WarpTypes, RefusedQuadrilateralsDropTheFrame) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  struct Case {
    const char* name;
    TFCOffset* (TFCWarp::*offset)();
    std::int32_t x, y;
  } cases[] = {
      {"left top beyond the right top (crossed)", &TFCWarp::GetLeftTopOffset, 40, 0},
      {"right top onto the left bottom (degenerate)", &TFCWarp::GetRightTopOffset, -23, 15},
      {"left top at the largest offsets", &TFCWarp::GetLeftTopOffset, kMax, kMax},
  };
  for (const Case& c : cases) {
    (warp.*c.offset)()->SetX(c.x);
    (warp.*c.offset)()->SetY(c.y);
    EXPECT_TRUE(run.Run({in}).empty()) << c.name;
    (warp.*c.offset)()->SetX(0);
    (warp.*c.offset)()->SetY(0);
  }
  EXPECT_EQ(warp.ErrorCount(), 3);
}

INSTANTIATE_TEST_SUITE_P(Types, WarpTypes, ::testing::Values(wtBilinear, wtPerspective),
                         [](const auto& info) { return info.param == wtBilinear ? "Bilinear" : "Perspective"; });

}  // namespace
}  // namespace fc
