// Fixed-kernel filters on 1920x1080 three-channel frames, beside the
// matching OpenCV operations on the same pixels, single-threaded. Kernels
// OpenCV has no named filter for run through cv::filter2D. Erosion and
// dilation are in morphology_bench.cpp.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <string>
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

using FixedFilter = IppStatus (*)(const Ipp8u*, int, Ipp8u*, int, IppiSize);
using MaskedFixedFilter = IppStatus (*)(const Ipp8u*, int, Ipp8u*, int, IppiSize, int);

void runFixed(benchmark::State& state, FixedFilter filter) {
  Frame f;
  for (auto _ : state)
    benchmark::DoNotOptimize(filter(f.source(), f.sourceStep(), f.destination(), f.destinationStep(), kRoi));
  countPixels(state);
}

void runMaskedFixed(benchmark::State& state, MaskedFixedFilter filter, int mask) {
  Frame f;
  for (auto _ : state)
    benchmark::DoNotOptimize(filter(f.source(), f.sourceStep(), f.destination(), f.destinationStep(), kRoi, mask));
  countPixels(state);
}

// OpenCV filters the same interior region; it reads the real pixels around
// it, as ours do.
template <class Operation>
void runOpenCv(benchmark::State& state, Operation operation) {
  cv::setNumThreads(1);
  Frame f;
  for (auto _ : state) {
    operation(f.region(), f.output);
    benchmark::DoNotOptimize(f.output.data);
  }
  countPixels(state);
}

/// The peer of a kernel OpenCV has no named filter for: the same integer
/// kernel through cv::filter2D, with the result saturated to bytes.
void runOpenCvKernel(benchmark::State& state, std::vector<float> weights, int side, double scale = 1) {
  cv::Mat kernel(side, side, CV_32F, weights.data());
  kernel = kernel * scale;
  runOpenCv(state, [&](const cv::Mat& in, cv::Mat& out) { cv::filter2D(in, out, CV_8U, kernel); });
}

const std::vector<float> kHighPass3x3 = {-1, -1, -1, -1, 8, -1, -1, -1, -1};
const std::vector<float> kSharpen3x3 = {-1, -1, -1, -1, 16, -1, -1, -1, -1};
const std::vector<float> kPrewittHoriz = {-1, -1, -1, 0, 0, 0, 1, 1, 1};
const std::vector<float> kLaplace5x5 = {-1, -3, -4, -3, -1, -3, 0,  6,  0,  -3, -4, 6, 20,
                                        6,  -4, -3, 0,  6,  0,  -3, -1, -3, -4, -3, -1};
std::vector<float> highPass5x5() {
  std::vector<float> k(25, -1);
  k[12] = 24;
  return k;
}

void register3x3And5x5Rows() {
  const auto add = [](const std::string& name, auto ours, auto peer) {
    benchmark::RegisterBenchmark((name + "/framecraft").c_str(), ours)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((name + "/opencv").c_str(), peer)->Unit(benchmark::kMillisecond);
  };
  add("sobel_horiz_3x3_c3", [](benchmark::State& s) { runFixed(s, fc_entry(ippiFilterSobelHoriz_8u_C3R)); },
      [](benchmark::State& s) {
        runOpenCv(s, [](const cv::Mat& in, cv::Mat& out) { cv::Sobel(in, out, CV_8U, 0, 1, 3); });
      });
  add("sobel_vert_3x3_c3", [](benchmark::State& s) { runFixed(s, fc_entry(ippiFilterSobelVert_8u_C3R)); },
      [](benchmark::State& s) {
        runOpenCv(s, [](const cv::Mat& in, cv::Mat& out) { cv::Sobel(in, out, CV_8U, 1, 0, 3); });
      });
  add("prewitt_horiz_3x3_c3", [](benchmark::State& s) { runFixed(s, fc_entry(ippiFilterPrewittHoriz_8u_C3R)); },
      [](benchmark::State& s) { runOpenCvKernel(s, kPrewittHoriz, 3); });
  add("sharpen_3x3_c3", [](benchmark::State& s) { runFixed(s, fc_entry(ippiFilterSharpen_8u_C3R)); },
      [](benchmark::State& s) { runOpenCvKernel(s, kSharpen3x3, 3, 1.0 / 8); });
  add("hipass_3x3_c3",
      [](benchmark::State& s) { runMaskedFixed(s, fc_entry(ippiFilterHipass_8u_C3R), ippMskSize3x3); },
      [](benchmark::State& s) { runOpenCvKernel(s, kHighPass3x3, 3); });
  add("hipass_5x5_c3",
      [](benchmark::State& s) { runMaskedFixed(s, fc_entry(ippiFilterHipass_8u_C3R), ippMskSize5x5); },
      [](benchmark::State& s) { runOpenCvKernel(s, highPass5x5(), 5); });
  add("laplace_5x5_c3",
      [](benchmark::State& s) { runMaskedFixed(s, fc_entry(ippiFilterLaplace_8u_C3R), ippMskSize5x5); },
      [](benchmark::State& s) { runOpenCvKernel(s, kLaplace5x5, 5); });
  add("lowpass_3x3_c3",
      [](benchmark::State& s) { runMaskedFixed(s, fc_entry(ippiFilterLowpass_8u_C3R), ippMskSize3x3); },
      [](benchmark::State& s) { runOpenCv(s, [](const cv::Mat& in, cv::Mat& out) { cv::blur(in, out, {3, 3}); }); });
  add("lowpass_5x5_c3",
      [](benchmark::State& s) { runMaskedFixed(s, fc_entry(ippiFilterLowpass_8u_C3R), ippMskSize5x5); },
      [](benchmark::State& s) { runOpenCv(s, [](const cv::Mat& in, cv::Mat& out) { cv::blur(in, out, {5, 5}); }); });
  add("gauss_3x3_c3",
      [](benchmark::State& s) { runMaskedFixed(s, fc_entry(ippiFilterGauss_8u_C3R), ippMskSize3x3); },
      [](benchmark::State& s) {
        runOpenCv(s, [](const cv::Mat& in, cv::Mat& out) { cv::GaussianBlur(in, out, {3, 3}, 0); });
      });
  add("gauss_5x5_c3",
      [](benchmark::State& s) { runMaskedFixed(s, fc_entry(ippiFilterGauss_8u_C3R), ippMskSize5x5); },
      [](benchmark::State& s) {
        runOpenCv(s, [](const cv::Mat& in, cv::Mat& out) { cv::GaussianBlur(in, out, {5, 5}, 0); });
      });
}

const bool kFixedRowsRegistered = (register3x3And5x5Rows(), true);

}  // namespace
