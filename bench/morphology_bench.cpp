// Erosion and dilation on 1920x1080 one- and three-channel frames beside
// OpenCV's erode and dilate with the same structuring element, single
// threaded. Both filter the same interior region of a frame whose border
// holds every window.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <string>

#include "dispatch/primitives.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kBorder = 3;  // enough for a 7x7 window around every pixel
constexpr IppiSize kRoi{kWidth, kHeight};

// A random frame with a border on every side; region() is the 1920x1080
// interior that the filters read around and write.
struct Frame {
  cv::Mat padded;
  cv::Mat output;

  explicit Frame(int channels)
      : padded(kHeight + 2 * kBorder, kWidth + 2 * kBorder, CV_8UC(channels)),
        output(kHeight, kWidth, CV_8UC(channels)) {
    cv::randu(padded, cv::Scalar::all(0), cv::Scalar::all(256));
  }
  cv::Mat region() { return padded(cv::Rect(kBorder, kBorder, kWidth, kHeight)); }
};

using MorphologyFn = IppStatus (*)(const Ipp8u*, int, Ipp8u*, int, IppiSize, const Ipp8u*, IppiSize, IppiPoint);

MorphologyFn entryOf(bool erode, int channels) {
  if (erode) return channels == 3 ? fc_entry(ippiErode_8u_C3R) : fc_entry(ippiErode_8u_C1R);
  return channels == 3 ? fc_entry(ippiDilate_8u_C3R) : fc_entry(ippiDilate_8u_C1R);
}

void countPixels(benchmark::State& state) { state.SetItemsProcessed(state.iterations() * kWidth * kHeight); }

void runFramecraft(benchmark::State& state, bool erode, int channels, const cv::Mat& mask) {
  Frame f(channels);
  const MorphologyFn entry = entryOf(erode, channels);
  const IppiSize maskSize{mask.cols, mask.rows};
  const IppiPoint anchor{mask.cols / 2, mask.rows / 2};
  cv::Mat region = f.region();
  for (auto _ : state) {
    if (entry(region.data, static_cast<int>(region.step), f.output.data, static_cast<int>(f.output.step), kRoi,
              mask.data, maskSize, anchor) != ippStsNoErr)
      state.SkipWithError("filter failed");
    benchmark::DoNotOptimize(f.output.data);
  }
  countPixels(state);
}

void runOpenCv(benchmark::State& state, bool erode, int channels, const cv::Mat& mask) {
  cv::setNumThreads(1);
  Frame f(channels);
  for (auto _ : state) {
    if (erode)
      cv::erode(f.region(), f.output, mask);
    else
      cv::dilate(f.region(), f.output, mask);
    benchmark::DoNotOptimize(f.output.data);
  }
  countPixels(state);
}

void registerRow(bool erode, int channels, const std::string& shape, const cv::Mat& mask) {
  const std::string name = std::string(erode ? "erode_" : "dilate_") + shape + "_c" + std::to_string(channels);
  benchmark::RegisterBenchmark((name + "/framecraft").c_str(), [=](benchmark::State& s) {
    runFramecraft(s, erode, channels, mask);
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark((name + "/opencv").c_str(), [=](benchmark::State& s) {
    runOpenCv(s, erode, channels, mask);
  })->Unit(benchmark::kMillisecond);
}

const bool kRegistered = [] {
  const cv::Mat square3 = cv::Mat::ones(3, 3, CV_8U);
  const cv::Mat square5 = cv::Mat::ones(5, 5, CV_8U);
  const cv::Mat ellipse3 = cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(3, 3));
  const cv::Mat ellipse7 = cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(7, 7));
  for (bool erode : {true, false})
    for (int channels : {3, 1}) {
      registerRow(erode, channels, "3x3", square3);
      registerRow(erode, channels, "5x5", square5);
      registerRow(erode, channels, "3x3_ellipse", ellipse3);
      registerRow(erode, channels, "7x7_ellipse", ellipse7);
    }
  return true;
}();

}  // namespace
