// Point operations and generators on 1920x1080 three-channel frames, single
// threaded, each beside the nearest OpenCV operation and a plain memcpy of
// the frame's bytes. Where OpenCV has no counterpart (the Jaehne pattern)
// only the copy stands beside it. The one-channel histogram counts the
// frame's bytes as one 5760-byte-wide channel.
#include <benchmark/benchmark.h>

#include <cstring>
#include <functional>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <random>
#include <string>

#include "dispatch/primitives.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr IppiSize kRoi{kWidth, kHeight};

/// The frames every benchmark works on: a random source, a destination, three
/// planes and the histogram arrays.
struct Frames {
  cv::Mat source = cv::Mat(kHeight, kWidth, CV_8UC3);
  cv::Mat destination = cv::Mat(kHeight, kWidth, CV_8UC3);
  cv::Mat planes[3] = {cv::Mat(kHeight, kWidth, CV_8UC1), cv::Mat(kHeight, kWidth, CV_8UC1),
                       cv::Mat(kHeight, kWidth, CV_8UC1)};
  cv::Mat lut = cv::Mat(1, 256, CV_8UC1);
  std::vector<Ipp32s> hist = std::vector<Ipp32s>(3 * 256), levels = std::vector<Ipp32s>(3 * 257);

  Frames() {
    cv::setNumThreads(1);
    std::mt19937 rng(1);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth * 3; ++x) source.ptr<Ipp8u>(y)[x] = static_cast<Ipp8u>(rng());
    for (int k = 0; k < 256; ++k) lut.at<Ipp8u>(k) = static_cast<Ipp8u>(255 - k);
  }

  const Ipp8u* src() const { return source.ptr<Ipp8u>(); }
  Ipp8u* dst() { return destination.ptr<Ipp8u>(); }
  int step() const { return static_cast<int>(source.step); }
};

Frames& frames() {
  static Frames f;
  return f;
}

/// Registers "<operation>/<implementation>"; the body runs once per iteration
/// on a whole frame and returns false on failure.
void add(const std::string& operation, const char* implementation, std::function<bool()> body) {
  benchmark::RegisterBenchmark((operation + "/" + implementation).c_str(), [body](benchmark::State& state) {
    for (auto _ : state) {
      if (!body()) state.SkipWithError("call failed");
      benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
  })->Unit(benchmark::kMillisecond);
}

/// The framecraft call, the peer (when there is one) and the frame copy.
void addOperation(const std::string& operation, std::function<IppStatus()> ours,
                  std::function<void()> opencv = nullptr) {
  add(operation, "framecraft", [ours] { return ours() == ippStsNoErr; });
  if (opencv)
    add(operation, "opencv", [opencv] {
      opencv();
      return true;
    });
  add(operation, "memcpy", [] {
    Frames& f = frames();
    std::memcpy(f.dst(), f.src(), f.source.total() * 3);
    return true;
  });
}

void registerLookupsAndThresholds() {
  Frames& f = frames();
  addOperation(
      "GammaFwd_8u_C3R", [&f] { return ippiGammaFwd_8u_C3R(f.src(), f.step(), f.dst(), f.step(), kRoi); },
      [&f] { cv::LUT(f.source, f.lut, f.destination); });
  addOperation(
      "GammaInv_8u_C3R", [&f] { return ippiGammaInv_8u_C3R(f.src(), f.step(), f.dst(), f.step(), kRoi); },
      [&f] { cv::LUT(f.source, f.lut, f.destination); });
  addOperation(
      "GammaFwd_8u_C3IR", [&f] { return ippiGammaFwd_8u_C3IR(f.dst(), f.step(), kRoi); },
      [&f] { cv::LUT(f.destination, f.lut, f.destination); });
  addOperation(
      "GammaInv_8u_C3IR", [&f] { return ippiGammaInv_8u_C3IR(f.dst(), f.step(), kRoi); },
      [&f] { cv::LUT(f.destination, f.lut, f.destination); });

  static const Ipp32f twist[3][4] = {
      {0.299f, 0.587f, 0.114f, 0}, {-0.169f, -0.331f, 0.5f, 128}, {0.5f, -0.419f, -0.081f, 128}};
  static const cv::Mat twistMatrix(3, 4, CV_32F, const_cast<Ipp32f*>(&twist[0][0]));
  addOperation(
      "ColorTwist32f_8u_C3R",
      [&f] { return ippiColorTwist32f_8u_C3R(f.src(), f.step(), f.dst(), f.step(), kRoi, twist); },
      [&f] { cv::transform(f.source, f.destination, twistMatrix); });

  static const Ipp8u lt[3] = {40, 50, 60}, ltValue[3] = {0, 0, 0}, gt[3] = {200, 210, 220},
                     gtValue[3] = {255, 255, 255};
  // OpenCV thresholds one side per call with one threshold for all channels:
  // both sides take two calls.
  addOperation(
      "Threshold_LTValGTVal_8u_C3R",
      [&f] {
        return ippiThreshold_LTValGTVal_8u_C3R(f.src(), f.step(), f.dst(), f.step(), kRoi, lt, ltValue, gt,
                                               gtValue);
      },
      [&f] {
        cv::threshold(f.source, f.destination, 200, 255, cv::THRESH_TRUNC);
        cv::threshold(f.destination, f.destination, 40, 255, cv::THRESH_TOZERO);
      });
  addOperation(
      "Threshold_LTVal_8u_C3R",
      [&f] { return ippiThreshold_LTVal_8u_C3R(f.src(), f.step(), f.dst(), f.step(), kRoi, lt, ltValue); },
      [&f] { cv::threshold(f.source, f.destination, 40, 255, cv::THRESH_TOZERO); });
  addOperation(
      "Threshold_GTVal_8u_C3R",
      [&f] { return ippiThreshold_GTVal_8u_C3R(f.src(), f.step(), f.dst(), f.step(), kRoi, gt, gtValue); },
      [&f] { cv::threshold(f.source, f.destination, 200, 255, cv::THRESH_TRUNC); });
}

void registerHistograms() {
  Frames& f = frames();
  addOperation(
      "HistogramEven_8u_C3R",
      [&f] {
        Ipp32s* hist[3] = {&f.hist[0], &f.hist[256], &f.hist[512]};
        Ipp32s* levels[3] = {&f.levels[0], &f.levels[257], &f.levels[514]};
        int n[3] = {257, 257, 257};
        Ipp32s lower[3] = {0, 0, 0}, upper[3] = {256, 256, 256};
        return ippiHistogramEven_8u_C3R(f.src(), f.step(), kRoi, hist, levels, n, lower, upper);
      },
      [&f] {
        static cv::Mat hist;
        const int histSize = 256;
        const float range[] = {0, 256};
        const float* ranges[] = {range};
        for (int c = 0; c < 3; ++c) cv::calcHist(&f.source, 1, &c, cv::Mat(), hist, 1, &histSize, ranges);
      });
  static const cv::Mat bytesAsGrey = frames().source.reshape(1);
  addOperation(
      "HistogramEven_8u_C1R",
      [&f] {
        return ippiHistogramEven_8u_C1R(f.src(), f.step(), {kWidth * 3, kHeight}, f.hist.data(),
                                        f.levels.data(), 257, 0, 256);
      },
      [] {
        static cv::Mat hist;
        const int histSize = 256, channel = 0;
        const float range[] = {0, 256};
        const float* ranges[] = {range};
        cv::calcHist(&bytesAsGrey, 1, &channel, cv::Mat(), hist, 1, &histSize, ranges);
      });
}

void registerGeneratorsAndCopies() {
  Frames& f = frames();
  static unsigned int seed = 1;
  // OpenCV draws the noise into a frame of its own and adds it with
  // saturation: two passes where ours takes one. Gaussian noise is signed,
  // so it is drawn as 16-bit values.
  static cv::Mat uniformNoise(kHeight, kWidth, CV_8UC3), gaussianNoise(kHeight, kWidth, CV_16SC3);
  addOperation(
      "AddRandUniform_Direct_8u_C3IR",
      [&f] { return ippiAddRandUniform_Direct_8u_C3IR(f.dst(), f.step(), kRoi, 0, 40, &seed); },
      [&f] {
        cv::randu(uniformNoise, 0, 40);
        cv::add(f.destination, uniformNoise, f.destination);
      });
  addOperation(
      "AddRandGauss_Direct_8u_C3IR",
      [&f] { return ippiAddRandGauss_Direct_8u_C3IR(f.dst(), f.step(), kRoi, 0, 20, &seed); },
      [&f] {
        cv::randn(gaussianNoise, 0, 20);
        cv::add(f.destination, gaussianNoise, f.destination, cv::noArray(), CV_8U);
      });
  addOperation("ImageJaehne_8u_C3R", [&f] { return ippiImageJaehne_8u_C3R(f.dst(), f.step(), kRoi); });
  addOperation(
      "Copy_8u_C3P3R",
      [&f] {
        Ipp8u* planes[3] = {f.planes[0].data, f.planes[1].data, f.planes[2].data};
        return ippiCopy_8u_C3P3R(f.src(), f.step(), planes, kWidth, kRoi);
      },
      [&f] { cv::split(f.source, f.planes); });
  addOperation(
      "Set_8u", [&f] { return ippsSet_8u(0x5A, f.dst(), kWidth * kHeight * 3); },
      [&f] { f.destination.setTo(cv::Scalar::all(0x5A)); });
}

const bool registered =
    (registerLookupsAndThresholds(), registerHistograms(), registerGeneratorsAndCopies(), true);

}  // namespace
