// Fixed-kernel filters on 1920x1080 three-channel frames, beside the
// matching OpenCV operations on the same pixels, single-threaded. Erosion and
// dilation are in morphology_bench.cpp.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <vector>

#include "dispatch/primitives.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kBorder = 3;  // enough for a 7x7 window around every pixel

// A random frame with a border on every side; region() is the 1920x1080
// interior that the filters read around and write.
struct Frame {
  cv::Mat padded;
  cv::Mat output;

  Frame() : padded(kHeight + 2 * kBorder, kWidth + 2 * kBorder, CV_8UC3), output(kHeight, kWidth, CV_8UC3) {
    cv::randu(padded, cv::Scalar::all(0), cv::Scalar::all(256));
  }
  cv::Mat region() { return padded(cv::Rect(kBorder, kBorder, kWidth, kHeight)); }
  const Ipp8u* source() { return region().data; }
  int sourceStep() const { return static_cast<int>(padded.step); }
  Ipp8u* destination() { return output.data; }
  int destinationStep() const { return static_cast<int>(output.step); }
};

constexpr IppiSize kRoi{kWidth, kHeight};

void countPixels(benchmark::State& state) { state.SetItemsProcessed(state.iterations() * kWidth * kHeight); }

void Sobel_framecraft(benchmark::State& state) {
  Frame f;
  for (auto _ : state)
    benchmark::DoNotOptimize(fc_entry(ippiFilterSobelHoriz_8u_C3R)(f.source(), f.sourceStep(), f.destination(),
                                                                   f.destinationStep(), kRoi));
  countPixels(state);
}

void Sobel_opencv(benchmark::State& state) {
  cv::setNumThreads(1);
  Frame f;
  for (auto _ : state) cv::Sobel(f.region(), f.output, CV_8U, 0, 1, 3);
  countPixels(state);
}

void Gauss5x5_framecraft(benchmark::State& state) {
  Frame f;
  for (auto _ : state)
    benchmark::DoNotOptimize(fc_entry(ippiFilterGauss_8u_C3R)(f.source(), f.sourceStep(), f.destination(),
                                                              f.destinationStep(), kRoi, ippMskSize5x5));
  countPixels(state);
}

void Gauss5x5_opencv(benchmark::State& state) {
  cv::setNumThreads(1);
  Frame f;
  for (auto _ : state) cv::GaussianBlur(f.region(), f.output, cv::Size(5, 5), 0);
  countPixels(state);
}

}  // namespace

BENCHMARK(Sobel_framecraft)->Name("sobel_horiz_3x3_c3/framecraft")->Unit(benchmark::kMillisecond);
BENCHMARK(Sobel_opencv)->Name("sobel_horiz_3x3_c3/opencv")->Unit(benchmark::kMillisecond);
BENCHMARK(Gauss5x5_framecraft)->Name("gauss_5x5_c3/framecraft")->Unit(benchmark::kMillisecond);
BENCHMARK(Gauss5x5_opencv)->Name("gauss_5x5_c3/opencv")->Unit(benchmark::kMillisecond);
