// Frames of 1920x1080 through the resize, rotate and warp components,
// delivery and output frame included, beside the OpenCV operation that
// computes the same mapping, single threaded. Rates count output pixels.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cstring>
#include <functional>
#include <random>

#include "components/Fcresize.h"
#include "components/Fcrotate.h"
#include "components/Fcwarp.h"
#include "dispatch/primitives.h"
#include "tests/support/component_harness.h"

namespace {

using namespace fc;

constexpr int kInWidth = 1920, kInHeight = 1080;
constexpr int kOutWidth = 1280, kOutHeight = 720;

cv::Mat NoiseMat() {
  cv::Mat mat(kInHeight, kInWidth, CV_8UC3);
  std::mt19937 random(3);
  for (std::size_t i = 0; i < mat.total() * 3; ++i) mat.data[i] = static_cast<Ipp8u>(random());
  return mat;
}

// Delivers the same input frame to `filter` once per iteration; its output
// goes nowhere, so the rate is the component's own work.
void Deliver(benchmark::State& state, TFCCommonROISizeFilter& filter, int outWidth, int outHeight) {
  filter.GetOutputSize()->SetWidth(outWidth);
  filter.GetOutputSize()->SetHeight(outHeight);
  const cv::Mat noise = NoiseMat();
  TFCImageBuffer input(kInWidth, kInHeight);
  std::memcpy(input.Write(), noise.data, input.Size());
  test::TComponentHarness source;
  source.Feed(*filter.GetInputPin());
  source.PushStart(kInWidth, kInHeight);
  for (auto _ : state) source.PushFrame(input);
  state.SetItemsProcessed(state.iterations() * std::int64_t{outWidth} * outHeight);
}

// Runs `call` (an OpenCV peer, or the primitive a component makes) on a
// noise input and an output of the component's size.
void OnFrames(benchmark::State& state, int outWidth, int outHeight,
              const std::function<void(const cv::Mat&, cv::Mat&)>& call) {
  const cv::Mat in = NoiseMat();
  cv::Mat out(outHeight, outWidth, CV_8UC3);
  for (auto _ : state) {
    call(in, out);
    benchmark::DoNotOptimize(out.data);
  }
  state.SetItemsProcessed(state.iterations() * std::int64_t{outWidth} * outHeight);
}

const IppiSize kInSize{kInWidth, kInHeight};
const TFCImageRect kInRect{0, 0, kInWidth, kInHeight};
const int kLinear = IPPI_INTER_LINEAR;

void ResizeComponent(benchmark::State& state) {
  TFCResize resize(nullptr);
  Deliver(state, resize, kOutWidth, kOutHeight);
}

void ResizeOpenCv(benchmark::State& state) {
  OnFrames(state, kOutWidth, kOutHeight,
         [](const cv::Mat& in, cv::Mat& out) { cv::resize(in, out, out.size(), 0, 0, cv::INTER_LINEAR); });
}

void ResizePrimitive(benchmark::State& state) {
  OnFrames(state, kOutWidth, kOutHeight, [](const cv::Mat& in, cv::Mat& out) {
    fc_entry(ippiResize_8u_C3R)(in.data, kInSize, static_cast<int>(in.step), kInRect, out.data,
                                static_cast<int>(out.step), {kOutWidth, kOutHeight},
                                static_cast<double>(kOutWidth) / kInWidth,
                                static_cast<double>(kOutHeight) / kInHeight, kLinear);
  });
}

void RotateComponent(benchmark::State& state) {
  TFCRotate rotate(nullptr);
  rotate.SetAngle(30);
  Deliver(state, rotate, kInWidth, kInHeight);
}

void RotateOpenCv(benchmark::State& state) {
  const cv::Mat turn = cv::getRotationMatrix2D({kInWidth / 2, kInHeight / 2}, 30, 1);
  OnFrames(state, kInWidth, kInHeight,
         [&](const cv::Mat& in, cv::Mat& out) { cv::warpAffine(in, out, turn, out.size(), cv::INTER_LINEAR); });
}

void RotatePrimitive(benchmark::State& state) {
  double xShift = 0, yShift = 0;
  fc_entry(ippiGetRotateShift)(kInWidth / 2, kInHeight / 2, 30, &xShift, &yShift);
  OnFrames(state, kInWidth, kInHeight, [&](const cv::Mat& in, cv::Mat& out) {
    fc_entry(ippiRotate_8u_C3R)(in.data, kInSize, static_cast<int>(in.step), kInRect, out.data,
                                static_cast<int>(out.step), kInRect, 30, xShift, yShift, kLinear);
  });
}

void WarpComponent(benchmark::State& state) {
  TFCWarp warp(nullptr);
  warp.SetWarpType(wtPerspective);
  warp.GetRightTopOffset()->SetX(-200);
  warp.GetRightBottomOffset()->SetY(-100);
  Deliver(state, warp, kInWidth, kInHeight);
}

void WarpOpenCv(benchmark::State& state) {
  const cv::Point2f from[] = {{0, 0}, {kInWidth - 1, 0}, {kInWidth - 1, kInHeight - 1}, {0, kInHeight - 1}};
  const cv::Point2f to[] = {{0, 0}, {kInWidth - 201, 0}, {kInWidth - 1, kInHeight - 101}, {0, kInHeight - 1}};
  const cv::Mat map = cv::getPerspectiveTransform(from, to);
  OnFrames(state, kInWidth, kInHeight, [&](const cv::Mat& in, cv::Mat& out) {
    cv::warpPerspective(in, out, map, out.size(), cv::INTER_LINEAR);
  });
}

void WarpPrimitive(benchmark::State& state) {
  const double quad[4][2] = {{0, 0}, {kInWidth - 201, 0}, {kInWidth - 1, kInHeight - 101}, {0, kInHeight - 1}};
  double coeffs[3][3];
  fc_entry(ippiGetPerspectiveTransform)(kInRect, quad, coeffs);
  OnFrames(state, kInWidth, kInHeight, [&](const cv::Mat& in, cv::Mat& out) {
    fc_entry(ippiWarpPerspective_8u_C3R)(in.data, kInSize, static_cast<int>(in.step), kInRect, out.data,
                                         static_cast<int>(out.step), kInRect, coeffs, kLinear);
  });
}

int RegisterAll() {
  cv::setNumThreads(1);
  benchmark::RegisterBenchmark("resize_component_linear_to_720p/framecraft", ResizeComponent);
  benchmark::RegisterBenchmark("resize_component_linear_to_720p/opencv", ResizeOpenCv);
  benchmark::RegisterBenchmark("resize_component_linear_to_720p/primitive", ResizePrimitive);
  benchmark::RegisterBenchmark("rotate_component_30_linear/framecraft", RotateComponent);
  benchmark::RegisterBenchmark("rotate_component_30_linear/opencv", RotateOpenCv);
  benchmark::RegisterBenchmark("rotate_component_30_linear/primitive", RotatePrimitive);
  benchmark::RegisterBenchmark("warp_component_perspective_linear/framecraft", WarpComponent);
  benchmark::RegisterBenchmark("warp_component_perspective_linear/opencv", WarpOpenCv);
  benchmark::RegisterBenchmark("warp_component_perspective_linear/primitive", WarpPrimitive);
  return 0;
}

const int registered = RegisterAll();

}  // namespace
