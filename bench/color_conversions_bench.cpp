// Colour-space conversions on 1920x1080 three-channel frames beside OpenCV's
// cvtColor with the corresponding code, single threaded, and a plain copy of
// the same bytes, the floor of any conversion. Back conversions start from a
// frame converted forward, so their input is a real picture in that space.
// PhotoYCC has no OpenCV counterpart: it runs beside the nearest one, the
// fixed-point YCrCb conversion.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cstring>
#include <random>
#include <string>

#include "dispatch/primitives.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr IppiSize kRoi{kWidth, kHeight};

using Conversion = IppStatus (*)(const Ipp8u*, int, Ipp8u*, int, IppiSize);

cv::Mat randomFrame() {
  cv::setNumThreads(1);
  cv::Mat frame(kHeight, kWidth, CV_8UC3);
  std::mt19937 rng(1);
  for (int y = 0; y < frame.rows; ++y)
    for (int x = 0; x < frame.cols * 3; ++x) frame.ptr<Ipp8u>(y)[x] = static_cast<Ipp8u>(rng());
  return frame;
}

const cv::Mat& rgbFrame() {
  static const cv::Mat frame = randomFrame();
  return frame;
}

Ipp8u* bytes(const cv::Mat& m) { return const_cast<Ipp8u*>(m.ptr<Ipp8u>()); }
int step(const cv::Mat& m) { return static_cast<int>(m.step); }

void runFramecraft(benchmark::State& state, Conversion convert, const cv::Mat& source) {
  cv::Mat destination(kHeight, kWidth, CV_8UC3);
  for (auto _ : state) {
    if (convert(bytes(source), step(source), bytes(destination), step(destination), kRoi) != ippStsNoErr)
      state.SkipWithError("conversion failed");
    benchmark::DoNotOptimize(destination.data);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void runOpenCv(benchmark::State& state, int code, const cv::Mat& source) {
  cv::Mat destination(kHeight, kWidth, CV_8UC3);
  for (auto _ : state) {
    cv::cvtColor(source, destination, code);
    benchmark::DoNotOptimize(destination.data);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void runCopy(benchmark::State& state, const cv::Mat& source) {
  cv::Mat destination(kHeight, kWidth, CV_8UC3);
  for (auto _ : state) {
    std::memcpy(destination.data, source.data, source.total() * source.elemSize());
    benchmark::DoNotOptimize(destination.data);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

// A forward and a back conversion with their OpenCV codes.
struct Pair {
  const char* space;
  Conversion forward, back;
  int cvForward, cvBack;
};

void registerPair(const Pair& p) {
  // Each benchmark keeps its own reference to the frame it reads.
  const cv::Mat inSpace(kHeight, kWidth, CV_8UC3);
  p.forward(bytes(rgbFrame()), step(rgbFrame()), bytes(inSpace), step(inSpace), kRoi);

  const std::string to = std::string("to") + p.space, from = std::string("from") + p.space;
  benchmark::RegisterBenchmark((to + "/framecraft").c_str(), runFramecraft, p.forward, rgbFrame());
  benchmark::RegisterBenchmark((from + "/framecraft").c_str(), runFramecraft, p.back, inSpace);
  benchmark::RegisterBenchmark((to + "/opencv").c_str(), runOpenCv, p.cvForward, rgbFrame());
  benchmark::RegisterBenchmark((from + "/opencv").c_str(), runOpenCv, p.cvBack, inSpace);
  benchmark::RegisterBenchmark((to + "/memcpy").c_str(), runCopy, rgbFrame());
  benchmark::RegisterBenchmark((from + "/memcpy").c_str(), runCopy, inSpace);
}

const bool registered = [] {
  const Pair pairs[] = {
      {"YUV", fc_entry(ippiRGBToYUV_8u_C3R), fc_entry(ippiYUVToRGB_8u_C3R), cv::COLOR_RGB2YUV, cv::COLOR_YUV2RGB},
      {"YCbCr", fc_entry(ippiRGBToYCbCr_8u_C3R), fc_entry(ippiYCbCrToRGB_8u_C3R), cv::COLOR_RGB2YCrCb,
       cv::COLOR_YCrCb2RGB},
      {"YCC", fc_entry(ippiRGBToYCC_8u_C3R), fc_entry(ippiYCCToRGB_8u_C3R), cv::COLOR_RGB2YCrCb,
       cv::COLOR_YCrCb2RGB},
      {"HSV", fc_entry(ippiRGBToHSV_8u_C3R), fc_entry(ippiHSVToRGB_8u_C3R), cv::COLOR_RGB2HSV_FULL,
       cv::COLOR_HSV2RGB_FULL},
      {"HLS", fc_entry(ippiRGBToHLS_8u_C3R), fc_entry(ippiHLSToRGB_8u_C3R), cv::COLOR_RGB2HLS_FULL,
       cv::COLOR_HLS2RGB_FULL},
      {"LUV", fc_entry(ippiRGBToLUV_8u_C3R), fc_entry(ippiLUVToRGB_8u_C3R), cv::COLOR_RGB2Luv, cv::COLOR_Luv2RGB},
      {"XYZ", fc_entry(ippiRGBToXYZ_8u_C3R), fc_entry(ippiXYZToRGB_8u_C3R), cv::COLOR_RGB2XYZ, cv::COLOR_XYZ2RGB},
      {"Lab", fc_entry(ippiBGRToLab_8u_C3R), fc_entry(ippiLabToBGR_8u_C3R), cv::COLOR_BGR2Lab, cv::COLOR_Lab2BGR},
  };
  for (const Pair& p : pairs) registerPair(p);
  return true;
}();

}  // namespace
