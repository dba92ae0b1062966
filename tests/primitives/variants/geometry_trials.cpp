// The variant checker's inputs for resize, rotation, shear and the warps.
#include <array>
#include <iterator>
#include <random>
#include <string>

#include "tests/primitives/variants/variant_checker.h"

namespace fc::test::variants {
namespace {

struct ResizeShape {
  int srcWidth, srcHeight;
  TFCImageRect roi;
  double xFactor, yFactor;
};

// Odd sizes, regions inside and at the edges of larger images, 1-pixel
// regions, rectangles reaching past the image, and factors both ways.
constexpr ResizeShape kResizeShapes[] = {
    {37, 29, {5, 3, 23, 19}, 1.37, 0.71}, {37, 29, {0, 0, 37, 29}, 0.43, 0.61}, {37, 29, {30, 20, 40, 40}, 2.3, 3.1},
    {19, 23, {18, 22, 1, 1}, 3.0, 2.0},   {9, 11, {0, 0, 9, 11}, 0.5, 0.5},     {64, 9, {7, 1, 50, 7}, 0.66667, 0.9},
    {5, 40, {1, 0, 3, 40}, 1.9, 0.25},    {40, 40, {3, 5, 31, 29}, 1.0, 1.0},
};

constexpr int kResizeModes[] = {IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC, IPPI_INTER_SUPER,
                                IPPI_INTER_LANCZOS};

/// The fixed shapes, then random ones: sizes up to 90, regions anywhere in
/// the image (possibly reaching past it), factors from 0.1 to 4.
std::vector<ResizeShape> resizeShapes() {
  std::vector<ResizeShape> all(std::begin(kResizeShapes), std::end(kResizeShapes));
  std::mt19937 rng(41);
  const auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
  const auto factor = [&] { return std::uniform_real_distribution<double>(0.1, 4.0)(rng); };
  for (int i = 0; i < 60; ++i) {
    ResizeShape s{between(1, 90), between(1, 90), {}, factor(), factor()};
    s.roi = {between(0, s.srcWidth - 1), between(0, s.srcHeight - 1), between(1, 90), between(1, 90)};
    all.push_back(s);
  }
  return all;
}

using ResizeFn = decltype(px_ippiResize_8u_C3R);

void addResizeTrials(Registry& registry, ResizeFn* px, int channels) {
  std::uint32_t seed = 31;
  for (const ResizeShape& shape : resizeShapes())
    for (int mode : kResizeModes) {
      seed += 2;
      const std::string label = std::to_string(shape.srcWidth) + "x" + std::to_string(shape.srcHeight) +
                                " mode " + std::to_string(mode) + " factors " + std::to_string(shape.xFactor) +
                                "," + std::to_string(shape.yFactor);
      registry.add<ResizeFn>(px, label, [=](ResizeFn* fn) {
        const TestImage src = randomImage(shape.srcWidth, shape.srcHeight, channels, 3, 2, seed);
        TestImage dst = randomImage(101, 97, channels, 5, 2, seed + 1);
        const IppStatus status = fn(src.data(), src.size(), src.step, shape.roi, dst.data(), dst.step, dst.size(),
                                    shape.xFactor, shape.yFactor, mode);
        return outcome(status, dst.bytes);
      });
    }
  registry.bench<ResizeFn>(px, "1920x1080 to 1280x720 linear", [=](ResizeFn* fn) {
    static const TestImage src = randomImage(1920, 1080, channels, 0, 0, 5);
    static TestImage dst(1280, 720, channels);
    return outcome(fn(src.data(), src.size(), src.step, {0, 0, 1920, 1080}, dst.data(), dst.step, dst.size(),
                      1280.0 / 1920, 720.0 / 1080, IPPI_INTER_LINEAR));
  });
}

struct WarpLayout {
  int srcWidth, srcHeight;
  TFCImageRect srcRoi;
  int dstWidth, dstHeight;
  TFCImageRect dstRoi;
};

const WarpLayout kWarpLayouts[] = {
    {37, 29, {3, 2, 31, 25}, 41, 33, {2, 3, 37, 28}},    // regions inside larger images
    {37, 29, {30, 20, 50, 50}, 41, 33, {0, 0, 41, 33}},  // source region clipped by its image
    {5, 4, {0, 0, 5, 4}, 9, 7, {1, 1, 7, 5}},
    {37, 29, {4, 4, 1, 1}, 41, 33, {0, 0, 41, 33}},    // one-pixel source region
    {37, 29, {0, 0, 37, 29}, 41, 33, {20, 16, 1, 1}},  // one-pixel destination region
    // rows of several rendering pieces, long enough for the kernels to look
    // ahead, part of them mapped beyond the source
    {700, 40, {0, 0, 700, 40}, 720, 64, {3, 1, 715, 60}},
};

const int kWarpInterpolations[] = {IPPI_INTER_NN,
                                   IPPI_INTER_LINEAR,
                                   IPPI_INTER_CUBIC,
                                   IPPI_INTER_NN | IPPI_SMOOTH_EDGE,
                                   IPPI_INTER_LINEAR | IPPI_SMOOTH_EDGE,
                                   IPPI_INTER_CUBIC | IPPI_SMOOTH_EDGE};

/// One trial per layout and interpolation of a geometric entry; `extra` are
/// the arguments between the destination rectangle and the interpolation.
template <typename Fn, typename... Extra>
void addWarpTrials(Registry& registry, Fn* px, int channels, const std::string& label, Extra... extra) {
  for (const WarpLayout& layout : kWarpLayouts)
    for (int interpolation : kWarpInterpolations) {
      const std::string name = std::to_string(layout.srcRoi.width) + "x" + std::to_string(layout.srcRoi.height) +
                               " to " + std::to_string(layout.dstRoi.width) + "x" +
                               std::to_string(layout.dstRoi.height) + " interpolation " +
                               std::to_string(interpolation) + label;
      registry.add<Fn>(px, name, [=](Fn* fn) {
        const TestImage src = randomImage(layout.srcWidth, layout.srcHeight, channels, 5, 2, 11);
        TestImage dst = randomImage(layout.dstWidth, layout.dstHeight, channels, 7, 3, 23);
        const IppStatus status = fn(src.data(), src.size(), src.step, layout.srcRoi, dst.data(), dst.step,
                                    layout.dstRoi, extra..., interpolation);
        return outcome(status, dst.bytes);
      });
    }
}

/// The --bench input of a geometric entry: a 1920 x 1080 frame into one of
/// the same size, linear interpolation; `extra` must keep the result in view.
template <typename Fn, typename... Extra>
void benchWarp(Registry& registry, Fn* px, int channels, Extra... extra) {
  registry.bench<Fn>(px, "1920x1080 linear", [=](Fn* fn) {
    static const TestImage src = randomImage(1920, 1080, channels, 0, 0, 5);
    static TestImage dst(1920, 1080, channels);
    return outcome(fn(src.data(), src.size(), src.step, {0, 0, 1920, 1080}, dst.data(), dst.step,
                      {0, 0, 1920, 1080}, extra..., IPPI_INTER_LINEAR));
  });
}

void addRotationAndShearTrials(Registry& registry) {
  // The small angles keep long rows inside the wide layout's destination.
  for (double angle : {30.0, 90.0, -163.0, 3.0, -2.5})
    for (double xShift : {4.0, 4.5}) {
      const std::string label = " angle " + std::to_string(angle) + " shift " + std::to_string(xShift);
      addWarpTrials(registry, px_ippiRotate_8u_C3R, 3, label, angle, xShift, 20.0);
      addWarpTrials(registry, px_ippiRotate_8u_C1R, 1, label, angle, xShift, 20.0);
    }
  addWarpTrials(registry, px_ippiShear_8u_C3R, 3, "", 0.3, -0.2, 4.5, 6.25);
  addWarpTrials(registry, px_ippiShear_8u_C1R, 1, "", 0.3, -0.2, 4.5, 6.25);

  double xShift = 0, yShift = 0;
  px_ippiGetRotateShift(960, 540, 30, &xShift, &yShift);
  benchWarp(registry, px_ippiRotate_8u_C3R, 3, 30.0, xShift, yShift);
  benchWarp(registry, px_ippiRotate_8u_C1R, 1, 30.0, xShift, yShift);
  benchWarp(registry, px_ippiShear_8u_C3R, 3, 0.1, 0.05, -60.0, -50.0);
  benchWarp(registry, px_ippiShear_8u_C1R, 1, 0.1, 0.05, -60.0, -50.0);
}

// A convex quadrangle inside the source, and one reaching past both images.
const double kQuad[4][2] = {{3.3, 2.8}, {35.7, 5.1}, {38.2, 30.4}, {1.6, 27.9}};
const double kReach[4][2] = {{-4.5, 2.25}, {30.5, -3.0}, {40.0, 33.5}, {1.0, 26.0}};
double gPerspective[3][3], gPerspectiveBack[3][3], gBilinear[2][4], gBilinearBack[2][4];
// A frame-sized quadrangle inside a 1920 x 1080 frame, for --bench.
const double kFrameQuad[4][2] = {{100, 50}, {1800, 120}, {1850, 1000}, {60, 1030}};
double gFramePerspective[3][3], gFrameBilinear[2][4];

void addQuadrangleWarpTrials(Registry& registry) {
  px_ippiGetPerspectiveTransform({3, 2, 31, 25}, kQuad, gPerspective);
  px_ippiGetPerspectiveTransform({0, 0, 41, 33}, kReach, gPerspectiveBack);
  px_ippiGetBilinearTransform({3, 2, 31, 25}, kQuad, gBilinear);
  px_ippiGetBilinearTransform({0, 0, 41, 33}, kReach, gBilinearBack);
  const double(*p)[3] = gPerspective;
  const double(*pb)[3] = gPerspectiveBack;
  const double(*b)[4] = gBilinear;
  const double(*bb)[4] = gBilinearBack;
  addWarpTrials(registry, px_ippiWarpPerspective_8u_C3R, 3, "", p);
  addWarpTrials(registry, px_ippiWarpPerspective_8u_C1R, 1, "", p);
  addWarpTrials(registry, px_ippiWarpPerspectiveBack_8u_C3R, 3, "", pb);
  addWarpTrials(registry, px_ippiWarpPerspectiveBack_8u_C1R, 1, "", pb);
  addWarpTrials(registry, px_ippiWarpBilinear_8u_C3R, 3, "", b);
  addWarpTrials(registry, px_ippiWarpBilinear_8u_C1R, 1, "", b);
  addWarpTrials(registry, px_ippiWarpBilinearBack_8u_C3R, 3, "", bb);
  addWarpTrials(registry, px_ippiWarpBilinearBack_8u_C1R, 1, "", bb);

  px_ippiGetPerspectiveTransform({0, 0, 1920, 1080}, kFrameQuad, gFramePerspective);
  px_ippiGetBilinearTransform({0, 0, 1920, 1080}, kFrameQuad, gFrameBilinear);
  const double(*fp)[3] = gFramePerspective;
  const double(*fb)[4] = gFrameBilinear;
  benchWarp(registry, px_ippiWarpPerspective_8u_C3R, 3, fp);
  benchWarp(registry, px_ippiWarpPerspective_8u_C1R, 1, fp);
  benchWarp(registry, px_ippiWarpPerspectiveBack_8u_C3R, 3, fp);
  benchWarp(registry, px_ippiWarpPerspectiveBack_8u_C1R, 1, fp);
  benchWarp(registry, px_ippiWarpBilinear_8u_C3R, 3, fb);
  benchWarp(registry, px_ippiWarpBilinear_8u_C1R, 1, fb);
  benchWarp(registry, px_ippiWarpBilinearBack_8u_C3R, 3, fb);
  benchWarp(registry, px_ippiWarpBilinearBack_8u_C1R, 1, fb);
}

/// A random warp layout: images up to 150 x 60, source regions anywhere in
/// the source (possibly reaching past it), destination regions inside the
/// destination (the entries know no destination size), rows wide enough for
/// whole vector steps.
/// The source has no border or padding, so a read past its last pixel
/// shows under AddressSanitizer.
WarpLayout randomWarpLayout(std::mt19937& rng) {
  const auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
  WarpLayout l{between(2, 150), between(2, 60), {}, between(1, 150), between(1, 60), {}};
  l.srcRoi = {between(0, l.srcWidth - 2), between(0, l.srcHeight - 2), between(2, 160), between(2, 70)};
  l.dstRoi.x = between(0, l.dstWidth - 1);
  l.dstRoi.y = between(0, l.dstHeight - 1);
  l.dstRoi.width = between(1, l.dstWidth - l.dstRoi.x);
  l.dstRoi.height = between(1, l.dstHeight - l.dstRoi.y);
  return l;
}

/// Runs fn on the layout's images; the outcome is the status and the whole
/// destination buffer.
template <typename Fn, typename... Extra>
Outcome runWarp(Fn* fn, const WarpLayout& l, int channels, std::uint32_t seed, Extra... extra) {
  const TestImage src = randomImage(l.srcWidth, l.srcHeight, channels, 0, 0, seed);
  TestImage dst = randomImage(l.dstWidth, l.dstHeight, channels, 3, 1, seed + 1);
  return outcome(fn(src.data(), src.size(), src.step, l.srcRoi, dst.data(), dst.step, l.dstRoi, extra...), dst.bytes);
}

/// Hundreds of random layouts, angles, shears and quadrangles per entry, every
/// interpolation.
void addRandomWarpTrials(Registry& registry) {
  std::mt19937 rng(2024);
  const auto real = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(rng); };
  const auto interpolation = [&] { return kWarpInterpolations[rng() % std::size(kWarpInterpolations)]; };
  for (int i = 0; i < 300; ++i) {
    const WarpLayout l = randomWarpLayout(rng);
    const double angle = real(-400, 400), xShift = real(-40, 60), yShift = real(-40, 60);
    const int mode = interpolation();
    const std::uint32_t seed = rng();
    const std::string label = "random " + std::to_string(i) + " angle " + std::to_string(angle);
    registry.add<decltype(px_ippiRotate_8u_C3R)>(px_ippiRotate_8u_C3R, label, [=](auto* fn) {
      return runWarp(fn, l, 3, seed, angle, xShift, yShift, mode);
    });
    registry.add<decltype(px_ippiRotate_8u_C1R)>(px_ippiRotate_8u_C1R, label, [=](auto* fn) {
      return runWarp(fn, l, 1, seed, angle, xShift, yShift, mode);
    });
    const double xShear = real(-0.8, 0.8), yShear = real(-0.8, 0.8);
    registry.add<decltype(px_ippiShear_8u_C3R)>(px_ippiShear_8u_C3R, label, [=](auto* fn) {
      return runWarp(fn, l, 3, seed, xShear, yShear, xShift, yShift, mode);
    });
    registry.add<decltype(px_ippiShear_8u_C1R)>(px_ippiShear_8u_C1R, label, [=](auto* fn) {
      return runWarp(fn, l, 1, seed, xShear, yShear, xShift, yShift, mode);
    });
    // A quadrangle around the destination rectangle, its corners moved by up
    // to a third of its sides.
    const TFCImageRect& r = l.srcRoi;
    const double w = r.width, h = r.height;
    const double quad[4][2] = {{r.x + real(-w, w) / 3, r.y + real(-h, h) / 3},
                               {r.x + w + real(-w, w) / 3, r.y + real(-h, h) / 3},
                               {r.x + w + real(-w, w) / 3, r.y + h + real(-h, h) / 3},
                               {r.x + real(-w, w) / 3, r.y + h + real(-h, h) / 3}};
    std::array<std::array<double, 3>, 3> c{};
    px_ippiGetPerspectiveTransform(r, quad, reinterpret_cast<double(*)[3]>(c.data()));
    const auto perspective = [=](auto* fn, int channels) {
      return runWarp(fn, l, channels, seed, reinterpret_cast<const double(*)[3]>(c.data()), mode);
    };
    registry.add<decltype(px_ippiWarpPerspective_8u_C3R)>(px_ippiWarpPerspective_8u_C3R, label,
                                                          [=](auto* fn) { return perspective(fn, 3); });
    registry.add<decltype(px_ippiWarpPerspective_8u_C1R)>(px_ippiWarpPerspective_8u_C1R, label,
                                                          [=](auto* fn) { return perspective(fn, 1); });
    registry.add<decltype(px_ippiWarpPerspectiveBack_8u_C3R)>(px_ippiWarpPerspectiveBack_8u_C3R, label,
                                                              [=](auto* fn) { return perspective(fn, 3); });
    registry.add<decltype(px_ippiWarpPerspectiveBack_8u_C1R)>(px_ippiWarpPerspectiveBack_8u_C1R, label,
                                                              [=](auto* fn) { return perspective(fn, 1); });
  }
}

void addCoefficientTrials(Registry& registry) {
  using RotateShiftFn = decltype(px_ippiGetRotateShift);
  for (double angle : {0.0, 33.0, 90.0, -163.0, 1e-9})
    registry.add<RotateShiftFn>(px_ippiGetRotateShift, "angle " + std::to_string(angle), [=](RotateShiftFn* fn) {
      double x = 0, y = 0;
      const IppStatus status = fn(12.5, -3.0, angle, &x, &y);
      Outcome out = outcome(status);
      append(out, x);
      append(out, y);
      return out;
    });
  using PerspectiveFn = decltype(px_ippiGetPerspectiveTransform);
  using BilinearFn = decltype(px_ippiGetBilinearTransform);
  const TFCImageRect rects[] = {{3, 2, 31, 25}, {0, 0, 41, 33}, {0, 0, 1, 1}};
  for (const TFCImageRect& rect : rects)
    for (const auto* quad : {kQuad, kReach}) {
      const std::string label = std::to_string(rect.width) + "x" + std::to_string(rect.height);
      registry.add<PerspectiveFn>(px_ippiGetPerspectiveTransform, label, [=](PerspectiveFn* fn) {
        double c[3][3] = {};
        Outcome out = outcome(fn(rect, quad, c));
        append(out, c);
        return out;
      });
      registry.add<BilinearFn>(px_ippiGetBilinearTransform, label, [=](BilinearFn* fn) {
        double c[2][4] = {};
        Outcome out = outcome(fn(rect, quad, c));
        append(out, c);
        return out;
      });
    }
}

}  // namespace

void addGeometryTrials(Registry& registry) {
  addResizeTrials(registry, px_ippiResize_8u_C3R, 3);
  addResizeTrials(registry, px_ippiResize_8u_C1R, 1);
  addRotationAndShearTrials(registry);
  addQuadrangleWarpTrials(registry);
  addRandomWarpTrials(registry);
  addCoefficientTrials(registry);
}

}  // namespace fc::test::variants
