// Frames of 1920x1080 through the rate changer (10 to 25 frames per second:
// 2.5 blends of two frames per input frame) and the frame-difference
// component, delivery included, beside OpenCV's weighted sum and absolute
// difference, single threaded. Rates are output pixels per second.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>

#include <cstring>
#include <random>

#include "components/Fcchangerate.h"
#include "components/Fcframechange.h"
#include "tests/support/component_harness.h"

namespace {

using namespace fc;

constexpr int kWidth = 1920, kHeight = 1080;
constexpr std::int64_t kFramePixels = std::int64_t{kWidth} * kHeight;

cv::Mat RandomFrame(unsigned seed) {
  cv::Mat frame(kHeight, kWidth, CV_8UC3);
  std::mt19937 rng(seed);
  for (int y = 0; y < frame.rows; ++y)
    for (int x = 0; x < frame.cols * 3; ++x) frame.ptr<Ipp8u>(y)[x] = static_cast<Ipp8u>(rng());
  return frame;
}

TFCImageBuffer FrameOf(const cv::Mat& mat) {
  TFCImageBuffer frame(kWidth, kHeight);
  std::memcpy(frame.Write(), mat.data, frame.Size());
  return frame;
}

// Alternates two random frames into `filter` at `rate` frames per second.
void Alternating(benchmark::State& state, TFCCommonFilter& filter, double rate) {
  const TFCImageBuffer frames[2] = {FrameOf(RandomFrame(1)), FrameOf(RandomFrame(2))};
  test::TComponentHarness harness;
  harness.Feed(*filter.GetInputPin());
  harness.PushStart(kWidth, kHeight, rate);
  int i = 0;
  for (auto _ : state) harness.PushFrame(frames[i++ & 1]);
}

void BlendComponent(benchmark::State& state) {
  TFCChangeRate rate(nullptr);
  rate.SetFrameRate(25);
  Alternating(state, rate, 10);
  state.SetItemsProcessed(state.iterations() * kFramePixels * 5 / 2);
}

void BlendOpenCv(benchmark::State& state) {
  cv::setNumThreads(1);
  const cv::Mat previous = RandomFrame(1), current = RandomFrame(2);
  cv::Mat dst(previous.size(), previous.type());
  const double weights[5] = {0.4, 0.8, 1.0, 0.2, 0.6};  // the weights of two input frames
  int i = 0;
  for (auto _ : state) {
    const double w = weights[i++ % 5];
    cv::addWeighted(previous, 1 - w, current, w, 0, dst);
    benchmark::DoNotOptimize(dst.data);
  }
  state.SetItemsProcessed(state.iterations() * kFramePixels);
}

void AbsDiffComponent(benchmark::State& state) {
  TFCFrameChange change(nullptr);
  Alternating(state, change, 25);
  state.SetItemsProcessed(state.iterations() * kFramePixels);
}

void AbsDiffOpenCv(benchmark::State& state) {
  cv::setNumThreads(1);
  const cv::Mat previous = RandomFrame(1), current = RandomFrame(2);
  cv::Mat dst(previous.size(), previous.type());
  for (auto _ : state) {
    cv::absdiff(current, previous, dst);
    benchmark::DoNotOptimize(dst.data);
  }
  state.SetItemsProcessed(state.iterations() * kFramePixels);
}

int RegisterAll() {
  benchmark::RegisterBenchmark("rate_change_blend/framecraft", BlendComponent);
  benchmark::RegisterBenchmark("rate_change_blend/opencv", BlendOpenCv);
  benchmark::RegisterBenchmark("frame_absdiff/framecraft", AbsDiffComponent);
  benchmark::RegisterBenchmark("frame_absdiff/opencv", AbsDiffOpenCv);
  return 0;
}

const int registered = RegisterAll();

}  // namespace
