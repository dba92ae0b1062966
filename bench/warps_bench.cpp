// Rotation by 30 degrees about the frame centre and a perspective warp onto a
// quadrangle, on 1920x1080 frames of three channels and of one, beside
// OpenCV's affine and perspective warps with the same kernel, single
// threaded. Both leave the pixels outside the warped picture as they are.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <random>
#include <string>

#include "dispatch/primitives.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr TFCImageRect kFrame{0, 0, kWidth, kHeight};
constexpr double kQuad[4][2] = {{100.0, 50.0}, {1800.0, 150.0}, {1900.0, 1000.0}, {50.0, 1050.0}};

struct Frames {
  cv::Mat source, destination;

  explicit Frames(int channels)
      : source(kHeight, kWidth, CV_8UC(channels)), destination(kHeight, kWidth, CV_8UC(channels), cv::Scalar::all(0)) {
    cv::setNumThreads(1);
    std::mt19937 rng(7);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth * channels; ++x) source.ptr<Ipp8u>(y)[x] = static_cast<Ipp8u>(rng());
  }
};

Frames& frames(int channels) {
  static Frames three(3), one(1);
  return channels == 3 ? three : one;
}

struct Kernel {
  const char* name;
  int ours, opencv;
};

const Kernel kKernels[] = {{"nearest", IPPI_INTER_NN, cv::INTER_NEAREST},
                           {"linear", IPPI_INTER_LINEAR, cv::INTER_LINEAR},
                           {"cubic", IPPI_INTER_CUBIC, cv::INTER_CUBIC}};

/// Times `warp(frames)`, counting the destination frame's pixels.
template <typename Warp>
void run(benchmark::State& state, int channels, Warp warp) {
  Frames& f = frames(channels);
  for (auto _ : state) {
    if (!warp(f)) state.SkipWithError("warp failed");
    benchmark::DoNotOptimize(f.destination.data);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

IppStatus rotate(Frames& f, int channels, double xShift, double yShift, int interpolation) {
  auto* entry = channels == 3 ? fc_entry(ippiRotate_8u_C3R) : fc_entry(ippiRotate_8u_C1R);
  return entry(f.source.ptr<Ipp8u>(), {kWidth, kHeight}, static_cast<int>(f.source.step), kFrame,
               f.destination.ptr<Ipp8u>(), static_cast<int>(f.destination.step), kFrame, 30.0, xShift, yShift,
               interpolation);
}

IppStatus warpPerspective(Frames& f, int channels, const double (*coeffs)[3], int interpolation) {
  auto* entry = channels == 3 ? fc_entry(ippiWarpPerspective_8u_C3R) : fc_entry(ippiWarpPerspective_8u_C1R);
  return entry(f.source.ptr<Ipp8u>(), {kWidth, kHeight}, static_cast<int>(f.source.step), kFrame,
               f.destination.ptr<Ipp8u>(), static_cast<int>(f.destination.step), kFrame, coeffs, interpolation);
}

void registerRotation(int channels, const Kernel& kernel) {
  double xShift = 0, yShift = 0;
  fc_entry(ippiGetRotateShift)(kWidth / 2.0, kHeight / 2.0, 30.0, &xShift, &yShift);
  const std::string name = "rotate30_C" + std::to_string(channels) + "_" + kernel.name;
  benchmark::RegisterBenchmark((name + "/framecraft").c_str(), [=](benchmark::State& s) {
    run(s, channels, [&](Frames& f) { return rotate(f, channels, xShift, yShift, kernel.ours) == ippStsNoErr; });
  });
  // The same forward map: x' = cos x + sin y + xShift, y' = -sin x + cos y + yShift.
  const double r = 30.0 * CV_PI / 180.0;
  const cv::Matx23d forward(std::cos(r), std::sin(r), xShift, -std::sin(r), std::cos(r), yShift);
  benchmark::RegisterBenchmark((name + "/opencv").c_str(), [=](benchmark::State& s) {
    run(s, channels, [&](Frames& f) {
      cv::warpAffine(f.source, f.destination, forward, f.destination.size(), kernel.opencv, cv::BORDER_TRANSPARENT);
      return true;
    });
  });
}

void registerPerspective(int channels, const Kernel& kernel) {
  static double coeffs[3][3];
  fc_entry(ippiGetPerspectiveTransform)(kFrame, kQuad, coeffs);
  const std::string name = "perspective_C" + std::to_string(channels) + "_" + kernel.name;
  benchmark::RegisterBenchmark((name + "/framecraft").c_str(), [=](benchmark::State& s) {
    run(s, channels, [&](Frames& f) { return warpPerspective(f, channels, coeffs, kernel.ours) == ippStsNoErr; });
  });
  const cv::Matx33d forward(coeffs[0][0], coeffs[0][1], coeffs[0][2], coeffs[1][0], coeffs[1][1], coeffs[1][2],
                            coeffs[2][0], coeffs[2][1], coeffs[2][2]);
  benchmark::RegisterBenchmark((name + "/opencv").c_str(), [=](benchmark::State& s) {
    run(s, channels, [&](Frames& f) {
      cv::warpPerspective(f.source, f.destination, forward, f.destination.size(), kernel.opencv,
                          cv::BORDER_TRANSPARENT);
      return true;
    });
  });
}

const bool kRegistered = [] {
  for (int channels : {3, 1})
    for (const Kernel& kernel : kKernels) {
      registerRotation(channels, kernel);
      registerPerspective(channels, kernel);
    }
  return true;
}();

}  // namespace
