// The histogram component on 1920x1080 frames, delivery and the three blocks
// of real values included, beside cv::calcHist over the same channels,
// single threaded. Rates count the pixels measured; "frames_per_second"
// gives whole frames.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cstring>
#include <random>

#include "components/Fchistogram.h"
#include "tests/support/component_harness.h"
#include "tests/support/real_channels.h"

namespace {

using namespace fc;

constexpr int kWidth = 1920, kHeight = 1080;
constexpr std::int64_t kFramePixels = std::int64_t{kWidth} * kHeight;

cv::Mat RandomFrame(int type) {
  cv::Mat frame(kHeight, kWidth, type);
  std::mt19937 rng(1);
  for (int y = 0; y < frame.rows; ++y)
    for (int x = 0; x < frame.cols * frame.channels(); ++x) frame.ptr<Ipp8u>(y)[x] = static_cast<Ipp8u>(rng());
  return frame;
}

void Rates(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * kFramePixels);
  state.counters["frames_per_second"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                           benchmark::Counter::kIsRate);
}

// The three histograms of every frame, sent to collectors that keep nothing.
void Component(benchmark::State& state, TFCColorMode mode, TFCVideoFormat format) {
  const cv::Mat src = RandomFrame(format == vfGray8 ? CV_8UC1 : CV_8UC3);
  TFCImageBuffer frame(kWidth, kHeight, format);
  std::memcpy(frame.Write(), src.data, frame.Size());
  TFCHistogram histogram(nullptr);
  histogram.SetColorMode(mode);
  test::TComponentHarness harness;
  harness.Feed(*histogram.GetInputPin());
  harness.PushStart(kWidth, kHeight);
  for (auto _ : state) harness.PushFrame(frame);
  Rates(state);
}

void OpenCv(benchmark::State& state, int channels) {
  const cv::Mat src = RandomFrame(channels == 1 ? CV_8UC1 : CV_8UC3);
  const int histSize[] = {256};
  const float range[] = {0, 256};
  const float* ranges[] = {range};
  cv::Mat hist;
  for (auto _ : state) {
    for (int c = 0; c < channels; ++c) {
      cv::calcHist(&src, 1, &c, cv::Mat(), hist, 1, histSize, ranges);
      benchmark::DoNotOptimize(hist.data);
    }
  }
  Rates(state);
}

int RegisterAll() {
  cv::setNumThreads(1);
  benchmark::RegisterBenchmark("histogram_rgb_c3/framecraft", Component, cmRGB, vfRGB24);
  benchmark::RegisterBenchmark("histogram_rgb_c3/opencv", OpenCv, 3);
  benchmark::RegisterBenchmark("histogram_grey_c1/framecraft", Component, cmRGB, vfGray8);
  benchmark::RegisterBenchmark("histogram_grey_c1/opencv", OpenCv, 1);
  return 0;
}

const int registered = RegisterAll();

}  // namespace
