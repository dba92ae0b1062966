// Rank filters on 1920x1080 three-channel frames beside OpenCV, single
// threaded. The source region lies inside a frame with a border wide enough
// for the largest mask, since our filters read around the region; OpenCV
// filters the same region with its own border handling.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <random>

#include "dispatch/primitives.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kBorder = 8;
constexpr IppiSize kRoi{kWidth, kHeight};

struct Frames {
  cv::Mat padded = cv::Mat(kHeight + 2 * kBorder, kWidth + 2 * kBorder, CV_8UC3);
  cv::Mat source = padded(cv::Rect(kBorder, kBorder, kWidth, kHeight));
  cv::Mat destination = cv::Mat(kHeight, kWidth, CV_8UC3);

  Frames() {
    cv::setNumThreads(1);
    std::mt19937 rng(1);
    for (int y = 0; y < padded.rows; ++y)
      for (int x = 0; x < padded.cols * 3; ++x) padded.ptr<Ipp8u>(y)[x] = static_cast<Ipp8u>(rng());
  }
};

Frames& frames() {
  static Frames f;
  return f;
}

using MaskedEntry = IppStatus (*)(const Ipp8u*, int, Ipp8u*, int, IppiSize, IppiSize, IppiPoint);

void runFramecraft(benchmark::State& state, MaskedEntry entry, int side) {
  Frames& f = frames();
  const IppiSize mask{side, side};
  const IppiPoint anchor{side / 2, side / 2};
  for (auto _ : state) {
    const IppStatus status = entry(f.source.ptr<Ipp8u>(), static_cast<int>(f.source.step), f.destination.ptr<Ipp8u>(),
                                   static_cast<int>(f.destination.step), kRoi, mask, anchor);
    if (status != ippStsNoErr) state.SkipWithError("filter failed");
    benchmark::DoNotOptimize(f.destination.data);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

template <typename Filter>
void runOpenCv(benchmark::State& state, Filter filter) {
  Frames& f = frames();
  for (auto _ : state) {
    filter(f.source, f.destination);
    benchmark::DoNotOptimize(f.destination.data);
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void registerBox(int side) {
  const std::string name = "box" + std::to_string(side) + "x" + std::to_string(side);
  benchmark::RegisterBenchmark((name + "/framecraft").c_str(), [side](benchmark::State& s) {
    runFramecraft(s, fc_entry(ippiFilterBox_8u_C3R), side);
  });
  benchmark::RegisterBenchmark((name + "/opencv").c_str(), [side](benchmark::State& s) {
    runOpenCv(s, [side](const cv::Mat& in, cv::Mat& out) {
      cv::boxFilter(in, out, -1, cv::Size(side, side), cv::Point(-1, -1), true, cv::BORDER_REPLICATE);
    });
  });
}

void registerMinMax(bool minimum, int side) {
  const std::string name = std::string(minimum ? "min" : "max") + std::to_string(side) + "x" + std::to_string(side);
  benchmark::RegisterBenchmark((name + "/framecraft").c_str(), [minimum, side](benchmark::State& s) {
    runFramecraft(s, minimum ? fc_entry(ippiFilterMin_8u_C3R) : fc_entry(ippiFilterMax_8u_C3R), side);
  });
  benchmark::RegisterBenchmark((name + "/opencv").c_str(), [minimum, side](benchmark::State& s) {
    const cv::Mat kernel = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(side, side));
    runOpenCv(s, [minimum, kernel](const cv::Mat& in, cv::Mat& out) {
      if (minimum)
        cv::erode(in, out, kernel);
      else
        cv::dilate(in, out, kernel);
    });
  });
}

void registerMedian(int side) {
  const std::string name = "median" + std::to_string(side) + "x" + std::to_string(side);
  benchmark::RegisterBenchmark((name + "/framecraft").c_str(), [side](benchmark::State& s) {
    runFramecraft(s, fc_entry(ippiFilterMedian_8u_C3R), side);
  });
  benchmark::RegisterBenchmark((name + "/opencv").c_str(), [side](benchmark::State& s) {
    runOpenCv(s, [side](const cv::Mat& in, cv::Mat& out) { cv::medianBlur(in, out, side); });
  });
}

const bool kRegistered = [] {
  registerBox(3);
  registerBox(15);
  registerMinMax(true, 5);
  registerMinMax(false, 5);
  registerMedian(3);
  registerMedian(5);
  registerMedian(7);
  return true;
}();

}  // namespace
